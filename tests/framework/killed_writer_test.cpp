// A process that rewrites settings and hand-off files in a loop is killed at
// random moments: every file is afterwards the whole old or the whole new
// content, and the next process's first write takes the temporaries away.
// The writer reports every completed write through a pipe, and each kill
// comes after a random number of them, a random part of the measured length
// of the writer's last writes later: the kills fall inside writes on a fast
// machine and on a slow one alike. TAVELIN_CRASH_KILLS sets the number of
// kills (200 by default). The writer is a forked process writing as it goes,
// or a program of its own whose writer thread writes the queued hand-off.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
namespace fs = std::filesystem;

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Two versions of each file, of different lengths, so that a torn, short or
// empty file matches neither.
struct Versions {
  std::vector<std::string> lines[2];
};

std::map<std::string, Versions> FileVersions() {
  std::map<std::string, Versions> files;
  Versions drawData;
  for (int i = 0; i < 4000; ++i) {
    drawData.lines[1].push_back("L,1,7,外形線," + std::to_string(i) + ".000000,0.000000," +
                                std::to_string(i + 1) + ".000000,450.000000,");
  }
  drawData.lines[0] = {"L,1,7,外形線,0.000000,0.000000,1820.000000,0.000000,"};
  files["DrawData.txt"] = drawData;
  files["DrawName.ini"] = {{{"ER1234D567890"}, {"ER98765D432100"}}};
  files["Erbo.ini"] = {
      {{"450", "300", "90", "1", "0"}, {"1200", "600", "45", "2", "1", "", "空調ダクト", "150"}}};
  files["Sentaku.ini"] = {{{"2"}, {"6 "}}};
  return files;
}

int KillsWanted() {
  const char* text = std::getenv("TAVELIN_CRASH_KILLS");
  const int kills = text ? std::atoi(text) : 0;
  return kills > 0 ? kills : 200;
}

int Temporaries(const fs::path& dir) {
  int count = 0;
  for (auto& entry : fs::directory_iterator(dir)) {
    count += entry.path().filename().string().find(".tmp") != std::string::npos;
  }
  return count;
}

// Writes the files over and over, one byte into `done` after each write.
[[noreturn]] void WriteForever(const InfoFolder& info, const std::map<std::string, Versions>& files,
                               int done) {
  auto report = [done] {
    if (::write(done, "w", 1) != 1) _exit(4);
  };
  try {
    for (int round = 1;; ++round) {
      const int v = round % 2;
      // As a generator hands off: the records, its settings, the block name.
      WriteDrawData(info, files.at("DrawData.txt").lines[v]);
      report();
      info.WriteLines("Erbo.ini", files.at("Erbo.ini").lines[v]);
      report();
      WriteDrawName(info, files.at("DrawName.ini").lines[v][0]);
      report();
      info.WriteLines("Sentaku.ini", files.at("Sentaku.ini").lines[v]);
      report();
    }
  } catch (...) {
    _exit(3);
  }
}

// Starts a writer that reports each completed write into `done`.
using StartWriter = std::function<pid_t(const InfoFolder& info,
                                        const std::map<std::string, Versions>& files, int done)>;

void KillWritersAtRandom(const StartWriter& start, int kills) {
  testing::TempDir dir;
  const fs::path infoDir = dir.Path() / "info";
  fs::create_directories(infoDir);
  const InfoFolder info(dir.Path());
  const auto files = FileVersions();
  std::map<std::string, std::string> whole[2];
  for (const auto& [name, versions] : files) {
    for (int v = 0; v < 2; ++v) whole[v][name] = EncodeLines(versions.lines[v]);
    info.WriteLines(name, versions.lines[0]);
  }

  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  // The writes completed before a kill: a whole round of four files and more.
  std::uniform_int_distribution<int> writesBefore(1, 9);
  std::uniform_real_distribution<double> partOfRound(0.0, 1.0);
  int midWrite = 0;  // kills that left a temporary file behind
  int changed = 0;   // kills after which some file held the other version
  for (int kill = 0; kill < kills; ++kill) {
    int done[2];
    ASSERT_EQ(::pipe(done), 0);
    const pid_t child = start(info, files, done[1]);
    ASSERT_GE(child, 0);
    ::close(done[1]);
    // Wait for the writes, timing the last of them; the kill then falls
    // anywhere in the length of the next round of four writes.
    const int wanted = writesBefore(random);
    auto last = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration write{};
    int written = 0;
    char byte = 0;
    while (written < wanted && ::read(done[0], &byte, 1) == 1) {
      const auto now = std::chrono::steady_clock::now();
      if (written > 0) write = now - last;
      last = now;
      ++written;
    }
    std::this_thread::sleep_for(
        std::chrono::duration_cast<std::chrono::microseconds>(write * 4 * partOfRound(random)));
    ::kill(child, SIGKILL);
    ::close(done[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(written, wanted) << "the writer stopped after " << written << " writes";
    ASSERT_TRUE(WIFSIGNALED(status))
        << "the writer failed (status " << status << "), seed " << seed;
    for (const auto& [name, versions] : files) {
      const std::string bytes = Slurp(info.Locate(name));
      ASSERT_TRUE(bytes == whole[0].at(name) || bytes == whole[1].at(name))
          << name << " is torn after kill " << kill + 1 << " (" << bytes.size() << " bytes), seed "
          << seed;
      changed += bytes == whole[1].at(name);
    }
    midWrite += Temporaries(infoDir) > 0;
  }
  // The next process to write removes what the killed ones left.
  pid_t next = testing::ForkParked();
  ASSERT_GE(next, 0);
  if (next == 0) {
    try {
      info.WriteLines("Sentaku.ini", files.at("Sentaku.ini").lines[0]);
    } catch (...) {
      _exit(1);
    }
    _exit(0);
  }
  int status = 0;
  waitpid(next, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_EQ(Temporaries(infoDir), 0);
  ASSERT_GT(changed, 0) << "no kill came after a completed write";
  std::printf("%d of %d kills left every file whole; %d found a temporary file, none stayed\n",
              kills, kills, midWrite);
}

TEST(KilledWriterTest, EveryFileIsWholeAndNoTemporaryStays) {
  KillWritersAtRandom([](const InfoFolder& info, const auto& files, int done) {
    const pid_t child = testing::ForkParked();
    if (child == 0) WriteForever(info, files, done);
    return child;
  }, KillsWanted());
}

// The desktop program's way: each confirmed change queued as one group to
// the writer thread of a process of its own (a forked child writes at once).
// Each kill starts a program: a fifth of the kills.
TEST(KilledWriterTest, AWriterThreadKilledMidGroupLeavesEveryFileWhole) {
  bool versionsWritten = false;
  KillWritersAtRandom([&](const InfoFolder& info, const auto& files, int done) {
    // The versions, one file each, for the writer to read.
    const fs::path versions = info.InfoDir().parent_path() / "versions";
    for (const auto& [name, lines] : files) {
      for (int v = 0; v < 2 && !versionsWritten; ++v) {
        fs::create_directories(versions);
        WriteFileAtomically(versions / (std::to_string(v) + "_" + name),
                            EncodeLines(lines.lines[v]), Flush::kLater);
      }
    }
    versionsWritten = true;
    const std::string program = (testing::BinDir() / "threaded_writer").string();
    const std::string root = info.InfoDir().parent_path().string();
    const std::string fd = std::to_string(done);
    const pid_t child = testing::ForkParked();
    if (child == 0) {
      ::execl(program.c_str(), program.c_str(), root.c_str(), fd.c_str(), nullptr);
      _exit(5);
    }
    return child;
  }, std::max(KillsWanted() / 5, 20));
}

}  // namespace
}  // namespace tavelin
