#include "qt/preview_window.hpp"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "framework/preview.hpp"
#include "framework/record_list.hpp"
#include "qt/qt_canvas.hpp"

namespace tavelin::qt {
namespace {

constexpr double kRadian = 3.14159265358979323846 / 180.0;
constexpr double kMinZoom = 0.05;
constexpr double kMaxZoom = 200.0;
// The share of the window the fitted drawing takes.
constexpr double kFitShare = 0.92;

}  // namespace

PreviewWindow::PreviewWindow(const RecordList& records, const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window), records_(records) {
  setWindowTitle(title);
  setAttribute(Qt::WA_DeleteOnClose);
  setMinimumSize(200, 150);
  resize(800, 600);
  setCursor(Qt::OpenHandCursor);
}

void PreviewWindow::Fit() {
  zoom_ = 1.0;
  pan_ = {};
  update();
}

void PreviewWindow::ZoomAt(const QPointF& at, double factor) {
  const double zoom = std::clamp(zoom_ * factor, kMinZoom, kMaxZoom);
  const QPointF centre(width() / 2.0, height() / 2.0);
  // The point under `at` stays there: at = centre + pan + v * zoom.
  pan_ = (at - centre) - (at - centre - pan_) * (zoom / zoom_);
  zoom_ = zoom;
  update();
}

void PreviewWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(kPreviewFill.r, kPreviewFill.g, kPreviewFill.b));
  double e[4];
  if (!ReadExtents(records_, e)) return;
  const double size = std::max(std::fabs(e[0]) + std::fabs(e[2]), std::fabs(e[1]) + std::fabs(e[3]));
  if (!(size > 0.0) || !std::isfinite(size)) return;
  // The box round the records themselves (the extents record does not follow
  // the mirror and the rotation), fitted to the window.
  double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
  auto add = [&](double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
  };
  for (size_t k = 1; k < records_.Count(); ++k) {
    const QStringList fields = QString::fromStdString(records_.Record(k)).split(',');
    auto number = [&](int i) { return i < fields.size() ? fields[i].toDouble() : 0.0; };
    const int kind = fields.value(0).toInt();
    if (kind == 1) {
      add(number(3), number(4));
      add(number(5), number(6));
    } else if (kind == 2) {
      // The ends of the arc and the quadrant points it passes, counter-clockwise.
      const double cx = number(3), cy = number(4), r = std::fabs(number(5));
      const double a0 = number(6), a1 = number(7);
      auto at = [&](double degrees) {
        add(cx + r * std::cos(degrees * kRadian), cy + r * std::sin(degrees * kRadian));
      };
      at(a0);
      at(a1);
      const double sweep = std::fmod(std::fmod(a1 - a0, 360.0) + 360.0, 360.0);
      for (int q = 0; q < 4; ++q) {
        const double ahead = std::fmod(std::fmod(90.0 * q - a0, 360.0) + 360.0, 360.0);
        if (sweep == 0.0 || ahead <= sweep) at(90.0 * q);
      }
    }
  }
  if (minX > maxX) return;
  const double fit = kFitShare * std::min(width() / std::max(maxX - minX, 1e-6),
                                          height() / std::max(maxY - minY, 1e-6));
  const double scale = fit * zoom_;
  // The preview draws (x, y) at the middle + (x s, -y s), s = numerator / size.
  const double dx = -(minX + maxX) / 2.0 * scale + pan_.x();
  const double dy = (minY + maxY) / 2.0 * scale + pan_.y();
  if (!std::isfinite(dx) || !std::isfinite(dy) || std::fabs(dx) > 1e8 || std::fabs(dy) > 1e8) return;
  QtCanvas canvas(painter, font());
  OffsetCanvas moved(canvas, static_cast<int>(std::lround(dx)), static_cast<int>(std::lround(dy)));
  DrawPreview(moved, PixelRect{0, 0, width(), height()}, records_, scale * size);
}

void PreviewWindow::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps != 0.0) ZoomAt(event->position(), std::pow(1.25, steps));
  event->accept();
}

void PreviewWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) {
    dragging_ = true;
    dragFrom_ = event->position();
    setCursor(Qt::ClosedHandCursor);
  }
}

void PreviewWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  pan_ += event->position() - dragFrom_;
  dragFrom_ = event->position();
  update();
}

void PreviewWindow::mouseReleaseEvent(QMouseEvent*) {
  dragging_ = false;
  setCursor(Qt::OpenHandCursor);
}

void PreviewWindow::mouseDoubleClickEvent(QMouseEvent*) { Fit(); }

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
  const QPointF centre(width() / 2.0, height() / 2.0);
  switch (event->key()) {
    case Qt::Key_Plus:
      ZoomAt(centre, 1.25);
      return;
    case Qt::Key_Minus:
      ZoomAt(centre, 1 / 1.25);
      return;
    case Qt::Key_0:
    case Qt::Key_Home:
      Fit();
      return;
    case Qt::Key_Escape:
      close();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace tavelin::qt
