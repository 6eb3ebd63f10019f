// tavelin: the desktop program. Runs the main dialog modally; when it closes,
// the program ends.
#include <QApplication>
#include <memory>

#include "app/dialog_registry.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "qt/appearance.hpp"
#include "qt/qt_ui_host.hpp"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Tavelin");
  tavelin::qt::ApplyAppearance(application);

  const std::filesystem::path root = tavelin::DefaultRoot();
  tavelin::ProcessLauncher launcher(root);
  tavelin::qt::QtUiHost host;
  tavelin::ui::AppContext app(root);
  app.ui = &host;
  app.launcher = &launcher;
  tavelin::InstallDialogFactory(app);

  // A missing info folder is reported by the main dialog's own file messages.
  std::unique_ptr<tavelin::ui::Dialog> dialog = tavelin::CreateDialog("MainDialog", app);
  host.RunModal(*dialog);
  return 0;
}
