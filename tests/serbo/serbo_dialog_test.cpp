// The silenced elbow as the user drives it: its eleven settings lines and
// the name weighted with all four common values, the corner shapes and the
// hatch option, and the stored angle that turns the elbow.
#include "duct/serbo_dialog.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "framework/canvas.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

using D = SErboDialog;

// W 400, B 300, angle 0, C 200, T 50, centre base, square corner, hatched.
const std::vector<std::string> kSettings = {"400", "300", "0", "200", "0", "50",
                                            "2",   "1",   "0", "0",   "1"};

class SErboDialogTest : public ::testing::Test {
 protected:
  void Open(std::vector<std::string> settings = kSettings) {
    test.Write("S_Erbo.ini", settings);
    dialog = std::make_unique<D>(test.App());
    dialog->Initialize();
    ASSERT_EQ(dialog->Failures(), 0);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }
  size_t Hatches() {
    size_t n = 0;
    for (const std::string& line : test.Lines("DrawData.txt")) {
      if (line.find("DUCT_HATCH") != std::string::npos) ++n;
    }
    return n;
  }

  testing::TestApp test;
  std::unique_ptr<D> dialog;
};

TEST_F(SErboDialogTest, OpeningHandsOffTheHatchedElbowUnderItsWeightedName) {
  Open();
  EXPECT_EQ(test.Lines("S_Erbo.ini"), kSettings);
  const std::vector<std::string> data = test.Lines("DrawData.txt");
  // K1 40, K2 15, K3 50: L = 700.
  EXPECT_EQ(data[0], "50,750.000000,750.000000,200.000000,200.000000,");
  EXPECT_EQ(data[1], "1,1,3,700.000000,215.000000,700.000000,-215.000000,CONTINUOUS,DUCT_FLANGE,");
  EXPECT_GT(Hatches(), 20u);
  // The eleven values weigh 1.0 to 2.0 (1088.4), then 2.1 K1 + 2.2 K2 +
  // 2.3 K3 + 2.4 K4 = 84 + 33 + 115 + 72.
  EXPECT_EQ(test.Lines("DrawName.ini"), (std::vector<std::string>{"SE_1392D40000041"}));
}

TEST_F(SErboDialogTest, ShapesAndHatchAreOptionClicks) {
  Open();
  ASSERT_TRUE(dialog->UserClick(D::kChamfered));
  EXPECT_EQ(test.Lines("S_Erbo.ini")[7], "3");
  EXPECT_EQ(test.Lines("DrawData.txt")[16],
            "1,1,4,500.000000,-270.710678,270.710678,-500.000000,CONTINUOUS,DUCT,");
  ASSERT_TRUE(dialog->UserClick(D::kHatch));
  EXPECT_EQ(test.Lines("S_Erbo.ini")[10], "0");
  EXPECT_EQ(Hatches(), 0u);
  ASSERT_TRUE(dialog->UserClick(D::kBaseInner));
  EXPECT_EQ(test.Lines("S_Erbo.ini")[6], "3");
  EXPECT_EQ(test.Lines("DrawData.txt")[7],
            "1,1,4,0.000000,-500.000000,0.000000,-300.000000,CONTINUOUS,DUCT,");
}

TEST_F(SErboDialogTest, TheStoredAngleTurnsTheElbowAndOkBuildsIt) {
  std::vector<std::string> settings = kSettings;
  settings[2] = "90";
  Open(settings);
  EXPECT_EQ(dialog->Records().rotation, 90.0);
  // The outlet flange (700, 215)-(700, -215) turned a quarter.
  EXPECT_EQ(test.Lines("DrawData.txt")[1],
            "1,1,3,-215.000000,700.000000,215.000000,700.000000,CONTINUOUS,DUCT_FLANGE,");
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_FALSE(dialog->Ended());
  EXPECT_EQ(Text(D::kStatusLine), "「ブロック挿入」で配置できます：" + test.launcher.lastName);
}

}  // namespace
}  // namespace tavelin
