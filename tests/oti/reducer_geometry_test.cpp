// The reducer's outline: the worked square reducer point by point after the
// quarter turn, the round end's extra lines, the length from the size step,
// the base points and values that give no drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "duct/oti_geometry.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

struct Line {
  int element;
  double x1, y1, x2, y2;
};

std::vector<Line> Lines(const RecordList& list) {
  std::vector<Line> out;
  for (size_t k = 1; k < list.Count(); ++k) {
    auto f = Split(list.Record(k), ',');
    out.push_back(
        {list.ElementOf(k), ToDouble(f[3]), ToDouble(f[4]), ToDouble(f[5]), ToDouble(f[6])});
  }
  return out;
}

const CommonValues kCommon{40.0, 15.0, 50.0, 30.0};

ReducerInput Example(ReducerShape shape) {
  ReducerInput in;
  in.w1 = 600;
  in.w2 = 300;
  in.p = in.q = 150;
  in.s = 100;
  in.l = ReducerLength(600, 300, 1, 100);
  in.shape = shape;
  return in;
}

TEST(ReducerLength, SizeStepFlooredToFifties) {
  struct Case {
    double w1, w2, k, s, length;
  } cases[] = {
      {600, 300, 1, 100, 500},  // 50 x 6 + 200
      {620, 300, 1, 100, 500},  // 6.4 steps floor to 6
      {600, 300, 2, 100, 800},
      {600, 300, 0, 100, 200},   // coefficient 0: only the straight stretches
      {300, 600, 1, 100, -100},  // a widening piece is cut toward zero, not floored
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(ReducerLength(c.w1, c.w2, c.k, c.s), c.length) << c.w1 << " " << c.w2;
  }
}

TEST(ReducerLength, TheCoefficientAdvisedIsTheSmallestTenthThatReachesTheLength) {
  struct Case {
    double w1, w2, s, length, k;
  } cases[] = {
      {600, 300, 100, 760, 2.0},   // 12 steps of 50: 800
      {1000, 250, 0, 1234, 1.7},   // 1.6 gives 1200, 1.7 gives 1250
      {620, 300, 100, 560, 1.3},   // 1.2 gives 7.68 steps, floored to 7: 550
      {600, 300, 100, 150, 0.1},   // the straights alone are long enough
      {400, 400, 100, 760, 0.0},   // equal sizes: no coefficient helps
      {300, 600, 100, 760, 0.0},   // nor for a widening piece
  };
  for (const Case& c : cases) {
    const double k = CoefficientForLength(c.w1, c.w2, c.s, c.length);
    EXPECT_DOUBLE_EQ(k, c.k) << c.w1 << " " << c.w2 << " " << c.length;
    if (k <= 0.1) continue;
    EXPECT_GE(ReducerLength(c.w1, c.w2, k, c.s), c.length);
    EXPECT_LT(ReducerLength(c.w1, c.w2, k - 0.1, c.s), c.length);
  }
}

TEST(Reducer, SquareWorkedExampleTurnedToRunAlongX) {
  RecordList list;
  ASSERT_TRUE(BuildReducer(list, Example(ReducerShape::kSquare), kCommon));
  EXPECT_EQ(list.Record(0), "50,300.000000,50.000000,300.000000,550.000000,");
  // In the fitting's own coordinates (large end on y = 0, small end on y = 500).
  const std::vector<Line> own = {
      {kFlangeJoint, -315, 0, 315, 0},   {kFlangeJoint, -165, 500, 165, 500},
      {kAngleWidth, -300, 40, 300, 40},  {kAngleWidth, -150, 460, 150, 460},
      {kDuctBody, -150, 500, -150, 400}, {kDuctBody, -150, 400, -300, 100},
      {kDuctBody, -300, 100, -300, 0},   {kDuctBody, 150, 500, 150, 400},
      {kDuctBody, 150, 400, 300, 100},   {kDuctBody, 300, 100, 300, 0},
  };
  auto got = Lines(list);
  ASSERT_EQ(got.size(), own.size());
  for (size_t i = 0; i < own.size(); ++i) {
    // The quarter turn clockwise takes (x, y) to (y, -x).
    EXPECT_EQ(got[i].element, own[i].element) << i;
    EXPECT_NEAR(got[i].x1, own[i].y1, 1e-6) << i;
    EXPECT_NEAR(got[i].y1, -own[i].x1, 1e-6) << i;
    EXPECT_NEAR(got[i].x2, own[i].y2, 1e-6) << i;
    EXPECT_NEAR(got[i].y2, -own[i].x2, 1e-6) << i;
  }
  // Without an angle width: the six body lines and the two flange lines.
  ASSERT_TRUE(BuildReducer(list, Example(ReducerShape::kSquare), {0.0, 15.0, 50.0, 30.0}));
  EXPECT_EQ(list.Count() - 1, 8u);
}

TEST(Reducer, RoundEndHasNoProjectionAndLinesToTheSquareCorners) {
  RecordList list;
  ReducerInput in = Example(ReducerShape::kRound);
  in.p = 100;  // an off-centre round end is drawn where it is given
  in.q = 200;
  ASSERT_TRUE(BuildReducer(list, in, kCommon));
  auto got = Lines(list);
  ASSERT_EQ(got.size(), 13u);
  // The round end's joint line: (-P, L) to (Q, L), turned.
  EXPECT_NEAR(got[1].x1, 500, 1e-6);
  EXPECT_NEAR(got[1].y1, 100, 1e-6);
  EXPECT_NEAR(got[1].y2, -200, 1e-6);
  // The last two lines leave the centre of the round end for the corners (+-300, 100).
  for (size_t i : {11u, 12u}) {
    EXPECT_NEAR(got[i].x1, 400, 1e-6);
    EXPECT_NEAR(got[i].y1, 0, 1e-6);
    EXPECT_NEAR(got[i].x2, 100, 1e-6);
    EXPECT_NEAR(std::fabs(got[i].y2), 300, 1e-6);
  }
}

TEST(Reducer, BasePointBecomesTheOrigin) {
  RecordList reference;
  ASSERT_TRUE(BuildReducer(reference, Example(ReducerShape::kSquare), kCommon));
  const auto ref = Lines(reference);
  struct Case {
    ReducerBase base;
    double bx, by;  // the base point in the fitting's own coordinates
  } cases[] = {
      {ReducerBase::kLargeCorner, 300, 0},
      {ReducerBase::kSmallCorner, 150, 500},
  };
  for (const Case& c : cases) {
    ReducerInput in = Example(ReducerShape::kSquare);
    in.base = c.base;
    RecordList list;
    ASSERT_TRUE(BuildReducer(list, in, kCommon));
    auto got = Lines(list);
    ASSERT_EQ(got.size(), ref.size());
    // Every point moves by the turned base point: (by, -bx).
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_NEAR(got[i].x1, ref[i].x1 - c.by, 1e-6);
      EXPECT_NEAR(got[i].y1, ref[i].y1 + c.bx, 1e-6);
      EXPECT_NEAR(got[i].x2, ref[i].x2 - c.by, 1e-6);
      EXPECT_NEAR(got[i].y2, ref[i].y2 + c.bx, 1e-6);
    }
  }
}

TEST(Reducer, NoShapeOrValuesBeyondNumbersGiveAnEmptyList) {
  const double inf = std::numeric_limits<double>::infinity();
  ReducerInput noShape = Example(ReducerShape::kNone);
  ReducerInput huge = Example(ReducerShape::kSquare);
  huge.w1 = 1e308 * 10;
  ReducerInput nanLength = Example(ReducerShape::kRound);
  nanLength.l = inf - inf;
  for (const ReducerInput& in : {noShape, huge, nanLength}) {
    RecordList list;
    EXPECT_FALSE(BuildReducer(list, in, kCommon));
    EXPECT_EQ(list.Count(), 0u);
  }
}

}  // namespace
}  // namespace tavelin
