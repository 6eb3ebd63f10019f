#include "duct/oti_geometry.hpp"

#include <cmath>
#include <initializer_list>

namespace tavelin {
namespace {

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

void Line(RecordList& list, int element, double x1, double y1, double x2, double y2) {
  list.AddLineRecord(1, kSolid, element, x1, y1, x2, y2);
}

}  // namespace

double ReducerLength(double w1, double w2, double coefficient, double straight) {
  return 50.0 * std::trunc((w1 - w2) * coefficient * 0.02) + 2.0 * straight;
}

double CoefficientForLength(double w1, double w2, double straight, double length) {
  const double step = w1 - w2;
  if (!(step > 0.0) || !std::isfinite(length) || !std::isfinite(straight)) return 0.0;
  const double steps = std::ceil((length - 2.0 * straight) / 50.0);
  if (!(steps >= 1.0)) return 0.1;
  // Whole steps of 50 need (w1 - w2) k / 50 >= steps; the tenth above, and
  // the next while rounding leaves the length short.
  double tenths = std::ceil(steps * 50.0 / step * 10.0);
  if (!(tenths < 1e6)) return 0.0;
  while (ReducerLength(w1, w2, tenths / 10.0, straight) < length) tenths += 1.0;
  return tenths / 10.0;
}

bool BuildReducer(RecordList& list, const ReducerInput& in, const CommonValues& k) {
  list.Clear();
  list.rotation = 270.0;
  list.mirror = in.mirror ? 1 : 0;
  const double h = in.w1 / 2.0;
  const double p = in.p, q = in.q, s = in.s, l = in.l;
  if (!AllFinite({h, p, q, s, l, k.k1, k.k2, k.k3})) {
    list.baseX = list.baseY = 0.0;
    return false;
  }
  // The base point becomes the origin: base x is its x, base y minus its y.
  Point base;
  switch (in.base) {
    case ReducerBase::kLargeCorner:
      base = {h, 0.0};
      break;
    case ReducerBase::kSmallCentre:
      base = {0.0, l};
      break;
    case ReducerBase::kSmallCorner:
      base = {q, l};
      break;
    default:
      break;
  }
  list.baseX = base.x;
  list.baseY = -base.y;
  if (in.shape == ReducerShape::kNone) return false;

  list.SetExtents(h, k.k3, h, l + k.k3);
  // The large end lies on y = 0, the small end on y = l.
  Line(list, kFlangeJoint, -h - k.k2, 0.0, h + k.k2, 0.0);
  if (in.shape == ReducerShape::kSquare) {
    Line(list, kFlangeJoint, -p - k.k2, l, q + k.k2, l);
  } else {
    // A round end has a plain joint line, no projection.
    Line(list, kFlangeJoint, -p, l, q, l);
  }
  if (k.k1 != 0.0) {
    Line(list, kAngleWidth, -h, k.k1, h, k.k1);
    if (in.shape == ReducerShape::kSquare) Line(list, kAngleWidth, -p, l - k.k1, q, l - k.k1);
  }
  // Each side: the small end's stretch, the taper, the large end's stretch.
  Line(list, kDuctBody, -p, l, -p, l - s);
  Line(list, kDuctBody, -p, l - s, -h, s);
  Line(list, kDuctBody, -h, s, -h, 0.0);
  Line(list, kDuctBody, q, l, q, l - s);
  Line(list, kDuctBody, q, l - s, h, s);
  Line(list, kDuctBody, h, s, h, 0.0);
  if (in.shape == ReducerShape::kRound) {
    // Where the round and the square stretches start, and the lines from the
    // centre of the round end to the corners of the square end.
    Line(list, kDuctBody, -p, l - s, q, l - s);
    Line(list, kDuctBody, -h, s, h, s);
    Line(list, kDuctBody, 0.0, l - s, -h, s);
    Line(list, kDuctBody, 0.0, l - s, h, s);
  }
  return true;
}

}  // namespace tavelin
