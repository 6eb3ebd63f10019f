// tavelin-screenshot: draws a dialog as the desktop program shows it, without a
// display, and saves the picture.
//
//   tavelin-screenshot [--root DIR] [--large-preview WxH] CLASS OUT.png [ACTION ...]
//
// With --large-preview the picture is the generator's larger preview window,
// at W by H pixels, after the actions.
// The actions are those of tavelin-cli run. Message boxes are printed as
// "message: CAPTION: TEXT" and dialogs opened from the shown one are run
// without a window, as tavelin-cli does.
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/dialog_registry.hpp"
#include "cli/headless_host.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "qt/appearance.hpp"
#include "qt/dialog_window.hpp"
#include "qt/window_actions.hpp"

namespace {

const char* kUsage =
    "usage: tavelin-screenshot [--root DIR] [--large-preview WxH] CLASS OUT.png [ACTION ...]\n";

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::vector<std::string> args(argv + 1, argv + argc);
  std::filesystem::path root = tavelin::DefaultRoot();
  int largeWidth = 0, largeHeight = 0;
  size_t i = 0;
  while (i < args.size() && args[i].rfind("--", 0) == 0) {
    if (args[i] == "--root" && i + 1 < args.size()) {
      root = args[i + 1];
      i += 2;
    } else if (args[i] == "--large-preview" && i + 1 < args.size() &&
               std::sscanf(args[i + 1].c_str(), "%dx%d", &largeWidth, &largeHeight) == 2 &&
               largeWidth > 0 && largeHeight > 0) {
      i += 2;
    } else if (args[i] == "--help") {
      std::cout << kUsage;
      return 0;
    } else {
      std::cerr << "tavelin-screenshot: unknown option " << args[i] << "\n" << kUsage;
      return 2;
    }
  }
  if (args.size() - i < 2) {
    std::cerr << kUsage;
    return 2;
  }
  const std::string className = args[i];
  const std::string output = args[i + 1];
  const std::vector<std::string> actions(args.begin() + static_cast<long>(i) + 2, args.end());

  QApplication application(argc, argv);
  tavelin::qt::ApplyAppearance(application);

  tavelin::ProcessLauncher launcher(root);
  tavelin::HeadlessHost host(std::cout);
  tavelin::ui::AppContext app(root);
  app.ui = &host;
  app.launcher = &launcher;
  tavelin::InstallDialogFactory(app);

  std::unique_ptr<tavelin::ui::Dialog> dialog = tavelin::CreateDialog(className, app);
  if (!dialog) {
    std::cerr << "tavelin-screenshot: unknown dialog class " << className << "\n";
    return 2;
  }
  tavelin::qt::DialogWindow window(*dialog);
  window.Start();
  // The picture shows what the dialog loads after opening.
  window.WaitLoaded();
  if (!dialog->Ended()) {
    window.show();
    // Active, as the window the user works in, so that the focus shows.
    QApplication::setActiveWindow(&window);
  }
  QApplication::processEvents();
  for (const std::string& action : actions) {
    std::string error = tavelin::qt::ApplyAction(window, action);
    if (!error.empty()) {
      std::cerr << "tavelin-screenshot: " << error << "\n";
      return 2;
    }
    QApplication::processEvents();
    // The picture shows the builder's outcome, as the user sees it a moment later.
    while (dialog->BuildRunning()) {
      QApplication::processEvents(QEventLoop::AllEvents, 50);
      dialog->PollBuild();
    }
    window.Reflect();
    QApplication::processEvents();
  }
  if (dialog->Ended()) {
    std::cerr << "tavelin-screenshot: the dialog closed; nothing to draw\n";
    return 3;
  }
  QPixmap picture;
  if (largeWidth > 0) {
    if (!window.OpenLargePreview()) {
      std::cerr << "tavelin-screenshot: " << className << " has no preview\n";
      return 3;
    }
    window.LargePreview()->resize(largeWidth, largeHeight);
    QApplication::processEvents();
    picture = window.LargePreview()->grab();
  } else {
    picture = window.grab();
  }
  if (!picture.save(QString::fromStdString(output), "PNG")) {
    std::cerr << "tavelin-screenshot: cannot write " << output << "\n";
    return 3;
  }
  std::cout << "saved " << output << " (" << picture.width() << "x" << picture.height() << ")\n";
  return 0;
}
