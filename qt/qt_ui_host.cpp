#include "qt/qt_ui_host.hpp"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QProcess>
#include <QStandardPaths>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

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

bool QtUiHost::AskYesNo(ui::Dialog* owner, const std::string& text, const std::string& caption) {
  QMessageBox box(ParentFor(owner));
  box.setWindowTitle(QString::fromStdString(caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(QString::fromStdString(text));
  box.setIcon(QMessageBox::Question);
  QPushButton* yes = box.addButton("はい", QMessageBox::YesRole);
  QPushButton* no = box.addButton("いいえ", QMessageBox::NoRole);
  box.setDefaultButton(no);
  box.setEscapeButton(no);
  if (runMessageBox) {
    runMessageBox(box);
  } else {
    box.exec();
  }
  return box.clickedButton() == yes;
}

bool QtUiHost::CopyText(const std::string& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  clipboard->setText(QString::fromStdString(text));
  return true;
}

bool QtUiHost::OpenFolder(const std::filesystem::path& folder) {
  // QDesktopServices::openUrl reports success as soon as xdg-open starts, so
  // a desktop without a file manager would get no word at all: the opener is
  // run here, without a shell, and its exit status read.
  const QString opener = folderOpener.contains('/') ? folderOpener
                                                    : QStandardPaths::findExecutable(folderOpener);
  if (opener.isEmpty()) return false;
  auto* process = new QProcess(QCoreApplication::instance());
  process->setProgram(opener);
  process->setArguments({QString::fromStdString(folder.string())});
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  process->start();
  if (!process->waitForStarted(folderOpenerWaitMilliseconds)) {
    delete process;
    return false;
  }
  if (process->waitForFinished(folderOpenerWaitMilliseconds)) {
    const bool opened = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    delete process;
    return opened;
  }
  // Still running: the file manager itself, started in the foreground.
  QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
  return true;
}

std::optional<std::filesystem::path> QtUiHost::ChooseFile(ui::Dialog* owner,
                                                          const std::string& caption,
                                                          const std::string& filter, bool save,
                                                          const std::filesystem::path& suggested) {
  const QString start = QString::fromStdString(suggested.string());
  const QString chosen =
      save ? QFileDialog::getSaveFileName(ParentFor(owner), QString::fromStdString(caption), start,
                                          QString::fromStdString(filter))
           : QFileDialog::getOpenFileName(ParentFor(owner), QString::fromStdString(caption), start,
                                          QString::fromStdString(filter));
  if (chosen.isEmpty()) return std::nullopt;
  return std::filesystem::path(chosen.toStdString());
}

int QtUiHost::RunModal(ui::Dialog& dialog) {
  QWidget* parent = QApplication::activeModalWidget();
  DialogWindow window(dialog, parent);
  window.setWindowModality(Qt::ApplicationModal);
  window.Start();
  // A model that watches something outside (the block folder) looks again
  // every so often while it is open.
  QTimer poll;
  if (dialog.PollInterval() > 0) {
    // The interval may change (shorter while a first listing is awaited).
    QObject::connect(&poll, &QTimer::timeout, &window, [&window, &poll, &dialog] {
      window.Poll();
      if (dialog.PollInterval() > 0 && poll.interval() != dialog.PollInterval()) {
        poll.setInterval(dialog.PollInterval());
      }
    });
    poll.start(dialog.PollInterval());
  }
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
