// The model's drawing surface on a QPainter, with the conventions of the
// classic device context: one-pixel pens, integer pixels, rectangles that
// leave out their right and bottom edges, and elliptic arcs given by two rays.
#pragma once

#include <QFont>
#include <QPainter>
#include <functional>
#include <vector>

#include "framework/canvas.hpp"

namespace tavelin::qt {

class QtCanvas : public Canvas {
 public:
  // `font` draws Text(). SetClip works inside whatever clip the window system
  // gave the painter.
  QtCanvas(QPainter& painter, const QFont& font);

  void SelectPen(const Pen& pen) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Arc(const PixelRect& box, int x1, int y1, int x2, int y2) override;
  void FillRect(const PixelRect& rect, Rgb colour) override;
  void Text(int x, int y, const std::string& text, Rgb colour) override;
  void SetClip(const PixelRect* rect) override;

  // The QPen that draws `pen`: one pixel wide, with the dash patterns of the
  // device context (dot: 3 on, 3 off; dash-dot: 9 on, 6 off, 3 on, 6 off).
  // `width` in device pixels: 1 at 100 %, 2 at 200 %, so lines stay as
  // visible on a high-density screen as on a classic one.
  static QPen ToQPen(const Pen& pen, int width = 1);
  // The pen width for `painter`'s device.
  static int PenWidthFor(const QPainter& painter);

  // The start angle and the counter-clockwise sweep, in degrees, of the arc
  // inside `box` from the ray through (x1, y1) to the ray through (x2, y2), as
  // angles of the ellipse's parametrisation. Equal points sweep 360 degrees.
  struct ArcAngles {
    double start = 0;
    double sweep = 360;
  };
  static ArcAngles AnglesOf(const PixelRect& box, int x1, int y1, int x2, int y2);

 private:
  QPainter& painter_;
  QFont font_;
  int penWidth_ = 1;
  int x_ = 0;
  int y_ = 0;
};

// Keeps the model's drawing calls so that they can be drawn again whenever the
// window repaints, without asking the model to paint (and rebuild) each time.
class PaintRecording : public Canvas {
 public:
  void SelectPen(const Pen& pen) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Arc(const PixelRect& box, int x1, int y1, int x2, int y2) override;
  void FillRect(const PixelRect& rect, Rgb colour) override;
  void Text(int x, int y, const std::string& text, Rgb colour) override;
  void SetClip(const PixelRect* rect) override;

  void Clear() { calls_.clear(); }
  bool Empty() const { return calls_.empty(); }
  size_t Size() const { return calls_.size(); }
  void Replay(Canvas& target) const;

 private:
  std::vector<std::function<void(Canvas&)>> calls_;
};

}  // namespace tavelin::qt
