// The branch fittings' outlines: the worked examples of the two-way, both-ways,
// T and three-way fittings record by record, the division ratio, the tangent
// walls to the top outlet, and the butt-joined branch with its hopper.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "duct/branch_common.hpp"
#include "duct/bunki2_geometry.hpp"
#include "duct/bunki3_geometry.hpp"
#include "duct/tuki_geometry.hpp"
#include "framework/record_list.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

// A record as numbers: kind, element, then x1 y1 x2 y2 or cx cy r a0 a1.
struct Rec {
  int kind = 0;
  int element = 0;
  std::vector<double> v;
};

std::vector<Rec> Parse(const RecordList& list) {
  std::vector<Rec> out;
  for (size_t k = 1; k < list.Count(); ++k) {
    auto f = Split(list.Record(k), ',');
    Rec r;
    r.kind = ToInt(f[0]);
    r.element = list.ElementOf(k);
    for (int i = 0; i < (r.kind == 1 ? 4 : 5); ++i) r.v.push_back(ToDouble(f[3 + i]));
    out.push_back(r);
  }
  return out;
}

Rec L(int element, double x1, double y1, double x2, double y2) {
  return {1, element, {x1, y1, x2, y2}};
}
Rec A(double cx, double cy, double r, double a0, double a1) {
  return {2, kDuctBody, {cx, cy, r, a0, a1}};
}

void ExpectRecords(const RecordList& list, const std::vector<Rec>& expected,
                   const std::string& label) {
  std::vector<Rec> got = Parse(list);
  ASSERT_EQ(got.size(), expected.size()) << label;
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].kind, expected[i].kind) << label << " record " << i + 1;
    EXPECT_EQ(got[i].element, expected[i].element) << label << " record " << i + 1;
    for (size_t j = 0; j < expected[i].v.size() && j < got[i].v.size(); ++j) {
      EXPECT_NEAR(got[i].v[j], expected[i].v[j], 1e-6)
          << label << " record " << i + 1 << " value " << j;
    }
  }
}

CommonValues K(double k1, double k2, double k3) {
  CommonValues k;
  k.k1 = k1;
  k.k2 = k2;
  k.k3 = k3;
  return k;
}

TEST(BranchRatio, DividesTheMainDuctInFives) {
  struct Case {
    double width;
    const char* ratio;
    int parts;
    bool roundRest;
    Division::Outcome outcome;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {600, "1-2", 2, false, Division::kDivided, {"200", "400"}},
      {610, "1-2", 2, false, Division::kDivided, {"205", "405"}},
      {900, "1-1-1", 3, true, Division::kDivided, {"300", "300", "300"}},
      {1000, "1-1-1", 3, true, Division::kDivided, {"335", "335", "330"}},
      {600, "", 2, false, Division::kNothing, {}},
      {600, "0-0", 2, false, Division::kZeroSum, {}},
      {600, "1--1", 2, false, Division::kDivided, {"600", "0"}},  // an empty field is 0
      {900, "2-0-0", 3, true, Division::kDivided, {"900", "0", "0"}},
      {900, "1-1-x", 3, true, Division::kDivided, {"450", "450", "0"}},
      {900, "x-y-z", 3, true, Division::kZeroSum, {}},
      {1e300, "1-2", 2, false, Division::kZeroSum, {}},
  };
  for (const Case& c : cases) {
    Division d = DivideByRatio(c.width, c.ratio, c.parts, c.roundRest);
    EXPECT_EQ(d.outcome, c.outcome) << c.width << " " << c.ratio;
    EXPECT_EQ(d.parts, c.texts) << c.width << " " << c.ratio;
  }
}

// The two-way example the dialog ships with, K1 = 40, K2 = 15, K3 = 50:
// Wm 600 = 300 + 300, Wb 400, f 1 (R = 400), A 100, top outlet 300 = 150 + 150,
// Ht 500. The partition (x = 0) lies left of the outlet's right edge, so the
// wall to the outlet rises to the tangent height first.
Bunki2Input TwoWay() {
  Bunki2Input in;
  in.type = BranchType::kTwoWay;
  in.wm = 600;
  in.wl = 300;
  in.wr = 300;
  in.wb = 400;
  in.f = 1;
  in.a = 100;
  in.t = 400;
  in.t1 = 200;
  in.t2 = 200;
  in.u = 300;
  in.ul = 150;
  in.ur = 150;
  in.ht = 500;
  return in;
}

TEST(Bunki2Geometry, TwoWayRecordByRecord) {
  RecordList list;
  Bunki2Input in = TwoWay();
  ASSERT_TRUE(BuildBunki2(list, in, K(40, 15, 50)));
  // X = 400 + 300 + 40 = 740, N = -(600 + 40) = -640, O = 700, A' = 60.
  EXPECT_EQ(list.Record(0), "50,790.000000,690.000000,790.000000,750.000000,");
  TangentSearch search =
      RightOutletSearch(MakeBranchFrame(600, 400, 1, 100, K(40, 15, 50)), 300, 150, 700);
  const double q = TangentHeight(search);
  ExpectRecords(list,
                {L(3, 740, 215, 740, -215), L(3, -315, -640, 315, -640), L(3, -165, 700, 165, 700),
                 L(2, 700, 200, 700, -200), L(2, -300, -600, 300, -600), L(2, -150, 660, 150, 660),
                 L(1, 740, 200, 640, 200), L(1, 740, -200, 640, -200), L(1, -150, 700, -150, 600),
                 L(1, 150, 700, 150, 600), L(1, -150, 600, -300, -640), L(1, 0, -600, 0, q),
                 L(1, 0, q, 150, 600), L(1, 300, -640, 300, -540), L(1, 0, -600, 0, -440),
                 A(640, -540, 340, 90, 180), A(640, -440, 640, 90, 180)},
                "two-way");
  // The wall from the partition just clears the outer arc: at Q the line to
  // the outlet corner still reaches its circle, one unit higher it does not.
  auto distance = [&](double height) {
    const double t = (height - 600) / (0 - 150);
    return std::fabs(-440 - 600 - t * (640 - 150)) / std::sqrt(1 + t * t);
  };
  EXPECT_LE(distance(q), 640.0);
  EXPECT_GT(distance(q + 1), 640.0);
  EXPECT_GT(q, -440.0);

  // With the partition beyond the outlet's edge (x = 200 against 150) the
  // wall is one straight line from the outlet corner to the partition's foot.
  in.wl = 500;
  in.wr = 100;
  ASSERT_TRUE(BuildBunki2(list, in, K(40, 15, 50)));
  std::vector<Rec> got = Parse(list);
  ASSERT_EQ(got.size(), 16u);
  EXPECT_EQ(got[11].v, (std::vector<double>{150, 600, 200, -600}));
  EXPECT_EQ(got[12].v, (std::vector<double>{300, -640, 300, -540}));  // the right wall follows
}

TEST(Bunki2Geometry, NoEndRunsWhenTheRunIsTheAngleWidth) {
  struct Case {
    BranchType type;
    size_t count;
    std::vector<Rec> arcs;  // the arcs, last records
  };
  // A = K1 = 40: A' = 0, the arcs keep their full radii.
  const Case cases[] = {
      {BranchType::kTwoWay, 13, {A(700, -600, 400, 90, 180), A(700, -500, 700, 90, 180)}},
      {BranchType::kBothWays,
       14,
       {A(-700, -600, 400, 0, 90), A(-700, -500, 700, 0, 90), A(700, -600, 400, 90, 180),
        A(700, -500, 700, 90, 180)}},
      {BranchType::kTee, 11, {A(-700, -600, 400, 0, 90), A(700, -600, 400, 90, 180)}},
  };
  for (const Case& c : cases) {
    RecordList list;
    Bunki2Input in = TwoWay();
    in.type = c.type;
    in.a = 40;
    ASSERT_TRUE(BuildBunki2(list, in, K(40, 15, 50)));
    std::vector<Rec> got = Parse(list);
    ASSERT_EQ(got.size(), c.count) << static_cast<int>(c.type);
    for (const Rec& r : got) {
      if (r.kind != 1 || r.element != kDuctBody) continue;
      // No run starts at the branch flanges (x = +-740) or the top flange (y = 700).
      const bool sideRun = std::fabs(r.v[0]) == 740 && std::fabs(r.v[2]) == 700;
      const bool topRun = r.v[1] == 700 && r.v[3] == 660;
      EXPECT_FALSE(sideRun || topRun) << static_cast<int>(c.type);
    }
    std::vector<Rec> arcs(got.end() - c.arcs.size(), got.end());
    for (size_t i = 0; i < arcs.size(); ++i) {
      EXPECT_EQ(arcs[i].kind, 2);
      EXPECT_EQ(arcs[i].v, c.arcs[i].v) << static_cast<int>(c.type) << " arc " << i;
    }
  }
}

TEST(Bunki2Geometry, InnerArcsOfNoRadiusAreLeftOut) {
  // A = R + K1 = 440 and the left branch's f T = 400 = A': both inner arcs
  // shrink to the corner points, where the walls meet the end runs.
  RecordList list;
  Bunki2Input in = TwoWay();
  in.type = BranchType::kTee;
  in.a = 440;
  ASSERT_TRUE(BuildBunki2(list, in, K(40, 15, 50)));
  std::vector<Rec> got = Parse(list);
  ASSERT_EQ(got.size(), 13u);
  for (const Rec& r : got) EXPECT_EQ(r.kind, 1);
  // The right wall now runs up to the branch's lower side at (300, -200),
  // where the run of length A ends.
  EXPECT_EQ(got[12].v, (std::vector<double>{300, -640, 300, -200}));
  EXPECT_EQ(got[7].v, (std::vector<double>{740, -200, 300, -200}));
}

TEST(Bunki2Geometry, TeeTopWallIsOneStraightLine) {
  for (double t1 : {200.0, 50.0, 350.0}) {
    RecordList list;
    Bunki2Input in = TwoWay();
    in.type = BranchType::kTee;
    in.t1 = t1;
    in.t2 = 400 - t1;
    ASSERT_TRUE(BuildBunki2(list, in, K(40, 15, 50)));
    std::vector<Rec> got = Parse(list);
    ASSERT_EQ(got.size(), 15u);
    // XL = -(1 * 400 + 300 + 40) = -740, X = 740, at Wb/2 = 200.
    EXPECT_EQ(got[10].v, (std::vector<double>{-740, 200, 740, 200})) << t1;
    // Both-ways with the same values: the turns reach as deep as the left
    // branch needs (T2 + f T against Wb (f + 0.5)).
    EXPECT_EQ(list.Record(0), "50,790.000000," + FormatF(std::max(600.0, 400 - t1 + 400) + 90) +
                                  ",790.000000,200.000000,");
  }
}

TEST(Bunki2Geometry, BothWaysAndBasePointAndMirror) {
  RecordList list;
  Bunki2Input in = TwoWay();
  in.type = BranchType::kBothWays;
  in.wl = 200;
  in.wr = 400;
  in.t1 = 150;
  in.t2 = 250;
  ASSERT_TRUE(BuildBunki2(list, in, K(40, 15, 50)));
  // M = max(600, 250 + 400) = 650, N = -690, XL = -740.
  ExpectRecords(
      list,
      {L(3, 740, 215, 740, -215), L(3, -315, -690, 315, -690), L(3, -740, 165, -740, -265),
       L(2, 700, 200, 700, -200), L(2, -300, -650, 300, -650), L(2, -700, 150, -700, -250),
       L(1, 740, 200, 640, 200), L(1, 740, -200, 640, -200), L(1, -740, 150, -640, 150),
       L(1, -740, -250, -640, -250), L(1, -300, -690, -300, -590), L(1, 300, -690, 300, -540),
       L(1, -100, -650, -100, -390), L(1, -100, -650, -100, -540), A(-640, -590, 340, 0, 90),
       A(-640, -390, 540, 0, 90), A(640, -540, 340, 90, 180), A(640, -540, 740, 90, 180)},
      "both ways");
  // The inner corner of the right branch as base point, mirrored: the corner
  // (300, -200) lands on the origin.
  in.innerCornerBase = true;
  in.mirror = true;
  ASSERT_TRUE(BuildBunki2(list, in, K(40, 15, 50)));
  std::vector<Rec> got = Parse(list);
  EXPECT_NEAR(got[11].v[2], 0.0, 1e-9);  // the right wall's top x
  EXPECT_NEAR(got[16].v[3], 0.0, 1e-9);  // the right inner arc, mirrored: 0 to 90
  EXPECT_NEAR(got[16].v[4], 90.0, 1e-9);
  EXPECT_NEAR(got[16].v[0], -(640 - 300), 1e-9);
}

TEST(Bunki3Geometry, PartitionsAndTheirWallsToTheOutlet) {
  // Wm 900 = Wl + Wc + Wr, Wb 400, f 1, A 100, T 400 = 200 + 200, outlet
  // 300 = 150 + 150, Ht 500, K1 40, K2 15, K3 50.
  Bunki3Input in;
  in.wm = 900;
  in.wb = 400;
  in.f = 1;
  in.a = 100;
  in.t = 400;
  in.t1 = 200;
  in.t2 = 200;
  in.ul = 150;
  in.ur = 150;
  in.ht = 500;
  struct Case {
    double wl, wr;
    size_t count;
  };
  // Partitions at -450 + Wl and 450 - Wr against the outlet edges at -150
  // and 150: outside both, inside the left only, inside both.
  const Case cases[] = {{300, 300, 24}, {380, 220, 25}, {350, 350, 26}};
  for (const Case& c : cases) {
    in.wl = c.wl;
    in.wr = c.wr;
    RecordList list;
    ASSERT_TRUE(BuildBunki3(list, in, K(40, 15, 50)));
    EXPECT_EQ(list.Record(0), "50,940.000000,690.000000,940.000000,750.000000,");
    std::vector<Rec> got = Parse(list);
    ASSERT_EQ(got.size(), c.count) << c.wl;
    const double left = c.wl - 450, right = 450 - c.wr;
    size_t k = 14;  // after the flanges, angle lines and end runs
    if (450 - c.wl >= 150) {
      EXPECT_EQ(got[k++].v, (std::vector<double>{-150, 600, left, -600})) << c.wl;
    } else {
      const double q1 = got[k].v[3];
      EXPECT_EQ(got[k++].v, (std::vector<double>{left, -600, left, q1})) << c.wl;
      EXPECT_EQ(got[k++].v, (std::vector<double>{left, q1, -150, 600})) << c.wl;
      EXPECT_GT(q1, -600.0);
    }
    if (450 - c.wr >= 150) {
      EXPECT_EQ(got[k++].v, (std::vector<double>{150, 600, right, -600})) << c.wr;
    } else {
      const double q2 = got[k].v[3];
      EXPECT_EQ(got[k++].v, (std::vector<double>{right, -600, right, q2})) << c.wr;
      EXPECT_EQ(got[k++].v, (std::vector<double>{right, q2, 150, 600})) << c.wr;
      EXPECT_GT(q2, -600.0);
    }
    // Then the main duct's walls and the partitions up to the outer arcs.
    EXPECT_EQ(got[k++].v, (std::vector<double>{-450, -640, -450, -540}));
    EXPECT_EQ(got[k++].v, (std::vector<double>{450, -640, 450, -540}));
    EXPECT_EQ(got[k++].v, (std::vector<double>{left, -600, left, 200 - 400 - c.wl + 60}));
    EXPECT_EQ(got[k++].v, (std::vector<double>{right, -600, right, 200 - 400 - c.wr + 60}));
    EXPECT_EQ(got.size() - k, 4u);
  }
}

TEST(BranchGeometry, ValuesWithoutAFiniteDrawingLeaveTheListEmpty) {
  const double huge = std::numeric_limits<double>::max();
  RecordList list;
  Bunki2Input two = TwoWay();
  two.f = huge;
  EXPECT_FALSE(BuildBunki2(list, two, K(40, 15, 50)));
  EXPECT_EQ(list.Count(), 0u);
  two = TwoWay();
  two.type = BranchType::kNone;
  EXPECT_FALSE(BuildBunki2(list, two, K(40, 15, 50)));
  EXPECT_EQ(list.Count(), 0u);
  Bunki3Input three;
  three.wm = std::nan("");
  EXPECT_FALSE(BuildBunki3(list, three, K(40, 15, 50)));
  EXPECT_EQ(list.Count(), 0u);
  TukiInput tuki;
  tuki.w = huge;
  EXPECT_FALSE(BuildTuki(list, tuki, K(40, 15, 50)));
  EXPECT_EQ(list.Count(), 0u);
}

// The butt-joined branch is drawn along y and turned by 270 degrees; the
// records are compared with the drawn points turned the same way.
std::vector<double> Turned(std::vector<double> v) {
  for (size_t i = 0; i + 1 < v.size(); i += 2) {
    Point p = RotateByAngle(v[i], v[i + 1], 270.0);
    v[i] = p.x;
    v[i + 1] = p.y;
  }
  return v;
}

TEST(BranchGeometry, ArcsOfNegativeRadiusAreLeftOutAsThoseOfNone) {
  // A' = A - K1 = 460 beyond R = 400 and f T = 400: every inner arc would
  // have the radius -60; the outer arcs, 240, stay (the two-way fitting has
  // the right-hand arcs only).
  Bunki3Input three;
  three.wm = 900;
  three.wl = 300;
  three.wr = 300;
  three.wb = 400;
  three.f = 1;
  three.a = 500;
  three.t = 400;
  three.t1 = 200;
  three.t2 = 200;
  three.ul = 150;
  three.ur = 150;
  three.ht = 500;
  Bunki2Input two = TwoWay();
  two.a = 500;
  for (int ways : {2, 3}) {
    SCOPED_TRACE(ways);
    RecordList list;
    ASSERT_TRUE(ways == 2 ? BuildBunki2(list, two, K(40, 15, 50))
                          : BuildBunki3(list, three, K(40, 15, 50)));
    std::vector<double> radii;
    for (const Rec& r : Parse(list)) {
      if (r.kind == 2) radii.push_back(r.v[2]);
    }
    const std::vector<double> outer(ways == 2 ? 1 : 2, 240.0);
    EXPECT_EQ(radii, outer);
  }
}

TEST(TukiGeometry, RowsByShapeAndHopper) {
  // W 400 (h 200), A 500, B 150, C 100, E 0; K1 40, K2 15, K3 50.
  TukiInput in;
  in.w = 400;
  in.a = 500;
  in.b = 150;
  in.c = 100;
  in.e = 0;
  struct Case {
    bool hopper, round;
    double k1;
    std::vector<Rec> rows;
  };
  const Case cases[] = {
      {false,
       false,
       0,
       {L(1, -200, 500, -200, 0), L(1, 200, 500, 200, 0), L(3, -215, 500, 215, 500),
        L(3, -215, 0, 215, 0)}},
      {true,
       true,
       40,
       {L(1, -200, 500, -200, 350), L(1, -200, 350, -300, 150), L(1, -300, 150, -300, 0),
        L(1, -200, 350, 200, 350), L(1, -300, 150, 200, 150), L(1, 0, 350, -300, 150),
        L(1, 0, 350, 200, 150), L(1, 200, 500, 200, 0), L(3, -200, 500, 200, 500),
        L(3, -315, 0, 215, 0), L(2, -300, 40, 200, 40)}},
      {false,
       false,
       40,
       {L(1, -200, 500, -200, 0), L(1, 200, 500, 200, 0), L(3, -215, 500, 215, 500),
        L(3, -215, 0, 215, 0), L(2, -200, 460, 200, 460), L(2, -200, 40, 200, 40)}},
  };
  for (const Case& c : cases) {
    in.hopper = c.hopper;
    in.squareToRound = c.round;
    RecordList list;
    ASSERT_TRUE(BuildTuki(list, in, K(c.k1, 15, 50)));
    EXPECT_EQ(list.Record(0), "50,200.000000,0.000000,300.000000,550.000000,");
    std::vector<Rec> expected = c.rows;
    for (Rec& r : expected) r.v = Turned(r.v);
    ExpectRecords(
        list, expected,
        std::string("hopper ") + (c.hopper ? "1" : "0") + " round " + (c.round ? "1" : "0"));
  }
  // The side base shifts every point by -W/2 before the turn: the branch
  // side (200, y) comes onto the insertion line x = 0 (turned: y = 0).
  in.hopper = false;
  in.squareToRound = false;
  in.sideBase = true;
  RecordList list;
  ASSERT_TRUE(BuildTuki(list, in, K(0, 15, 50)));
  std::vector<Rec> expected = {L(1, -400, 500, -400, 0), L(1, 0, 500, 0, 0),
                               L(3, -415, 500, 15, 500), L(3, -415, 0, 15, 0)};
  for (Rec& r : expected) r.v = Turned(r.v);
  ExpectRecords(list, expected, "side base");
}

}  // namespace
}  // namespace tavelin
