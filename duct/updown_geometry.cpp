#include "duct/updown_geometry.hpp"

#include <cmath>
#include <initializer_list>
#include <limits>

#include "framework/geometry.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

// No dimension of a drawing reaches this far (ten kilometres).
constexpr double kLimit = 1.0e7;

bool Sound(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v) || std::fabs(v) > kLimit) return false;
  }
  return true;
}

struct Pen {
  int style;
  int element;
};
constexpr Pen kBody{kSolid, kDuctBody};
constexpr Pen kHidden{kDotted, kHiddenLine};
constexpr Pen kAngle{kSolid, kAngleWidth};
constexpr Pen kJoint{kSolid, kFlangeJoint};

// Adds lines in the plan's coordinates; with `far` each x is measured back
// from the far end, which mirrors the first offset into the second.
struct Drawer {
  RecordList& list;
  double ltot;
  bool far = false;
  void operator()(Pen pen, double x1, double y1, double x2, double y2) const {
    if (far) {
      x1 = ltot - x1;
      x2 = ltot - x2;
    }
    list.AddLineRecord(1, pen.style, pen.element, x1, y1, x2, y2);
  }
};

}  // namespace

double UpdownRun(double h1, double h2, double v) {
  const double a = h2 * 0.5 + h1 * 1.5;
  const double b = (h2 * 1.5 + h1 * 0.5) - v;
  const double under = a * a - b * b;
  if (!(under >= 0.0)) return std::numeric_limits<double>::quiet_NaN();
  const double root = std::sqrt(under);
  if (!std::isfinite(root)) return root;
  const std::string text = FormatF(root);
  const size_t dot = text.find('.');
  double run = std::trunc(root);
  if (dot != std::string::npos && dot + 1 < text.size() && text[dot + 1] >= '5') run += 1.0;
  return run;
}

UpdownOutcome CheckUpdown(const UpdownInput& in, const CommonValues& k) {
  if (!Sound({in.w1, in.w2, in.of, in.h1, in.h2, in.v, in.s1, in.s2, in.m, k.k1, k.k2, k.k3}))
    return UpdownOutcome::kOutOfRange;
  const double r = UpdownRun(in.h1, in.h2, in.v);
  if (std::isnan(r)) {
    // The offset's bends meet only while V lies between H2 - H1 and
    // 2 (H1 + H2); beyond the middle of that span V is too large, else too small.
    return in.v > in.h2 * 1.5 + in.h1 * 0.5 ? UpdownOutcome::kRiseTooLarge
                                            : UpdownOutcome::kRiseTooSmall;
  }
  const double l1 = r + in.s2 + in.s1;
  if (!Sound({r, l1, (l1 + l1) + in.m})) return UpdownOutcome::kOutOfRange;
  return UpdownOutcome::kBuilt;
}

UpdownResult BuildUpdown(RecordList& list, const UpdownInput& in, const CommonValues& k) {
  UpdownResult result;
  list.Clear();
  list.rotation = 0.0;
  list.mirror = 0;
  list.baseX = 0.0;
  list.baseY = 0.0;
  result.outcome = CheckUpdown(in, k);
  if (result.outcome != UpdownOutcome::kBuilt) return result;
  const double r = UpdownRun(in.h1, in.h2, in.v);
  const double l1 = r + in.s2 + in.s1;
  const double ltot = (l1 + l1) + in.m;
  result.run = r;
  result.total = ltot;

  const double w = in.w1 / 2.0;
  const double yT = in.w2 - w - in.of;  // the middle part's sides
  const double yB = -(w + in.of);
  const double a = in.h1 * 0.25;
  const double a3 = in.h1 * 0.5 + in.h1 * 0.25;
  const double xs = (l1 - in.h2 * 0.5) - in.h2 * 0.25;
  const double xe = l1 - in.h2 * 0.25;
  // The bend lines seen ("v") and those behind ("h") swap with the direction.
  const Pen v = in.lower ? kBody : kHidden;
  const Pen h = in.lower ? kHidden : kBody;

  switch (in.base) {
    case 2: list.baseY = w; break;  // (0, -w)
    case 3: list.baseX = l1; break;
    case 4:
      list.baseX = l1;
      list.baseY = -yB;
      break;
    default: break;  // (0, 0)
  }
  list.SetExtents(ltot + k.k3, w + in.of, k.k3, yT);

  // One offset; the second is the first measured back from the far end,
  // except that its middle sides always stop at the bend's end.
  auto offset = [&](const Drawer& line, bool second) {
    const double xm = (!second && in.midFlange) ? l1 : xe;
    // The end extensions run outward from the far end.
    if (k.k3 != 0.0 && !second) {
      line(kBody, -k.k3, w, 0.0, w);
      line(kBody, -k.k3, -w, 0.0, -w);
    } else if (k.k3 != 0.0) {
      line(kBody, 0.0, w, -k.k3, w);
      line(kBody, 0.0, -w, -k.k3, -w);
    }
    if (w == yT) {
      line(kBody, 0.0, w, l1, w);
      line(v, a3, w, a3, -w);
      line(v, xe, yT, xe, yB);
    } else {
      line(kBody, 0.0, w, a, w);
      line(kBody, a, w, xs, yT);
      line(kBody, xs, yT, xm, yT);
      line(v, a, w, a3, w);
      line(v, a3, w, xe, yT);
      line(v, a3, w, a3, -w);
      line(v, xe, yT, xe, yB);
    }
    if (in.of != 0.0) {
      line(kBody, 0.0, -w, a, -w);
      line(kBody, a, -w, xs, yB);
      line(kBody, xs, yB, xm, yB);
      line(v, a, -w, a3, -w);
      line(v, a3, -w, xe, yB);
      line(v, a3, -w, a3, w);
      line(v, xe, yB, xe, yT);
    } else {
      line(kBody, 0.0, -w, l1, -w);
    }
    line(h, a, w, a, -w);
    line(h, xs, yT, xs, yB);
    // The hidden diagonals run the other way round in the second offset.
    if (second) {
      line(kHidden, a, w, a3, -w);
      line(kHidden, xs, yT, xe, yB);
    } else {
      line(kHidden, a3, w, a, -w);
      line(kHidden, xe, yT, xs, yB);
    }
    line(kAngle, k.k1, w, k.k1, -w);
    line(kJoint, 0.0, w + k.k2, 0.0, -w - k.k2);
  };

  Drawer first{list, ltot, false};
  offset(first, false);
  if (in.midFlange) {
    first(kAngle, l1 - k.k1, yT, l1 - k.k1, yB);
    first(kAngle, l1 + k.k1, yT, l1 + k.k1, yB);
    first(kJoint, l1, yT + k.k2, l1, yB - k.k2);
  }
  if (in.bothSides) {
    Drawer second{list, ltot, true};
    offset(second, true);
    // The middle stretch between the two bends.
    first(kBody, ltot - xe, yT, xe, yT);
    first(kBody, ltot - xe, yB, xe, yB);
  }
  return result;
}

}  // namespace tavelin
