#include "framework/canvas.hpp"

namespace tavelin {
namespace {
std::string Colour(Rgb c) {
  return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}
std::string Box(const PixelRect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
         " " + std::to_string(r.bottom);
}
}  // namespace

void RecordingCanvas::SelectPen(const Pen& p) {
  pen = p;
  calls.push_back("pen " + std::to_string(static_cast<int>(p.style)) + " " + Colour(p.colour));
}
void RecordingCanvas::MoveTo(int x, int y) {
  calls.push_back("move " + std::to_string(x) + " " + std::to_string(y));
}
void RecordingCanvas::LineTo(int x, int y) {
  calls.push_back("line " + std::to_string(x) + " " + std::to_string(y));
}
void RecordingCanvas::Arc(const PixelRect& box, int x1, int y1, int x2, int y2) {
  calls.push_back("arc " + Box(box) + " " + std::to_string(x1) + " " + std::to_string(y1) + " " +
                  std::to_string(x2) + " " + std::to_string(y2));
}
void RecordingCanvas::FillRect(const PixelRect& rect, Rgb colour) {
  calls.push_back("fill " + Box(rect) + " " + Colour(colour));
}
void RecordingCanvas::Text(int x, int y, const std::string& text, Rgb colour) {
  calls.push_back("text " + std::to_string(x) + " " + std::to_string(y) + " " + Colour(colour) +
                  " " + text);
}
void RecordingCanvas::SetClip(const PixelRect* rect) {
  calls.push_back(rect ? "clip " + Box(*rect) : std::string("clip none"));
}

}  // namespace tavelin
