// The anemostat with neck: the worked round and square anemostats record by
// record, a stub as wide as the body, and the size look-up.
#include "duct/anemou_geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/drawn_records.hpp"

namespace tavelin {
namespace {

using testing::Drawn;
using testing::ReadDrawn;
using testing::SameLine;

AnemoUInput Example(AnemoUFace face) {
  AnemoUInput in;
  in.body = 300;
  in.stubLength = 100;
  in.stubWidth = 200;
  in.neck = 200;
  in.face = 250;
  in.anemostat = face;
  return in;
}

const CommonValues kCommon{40.0, 15.0, 50.0, 30.0};

TEST(AnemoUGeometry, WorkedRoundAndSquareAnemostats) {
  const double n = std::sqrt(150.0 * 150.0 - 100.0 * 100.0);  // 111.8034
  for (AnemoUFace face : {AnemoUFace::kRound, AnemoUFace::kSquare, AnemoUFace::kNone}) {
    RecordList list;
    ASSERT_TRUE(BuildAnemoU(list, Example(face), kCommon));
    EXPECT_EQ(list.Record(0), "50,300.000000,125.000000,125.000000,125.000000,");
    std::vector<Drawn> r = ReadDrawn(list);
    ASSERT_EQ(r.size(), face == AnemoUFace::kRound ? 6u : face == AnemoUFace::kSquare ? 9u : 5u);
    EXPECT_TRUE(SameLine(r[0], 250, 100, n, 100));
    EXPECT_TRUE(SameLine(r[1], 250, -100, n, -100));
    EXPECT_TRUE(SameLine(r[2], 250, 100, 250, -100));
    EXPECT_EQ(r[2].element, kFlangeJoint);
    EXPECT_EQ(r[3].v, (std::vector<double>{0, 0, 150, 0, 360}));
    EXPECT_EQ(r[3].style, kSolid);
    EXPECT_EQ(r[4].v, (std::vector<double>{0, 0, 100, 0, 360}));
    EXPECT_EQ(r[4].element, kHiddenLine);
    if (face == AnemoUFace::kRound) {
      EXPECT_EQ(r[5].v, (std::vector<double>{0, 0, 125, 0, 360}));
      EXPECT_EQ(r[5].element, kFixtureLine);
    }
    if (face == AnemoUFace::kSquare) {
      EXPECT_TRUE(SameLine(r[5], -125, -125, -125, 125));
      EXPECT_TRUE(SameLine(r[6], -125, 125, 125, 125));
      EXPECT_TRUE(SameLine(r[7], 125, 125, 125, -125));
      EXPECT_TRUE(SameLine(r[8], 125, -125, -125, -125));
      EXPECT_EQ(r[8].style, kDotted);
    }
  }
  // Mirrored and turned a quarter: the flange's upper end (250, 100) goes to
  // (-250, 100), then to (-100, -250).
  RecordList list;
  AnemoUInput in = Example(AnemoUFace::kRound);
  in.mirror = true;
  in.angle = 90;
  BuildAnemoU(list, in, kCommon);
  Drawn flange = ReadDrawn(list)[2];
  EXPECT_NEAR(flange.v[0], -100, 1e-6);
  EXPECT_NEAR(flange.v[1], -250, 1e-6);
}

TEST(AnemoUGeometry, StubAsWideAsTheBodyRunsToTheCentreLine) {
  AnemoUInput in = Example(AnemoUFace::kRound);
  for (double width : {300.0, 500.0}) {
    in.stubWidth = width;
    EXPECT_EQ(AnemoUStubStart(in), 0.0);
    RecordList list;
    ASSERT_TRUE(BuildAnemoU(list, in, kCommon));
    for (size_t k = 0; k < list.Count(); ++k) {
      EXPECT_EQ(list.Record(k).find("nan"), std::string::npos) << list.Record(k);
    }
    EXPECT_TRUE(SameLine(ReadDrawn(list)[0], 250, width / 2, 0, width / 2));
  }
  in.body = std::nan("");
  RecordList list;
  EXPECT_FALSE(BuildAnemoU(list, in, kCommon));
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

}  // namespace
}  // namespace tavelin
