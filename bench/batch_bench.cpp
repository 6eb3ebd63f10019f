// Speed of "tavelin-cli batch": a library of 1,000 fittings (elbows of every
// size and angle, dampers of every type, straight ducts) from the CSV file to
// 1,000 DXF blocks and the catalogue page, the builder in this process. The
// CPU column is the benchmark's own thread; process_CPU_s counts every thread
// of the process (the builder's too).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/batch.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

// The CPU time of the whole process, every thread (the builder's too).
double ProcessCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::string Library(int rows) {
  const int sizes[] = {150, 200, 250, 300, 350, 400, 450, 500, 600, 700, 800, 900, 1000};
  const int angles[] = {15, 30, 45, 60, 75, 90};
  const char* types[] = {"VD", "MD", "CD", "FD", "FD+"};
  std::ostringstream csv;
  csv << "stem,type,W1,R,W2,A,L1,D,size,length,pitch\n";
  for (int i = 0; i < rows; ++i) {
    const int w = sizes[i % 13];
    switch (i % 5) {
      case 0:
      case 1:
      case 2:
        csv << "Erbo,," << w << "," << w / 2 - (i % 5 == 2) << "," << w << "," << angles[i / 5 % 6]
            << "," << 100 + i % 7 * 10 << ",,,,\n";
        break;
      case 3:
        csv << "Danpa," << types[i / 5 % 5] << ",,,,,300," << w << "x" << std::max(w / 4, 100)
            << ",,,\n";
        break;
      default:
        csv << "Choku,,,,,,,," << w << "," << 1000 + i << ",1820\n";
    }
  }
  return csv.str();
}

void BM_BatchOfAThousandFittings(benchmark::State& state) {
  testing::TestApp test;
  const std::filesystem::path csv = test.Root() / "library.csv";
  std::ofstream(csv, std::ios::binary) << Library(1000);
  int run = 0;
  const double cpuBefore = ProcessCpuSeconds();
  for (auto _ : state) {
    BatchOptions options;
    options.root = test.Root();
    options.defaults = testing::SourceDataDir();
    options.csv = csv;
    options.out = test.Root() / ("blocks" + std::to_string(run++));
    std::ostringstream out, err;
    if (RunBatch(options, out, err) != 0) state.SkipWithError("a row was refused");
    if (out.str().find("written: 1000,") == std::string::npos)
      state.SkipWithError(out.str().c_str());
  }
  state.counters["process_CPU_s"] =
      (ProcessCpuSeconds() - cpuBefore) / static_cast<double>(state.iterations());
  state.SetLabel("target <= 1 s");
}
BENCHMARK(BM_BatchOfAThousandFittings)->Unit(benchmark::kMillisecond)->Iterations(3);

// Ten times as many: the time should grow ten times, no more, and the memory
// stay bounded (the peak resident size of the process after the run).
void BM_BatchOfTenThousandFittings(benchmark::State& state) {
  testing::TestApp test;
  const std::filesystem::path csv = test.Root() / "library.csv";
  std::ofstream(csv, std::ios::binary) << Library(10000);
  const double cpuBefore = ProcessCpuSeconds();
  for (auto _ : state) {
    BatchOptions options;
    options.root = test.Root();
    options.defaults = testing::SourceDataDir();
    options.csv = csv;
    options.out = test.Root() / "blocks";
    std::ostringstream out, err;
    if (RunBatch(options, out, err) != 0) state.SkipWithError("a row was refused");
    if (out.str().find("written: 10000,") == std::string::npos)
      state.SkipWithError(out.str().substr(0, 200).c_str());
  }
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_RSS_MB"] = usage.ru_maxrss / 1024.0;
  state.counters["process_CPU_s"] =
      (ProcessCpuSeconds() - cpuBefore) / static_cast<double>(state.iterations());
  state.SetLabel("target <= 10 s");
}
BENCHMARK(BM_BatchOfTenThousandFittings)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tavelin

BENCHMARK_MAIN();
