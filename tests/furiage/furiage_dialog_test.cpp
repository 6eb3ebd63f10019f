// The raised-duct dialog as the user drives it: what it reads and writes,
// the two ways of giving the size, the combos, and what OK hands on.
#include "duct/furiage_dialog.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "framework/canvas.hpp"
#include "framework/handoff.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;
using D = FuriageDialog;

class FuriageDialogTest : public ::testing::Test {
 protected:
  void Open() {
    dialog = std::make_unique<FuriageDialog>(test.App());
    dialog->Initialize();
    Repaint();
  }
  void Repaint() {
    NullCanvas canvas;
    dialog->Paint(canvas);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }
  bool Checked(int id) { return dialog->FindControl(id)->Checked(); }

  TestApp test;
  std::unique_ptr<FuriageDialog> dialog;
};

const std::vector<std::string> kDefaults = {"400", "300", "600", "15", "1050", "100", "100", "45",
                                            "1",   "1",   "1",   "1",  "1",    "2",   "1"};

TEST_F(FuriageDialogTest, OpeningRestoresTheSettingsAndHandsOffTheDuct) {
  Open();
  EXPECT_TRUE(test.host.messages.empty());
  EXPECT_EQ(Text(D::kStatusLine), "設定後OKをクリック");
  EXPECT_EQ(dialog->FindControl(D::kAngles)->Items(),
            (std::vector<std::string>{"15", "30", "45", "60"}));
  EXPECT_EQ(dialog->FindControl(D::kWidths)->Items(), test.Lines("KiokuSize.ini"));
  EXPECT_EQ(dialog->FindControl(D::kHeights)->Items(), test.Lines("KiokuSize.ini"));

  EXPECT_EQ(test.Lines("Furiage.ini"), kDefaults);
  auto data = test.Lines("DrawData.txt");
  ASSERT_EQ(data.size(), 27u);  // both flanges with hidden lines and end extensions
  EXPECT_EQ(data[0], "50,1050.000000,215.000000,50.000000,215.000000,");
  EXPECT_EQ(data[5], "1,1,3,40.000000,200.000000,40.000000,-200.000000,CONTINUOUS,DUCT_ANGLE,");
  EXPECT_EQ(data[13], "1,2,8,843.933983,-200.000000,843.933983,200.000000,HIDDEN,DUCT_HIDDEN,");
  // Weighted sum 3368.5 of the fifteen lines plus 2.5 K1 + 2.6 K2 + 2.7 K3 = 274.
  EXPECT_EQ(test.Lines("DrawName.ini"), (std::vector<std::string>{"FAG_3642D50000041"}));

  ASSERT_TRUE(dialog->UserSelect(D::kAngles, 1));  // 30: copied, then redrawn
  EXPECT_EQ(test.Lines("Furiage.ini")[7], "30");
  EXPECT_EQ(test.Lines("Furiage.ini")[4], Text(D::kLength));
}

TEST_F(FuriageDialogTest, LengthGivenSearchesTheAngleAndFallsBackToFortyFive) {
  Open();
  ASSERT_TRUE(dialog->UserSetText(D::kLength, "1204"));
  ASSERT_TRUE(dialog->UserClick(D::kLengthGiven));
  EXPECT_EQ(Text(D::kAngle), "36.7");  // within 1 of 1204
  EXPECT_EQ(Text(D::kLength), "1200");
  EXPECT_EQ(test.Lines("Furiage.ini")[7], "36.7");
  EXPECT_EQ(test.Lines("Furiage.ini")[8], "2");
  EXPECT_EQ(test.Lines("DrawData.txt")[0], "50,1200.000000,215.000000,50.000000,215.000000,");

  // Without a raise no angle comes within 1000 of 5000: 45 stays.
  ASSERT_TRUE(dialog->UserSetText(D::kRaise, "0"));
  ASSERT_TRUE(dialog->UserSetText(D::kLength, "5000"));
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(Text(D::kAngle), "45");
  EXPECT_EQ(Text(D::kLength), "450");
  EXPECT_TRUE(test.host.messages.empty());
}

TEST_F(FuriageDialogTest, DrawsWithoutThePipeDiameterLists) {
  // The pipe and round-duct diameter lists are data of the installation; the
  // raised duct draws from its own dimensions and needs none of them.
  for (const char* list : {"DokanKei.ini", "EnbiKei.ini", "KokanKei.ini", "MaruDakutoKei.ini"})
    test.Remove(list);
  Open();
  EXPECT_TRUE(test.host.messages.empty());
  EXPECT_EQ(test.Lines("DrawData.txt").size(), 27u);
}

TEST_F(FuriageDialogTest, StoredChoicesComeBackAsStored) {
  // Line 14 may name a base radio that is not shown; the plan/side pair is kept.
  test.Write("Furiage.ini", {"500", "250", "700", "0", "1000", "50", "60", "30", "2", "2", "0",
                             "1", "0", "8", "2"});
  Open();
  EXPECT_TRUE(Checked(D::kLengthGiven));
  EXPECT_FALSE(Checked(D::kAngleGiven));
  EXPECT_TRUE(Checked(D::kFullRadius));
  EXPECT_FALSE(Checked(D::kUpperFlange));
  EXPECT_TRUE(Checked(D::kLowerFlange));
  EXPECT_TRUE(Checked(D::kStoredBase1 + 1));
  EXPECT_TRUE(Checked(D::kSide));
  auto settings = test.Lines("Furiage.ini");
  EXPECT_EQ(settings[13], "8");
  EXPECT_EQ(settings[14], "2");
}

TEST_F(FuriageDialogTest, OkStartsTheBuilderOnlyForADrawing) {
  Open();
  ASSERT_TRUE(dialog->UserSetText(D::kAngle, "60"));  // typed, not yet redrawn
  ASSERT_TRUE(dialog->UserClick(D::kOkButton));
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_EQ(Text(D::kStatusLine), PlacedStatus(test.launcher.lastName, test.Root() / "blocks"));
  EXPECT_EQ(test.Lines("Furiage.ini")[7], "60");  // the block is made of what is shown

  // An angle of 0 has no slope: no outline, no block, a message instead.
  ASSERT_TRUE(dialog->UserSetText(D::kAngle, "0"));
  dialog->UserOk();
  EXPECT_EQ(test.launcher.starts, 1);
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.host.messages[0].caption, "入力確認");
  EXPECT_EQ(test.Bytes("DrawData.txt").find("nan"), std::string::npos);
}

}  // namespace
}  // namespace tavelin
