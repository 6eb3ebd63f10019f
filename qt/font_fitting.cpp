#include "qt/font_fitting.hpp"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

#include "qt/group_frame.hpp"

namespace tavelin::qt {
namespace {

constexpr int kMinPixelSize = 8;
// Room kept free between a caption and the edge of its button or frame.
constexpr int kTextMargin = 2;

// The text a widget shows and the room it has for it, for the kinds whose
// captions are fixed by the layout or the model.
struct TextRoom {
  QString text;
  QRect room;  // in the widget's coordinates
  bool wrap = false;
  Qt::Alignment align = Qt::AlignLeft;
};

bool RoomOf(QWidget* widget, const QSize& size, TextRoom& out) {
  const QRect whole(QPoint(0, 0), size);
  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = whole;
    option.text = button->text();
    if (button->isDefault() || button->autoDefault()) {
      option.features |= QStyleOptionButton::AutoDefaultButton;
    }
    out.text = button->text().remove('&');
    out.room = button->style()
                   ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                   .adjusted(kTextMargin, 0, -kTextMargin, 0);
    out.align = Qt::AlignCenter;
    return true;
  }
  if (qobject_cast<QRadioButton*>(widget) || qobject_cast<QCheckBox*>(widget)) {
    auto* button = static_cast<QAbstractButton*>(widget);
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = whole;
    option.text = button->text();
    QStyle::SubElement element = qobject_cast<QRadioButton*>(widget)
                                     ? QStyle::SE_RadioButtonContents
                                     : QStyle::SE_CheckBoxContents;
    out.text = button->text().remove('&');
    out.room = button->style()->subElementRect(element, &option, button);
    out.align = Qt::AlignLeft | Qt::AlignVCenter;
    return true;
  }
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    int frame = label->frameWidth();
    out.text = label->text();
    out.room = whole.adjusted(frame, frame, -frame, -frame);
    out.wrap = label->wordWrap();
    out.align = label->alignment();
    return true;
  }
  if (auto* group = dynamic_cast<GroupFrame*>(widget)) {
    out.text = group->title();
    out.room = QRect(0, 0, std::max(0, GroupFrame::TitleRoom(size.width())), size.height());
    return true;
  }
  return false;
}

bool FitsIn(const TextRoom& room, const QFont& font) {
  if (room.text.isEmpty()) return true;
  QFontMetrics metrics(font);
  if (room.wrap) {
    QRect needed = metrics.boundingRect(QRect(0, 0, room.room.width(), 100000),
                                        Qt::TextWordWrap | room.align, room.text);
    return needed.width() <= room.room.width() && needed.height() <= room.room.height();
  }
  const QStringList lines = room.text.split('\n');
  for (const QString& line : lines) {
    if (metrics.horizontalAdvance(line) > room.room.width()) return false;
  }
  return metrics.height() * lines.size() <= std::max(room.room.height(), metrics.height());
}

}  // namespace

QFont FittedFont(QWidget* widget, const QSize& size, const QFont& base) {
  TextRoom room;
  if (!RoomOf(widget, size, room)) return base;
  QFont font = base;
  for (int pixels = base.pixelSize(); pixels >= kMinPixelSize; --pixels) {
    font.setPixelSize(pixels);
    if (FitsIn(room, font)) break;
  }
  return font;
}

bool TextFitsWidget(QWidget* widget) {
  TextRoom room;
  if (!RoomOf(widget, widget->size(), room)) return true;
  return FitsIn(room, widget->font());
}

}  // namespace tavelin::qt
