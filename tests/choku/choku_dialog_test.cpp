// The straight duct dialog's file effects: "Choku.ini", the "CK" hand-off and
// the block name, when they are written and when not, OK and the schematic.
#include "duct/choku_dialog.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_dialog.hpp"
#include "framework/handoff.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;

class ChokuDialogTest : public ::testing::Test {
 protected:
  void Open() {
    dialog = std::make_unique<ChokuDialog>(test.App());
    dialog->Initialize();
    ASSERT_TRUE(test.host.messages.empty()) << test.host.messages[0].text;
  }
  int SizeIndex(const std::string& size) {
    const auto& items = dialog->FindControl(ChokuDialog::kSizeList)->Items();
    return static_cast<int>(std::find(items.begin(), items.end(), size) - items.begin());
  }
  std::string Status() { return dialog->FindControl(ChokuDialog::kStatusLine)->Text(); }

  TestApp test;
  std::unique_ptr<ChokuDialog> dialog;
};

TEST_F(ChokuDialogTest, TheWorkedExampleStoresEightLinesAndNamesTheBlockAfterThem) {
  test.Write("Choku.ini", {"900", "200", "1", "0", "0", "1", "0", "100"});
  Open();
  ASSERT_TRUE(dialog->UserSetText(ChokuDialog::kPitch, "1820"));
  ASSERT_TRUE(dialog->UserSelect(ChokuDialog::kSizeList, SizeIndex("450")));
  ASSERT_TRUE(dialog->UserClick(ChokuDialog::kBaseMiddle));
  ASSERT_TRUE(dialog->UserClick(ChokuDialog::kLeftJoint));
  ASSERT_TRUE(dialog->UserClick(ChokuDialog::kRightJoint));
  ASSERT_TRUE(dialog->UserClick(ChokuDialog::kBoth));
  ASSERT_TRUE(dialog->UserSetText(ChokuDialog::kLength, "3640"));
  dialog->UserOk();

  EXPECT_EQ(test.Lines("Choku.ini"),
            (std::vector<std::string>{"1820", "450", "2", "1", "1", "3", "0", "3640"}));
  EXPECT_EQ(test.Bytes("Choku.ini"), "1820\r\n450\r\n2\r\n1\r\n1\r\n3\r\n0\r\n3640\r\n");
  EXPECT_EQ(test.Bytes("DrawData.txt"), "CK\r\n");
  EXPECT_EQ(test.Bytes("DrawName.ini"), "ChokuKan1820450211303640\r\n");
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_EQ(Status(), PlacedStatus("ChokuKan1820450211303640", test.Root() / "blocks"));
  // The whole path of the file shows when the pointer rests on the status
  // line, until the line says something else.
  EXPECT_EQ(dialog->FindControl(ChokuDialog::kStatusLine)->ToolTip(),
            (test.Root() / "blocks" / "ChokuKan1820450211303640.dxf").string());
  dialog->FindControl(ChokuDialog::kStatusLine)->SetText(kStatusEditing);
  EXPECT_EQ(dialog->FindControl(ChokuDialog::kStatusLine)->ToolTip(), "");
  EXPECT_FALSE(dialog->Ended());  // ready for the next duct
  EXPECT_TRUE(test.host.messages.empty());
}

TEST_F(ChokuDialogTest, OpeningLoadsTheControlsAndWritesNothing) {
  test.Write("Choku.ini", {"1500", "300", "3", "0", "1", "2", "1", "4000", "x", "y"});
  Open();
  EXPECT_EQ(dialog->FindControl(ChokuDialog::kPitch)->Text(), "1500");
  EXPECT_EQ(dialog->FindControl(ChokuDialog::kSize)->Text(), "300");
  EXPECT_EQ(dialog->FindControl(ChokuDialog::kLength)->Text(), "4000");
  EXPECT_TRUE(dialog->FindControl(ChokuDialog::kBaseRight)->Checked());
  EXPECT_FALSE(dialog->FindControl(ChokuDialog::kBaseLeft)->Checked());
  EXPECT_FALSE(dialog->FindControl(ChokuDialog::kLeftJoint)->Checked());
  EXPECT_TRUE(dialog->FindControl(ChokuDialog::kRightJoint)->Checked());
  EXPECT_TRUE(dialog->FindControl(ChokuDialog::kJointsOnly)->Checked());
  EXPECT_TRUE(dialog->FindControl(ChokuDialog::kFixed45)->Checked());
  EXPECT_EQ(dialog->FindControl(ChokuDialog::kSizeList)->Items(), test.Lines("KiokuSize.ini"));
  EXPECT_EQ(Status(), "設定後OKをクリック");
  EXPECT_FALSE(test.Info().Exists("DrawData.txt"));
  EXPECT_FALSE(test.Info().Exists("DrawName.ini"));
  EXPECT_EQ(test.Lines("Choku.ini").size(), 10u);
}

TEST_F(ChokuDialogTest, ChoosingASizeRewritesTheHandOffAtOnceButTypingDoesNot) {
  Open();
  ASSERT_TRUE(dialog->UserSelect(ChokuDialog::kSizeList, SizeIndex("600")));
  EXPECT_EQ(dialog->FindControl(ChokuDialog::kSize)->Text(), "600");
  EXPECT_EQ(test.Lines("Choku.ini")[1], "600");
  EXPECT_EQ(test.Bytes("DrawName.ini"), "ChokuKan1820600211303640\r\n");

  ASSERT_TRUE(dialog->UserSetText(ChokuDialog::kLength, "5000"));
  ASSERT_TRUE(dialog->UserSetText(ChokuDialog::kPitch, "900"));
  EXPECT_EQ(Status(), "設定後OKをクリック");
  EXPECT_EQ(test.Lines("Choku.ini")[7], "3640");
  EXPECT_EQ(test.Bytes("DrawName.ini"), "ChokuKan1820600211303640\r\n");

  // The next option click stores what was typed.
  ASSERT_TRUE(dialog->UserClick(ChokuDialog::kDuctLinesOnly));
  EXPECT_EQ(test.Lines("Choku.ini"),
            (std::vector<std::string>{"900", "600", "2", "1", "1", "1", "0", "5000"}));
  EXPECT_EQ(test.Bytes("DrawName.ini"), "ChokuKan900600211105000\r\n");
  EXPECT_EQ(test.launcher.starts, 0);
}

TEST_F(ChokuDialogTest, ARadioGroupWithoutACheckedButtonIsStoredAsAnEmptyLine) {
  test.Write("Choku.ini", {"1820", "450", "9", "1", "0", "", "0", "3640"});
  Open();
  ASSERT_TRUE(dialog->UserClick(ChokuDialog::kRightJoint));
  EXPECT_EQ(test.Lines("Choku.ini"),
            (std::vector<std::string>{"1820", "450", "", "1", "1", "", "0", "3640"}));
  EXPECT_EQ(test.Bytes("DrawName.ini"), "ChokuKan18204501103640\r\n");
}

TEST_F(ChokuDialogTest, OkIsRefusedWithoutALengthOrWithAFolderSeparator) {
  Open();
  ASSERT_TRUE(dialog->UserSetText(ChokuDialog::kLength, ""));
  dialog->UserOk();
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.host.messages[0].caption, "入力確認");
  EXPECT_EQ(test.host.messages[0].text, "全長を入力してください。");
  EXPECT_FALSE(test.Info().Exists("DrawData.txt"));
  EXPECT_EQ(test.launcher.starts, 0);
  EXPECT_EQ(Status(), "設定後OKをクリック");

  // Non-numeric text is taken as typed, but "/" would make the block's file
  // name a path: the builder refuses it, so OK must not promise a block.
  ASSERT_TRUE(dialog->UserSetText(ChokuDialog::kLength, "3640/2"));
  dialog->UserOk();
  ASSERT_EQ(test.host.messages.size(), 2u);
  EXPECT_EQ(test.launcher.starts, 0);
  EXPECT_NE(Status(), kStatusPlaced);

  // Lengths the builder cannot draw, and a pitch with more joints than it
  // draws, are refused here instead of being announced as a block.
  size_t shown = test.host.messages.size();
  for (const char* length : {"abc", "0", "-5"}) {
    ASSERT_TRUE(dialog->UserSetText(ChokuDialog::kLength, length));
    dialog->UserOk();
    ASSERT_EQ(test.host.messages.size(), ++shown) << length;
    EXPECT_EQ(test.host.messages.back().caption, "入力確認");
    EXPECT_EQ(test.launcher.starts, 0);
  }
  // An absurd length is named as too large, in its own field, not printed
  // with its hundreds of digits.
  for (const char* length : {"1e300", "1e10"}) {
    ASSERT_TRUE(dialog->UserSetText(ChokuDialog::kLength, length));
    dialog->UserOk();
    ASSERT_EQ(test.host.messages.size(), ++shown) << length;
    const std::string& text = test.host.messages.back().text;
    EXPECT_EQ(text.rfind("直管: 全長が大きすぎるため作図できません（上限 1000000000）。\n", 0), 0u)
        << text;
    EXPECT_LT(text.size(), 200u) << text;
  }
  ASSERT_TRUE(dialog->UserSetText(ChokuDialog::kLength, "-1e300"));
  dialog->UserOk();
  EXPECT_EQ(test.host.messages.back().text.rfind("直管: 全長が0以下のため", 0), 0u);
  EXPECT_EQ(test.launcher.starts, 0);
  ++shown;
  ASSERT_TRUE(dialog->UserSetText(ChokuDialog::kLength, "3640"));
  ASSERT_TRUE(dialog->UserSetText(ChokuDialog::kPitch, "1"));
  dialog->UserOk();
  EXPECT_EQ(test.host.messages.size(), ++shown);
  EXPECT_EQ(test.launcher.starts, 0);
  ASSERT_TRUE(dialog->UserSetText(ChokuDialog::kPitch, "1820"));
  dialog->UserOk();
  EXPECT_EQ(test.host.messages.size(), shown);
  EXPECT_EQ(test.launcher.starts, 1);
}

TEST_F(ChokuDialogTest, UncheckingAnEndJointPaintsItsSolidLinesInTheDialogFace) {
  Open();
  auto backgroundLines = [this] {
    RecordingCanvas canvas;
    dialog->Paint(canvas);
    int count = 0;
    bool background = false;
    for (const std::string& call : canvas.calls) {
      if (call.rfind("pen ", 0) == 0) background = call.find("192,192,192") != std::string::npos;
      if (call.rfind("line ", 0) == 0 && background) ++count;
    }
    return count;
  };
  EXPECT_EQ(backgroundLines(), 0);
  const int before = dialog->RepaintRequests();
  ASSERT_TRUE(dialog->UserClick(ChokuDialog::kLeftJoint));
  EXPECT_GT(dialog->RepaintRequests(), before);
  EXPECT_EQ(backgroundLines(), 2);  // the left flange and its angle line
  ASSERT_TRUE(dialog->UserClick(ChokuDialog::kRightJoint));
  EXPECT_EQ(backgroundLines(), 4);
  EXPECT_EQ(test.Lines("Choku.ini")[3], "0");
  EXPECT_EQ(test.Lines("Choku.ini")[4], "0");
}

TEST_F(ChokuDialogTest, TheMainDialogsButtonOpensIt) {
  test.host.initialiseChildren = true;
  MainDialog main(test.App());
  main.Initialize();
  ASSERT_TRUE(main.UserClick(1013));
  EXPECT_EQ(test.Bytes("Command.ini"), "13\r\n");
  ASSERT_EQ(test.host.modalCaptions.size(), 1u);
  EXPECT_EQ(test.host.modalCaptions[0], "直管作図");
  EXPECT_TRUE(test.host.messages.empty());
}

}  // namespace
}  // namespace tavelin
