// From start to the first paint of the main dialog's window: the model and its
// widgets are built, the model initialises from the info folder and paints,
// and the window is drawn, on the offscreen platform. The first run also pays
// for loading the Japanese font; later runs show the steady cost.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <chrono>
#include <cstdio>
#include <memory>

#include "app/dialog_registry.hpp"
#include "qt/appearance.hpp"
#include "qt/dialog_window.hpp"
#include "tests/support/test_root.hpp"

namespace {

tavelin::testing::TestApp* test = nullptr;

void OpenAndPaintMainDialog() {
  std::unique_ptr<tavelin::ui::Dialog> dialog = tavelin::CreateDialog("MainDialog", test->App());
  tavelin::qt::DialogWindow window(*dialog);
  window.Start();
  window.show();
  QPixmap picture = window.grab();
  benchmark::DoNotOptimize(picture.cacheKey());
  if (!test->host.messages.empty()) std::fprintf(stderr, "the main dialog reported a failure\n");
}

void BM_MainDialogFirstPaintCold(benchmark::State& state) {
  for (auto _ : state) OpenAndPaintMainDialog();
}
BENCHMARK(BM_MainDialogFirstPaintCold)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_MainDialogFirstPaint(benchmark::State& state) {
  for (auto _ : state) OpenAndPaintMainDialog();
}
BENCHMARK(BM_MainDialogFirstPaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const auto started = std::chrono::steady_clock::now();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  tavelin::qt::ApplyAppearance(application);
  const auto ready = std::chrono::steady_clock::now();
  std::printf("application start (QApplication and look): %.1f ms\n",
              std::chrono::duration<double, std::milli>(ready - started).count());

  tavelin::testing::TestApp app;
  test = &app;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
