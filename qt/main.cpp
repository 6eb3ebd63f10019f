// tavelin: the desktop program. Runs the main dialog modally; when it closes,
// the program ends.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/dialog_registry.hpp"
#include "app/installer.hpp"
#include "framework/background_flush.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "qt/appearance.hpp"
#include "qt/qt_ui_host.hpp"

namespace {

// For timing the start (bench/start_visible.py): with TAVELIN_QUIT_WHEN_SHOWN
// set, the first paint of a window prints the wall clock once it is done and
// ends the program.
class QuitWhenShown : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
      painted_ = true;
      // Once this paint and the others it queued are done.
      QTimer::singleShot(0, [] {
        const double now = std::chrono::duration<double>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
        std::printf("shown %.6f\n", now);
        std::fflush(stdout);
        std::_Exit(0);
      });
    }
    return false;
  }

 private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QuitWhenShown quitWhenShown;
  if (!qEnvironmentVariableIsEmpty("TAVELIN_QUIT_WHEN_SHOWN")) {
    application.installEventFilter(&quitWhenShown);
  }
  QApplication::setApplicationName("Tavelin");
  tavelin::qt::ApplyAppearance(application);

  const std::filesystem::path root = tavelin::DefaultRoot();
  // The first start sets up the root from the installed data.
  std::string setupError;
  try {
    tavelin::PrepareRoot(root, QCoreApplication::applicationFilePath().toStdString());
  } catch (const tavelin::FileError& error) {
    setupError = error.what();
  }
  tavelin::ProcessLauncher launcher(root);
  tavelin::qt::QtUiHost host;
  tavelin::ui::AppContext app(root);
  app.ui = &host;
  app.launcher = &launcher;
  tavelin::InstallDialogFactory(app);

  // A missing info folder is reported by the main dialog's own file messages.
  if (!setupError.empty()) {
    host.ShowMessage(nullptr, "作業フォルダ " + root.string() + " を準備できません。\n" + setupError,
                     tavelin::ui::kProductTitle);
  }
  std::unique_ptr<tavelin::ui::Dialog> dialog = tavelin::CreateDialog("MainDialog", app);
  host.RunModal(*dialog);
  // The settings written in the background are on the disk before the end.
  tavelin::FlushQueuedFiles();
  return 0;
}
