// The raised duct's outline: the worked example record by record, the
// flange choices, the length search with its fallback, and values that give
// no outline.
#include <gtest/gtest.h>

#include "duct/furiage_geometry.hpp"
#include "tests/support/line_records.hpp"

namespace tavelin {
namespace {
using testing::LineRecords;

const CommonValues kCommon{40, 15, 50, 30};

// 400 x 300 raised by 600 at 45 degrees, 0.5R, both flanges with a margin of
// 20 and hidden lines, based on the lower end's lower corner.
FuriageInput Example() {
  FuriageInput in;
  in.w = 400;
  in.h = 300;
  in.f = 600;
  in.r1 = in.r2 = 100;
  in.t = 20;
  in.angle = 45;
  in.upper = in.lower = in.hidden = true;
  in.base = 3;  // (0, -w)
  return in;
}

TEST(FuriageNumbers, RoundingAndOneDecimalText) {
  EXPECT_EQ(RoundedLength(1234.9), 1230);
  EXPECT_EQ(RoundedLength(1235.2), 1240);
  EXPECT_EQ(RoundedLength(-1236.0), -1240);
  EXPECT_EQ(OneDecimalText(37.3), "37.3");
  EXPECT_EQ(OneDecimalText(40.0), "40");
  EXPECT_EQ(OneDecimalText(37.96), "37.9");  // cut, not rounded
}

TEST(FuriageOutline, WorkedExampleRecordByRecord) {
  RecordList list;
  FuriageResult r = BuildFuriage(list, Example(), kCommon);
  ASSERT_TRUE(r.built);
  // (600 - 43.934 - 131.802) / tan 45 + 418.198 + 206.066 = 1048.53 -> 1050
  EXPECT_EQ(r.lengthText, "1050");
  EXPECT_EQ(list.Record(0), "50,1050.000000,215.000000,50.000000,215.000000,");
  // Joints: lower at 206.066 (outer end 418.198), upper at 631.802 (843.934);
  // every y is moved up by w = 200 for the base point.
  const double d = 206.066017, d2 = 418.198052, u = 631.801948, u2 = 843.933983;
  testing::ExpectLines(LineRecords(list), {
      {1, 1, -50, 400, 0, 400},         {1, 1, -50, 0, 0, 0},
      {1, 1, 1050, 400, 1100, 400},     {1, 1, 1050, 0, 1100, 0},
      {1, 2, 40, 400, 40, 0},           {1, 2, 1010, 400, 1010, 0},
      {1, 3, 0, 415, 0, -15},           {1, 3, 1050, 415, 1050, -15},
      {1, 1, u2 + 20, -20, u - 20, -20}, {1, 1, u - 20, -20, u - 20, 420},
      {1, 1, u - 20, 420, u2 + 20, 420}, {1, 1, u, 0, u, 400},
      {2, 4, u2, 0, u2, 400},           {2, 4, u2, 400, u, 0},
      {1, 1, d2 + 20, -20, d - 20, -20}, {1, 1, d - 20, -20, d - 20, 420},
      {1, 1, d - 20, 420, d2 + 20, 420}, {1, 1, d, 0, d, 400},
      {2, 4, d2, 0, d2, 400},           {2, 4, d2, 400, d, 0},
      {1, 1, 0, 400, d - 20, 400},  {1, 1, d, 400, u - 20, 400},  {1, 1, u, 400, 1050, 400},
      {1, 1, 0, 0, d - 20, 0},      {1, 1, d, 0, u - 20, 0},      {1, 1, u, 0, 1050, 0},
  });
}

TEST(FuriageOutline, FlangeChoicesDecideJointsAndSides) {
  struct Case {
    const char* name;
    bool upper, lower, hidden;
    double t, k3;
    size_t records, sides, hidden_lines;  // sides: pieces of the side y = w
  };
  const Case cases[] = {
      {"none: two full sides, hidden asked for but no joint", false, false, true, 20, 50, 10, 1, 0},
      {"upper only", true, false, false, 20, 50, 16, 2, 0},
      {"lower only, T = 0: the joint line alone", false, true, false, 0, 50, 13, 2, 0},
      {"T < 0: no outline, no joint line", true, true, true, -5, 50, 18, 3, 4},
      {"K3 = 0: no end extensions", true, true, false, 20, 0, 18, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FuriageInput in = Example();
    in.base = 2;
    in.upper = c.upper;
    in.lower = c.lower;
    in.hidden = c.hidden;
    in.t = c.t;
    RecordList list;
    ASSERT_TRUE(BuildFuriage(list, in, {40, 15, c.k3, 30}).built);
    size_t sides = 0, hidden = 0;
    for (const testing::LineRec& l : LineRecords(list)) {
      if (l.element == 1 && l.y1 == 200 && l.y2 == 200 && l.x1 >= 0 && l.x2 <= 1050) ++sides;
      if (l.element == 4) ++hidden;
    }
    EXPECT_EQ(list.Count() - 1, c.records);
    EXPECT_EQ(sides, c.sides);
    EXPECT_EQ(hidden, c.hidden_lines);
  }
}

TEST(FuriageSearch, FindsTheClosestAngleAndRedrawsFromIt) {
  struct Case {
    double raise, target;
    const char *angle, *targetText, *length;
  };
  const Case cases[] = {
      {600, 1500, "27.5", "1500", "1500"},  // within 1 at 27.5: the search stops there
      {600, 2000, "19.5", "2000", "2000"},  // never within 1: the closest of all 899
      {600, 1994, "19.5", "1990", "2000"},  // the length follows the angle, not the target
      {600, 900, "58.9", "900", "900"},
      {0, 5000, "45", "5000", "450"},  // no raise: never within 1000, 45 stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    FuriageInput in = Example();
    in.mode = FuriageMode::kLength;
    in.f = c.raise;
    in.length = c.target;
    in.angle = 10;  // replaced by the search
    RecordList list;
    FuriageResult r = BuildFuriage(list, in, kCommon);
    ASSERT_TRUE(r.built);
    EXPECT_EQ(r.angleText, c.angle);
    EXPECT_EQ(r.targetText, c.targetText);
    EXPECT_EQ(r.lengthText, c.length);
  }
}

TEST(FuriageOutline, NoModeNoSlopeOrAbsurdValuesDrawNothing) {
  for (double angle : {0.0, 180.0}) {
    FuriageInput in = Example();
    in.angle = angle;
    RecordList list;
    EXPECT_FALSE(BuildFuriage(list, in, kCommon).built) << angle;
    EXPECT_EQ(list.Count(), 0u);
  }
  FuriageInput none = Example();
  none.mode = FuriageMode::kNone;
  FuriageInput wide = Example();
  wide.w = 1e300;
  RecordList list;
  EXPECT_FALSE(BuildFuriage(list, none, kCommon).built);
  EXPECT_FALSE(BuildFuriage(list, wide, kCommon).built);
  EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
}  // namespace tavelin
