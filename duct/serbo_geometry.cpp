#include "duct/serbo_geometry.hpp"

#include <cmath>

namespace tavelin {
namespace {

// Beyond this many millimetres a value is no drawing any more.
constexpr double kLargest = 1e7;

bool Drawable(double v) { return std::isfinite(v) && std::fabs(v) <= kLargest; }

// Chords that stand for the rounded corner in the hatched region: none of
// them runs within a degree of the hatch lines, and each lies within a
// thousandth of the radius of the arc.
constexpr int kCornerChords = 16;

// The chamfers are cut at 45 degrees; g is how far a wall of thickness T
// moves a chamfer's ends out along the box sides.
double ChamferShift(double t) { return t / std::sin(0.7853981634) - t; }

void Line(RecordList& list, int style, int element, const Point& a, const Point& b) {
  list.AddLineRecord(1, style, element, a.x, a.y, b.x, b.y);
}

struct Frame {
  double h, t, b, p, q, g;
};

Frame FrameOf(const SErboInput& in) {
  Frame f;
  f.h = in.width / 2.0;
  f.t = in.wall;
  f.b = in.boxLength;
  f.p = f.h + f.b;
  f.q = -f.h - f.b;
  f.g = ChamferShift(in.wall);
  return f;
}

// The box's outer sides, shared by every shape: the inlet end, the far side of
// the inlet, the far side of the outlet and the outlet end.
Segment InletEnd(const Frame& f, double from) { return {{from, f.q}, {-f.h - f.t, f.q}}; }
Segment InletSide(const Frame& f) { return {{-f.h - f.t, f.q}, {-f.h - f.t, f.h + f.t}}; }
Segment OutletSide(const Frame& f) { return {{-f.h - f.t, f.h + f.t}, {f.p, f.h + f.t}}; }
Segment OutletEnd(const Frame& f, double to) { return {{f.p, f.h + f.t}, {f.p, to}}; }

}  // namespace

std::vector<Segment> SErboHatchRegion(const SErboInput& in) {
  const Frame f = FrameOf(in);
  const double h = f.h, t = f.t, p = f.p, q = f.q, g = f.g, b = f.b;
  switch (in.shape) {
    case SErboShape::kSquare:
      return {InletEnd(f, h + t),
              InletSide(f),
              OutletSide(f),
              OutletEnd(f, -h - t),
              {{p, -h - t}, {h + t, -h - t}},
              {{h + t, -h - t}, {h + t, q}}};
    case SErboShape::kRounded: {
      // The box's own outline, its rounded corner as short chords from the
      // outlet side round to the inlet side. (A single chord across the
      // corner would let the hatch run out over the rounding.)
      std::vector<Segment> region = {InletEnd(f, h + t), InletSide(f), OutletSide(f),
                                     OutletEnd(f, -h - t)};
      const double r = b - t;
      if (r <= 0.0) {
        region.push_back({{p, -h - t}, {h + t, q}});
        return region;
      }
      Point from{p, q + r};
      for (int k = 1; k <= kCornerChords; ++k) {
        const double a = (90.0 + 90.0 * k / kCornerChords) * 0.017453292519943295;
        const Point to{p + r * std::cos(a), q + r * std::sin(a)};
        region.push_back({from, to});
        from = to;
      }
      return region;
    }
    case SErboShape::kChamfered:
      return {{{p, -h - t - g}, {h + t + g, q}},
              InletSide(f),
              OutletSide(f),
              OutletEnd(f, -h - t - g),
              InletEnd(f, h + t + g)};
    case SErboShape::kHalfChamfer:
      // The notch's edges come before the inlet end, so that a hatch line
      // crossing the notch pairs its four crossings on either side of it.
      return {{{h + t, q + b / 2.0}, {h + t, q}},
              InletSide(f),
              OutletSide(f),
              OutletEnd(f, -h - t),
              {{p, -h - t}, {p - b / 2.0, -h - t}},
              {{p - b / 2.0, -h - t}, {h + t, q + b / 2.0}},
              InletEnd(f, h + t)};
    case SErboShape::kNone:
      break;
  }
  return {};
}

bool BuildSErbo(RecordList& list, const SErboInput& in, const CommonValues& common) {
  list.Clear();
  for (double v : {in.width, in.boxLength, in.stubLength, in.wall, in.angle, common.k1, common.k2,
                   common.k3, common.k4}) {
    if (!Drawable(v)) return false;
  }
  const Frame f = FrameOf(in);
  const double h = f.h, t = f.t, p = f.p, q = f.q, g = f.g, b = f.b;
  switch (in.base) {
    case SErboBase::kOuterCorner:
      list.baseX = -h;
      list.baseY = -h;
      break;
    case SErboBase::kInnerCorner:
      list.baseX = h;
      list.baseY = h;
      break;
    default:
      list.baseX = 0.0;
      list.baseY = 0.0;
      break;
  }
  list.mirror = in.mirror ? 1 : 0;
  list.rotation = in.angle;

  const double l = h + b + in.stubLength;  // both flanges' distance from the corner
  const double k1 = common.k1, k2 = common.k2;
  list.SetExtents(l + common.k3, l + common.k3, h, h);
  // The stubs: flanges, angle-width lines, walls up to the box.
  Line(list, kSolid, kFlangeJoint, {l, h + k2}, {l, -h - k2});
  Line(list, kSolid, kFlangeJoint, {-h - k2, -l}, {h + k2, -l});
  if (k1 != 0.0) {
    Line(list, kSolid, kAngleWidth, {l - k1, h}, {l - k1, -h});
    Line(list, kSolid, kAngleWidth, {-h, k1 - l}, {h, k1 - l});
  }
  Line(list, kSolid, kDuctBody, {l, h}, {p, h});
  Line(list, kSolid, kDuctBody, {l, -h}, {p, -h});
  Line(list, kSolid, kDuctBody, {h, -l}, {h, q});
  Line(list, kSolid, kDuctBody, {-h, -l}, {-h, q});
  // The duct's outer walls inside the box.
  Line(list, kDotted, kHiddenLine, {-h, q}, {-h, h});
  Line(list, kDotted, kHiddenLine, {-h, h}, {p, h});

  auto outer = [&](const Segment& s) { Line(list, kSolid, kDuctBody, s.a, s.b); };
  switch (in.shape) {
    case SErboShape::kSquare:
      Line(list, kDotted, kHiddenLine, {p, -h}, {h, -h});
      Line(list, kDotted, kHiddenLine, {h, -h}, {h, q});
      outer(InletEnd(f, h + t));
      outer(InletSide(f));
      outer(OutletSide(f));
      outer(OutletEnd(f, -h - t));
      Line(list, kSolid, kDuctBody, {p, -h - t}, {h + t, -h - t});
      Line(list, kSolid, kDuctBody, {h + t, -h - t}, {h + t, q});
      break;
    case SErboShape::kRounded:
      outer(InletEnd(f, h + t));
      outer(InletSide(f));
      outer(OutletSide(f));
      outer(OutletEnd(f, -h - t));
      list.AddArcRecord(2, kDotted, kHiddenLine, p, q, b, 90.0, 180.0);
      list.AddArcRecord(2, kSolid, kDuctBody, p, q, b - t, 90.0, 180.0);
      break;
    case SErboShape::kChamfered:
      Line(list, kDotted, kHiddenLine, {p, -h}, {h, q});
      outer(InletEnd(f, h + t + g));
      outer(InletSide(f));
      outer(OutletSide(f));
      outer(OutletEnd(f, -h - t - g));
      Line(list, kSolid, kDuctBody, {p, -h - t - g}, {h + t + g, q});
      break;
    case SErboShape::kHalfChamfer:
      Line(list, kDotted, kHiddenLine, {p, -h}, {p - b / 2.0 - g, -h});
      Line(list, kDotted, kHiddenLine, {p - b / 2.0 - g, -h}, {h, q + b / 2.0 + g});
      Line(list, kDotted, kHiddenLine, {h, q + b / 2.0 + g}, {h, q});
      outer(InletEnd(f, h + t));
      outer(InletSide(f));
      outer(OutletSide(f));
      outer(OutletEnd(f, -h - t));
      Line(list, kSolid, kDuctBody, {p, -h - t}, {p - b / 2.0, -h - t});
      Line(list, kSolid, kDuctBody, {p - b / 2.0, -h - t}, {h + t, q + b / 2.0});
      Line(list, kSolid, kDuctBody, {h + t, q + b / 2.0}, {h + t, q});
      break;
    case SErboShape::kNone:
      break;
  }
  if (in.hatch) Hatch(list, SErboHatchRegion(in), common.k4);
  return true;
}

}  // namespace tavelin
