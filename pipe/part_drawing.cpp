#include "pipe/part_drawing.hpp"

#include <algorithm>
#include <cmath>

#include "framework/preview.hpp"
#include "framework/text.hpp"

namespace tavelin::pipe {
namespace {

// The part menu turns points with its own factors: 180 / 3.14159265 to
// degrees and 3.14159 / 180 back.
constexpr double kToDegrees = 57.295827908797776;
constexpr double kToRadians = 0.01745327777777778;

constexpr double kPreviewPixels = 150.0;

std::vector<std::string> Fields(const std::string& line) { return Split(line, ','); }

bool Blank(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos;
}

// Fields [first, first + count) of `fields` as numbers; false when one is
// missing or not a finite number.
bool Numbers(const std::vector<std::string>& fields, size_t first, size_t count, double* out) {
  if (fields.size() < first + count) return false;
  for (size_t i = 0; i < count; ++i) {
    if (!IsNumberText(fields[first + i])) return false;
    out[i] = ToDouble(fields[first + i]);
    if (!std::isfinite(out[i])) return false;
  }
  return true;
}

// Kind and line class of an element line; false when either is not a whole number.
bool KindAndClass(const std::vector<std::string>& fields, int& kind, int& lineClass) {
  double values[2];
  if (!Numbers(fields, 0, 2, values)) return false;
  if (values[0] != std::floor(values[0]) || values[1] != std::floor(values[1])) return false;
  kind = static_cast<int>(std::clamp(values[0], -1e6, 1e6));
  lineClass = static_cast<int>(std::clamp(values[1], -1e6, 1e6));
  return true;
}

void DrawArcAt(Canvas& canvas, int X, int Y, double R, double a0, double a1) {
  PixelRect box{Pixel(X - R), Pixel(Y - R), Pixel(X + R), Pixel(Y + R)};
  canvas.Arc(box, Pixel(X + R * std::cos(a0 * kToRadians)),
             Pixel(Y - R * std::sin(a0 * kToRadians)), Pixel(X + R * std::cos(a1 * kToRadians)),
             Pixel(Y - R * std::sin(a1 * kToRadians)));
}

// A sheet pixel: truncated toward zero, but a value a hair below a whole
// pixel (the cell edges written with six decimals, 251.282051 * 0.195 =
// 48.99999995) counts as that pixel, so the drawn grid meets the click cells.
int SheetPixel(double value) {
  const double nearest = std::round(value);
  return std::fabs(value - nearest) < 1e-4 ? Pixel(nearest) : Pixel(value);
}

PixelRect Inside(const PixelRect& area) {
  return {area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
}

}  // namespace

bool IsNumberText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++exponent;
    if (exponent == 0) return false;
  }
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  return i == text.size();
}

std::optional<PartFile> ParsePartFile(const std::vector<std::string>& lines) {
  if (lines.empty()) return std::nullopt;
  std::vector<std::string> header = Fields(lines[0]);
  double h[5];
  if (!Numbers(header, 1, 5, h) || !(h[0] > 0.0)) return std::nullopt;
  PartFile part;
  part.scale = h[0];
  part.right = std::fabs(h[1]);
  part.bottom = std::fabs(h[2]);
  part.left = std::fabs(h[3]);
  part.top = std::fabs(h[4]);
  for (size_t n = 1; n < lines.size(); ++n) {
    if (Blank(lines[n])) continue;
    std::vector<std::string> fields = Fields(lines[n]);
    PartElement element;
    double f[5];
    bool ok = KindAndClass(fields, element.kind, element.lineClass);
    if (ok && element.kind == 1 && Numbers(fields, 3, 4, f)) {
      element.v[0] = f[0];
      element.v[1] = f[1] * -0.5;
      element.v[2] = f[2] / 3.0;
      element.v[3] = f[3] * -0.25;
    } else if (ok && element.kind == 2 && Numbers(fields, 3, 5, f) && f[2] > 0.0) {
      element.v[0] = f[0];
      element.v[1] = -f[1];
      element.v[2] = f[2];
      element.v[3] = f[3];
      element.v[4] = f[4];
    } else {
      ++part.skippedLines;
      continue;
    }
    part.elements.push_back(element);
  }
  return part;
}

Point BaseOffset(const PartFile& part, int column, int row) {
  Point offset;
  if (column == 0) offset.x = -part.left;
  if (column == 2) offset.x = part.right;
  if (row == 0) offset.y = part.top;
  if (row == 2) offset.y = -part.bottom;
  return offset;
}

Point TurnPoint(double x, double y, double angle) {
  const double r = std::sqrt(x * x + y * y);
  double t;
  if (x == 0.0 && y == 0.0) return {0.0, 0.0};
  if (y == 0.0) {
    t = x > 0.0 ? 0.0 : 180.0;
  } else if (x == 0.0) {
    t = y > 0.0 ? 90.0 : 270.0;
  } else {
    const double a = std::atan(std::fabs(y) / std::fabs(x)) * kToDegrees;
    if (x > 0.0 && y > 0.0)
      t = a;
    else if (x < 0.0 && y > 0.0)
      t = 180.0 - a;
    else if (x < 0.0)
      t = 180.0 + a;
    else
      t = 360.0 - a;
  }
  t += angle;
  return {r * std::cos(t * kToRadians), r * std::sin(t * kToRadians)};
}

PartElement PlaceElement(const PartElement& element, double s, const Placement& placement) {
  PartElement placed = element;
  const double angle = placement.rotation;
  if (element.kind == 1) {
    Point p1{s * (element.v[0] - placement.bx), s * (element.v[1] - placement.by)};
    Point p2{s * (element.v[2] - placement.bx), s * (element.v[3] - placement.by)};
    if (placement.mirror) {
      p1.x = -p1.x;
      p2.x = -p2.x;
    }
    if (angle != 0) {
      p1 = TurnPoint(p1.x, p1.y, angle);
      p2 = TurnPoint(p2.x, p2.y, angle);
    }
    placed.v[0] = p1.x;
    placed.v[1] = p1.y;
    placed.v[2] = p2.x;
    placed.v[3] = p2.y;
  } else if (element.kind == 2) {
    Point c{s * (element.v[0] - placement.bx), s * (element.v[1] - placement.by)};
    double a0 = element.v[3];
    double a1 = element.v[4];
    if (placement.mirror) {
      c.x = -c.x;
      const double oldA0 = a0;
      a0 = 180.0 - a1;
      a1 = 180.0 - oldA0;
      for (double* a : {&a0, &a1}) {
        if (*a < 0.0) *a += 360.0;
        if (*a > 360.0) *a -= 360.0;
      }
    }
    if (angle != 0) {
      c = TurnPoint(c.x, c.y, angle);
      a0 += angle;
      a1 += angle;
    }
    if (a0 == a1) {
      a0 = 0.0;
      a1 = 360.0;
    }
    placed.v[0] = c.x;
    placed.v[1] = c.y;
    placed.v[2] = s * element.v[2];
    placed.v[3] = a0;
    placed.v[4] = a1;
  }
  return placed;
}

std::vector<PartElement> PlacePart(const PartFile& part, const Placement& placement) {
  std::vector<PartElement> placed;
  placed.reserve(part.elements.size());
  for (const PartElement& element : part.elements) {
    placed.push_back(PlaceElement(element, part.scale, placement));
  }
  return placed;
}

const ClassAttributes* CategoryAttributes::Of(int lineClass) const {
  switch (lineClass) {
    case kSolidPart:
      return &solid;
    case kHiddenPart:
      return &hidden;
    case kCentreLine:
      return &centre;
    default:
      return nullptr;
  }
}

CategoryAttributes ParseCategoryAttributes(const std::string& line) {
  std::vector<std::string> groups = Split(line, ',');
  auto group = [&](size_t i) {
    const std::string text = i < groups.size() ? groups[i] : std::string();
    return ClassAttributes{Token(text, 1), ToInt(Token(text, 2)), ToInt(Token(text, 3))};
  };
  return {group(0), group(1), group(2)};
}

std::vector<std::string> HandOffLines(const std::vector<PartElement>& placed,
                                      const CategoryAttributes& attributes,
                                      const std::vector<std::string>& lineTypeNames) {
  std::vector<std::string> lines;
  for (const PartElement& e : placed) {
    const ClassAttributes* a = attributes.Of(e.lineClass);
    if (!a || (e.kind != 1 && e.kind != 2)) continue;
    const bool named = a->lineType >= 1 && static_cast<size_t>(a->lineType) <= lineTypeNames.size();
    const std::string typeName = named ? lineTypeNames[a->lineType - 1] : std::string();
    std::string text =
        FormatD(e.kind) + "," + FormatD(a->lineType) + "," + FormatD(a->colour) + ",";
    const int count = e.kind == 1 ? 4 : 5;
    // "+ 0.0" writes a negative zero as 0.000000.
    for (int i = 0; i < count; ++i) text += FormatF(e.v[i] + 0.0) + ",";
    text += typeName + "," + a->layer + ",";
    lines.push_back(std::move(text));
  }
  return lines;
}

Sheet ParseSheet(const std::vector<std::string>& lines) {
  Sheet sheet;
  if (lines.empty()) return sheet;
  std::vector<std::string> header = Fields(lines[0]);
  double scale = 0.0;
  if (Numbers(header, 1, 1, &scale) && scale > 0.0) sheet.scale = scale;
  for (size_t n = 1; n < lines.size(); ++n) {
    std::vector<std::string> fields = Fields(lines[n]);
    SheetElement element;
    if (!KindAndClass(fields, element.kind, element.lineClass)) continue;
    const size_t count = element.kind == 1 ? 4 : element.kind == 2 ? 5 : 0;
    if (count == 0 || !Numbers(fields, 3, count, element.v)) continue;
    sheet.elements.push_back(element);
  }
  return sheet;
}

void DrawSheet(Canvas& canvas, const PixelRect& area, const Sheet& sheet) {
  canvas.SetClip(&area);
  canvas.FillRect(Inside(area), kPreviewFill);
  canvas.SelectPen(pens::kBlack);
  const double s = sheet.scale * kSheetPixelsPerUnit;
  for (const SheetElement& e : sheet.elements) {
    if (e.kind == 1) {
      canvas.MoveTo(SheetPixel(kSheetLeft + e.v[0] * s), SheetPixel(kSheetTop + e.v[1] * s));
      canvas.LineTo(SheetPixel(kSheetLeft + e.v[2] * s), SheetPixel(kSheetTop + e.v[3] * s));
    } else if (e.kind == 2) {
      DrawArcAt(canvas, SheetPixel(kSheetLeft + e.v[0] * s), SheetPixel(kSheetTop + e.v[1] * s),
                e.v[2] * s, e.v[3], e.v[4]);
    }
  }
  canvas.SetClip(nullptr);
}

int CellAt(int x, int y) {
  int column = 0;
  int row = 0;
  for (int c = 1; c <= kSheetColumns; ++c) {
    const int left = kSheetLeft + (c - 1) * kCellWidth;
    if (left < x && x < left + kCellWidth) column = c;
  }
  for (int r = 1; r <= kSheetRows; ++r) {
    const int top = kSheetTop + (r - 1) * kCellHeight;
    if (top < y && y < top + kCellHeight) row = r;
  }
  if (column == 0 || row == 0) return 0;
  return (row - 1) * kSheetColumns + column;
}

void MarkCell(Canvas& canvas, int cell) {
  if (cell < 1 || cell > kSheetColumns * kSheetRows) return;
  const int left = kSheetLeft + (cell - 1) % kSheetColumns * kCellWidth + 2;
  const int top = kSheetTop + (cell - 1) / kSheetColumns * kCellHeight + 2;
  const int right = left + kCellWidth - 4;
  const int bottom = top + kCellHeight - 4;
  canvas.SelectPen(pens::kElement5);
  canvas.MoveTo(left, top);
  canvas.LineTo(right, top);
  canvas.LineTo(right, bottom);
  canvas.LineTo(left, bottom);
  canvas.LineTo(left, top);
}

void DrawPartPreview(Canvas& canvas, const PixelRect& area, const PartFile& part,
                     const Placement& placement, const std::vector<PartElement>& placed) {
  canvas.SetClip(&area);
  canvas.FillRect(Inside(area), kPreviewFill);
  // The part's outline after placing: its corners turned like every element.
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  bool first = true;
  const double corners[4][2] = {{-part.left, -part.bottom},
                                {part.right, -part.bottom},
                                {part.right, part.top},
                                {-part.left, part.top}};
  for (const auto& corner : corners) {
    PartElement point;
    point.kind = 1;
    point.v[0] = point.v[2] = corner[0];
    point.v[1] = point.v[3] = corner[1];
    PartElement moved = PlaceElement(point, part.scale, placement);
    minX = first ? moved.v[0] : std::min(minX, moved.v[0]);
    maxX = first ? moved.v[0] : std::max(maxX, moved.v[0]);
    minY = first ? moved.v[1] : std::min(minY, moved.v[1]);
    maxY = first ? moved.v[1] : std::max(maxY, moved.v[1]);
    first = false;
  }
  const double larger = std::max({part.right, part.bottom, part.left, part.top}) * part.scale;
  if (!(larger > 0.0) || !std::isfinite(larger)) {
    canvas.SetClip(nullptr);
    return;
  }
  const double k = kPreviewPixels / (2.0 * larger);
  const double midX = (minX + maxX) * 0.5;
  const double midY = (minY + maxY) * 0.5;
  const int cx = Pixel((area.left + area.right) * 0.5);
  const int cy = Pixel((area.top + area.bottom) * 0.5);
  auto X = [&](double x) { return Pixel(cx + (x - midX) * k); };
  auto Y = [&](double y) { return Pixel(cy - (y - midY) * k); };
  for (const PartElement& e : placed) {
    if (e.lineClass == kSolidPart)
      canvas.SelectPen(pens::kElement1);
    else if (e.lineClass == kHiddenPart)
      canvas.SelectPen(pens::kDotted);
    else if (e.lineClass == kCentreLine)
      canvas.SelectPen(pens::kChain);
    else
      continue;
    if (e.kind == 1) {
      canvas.MoveTo(X(e.v[0]), Y(e.v[1]));
      canvas.LineTo(X(e.v[2]), Y(e.v[3]));
    } else if (e.kind == 2) {
      DrawArcAt(canvas, X(e.v[0]), Y(e.v[1]), e.v[2] * k, e.v[3], e.v[4]);
    }
  }
  const int ox = X(0.0), oy = Y(0.0);
  canvas.SelectPen(pens::kMarker);
  canvas.Arc({ox - 2, oy - 2, ox + 2, oy + 2}, ox + 2, oy, ox + 2, oy);
  canvas.SetClip(nullptr);
}

}  // namespace tavelin::pipe
