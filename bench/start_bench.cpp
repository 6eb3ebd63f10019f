// Speed of what a start and `tavelin-cli init` do to the root: setting up a
// fresh root from the default data and the catalogue (thousands of files), and
// at every later start bringing the root's block builder up to date with the
// one beside the program (a program of several megabytes).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/installer.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
namespace fs = std::filesystem;

// The desktop program of this build: its builder and catalogue lie beside it.
fs::path Program() { return testing::BinDir() / "tavelin"; }

int CountFiles(const fs::path& root) {
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) files += entry.is_regular_file();
  return files;
}

// The first start (or init) on a root that does not exist yet.
void BM_SetUpFreshRoot(benchmark::State& state) {
  testing::TempDir dir;
  int run = 0;
  int files = 0;
  for (auto _ : state) {
    const fs::path root = dir.Path() / ("root" + std::to_string(run++));
    PrepareRoot(root, Program());
    state.PauseTiming();
    files = CountFiles(root);
    fs::remove_all(root);
    state.ResumeTiming();
  }
  state.counters["files"] = files;
  state.SetLabel("target <= 300 ms");
}
BENCHMARK(BM_SetUpFreshRoot)->Iterations(5)->Unit(benchmark::kMillisecond);

// Every later start: the root exists and its builder is the program's.
void BM_StartOnExistingRoot(benchmark::State& state) {
  testing::TempDir dir;
  const fs::path root = dir.Path() / "root";
  PrepareRoot(root, Program());
  std::error_code ec;
  const auto builder = fs::file_size(BuilderBesideProgram(Program()), ec);
  for (auto _ : state) PrepareRoot(root, Program());
  state.counters["builder_MB"] = ec ? 0.0 : builder / 1e6;
}
BENCHMARK(BM_StartOnExistingRoot)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavelin

BENCHMARK_MAIN();
