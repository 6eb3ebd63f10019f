// The window system of the desktop program: message boxes are QMessageBoxes
// and dialogs run modally as DialogWindows.
#pragma once

#include <QString>
#include <functional>

#include "framework/toolkit/dialog.hpp"

class QMessageBox;
class QWidget;

namespace tavelin::qt {

class DialogWindow;

class QtUiHost : public ui::UiHost {
 public:
  // A modal box with the caption, the text and one OK button, over the window
  // of `owner` when it is open.
  int ShowMessage(ui::Dialog* owner, const std::string& text, const std::string& caption) override;
  // Builds the window of `dialog` over the innermost open one, initialises the
  // model and runs the window until the model ends; returns the model's result.
  int RunModal(ui::Dialog& dialog) override;
  // A box with "はい" and "いいえ" (Esc: no).
  bool AskYesNo(ui::Dialog* owner, const std::string& text, const std::string& caption) override;
  bool CopyText(const std::string& text) override;
  bool OpenFolder(const std::filesystem::path& folder) override;
  // The desktop's file dialog.
  std::optional<std::filesystem::path> ChooseFile(ui::Dialog* owner, const std::string& caption,
                                                  const std::string& filter, bool save,
                                                  const std::filesystem::path& suggested) override;

  // How a prepared box or window is run; tests answer without blocking. The
  // defaults call exec().
  std::function<void(QMessageBox&)> runMessageBox;
  std::function<void(DialogWindow&)> runWindow;

  // The program OpenFolder starts with the folder (found on PATH unless a
  // path), and how long it waits for that program's answer: xdg-open hands
  // the folder to the file manager and ends, with a status other than 0 when
  // none took it. One still running after the wait is taken as a success.
  QString folderOpener = QStringLiteral("xdg-open");
  int folderOpenerWaitMilliseconds = 5000;

 private:
  QWidget* ParentFor(ui::Dialog* owner) const;
};

}  // namespace tavelin::qt
