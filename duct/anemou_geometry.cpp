#include "duct/anemou_geometry.hpp"

#include <cmath>

#include "framework/text.hpp"

namespace tavelin {
namespace {

// Beyond this many millimetres a value is no drawing any more.
constexpr double kLargest = 1e7;

bool Drawable(double v) { return std::isfinite(v) && std::fabs(v) <= kLargest; }

}  // namespace

double AnemoUStubStart(const AnemoUInput& input) {
  const double r = input.body / 2.0;
  const double h = input.stubWidth / 2.0;
  const double square = r * r - h * h;
  return square > 0.0 ? std::sqrt(square) : 0.0;
}

bool BuildAnemoU(RecordList& list, const AnemoUInput& input, const CommonValues& common) {
  list.Clear();
  list.baseX = 0.0;
  list.baseY = 0.0;
  for (double v : {input.body, input.stubLength, input.neck, input.face, input.stubWidth,
                   input.angle, common.k3}) {
    if (!Drawable(v)) return false;
  }
  list.mirror = input.mirror ? 1 : 0;
  list.rotation = input.angle;
  const double a = input.face / 2.0;
  const double h = input.stubWidth / 2.0;
  const double end = input.body / 2.0 + input.stubLength;
  const double start = AnemoUStubStart(input);
  list.SetExtents(end + common.k3, a, a, a);
  list.AddLineRecord(1, kSolid, kDuctBody, end, h, start, h);
  list.AddLineRecord(1, kSolid, kDuctBody, end, -h, start, -h);
  list.AddLineRecord(1, kSolid, kFlangeJoint, end, h, end, -h);
  list.AddArcRecord(2, kSolid, kDuctBody, 0.0, 0.0, input.body / 2.0, 0.0, 360.0);
  list.AddArcRecord(2, kDotted, kHiddenLine, 0.0, 0.0, input.neck / 2.0, 0.0, 360.0);
  if (input.anemostat == AnemoUFace::kRound) {
    list.AddArcRecord(2, kDotted, kFixtureLine, 0.0, 0.0, a, 0.0, 360.0);
  } else if (input.anemostat == AnemoUFace::kSquare) {
    list.AddLineRecord(1, kDotted, kFixtureLine, -a, -a, -a, a);
    list.AddLineRecord(1, kDotted, kFixtureLine, -a, a, a, a);
    list.AddLineRecord(1, kDotted, kFixtureLine, a, a, a, -a);
    list.AddLineRecord(1, kDotted, kFixtureLine, a, -a, -a, -a);
  }
  return true;
}

std::optional<AnemoSize> FindAnemoSize(const std::vector<std::string>& lines,
                                       const std::string& size) {
  std::optional<AnemoSize> found;
  for (const std::string& line : lines) {
    if (Field(line, ',', 1) != size) continue;
    found = AnemoSize{Field(line, ',', 2), Field(line, ',', 3), Field(line, ',', 4),
                      Field(line, ',', 5)};
  }
  return found;
}

}  // namespace tavelin
