// The look shared by every window of the program: the style, the palette with
// the classic dialog face (the colour the dialogs' own drawings assume), the
// dialog font and the application icon.
#pragma once

#include <QFont>
#include <QIcon>
#include <QString>

class QApplication;
class QWidget;

namespace tavelin::ui {
struct Layout;
}

namespace tavelin::qt {

// The dialog font of `layout`: its face when installed, else a Japanese face
// that is, at the size the layout was designed for (points at 96 dots per
// inch, as whole pixels, so the pixel layout does not move with the screen).
QFont DialogFont(const ui::Layout& layout);

// The family actually used for `wanted`, falling back to other Japanese faces.
QString ResolveFamily(const QString& wanted);

QIcon AppIcon();

// Style, palette, default font and window icon of the whole program. Also keeps
// the decimal point of the C run-time at "." whatever the user's locale.
void ApplyAppearance(QApplication& app);

}  // namespace tavelin::qt
