// The duct up-down dialog as the user drives it: the run and total shown,
// the middle part's offset following the widths, the refusals that leave
// the hand-off files alone, and OK.
#include "duct/updown_dialog.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "framework/canvas.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;
using D = UpdownDialog;

class UpdownDialogTest : public ::testing::Test {
 protected:
  void Open() {
    dialog = std::make_unique<UpdownDialog>(test.App());
    dialog->Initialize();
    Repaint();
  }
  void Repaint() {
    NullCanvas canvas;
    dialog->Paint(canvas);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }
  bool Checked(int id) { return dialog->FindControl(id)->Checked(); }
  int IndexOf(int combo, const std::string& text) {
    return dialog->FindControl(combo)->FindExact(text);
  }
  std::string HandOff() {
    return test.Bytes("DrawData.txt") + test.Bytes("Updown.ini") + test.Bytes("DrawName.ini");
  }

  TestApp test;
  std::unique_ptr<UpdownDialog> dialog;
};

TEST_F(UpdownDialogTest, OpeningShowsTheRunAndHandsOffTheDuct) {
  Open();
  EXPECT_TRUE(test.host.messages.empty());
  // √(600² − 450²) = 396.9 -> 397; 2 (397 + 100 + 100) + 500.
  EXPECT_EQ(Text(D::kRunText), "397");
  EXPECT_EQ(Text(D::kTotalText), "1694");
  for (int combo : {D::kMiddleWidths, D::kEndWidths, D::kEndHeights, D::kMiddleHeights})
    EXPECT_EQ(dialog->FindControl(combo)->Items(), test.Lines("KiokuSize.ini"));
  EXPECT_EQ(test.Lines("Updown.ini"),
            (std::vector<std::string>{"400", "400", "300", "150", "300", "0", "500", "100", "100",
                                      "1", "1", "0", "1"}));
  auto data = test.Lines("DrawData.txt");
  ASSERT_EQ(data.size(), 27u);
  EXPECT_EQ(data[0], "50,1744.000000,200.000000,50.000000,200.000000,");
  EXPECT_EQ(test.Lines("DrawName.ini"), (std::vector<std::string>{"UPD_3244D90000041"}));
}

TEST_F(UpdownDialogTest, TheOffsetFollowsTheWidths) {
  Open();
  // A wider middle part is centred: (600 - 400) / 2.
  ASSERT_TRUE(dialog->UserSelect(D::kMiddleWidths, IndexOf(D::kMiddleWidths, "600")));
  EXPECT_EQ(Text(D::kMiddleWidth), "600");
  EXPECT_EQ(Text(D::kOffset), "100");
  EXPECT_EQ(test.Lines("Updown.ini")[5], "100");
  // A narrower end width chosen afterwards centres it again: (600 - 250) / 2.
  ASSERT_TRUE(dialog->UserSelect(D::kEndWidths, IndexOf(D::kEndWidths, "250")));
  EXPECT_EQ(Text(D::kOffset), "175");
  // A middle narrower than the ends leaves the offset as it is.
  ASSERT_TRUE(dialog->UserSelect(D::kMiddleWidths, IndexOf(D::kMiddleWidths, "200")));
  EXPECT_EQ(Text(D::kOffset), "175");
  // Equal widths force it to 0 at the next update.
  ASSERT_TRUE(dialog->UserSelect(D::kEndWidths, IndexOf(D::kEndWidths, "200")));
  EXPECT_EQ(Text(D::kOffset), "0");
  EXPECT_EQ(test.Lines("Updown.ini")[5], "0");
  EXPECT_EQ(test.Lines("DrawData.txt").size(), 27u);  // sides in line, as with equal widths
}

TEST_F(UpdownDialogTest, RefusalsLeaveTheHandOffFilesAsTheyWere) {
  struct Case {
    const char* name;
    int edit;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"negative offset", D::kOffset, "-10", "オフセット値にマイナスは入力できません。"},
      {"rise beyond the heights", D::kRise, "1300", D::kRiseTooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open();
    ASSERT_TRUE(dialog->UserSetText(D::kMiddleWidth, "600"));  // else OF is forced to 0
    ASSERT_TRUE(dialog->UserClick(D::kUpdate));
    const std::string before = HandOff();
    const std::string total = Text(D::kTotalText);
    test.host.messages.clear();

    ASSERT_TRUE(dialog->UserSetText(c.edit, c.text));
    ASSERT_TRUE(dialog->UserClick(D::kUpdate));
    ASSERT_EQ(test.host.messages.size(), 1u);
    EXPECT_EQ(test.host.messages[0].text, c.message);
    EXPECT_EQ(test.host.messages[0].caption, "入力確認");
    Repaint();  // a repaint says nothing more
    EXPECT_EQ(test.host.messages.size(), 1u);
    EXPECT_EQ(HandOff(), before);
    EXPECT_EQ(Text(D::kTotalText), total);
    EXPECT_EQ(dialog->Records().Count(), 0u);

    // OK repeats the refusal and starts nothing.
    ASSERT_TRUE(dialog->UserClick(D::kOkButton));
    EXPECT_EQ(test.launcher.starts, 0);
    EXPECT_EQ(test.host.messages.size(), 2u);
    EXPECT_EQ(HandOff(), before);
  }
}

TEST_F(UpdownDialogTest, OkHandsOnWhatIsShown) {
  Open();
  ASSERT_TRUE(dialog->UserClick(D::kOne));  // one offset only
  EXPECT_EQ(test.Lines("DrawData.txt").size(), 13u);  // the first offset alone ...
  // ... in the extents of both.
  EXPECT_EQ(test.Lines("DrawData.txt")[0], "50,1744.000000,200.000000,50.000000,200.000000,");
  ASSERT_TRUE(dialog->UserSetText(D::kMiddle, "800"));
  EXPECT_EQ(Text(D::kStatusLine), "設定後OKをクリック");
  dialog->UserOk();
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_EQ(Text(D::kStatusLine), "「ブロック挿入」で配置できます：" + test.launcher.lastName);
  EXPECT_EQ(test.Lines("Updown.ini")[6], "800");
  EXPECT_EQ(test.Lines("Updown.ini")[10], "2");
  EXPECT_EQ(Text(D::kTotalText), "1994");
  // Typing afterwards asks for OK again.
  ASSERT_TRUE(dialog->UserSetText(D::kStraight1, "150"));
  EXPECT_EQ(Text(D::kStatusLine), "設定後OKをクリック");
}

}  // namespace
}  // namespace tavelin
