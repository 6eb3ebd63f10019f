#include "qt/appearance.hpp"

#include <qdrawutil.h>

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <clocale>
#include <cmath>

#include "framework/preview.hpp"
#include "framework/toolkit/layout.hpp"

namespace tavelin::qt {
namespace {

#include "resources/icons/tavelin.xpm"

constexpr double kDesignDpi = 96.0;

// Fusion, except that a push-like switch that is on looks pressed in, so the
// chosen fitting and the active attribute set stand out.
class DialogStyle : public QProxyStyle {
 public:
  DialogStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    if (element == CE_PushButtonBevel && (option->state & State_On)) {
      const QRect r = option->rect.adjusted(0, 0, -1, -1);
      painter->save();
      painter->fillRect(r, option->palette.color(QPalette::Button).darker(118));
      qDrawShadePanel(painter, r, option->palette, true, 1);
      if (option->state & State_HasFocus) {
        painter->setPen(QPen(option->palette.color(QPalette::Highlight), 1));
        painter->drawRect(r.adjusted(2, 2, -2, -2));
      }
      painter->restore();
      return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
    // The focused button shows its focus as a dotted frame, whether the focus
    // came by the keyboard or by a click, as the classic dialogs show it.
    if (!(option->state & State_HasFocus)) return;
    QRect frame;
    if (element == CE_PushButton) {
      frame = option->rect.adjusted(4, 4, -5, -5);
    } else if (element == CE_RadioButton) {
      frame = subElementRect(SE_RadioButtonFocusRect, option, widget);
    } else if (element == CE_CheckBox) {
      frame = subElementRect(SE_CheckBoxFocusRect, option, widget);
    }
    if (!frame.isValid()) return;
    painter->save();
    QPen pen(option->palette.color(QPalette::WindowText), 1, Qt::DotLine);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(frame);
    painter->restore();
  }
};

}  // namespace

QString ResolveFamily(const QString& wanted) {
  const QStringList families = QFontDatabase::families();
  auto has = [&](const QString& family) { return families.contains(family, Qt::CaseInsensitive); };
  if (has(wanted)) return wanted;
  for (const char* fallback :
       {"Noto Sans CJK JP", "Noto Sans JP", "Source Han Sans JP", "IPAexGothic", "IPAGothic",
        "IPAPGothic", "VL PGothic", "VL Gothic", "TakaoPGothic", "Droid Sans Fallback"}) {
    if (has(fallback)) return fallback;
  }
  // Let the font configuration find a face with Japanese glyphs.
  return wanted;
}

QFont DialogFont(const ui::Layout& layout) {
  QFont font(ResolveFamily(QString::fromStdString(layout.font)));
  int points = layout.pointSize > 0 ? layout.pointSize : 9;
  font.setPixelSize(static_cast<int>(std::lround(points * kDesignDpi / 72.0)));
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QIcon AppIcon() {
  QIcon icon;
  QPixmap pixmap(tavelin_icon_xpm);
  icon.addPixmap(pixmap);
  icon.addPixmap(pixmap.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  icon.addPixmap(pixmap.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  return icon;
}

void ApplyAppearance(QApplication& app) {
  // Qt adopts the user's locale for the C run-time; numbers written by any C
  // routine must keep the decimal point.
  std::setlocale(LC_NUMERIC, "C");

  app.setStyle(new DialogStyle);

  const QColor face(kDialogFace.r, kDialogFace.g, kDialogFace.b);
  QPalette palette = app.style()->standardPalette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Window, face);
    palette.setColor(group, QPalette::Button, face.lighter(106));
    palette.setColor(group, QPalette::WindowText, Qt::black);
    palette.setColor(group, QPalette::ButtonText, Qt::black);
    palette.setColor(group, QPalette::Text, Qt::black);
    palette.setColor(group, QPalette::Base, Qt::white);
  }
  palette.setColor(QPalette::Disabled, QPalette::Window, face);
  palette.setColor(QPalette::Disabled, QPalette::Button, face);
  palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
  palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
  palette.setColor(QPalette::Disabled, QPalette::Base, face);
  app.setPalette(palette);

  ui::Layout defaults;
  app.setFont(DialogFont(defaults));
  app.setWindowIcon(AppIcon());
}

}  // namespace tavelin::qt
