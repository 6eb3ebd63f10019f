// Speed of the block builder: a "DrawData.txt" of 500 records turned into a
// DXF block, the whole way from the hand-off files to the renamed file and
// the log line, in the library and as the program the OK button starts.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>

#include "blockbuilder/builder.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"
#include "tests/support/test_root.hpp"

extern char** environ;

namespace tavelin::blockbuilder {
namespace {

// A root with 500 records of lines and arcs on Japanese layers, as a large
// fitting or pipe part would leave them.
void PrepareRoot(const std::filesystem::path& root) {
  std::filesystem::create_directories(root / "info");
  InfoFolder info(root);
  const char* layers[] = {"空調ダクト", "空調アングル", "空調フランジ", "空調隠れ線", "器具"};
  const char* types[] = {"CONTINUOUS", "CONTINUOUS", "CONTINUOUS", "HIDDEN", "CENTER"};
  std::vector<std::string> records = {"50,900.000000,600.000000,900.000000,600.000000,"};
  for (int i = 0; i < 500; ++i) {
    const int e = i % 5;
    const std::string attributes = std::string(types[e]) + "," + layers[e] + ",";
    if (i % 3 == 2) {
      records.push_back("2,1," + FormatD(e + 1) + "," + FormatF(i * 1.25) + "," +
                        FormatF(-i * 0.5) + "," + FormatF(50 + i % 40) + ",30.000000,210.000000," +
                        attributes);
    } else {
      records.push_back("1,1," + FormatD(e + 1) + "," + FormatF(i * 1.5) + "," +
                        FormatF(-i * 0.75) + "," + FormatF(i * 2.25 + 10) + "," +
                        FormatF(i + 0.125) + "," + attributes);
    }
  }
  info.WriteLines("DrawData.txt", records);
  info.WriteLine("DrawName.ini", "ER_1234D500000041");
  info.WriteLine("ByLayer.ini", "1");
  info.WriteLine("Command.ini", "4");
}

void BM_BuildBlock500Records(benchmark::State& state) {
  tavelin::testing::TempDir dir;
  PrepareRoot(dir.Path());
  for (auto _ : state) {
    BuildResult result = BuildBlock(dir.Path());
    if (!result.written) state.SkipWithError("no block written");
  }
  state.SetLabel("target <= 20 ms");
}
BENCHMARK(BM_BuildBlock500Records)->Unit(benchmark::kMillisecond);

// The same, as a process: start tavelin-blockbuilder and wait for it.
void BM_BuilderProgram500Records(benchmark::State& state) {
  tavelin::testing::TempDir dir;
  PrepareRoot(dir.Path());
  std::string program = (tavelin::testing::BinDir() / "tavelin-blockbuilder").string();
  std::vector<std::string> variables = {"TAVELIN_ROOT=" + dir.Path().string()};
  std::vector<char*> environment;
  for (std::string& v : variables) environment.push_back(v.data());
  for (char** e = environ; e && *e; ++e) {
    if (std::string_view(*e).rfind("TAVELIN_ROOT=", 0) != 0) environment.push_back(*e);
  }
  environment.push_back(nullptr);
  char* argv[] = {program.data(), nullptr};
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environment.data()) != 0) {
      state.SkipWithError("cannot start tavelin-blockbuilder");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("no block written");
  }
  state.SetLabel("target <= 20 ms");
}
BENCHMARK(BM_BuilderProgram500Records)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavelin::blockbuilder

BENCHMARK_MAIN();
