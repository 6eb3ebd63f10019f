// The anemostat with neck: the worked fitting handed off record by record
// under its weighted name, the square face, a stub as wide as the body, and
// the size look-up for each anemostat, with and without one.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "duct/anemou_dialog.hpp"
#include "duct/anemou_geometry.hpp"
#include "tests/support/drawn_records.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

using testing::ReadDrawn;
using testing::SameLine;

AnemoUInput Example() {
  AnemoUInput in;
  in.body = 300;
  in.stubLength = 100;
  in.stubWidth = 200;
  in.neck = 200;
  in.face = 250;
  in.anemostat = AnemoUFace::kSquare;
  return in;
}

const CommonValues kCommon{40.0, 15.0, 50.0, 30.0};

TEST(AnemoUGeometry, SquareFaceAndAStubAsWideAsTheBody) {
  RecordList list;
  ASSERT_TRUE(BuildAnemoU(list, Example(), kCommon));
  std::vector<testing::Drawn> r = ReadDrawn(list);
  ASSERT_EQ(r.size(), 9u);
  EXPECT_TRUE(SameLine(r[5], -125, -125, -125, 125));
  EXPECT_TRUE(SameLine(r[6], -125, 125, 125, 125));
  EXPECT_TRUE(SameLine(r[7], 125, 125, 125, -125));
  EXPECT_TRUE(SameLine(r[8], 125, -125, -125, -125));
  EXPECT_EQ(r[8].style, kDotted);
  // A stub as wide as the body or wider never meets the circle: its sides
  // run to the centre line, never to a "nan".
  AnemoUInput wide = Example();
  for (double width : {300.0, 500.0}) {
    wide.stubWidth = width;
    ASSERT_TRUE(BuildAnemoU(list, wide, kCommon));
    for (size_t k = 0; k < list.Count(); ++k) {
      EXPECT_EQ(list.Record(k).find("nan"), std::string::npos) << list.Record(k);
    }
    EXPECT_TRUE(SameLine(ReadDrawn(list)[0], 250, width / 2, 0, width / 2));
  }
  wide.body = std::nan("");
  EXPECT_FALSE(BuildAnemoU(list, wide, kCommon));
  EXPECT_EQ(list.Count(), 0u);
}

TEST(AnemoUGeometry, SizeLookUp) {
  const std::vector<std::string> lines = {"#20,200,340,420,380", "#25,250,400,500,450", "#2",
                                          "#25,255,405,505,455"};
  auto found = FindAnemoSize(lines, "#20");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->neck, "200");
  EXPECT_EQ(found->body, "340");
  EXPECT_EQ(found->roundFace, "420");
  EXPECT_EQ(found->squareFace, "380");
  EXPECT_EQ(FindAnemoSize(lines, "#25")->neck, "255") << "the last line of a size counts";
  EXPECT_FALSE(FindAnemoSize(lines, "#30"));
  EXPECT_FALSE(FindAnemoSize(lines, "#2 "));
}

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
}

}  // namespace
}  // namespace tavelin
