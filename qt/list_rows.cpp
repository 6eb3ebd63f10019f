#include "qt/list_rows.hpp"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <algorithm>

namespace tavelin::qt {

void RowPictureDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  QStyleOptionViewItem row = option;
  initStyleOption(&row, index);
  // Only rows of plain text are kept as pictures; a row with an icon, a check
  // box or a background of its own, or a painter that is turned or scaled,
  // is drawn as ever. So is the row with the focus (one at most): its frame's
  // smoothed corners come out a shade apart when drawn at another height.
  const bool plain =
      !(row.state & QStyle::State_HasFocus) &&
      !(row.features & (QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator)) &&
      row.backgroundBrush.style() == Qt::NoBrush && row.rect.isValid() &&
      painter->transform().type() <= QTransform::TxTranslate;
  if (!plain) {
    QStyledItemDelegate::paint(painter, option, index);
    ++drawn_;
    return;
  }
  const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
  const Look look{row.widget ? row.widget->style() : nullptr,
                  row.font,
                  row.palette.cacheKey(),
                  ratio,
                  static_cast<int>(row.direction),
                  static_cast<int>(row.displayAlignment),
                  static_cast<int>(row.textElideMode),
                  static_cast<int>(row.features)};
  if (!(look == look_)) {
    recent_.clear();
    older_.clear();
    look_ = look;
  }
  const Key key{row.text, row.rect.size(), static_cast<int>(row.state)};
  QPixmap picture;
  if (auto it = recent_.constFind(key); it != recent_.cend()) {
    picture = *it;
    ++copied_;
  } else {
    if (auto old = older_.find(key); old != older_.end()) {
      picture = *old;
      older_.erase(old);
      ++copied_;
    } else {
      picture = QPixmap(row.rect.size() * ratio);
      picture.setDevicePixelRatio(ratio);
      QPainter into(&picture);
      // Under the row lies the list's own background, as the view paints it.
      const QPalette::ColorGroup group = !(row.state & QStyle::State_Enabled) ? QPalette::Disabled
                                         : !(row.state & QStyle::State_Active) ? QPalette::Inactive
                                                                                : QPalette::Active;
      into.fillRect(QRect(QPoint(0, 0), row.rect.size()), row.palette.brush(group, QPalette::Base));
      QStyleOptionViewItem at = option;
      at.rect.moveTopLeft(QPoint(0, 0));
      QStyledItemDelegate::paint(&into, at, index);
      ++drawn_;
    }
    // About two screens of rows: those on screen now and those just before.
    const auto* view = qobject_cast<const QAbstractItemView*>(row.widget);
    const int rows = view ? view->viewport()->height() / std::max(1, row.rect.height()) + 1 : 64;
    if (recent_.size() >= rows + 8) {
      older_ = std::move(recent_);
      recent_.clear();
    }
    recent_.insert(key, picture);
  }
  painter->drawPixmap(row.rect.topLeft(), picture);
}

void PictureScrollBar::paintEvent(QPaintEvent* event) {
  // While the pointer is over it or a button is down, the bar shows what is
  // hovered or pressed, which only the scroll bar itself knows.
  if (underMouse() || QApplication::mouseButtons() != Qt::NoButton || isSliderDown()) {
    picture_ = QPixmap();
    ++drawn_;
    QScrollBar::paintEvent(event);
    return;
  }
  QStyleOptionSlider option;
  initStyleOption(&option);
  option.subControls = QStyle::SC_All;
  const qreal ratio = devicePixelRatio();
  const Look look{style(),
                  static_cast<int>(option.direction),
                  option.rect,
                  style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
                  option.sliderPosition == option.minimum,
                  option.sliderPosition == option.maximum,
                  static_cast<int>(option.state),
                  option.palette.cacheKey(),
                  ratio};
  if (picture_.isNull() || !(look == kept_)) {
    picture_ = QPixmap(option.rect.size() * ratio);
    picture_.setDevicePixelRatio(ratio);
    picture_.fill(Qt::transparent);
    QPainter into(&picture_);
    style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &into, this);
    kept_ = look;
    ++drawn_;
  } else {
    ++copied_;
  }
  QPainter painter(this);
  painter.drawPixmap(0, 0, picture_);
}

void SetUpLongList(QListWidget& list) {
  // One line of text a row: a row inserted into thousands is laid out
  // without measuring every other row again.
  list.setUniformItemSizes(true);
  list.setItemDelegate(new RowPictureDelegate(&list));
  list.setVerticalScrollBar(new PictureScrollBar(Qt::Vertical, &list));
  list.setHorizontalScrollBar(new PictureScrollBar(Qt::Horizontal, &list));
}

}  // namespace tavelin::qt
