#include "duct/kakubox_geometry.hpp"

#include <cmath>
#include <vector>

namespace tavelin {
namespace {

// Beyond this many millimetres a value is no drawing any more.
constexpr double kLargest = 1e7;

bool Drawable(double v) { return std::isfinite(v) && std::fabs(v) <= kLargest; }

void Rectangle(RecordList& list, int style, int element, double p, double q) {
  list.AddLineRecord(1, style, element, -p, -q, -p, q);
  list.AddLineRecord(1, style, element, -p, q, p, q);
  list.AddLineRecord(1, style, element, p, q, p, -q);
  list.AddLineRecord(1, style, element, p, -q, -p, -q);
}

}  // namespace

double KakuboxWidth(const KakuboxInput& input) { return input.registerWidth + 2.0 * input.margin; }
double KakuboxDepth(const KakuboxInput& input) { return input.registerDepth + 2.0 * input.margin; }

bool BuildKakubox(RecordList& list, const KakuboxInput& input, const CommonValues& common) {
  list.Clear();
  list.mirror = 0;
  list.rotation = 0.0;
  list.baseX = 0.0;
  list.baseY = 0.0;
  for (double v :
       {input.registerWidth, input.registerDepth, input.margin, input.lining, common.k4}) {
    if (!Drawable(v)) return false;
  }
  const double p = KakuboxWidth(input) / 2.0;
  const double q = KakuboxDepth(input) / 2.0;
  if (input.base == 2) {
    // The box's lower left corner at the insertion point.
    list.baseX = -p;
    list.baseY = q;
  }
  const double a = p - input.margin;
  const double b = q - input.margin;
  list.SetExtents(p, q, p, q);
  Rectangle(list, kSolid, kDuctBody, p, q);
  Rectangle(list, kDotted, kFixtureLine, a, b);
  if (input.lined && input.lining != 0.0) {
    Rectangle(list, kDotted, kHiddenLine, p - input.lining, q - input.lining);
  }
  switch (input.type) {
    case RegisterType::kCross:
      list.AddLineRecord(1, kDotted, kFixtureLine, -a, -b, a, b);
      list.AddLineRecord(1, kDotted, kFixtureLine, -a, b, a, -b);
      break;
    case RegisterType::kDiagonal:
      list.AddLineRecord(1, kDotted, kFixtureLine, -a, -b, a, b);
      break;
    case RegisterType::kHalfDiagonal:
      list.AddLineRecord(1, kDotted, kFixtureLine, -a, -b, a, b);
      list.AddLineRecord(1, kDotted, kFixtureLine, 0.0, 0.0, a, -b);
      break;
    case RegisterType::kNone:
      break;
  }
  if (input.lined) {
    const std::vector<Segment> box = {
        {{-p, -q}, {-p, q}},
        {{-p, q}, {p, q}},
        {{p, q}, {p, -q}},
        {{p, -q}, {-p, -q}},
    };
    Hatch(list, box, common.k4);
  }
  return true;
}

}  // namespace tavelin
