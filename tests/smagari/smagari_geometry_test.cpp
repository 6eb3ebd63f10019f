// The S-bend: the shortest run at which the bends touch, and the outline with
// its two bends meeting where they should.
#include "duct/smagari_geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "framework/record_list.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

TEST(SmagariGeometry, ShortestRunWhereTheBendsTouch) {
  struct Case {
    double w, r, s;
    bool exists;
    double run;
  };
  const Case cases[] = {
      {400, 200, 1000, true, std::sqrt(800.0 * 800 - 200.0 * 200)},  // 774.59...
      {400, 200, 800, true, 800},  // the stubs' sides meet: the centres are level
      {400, 200, 0, true, 0},      // no offset: straight through
      {400, 200, 1600, true, 0},   // the widest offset two bends reach
      {400, 200, 1700, false, 0},  // beyond it no S-bend exists
      {400, 200, -10, false, 0},
  };
  for (const Case& c : cases) {
    std::optional<double> run = ShortestBendRun(c.w, c.r, c.s);
    ASSERT_EQ(run.has_value(), c.exists) << c.s;
    if (run) EXPECT_NEAR(*run, c.run, 1e-9) << c.s;
  }
}

// Undoes the turn of 270 degrees the S-bend is drawn with.
Point Unturned(double x, double y) { return RotateByAngle(x, y, 90.0); }

TEST(SmagariGeometry, OutlineWithTouchingBends) {
  SmagariInput in;
  in.w = 400;
  in.r = 200;
  in.s = 1000;
  in.lb = 100;
  in.lt = 100;
  in.a = 100 + 100 + *ShortestBendRun(400, 200, 1000);
  CommonValues k;
  k.k1 = 40;
  k.k2 = 15;
  k.k3 = 50;
  RecordList list;
  ASSERT_TRUE(BuildSmagari(list, in, k));
  EXPECT_EQ(list.Record(0), "50,1200.000000,50.000000,200.000000," + FormatF(in.a + 50) + ",");
  ASSERT_EQ(list.Count(), 13u);
  // The stubs and flanges, turned back: upper stub sides at x = 800 and 1200.
  auto f = Split(list.Record(1), ',');
  Point p = Unturned(ToDouble(f[3]), ToDouble(f[4]));
  EXPECT_NEAR(p.x, 800, 1e-6);
  EXPECT_NEAR(p.y, in.a, 1e-6);
  // The arcs: the inner arc of the upper bend and the outer arc of the lower
  // bend are tangent, so the lower bend's inner arc ends where the upper
  // bend's outer arc starts, on the line of the centres.
  std::vector<std::vector<double>> arcs;
  for (size_t i = 9; i <= 12; ++i) {
    auto a = Split(list.Record(i), ',');
    ASSERT_EQ(a[0], "2");
    Point c = Unturned(ToDouble(a[3]), ToDouble(a[4]));
    arcs.push_back({c.x, c.y, ToDouble(a[5]), ToDouble(a[6]) - 270, ToDouble(a[7]) - 270});
  }
  auto end = [](const std::vector<double>& arc, double angle) {
    const double rad = angle * 3.14159265358979 / 180;
    return Point{arc[0] + arc[2] * std::cos(rad), arc[1] + arc[2] * std::sin(rad)};
  };
  // Upper inner (radius R) starts at theta + 180, lower outer (R + W) starts at theta.
  Point upperInner = end(arcs[0], arcs[0][3]);
  Point lowerOuter = end(arcs[3], arcs[3][3]);
  EXPECT_NEAR(upperInner.x, lowerOuter.x, 1e-3);
  EXPECT_NEAR(upperInner.y, lowerOuter.y, 1e-3);
  EXPECT_NEAR(arcs[2][0], 400, 1e-6);  // lower centre (W/2 + R, Lb)
  EXPECT_NEAR(arcs[2][1], 100, 1e-6);
  EXPECT_NEAR(arcs[0][2], 200, 1e-9);
  EXPECT_NEAR(arcs[1][2], 600, 1e-9);
  // The upper arcs end level with the stub (angle 0), the lower at 180.
  EXPECT_NEAR(std::fmod(arcs[0][4] + 360, 360), 0, 1e-9);
  EXPECT_NEAR(arcs[2][4], 180, 1e-9);

  // Base 1 puts the lower stub's side x = -W/2 (record 3) on the insertion line.
  in.base = 1;
  ASSERT_TRUE(BuildSmagari(list, in, k));
  auto side = Split(list.Record(3), ',');
  EXPECT_NEAR(Unturned(ToDouble(side[3]), ToDouble(side[4])).x, 0.0, 1e-6);
}

TEST(SmagariGeometry, DegenerateBends) {
  SmagariInput in;
  in.w = 400;
  in.r = 200;
  in.lb = in.lt = 100;
  CommonValues k;
  // No offset at the shortest length: a straight duct, the bends of no angle
  // are left out instead of reading as full circles.
  in.base = 2;
  in.s = 0;
  in.a = 200;
  RecordList straight;
  ASSERT_TRUE(BuildSmagari(straight, in, k));
  EXPECT_EQ(straight.Count(), 7u);  // extents, four sides, two flanges (K1 = 0)
  in.w = std::nan("");
  RecordList list;
  EXPECT_FALSE(BuildSmagari(list, in, k));
  EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
}  // namespace tavelin
