#include "duct/erbo_geometry.hpp"

#include <cmath>

#include "framework/checked_records.hpp"
#include "framework/record_list.hpp"

namespace tavelin {
namespace {

// sin / cos of twice a half angle, as the reducing elbow's fillet ray uses it.
constexpr double kTwoDegreesToRadians = 0.03490658503888889;
Point Midpoint(const Point& a, const Point& b) { return {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5}; }

// The crossing of the infinite lines through two sides. When the sides are
// parallel (within a degree) there is no crossing; the sides then simply run
// on into each other, so the corner is taken halfway between the two ends it
// joins, which keeps the outline closed.
Point SharpCorner(const Segment& first, const Segment& second, const Point& firstEnd,
                  const Point& secondEnd) {
  Crossing crossing = Intersect(first, second);
  if (crossing.parallel) return Midpoint(firstEnd, secondEnd);
  return crossing.point;
}

// A side of no length (a straight length of 0) still has a direction; for
// finding corners it is stretched 50 away from the bend along that direction.
Segment Directed(const Point& far, const Point& bendEnd, double awayX, double awayY) {
  if (far.x == bendEnd.x && far.y == bendEnd.y) {
    return {{bendEnd.x + 50.0 * awayX, bendEnd.y + 50.0 * awayY}, bendEnd};
  }
  return {far, bendEnd};
}

struct Common {
  double h1, h2, d;
};

void BuildRightAngle(CheckedRecords& w, const ElbowInput& in, const Common& c) {
  const double h1 = c.h1, h2 = c.h2, d = c.d;
  const double X = h1 + in.l1 + in.r;       // outlet flange
  const double Y = h2 + in.l2 + in.rInlet;  // inlet flange, below the origin
  w.Extents(X + in.k3, Y + in.k3, h1, h2);
  switch (in.base) {
    case ElbowBase::kOuterCorner:
      w.Base(-h1, -h2);
      break;
    case ElbowBase::kInnerCorner:
      w.Base(h1, h2);
      break;
    default:
      w.Base(0.0, 0.0);
      break;
  }
  const double k1 = in.k1, k2 = in.k2;
  w.Line(kFlangeJoint, {X, h2 + k2}, {X, -h2 - k2});
  w.Line(kFlangeJoint, {-h1 - k2, -Y}, {h1 + k2, -Y});
  if (k1 != 0.0) {
    w.Line(kAngleWidth, {X - k1, h2}, {X - k1, -h2});
    w.Line(kAngleWidth, {-h1, k1 - Y}, {h1, k1 - Y});
  }
  w.Line(kDuctBody, {X, h2}, {X - in.l1 - d, h2});
  w.Line(kDuctBody, {X, -h2}, {X - in.l1, -h2});
  w.Line(kDuctBody, {h1, -Y}, {h1, in.l2 - Y});
  w.Line(kDuctBody, {-h1, -Y}, {-h1, in.l2 - Y});
  if (!in.innerSharp) w.Arc(kDuctBody, {h1 + in.r, -h2 - in.r}, in.r, 90.0, 180.0);
  if (!in.outerSharp) w.Arc(kDuctBody, {h1 + in.r - d, -h2 - in.r}, in.w2 + in.r, 90.0, 180.0);
  if (in.outerSharp) {
    w.Line(kDuctBody, {-h1, in.l2 - Y}, {-h1, h2});
    w.Line(kDuctBody, {X - in.l1, h2}, {-h1, h2});
  }
  if (in.innerSharp) {
    w.Line(kDuctBody, {h1, in.l2 - Y}, {h1, -h2});
    w.Line(kDuctBody, {X - in.l1, -h2}, {h1, -h2});
  }
}

// What both angled constructions share: the straight lengths, the bend and
// the turn of the outlet.
struct Angled {
  double l1, l2;
  double rc;     // radius of the inlet centre line
  double t;      // tangent of half the angle
  double T;      // tangent length of the centre line
  double J;      // outlet flange distance along the turned outlet axis
  double D;      // inlet flange distance below the origin
  double theta;  // turn of the outlet: 90 - A
};

Angled AngledValues(const ElbowInput& in, const Common& c) {
  Angled a;
  a.l1 = in.l1;
  a.l2 = in.l2;
  // Very flat elbows keep short straight legs of one angle width.
  if (90.0 - in.angle > 65.0) a.l1 = a.l2 = in.k1;
  a.rc = c.h1 + in.r;
  const double half = in.angle / 2.0 * kDegreesToRadians;
  a.t = std::sin(half) / std::cos(half);
  a.T = a.rc * a.t;
  a.J = a.T + a.l1;
  a.D = a.T + a.l2;
  a.theta = 90.0 - in.angle;
  return a;
}

void BuildEqualWidth(CheckedRecords& w, const ElbowInput& in, const Common& c) {
  const double h1 = c.h1, h2 = c.h2;
  const Angled a = AngledValues(in, c);
  auto rot = [&](double x, double y) { return RotateByAngle(x, y, a.theta); };
  const double J = a.J, D = a.D, l1 = a.l1, l2 = a.l2, k1 = in.k1, k2 = in.k2;

  w.Extents(J + in.k3, D + in.k3, h1, h2);
  switch (in.base) {
    case ElbowBase::kOuterCorner:
      w.Base(-h1, -h1 * a.t);
      break;
    case ElbowBase::kInnerCorner:
      w.Base(h1, h1 * a.t);
      break;
    default:
      w.Base(0.0, 0.0);
      break;
  }
  const Point c1 = rot(J, h2), c2 = rot(J - l1, h2);
  const Point e1 = rot(J, -h1), e2 = rot(J - l1, -h1);
  const Segment inletInner{{h1, -D}, {h1, l2 - D}};
  const Segment inletOuter{{-h1, -D}, {-h1, l2 - D}};
  const Point outward = rot(1.0, 0.0);
  const Segment outletOuter = Directed(c1, c2, outward.x, outward.y);
  const Segment outletInner = Directed(e1, e2, outward.x, outward.y);
  const Segment inletInnerSide = Directed(inletInner.a, inletInner.b, 0.0, -1.0);
  const Segment inletOuterSide = Directed(inletOuter.a, inletOuter.b, 0.0, -1.0);

  w.Line(kFlangeJoint, rot(J, h2 + k2), rot(J, -h1 - k2));
  w.Line(kFlangeJoint, {-h1 - k2, -D}, {h1 + k2, -D});
  if (k1 != 0.0) {
    w.Line(kAngleWidth, rot(J - k1, h2), rot(J - k1, -h1));
    w.Line(kAngleWidth, {-h1, k1 - D}, {h1, k1 - D});
  }
  w.Line(kDuctBody, c1, c2);
  w.Line(kDuctBody, e1, e2);
  w.Line(kDuctBody, inletInner.a, inletInner.b);
  w.Line(kDuctBody, inletOuter.a, inletOuter.b);

  const Point centre{a.rc, l2 - D};
  auto seen = [&](const Point& p) { return SegmentDirection(centre.x, centre.y, p.x, p.y); };
  if (!in.innerSharp) w.Arc(kDuctBody, centre, in.r, seen(e2), seen(inletInner.b));
  if (!in.outerSharp) w.Arc(kDuctBody, centre, in.r + in.w2, seen(c2), seen(inletOuter.b));
  if (in.innerSharp) {
    Point p = SharpCorner(outletInner, inletInnerSide, e2, inletInner.b);
    w.Line(kDuctBody, e2, p);
    w.Line(kDuctBody, inletInner.b, p);
  }
  if (in.outerSharp) {
    Point q = SharpCorner(outletOuter, inletOuterSide, c2, inletOuter.b);
    w.Line(kDuctBody, c2, q);
    w.Line(kDuctBody, inletOuter.b, q);
  }
}

// Returns false when the inlet is too short for the width difference.
bool BuildReducing(RecordList& list, CheckedRecords& w, const ElbowInput& in, const Common& c) {
  const double h1 = c.h1, h2 = c.h2, d = c.d;
  const Angled a = AngledValues(in, c);
  auto rot = [&](double x, double y) { return RotateByAngle(x, y, a.theta); };
  const double J = a.J, D = a.D, l1 = a.l1, l2 = a.l2, k1 = in.k1, k2 = in.k2;

  const double e = h2 - d / 2.0;  // outlet outer side before turning
  const double cosTheta = std::cos(a.theta * kDegreesToRadians);
  const double g = (d / 2.0) / cosTheta;
  // Line records are raised by g, which brings the crossing of the centre
  // lines to the origin; arcs carry g in their own centres.
  list.extraY = g;
  if (!(D >= g)) return false;

  w.Extents(J + in.k3, D + in.k3, h1, h2);
  const double I = h2 / cosTheta - h1 * std::tan(a.theta * kDegreesToRadians);
  switch (in.base) {
    case ElbowBase::kOuterCorner:
      w.Base(-h1, -I);
      break;
    case ElbowBase::kInnerCorner:
      w.Base(h1, I);
      break;
    default:
      w.Base(0.0, 0.0);
      break;
  }
  const Point c1 = rot(J, e), c2 = rot(J - l1 - d, e);
  const Point e1 = rot(J, -h1), e2 = rot(J - l1, -h1);
  const Point outward = rot(1.0, 0.0);
  const Segment outletOuter = Directed(c1, c2, outward.x, outward.y);
  const Segment outletInner = Directed(e1, e2, outward.x, outward.y);
  const Segment inletInner = Directed({h1, -D - g}, {h1, l2 - D}, 0.0, -1.0);
  const Point inletOuterBottom{-h1, -D - g};
  // A zero-length inlet side has no direction; a stand-in length of 50 gives it one.
  Segment inletOuter{inletOuterBottom, {-h1, -D - g + (l2 == 0.0 ? 50.0 : l2)}};

  w.Line(kFlangeJoint, rot(J, e + k2), rot(J, -h1 - k2));
  w.Line(kFlangeJoint, {-h1 - k2, -D - g}, {h1 + k2, -D - g});
  if (k1 != 0.0) {
    w.Line(kAngleWidth, rot(J - k1, e), rot(J - k1, -h1));
    w.Line(kAngleWidth, {-h1, k1 - D - g}, {h1, k1 - D - g});
  }
  w.Line(kDuctBody, e1, e2);
  w.Line(kDuctBody, {h1, -D - g}, inletInner.b);
  w.Line(kDuctBody, inletOuterBottom, {-h1, -D - g + l2});

  const Point bend{a.rc, l2 - D};
  auto seen = [&](const Point& p) { return SegmentDirection(bend.x, bend.y, p.x, p.y); };
  if (!in.innerSharp) {
    w.Arc(kDuctBody, {a.rc, l2 - D + g}, in.r, seen(e2), seen(inletInner.b));
  }
  if (!in.outerSharp) {
    // The outer fillet: tangent to the inlet outer side at its top and to the
    // outlet outer side.
    const Point top{-h1, -D - g + l2};
    Crossing p0 = Intersect(outletOuter, inletOuter);
    if (p0.parallel) {
      // The outer sides run on into each other: no fillet, just the side.
      w.Line(kDuctBody, c1, top);
    } else {
      const double x = g + p0.point.y + D - l2;
      const double half = in.angle / 2.0 * kDegreesToRadians;
      const double rho = x * std::cos(half) / std::sin(half);
      w.Arc(kDuctBody, {rho - h1, l2 - D}, rho, 180.0 - in.angle, 180.0);
      const double halfAngle = in.angle / 2.0;
      const double tanA =
          std::sin(halfAngle * kTwoDegreesToRadians) / std::cos(halfAngle * kTwoDegreesToRadians);
      inletOuter = {{rho - h1, l2 - D - g}, {rho - h1 - 1000.0, l2 - D - g + 1000.0 * tanA}};
      Point p1 = Intersect(outletOuter, inletOuter).point;
      w.Line(kDuctBody, c1, p1);
    }
  }
  if (in.innerSharp) {
    Point p = SharpCorner(outletInner, inletInner, e2, inletInner.b);
    w.Line(kDuctBody, e2, p);
    w.Line(kDuctBody, inletInner.b, p);
  }
  if (in.outerSharp) {
    Point q = SharpCorner(outletOuter, inletOuter, c2, {-h1, -D - g + l2});
    w.Line(kDuctBody, c1, q);
    w.Line(kDuctBody, inletOuterBottom, q);
  }
  return true;
}

}  // namespace

ElbowConstruction ChooseElbowConstruction(double angle, bool sameWidthText) {
  if (angle == 90.0) return ElbowConstruction::kRightAngle;
  return sameWidthText ? ElbowConstruction::kEqualWidth : ElbowConstruction::kReducing;
}

ElbowResult BuildElbow(RecordList& list, const ElbowInput& input) {
  list.Clear();
  list.extraY = 0.0;
  list.baseX = 0.0;
  list.baseY = 0.0;
  list.mirror = input.mirror ? 1 : 0;
  list.rotation = input.turned ? 90.0 : 0.0;

  const Common common{input.w1 / 2.0, input.w2 / 2.0, input.w1 - input.w2};
  ElbowResult result;
  result.construction = ChooseElbowConstruction(input.angle, input.sameWidthText);
  CheckedRecords writer(list);
  switch (result.construction) {
    case ElbowConstruction::kRightAngle:
      BuildRightAngle(writer, input, common);
      result.built = writer.Finish();
      break;
    case ElbowConstruction::kEqualWidth:
      BuildEqualWidth(writer, input, common);
      result.built = writer.Finish();
      break;
    case ElbowConstruction::kReducing:
      result.built = BuildReducing(list, writer, input, common) && writer.Finish();
      break;
  }
  return result;
}

double ElbowPreviewNumerator(bool turned, double angle) {
  if (!turned) return 65.0;
  return angle == 90.0 ? 50.0 : 45.0;
}

}  // namespace tavelin
