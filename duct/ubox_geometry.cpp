#include "duct/ubox_geometry.hpp"

#include <cmath>
#include <vector>

namespace tavelin {
namespace {

// Beyond this many millimetres a value is no drawing any more; it is refused
// before its squares could overflow in the rotation.
constexpr double kLargest = 1e7;

bool Drawable(double v) { return std::isfinite(v) && std::fabs(v) <= kLargest; }

}  // namespace

Point UboxBase(const UboxInput& input) {
  const double a = input.width / 2.0;
  const double b = input.depth / 2.0;
  switch (input.base) {
    case 2:
      return {0.0, b};
    case 3:
      return {-a, b};
    case 4:
      return {-a, 0.0};
    default:
      return {0.0, 0.0};
  }
}

bool BuildUbox(RecordList& list, const UboxInput& input, const CommonValues& common) {
  list.Clear();
  for (double v : {input.width, input.depth, input.lining, input.angle, common.k4}) {
    if (!Drawable(v)) return false;
  }
  const Point base = UboxBase(input);
  list.baseX = base.x;
  list.baseY = base.y;
  list.mirror = input.mirror ? 1 : 0;
  list.rotation = input.angle;

  const double a = input.width / 2.0;
  const double b = input.depth / 2.0;
  const double t = input.lining;
  list.SetExtents(a, b, a, b);
  const std::vector<Segment> outline = {
      {{-a, b}, {a, b}},
      {{a, b}, {a, -b}},
      {{a, -b}, {-a, -b}},
      {{-a, -b}, {-a, b}},
  };
  for (const Segment& s : outline) {
    list.AddLineRecord(1, kSolid, kDuctBody, s.a.x, s.a.y, s.b.x, s.b.y);
  }
  // The lining's inner face, T inside every side.
  list.AddLineRecord(1, kDotted, kHiddenLine, t - a, b - t, a - t, b - t);
  list.AddLineRecord(1, kDotted, kHiddenLine, a - t, b - t, a - t, t - b);
  list.AddLineRecord(1, kDotted, kHiddenLine, a - t, t - b, t - a, t - b);
  list.AddLineRecord(1, kDotted, kHiddenLine, t - a, t - b, t - a, b - t);
  Hatch(list, outline, common.k4);
  return true;
}

}  // namespace tavelin
