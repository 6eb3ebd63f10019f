// The square register with box: the worked register of 300 by 200 in a
// margin of 50 with each symbol, the lining with its hatching, the box size
// shown, one settings file under both spellings, options restored exactly as
// their lines say, a margin that waits for the update, and its OK button.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "duct/kakubox_dialog.hpp"
#include "duct/kakubox_geometry.hpp"
#include "framework/handoff.hpp"
#include "framework/text.hpp"
#include "tests/support/drawn_records.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

using testing::Drawn;
using testing::ReadDrawn;
using testing::SameLine;

const CommonValues kCommon{40.0, 15.0, 50.0, 30.0};

KakuboxInput Register(RegisterType type, bool lined = false, double lining = 25) {
  KakuboxInput in;
  in.registerWidth = 300;
  in.registerDepth = 200;
  in.margin = 50;
  in.lining = lining;
  in.lined = lined;
  in.type = type;
  return in;
}

TEST(KakuboxGeometry, WorkedRegisterWithEachSymbol) {
  struct Case {
    RegisterType type;
    std::vector<std::vector<double>> symbol;
  } cases[] = {
      {RegisterType::kCross, {{-150, -100, 150, 100}, {-150, 100, 150, -100}}},
      {RegisterType::kDiagonal, {{-150, -100, 150, 100}}},
      {RegisterType::kHalfDiagonal, {{-150, -100, 150, 100}, {0, 0, 150, -100}}},
      {RegisterType::kNone, {}},
  };
  for (const Case& c : cases) {
    RecordList list(500);
    ASSERT_TRUE(BuildKakubox(list, Register(c.type), kCommon));
    // X = 400, Y = 300.
    EXPECT_EQ(list.Record(0), "50,200.000000,150.000000,200.000000,150.000000,");
    std::vector<Drawn> r = ReadDrawn(list);
    ASSERT_EQ(r.size(), 8 + c.symbol.size());
    EXPECT_TRUE(SameLine(r[0], -200, -150, -200, 150));
    EXPECT_TRUE(SameLine(r[4], -150, -100, -150, 100)) << "the register face";
    EXPECT_TRUE(SameLine(r[7], 150, -100, -150, -100));
    for (size_t k = 0; k < c.symbol.size(); ++k) {
      const std::vector<double>& s = c.symbol[k];
      EXPECT_TRUE(SameLine(r[8 + k], s[0], s[1], s[2], s[3])) << k;
      EXPECT_EQ(r[8 + k].element, kFixtureLine);
    }
  }
}

TEST(KakuboxGeometry, LiningAndHatching) {
  RecordList list(500);
  BuildKakubox(list, Register(RegisterType::kDiagonal, true, 25), kCommon);
  std::vector<Drawn> r = ReadDrawn(list);
  EXPECT_TRUE(SameLine(r[8], -175, -125, -175, 125));
  EXPECT_EQ(r[8].element, kHiddenLine);
  EXPECT_TRUE(SameLine(r[12], -150, -100, 150, 100)) << "the symbol follows the lining";
  std::vector<Drawn> hatch = testing::OfElement(r, kHatchingLine);
  EXPECT_GT(hatch.size(), 10u);
  for (const Drawn& h : hatch) {
    for (double x : {h.v[0], h.v[2]}) EXPECT_LE(std::fabs(x), 200.001);
    for (double y : {h.v[1], h.v[3]}) EXPECT_LE(std::fabs(y), 150.001);
  }
  // A lined box with T = 0 has no lining lines but is still hatched.
  BuildKakubox(list, Register(RegisterType::kDiagonal, true, 0), kCommon);
  r = ReadDrawn(list);
  EXPECT_EQ(testing::OfElement(r, kHiddenLine).size(), 0u);
  EXPECT_EQ(testing::OfElement(r, kHatchingLine).size(), hatch.size());
}

using D = KakuboxDialog;

class KakuboxDialogTest : public ::testing::Test {
 protected:
  void Open(const std::vector<std::string>& settings) {
    test.Write("Kakubox.ini", settings);
    dialog = std::make_unique<D>(test.App());
    dialog->Initialize();
    ASSERT_EQ(dialog->Failures(), 0);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }
  bool Checked(int id) { return dialog->FindControl(id)->Checked(); }

  testing::TestApp test;
  std::unique_ptr<D> dialog;
};

TEST_F(KakuboxDialogTest, WorkedRegisterShowsItsBoxAndWritesOneSettingsFile) {
  Open({"300", "200", "50", "25", "0", "1", "1"});
  EXPECT_EQ(Text(D::kBoxWidth), "400");
  EXPECT_EQ(Text(D::kBoxDepth), "300");
  EXPECT_EQ(test.Lines("DrawData.txt").size(), 11u);
  // Written as "KakuBox.ini", read back as "Kakubox.ini": one file.
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test.Root() / "info")) {
    if (EqualsIgnoreCase(entry.path().filename().string(), "Kakubox.ini")) ++files;
  }
  EXPECT_EQ(files, 1u);
  EXPECT_EQ(test.Lines("Kakubox.ini"),
            (std::vector<std::string>{"300", "200", "50", "25", "0", "1", "1"}));
  // A margin from its list waits for the update.
  const std::string before = test.Bytes("DrawData.txt");
  ASSERT_TRUE(dialog->UserSelect(D::kMargin, dialog->FindControl(D::kMargin)->FindExact("150")));
  EXPECT_EQ(test.Bytes("DrawData.txt"), before);
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(Text(D::kBoxWidth), "600");
  EXPECT_EQ(test.Lines("Kakubox.ini")[2], "150");
}

TEST_F(KakuboxDialogTest, OptionsAreOnExactlyWhenTheirLinesSaySo) {
  Open({"300", "200", "50", "25", "yes", "4", "2"});
  EXPECT_FALSE(Checked(D::kLined));
  EXPECT_FALSE(Checked(D::kCross) || Checked(D::kDiagonal) || Checked(D::kHalfDiagonal));
  EXPECT_TRUE(Checked(D::kBaseCorner));
  EXPECT_EQ(test.Lines("DrawData.txt").size(), 9u) << "box and face, no symbol";
  // OK is the button 1005.
  ASSERT_TRUE(dialog->UserClick(D::kOkButton));
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_EQ(Text(D::kStatusLine), PlacedStatus(test.launcher.lastName, test.Root() / "blocks"));
}

}  // namespace
}  // namespace tavelin
