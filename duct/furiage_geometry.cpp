#include "duct/furiage_geometry.hpp"

#include <cmath>
#include <initializer_list>
#include <limits>

#include "framework/geometry.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

// No dimension of a drawing reaches this far (ten kilometres); beyond it a
// value is a typing slip and nothing is drawn.
constexpr double kLimit = 1.0e7;
constexpr double kSearchStep = 0.1;
constexpr int kSearchSteps = 899;
constexpr double kSearchStart = 1000.0;
constexpr double kFallbackAngle = 45.0;
constexpr double kCloseEnough = 1.0;

bool Sound(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v) || std::fabs(v) > kLimit) return false;
  }
  return true;
}

void Line(RecordList& list, int element, int style, double x1, double y1, double x2, double y2) {
  list.AddLineRecord(1, style, element, x1, y1, x2, y2);
}

// The base point 1 to 6 (left end top, centre, bottom, then the right end);
// any other value leaves the origin at the lower end's centre.
Point BasePoint(int base, double ll, double w) {
  switch (base) {
    case 1: return {0.0, w};
    case 2: return {0.0, 0.0};
    case 3: return {0.0, -w};
    case 4: return {ll, w};
    case 5: return {ll, 0.0};
    case 6: return {ll, -w};
    default: return {0.0, 0.0};
  }
}

// One bend joint at x = j (its inner end) and j2 (its outer end): the flange
// outline and the joint line, or the joint line alone without a margin, and
// the hidden joint with its diagonal.
void AddJoint(RecordList& list, double j, double j2, double w, double t, bool hidden) {
  if (t > 0.0) {
    Line(list, kDuctBody, kSolid, j2 + t, -w - t, j - t, -w - t);
    Line(list, kDuctBody, kSolid, j - t, -w - t, j - t, w + t);
    Line(list, kDuctBody, kSolid, j - t, w + t, j2 + t, w + t);
    Line(list, kDuctBody, kSolid, j, -w, j, w);
  } else if (t == 0.0) {
    Line(list, kDuctBody, kSolid, j, -w, j, w);
  }
  if (hidden) {
    Line(list, kHiddenLine, kDotted, j2, -w, j2, w);
    Line(list, kHiddenLine, kDotted, j2, w, j, -w);
  }
}

}  // namespace

double RoundedLength(double value) {
  if (!std::isfinite(value)) return std::numeric_limits<double>::quiet_NaN();
  const double whole = std::fabs(std::trunc(value));
  const double units = std::fmod(whole, 10.0);
  double rounded = whole - units;
  if (units >= 5.0) rounded += 10.0;
  return value < 0.0 ? -rounded : rounded;
}

std::string OneDecimalText(double value) {
  if (!std::isfinite(value)) return "0";
  const std::string text = FormatF(value);
  const size_t dot = text.find('.');
  if (dot != std::string::npos && dot + 1 < text.size() && text[dot + 1] != '0')
    return text.substr(0, dot + 2);
  return IntegerText(value);
}

double FuriageRawLength(const FuriageInput& in, double angleDegrees) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double g = in.factor * in.h;  // inner bend radius
  const double G = in.h + g;          // outer bend radius
  const double theta = angleDegrees * kDegreesToRadians;
  const double slope = std::tan(theta);
  if (!Sound({in.f, in.r1, in.r2, in.h, angleDegrees}) || slope == 0.0 || !std::isfinite(slope))
    return nan;
  const double rise = in.f - (g - g * std::cos(theta)) - (G - G * std::cos(theta));
  const double length = rise / slope + (in.r2 + G * std::sin(theta)) + (in.r1 + g * std::sin(theta));
  return Sound({length}) ? length : nan;
}

double SearchFuriageAngle(const FuriageInput& input, double target) {
  double best = kSearchStart;
  double angle = kFallbackAngle;
  for (int i = 1; i <= kSearchSteps; ++i) {
    const double d = i * kSearchStep;
    const double e = std::fabs(FuriageRawLength(input, d) - target);
    if (e < best) {  // never true for a length that could not be computed
      angle = d;
      best = e;
    }
    if (best < kCloseEnough) break;
  }
  return angle;
}

FuriageResult BuildFuriage(RecordList& list, const FuriageInput& input, const CommonValues& k) {
  FuriageResult result;
  list.Clear();
  list.rotation = 0.0;
  list.mirror = 0;
  list.baseX = 0.0;
  list.baseY = 0.0;
  FuriageInput in = input;
  if (in.mode == FuriageMode::kNone) return result;
  if (in.mode == FuriageMode::kLength) {
    const double found = SearchFuriageAngle(in, in.length);
    result.searched = true;
    result.angleText = OneDecimalText(found);
    if (Sound({in.length})) result.targetText = OneDecimalText(RoundedLength(in.length));
    // The drawing goes on from the angle as its edit now shows it.
    in.angle = ToDouble(result.angleText);
  }
  result.angle = in.angle;
  const double ll = RoundedLength(FuriageRawLength(in, in.angle));
  if (!Sound({ll, in.w, in.t, k.k1, k.k2, k.k3})) return result;
  result.length = ll;
  result.lengthText = OneDecimalText(ll);

  const double g = in.factor * in.h;
  const double G = in.h + g;
  const double theta = in.angle * kDegreesToRadians;
  const double w = in.w / 2.0;
  const double t = in.t;
  const double d = in.r1 + g * std::sin(theta);      // the lower bend's joint
  const double d2 = d + in.h * std::sin(theta);
  const double u = ll - (G * std::sin(theta) + in.r2);  // the upper bend's joint
  const double u2 = u + in.h * std::sin(theta);

  const Point base = BasePoint(in.base, ll, w);
  list.baseX = base.x;
  list.baseY = -base.y;
  list.SetExtents(ll, w + k.k2, k.k3, w + k.k2);

  if (k.k3 != 0.0) {
    Line(list, kDuctBody, kSolid, -k.k3, w, 0.0, w);
    Line(list, kDuctBody, kSolid, -k.k3, -w, 0.0, -w);
    Line(list, kDuctBody, kSolid, ll, w, ll + k.k3, w);
    Line(list, kDuctBody, kSolid, ll, -w, ll + k.k3, -w);
  }
  Line(list, kAngleWidth, kSolid, k.k1, w, k.k1, -w);
  Line(list, kAngleWidth, kSolid, ll - k.k1, w, ll - k.k1, -w);
  Line(list, kFlangeJoint, kSolid, 0.0, w + k.k2, 0.0, -w - k.k2);
  Line(list, kFlangeJoint, kSolid, ll, w + k.k2, ll, -w - k.k2);
  if (in.upper) AddJoint(list, u, u2, w, t, in.hidden);
  if (in.lower) AddJoint(list, d, d2, w, t, in.hidden);

  // The sides break at each drawn joint: from the flange outline's near edge
  // to the joint line.
  for (double y : {w, -w}) {
    double from = 0.0;
    if (in.lower) {
      Line(list, kDuctBody, kSolid, from, y, d - t, y);
      from = d;
    }
    if (in.upper) {
      Line(list, kDuctBody, kSolid, from, y, u - t, y);
      from = u;
    }
    Line(list, kDuctBody, kSolid, from, y, ll, y);
  }
  result.built = true;
  return result;
}

}  // namespace tavelin
