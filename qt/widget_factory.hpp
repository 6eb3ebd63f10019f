// The widget that shows one control of a dialog model: its kind, its
// colours and font, and the signals that reach the window's model.
#pragma once

#include <QFont>
#include <QWidget>

#include "framework/toolkit/control.hpp"

namespace tavelin::qt {

class DialogWindow;

// A new child of `window` for `control`, wired to the window's Click, Select,
// DoubleClick and Type, with the window as its event filter when it takes
// the focus. The window places and fills it later (Reflect).
QWidget* CreateControlWidget(DialogWindow& window, ui::Control& control, const QFont& font);

}  // namespace tavelin::qt
