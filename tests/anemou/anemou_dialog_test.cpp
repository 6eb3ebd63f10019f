// The anemostat with neck as the user drives it: the worked fitting handed
// off record by record under its weighted name, the size look-up for each
// anemostat, and the face radios without a size.
#include "duct/anemou_dialog.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

using D = AnemoUDialog;

// P 300, B 100, D 200, A 250, H 200, round anemostat.
const std::vector<std::string> kWorked = {"300", "100", "0", "200", "250", "200",
                                          "0",   "",    "1", "0",   "0"};

class AnemoUDialogTest : public ::testing::Test {
 protected:
  void Open(std::vector<std::string> settings = kWorked) {
    test.Write("AnemoU.ini", settings);
    dialog = std::make_unique<D>(test.App());
    dialog->Initialize();
    ASSERT_EQ(dialog->Failures(), 0);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }

  testing::TestApp test;
  std::unique_ptr<D> dialog;
};

TEST_F(AnemoUDialogTest, WorkedFittingIsHandedOffUnderItsWeightedName) {
  test.Write("KyotuSet.ini", {"40", "15", "50", "30"});
  Open();
  const std::vector<std::string> data = test.Lines("DrawData.txt");
  ASSERT_EQ(data.size(), 7u);
  EXPECT_EQ(data[0], "50,300.000000,125.000000,125.000000,125.000000,");
  EXPECT_EQ(data[1], "1,1,4,250.000000,100.000000,111.803399,100.000000,CONTINUOUS,DUCT,");
  EXPECT_EQ(data[3], "1,1,3,250.000000,100.000000,250.000000,-100.000000,CONTINUOUS,DUCT_FLANGE,");
  EXPECT_EQ(data[6],
            "2,2,1,0.000000,0.000000,125.000000,0.000000,360.000000,CONTINUOUS,DUCT_FIXTURE,");
  EXPECT_EQ(test.Lines("AnemoU.ini"), kWorked);
  // 301 + 101 * 1.1 + 1.2 + 201 * 1.3 + 251 * 1.4 + 201 * 1.5 + 1.6 + 1.7 + 2 * 1.8
  // + 1.9 + 2 = 1338.3, then 2.1 * 40 + 2.2 * 15 + 2.3 * 50 = 232.
  EXPECT_EQ(test.Lines("DrawName.ini"), (std::vector<std::string>{"AU_1570D30000041"}));
}

TEST_F(AnemoUDialogTest, SizeFillsNeckStubBodyAndTheFaceOfTheCheckedAnemostat) {
  Open();
  auto& sizes = *dialog->FindControl(D::kSize);
  ASSERT_EQ(sizes.Count(), 9);
  ASSERT_TRUE(dialog->UserSelect(D::kSize, sizes.FindExact("#25")));
  // "#25,250,400,500,450": the neck fills D and H alike.
  EXPECT_EQ(Text(D::kNeck), "250");
  EXPECT_EQ(Text(D::kStubWidth), "250");
  EXPECT_EQ(Text(D::kBody), "400");
  EXPECT_EQ(Text(D::kFace), "500");
  ASSERT_TRUE(dialog->UserClick(D::kSquareFace));
  EXPECT_EQ(Text(D::kFace), "450");
  EXPECT_EQ(test.Lines("AnemoU.ini")[7], "#25");
  EXPECT_EQ(test.Lines("AnemoU.ini")[8], "2");
  EXPECT_EQ(test.Lines("DrawData.txt").size(), 10u);
  // A size the file does not know leaves the values, and still redraws.
  dialog->FindControl(D::kSize)->AddString("#99");
  ASSERT_TRUE(dialog->UserSelect(D::kSize, 9));
  EXPECT_EQ(Text(D::kBody), "400");
  EXPECT_EQ(test.Lines("AnemoU.ini")[7], "#99");
}

TEST_F(AnemoUDialogTest, WithoutAnAnemostatOrASizeNothingIsLookedUp) {
  std::vector<std::string> settings = kWorked;
  settings[7] = "#25";
  settings[8] = "";
  Open(settings);
  EXPECT_EQ(test.Lines("DrawData.txt").size(), 6u) << "no face drawn";
  auto& sizes = *dialog->FindControl(D::kSize);
  ASSERT_TRUE(dialog->UserSelect(D::kSize, sizes.FindExact("#30")));
  EXPECT_EQ(Text(D::kNeck), "300");
  EXPECT_EQ(Text(D::kFace), "250") << "the face stays with no anemostat checked";
  // A face radio with an empty size text does nothing more.
  Open();
  const std::string before = test.Bytes("DrawName.ini");
  ASSERT_TRUE(dialog->UserClick(D::kSquareFace));
  EXPECT_EQ(test.Bytes("DrawName.ini"), before);
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_EQ(test.Lines("AnemoU.ini")[8], "2") << "OK builds what the controls hold";
}

}  // namespace
}  // namespace tavelin
