// The preview of a record list and the schematic picture of a generator,
// computed in integer pixels onto a canvas.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/canvas.hpp"

namespace tavelin {

class RecordList;

namespace pens {
inline constexpr Pen kElement1{PenStyle::kSolid, {0, 0, 0}};
inline constexpr Pen kElement2{PenStyle::kSolid, {0, 255, 0}};
inline constexpr Pen kElement3{PenStyle::kSolid, {0, 0, 255}};
inline constexpr Pen kElement4{PenStyle::kSolid, {0, 255, 255}};
inline constexpr Pen kElement5{PenStyle::kSolid, {255, 0, 0}};
inline constexpr Pen kElement6{PenStyle::kSolid, {255, 0, 255}};
inline constexpr Pen kDotted{PenStyle::kDot, {128, 128, 128}};
inline constexpr Pen kChain{PenStyle::kDashDot, {255, 50, 50}};
inline constexpr Pen kMarker{PenStyle::kSolid, {0, 255, 128}};
inline constexpr Pen kBlack{PenStyle::kSolid, {0, 0, 0}};
inline constexpr Pen kBackground{PenStyle::kSolid, {192, 192, 192}};
}  // namespace pens

inline constexpr Rgb kPreviewFill{225, 225, 225};
inline constexpr Rgb kDialogFace{192, 192, 192};

// The pen of element 1 to 6; nullptr for any other element (its records keep
// the pen selected before).
const Pen* ElementPen(int element);

// Truncation toward zero of a screen coordinate.
int Pixel(double value);

// The four extents of the record in slot 0; false when there is none.
bool ReadExtents(const RecordList& list, double extents[4]);

// The normal preview: the drawing scaled by numerator / max(|e1| + |e3|,
// |e2| + |e4|) about the centre of `client`, with the origin marker.
void DrawPreview(Canvas& canvas, const PixelRect& client, const RecordList& list, double numerator);

// The offset-compensated preview: the fitting stays in place while the base
// point moves. `fraction` places the centre across the width (0.5: middle).
void DrawOffsetPreview(Canvas& canvas, const PixelRect& client, const RecordList& list,
                       double numerator, double fraction);

// The offset-compensated preview with its scale and shift given: a point
// (x, y) of a record is drawn at (cx + (0.02 x - tx) w, cy - (0.02 y + ty) w).
void DrawShiftedPreview(Canvas& canvas, const PixelRect& client, const RecordList& list, double w,
                        int tx, int ty, double fraction);

// One line of a schematic file.
struct SchematicLine {
  int kind = 0;
  int style = 0;
  int tag = 0;
  double v[5] = {0, 0, 0, 0, 0};  // line: x1, y1, x2, y2 (unscaled); arc: cx, cy, r, a0, a1
};

std::vector<SchematicLine> ParseSchematic(const std::vector<std::string>& lines);

// The pen of a schematic line by its style alone: chain for 4, dotted for 2
// and 3, else solid black.
Pen SchematicStylePen(int style, const Pen& base = pens::kBlack);

// Draws one schematic line with the pen selected now, y growing downward.
void DrawSchematicLine(Canvas& canvas, const SchematicLine& line, double originX, double originY,
                       double scale);

// Fills the anchor's client rectangle with the dialog face, then draws every
// line with the pen `choosePen` gives it.
void DrawSchematic(Canvas& canvas, const PixelRect& anchorClient,
                   const std::vector<SchematicLine>& lines, double originX, double originY,
                   double scale, const std::function<Pen(const SchematicLine&)>& choosePen);

}  // namespace tavelin
