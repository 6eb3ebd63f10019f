// The raised duct's outline: the worked example record by record, the
// flange choices, the base points, the length search with its fallback, and
// values that give no outline.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "duct/furiage_geometry.hpp"
#include "framework/record_list.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

struct Rec {
  int style;
  int element;
  double x1, y1, x2, y2;
};

std::vector<Rec> Lines(const RecordList& list) {
  std::vector<Rec> out;
  for (size_t k = 1; k < list.Count(); ++k) {
    auto f = Split(list.Record(k), ',');
    out.push_back({ToInt(f[1]), list.ElementOf(k), ToDouble(f[3]), ToDouble(f[4]), ToDouble(f[5]),
                   ToDouble(f[6])});
  }
  return out;
}

void ExpectLines(const std::vector<Rec>& got, const std::vector<Rec>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE("record " + std::to_string(i + 1));
    EXPECT_EQ(got[i].style, want[i].style);
    EXPECT_EQ(got[i].element, want[i].element);
    EXPECT_NEAR(got[i].x1, want[i].x1, 1e-5);
    EXPECT_NEAR(got[i].y1, want[i].y1, 1e-5);
    EXPECT_NEAR(got[i].x2, want[i].x2, 1e-5);
    EXPECT_NEAR(got[i].y2, want[i].y2, 1e-5);
  }
}

const CommonValues kCommon{40, 15, 50, 30};

// 400 x 300 raised by 600 at 45 degrees, 0.5R, both flanges with a margin of
// 20 and hidden lines, based on the lower end's centre.
FuriageInput Example() {
  FuriageInput in;
  in.mode = FuriageMode::kAngle;
  in.w = 400;
  in.h = 300;
  in.f = 600;
  in.r1 = 100;
  in.r2 = 100;
  in.t = 20;
  in.angle = 45;
  in.factor = 0.5;
  in.upper = in.lower = in.hidden = true;
  in.base = 2;
  return in;
}

TEST(FuriageNumbers, RoundingAndOneDecimalText) {
  EXPECT_EQ(RoundedLength(1234.9), 1230);
  EXPECT_EQ(RoundedLength(1235.2), 1240);
  EXPECT_EQ(RoundedLength(1048.53), 1050);
  EXPECT_EQ(RoundedLength(-1236.0), -1240);
  EXPECT_EQ(OneDecimalText(37.3), "37.3");
  EXPECT_EQ(OneDecimalText(40.0), "40");
  EXPECT_EQ(OneDecimalText(37.96), "37.9");  // cut, not rounded
  EXPECT_EQ(OneDecimalText(36.900000000000006), "36.9");
}

TEST(FuriageOutline, WorkedExampleRecordByRecord) {
  RecordList list;
  FuriageResult r = BuildFuriage(list, Example(), kCommon);
  ASSERT_TRUE(r.built);
  // (600 - 43.934 - 131.802) / tan 45 + 418.198 + 206.066 = 1048.53 -> 1050
  EXPECT_EQ(r.lengthText, "1050");
  EXPECT_EQ(list.Record(0), "50,1050.000000,215.000000,50.000000,215.000000,");
  const double d = 206.066017, d2 = 418.198052, u = 631.801948, u2 = 843.933983;
  ExpectLines(Lines(list), {
      {1, 1, -50, 200, 0, 200},         {1, 1, -50, -200, 0, -200},
      {1, 1, 1050, 200, 1100, 200},     {1, 1, 1050, -200, 1100, -200},
      {1, 2, 40, 200, 40, -200},        {1, 2, 1010, 200, 1010, -200},
      {1, 3, 0, 215, 0, -215},          {1, 3, 1050, 215, 1050, -215},
      // The upper bend's flange outline, joint, hidden joint and diagonal.
      {1, 1, u2 + 20, -220, u - 20, -220}, {1, 1, u - 20, -220, u - 20, 220},
      {1, 1, u - 20, 220, u2 + 20, 220},   {1, 1, u, -200, u, 200},
      {2, 4, u2, -200, u2, 200},           {2, 4, u2, 200, u, -200},
      // The lower bend's.
      {1, 1, d2 + 20, -220, d - 20, -220}, {1, 1, d - 20, -220, d - 20, 220},
      {1, 1, d - 20, 220, d2 + 20, 220},   {1, 1, d, -200, d, 200},
      {2, 4, d2, -200, d2, 200},           {2, 4, d2, 200, d, -200},
      // The sides, broken at both joints.
      {1, 1, 0, 200, d - 20, 200},  {1, 1, d, 200, u - 20, 200},  {1, 1, u, 200, 1050, 200},
      {1, 1, 0, -200, d - 20, -200}, {1, 1, d, -200, u - 20, -200}, {1, 1, u, -200, 1050, -200},
  });
}

TEST(FuriageOutline, FlangeChoicesDecideJointsAndSides) {
  struct Case {
    const char* name;
    bool upper, lower, hidden;
    double t, k3;
    size_t records;      // after the extents
    size_t sideRecords;  // element-1 lines running along y = w from x >= 0
  };
  const Case cases[] = {
      {"none", false, false, true, 20, 50, 4 + 4 + 2, 1},
      {"upper only", true, false, false, 20, 50, 4 + 4 + 4 + 4, 2},
      {"lower only, T = 0", false, true, false, 0, 50, 4 + 4 + 1 + 4, 2},
      {"both, T < 0: hidden lines only", true, true, true, -5, 50, 4 + 4 + 4 + 6, 3},
      {"K3 = 0: no end extensions", true, true, false, 20, 0, 4 + 8 + 6, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FuriageInput in = Example();
    in.upper = c.upper;
    in.lower = c.lower;
    in.hidden = c.hidden;
    in.t = c.t;
    CommonValues k = kCommon;
    k.k3 = c.k3;
    RecordList list;
    ASSERT_TRUE(BuildFuriage(list, in, k).built);
    std::vector<Rec> lines = Lines(list);
    EXPECT_EQ(lines.size(), c.records);
    size_t sides = 0, hidden = 0;
    for (const Rec& l : lines) {
      if (l.element == 1 && l.y1 == 200 && l.y2 == 200 && l.x1 >= 0 && l.x2 <= 1050) ++sides;
      if (l.element == 4) ++hidden;
    }
    EXPECT_EQ(sides, c.sideRecords);
    EXPECT_EQ(hidden, c.hidden ? 2u * (c.upper + c.lower) : 0u);
    // The angle width lines stay whatever the flanges.
    EXPECT_EQ(lines[c.k3 != 0 ? 4 : 0].element, 2);
  }
}

TEST(FuriageOutline, BasePointsMoveTheOrigin) {
  // Where the lower end's upper corner (0, w) lands for each base point.
  const double want[6][2] = {{0, 0}, {0, 200}, {0, 400}, {-1050, 0}, {-1050, 200}, {-1050, 400}};
  for (int base = 1; base <= 6; ++base) {
    SCOPED_TRACE(base);
    FuriageInput in = Example();
    in.base = base;
    RecordList list;
    ASSERT_TRUE(BuildFuriage(list, in, kCommon).built);
    Rec first = Lines(list)[0];  // (-K3, w) -> (0, w)
    EXPECT_NEAR(first.x2, want[base - 1][0], 1e-9);
    EXPECT_NEAR(first.y2, want[base - 1][1], 1e-9);
  }
}

TEST(FuriageSearch, FindsTheClosestAngleAndRedrawsFromIt) {
  struct Case {
    double target;
    const char* angle;
    const char* targetText;
    const char* length;
  };
  const Case cases[] = {
      {1500, "27.5", "1500", "1500"},  // within 1 at 27.5: the search stops there
      {1200, "36.9", "1200", "1200"},
      {2000, "19.5", "2000", "2000"},  // never within 1: the closest of all 899
      {1994, "19.5", "1990", "2000"},  // the length follows the angle, not the target
      {900, "58.9", "900", "900"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    FuriageInput in = Example();
    in.mode = FuriageMode::kLength;
    in.length = c.target;
    in.angle = 10;  // replaced by the search
    RecordList list;
    FuriageResult r = BuildFuriage(list, in, kCommon);
    ASSERT_TRUE(r.built);
    EXPECT_TRUE(r.searched);
    EXPECT_EQ(r.angleText, c.angle);
    EXPECT_EQ(r.targetText, c.targetText);
    EXPECT_EQ(r.lengthText, c.length);
  }
}

TEST(FuriageSearch, NoAngleWithin1000KeepsFortyFive) {
  // Without a raise the run is at most R1 + R2 + (g + G) = 800 long.
  FuriageInput in = Example();
  in.mode = FuriageMode::kLength;
  in.f = 0;
  in.length = 5000;
  EXPECT_EQ(SearchFuriageAngle(in, 5000), 45.0);
  RecordList list;
  FuriageResult r = BuildFuriage(list, in, kCommon);
  EXPECT_EQ(r.angleText, "45");
  EXPECT_EQ(r.lengthText, "450");  // 448.53 at 45 degrees
}

TEST(FuriageOutline, NoModeOrNoSlopeDrawsNothing) {
  struct Case {
    const char* name;
    FuriageMode mode;
    double angle, w;
  };
  const Case cases[] = {
      {"neither mode radio", FuriageMode::kNone, 45, 400},
      {"angle 0", FuriageMode::kAngle, 0, 400},
      {"angle 180", FuriageMode::kAngle, 180, 400},
      {"absurd width", FuriageMode::kAngle, 45, 1e300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FuriageInput in = Example();
    in.mode = c.mode;
    in.angle = c.angle;
    in.w = c.w;
    RecordList list;
    FuriageResult r = BuildFuriage(list, in, kCommon);
    EXPECT_FALSE(r.built);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_TRUE(r.lengthText.empty());
  }
}

}  // namespace
}  // namespace tavelin
