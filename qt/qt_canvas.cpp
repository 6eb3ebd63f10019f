#include "qt/qt_canvas.hpp"

#include <QFontMetrics>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavelin::qt {
namespace {

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// The angle of the point (x, y) as seen from the centre of `box`, measured on
// the ellipse's parametrisation (x = a cos t, y = b sin t, y upward).
double ParametricAngle(const PixelRect& box, int x, int y) {
  double a = box.Width() / 2.0;
  double b = box.Height() / 2.0;
  double dx = x - (box.left + box.right) / 2.0;
  double dy = (box.top + box.bottom) / 2.0 - y;
  if (a <= 0 || b <= 0 || (dx == 0 && dy == 0)) return 0;
  return std::atan2(dy / b, dx / a) * 180.0 / std::numbers::pi;
}

}  // namespace

int QtCanvas::PenWidthFor(const QPainter& painter) {
  const QPaintDevice* device = painter.device();
  const double ratio = device ? device->devicePixelRatioF() : 1.0;
  return std::max(1, static_cast<int>(std::lround(ratio)));
}

QtCanvas::QtCanvas(QPainter& painter, const QFont& font)
    : painter_(painter), font_(font), penWidth_(PenWidthFor(painter)) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setPen(ToQPen(Pen{}, penWidth_));
  painter_.setBrush(Qt::NoBrush);
}

QPen QtCanvas::ToQPen(const Pen& pen, int width) {
  QPen q(ToQColor(pen.colour));
  q.setWidth(width);
  q.setCosmetic(true);
  q.setCapStyle(Qt::FlatCap);
  q.setJoinStyle(Qt::MiterJoin);
  switch (pen.style) {
    case PenStyle::kSolid:
      q.setStyle(Qt::SolidLine);
      break;
    case PenStyle::kDot:
      q.setDashPattern({3, 3});
      break;
    case PenStyle::kDashDot:
      q.setDashPattern({9, 6, 3, 6});
      break;
  }
  return q;
}

void QtCanvas::SelectPen(const Pen& pen) { painter_.setPen(ToQPen(pen, penWidth_)); }

void QtCanvas::MoveTo(int x, int y) {
  x_ = x;
  y_ = y;
}

void QtCanvas::LineTo(int x, int y) {
  painter_.drawLine(QPoint(x_, y_), QPoint(x, y));
  x_ = x;
  y_ = y;
}

QtCanvas::ArcAngles QtCanvas::AnglesOf(const PixelRect& box, int x1, int y1, int x2, int y2) {
  ArcAngles angles;
  angles.start = ParametricAngle(box, x1, y1);
  if (x1 == x2 && y1 == y2) return angles;  // the whole ellipse
  double sweep = ParametricAngle(box, x2, y2) - angles.start;
  while (sweep <= 0) sweep += 360;
  while (sweep > 360) sweep -= 360;
  // Two points on one ray also close the ellipse.
  angles.sweep = sweep < 1e-9 ? 360 : sweep;
  return angles;
}

void QtCanvas::Arc(const PixelRect& box, int x1, int y1, int x2, int y2) {
  if (box.Width() <= 0 || box.Height() <= 0) return;
  // Like the device context, the box leaves out its right and bottom edges.
  QRectF rect(box.left, box.top, box.Width() - 1, box.Height() - 1);
  ArcAngles angles = AnglesOf(box, x1, y1, x2, y2);
  QPainterPath path;
  path.arcMoveTo(rect, angles.start);
  path.arcTo(rect, angles.start, angles.sweep);
  QBrush brush = painter_.brush();
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPath(path);
  painter_.setBrush(brush);
}

void QtCanvas::FillRect(const PixelRect& rect, Rgb colour) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  painter_.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(colour));
}

void QtCanvas::Text(int x, int y, const std::string& text, Rgb colour) {
  QPen pen = painter_.pen();
  painter_.setFont(font_);
  painter_.setPen(ToQColor(colour));
  QFontMetrics metrics(font_);
  painter_.drawText(QPoint(x, y + metrics.ascent()), QString::fromStdString(text));
  painter_.setPen(pen);
}

void QtCanvas::SetClip(const PixelRect* rect) {
  if (!rect) {
    painter_.setClipping(false);
    return;
  }
  painter_.setClipRect(QRect(rect->left, rect->top, rect->Width(), rect->Height()),
                       Qt::ReplaceClip);
}

void PaintRecording::SelectPen(const Pen& pen) {
  calls_.push_back([pen](Canvas& c) { c.SelectPen(pen); });
}
void PaintRecording::MoveTo(int x, int y) {
  calls_.push_back([x, y](Canvas& c) { c.MoveTo(x, y); });
}
void PaintRecording::LineTo(int x, int y) {
  calls_.push_back([x, y](Canvas& c) { c.LineTo(x, y); });
}
void PaintRecording::Arc(const PixelRect& box, int x1, int y1, int x2, int y2) {
  calls_.push_back([=](Canvas& c) { c.Arc(box, x1, y1, x2, y2); });
}
void PaintRecording::FillRect(const PixelRect& rect, Rgb colour) {
  calls_.push_back([=](Canvas& c) { c.FillRect(rect, colour); });
}
void PaintRecording::Text(int x, int y, const std::string& text, Rgb colour) {
  calls_.push_back([=](Canvas& c) { c.Text(x, y, text, colour); });
}
void PaintRecording::SetClip(const PixelRect* rect) {
  if (!rect) {
    calls_.push_back([](Canvas& c) { c.SetClip(nullptr); });
  } else {
    PixelRect copy = *rect;
    calls_.push_back([copy](Canvas& c) { c.SetClip(&copy); });
  }
}

void PaintRecording::Replay(Canvas& target) const {
  for (const auto& call : calls_) call(target);
}

}  // namespace tavelin::qt
