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
