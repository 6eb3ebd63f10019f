#include "qt/group_frame.hpp"

#include <QFontMetrics>
#include <QPainter>

namespace tavelin::qt {

GroupFrame::GroupFrame(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
}

void GroupFrame::setTitle(const QString& title) {
  if (title == title_) return;
  title_ = title;
  update();
}

QRect GroupFrame::TitleRect() const {
  if (title_.isEmpty()) return {};
  QFontMetrics metrics(font());
  int width =
      std::min(metrics.horizontalAdvance(title_) + 4, std::max(0, TitleRoom(this->width()) + 4));
  return QRect(kTitleIndent - 2, 0, width, metrics.height());
}

void GroupFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QFontMetrics metrics(font());
  const int top = title_.isEmpty() ? 0 : metrics.height() / 2;
  const int right = width() - 1;
  const int bottom = height() - 1;
  const QColor shadow = palette().color(QPalette::Dark).darker(115);
  const QColor light = palette().color(QPalette::Light);
  // Etched: a shadow line with a light line one pixel below and right of it.
  painter.setPen(light);
  painter.drawRect(QRect(1, top + 1, right - 1, bottom - top - 1));
  painter.setPen(shadow);
  painter.drawRect(QRect(0, top, right - 1, bottom - top - 1));
  if (!title_.isEmpty()) {
    const QRect titleRect = TitleRect();
    painter.fillRect(titleRect, palette().color(QPalette::Window));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(titleRect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, title_);
  }
}

}  // namespace tavelin::qt
