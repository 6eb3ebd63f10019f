#include <gtest/gtest.h>

#include <cmath>

#include "framework/geometry.hpp"
#include "framework/record_list.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

TEST(Direction, QuadrantsAxesAndTheNullVector) {
  EXPECT_DOUBLE_EQ(SegmentDirection(0, 0, -10, 0), 180.0);
  EXPECT_DOUBLE_EQ(SegmentDirection(0, 0, 0, -10), 270.0);
  EXPECT_DOUBLE_EQ(SegmentDirection(0, 0, 0, 10), 90.0);
  EXPECT_DOUBLE_EQ(SegmentDirection(5, 5, 5, 5), 0.0);
  EXPECT_NEAR(SegmentDirection(0, 0, 1, 1), 45.0, 1e-6);
  EXPECT_NEAR(SegmentDirection(0, 0, -1, 1), 135.0, 1e-6);
  EXPECT_NEAR(SegmentDirection(0, 0, -1, -1), 225.0, 1e-6);
  EXPECT_NEAR(SegmentDirection(0, 0, 1, -1), 315.0, 1e-6);
  // The factors use pi as 3.1415926535, not the full value.
  EXPECT_DOUBLE_EQ(DirectionOf(1, 1), std::atan(1.0) * 57.29577951471995);
}

TEST(Direction, RotationWrapsOnceAbove360) {
  // 350 + 45 = 395 -> 35 degrees.
  double t = 350.0 * kDegreesToRadians;
  Point p = RotateByAngle(10 * std::cos(t), 10 * std::sin(t), 45);
  EXPECT_NEAR(DirectionOf(p.x, p.y), 35.0, 1e-6);
  Point origin = RotateByAngle(0, 0, 123);
  EXPECT_EQ(origin.x, 0.0);
  EXPECT_EQ(origin.y, 0.0);
}

TEST(Intersection, CrossingSegmentsAndAxisParallelEdges) {
  Crossing c = Intersect(-10, -10, 10, 10, -10, 10, 10, -10);
  EXPECT_TRUE(c.hit);
  EXPECT_NEAR(c.point.x, 0, 1e-4);
  EXPECT_NEAR(c.point.y, 0, 1e-4);
  // A vertical edge is hit through its y range, a horizontal one through its x range.
  EXPECT_TRUE(Intersect(-10, -9, 10, 11, 0, -5, 0, 5).hit);
  EXPECT_TRUE(Intersect(-10, -9, 10, 11, -5, 1, 5, 1).hit);
  // Outside the edge: no.
  EXPECT_FALSE(Intersect(-10, -9, 10, 11, 0, 5, 0, 8).hit);
}

TEST(Intersection, NearlyParallelIsNeverAHitButThePointIsStored) {
  Crossing c = Intersect(0, 0, 100, 100, 0, 1, 100, 101.5);  // half a degree apart
  EXPECT_TRUE(c.parallel);
  EXPECT_FALSE(c.hit);
  Crossing opposite = Intersect(0, 0, 100, 0, 100, 1, 0, 0.5);
  EXPECT_TRUE(opposite.parallel);
  Crossing twoDegrees = Intersect(-100, -100, 100, 100, -100, -107.24, 100, 107.24);
  EXPECT_FALSE(twoDegrees.parallel);
  EXPECT_TRUE(twoDegrees.hit);
}

// The hatch records of a list, each as x1, y1, x2, y2.
std::vector<std::array<double, 4>> Segments(const RecordList& list) {
  std::vector<std::array<double, 4>> segments;
  for (size_t k = 1; k < list.Count(); ++k) {
    auto f = Split(list.Record(k), ',');
    segments.push_back({ToDouble(f[3]), ToDouble(f[4]), ToDouble(f[5]), ToDouble(f[6])});
  }
  return segments;
}

RecordList HatchList(size_t capacity = 100) {
  RecordList list(capacity);
  list.SetAttributes(6, {"HATCH", "CONTINUOUS", "8"});
  list.SetExtents(0, 0, 0, 0);
  return list;
}

std::vector<Segment> Square(double x0, double y0, double size) {
  return {{{x0, y0}, {x0, y0 + size}},
          {{x0, y0 + size}, {x0 + size, y0 + size}},
          {{x0 + size, y0 + size}, {x0 + size, y0}},
          {{x0 + size, y0}, {x0, y0}}};
}

TEST(Hatching, ASquareIsFilledWithSlopedSegmentsInsideIt) {
  RecordList list = HatchList();
  int added = Hatch(list, Square(0, 0, 400), 30);
  // About one line per 30 * 1.4142 along the square's diagonal extent of 800.
  EXPECT_GE(added, 17);
  EXPECT_LE(added, 20);
  EXPECT_EQ(list.hatchCount, added);
  for (auto& s : Segments(list)) {
    for (double v : s) {
      EXPECT_GE(v, -1e-6);
      EXPECT_LE(v, 400 + 1e-6);
    }
    double slope = (s[3] - s[1]) / (s[2] - s[0]);
    EXPECT_NEAR(slope, 10000.0 / 10002.0, 1e-6);
  }
  EXPECT_EQ(list.Record(1).substr(0, 6), "1,1,8,");
  EXPECT_NE(list.Record(1).find(",CONTINUOUS,HATCH,"), std::string::npos);
}

TEST(Hatching, FarRegionsAndParallelEdgesGiveNothing) {
  RecordList list = HatchList();
  EXPECT_EQ(Hatch(list, Square(6000, 0, 100), 30), 0);
  // Two edges parallel to the hatch lines and nothing else.
  std::vector<Segment> parallel = {{{0, 0}, {100, 100}}, {{0, 50}, {100, 150}}};
  EXPECT_EQ(Hatch(list, parallel, 30), 0);
}

TEST(Hatching, ThreePointsThroughACornerStillGiveOneSegment) {
  // A line meeting the same point on two edges (the corner case) and a third edge.
  std::vector<Segment> edges = {{{0, -1000}, {0, 1000}},
                                {{0, -1000}, {0, 1000}},
                                {{300, -1000}, {300, 1000}}};
  RecordList list = HatchList();
  int added = Hatch(list, edges, 1000);
  ASSERT_GT(added, 0);
  for (auto& s : Segments(list)) {
    EXPECT_NEAR(s[0], 0, 1e-5);
    EXPECT_NEAR(s[2], 300, 1e-5);  // P0 to P2, since P1 has P0's x
  }
}

TEST(Hatching, FourPointsPairTheOuterAndTheInnerCrossings) {
  std::vector<Segment> edges;
  for (double x : {0.0, 10.0, 20.0, 30.0}) edges.push_back({{x, -3000}, {x, 3000}});
  RecordList list = HatchList();
  ASSERT_GT(Hatch(list, edges, 1000), 0);
  auto segments = Segments(list);
  ASSERT_EQ(segments.size() % 2, 0u);
  EXPECT_NEAR(segments[0][0], 0, 1e-5);
  EXPECT_NEAR(segments[0][2], 30, 1e-5);
  EXPECT_NEAR(segments[1][0], 10, 1e-5);
  EXPECT_NEAR(segments[1][2], 20, 1e-5);
}

TEST(Hatching, TwoPointsOnOneVerticalLineAreSkipped) {
  // Both crossings share an x: no segment.
  std::vector<Segment> edges = {{{0, -3000}, {0, 3000}}, {{0, -3000}, {0, 3000}}};
  RecordList list = HatchList();
  EXPECT_EQ(Hatch(list, edges, 1000), 0);
}

TEST(Hatching, StopsAtTheListCapacity) {
  RecordList list = HatchList(10);
  int added = Hatch(list, Square(-2000, -2000, 4000), 30);
  EXPECT_EQ(added, 9);
  EXPECT_TRUE(list.Full());
  EXPECT_EQ(list.Count(), 10u);
}

TEST(Hatching, MirrorAndRotationKeepTheHatchSlopeInTheOutput) {
  for (double rotation : {90.0, 45.0, 270.0}) {
    for (int mirror : {0, 1}) {
      RecordList list = HatchList();
      list.rotation = rotation;
      list.mirror = mirror;
      ASSERT_GT(Hatch(list, Square(0, 0, 400), 30), 0);
      for (auto& s : Segments(list)) {
        double slope = (s[3] - s[1]) / (s[2] - s[0]);
        EXPECT_NEAR(slope, 10000.0 / 10002.0, 1e-4) << rotation << " " << mirror;
      }
    }
  }
}

}  // namespace
}  // namespace tavelin
