// The up/down elbow dialogs as the user drives them: the size lists that set
// two fields, the duct centred by its width, L worked out at every update, the
// block-name prefixes, and the run's count and pitch checks.
#include "duct/jyoge_dialog.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "duct/jyoge2_dialog.hpp"
#include "framework/canvas.hpp"
#include "framework/handoff.hpp"
#include "framework/text.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;
using D = JyogeDialog;

template <typename T>
class Opened {
 public:
  explicit Opened(TestApp& test) : dialog(std::make_unique<T>(test.App())) {
    dialog->Initialize();
    Repaint();
  }
  void Repaint() {
    NullCanvas canvas;
    dialog->Paint(canvas);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }
  std::unique_ptr<T> dialog;
};

const std::vector<std::string> kDefaults = {"300", "300", "400", "0", "400", "200", "200", "0",
                                            "100", "1",   "1",   "1", "2",   "0",   "0",   "300"};

TEST(JyogeDialog, OpeningHandsOffTheDefaultUpElbow) {
  TestApp test;
  Opened<JyogeDialog> d(test);
  EXPECT_TRUE(test.host.messages.empty());
  EXPECT_EQ(test.Lines("Jyoge.ini"), kDefaults);
  auto data = test.Lines("DrawData.txt");
  ASSERT_EQ(data.size(), 19u);
  EXPECT_EQ(data[0], "50,600.000000,150.000000,150.000000,150.000000,");
  // Settings sum 3258.4 plus 2.6 K1 + 2.7 K2 + 2.8 K3 = 284.5.
  EXPECT_EQ(test.Lines("DrawName.ini"), (std::vector<std::string>{"EU_3542D90000041"}));
}

TEST(JyogeDialog, SizeListsSetTwoFieldsAndLengthFollowsAtEveryUpdate) {
  TestApp test;
  Opened<JyogeDialog> d(test);
  auto& dialog = *d.dialog;
  // "500" for the width sets W and Y, and centres the duct.
  ASSERT_TRUE(dialog.UserSelect(D::kWidthSizes, 8));
  EXPECT_EQ(d.Text(D::kWidth), "500");
  EXPECT_EQ(d.Text(D::kSectionY), "500");
  EXPECT_EQ(d.Text(D::kOffsetP), "250");
  EXPECT_EQ(d.Text(D::kOffsetQ), "250");
  // "200" for the height sets H and X; H = X = 200 with 1R gives L = 300.
  ASSERT_TRUE(dialog.UserSelect(D::kHeightSizes, 2));
  EXPECT_EQ(d.Text(D::kHeight), "200");
  EXPECT_EQ(d.Text(D::kSectionX), "200");
  EXPECT_EQ(d.Text(D::kLength), "300");
  // A larger height decides over the section, halved by 0.5R: 300 x 0.5 + 100.
  ASSERT_TRUE(dialog.UserSetText(D::kHeight, "300"));
  ASSERT_TRUE(dialog.UserClick(D::kHalfRadius));
  EXPECT_EQ(d.Text(D::kLength), "250");
  auto saved = test.Lines("Jyoge.ini");
  EXPECT_EQ(saved[2], "250");
  EXPECT_EQ(saved[12], "1");
  EXPECT_EQ(saved[15], "300");
  // An offset typed keeps the other side at W minus it.
  ASSERT_TRUE(dialog.UserSetText(D::kOffsetQ, "300"));
  EXPECT_EQ(dialog.FocusMode(), 2);
  EXPECT_EQ(d.Text(D::kOffsetP), "200");
}

TEST(JyogeDialog, SymbolChoosesThePrefixAndOkKeepsItsNote) {
  TestApp test;
  Opened<JyogeDialog> d(test);
  auto& dialog = *d.dialog;
  struct Case {
    int radio;
    const char* prefix;
  } cases[] = {{D::kSymbolDiagonal, "ES_"}, {D::kSymbolHalf, "ED_"}, {D::kSymbolCross, "EU_"}};
  for (const Case& c : cases) {
    ASSERT_TRUE(dialog.UserClick(c.radio));
    EXPECT_EQ(test.Lines("DrawName.ini")[0].rfind(c.prefix, 0), 0u) << c.prefix;
  }
  ASSERT_TRUE(dialog.UserClick(D::kDown));
  ASSERT_TRUE(dialog.UserClick(ui::kIdOk));
  EXPECT_EQ(test.launcher.starts, 1);
  const std::string placed = PlacedStatus(test.launcher.lastName, test.Root() / "blocks");
  d.Repaint();  // L is worked out again without a change of its text
  EXPECT_EQ(d.Text(D::kStatusLine), placed);
  // The stored angle turns the whole elbow: the duct then arrives from +y.
  auto lines = kDefaults;
  lines[7] = "90";
  test.Write("Jyoge.ini", lines);
  Opened<JyogeDialog> turned(test);
  EXPECT_EQ(turned.dialog->Records().rotation, 90.0);
  auto first = Split(test.Lines("DrawData.txt")[1], ',');
  EXPECT_NEAR(ToDouble(first[3]), -200, 1e-6);  // (550, 200) turned
  EXPECT_NEAR(ToDouble(first[4]), 550, 1e-6);
}

TEST(Jyoge2Dialog, CountAndPitchAreCheckedBeforeAnythingIsWritten) {
  TestApp test;
  Opened<Jyoge2Dialog> d(test);
  auto& dialog = *d.dialog;
  const std::string before = test.Bytes("Jyoge2.ini");
  struct Case {
    const char* count;
    const char* pitch;
    const char* says;
    int field;  // where the focus goes, the text selected
  } cases[] = {
      {"0", "1000", "個数は1から20までの整数", Jyoge2Dialog::kCount},
      {"21", "1000", "個数は1から20までの整数", Jyoge2Dialog::kCount},
      {"2.5", "1000", "個数は1から20までの整数", Jyoge2Dialog::kCount},
      {"2", "714", "715以上", Jyoge2Dialog::kPitch},  // L + X + K2 = 400 + 300 + 15
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(dialog.UserSetText(Jyoge2Dialog::kCount, c.count));
    ASSERT_TRUE(dialog.UserSetText(Jyoge2Dialog::kPitch, c.pitch));
    test.host.messages.clear();
    ASSERT_TRUE(dialog.UserClick(ui::kIdOk));
    ASSERT_EQ(test.host.messages.size(), 1u) << c.count << " " << c.pitch;
    EXPECT_EQ(test.host.messages[0].caption, "入力確認");
    EXPECT_NE(test.host.messages[0].text.find(c.says), std::string::npos)
        << test.host.messages[0].text;
    EXPECT_EQ(dialog.TakeFocusRequest(), c.field);
    EXPECT_EQ(test.Bytes("Jyoge2.ini"), before);
  }
  EXPECT_EQ(test.launcher.starts, 0);
  // A single elbow needs no pitch.
  ASSERT_TRUE(dialog.UserSetText(Jyoge2Dialog::kCount, "1"));
  ASSERT_TRUE(dialog.UserClick(ui::kIdOk));
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_EQ(test.Lines("DrawData.txt").size(), 19u);
}

// Every change of the run is checked as "表示更新" is: a refused one says
// why, leaves the hand-off of the last valid run and draws nothing.
TEST(Jyoge2Dialog, EveryChangeIsRefusedWithItsMessageAndKeepsTheLastHandOff) {
  using D2 = Jyoge2Dialog;
  struct Case {
    const char* name;
    const char* pitch;  // the pitch of the valid run first handed off
    int edit;           // then typed into this edit (0: nothing typed) ...
    const char* typed;
    int click;   // ... and this radio or button clicked, or
    int select;  // this entry of the height list chosen (-1: none)
    const char* says;
  } cases[] = {
      // Every case starts at 0.5R. 600 for H and X: L = 300 + 100, so
      // 400 + 600 + 15 between centres.
      {"list choice", "1000", 0, "", 0, 10, "ピッチは1015以上"},
      // L = 250 and 600 is room enough; 1R needs 715.
      {"radio", "600", 0, "", D::kFullRadius, -1, "ピッチは715以上"},
      {"absurd pitch", "1000", D2::kPitch, "1e300", D::kUpdate, -1, "ピッチの値が大きすぎます"},
      {"absurd section", "1000", D::kSectionX, "1e12", D::kUpdate, -1, "Xの値が大きすぎます"},
      {"absurd negative pitch", "1000", D2::kPitch, "-1e12", D::kUpdate, -1,
       "ピッチの値が小さすぎます"},
      // The largest sizes accepted need a pitch beyond the largest one.
      {"no pitch is enough", "1000", D::kStraight, "9999999", D::kUpdate, -1,
       "ピッチ10000000以下では重なります"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestApp test;
    Opened<D2> d(test);
    auto& dialog = *d.dialog;
    auto handOff = [&] {
      return test.Bytes("DrawData.txt") + test.Bytes("Jyoge2.ini") + test.Bytes("DrawName.ini");
    };
    ASSERT_TRUE(dialog.UserClick(D::kHalfRadius));
    ASSERT_TRUE(dialog.UserSetText(D2::kPitch, c.pitch));
    ASSERT_TRUE(dialog.UserClick(ui::kIdOk));
    ASSERT_EQ(test.launcher.starts, 1);
    ASSERT_TRUE(test.host.messages.empty());
    const std::string before = handOff();

    if (c.edit != 0) ASSERT_TRUE(dialog.UserSetText(c.edit, c.typed));
    if (c.click != 0) ASSERT_TRUE(dialog.UserClick(c.click));
    if (c.select >= 0) ASSERT_TRUE(dialog.UserSelect(D::kHeightSizes, c.select));
    ASSERT_EQ(test.host.messages.size(), 1u);
    EXPECT_EQ(test.host.messages[0].caption, "入力確認");
    EXPECT_NE(test.host.messages[0].text.find(c.says), std::string::npos)
        << test.host.messages[0].text;
    d.Repaint();
    EXPECT_EQ(test.host.messages.size(), 1u);
    EXPECT_EQ(dialog.Records().Count(), 0u);
    EXPECT_EQ(handOff(), before);
    // OK refuses the same way and starts nothing.
    ASSERT_TRUE(dialog.UserClick(ui::kIdOk));
    EXPECT_EQ(test.launcher.starts, 1);
    EXPECT_EQ(test.host.messages.size(), 2u);
  }
}

TEST(Jyoge2Dialog, StoredValuesThatMakeNoRunSaySoAtOpening) {
  TestApp test;
  std::vector<std::string> lines = test.Lines("Jyoge2.ini");
  ASSERT_EQ(lines.size(), 19u);
  lines[17] = "100";  // three elbows 100 apart
  test.Write("Jyoge2.ini", lines);
  const std::string stored = test.Bytes("Jyoge2.ini") + test.Bytes("DrawData.txt");
  Opened<Jyoge2Dialog> d(test);
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_NE(test.host.messages[0].text.find("ピッチは715以上"), std::string::npos);
  EXPECT_EQ(test.Bytes("Jyoge2.ini") + test.Bytes("DrawData.txt"), stored);
  EXPECT_EQ(d.dialog->Records().Count(), 0u);
}

}  // namespace
}  // namespace tavelin
