#include "qt/qt_ui_host.hpp"

#include <QApplication>
#include <QMessageBox>

#include "qt/dialog_window.hpp"

namespace tavelin::qt {

QWidget* QtUiHost::ParentFor(ui::Dialog* owner) const {
  DialogWindow* window = DialogWindow::Of(owner);
  if (window && window->isVisible()) return window;
  if (QWidget* active = QApplication::activeModalWidget()) return active;
  return QApplication::activeWindow();
}

int QtUiHost::ShowMessage(ui::Dialog* owner, const std::string& text, const std::string& caption) {
  QMessageBox box(ParentFor(owner));
  box.setWindowTitle(QString::fromStdString(caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(QString::fromStdString(text));
  box.setIcon(QMessageBox::NoIcon);
  box.setStandardButtons(QMessageBox::Ok);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Ok);
  if (runMessageBox) {
    runMessageBox(box);
  } else {
    box.exec();
  }
  return ui::kIdOk;
}

int QtUiHost::RunModal(ui::Dialog& dialog) {
  QWidget* parent = QApplication::activeModalWidget();
  DialogWindow window(dialog, parent);
  window.setWindowModality(Qt::ApplicationModal);
  window.Start();
  if (!dialog.Ended()) {
    if (runWindow) {
      runWindow(window);
    } else {
      window.exec();
    }
  }
  return dialog.Ended() ? dialog.Result() : ui::kIdCancel;
}

}  // namespace tavelin::qt
