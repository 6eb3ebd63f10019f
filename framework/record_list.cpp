#include "framework/record_list.hpp"

#include <cmath>

#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {

CommonValues CommonValues::Load(const InfoFolder& info) {
  auto lines = info.ReadLines("KyotuSet.ini", 4);
  return {ToDouble(lines[0]), ToDouble(lines[1]), ToDouble(lines[2]), ToDouble(lines[3])};
}

RecordList::RecordList(size_t capacity) : records_(capacity), elements_(capacity, 0) {}

void RecordList::LoadAttributes(const InfoFolder& info) {
  auto lines = info.ReadLines("DakutoSet.ini", 7);
  for (int e = 1; e <= 7; ++e) {
    const std::string& line = lines[e - 1];
    SetAttributes(e, {Token(line, 1), Token(line, 2), Token(line, 3)});
  }
}

void RecordList::SetAttributes(int element, ElementAttributes attributes) {
  if (element >= 1 && element <= 10) attributes_[element] = std::move(attributes);
}

const ElementAttributes& RecordList::Attributes(int element) const {
  static const ElementAttributes kNone;
  if (element < 1 || element > 10) return kNone;
  return attributes_[element];
}

void RecordList::Clear() {
  count_ = 0;
  hatchCount = 0;
  auxCounter1 = 0;
  auxCounter2 = 0;
  overflowed_ = false;
}

void RecordList::SetExtents(double e1, double e2, double e3, double e4) {
  if (records_.empty()) return;
  records_[0] = "50," + FormatF(e1) + "," + FormatF(e2) + "," + FormatF(e3) + "," + FormatF(e4) + ",";
  elements_[0] = 0;
  count_ = 1;
}

bool RecordList::Reserve() {
  if (count_ >= records_.size()) {
    overflowed_ = true;
    return false;
  }
  return true;
}

Point RecordList::RotatePoint(double x, double y, RotateMode mode, double angle) const {
  switch (mode) {
    case RotateMode::kDialogAngle:
      if (rotation == 0.0) return {x, y};
      return RotateByAngle(x, y, rotation);
    case RotateMode::kExplicitAngle:
      return RotateByAngle(x, y, angle);
    case RotateMode::kRaw:
      break;
  }
  if (x == 0.0 && y == 0.0) return {0.0, 0.0};
  double r = std::sqrt(x * x + y * y);
  double t = std::atan(std::fabs(y) / std::fabs(x)) * kRadiansToDegrees;
  if (t > 360.0) t -= 360.0;
  return {r * std::cos(t * kDegreesToRadians), r * std::sin(t * kDegreesToRadians)};
}

Point RecordList::TransformLinePoint(double x, double y) const {
  Point p{x - baseX, y + baseY + extraY};
  if (mirror == 1) p.x = -p.x;
  if (rotation != 0.0) p = RotateByAngle(p.x, p.y, rotation);
  return p;
}

bool RecordList::AddLineRecord(int kind, int style, int element, double x1, double y1, double x2,
                               double y2) {
  if (!Reserve()) return false;
  Point p = TransformLinePoint(x1, y1);
  Point q = TransformLinePoint(x2, y2);
  const ElementAttributes& a = Attributes(element);
  std::string& r = records_[count_];
  r.clear();
  r += FormatD(kind);
  r += ',';
  r += FormatD(style);
  r += ',';
  r += a.colour;
  for (double v : {p.x, p.y, q.x, q.y}) {
    r += ',';
    r += FormatF(v);
  }
  r += ',';
  r += a.lineType;
  r += ',';
  r += a.layer;
  r += ',';
  elements_[count_] = element;
  ++count_;
  return true;
}

bool RecordList::AddArcRecord(int kind, int style, int element, double cx, double cy, double r,
                              double start, double end) {
  if (!Reserve()) return false;
  Point c{cx - baseX, cy + baseY};
  if (mirror == 1) {
    c.x = -c.x;
    double newStart = 180.0 - end;
    double newEnd = 180.0 - start;
    if (newStart > 360.0) newStart -= 360.0;
    if (newEnd > 360.0) newEnd -= 360.0;
    start = newStart;
    end = newEnd;
  }
  if (rotation != 0.0) {
    c = RotateByAngle(c.x, c.y, rotation);
    start += rotation;
    end += rotation;
  }
  const ElementAttributes& a = Attributes(element);
  std::string& rec = records_[count_];
  rec.clear();
  rec += FormatD(kind);
  rec += ',';
  rec += FormatD(style);
  rec += ',';
  rec += a.colour;
  for (double v : {c.x, c.y, r, start, end}) {
    rec += ',';
    rec += FormatF(v);
  }
  rec += ',';
  rec += a.lineType;
  rec += ',';
  rec += a.layer;
  rec += ',';
  elements_[count_] = element;
  ++count_;
  return true;
}

std::vector<std::string> RecordList::Records() const {
  return std::vector<std::string>(records_.begin(), records_.begin() + count_);
}

}  // namespace tavelin
