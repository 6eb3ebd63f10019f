// The elbow's outline: the worked 90-degree example to the character, the
// sharp corners, the flat-elbow rule, the base points, and an outline that
// closes for every construction, orientation and corner choice.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "duct/erbo_geometry.hpp"
#include "framework/record_list.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Parsed {
  int kind = 0;
  int element = 0;
  double v[5] = {0, 0, 0, 0, 0};
};

std::vector<Parsed> Parse(const RecordList& list) {
  std::vector<Parsed> out;
  for (size_t k = 1; k < list.Count(); ++k) {
    auto f = Split(list.Record(k), ',');
    Parsed p;
    p.kind = ToInt(f[0]);
    p.element = list.ElementOf(k);
    for (int i = 0; i < (p.kind == 1 ? 4 : 5); ++i) p.v[i] = ToDouble(f[3 + i]);
    out.push_back(p);
  }
  return out;
}

RecordList AttributedList() {
  RecordList list;
  list.SetAttributes(1, {"DUCT", "CONTINUOUS", "4"});
  list.SetAttributes(2, {"ANGLE", "CONTINUOUS", "3"});
  list.SetAttributes(3, {"FLANGE", "CONTINUOUS", "3"});
  return list;
}

ElbowInput Example90() {
  ElbowInput in;
  in.w1 = in.w2 = 400;
  in.r = in.rInlet = 200;
  in.l1 = in.l2 = 100;
  in.angle = 90;
  in.base = ElbowBase::kCentreLines;
  return in;
}

std::vector<Point> Ends(const Parsed& p) {
  if (p.kind == 1) return {{p.v[0], p.v[1]}, {p.v[2], p.v[3]}};
  auto at = [&](double a) {
    return Point{p.v[0] + p.v[2] * std::cos(a * kPi / 180),
                 p.v[1] + p.v[2] * std::sin(a * kPi / 180)};
  };
  return {at(p.v[3]), at(p.v[4])};
}

bool Near(const Point& a, const Point& b, double tolerance = 1e-4) {
  return std::fabs(a.x - b.x) < tolerance && std::fabs(a.y - b.y) < tolerance;
}

bool OnSegment(const Point& p, const Point& a, const Point& b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len2 = dx * dx + dy * dy;
  if (len2 == 0) return Near(p, a);
  double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
  if (t < -1e-9 || t > 1 + 1e-9) return false;
  return Near(p, {a.x + t * dx, a.y + t * dy});
}

// Every end of a duct-body record meets another body record (its end, or a
// straight side running on past it) or a flange line.
void ExpectClosedOutline(const RecordList& list, const std::string& label) {
  auto records = Parse(list);
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].element != kDuctBody) continue;
    for (const Point& end : Ends(records[i])) {
      bool joined = false;
      for (size_t j = 0; j < records.size() && !joined; ++j) {
        if (j == i) continue;
        const Parsed& other = records[j];
        if (other.element == kDuctBody) {
          for (const Point& otherEnd : Ends(other)) joined = joined || Near(end, otherEnd);
        }
        if (other.kind == 1 && (other.element == kDuctBody || other.element == kFlangeJoint)) {
          joined = joined || OnSegment(end, {other.v[0], other.v[1]}, {other.v[2], other.v[3]});
        }
      }
      EXPECT_TRUE(joined) << label << ": loose end (" << end.x << ", " << end.y << ") of record "
                          << list.Record(i + 1);
    }
  }
}

TEST(RightAngleElbow, WorkedExampleRecordsToTheCharacter) {
  RecordList list = AttributedList();
  ElbowResult result = BuildElbow(list, Example90());
  EXPECT_TRUE(result.built);
  EXPECT_EQ(result.construction, ElbowConstruction::kRightAngle);
  std::vector<std::string> expected = {
      "50,500.000000,500.000000,200.000000,200.000000,",
      "1,1,3,500.000000,200.000000,500.000000,-200.000000,CONTINUOUS,FLANGE,",
      "1,1,3,-200.000000,-500.000000,200.000000,-500.000000,CONTINUOUS,FLANGE,",
      "1,1,4,500.000000,200.000000,400.000000,200.000000,CONTINUOUS,DUCT,",
      "1,1,4,500.000000,-200.000000,400.000000,-200.000000,CONTINUOUS,DUCT,",
      "1,1,4,200.000000,-500.000000,200.000000,-400.000000,CONTINUOUS,DUCT,",
      "1,1,4,-200.000000,-500.000000,-200.000000,-400.000000,CONTINUOUS,DUCT,",
      "2,1,4,400.000000,-400.000000,200.000000,90.000000,180.000000,CONTINUOUS,DUCT,",
      "2,1,4,400.000000,-400.000000,600.000000,90.000000,180.000000,CONTINUOUS,DUCT,",
  };
  EXPECT_EQ(list.Records(), expected);
}

// Records equal field by field; coordinates may differ in the last printed digit.
void ExpectSameRecords(const std::vector<std::string>& actual,
                       const std::vector<std::string>& expected, const std::string& label) {
  ASSERT_EQ(actual.size(), expected.size()) << label;
  for (size_t k = 0; k < expected.size(); ++k) {
    auto a = Split(actual[k], ',');
    auto e = Split(expected[k], ',');
    ASSERT_EQ(a.size(), e.size()) << label << ": " << actual[k];
    for (size_t i = 0; i < e.size(); ++i) {
      if (e[i].find('.') == std::string::npos) {
        EXPECT_EQ(a[i], e[i]) << label << ": record " << k << ": " << actual[k];
      } else {
        EXPECT_NEAR(ToDouble(a[i]), ToDouble(e[i]), 2e-6)
            << label << ": record " << k << ": " << actual[k];
      }
    }
  }
}

// Worked angled elbows with K1 40, K2 15, K3 50: the extents, then flange,
// angle-width and body lines in drawing order, then the bend.
TEST(AngledElbow, WorkedExamplesRecordByRecord) {
  ElbowInput in = Example90();
  in.angle = 60;
  in.k1 = 40;
  in.k2 = 15;
  in.k3 = 50;
  {
    // Equal widths 400: the inlet flange lies T + L2 = 400 tan 30 + 100 below the origin.
    RecordList list = AttributedList();
    ASSERT_TRUE(BuildElbow(list, in).built);
    ExpectSameRecords(
        list.Records(),
        {"50,380.940108,380.940108,200.000000,200.000000,",
         "1,1,3,179.102540,351.665516,394.102540,-20.725408,CONTINUOUS,FLANGE,",
         "1,1,3,-215.000000,-330.940108,215.000000,-330.940108,CONTINUOUS,FLANGE,",
         "1,1,3,151.961524,318.675135,351.961524,-27.735027,CONTINUOUS,ANGLE,",
         "1,1,3,-200.000000,-290.940108,200.000000,-290.940108,CONTINUOUS,ANGLE,",
         "1,1,4,186.602540,338.675135,100.000000,288.675135,CONTINUOUS,DUCT,",
         "1,1,4,386.602540,-7.735027,300.000000,-57.735027,CONTINUOUS,DUCT,",
         "1,1,4,200.000000,-330.940108,200.000000,-230.940108,CONTINUOUS,DUCT,",
         "1,1,4,-200.000000,-330.940108,-200.000000,-230.940108,CONTINUOUS,DUCT,",
         "2,1,4,400.000000,-230.940108,200.000000,120.000000,180.000000,CONTINUOUS,DUCT,",
         "2,1,4,400.000000,-230.940108,600.000000,120.000000,180.000000,CONTINUOUS,DUCT,"},
        "equal widths");
  }
  in.w1 = 500;
  in.w2 = 300;
  in.r = in.rInlet = 250;
  in.l1 = 150;
  in.l2 = 300;
  in.sameWidthText = false;
  {
    // Reducing 500 to 300: the inner sides in line, line records raised by
    // 100 / cos 30; the outer fillet (radius 550) runs from the top of the
    // inlet outer side to the outlet outer side, which is drawn only from
    // the flange to the fillet.
    RecordList list = AttributedList();
    ASSERT_TRUE(BuildElbow(list, in).built);
    ExpectSameRecords(
        list.Records(),
        {"50,488.675135,638.675135,250.000000,150.000000,",
         "1,1,3,347.403811,391.099272,512.403811,105.310889,CONTINUOUS,FLANGE,",
         "1,1,3,-265.000000,-588.675135,265.000000,-588.675135,CONTINUOUS,FLANGE,",
         "1,1,3,320.262794,358.108891,470.262794,98.301270,CONTINUOUS,ANGLE,",
         "1,1,3,-250.000000,-548.675135,250.000000,-548.675135,CONTINUOUS,ANGLE,",
         "1,1,4,504.903811,118.301270,375.000000,43.301270,CONTINUOUS,DUCT,",
         "1,1,4,250.000000,-588.675135,250.000000,-173.205081,CONTINUOUS,DUCT,",
         "1,1,4,-250.000000,-588.675135,-250.000000,-288.675135,CONTINUOUS,DUCT,",
         "2,1,4,500.000000,-173.205081,250.000000,120.000000,180.000000,CONTINUOUS,DUCT,",
         "2,1,4,300.000002,-288.675135,550.000002,120.000000,180.000000,CONTINUOUS,DUCT,",
         "1,1,4,354.903811,378.108891,25.000002,187.638838,CONTINUOUS,DUCT,"},
        "reducing");
  }
  in.outerSharp = in.innerSharp = true;
  in.mirror = true;
  in.base = ElbowBase::kOuterCorner;
  {
    // Sharp corners, mirrored, the outer corner as the base point: the outer
    // side runs from the flange straight to the corner at the origin.
    RecordList list = AttributedList();
    ASSERT_TRUE(BuildElbow(list, in).built);
    ExpectSameRecords(list.Records(),
                      {"50,488.675135,638.675135,250.000000,150.000000,",
                       "1,1,3,-597.403811,362.231759,-762.403811,76.443376,CONTINUOUS,FLANGE,",
                       "1,1,3,15.000000,-617.542648,-515.000000,-617.542648,CONTINUOUS,FLANGE,",
                       "1,1,3,-570.262794,329.241378,-720.262794,69.433757,CONTINUOUS,ANGLE,",
                       "1,1,3,0.000000,-577.542648,-500.000000,-577.542648,CONTINUOUS,ANGLE,",
                       "1,1,4,-754.903811,89.433757,-625.000000,14.433757,CONTINUOUS,DUCT,",
                       "1,1,4,-500.000000,-617.542648,-500.000000,-202.072594,CONTINUOUS,DUCT,",
                       "1,1,4,0.000000,-617.542648,0.000000,-317.542648,CONTINUOUS,DUCT,",
                       "1,1,4,-625.000000,14.433757,-500.000001,-57.735026,CONTINUOUS,DUCT,",
                       "1,1,4,-500.000000,-202.072594,-500.000001,-57.735026,CONTINUOUS,DUCT,",
                       "1,1,4,-604.903811,349.241378,0.000000,0.000000,CONTINUOUS,DUCT,",
                       "1,1,4,0.000000,-617.542648,0.000000,0.000000,CONTINUOUS,DUCT,"},
                      "reducing, sharp, mirrored, outer corner");
  }
}

TEST(AngledElbow, FlatElbowsUseTheAngleWidthForBothStraightLengths) {
  // Below 25 degrees the typed lengths give way to K1; from 25 degrees on they count.
  auto inletFlangeY = [](double angle) {
    RecordList list = AttributedList();
    ElbowInput in = Example90();
    in.angle = angle;
    in.l1 = 100;
    in.l2 = 300;
    in.k1 = 40;
    BuildElbow(list, in);
    return Parse(list)[1].v[1];
  };
  auto tangentLength = [](double angle) { return 400 * std::tan(angle / 2 * kPi / 180); };
  EXPECT_NEAR(inletFlangeY(20), -(tangentLength(20) + 40), 1e-6);
  EXPECT_NEAR(inletFlangeY(24.9), -(tangentLength(24.9) + 40), 1e-6);
  EXPECT_NEAR(inletFlangeY(25), -(tangentLength(25) + 300), 1e-6);
  EXPECT_NEAR(inletFlangeY(60), -(tangentLength(60) + 300), 1e-6);
}

struct Case {
  double w1, w2, angle;
  bool same;
};

// Every construction, mirrored or turned, with any base point and corners,
// gives a closed outline whose centre lines cross at the chosen origin.
TEST(AngledElbow, OutlineClosesInEveryOrientation) {
  const Case cases[] = {{400, 400, 90, true},  {400, 250, 90, false}, {400, 400, 45, true},
                        {400, 400, 15, true},  {400, 400, 75, true},  {500, 300, 60, false},
                        {500, 300, 30, false}, {600, 500, 45, false}, {300, 300, 60, false}};
  for (const Case& c : cases) {
    for (int variant = 0; variant < 32; ++variant) {
      RecordList list = AttributedList();
      ElbowInput in = Example90();
      in.w1 = c.w1;
      in.w2 = c.w2;
      in.r = in.rInlet = c.w1 / 2;
      in.angle = c.angle;
      in.sameWidthText = c.same;
      in.l1 = 150;
      in.l2 = 400;
      in.k1 = 40;
      in.k2 = 15;
      in.k3 = 50;
      in.mirror = variant & 1;
      in.turned = variant & 2;
      in.innerSharp = variant & 4;
      in.outerSharp = variant & 8;
      in.base = variant & 16 ? ElbowBase::kOuterCorner : ElbowBase::kCentreLines;
      ElbowResult result = BuildElbow(list, in);
      std::string label = std::to_string(c.w1) + "/" + std::to_string(c.w2) + " at " +
                          std::to_string(c.angle) + " variant " + std::to_string(variant);
      ASSERT_TRUE(result.built) << label;
      ExpectClosedOutline(list, label);
      // Each arc turns through the elbow angle, counter-clockwise.
      for (const Parsed& p : Parse(list)) {
        if (p.kind != 2) continue;
        double sweep = std::fmod(p.v[4] - p.v[3] + 720.0, 360.0);
        EXPECT_NEAR(sweep, c.angle, 1e-4) << label;
      }
    }
  }
}

// The corner of the base point lands on the origin of the block.
TEST(AngledElbow, BasePointsPutTheirCornerAtTheOrigin) {
  const Case cases[] = {{400, 400, 90, true}, {400, 300, 90, false}, {400, 400, 45, true},
                        {400, 400, 20, true}, {500, 300, 60, false}, {500, 400, 30, false}};
  for (const Case& c : cases) {
    for (ElbowBase base : {ElbowBase::kOuterCorner, ElbowBase::kInnerCorner}) {
      RecordList list = AttributedList();
      ElbowInput in = Example90();
      in.w1 = c.w1;
      in.w2 = c.w2;
      in.angle = c.angle;
      in.sameWidthText = c.same;
      in.innerSharp = in.outerSharp = true;
      in.base = base;
      BuildElbow(list, in);
      int atOrigin = 0;
      for (const Parsed& p : Parse(list)) {
        if (p.kind == 1 && p.element == kDuctBody && Near(Ends(p)[1], {0, 0})) ++atOrigin;
      }
      EXPECT_EQ(atOrigin, 2) << c.w1 << "/" << c.w2 << " at " << c.angle << " base "
                             << static_cast<int>(base);
    }
  }
}

TEST(AngledElbow, CentreLinesCrossAtTheCentreBasePoint) {
  const Case cases[] = {{400, 400, 45, true}, {500, 300, 60, false}, {600, 300, 30, false}};
  for (const Case& c : cases) {
    RecordList list = AttributedList();
    ElbowInput in = Example90();
    in.w1 = c.w1;
    in.w2 = c.w2;
    in.angle = c.angle;
    in.sameWidthText = c.same;
    in.k2 = 0;
    in.l2 = 400;
    ASSERT_TRUE(BuildElbow(list, in).built);
    auto r = Parse(list);
    // The inlet flange is centred on x = 0, the outlet flange on the outlet
    // axis through the origin at 90 - A degrees.
    EXPECT_NEAR(r[1].v[0] + r[1].v[2], 0, 1e-6);
    double mx = (r[0].v[0] + r[0].v[2]) / 2, my = (r[0].v[1] + r[0].v[3]) / 2;
    double theta = (90 - c.angle) * kPi / 180;
    EXPECT_NEAR(mx * std::sin(theta) - my * std::cos(theta), 0, 1e-6) << c.w2 << " at " << c.angle;
  }
}

TEST(ReducingElbow, ParallelSidesStillCloseTheOutline) {
  // At a zero angle the sides of both legs run on into each other.
  for (bool sharp : {false, true}) {
    for (bool same : {true, false}) {
      RecordList list = AttributedList();
      ElbowInput in = Example90();
      in.angle = 0;
      in.k1 = 100;  // the straight lengths of so flat an elbow
      in.sameWidthText = same;
      in.innerSharp = in.outerSharp = sharp;
      ElbowResult result = BuildElbow(list, in);
      ASSERT_TRUE(result.built);
      ExpectClosedOutline(list, std::string("zero angle") + (sharp ? " sharp" : "") +
                                    (same ? " equal" : " reducing"));
      // A bend of no angle has no arc (its equal end angles would make a full circle).
      for (const Parsed& p : Parse(list)) EXPECT_NE(p.kind, 2);
    }
  }
}

TEST(ElbowInputGuard, NoRecordEverCarriesANonFiniteNumber) {
  const double values[] = {0, -400, 1e300, 90, 180, 360};
  for (double w : values) {
    for (double angle : values) {
      for (bool same : {true, false}) {
        RecordList list = AttributedList();
        ElbowInput in = Example90();
        in.w1 = w;
        in.w2 = 400;
        in.r = w;
        in.angle = angle;
        in.sameWidthText = same;
        BuildElbow(list, in);
        for (const std::string& record : list.Records()) {
          EXPECT_EQ(record.find("nan"), std::string::npos) << record;
          EXPECT_EQ(record.find("inf"), std::string::npos) << record;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tavelin
