#include "framework/preview.hpp"

#include <algorithm>
#include <cmath>

#include "framework/record_list.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr double kPreviewDegreesToRadians = 0.01745327777777778;  // 3.14159 / 180

struct ParsedRecord {
  int kind = 0;
  int style = 0;
  double v[5] = {0, 0, 0, 0, 0};
};

ParsedRecord ParseRecord(const std::string& record) {
  ParsedRecord parsed;
  // kind, style, colour, then up to five numbers.
  size_t field = 0;
  size_t begin = 0;
  while (begin <= record.size() && field < 8) {
    size_t end = record.find(',', begin);
    if (end == std::string::npos) end = record.size();
    std::string_view text(record.data() + begin, end - begin);
    if (field == 0) parsed.kind = ToInt(text);
    else if (field == 1) parsed.style = ToInt(text);
    else if (field >= 3) parsed.v[field - 3] = ToDouble(text);
    ++field;
    begin = end + 1;
  }
  return parsed;
}

void SelectRecordPen(Canvas& canvas, int element, int style) {
  if (const Pen* pen = ElementPen(element)) canvas.SelectPen(*pen);
  if (style == 2 || style == 3) canvas.SelectPen(pens::kDotted);
  else if (style == 5) canvas.SelectPen(pens::kChain);
}

void DrawArc(Canvas& canvas, int X, int Y, double R, double a0, double a1) {
  PixelRect box{Pixel(X - R), Pixel(Y - R), Pixel(X + R), Pixel(Y + R)};
  canvas.Arc(box, Pixel(X + R * std::cos(a0 * kPreviewDegreesToRadians)),
             Pixel(Y - R * std::sin(a0 * kPreviewDegreesToRadians)),
             Pixel(X + R * std::cos(a1 * kPreviewDegreesToRadians)),
             Pixel(Y - R * std::sin(a1 * kPreviewDegreesToRadians)));
}

void DrawMarker(Canvas& canvas, int x, int y) {
  canvas.SelectPen(pens::kMarker);
  canvas.Arc({x - 2, y - 2, x + 2, y + 2}, x + 2, y, x + 2, y);
}

void FillClient(Canvas& canvas, const PixelRect& client) {
  canvas.FillRect({client.left + 1, client.top + 1, client.right - 1, client.bottom - 1},
                  kPreviewFill);
}

}  // namespace

const Pen* ElementPen(int element) {
  static const Pen kPens[] = {pens::kElement1, pens::kElement2, pens::kElement3,
                              pens::kElement4, pens::kElement5, pens::kElement6};
  if (element < 1 || element > 6) return nullptr;
  return &kPens[element - 1];
}

int Pixel(double value) {
  if (!std::isfinite(value)) return 0;
  if (value > 1e9) return 1000000000;
  if (value < -1e9) return -1000000000;
  return static_cast<int>(value);
}

bool ReadExtents(const RecordList& list, double extents[4]) {
  if (list.Count() == 0) return false;
  const std::string& record = list.Record(0);
  for (int i = 0; i < 4; ++i) extents[i] = ToDouble(Field(record, ',', i + 2));
  return true;
}

void DrawPreview(Canvas& canvas, const PixelRect& client, const RecordList& list, double numerator) {
  FillClient(canvas, client);
  double e[4];
  if (!ReadExtents(list, e)) return;
  double size = std::max(std::fabs(e[0]) + std::fabs(e[2]), std::fabs(e[1]) + std::fabs(e[3]));
  if (!(size > 0.0) || !std::isfinite(size)) return;
  const int cx = Pixel((client.left + client.right) * 0.5);
  const int cy = Pixel((client.top + client.bottom) * 0.5);
  const double s = numerator / size;
  for (size_t k = 1; k < list.Count(); ++k) {
    ParsedRecord r = ParseRecord(list.Record(k));
    SelectRecordPen(canvas, list.ElementOf(k), r.style);
    if (r.kind == 1) {
      canvas.MoveTo(Pixel(cx + r.v[0] * s), Pixel(cy - r.v[1] * s));
      canvas.LineTo(Pixel(cx + r.v[2] * s), Pixel(cy - r.v[3] * s));
    } else if (r.kind == 2) {
      DrawArc(canvas, Pixel(cx + r.v[0] * s), Pixel(cy - r.v[1] * s), r.v[2] * s, r.v[3], r.v[4]);
    }
  }
  DrawMarker(canvas, cx, cy);
}

void DrawOffsetPreview(Canvas& canvas, const PixelRect& client, const RecordList& list,
                       double numerator, double fraction) {
  double e[4];
  double size = 0.0;
  if (ReadExtents(list, e)) size = std::max(e[0] + e[2], e[1] + e[3]);
  if (!(size > 0.0) || !std::isfinite(size)) {
    FillClient(canvas, client);
    return;
  }
  DrawShiftedPreview(canvas, client, list, 50.0 * numerator / size, Pixel(-0.02 * list.baseX),
                     Pixel(-0.02 * list.baseY), fraction);
}

void DrawShiftedPreview(Canvas& canvas, const PixelRect& client, const RecordList& list, double w,
                        int tx, int ty, double fraction) {
  FillClient(canvas, client);
  if (list.Count() == 0 || !(w > 0.0) || !std::isfinite(w)) return;
  const int cx = Pixel((client.left + client.right) * fraction);
  const int cy = Pixel((client.top + client.bottom) * 0.5);
  auto X = [&](double x) { return Pixel(cx + (0.02 * x - tx) * w); };
  auto Y = [&](double y) { return Pixel(cy - (0.02 * y + ty) * w); };
  for (size_t k = 1; k < list.Count(); ++k) {
    ParsedRecord r = ParseRecord(list.Record(k));
    SelectRecordPen(canvas, list.ElementOf(k), r.style);
    if (r.kind == 1) {
      canvas.MoveTo(X(r.v[0]), Y(r.v[1]));
      canvas.LineTo(X(r.v[2]), Y(r.v[3]));
    } else if (r.kind == 2) {
      DrawArc(canvas, X(r.v[0]), Y(r.v[1]), r.v[2] * 0.02 * w, r.v[3], r.v[4]);
    }
  }
  DrawMarker(canvas, X(0.0), Y(0.0));
}

std::vector<SchematicLine> ParseSchematic(const std::vector<std::string>& lines) {
  std::vector<SchematicLine> parsed;
  parsed.reserve(lines.size());
  for (const std::string& text : lines) {
    auto fields = Split(text, ',');
    auto number = [&](size_t i) { return i < fields.size() ? ToDouble(fields[i]) : 0.0; };
    SchematicLine line;
    line.kind = fields.empty() ? 0 : ToInt(fields[0]);
    line.style = fields.size() > 1 ? ToInt(fields[1]) : 0;
    line.tag = fields.size() > 2 ? ToInt(fields[2]) : 0;
    if (line.kind == 1) {
      line.v[0] = number(3);
      line.v[1] = number(4) / 2.0;
      line.v[2] = number(5) / 3.0;
      line.v[3] = number(6) / 4.0;
    } else {
      for (int i = 0; i < 5; ++i) line.v[i] = number(3 + i);
    }
    parsed.push_back(line);
  }
  return parsed;
}

Pen SchematicStylePen(int style, const Pen& base) {
  if (style == 4) return pens::kChain;
  if (style == 2 || style == 3) return pens::kDotted;
  return base;
}

void DrawSchematicLine(Canvas& canvas, const SchematicLine& line, double originX, double originY,
                       double scale) {
  if (line.kind == 1) {
    canvas.MoveTo(Pixel(originX + line.v[0] * scale), Pixel(originY + line.v[1] * scale));
    canvas.LineTo(Pixel(originX + line.v[2] * scale), Pixel(originY + line.v[3] * scale));
  } else if (line.kind == 2) {
    DrawArc(canvas, Pixel(originX + line.v[0] * scale), Pixel(originY + line.v[1] * scale),
            line.v[2] * scale, line.v[3], line.v[4]);
  }
}

void DrawSchematic(Canvas& canvas, const PixelRect& anchorClient,
                   const std::vector<SchematicLine>& lines, double originX, double originY,
                   double scale, const std::function<Pen(const SchematicLine&)>& choosePen) {
  canvas.FillRect(anchorClient, kDialogFace);
  for (const SchematicLine& line : lines) {
    canvas.SelectPen(choosePen(line));
    DrawSchematicLine(canvas, line, originX, originY, scale);
  }
}

}  // namespace tavelin
