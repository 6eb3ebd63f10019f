// Captions fixed by the layout keep their place: a text too long for its
// button, label or frame is drawn in a smaller font, down to a floor.
#pragma once

#include <QFont>
#include <QSize>
#include <QWidget>

namespace tavelin::qt {

// The largest font, from `base` down, in which the text `widget` shows fits
// a widget of `size`; `base` for a widget whose text is not fixed.
QFont FittedFont(QWidget* widget, const QSize& size, const QFont& base);

// Whether the widget's text fits it in its current font.
bool TextFitsWidget(QWidget* widget);

}  // namespace tavelin::qt
