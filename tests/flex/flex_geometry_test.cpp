// The flexible duct: the length and leg checks of the worked bends, the
// choice of the short-leg bend, the duct's length along its centre line for
// the L and the S, the bellows counts, and values that draw nothing.
#include "duct/flex_geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/drawn_records.hpp"

namespace tavelin {
namespace {

using testing::Drawn;
using testing::ReadDrawn;

FlexInput Bend(double d, double length, double rf, double angle, double a,
               FlexKind kind = FlexKind::kMetal) {
  FlexInput in;
  in.kind = kind;
  in.shape = FlexShape::kL;
  in.diameter = d;
  in.length = length;
  in.radiusFactor = rf;
  in.angle = angle;
  in.firstLeg = a;
  in.metalPitch = 50;
  in.insulatedPitch = 75;
  return in;
}

FlexInput Offset(double d, double length, double sv, FlexKind kind) {
  FlexInput in = Bend(d, length, 1.5, 90, 500, kind);
  in.shape = FlexShape::kS;
  in.offset = sv;
  return in;
}

// The far collar's end face: the last of the collar's four lines.
Drawn FarFace(const RecordList& list) {
  std::vector<Drawn> body = testing::OfElement(ReadDrawn(list), kDuctBody);
  std::vector<Drawn> lines;
  for (const Drawn& d : body) {
    if (d.kind == 1) lines.push_back(d);
  }
  return lines[lines.size() - 2];
}

TEST(FlexGeometry, ChecksOfTheWorkedBends) {
  EXPECT_NEAR(FlexTangent(300, 120), 173.205, 1e-3);
  EXPECT_NEAR(FlexBendLength(300, 120), 314.1592, 1e-9);
  EXPECT_NEAR(FlexTangent(300, 90), 300, 1e-6);
  struct Case {
    FlexInput in;
    FlexOutcome outcome;
  } cases[] = {
      {Bend(200, 600, 1.5, 120, 500), FlexOutcome::kLengthWrong},  // about -41 left
      {Bend(200, 1000, 1.5, 120, 500), FlexOutcome::kDrawn},       // about 359 left
      {Bend(200, 1000, 1.5, 120, 200), FlexOutcome::kFirstLegWrong},
      {Bend(200, 1000, 1.5, 120, 500, FlexKind::kInsulated), FlexOutcome::kDrawn},
      {Bend(200, 1000, 1.0, 90, 400), FlexOutcome::kDrawn},
      {Bend(200, 1000, 0.9, 90, 400), FlexOutcome::kRadiusTooSmall},
      {Bend(200, 1000, 1.5, 0, 400), FlexOutcome::kNothing},
      {Bend(200, 1000, 1.5, 180, 400), FlexOutcome::kNothing},
      {Bend(200, 0, 1.5, 90, 400), FlexOutcome::kNothing},
      {Bend(0, 1000, 0.5, 90, 400), FlexOutcome::kNothing},  // D = 0 stops before Rf
      {Bend(200, 1e300, 1.5, 90, 400), FlexOutcome::kBeyondDrawing},
      // The short-leg bend shows only the length message.
      {Bend(200, 600, 1.5, 90, 350), FlexOutcome::kLengthWrong},
      {Bend(200, 1000, 1.5, 90, 120), FlexOutcome::kDrawn},
  };
  for (const Case& c : cases) {
    RecordList list(500);
    EXPECT_EQ(BuildFlex(list, c.in), c.outcome)
        << c.in.length << " " << c.in.angle << " " << c.in.firstLeg;
    if (c.outcome != FlexOutcome::kDrawn) EXPECT_EQ(list.Count(), 0u);
  }
  EXPECT_EQ(FlexVariant(Bend(200, 1000, 1.5, 90, 350)), 2);
  EXPECT_EQ(FlexVariant(Bend(200, 1000, 1.5, 90, 400)), 1);
  EXPECT_EQ(FlexVariant(Bend(200, 1000, 1.5, 89, 350)), 1);
}

TEST(FlexGeometry, TheLBendIsLAlongItsCentreLine) {
  // D 200, Rc 300, right angle, A 500: the first leg's straight part is
  // 200, the bend 471.24, so the far face lies 1500 - 200 - 471.24 = 828.76
  // below the bend's end at (500, -300).
  RecordList list(500);
  ASSERT_EQ(BuildFlex(list, Bend(200, 1500, 1.5, 90, 500)), FlexOutcome::kDrawn);
  std::vector<Drawn> r = ReadDrawn(list);
  EXPECT_TRUE(testing::SameLine(r[0], 0, -100, 0, 100));
  EXPECT_TRUE(testing::SameLine(r[2], 50, 100, 50, -100));
  const double far = 300 + 1500 - 200 - 600 * 0.25 * 3.141592;
  Drawn face = FarFace(list);
  EXPECT_NEAR((face.v[0] + face.v[2]) / 2, 500, 1e-6);
  EXPECT_NEAR(face.v[1], -far, 1e-3);
  EXPECT_NEAR(std::fabs(face.v[2] - face.v[0]), 200, 1e-6);
  std::vector<Drawn> arcs;
  for (const Drawn& d : r) {
    if (d.kind == 2) arcs.push_back(d);
  }
  ASSERT_EQ(arcs.size(), 2u);
  EXPECT_EQ(arcs[0].v, (std::vector<double>{200, -300, 400, 0, 90}));
  EXPECT_EQ(arcs[1].v, (std::vector<double>{200, -300, 200, 0, 90}));
  // The base on the duct's side lifts everything by D / 2.
  FlexInput side = Bend(200, 1500, 1.5, 90, 500);
  side.sideBase = true;
  BuildFlex(list, side);
  EXPECT_TRUE(testing::SameLine(ReadDrawn(list)[0], 0, 0, 0, 200));
}

TEST(FlexGeometry, BellowsAtThePitch) {
  // Metal, A 500, ANG 120, Rc 300, pitch 50: c1 = trunc((500 - 173.2 - 50) / 50)
  // = 5 on the first leg; the bend of 60 degrees has c2 = trunc(300 * 6.283 / 6
  // / 50) = 6 divisions, so 5 inner lines; the second leg of L 1000 keeps
  // 358.6 - 50 = 308.6 of body, 6 lines.
  FlexInput in = Bend(200, 1000, 1.5, 120, 500);
  in.bellows = true;
  RecordList list(500);
  ASSERT_EQ(BuildFlex(list, in), FlexOutcome::kDrawn);
  std::vector<Drawn> bellows = testing::OfElement(ReadDrawn(list), kHatchingLine);
  ASSERT_EQ(bellows.size(), 5u + 5u + 6u);
  for (int i = 0; i < 5; ++i)
    EXPECT_TRUE(testing::SameLine(bellows[i], 100 + 50 * i, 100, 100 + 50 * i, -100));
  // Across the bend, from its inner to its outer side.
  const Drawn& mid = bellows[5 + 2];
  EXPECT_NEAR(std::hypot(mid.v[2] - mid.v[0], mid.v[3] - mid.v[1]), 200, 1e-6);
  // A pitch of 0 draws no bellows lines; the insulated kind has its own pitch.
  in.metalPitch = 0;
  BuildFlex(list, in);
  EXPECT_EQ(testing::OfElement(ReadDrawn(list), kHatchingLine).size(), 0u);
  in.kind = FlexKind::kInsulated;
  in.insulatedPitch = 0.001;
  EXPECT_EQ(BuildFlex(list, in), FlexOutcome::kBeyondDrawing);
  EXPECT_EQ(list.Count(), 0u);
}

TEST(FlexGeometry, TheSOffsetsItsFarEndBySv) {
  struct Case {
    FlexKind kind;
    double length, sv;
    FlexOutcome outcome;
  } cases[] = {
      {FlexKind::kMetal, 1500, 300, FlexOutcome::kDrawn},
      {FlexKind::kInsulated, 1500, 300, FlexOutcome::kDrawn},
      {FlexKind::kMetal, 1500, 900, FlexOutcome::kDrawn},  // a straight across between the bends
      {FlexKind::kMetal, 1500, -300, FlexOutcome::kDrawn},
      {FlexKind::kMetal, 1000, 0, FlexOutcome::kDrawn},
      // Too short for bends of Rc: the insulated duct says so, the metal
      // duct bends tighter, or is not drawn when even that cannot fit.
      {FlexKind::kInsulated, 800, 500, FlexOutcome::kLengthWrong},
      {FlexKind::kMetal, 800, 500, FlexOutcome::kDrawn},
      {FlexKind::kMetal, 500, 500, FlexOutcome::kNoRoom},
  };
  for (const Case& c : cases) {
    RecordList list(500);
    ASSERT_EQ(BuildFlex(list, Offset(200, c.length, c.sv, c.kind)), c.outcome)
        << c.length << " " << c.sv;
    if (c.outcome != FlexOutcome::kDrawn) continue;
    Drawn face = FarFace(list);
    EXPECT_NEAR((face.v[1] + face.v[3]) / 2, -c.sv, 1e-6) << c.sv;
    EXPECT_NEAR(face.v[0], face.v[2], 1e-6);
    // The centre line runs L: the far face lies where the collars, the two
    // straight ends, the bends (from their arcs) and any straight across
    // them bring it.
    std::vector<Drawn> arcs;
    for (const Drawn& d : ReadDrawn(list)) {
      if (d.kind == 2) arcs.push_back(d);
    }
    double developed = face.v[0];
    if (c.sv != 0) {
      ASSERT_EQ(arcs.size(), 4u);
      const double r = (arcs[0].v[2] + arcs[1].v[2]) / 2;
      const double turn = (arcs[0].v[4] - arcs[0].v[3]) * kDegreesToRadians;
      const double across = std::fabs(c.sv) - 2 * r * (1 - std::cos(turn));
      EXPECT_GE(across, -1e-6);
      const double ends = face.v[0] - 2 * r * std::sin(turn);
      developed = ends + 2 * r * turn + across;
      if (c.kind == FlexKind::kInsulated || c.length > 1000)
        EXPECT_NEAR(r, 1.5 * (c.kind == FlexKind::kInsulated ? 250 : 200), 1e-6);
      EXPECT_GE(r - 100, 0) << "the inner side keeps a radius";
    }
    EXPECT_NEAR(developed, c.length, 1e-3) << c.sv;
  }
}

}  // namespace
}  // namespace tavelin
