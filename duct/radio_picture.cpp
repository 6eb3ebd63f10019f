#include "duct/radio_picture.hpp"

namespace tavelin {

void DrawRadioPicture(Canvas& canvas, int left, int top, int side,
                      const std::vector<SchematicLine>& figure) {
  canvas.SelectPen(pens::kBlack);
  for (const SchematicLine& line : figure) DrawSchematicLine(canvas, line, left, top, side / 20.0);
}

SchematicLine PictureLine(double x1, double y1, double x2, double y2) {
  SchematicLine line;
  line.kind = 1;
  line.style = 1;
  line.v[0] = x1;
  line.v[1] = y1;
  line.v[2] = x2;
  line.v[3] = y2;
  return line;
}

SchematicLine PictureArc(double cx, double cy, double r, double start, double end) {
  SchematicLine arc;
  arc.kind = 2;
  arc.style = 1;
  arc.v[0] = cx;
  arc.v[1] = cy;
  arc.v[2] = r;
  arc.v[3] = start;
  arc.v[4] = end;
  return arc;
}

}  // namespace tavelin
