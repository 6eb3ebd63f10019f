// The lined box dialog as the user drives it: its block name with the
// hatching width, the width that redraws while typed, the size lists and
// the base point, and OK.
#include "duct/ubox_dialog.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "framework/canvas.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

using D = UboxDialog;

class UboxDialogTest : public ::testing::Test {
 protected:
  void Open() {
    dialog = std::make_unique<D>(test.App());
    dialog->Initialize();
    ASSERT_EQ(dialog->Failures(), 0);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }

  testing::TestApp test;
  std::unique_ptr<D> dialog;
};

TEST_F(UboxDialogTest, OpeningHandsOffTheBoxUnderItsWeightedName) {
  Open();
  EXPECT_EQ(test.Lines("Ubox.ini"),
            (std::vector<std::string>{"1000", "600", "50", "0", "1", "0", "0"}));
  const std::vector<std::string> data = test.Lines("DrawData.txt");
  ASSERT_GT(data.size(), 9u);
  EXPECT_EQ(data[1], "1,1,4,-500.000000,300.000000,500.000000,300.000000,CONTINUOUS,DUCT,");
  EXPECT_EQ(data[5], "1,2,8,-450.000000,250.000000,450.000000,250.000000,HIDDEN,DUCT_HIDDEN,");
  EXPECT_EQ(data.back().substr(data.back().size() - 23), ",CONTINUOUS,DUCT_HATCH,");
  // 1001 + 601 * 1.1 + 51 * 1.2 + 1.3 + 2 * 1.4 + 1.5 + 1.6 = 1730.5, and the
  // hatching width 30 weighs 1.7; then the run-time's first random number.
  EXPECT_EQ(test.Lines("DrawName.ini"), (std::vector<std::string>{"UB_1781D50000041"}));
  EXPECT_EQ(dialog->FindControl(D::kWidthSizes)->Items(), test.Lines("KiokuSize.ini"));
}

TEST_F(UboxDialogTest, TheWidthRedrawsWhileTypedOtherFieldsWaitForTheUpdate) {
  Open();
  ASSERT_TRUE(dialog->UserSetText(D::kDepth, "800"));
  EXPECT_EQ(test.Lines("Ubox.ini")[1], "600");
  ASSERT_TRUE(dialog->UserSetText(D::kWidth, "1200"));
  EXPECT_EQ(test.Lines("Ubox.ini")[0], "1200");
  EXPECT_EQ(test.Lines("Ubox.ini")[1], "800");
  EXPECT_EQ(test.Lines("DrawData.txt")[0], "50,600.000000,400.000000,600.000000,400.000000,");
  // A size from a list, and the lower left corner as base point.
  auto& sizes = *dialog->FindControl(D::kDepthSizes);
  ASSERT_TRUE(dialog->UserSelect(D::kDepthSizes, sizes.FindExact("300")));
  ASSERT_TRUE(dialog->UserClick(D::kBaseCorner));
  EXPECT_EQ(test.Lines("Ubox.ini")[1], "300");
  EXPECT_EQ(test.Lines("Ubox.ini")[4], "3");
  EXPECT_EQ(test.Lines("DrawData.txt")[3],
            "1,1,4,1200.000000,0.000000,0.000000,0.000000,CONTINUOUS,DUCT,");
  // With the angle field empty, typing the width waits like the others.
  test.Write("Ubox.ini", {"1000", "600", "50", "", "1", "0", "0"});
  Open();
  const std::string before = test.Bytes("DrawName.ini");
  ASSERT_TRUE(dialog->UserSetText(D::kWidth, "900"));
  EXPECT_EQ(test.Bytes("DrawName.ini"), before);
  EXPECT_EQ(test.Lines("Ubox.ini")[0], "1000");
}

TEST_F(UboxDialogTest, OkBuildsTheTurnedBoxAndStaysOpen) {
  test.Write("Ubox.ini", {"1000", "600", "50", "90", "2", "0", "1"});
  Open();
  EXPECT_EQ(dialog->Records().rotation, 90.0);
  EXPECT_TRUE(dialog->FindControl(D::kBaseLowerSide)->Checked());
  EXPECT_TRUE(dialog->FindControl(D::kCurrentLayer)->Checked());
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_FALSE(dialog->Ended());
  EXPECT_EQ(Text(D::kStatusLine), "「ブロック挿入」で配置できます：" + test.launcher.lastName);
  EXPECT_EQ(test.launcher.lastName.substr(0, 3), "UB_");
}

}  // namespace
}  // namespace tavelin
