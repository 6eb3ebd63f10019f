#include "duct/flex_geometry.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace tavelin {
namespace {

// Beyond this many millimetres a value is no drawing any more.
constexpr double kLargest = 1e7;
// A right angle, as the short-leg variant of the L bend tests it.
constexpr double kRightAngle = 90.0;

bool Drawable(double v) { return std::isfinite(v) && std::fabs(v) <= kLargest; }

double Radians(double degrees) { return degrees * 0.017453292519943295; }

struct Bounds {
  double minX = std::numeric_limits<double>::max();
  double minY = std::numeric_limits<double>::max();
  double maxX = std::numeric_limits<double>::lowest();
  double maxY = std::numeric_limits<double>::lowest();
  void Add(const Point& p) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  }
};

struct Arc {
  Point centre;
  double radius;
  double start;
  double end;  // counter-clockwise from start to end
};

// Walks the duct's centre line piece by piece and collects the outline and
// the bellows lines; the records are written once the whole duct is known,
// the extents record first and the bellows last.
class FlexPath {
 public:
  FlexPath(double bodyWidth, double collarWidth, double pitch)
      : half_(bodyWidth / 2.0), collarHalf_(collarWidth / 2.0), pitch_(pitch) {}

  // The start collar: a closed rectangle 50 long across the duct.
  void StartCollar() {
    Rectangle(0.0, kFlexCollar);
    if (half_ != collarHalf_) Across(kFlexCollar, half_);  // the insulation's end face
    Advance(kFlexCollar);
  }

  // The far collar, ending the duct.
  void EndCollar() {
    if (half_ != collarHalf_) Across(0.0, half_);
    Rectangle(0.0, kFlexCollar);
    Advance(kFlexCollar);
  }

  // A straight piece of the body, with bellows lines every pitch from its start.
  void Straight(double length) {
    if (length <= 0.0) return;
    lines_.push_back({At(0.0, half_), At(length, half_)});
    lines_.push_back({At(0.0, -half_), At(length, -half_)});
    if (pitch_ > 0.0 && Room(length / pitch_)) {
      const long count = static_cast<long>(length / pitch_);
      for (long i = 1; i <= count; ++i) bellows_.push_back(Across(i * pitch_));
    }
    Advance(length);
  }

  // A bend of the centre-line radius turning by `sweep` degrees, clockwise when
  // `right`; bellows lines at the interior points of c2 equal divisions.
  void Bend(double radius, double sweep, bool right) {
    if (sweep <= 0.0) return;
    const double side = right ? -90.0 : 90.0;
    const Point centre{pos_.x + radius * std::cos(Radians(heading_ + side)),
                       pos_.y + radius * std::sin(Radians(heading_ + side))};
    const double from = heading_ - side;  // direction from the centre to the start
    const double to = right ? from - sweep : from + sweep;
    const double lo = std::min(from, to), hi = std::max(from, to);
    arcs_.push_back({centre, radius + half_, lo, hi});
    arcs_.push_back({centre, radius - half_, lo, hi});
    for (double r : {radius + half_, radius - half_}) {
      for (int i = 0; i <= 32; ++i) {
        const double a = Radians(lo + (hi - lo) * i / 32.0);
        bounds_.Add({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
      }
    }
    const double divisions = radius * 6.283 * (sweep * 0.002777777777777778) / pitch_;
    if (pitch_ > 0.0 && Room(divisions)) {
      const long count = static_cast<long>(divisions);
      for (long i = 1; i < count; ++i) {
        const double a = Radians(from + (to - from) * i / count);
        const Point u{std::cos(a), std::sin(a)};
        bellows_.push_back(
            {{centre.x + (radius - half_) * u.x, centre.y + (radius - half_) * u.y},
             {centre.x + (radius + half_) * u.x, centre.y + (radius + half_) * u.y}});
      }
    }
    pos_ = {centre.x + radius * std::cos(Radians(to)), centre.y + radius * std::sin(Radians(to))};
    heading_ += right ? -sweep : sweep;
  }

  // More bellows lines than any list holds mean a pitch far too small.
  bool Overfull() const { return overfull_; }

  void Write(RecordList& list) {
    for (const Segment& s : lines_) {
      bounds_.Add(s.a);
      bounds_.Add(s.b);
    }
    // The preview centres the drawing on x = e1 / 2 and y = -|e4 - e2| / 2;
    // the sums give its width and height.
    const double width = bounds_.maxX - bounds_.minX;
    const double height = bounds_.maxY - bounds_.minY;
    const double e1 = bounds_.minX + bounds_.maxX;
    const double middle = std::fabs(bounds_.minY + bounds_.maxY);
    list.SetExtents(e1, (height - middle) / 2.0, width - e1, (height + middle) / 2.0);
    for (const Segment& s : lines_)
      list.AddLineRecord(1, kSolid, kDuctBody, s.a.x, s.a.y, s.b.x, s.b.y);
    for (const Arc& a : arcs_)
      list.AddArcRecord(2, kSolid, kDuctBody, a.centre.x, a.centre.y, a.radius, a.start, a.end);
    for (const Segment& s : bellows_)
      list.AddLineRecord(1, kSolid, kHatchingLine, s.a.x, s.a.y, s.b.x, s.b.y);
  }

  size_t RecordCount() const { return 1 + lines_.size() + arcs_.size() + bellows_.size(); }

 private:
  // The point `along` ahead of the current position and `across` to its left.
  Point At(double along, double across) const {
    double c = std::cos(Radians(heading_)), s = std::sin(Radians(heading_));
    // Whole quarter turns keep their exact axes (no "-0.000000" ends).
    if (std::fabs(c) < 1e-12) c = 0.0;
    if (std::fabs(s) < 1e-12) s = 0.0;
    return {pos_.x + along * c - across * s, pos_.y + along * s + across * c};
  }
  Segment Across(double along) const { return {At(along, half_), At(along, -half_)}; }
  void Across(double along, double half) { lines_.push_back({At(along, -half), At(along, half)}); }
  void Rectangle(double from, double to) {
    lines_.push_back({At(from, -collarHalf_), At(from, collarHalf_)});
    lines_.push_back({At(from, collarHalf_), At(to, collarHalf_)});
    lines_.push_back({At(to, collarHalf_), At(to, -collarHalf_)});
    lines_.push_back({At(to, -collarHalf_), At(from, -collarHalf_)});
  }
  void Advance(double length) { pos_ = At(length, 0.0); }
  // Whether `more` bellows lines still leave a sensible drawing.
  bool Room(double more) {
    if (bellows_.size() + more <= kMaxBellows) return true;
    overfull_ = true;
    return false;
  }

  static constexpr size_t kMaxBellows = 100000;

  double half_;
  double collarHalf_;
  double pitch_;
  Point pos_{0.0, 0.0};
  double heading_ = 0.0;
  std::vector<Segment> lines_;
  std::vector<Arc> arcs_;
  std::vector<Segment> bellows_;
  Bounds bounds_;
  bool overfull_ = false;
};

// The S: two equal bends of radius r turning by theta each way, with a
// straight across between them when the offset is larger than 2r. Returns
// the centre-line length of the bends and that middle piece.
struct SBends {
  double radius = 0.0;
  double turn = 0.0;    // degrees
  double middle = 0.0;  // straight between the bends
  double Length() const { return 2.0 * radius * Radians(turn) + middle; }
};

SBends SBendsFor(double radius, double offset) {
  SBends s;
  s.radius = radius;
  if (offset <= 0.0) return s;
  if (offset <= 2.0 * radius) {
    s.turn = std::acos(1.0 - offset / (2.0 * radius)) * 57.29577951308232;
  } else {
    s.turn = 90.0;
    s.middle = offset - 2.0 * radius;
  }
  return s;
}

}  // namespace

FlexOutcome FlexPrecheck(const FlexInput& in) {
  for (double v : {in.diameter, in.length, in.radiusFactor, in.angle, in.firstLeg, in.offset,
                   in.metalPitch, in.insulatedPitch}) {
    if (!Drawable(v)) return FlexOutcome::kBeyondDrawing;
  }
  if (in.length == 0.0 || in.diameter == 0.0) return FlexOutcome::kNothing;
  if (in.radiusFactor < 1.0) return FlexOutcome::kRadiusTooSmall;
  if (!(in.angle > 0.0) || in.angle >= 180.0) return FlexOutcome::kNothing;
  return FlexOutcome::kDrawn;
}

int FlexVariant(const FlexInput& in) {
  return in.angle == kRightAngle && in.diameter * in.radiusFactor + 100.0 > in.firstLeg ? 2 : 1;
}

double FlexTangent(double centreRadius, double angle) {
  const double h = angle * 0.008726646259722222;
  return std::cos(h) * (centreRadius / std::sin(h));
}

double FlexBendLength(double centreRadius, double angle) {
  return (centreRadius + centreRadius) * ((180.0 - angle) * 0.002777777777777778) * 3.141592;
}

namespace {

// The centre-line radius of the bends: the insulated kind is bent over its
// insulation, 50 wider than the duct.
double FlexCentreRadius(const FlexInput& in) {
  const double body = in.kind == FlexKind::kInsulated ? in.diameter + 50.0 : in.diameter;
  return body * in.radiusFactor;
}

}  // namespace

double FlexShortestFirstLeg(const FlexInput& in) {
  return FlexTangent(FlexCentreRadius(in), in.angle) + 50.0;
}

double FlexShortestLength(const FlexInput& in) {
  const double rc = FlexCentreRadius(in);
  if (in.shape == FlexShape::kS) {
    return SBendsFor(rc, std::fabs(in.offset)).Length() + 2.0 * kFlexCollar;
  }
  double firstStraight = in.firstLeg - FlexTangent(rc, in.angle);
  if (FlexVariant(in) == 2) firstStraight = std::max(firstStraight, kFlexCollar);
  return firstStraight + FlexBendLength(rc, in.angle) + 100.0;
}

FlexOutcome BuildFlex(RecordList& list, const FlexInput& in) {
  list.Clear();
  list.mirror = 0;
  list.rotation = 0.0;
  list.baseX = 0.0;
  list.baseY = 0.0;
  const FlexOutcome pre = FlexPrecheck(in);
  if (pre != FlexOutcome::kDrawn) return pre;
  if (in.kind == FlexKind::kNone || in.shape == FlexShape::kNone) return FlexOutcome::kNothing;
  // The base value: the duct's side instead of its centre line.
  list.baseY = in.sideBase ? in.diameter * 0.5 : 0.0;

  const bool insulated = in.kind == FlexKind::kInsulated;
  // The insulated kind is drawn over its insulation, 50 wider than the duct.
  const double body = insulated ? in.diameter + 50.0 : in.diameter;
  if (!(body > 0.0)) return FlexOutcome::kNothing;
  const double pitch = in.bellows ? (insulated ? in.insulatedPitch : in.metalPitch) : 0.0;
  const double rc = body * in.radiusFactor;
  FlexPath path(body, in.diameter, pitch);

  if (in.shape == FlexShape::kL) {
    const double tangent = FlexTangent(rc, in.angle);
    const double bend = FlexBendLength(rc, in.angle);
    double firstStraight = in.firstLeg - tangent;
    if (FlexVariant(in) == 2) {
      // Too short a first leg for the bend: the bend starts right behind the
      // collar when A leaves no room, so only the far leg is checked.
      firstStraight = std::max(firstStraight, kFlexCollar);
      if (in.length - firstStraight - bend < 100.0) return FlexOutcome::kLengthWrong;
    } else {
      if (in.length - firstStraight - bend < 100.0) return FlexOutcome::kLengthWrong;
      if (tangent + 50.0 > in.firstLeg) return FlexOutcome::kFirstLegWrong;
    }
    const double secondStraight = in.length - firstStraight - bend;
    path.StartCollar();
    path.Straight(firstStraight - kFlexCollar);
    path.Bend(rc, 180.0 - in.angle, true);
    path.Straight(secondStraight - kFlexCollar);
    path.EndCollar();
  } else {
    const double offset = std::fabs(in.offset);
    const double run = in.length - 2.0 * kFlexCollar;
    SBends s = SBendsFor(rc, offset);
    if (s.Length() > run) {
      if (insulated) return FlexOutcome::kLengthWrong;
      // The metal S has no message of its own: it is simply not drawn.
      if (run <= offset) return FlexOutcome::kNoRoom;
      // The metal duct takes a tighter bend: the largest radius whose S fits.
      double lo = 0.0, hi = rc;
      for (int i = 0; i < 100; ++i) {
        const double mid = (lo + hi) / 2.0;
        (SBendsFor(mid, offset).Length() > run ? hi : lo) = mid;
      }
      s = SBendsFor(lo, offset);
      if (s.radius < body / 2.0) return FlexOutcome::kNoRoom;
    }
    const double ends = (run - s.Length()) / 2.0;
    const bool down = in.offset > 0.0;
    path.StartCollar();
    path.Straight(ends);
    path.Bend(s.radius, s.turn, down);
    path.Straight(s.middle);
    path.Bend(s.radius, s.turn, !down);
    path.Straight(ends);
    path.EndCollar();
  }
  if (path.Overfull() || path.RecordCount() > list.Capacity()) return FlexOutcome::kBeyondDrawing;
  path.Write(list);
  return FlexOutcome::kDrawn;
}

}  // namespace tavelin
