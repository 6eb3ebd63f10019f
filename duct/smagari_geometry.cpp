#include "duct/smagari_geometry.hpp"

#include <cmath>

#include "duct/branch_common.hpp"

namespace tavelin {

std::optional<double> ShortestBendRun(double w, double r, double s) {
  const double reach = 2.0 * r + w;
  const double across = w + 2.0 * r - s;
  const double square = reach * reach - across * across;
  if (!std::isfinite(square) || square < 0.0) return std::nullopt;
  return std::sqrt(square);
}

bool BuildSmagari(RecordList& list, const SmagariInput& in, const CommonValues& common) {
  list.Clear();
  list.extraY = 0.0;
  list.mirror = in.mirror ? 1 : 0;
  list.rotation = 270.0;
  CheckedRecords w(list);
  const double h = in.w / 2.0;
  const double s = in.s, a = in.a, k1 = common.k1, k2 = common.k2;
  switch (in.base) {
    case 1:
      w.Base(-h, 0.0);
      break;
    case 3:
      w.Base(h, 0.0);
      break;
    default:
      w.Base(0.0, 0.0);
      break;
  }
  w.Extents(h + s, common.k3, h, a + common.k3);
  w.Line(kDuctBody, {s - h, a}, {s - h, a - in.lt});
  w.Line(kDuctBody, {s + h, a}, {s + h, a - in.lt});
  w.Line(kDuctBody, {-h, 0.0}, {-h, in.lb});
  w.Line(kDuctBody, {h, 0.0}, {h, in.lb});
  w.Line(kFlangeJoint, {s - h - k2, a}, {s + h + k2, a});
  w.Line(kFlangeJoint, {-h - k2, 0.0}, {h + k2, 0.0});
  if (k1 != 0.0) {
    w.Line(kAngleWidth, {s - h, a - k1}, {s + h, a - k1});
    w.Line(kAngleWidth, {-h, k1}, {h, k1});
  }
  const Point lower{h + in.r, in.lb};
  const Point upper{s - h - in.r, a - in.lt};
  const double theta = SegmentDirection(lower.x, lower.y, upper.x, upper.y);
  w.Arc(kDuctBody, upper, in.r, theta + 180.0, 0.0);
  w.Arc(kDuctBody, upper, in.r + in.w, theta + 180.0, 0.0);
  w.Arc(kDuctBody, lower, in.r, theta, 180.0);
  w.Arc(kDuctBody, lower, in.r + in.w, theta, 180.0);
  return w.Finish();
}

}  // namespace tavelin
