// The lined box: its eight lines for the base points and a quarter turn, the
// lining when it vanishes or turns inside out, and the hatch that fills the
// box at the same slope however the box is turned.
#include "duct/ubox_geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/support/drawn_records.hpp"

namespace tavelin {
namespace {

using testing::Drawn;
using testing::ReadDrawn;
using testing::SameLine;

RecordList List() {
  RecordList list(500);
  list.SetAttributes(kDuctBody, {"DUCT", "CONTINUOUS", "4"});
  list.SetAttributes(kHiddenLine, {"HIDDEN", "HIDDEN", "8"});
  list.SetAttributes(kHatchingLine, {"HATCH", "CONTINUOUS", "8"});
  return list;
}

UboxInput Box(double x, double y, double t, int base = 1, double angle = 0.0) {
  UboxInput in;
  in.width = x;
  in.depth = y;
  in.lining = t;
  in.base = base;
  in.angle = angle;
  return in;
}

const CommonValues kCommon{40.0, 15.0, 50.0, 30.0};

TEST(UboxGeometry, OutlineThenLiningForEveryBasePoint) {
  // X = 1000, Y = 600, T = 50: the outline at +-500 / +-300, the lining 50
  // inside it; each base point moves both by its offset.
  struct Case {
    int base;
    double dx, dy;  // where the box's centre lands
  } cases[] = {{1, 0, 0}, {2, 0, 300}, {3, 500, 300}, {4, 500, 0}, {0, 0, 0}};
  for (const Case& c : cases) {
    RecordList list = List();
    ASSERT_TRUE(BuildUbox(list, Box(1000, 600, 50, c.base), kCommon));
    EXPECT_EQ(list.Record(0), "50,500.000000,300.000000,500.000000,300.000000,");
    std::vector<Drawn> r = ReadDrawn(list);
    ASSERT_GE(r.size(), 8u);
    const double x = c.dx, y = c.dy;
    EXPECT_TRUE(SameLine(r[0], x - 500, y + 300, x + 500, y + 300)) << c.base;
    EXPECT_TRUE(SameLine(r[1], x + 500, y + 300, x + 500, y - 300)) << c.base;
    EXPECT_TRUE(SameLine(r[2], x + 500, y - 300, x - 500, y - 300)) << c.base;
    EXPECT_TRUE(SameLine(r[3], x - 500, y - 300, x - 500, y + 300)) << c.base;
    EXPECT_TRUE(SameLine(r[4], x - 450, y + 250, x + 450, y + 250)) << c.base;
    EXPECT_TRUE(SameLine(r[5], x + 450, y + 250, x + 450, y - 250)) << c.base;
    EXPECT_TRUE(SameLine(r[6], x + 450, y - 250, x - 450, y - 250)) << c.base;
    EXPECT_TRUE(SameLine(r[7], x - 450, y - 250, x - 450, y + 250)) << c.base;
    for (int k = 0; k < 4; ++k) EXPECT_EQ(r[k].style, kSolid);
    for (int k = 4; k < 8; ++k) EXPECT_EQ(r[k].style, kDotted);
  }
  RecordList list = List();
  BuildUbox(list, Box(1000, 600, 50), kCommon);
  EXPECT_EQ(list.Record(1), "1,1,4,-500.000000,300.000000,500.000000,300.000000,CONTINUOUS,DUCT,");
  EXPECT_EQ(list.Record(5), "1,2,8,-450.000000,250.000000,450.000000,250.000000,HIDDEN,HIDDEN,");
  // Base 3 puts the corner (-X/2, -Y/2) at the insertion point.
  BuildUbox(list, Box(1000, 600, 50, 3), kCommon);
  EXPECT_EQ(list.Record(3), "1,1,4,1000.000000,0.000000,0.000000,0.000000,CONTINUOUS,DUCT,");
}

TEST(UboxGeometry, LiningOfNoThicknessOrInsideOut) {
  RecordList list = List();
  BuildUbox(list, Box(400, 200, 0), kCommon);
  std::vector<Drawn> r = ReadDrawn(list);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(r[k].v, r[k + 4].v) << "T = 0 lies on the outline";
  // T = 150 is more than Y / 2: the inner rectangle turns inside out.
  BuildUbox(list, Box(400, 200, 150), kCommon);
  r = ReadDrawn(list);
  EXPECT_TRUE(SameLine(r[4], -50, -50, 50, -50));
  EXPECT_TRUE(SameLine(r[5], 50, -50, 50, 50));
}

TEST(UboxGeometry, HatchFillsTheBoxAtOneSlopeWhateverTheTurn) {
  for (double angle : {0.0, 90.0, 30.0}) {
    for (bool mirror : {false, true}) {
      RecordList list = List();
      UboxInput in = Box(1000, 600, 50, 1, angle);
      in.mirror = mirror;
      ASSERT_TRUE(BuildUbox(list, in, kCommon));
      EXPECT_EQ(list.rotation, angle);
      EXPECT_EQ(list.mirror, mirror ? 1 : 0);
      std::vector<Drawn> hatch = testing::OfElement(ReadDrawn(list), kHatchingLine);
      // Lines 30 apart cross the box's extent across them, the hatch running
      // at 45 - angle degrees in the box's own frame.
      const double across = (1000 * std::fabs(std::sin((45 - angle) * kDegreesToRadians)) +
                             600 * std::fabs(std::cos((45 - angle) * kDegreesToRadians))) /
                            30;
      EXPECT_NEAR(static_cast<double>(hatch.size()), across, 1.5) << angle;
      EXPECT_EQ(list.hatchCount, static_cast<int>(hatch.size()));
      for (const Drawn& h : hatch) {
        const double slope = (h.v[3] - h.v[1]) / (h.v[2] - h.v[0]);
        EXPECT_NEAR(slope, 1.0, 1e-3) << angle << " " << mirror;
        // Turned back, every end lies on the outline.
        for (int e = 0; e < 2; ++e) {
          double x = h.v[2 * e], y = h.v[2 * e + 1];
          Point p = RotateByAngle(x, y, -angle);
          if (mirror) p.x = -p.x;
          const bool onSide =
              testing::Near(std::fabs(p.x), 500, 0.01) || testing::Near(std::fabs(p.y), 300, 0.01);
          EXPECT_TRUE(onSide && std::fabs(p.x) <= 500.01 && std::fabs(p.y) <= 300.01)
              << angle << " " << p.x << "," << p.y;
        }
      }
    }
  }
  // A quarter turn carries the first side (-a, b)-(a, b) to (-b, -a)-(-b, a).
  RecordList list = List();
  BuildUbox(list, Box(1000, 600, 50, 1, 90), kCommon);
  EXPECT_TRUE(SameLine(ReadDrawn(list)[0], -300, -500, -300, 500, 1e-6));
}

TEST(UboxGeometry, ValuesBeyondAnyDrawingLeaveTheListEmpty) {
  const double inf = std::numeric_limits<double>::infinity();
  for (UboxInput in : {Box(inf, 600, 50), Box(1000, 1e300, 50), Box(1000, 600, 50, 1, inf)}) {
    RecordList list = List();
    EXPECT_FALSE(BuildUbox(list, in, kCommon));
    EXPECT_EQ(list.Count(), 0u);
  }
}

}  // namespace
}  // namespace tavelin
