// The larger preview of a generator: a resizable window that draws the
// records of the dialog's preview fitted to the window, with the wheel to
// zoom about the mouse, a drag to pan and a double-click to fit again.
#pragma once

#include <QPointF>
#include <QWidget>

namespace tavelin {
class RecordList;
}

namespace tavelin::qt {

class PreviewWindow : public QWidget {
 public:
  // `records` belongs to the dialog model and must outlive the window.
  PreviewWindow(const RecordList& records, const QString& title, QWidget* parent);

  double Zoom() const { return zoom_; }
  QPointF Pan() const { return pan_; }
  // Zooms by `factor` keeping the drawing under `at` in place.
  void ZoomAt(const QPointF& at, double factor);
  void Fit();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const RecordList& records_;
  double zoom_ = 1.0;
  QPointF pan_;
  QPointF dragFrom_;
  bool dragging_ = false;
};

}  // namespace tavelin::qt
