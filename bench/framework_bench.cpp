// Speed of the generation framework: a rebuild of a full record list and the
// writing of the hand-off files.
#include <benchmark/benchmark.h>

#include "framework/handoff.hpp"
#include "framework/record_list.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

void FillList(RecordList& list) {
  list.Clear();
  list.SetExtents(500, 500, 200, 200);
  for (int i = 0; i < 66; ++i) list.AddLineRecord(1, 1, 1 + i % 6, i, -i * 1.5, i * 2.25, i + 0.125);
  for (int i = 0; i < 33; ++i) list.AddArcRecord(2, 1, 1, i * 3.0, -i * 0.5, 100 + i, 90, 180);
}

RecordList SampleList() {
  RecordList list;
  for (int e = 1; e <= 7; ++e) list.SetAttributes(e, {"空調ダクト", "CONTINUOUS", "4"});
  list.mirror = 1;
  list.rotation = 90;
  list.baseX = 125;
  list.baseY = -40;
  return list;
}

// One rebuild: clear the list and add 99 transformed, formatted records.
void BM_RebuildHundredRecords(benchmark::State& state) {
  RecordList list = SampleList();
  for (auto _ : state) {
    FillList(list);
    benchmark::DoNotOptimize(list.Record(99).data());
  }
  state.SetLabel("target <= 50 us");
}
BENCHMARK(BM_RebuildHundredRecords)->Unit(benchmark::kMicrosecond);

// "DrawData.txt", the settings file and "DrawName.ini", each through a
// temporary file and a rename.
void BM_WriteHandOffFiles(benchmark::State& state) {
  testing::TestApp test;
  RecordList list = SampleList();
  FillList(list);
  std::vector<std::string> settings(15, "400");
  RuntimeRandom random;
  for (auto _ : state) {
    WriteHandOff(test.Info(), list, "Erbo.ini", settings,
                 BlockName("ER_", settings, {40, 15, 50}, random.Next()));
  }
  state.SetLabel("target <= 1 ms");
}
BENCHMARK(BM_WriteHandOffFiles)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavelin

BENCHMARK_MAIN();
