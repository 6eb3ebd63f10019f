#include <gtest/gtest.h>

#include "framework/toolkit/dialog.hpp"
#include "framework/toolkit/keyboard_navigation.hpp"
#include "resources/resources.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin::ui {
namespace {

const Layout& ProbeLayout() {
  static const Layout layout = ParseLayout(R"(
# a dialog with one of every kind
dialog "試験" 200 100
10 edit 5 5 40 12 "start"
11 edit 5 20 40 12 ""
12 edit 5 60 40 30 "" multiline
20 radio 50 5 40 12 "A" group
21 radio 50 20 40 12 "B"
22 radio 50 35 40 12 "C"
30 radio 95 5 40 12 "X" group
31 radio 95 20 40 12 "Y"
40 check 140 5 40 12 "check"
50 combo 5 40 60 60 ""
51 combo-edit 70 40 60 60 ""
60 button 5 80 40 14 "go" group
61 button 50 80 40 14 "off" disabled
62 button 95 80 40 14 "hidden" hidden
-1 static 140 40 50 12 "status" status
)");
  return layout;
}

class Probe : public Dialog {
 public:
  explicit Probe(AppContext& app) : Dialog(app, ProbeLayout()) {
    SetMessageMap({
        {EventKind::kEditChange, 10, [this] { log.push_back("change10:" + ItemText(10)); }},
        {EventKind::kEditChange, 11, [this] { log.push_back("change11:" + ItemText(11)); }},
        {EventKind::kSetFocus, 10, [this] { log.push_back("focus10"); }},
        {EventKind::kKillFocus, 10, [this] { log.push_back("kill10"); }},
        {EventKind::kSetFocus, 11, [this] { log.push_back("focus11"); }},
        {EventKind::kClick, 21, [this] { log.push_back("click21"); }},
        {EventKind::kClick, 40, [this] { log.push_back(IsChecked(40) ? "on" : "off"); }},
        {EventKind::kSelChange, 50, [this] { log.push_back("sel:" + ItemText(50)); }},
        {EventKind::kClick, 60,
         [this] {
           SetItemText(11, "copied");  // a programmatic change still notifies
           Info().ReadLine("Missing.ini");
           log.push_back("unreachable");
         }},
        {EventKind::kMouseDown, 0,
         [this](const Event& e) { log.push_back("mouse" + std::to_string(e.x) + "," + std::to_string(e.y)); }},
    });
  }
  using Dialog::CheckRadio;
  using Dialog::CheckedOf;
  std::vector<std::string> log;
};

class DialogTest : public ::testing::Test {
 protected:
  testing::TestApp test;
  Probe dialog{test.App()};
};

TEST_F(DialogTest, LayoutBecomesControlsInPixels) {
  EXPECT_EQ(dialog.Caption(), "試験");
  EXPECT_EQ(dialog.GetLayout().width, 350);
  EXPECT_EQ(dialog.FindControl(10)->Rect(), (PixelRect{9, 9, 79, 30}));
  EXPECT_EQ(dialog.FindControl(10)->Text(), "start");
  EXPECT_FALSE(dialog.FindControl(61)->Enabled());
  EXPECT_FALSE(dialog.FindControl(62)->Visible());
  EXPECT_EQ(dialog.FindControl(-1), nullptr);
  ASSERT_TRUE(dialog.Controls().back()->Definition().textColour.has_value());
  EXPECT_EQ(*dialog.Controls().back()->Definition().textColour, (Rgb{50, 50, 255}));
}

TEST_F(DialogTest, RadiosAreExclusiveWithinTheirGroupOnly) {
  dialog.UserClick(30);
  dialog.UserClick(20);
  dialog.UserClick(21);
  EXPECT_FALSE(dialog.FindControl(20)->Checked());
  EXPECT_TRUE(dialog.FindControl(21)->Checked());
  EXPECT_TRUE(dialog.FindControl(30)->Checked());
  EXPECT_EQ(dialog.log, std::vector<std::string>{"click21"});
  EXPECT_EQ(dialog.CheckedOf({20, 21, 22}), 21);
  dialog.CheckRadio(22);
  EXPECT_FALSE(dialog.FindControl(21)->Checked());
}

TEST_F(DialogTest, CheckBoxesToggleBeforeTheirHandler) {
  dialog.UserClick(40);
  dialog.UserClick(40);
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"on", "off"}));
}

TEST_F(DialogTest, SetIsOneFocusThenOneChange) {
  dialog.UserSetText(10, "abc");
  dialog.UserSetText(11, "x");
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"focus10", "change10:abc", "kill10", "focus11",
                                                  "change11:x"}));
  EXPECT_EQ(dialog.FocusedId(), 11);
}

TEST_F(DialogTest, SelectionSetsTheTextAndNotifiesOnlyFromTheUser) {
  Control& combo = *dialog.FindControl(50);
  combo.AddString("100");
  combo.AddString("200");
  combo.SetCurSel(1);
  EXPECT_EQ(combo.Text(), "200");
  EXPECT_TRUE(dialog.log.empty());
  EXPECT_TRUE(dialog.UserSelect(50, 0));
  EXPECT_EQ(dialog.log, std::vector<std::string>{"sel:100"});
  EXPECT_FALSE(dialog.UserSelect(50, 5));
  EXPECT_EQ(combo.FindExact("200"), 1);
  // Typing into a combo with an edit drops its selection.
  Control& edit = *dialog.FindControl(51);
  edit.AddString("#25");
  edit.SetCurSel(0);
  dialog.UserType(51, "#30");
  EXPECT_EQ(edit.Text(), "#30");
  EXPECT_EQ(edit.CurSel(), -1);
}

// A value pasted from a spreadsheet cell ends in a line end: a single-line
// edit keeps only its first line, whoever sets the text; a multi-line edit keeps all.
TEST_F(DialogTest, SingleLineEditsKeepTheTextUpToTheFirstLineEnd) {
  dialog.UserSetText(10, "500\r\n");
  EXPECT_EQ(dialog.FindControl(10)->Text(), "500");
  EXPECT_EQ(dialog.log.back(), "change10:500");
  dialog.FindControl(11)->SetText("450\n300");
  EXPECT_EQ(dialog.FindControl(11)->Text(), "450");
  dialog.UserType(11, "\r\n");
  EXPECT_EQ(dialog.FindControl(11)->Text(), "");
  dialog.UserType(51, "#25\rB");
  EXPECT_EQ(dialog.FindControl(51)->Text(), "#25");
  Control& combo = *dialog.FindControl(51);
  combo.AddString("#30\r\n");
  combo.SetCurSel(0);
  EXPECT_EQ(combo.Text(), "#30");
  dialog.UserSetText(12, "一行目\r\n二行目");
  EXPECT_EQ(dialog.FindControl(12)->Text(), "一行目\r\n二行目");
}

TEST_F(DialogTest, AFileErrorStopsTheHandlerAndIsReported) {
  dialog.UserClick(60);
  EXPECT_EQ(dialog.log, std::vector<std::string>{"change11:copied"});
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_NE(test.host.messages[0].text.find("Missing.ini"), std::string::npos);
  EXPECT_EQ(dialog.Failures(), 1);
  EXPECT_FALSE(dialog.Ended());
}

TEST_F(DialogTest, DisabledAndHiddenControlsTakeNoClicks) {
  EXPECT_FALSE(dialog.UserClick(61));
  EXPECT_FALSE(dialog.UserClick(62));
  EXPECT_FALSE(dialog.UserClick(999));
  EXPECT_FALSE(dialog.UserType(60, "x"));
}

TEST_F(DialogTest, MouseDownReachesTheMapAndOkAndCancelClose) {
  dialog.UserMouseDown(12, 34);
  EXPECT_EQ(dialog.log, std::vector<std::string>{"mouse12,34"});
  EXPECT_FALSE(dialog.Ended());
  dialog.UserOk();
  EXPECT_TRUE(dialog.Ended());
  EXPECT_EQ(dialog.Result(), kIdOk);
  Probe other(test.App());
  other.UserClick(kIdCancel);  // no such button: the cancel action all the same
  EXPECT_EQ(other.Result(), kIdCancel);
}

TEST(LayoutParsing, MistakesNameTheLine) {
  EXPECT_THROW(ParseLayout("dialog \"x\" 10 10\n1 knob 0 0 1 1 \"\"\n"), std::runtime_error);
  try {
    ParseLayout("dialog \"x\" 10 10\n\n1 edit 0 0 1 1 \"open\n");
    FAIL();
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos);
  }
  EXPECT_THROW(ParseLayout("1 edit 0 0 1 1 \"\" sparkly\n"), std::runtime_error);
  // Sizes beyond any screen, which overflowed the pixel arithmetic.
  EXPECT_THROW(ParseLayout("1 edit 79 0 2147483647 1 \"\"\n"), std::runtime_error);
  EXPECT_THROW(ParseLayout("dialog \"x\" 10 -99999\n"), std::runtime_error);
  Layout escaped = ParseLayout("dialog \"a\" 4 8\n1 static 0 0 4 8 \"two\\nlines \\\"q\\\"\"\n");
  EXPECT_EQ(escaped.controls[0].text, "two\nlines \"q\"");
  EXPECT_EQ(escaped.width, 7);
  EXPECT_EQ(escaped.height, 14);
}

TEST(LayoutParsing, EveryShippedLayoutParses) {
  int layouts = 0;
  for (std::string_view name : resources::Names()) {
    if (name.substr(0, 8) != "layouts/" || name.size() < 12) continue;
    std::string stem(name.substr(8, name.size() - 12));
    EXPECT_NO_THROW(LoadLayout(stem)) << stem;
    ++layouts;
  }
  EXPECT_GE(layouts, 3);
  EXPECT_THROW(LoadLayout("NoSuchLayout"), std::runtime_error);
}

}  // namespace
}  // namespace tavelin::ui

namespace tavelin::ui {
namespace {

// Tab walks the stops in layout order; a radio group is one stop (its checked
// radio, else its first); the arrows go round a group; disabled, hidden and
// static controls are never stops.
TEST_F(DialogTest, KeyboardWalksStopsAndRadioGroups) {
  const ControlList& controls = dialog.Controls();
  const int tabs[][3] = {
      // from, forward, backward
      {10, 11, 60},  // the first stop goes back round to the last
      {11, 12, 10},
      {12, 20, 11},  // into the group at its first radio: none is checked
      {21, 30, 12},  // any radio of a group belongs to the group's stop
      {40, 50, 30},
      {60, 10, 51},  // the disabled and hidden buttons are passed over
      {-1, 10, 60},  // from the status line (no stop): the next one after it
  };
  for (const auto& [from, forward, backward] : tabs) {
    EXPECT_EQ(NextTabStop(controls, from, true), forward) << from;
    EXPECT_EQ(NextTabStop(controls, from, false), backward) << from;
  }
  dialog.CheckRadio(22);
  EXPECT_EQ(NextTabStop(controls, 12, true), 22);  // the checked radio is the stop
  EXPECT_EQ(NextTabStop(controls, 20, true), 30);
  EXPECT_EQ(NextInRadioGroup(controls, 22, true), 20);
  EXPECT_EQ(NextInRadioGroup(controls, 20, false), 22);
  EXPECT_EQ(NextInRadioGroup(controls, 30, true), 31);
  EXPECT_EQ(NextInRadioGroup(controls, 10, true), 0);  // not a radio
  dialog.FindControl(21)->Enable(false);
  EXPECT_EQ(NextInRadioGroup(controls, 20, true), 22);  // a disabled radio is passed over
  // Checking a radio clears the others of its group only.
  dialog.CheckRadio(31);
  EXPECT_TRUE(dialog.FindControl(22)->Checked());
  EXPECT_EQ(RadioGroupOf(controls, 31).size(), 2u);
}

}  // namespace
}  // namespace tavelin::ui
