// The square register dialog as the user drives it: the box size shown, the
// margin and lining that wait for the update, the settings file under both
// spellings, the exact restoring of its options, and its own OK button.
#include "duct/kakubox_dialog.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "framework/canvas.hpp"
#include "framework/text.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

using D = KakuboxDialog;

class KakuboxDialogTest : public ::testing::Test {
 protected:
  void Open() {
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
  test.Write("Kakubox.ini", {"300", "200", "50", "25", "0", "1", "1"});
  Open();
  EXPECT_EQ(Text(D::kBoxWidth), "400");
  EXPECT_EQ(Text(D::kBoxDepth), "300");
  EXPECT_EQ(dialog->FindControl(D::kMargin)->Items(),
            (std::vector<std::string>{"50", "75", "100", "125", "150"}));
  EXPECT_EQ(dialog->FindControl(D::kLining)->Items(),
            (std::vector<std::string>{"25", "30", "40", "50"}));
  const std::vector<std::string> data = test.Lines("DrawData.txt");
  ASSERT_EQ(data.size(), 11u);
  EXPECT_EQ(data[5],
            "1,2,1,-150.000000,-100.000000,-150.000000,100.000000,CONTINUOUS,DUCT_FIXTURE,");
  EXPECT_EQ(data[10],
            "1,2,1,-150.000000,100.000000,150.000000,-100.000000,CONTINUOUS,DUCT_FIXTURE,");
  // Written as "KakuBox.ini", read back as "Kakubox.ini": one file.
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test.Root() / "info")) {
    if (EqualsIgnoreCase(entry.path().filename().string(), "Kakubox.ini")) ++files;
  }
  EXPECT_EQ(files, 1u);
  EXPECT_EQ(test.Lines("Kakubox.ini"),
            (std::vector<std::string>{"300", "200", "50", "25", "0", "1", "1"}));
  EXPECT_EQ(test.Lines("DrawName.ini")[0].substr(0, 4), "KBX_");
}

TEST_F(KakuboxDialogTest, AMarginFromItsListWaitsForTheUpdate) {
  Open();
  const std::string before = test.Bytes("DrawData.txt");
  auto& margins = *dialog->FindControl(D::kMargin);
  ASSERT_TRUE(dialog->UserSelect(D::kMargin, margins.FindExact("150")));
  ASSERT_TRUE(dialog->UserSetText(D::kRegisterWidth, "500"));
  EXPECT_EQ(test.Bytes("DrawData.txt"), before);
  EXPECT_EQ(Text(D::kStatusLine), "設定後OKをクリック");
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(Text(D::kBoxWidth), "800");
  EXPECT_EQ(test.Lines("Kakubox.ini")[2], "150");
  // A size from its list redraws at once.
  auto& depths = *dialog->FindControl(D::kDepthSizes);
  ASSERT_TRUE(dialog->UserSelect(D::kDepthSizes, depths.FindExact("500")));
  EXPECT_EQ(Text(D::kRegisterDepth), "500");
  EXPECT_EQ(Text(D::kBoxDepth), "800");
  EXPECT_EQ(test.Lines("Kakubox.ini")[1], "500");
}

TEST_F(KakuboxDialogTest, OptionsAreOnExactlyWhenTheirLinesSaySo) {
  test.Write("Kakubox.ini", {"300", "200", "50", "25", "yes", "4", "2"});
  Open();
  EXPECT_FALSE(Checked(D::kLined));
  EXPECT_FALSE(Checked(D::kCross) || Checked(D::kDiagonal) || Checked(D::kHalfDiagonal));
  EXPECT_TRUE(Checked(D::kBaseCorner));
  EXPECT_EQ(test.Lines("Kakubox.ini")[5], "");
  EXPECT_EQ(test.Lines("DrawData.txt").size(), 9u) << "box and face, no symbol";
  // OK is the button 1005.
  ASSERT_TRUE(dialog->UserClick(D::kOkButton));
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_FALSE(dialog->Ended());
  EXPECT_EQ(Text(D::kStatusLine), "「ブロック挿入」で配置できます：" + test.launcher.lastName);
}

}  // namespace
}  // namespace tavelin
