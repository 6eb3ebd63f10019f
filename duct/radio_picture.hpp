// A small picture beside a radio button that shows a figure instead of a
// caption (a corner shape, a register symbol): lines and arcs in a square
// of 20 by 20 units, y growing downward, drawn in black.
#pragma once

#include <vector>

#include "framework/canvas.hpp"
#include "framework/preview.hpp"

namespace tavelin {

// Draws `figure` into the square of `side` pixels whose upper left corner is
// (left, top).
void DrawRadioPicture(Canvas& canvas, int left, int top, int side,
                      const std::vector<SchematicLine>& figure);

// Building blocks of a figure.
SchematicLine PictureLine(double x1, double y1, double x2, double y2);
SchematicLine PictureArc(double cx, double cy, double r, double start, double end);

}  // namespace tavelin
