// The duct up-down dialog as the user drives it: the run and total shown,
// the middle part's offset following the widths, the refusals that leave
// the hand-off files alone, and OK.
#include "duct/updown_dialog.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "framework/canvas.hpp"
#include "framework/handoff.hpp"
#include "framework/record_list.hpp"
#include "framework/text.hpp"
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
      // H2 - H1 = 200 against V 150: the bends cannot step by less.
      {"rise below the heights' difference", D::kMiddleHeight, "500", D::kRiseTooSmall},
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
  ASSERT_TRUE(dialog->UserClick(D::kOne));            // one offset only
  EXPECT_EQ(test.Lines("DrawData.txt").size(), 13u);  // the first offset alone ...
  // ... in the extents of both.
  EXPECT_EQ(test.Lines("DrawData.txt")[0], "50,1744.000000,200.000000,50.000000,200.000000,");
  ASSERT_TRUE(dialog->UserSetText(D::kMiddle, "800"));
  EXPECT_EQ(Text(D::kStatusLine), "設定後OKをクリック");
  dialog->UserOk();
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_EQ(Text(D::kStatusLine), PlacedStatus(test.launcher.lastName, test.Root() / "blocks"));
  EXPECT_EQ(test.Lines("Updown.ini")[6], "800");
  EXPECT_EQ(test.Lines("Updown.ini")[10], "2");
  EXPECT_EQ(Text(D::kTotalText), "1994");
  // Typing afterwards asks for OK again.
  ASSERT_TRUE(dialog->UserSetText(D::kStraight1, "150"));
  EXPECT_EQ(Text(D::kStatusLine), "設定後OKをクリック");
}

TEST_F(UpdownDialogTest, EqualWidthsZeroTheOffsetAtOpeningAndRepaint) {
  // Stored equal widths with an offset: the opening's update shows, stores
  // and names the fitting with no offset, as the drawing has none.
  std::vector<std::string> lines = test.Lines("Updown.ini");
  lines[1] = "400.0";  // the same width as line 1, written otherwise
  lines[5] = "75";
  test.Write("Updown.ini", lines);
  Open();
  EXPECT_TRUE(test.host.messages.empty());
  EXPECT_EQ(Text(D::kOffset), "0");
  lines[5] = "0";
  EXPECT_EQ(test.Lines("Updown.ini"), lines);
  const CommonValues k = CommonValues::Load(test.Info());
  RuntimeRandom random;
  EXPECT_EQ(test.Lines("DrawName.ini")[0],
            BlockName("UPD_", lines, {k.k1, k.k2, k.k3}, random.Next()));

  // Typing the end width equal to the middle's: a repaint draws no offset but
  // leaves the edit as it is; the next confirmed change shows 0.
  ASSERT_TRUE(dialog->UserSelect(D::kMiddleWidths, IndexOf(D::kMiddleWidths, "600")));
  EXPECT_EQ(Text(D::kOffset), "100");
  ASSERT_TRUE(dialog->UserSetText(D::kEndWidth, "600"));
  Repaint();
  EXPECT_EQ(Text(D::kOffset), "100");
  const std::vector<std::string> drawn = dialog->Records().Records();
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(Text(D::kOffset), "0");
  EXPECT_EQ(test.Lines("Updown.ini")[5], "0");
  EXPECT_EQ(dialog->Records().Records(), drawn);
}

TEST_F(UpdownDialogTest, StoredValuesThatMakeNoFittingSaySoAtOpening) {
  struct Case {
    size_t line;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {5, "-10", D::kNegativeOffset},  // with W2 600 below
      {3, "1300", D::kRiseTooLarge},
      {3, "-1", D::kRiseTooSmall},
  };
  const std::vector<std::string> stored = test.Lines("Updown.ini");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::string> lines = stored;
    lines[1] = "600";
    lines[c.line] = c.text;
    test.Write("Updown.ini", lines);
    const std::string before = test.Bytes("Updown.ini") + test.Bytes("DrawData.txt");
    test.host.messages.clear();
    Open();
    ASSERT_EQ(test.host.messages.size(), 1u);
    EXPECT_EQ(test.host.messages[0].text, c.message);
    EXPECT_EQ(test.host.messages[0].caption, "入力確認");
    EXPECT_EQ(dialog->Records().Count(), 0u);
    EXPECT_EQ(test.Bytes("Updown.ini") + test.Bytes("DrawData.txt"), before);
  }
}

// A refusal leaves the focus on the field at fault, its text selected.
TEST_F(UpdownDialogTest, ARefusalFocusesTheFieldAtFault) {
  Open();
  ASSERT_TRUE(dialog->UserSelect(D::kMiddleWidths, IndexOf(D::kMiddleWidths, "600")));
  dialog->TakeFocusRequest();
  const struct {
    int field;
    const char* text;
    int focused;
  } cases[] = {{D::kRise, "5000", D::kRise}, {D::kOffset, "-5", D::kOffset}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string before = Text(c.field);
    ASSERT_TRUE(dialog->UserSetText(c.field, c.text));
    test.host.messages.clear();
    ASSERT_TRUE(dialog->UserClick(D::kUpdate));
    ASSERT_EQ(test.host.messages.size(), 1u);
    EXPECT_EQ(dialog->TakeFocusRequest(), c.focused);
    ASSERT_TRUE(dialog->UserSetText(c.field, before));
  }
}

// Random stored settings, opened as "generate" opens them: the edit, the
// settings file, the drawing and the block name all follow the rules of an
// update, equal widths meaning no offset.
TEST(UpdownGenerate, RandomStoredSettingsAreHandedOffAsDrawn) {
  TestApp test;
  const CommonValues common = CommonValues::Load(test.Info());
  RuntimeRandom random;  // follows the dialog's: one number per hand-off
  std::mt19937 rng(24);
  auto pick = [&](std::initializer_list<const char*> texts) {
    std::uniform_int_distribution<size_t> d(0, texts.size() - 1);
    return std::string(texts.begin()[d(rng)]);
  };
  int equal = 0, refused = 0;
  for (int i = 0; i < 150; ++i) {
    std::vector<std::string> lines = {pick({"200", "400", "600"}),
                                      "",
                                      pick({"200", "300", "450"}),
                                      pick({"0", "100", "150", "400", "1300", "-5"}),
                                      pick({"200", "300", "500"}),
                                      pick({"0", "75", "120.5", "-20"}),
                                      pick({"0", "500", "1234.5"}),
                                      pick({"0", "100"}),
                                      pick({"50", "100"}),
                                      pick({"1", "2"}),
                                      pick({"1", "2"}),
                                      pick({"0", "1"}),
                                      pick({"1", "2", "3", "4"})};
    lines[1] = pick({"equal", "equal", "200", "500", "600.0"});
    if (lines[1] == "equal") lines[1] = lines[0] + pick({"", ".0"});
    std::string trace;
    for (const std::string& line : lines) trace += line + " ";
    SCOPED_TRACE(trace);
    test.Write("Updown.ini", lines);
    const std::string before = test.Bytes("DrawData.txt") + test.Bytes("DrawName.ini");
    test.host.messages.clear();
    UpdownDialog dialog(test.App());
    dialog.Initialize();

    const bool sameWidth = ToDouble(lines[0]) == ToDouble(lines[1]);
    std::vector<std::string> expected = lines;
    if (sameWidth) {
      expected[5] = "0";
      ++equal;
    }
    EXPECT_EQ(dialog.FindControl(D::kOffset)->Text(), expected[5]);
    UpdownInput in;
    in.w1 = ToDouble(expected[0]);
    in.w2 = ToDouble(expected[1]);
    in.h1 = ToDouble(expected[2]);
    in.v = ToDouble(expected[3]);
    in.h2 = ToDouble(expected[4]);
    in.of = ToDouble(expected[5]);
    in.m = ToDouble(expected[6]);
    in.s1 = ToDouble(expected[7]);
    in.s2 = ToDouble(expected[8]);
    in.lower = expected[9] == "1";
    in.bothSides = expected[10] == "1";
    in.midFlange = expected[11] == "1";
    in.base = ToInt(expected[12]);
    RecordList list;
    list.LoadAttributes(test.Info());
    const bool drawn =
        in.of >= 0.0 && BuildUpdown(list, in, common).outcome == UpdownOutcome::kBuilt;
    if (!drawn) {
      ++refused;
      EXPECT_EQ(test.host.messages.size(), 1u);
      EXPECT_EQ(test.Lines("Updown.ini"), lines);
      EXPECT_EQ(test.Bytes("DrawData.txt") + test.Bytes("DrawName.ini"), before);
      continue;
    }
    EXPECT_TRUE(test.host.messages.empty());
    EXPECT_EQ(test.Lines("Updown.ini"), expected);
    EXPECT_EQ(test.Lines("DrawData.txt"), list.Records());
    EXPECT_EQ(test.Lines("DrawName.ini")[0],
              BlockName("UPD_", expected, {common.k1, common.k2, common.k3}, random.Next()));
  }
  // Both kinds of case came up often enough to count.
  EXPECT_GT(equal, 40);
  EXPECT_GT(refused, 20);
}

}  // namespace
}  // namespace tavelin
