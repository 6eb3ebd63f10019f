// A start compares the root's block builder with the program's by a stamp of
// sizes and times instead of reading both; a fresh root is set up with names
// matched without regard to case.
#include "app/installer.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

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

ino_t Inode(const fs::path& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

class BuilderStampTest : public ::testing::Test {
 protected:
  BuilderStampTest() {
    fs::create_directories(program.Path() / "bin");
    fs::create_directories(root.Path() / "info");
    WriteBuilder("version 1");
  }
  void WriteBuilder(const std::string& bytes) {
    std::ofstream(Builder(), std::ios::binary | std::ios::trunc) << bytes;
  }
  fs::path Builder() const { return program.Path() / "bin" / "tavelin-blockbuilder"; }
  fs::path Program() const { return program.Path() / "bin" / "tavelin"; }
  fs::path Copy() const { return root.Path() / "exes" / "Forvane"; }
  testing::TempDir program, root;
};

TEST_F(BuilderStampTest, AnUnchangedBuilderIsLeftAloneAndAChangedOneCopied) {
  EXPECT_FALSE(PrepareRoot(root.Path(), Program()));
  ASSERT_EQ(Slurp(Copy()), "version 1");
  const ino_t first = Inode(Copy());
  PrepareRoot(root.Path(), Program());
  EXPECT_EQ(Inode(Copy()), first);

  // A newer program of the same size.
  const auto later = fs::last_write_time(Builder()) + std::chrono::seconds(5);
  WriteBuilder("version 2");
  fs::last_write_time(Builder(), later);
  PrepareRoot(root.Path(), Program());
  EXPECT_EQ(Slurp(Copy()), "version 2");
  EXPECT_TRUE((fs::status(Copy()).permissions() & fs::perms::owner_exec) != fs::perms::none);

  // The root's copy damaged by hand: its time no longer matches the stamp.
  std::ofstream(Copy(), std::ios::binary | std::ios::trunc) << "damaged!!";
  PrepareRoot(root.Path(), Program());
  EXPECT_EQ(Slurp(Copy()), "version 2");

  // A stamp that is not ours makes the start compare the files once more.
  std::ofstream(root.Path() / "exes" / "Forvane.stamp", std::ios::trunc) << "garbage";
  const ino_t kept = Inode(Copy());
  PrepareRoot(root.Path(), Program());
  EXPECT_EQ(Inode(Copy()), kept);  // the same bytes: not written again
  EXPECT_NE(Slurp(root.Path() / "exes" / "Forvane.stamp"), "garbage");
}

TEST(InstallRootTest, NamesAlreadyThereInAnotherCaseAreKept) {
  testing::TempDir data, root;
  fs::create_directories(data.Path() / "info");
  fs::create_directories(root.Path() / "INFO");
  std::ofstream(data.Path() / "info" / "Erbo.ini") << "new";
  std::ofstream(data.Path() / "info" / "Choku.ini") << "new";
  std::ofstream(root.Path() / "INFO" / "ERBO.INI") << "mine";
  InstallReport report = InstallDefaults(root.Path(), data.Path(), {});
  EXPECT_EQ(report.copied, 1);
  EXPECT_EQ(report.kept, 1);
  EXPECT_EQ(Slurp(root.Path() / "INFO" / "ERBO.INI"), "mine");
  EXPECT_EQ(Slurp(root.Path() / "INFO" / "Choku.ini"), "new");
  EXPECT_FALSE(fs::exists(root.Path() / "info"));
}

// Every file under `from`, with its bytes, by its path relative to `from`.
std::map<std::string, std::string> FilesUnder(const fs::path& from) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(from)) {
    if (entry.is_regular_file()) files[fs::relative(entry.path(), from).string()] = Slurp(entry.path());
  }
  return files;
}

// An init killed at any moment leaves the root (or a folder it was adding)
// either absent or whole, never a part that the next init or start takes for
// finished; the next init removes what the killed one left and completes it.
TEST(InstallRootTest, AnInitKilledAtAnyMomentLeavesNothingHalfDone) {
  testing::TempDir data;
  for (const char* folder : {"info", "BB", "BB/sub", "CK"}) {
    fs::create_directories(data.Path() / folder);
    for (int i = 0; i < 60; ++i) {
      std::ofstream(data.Path() / folder / ("F" + std::to_string(i) + ".ini"), std::ios::binary)
          << folder << " " << i << "\r\n";
    }
  }
  const std::map<std::string, std::string> expected = FilesUnder(data.Path());
  struct Case {
    const char* what;
    bool rootThere;  // a root holding "info" already: "BB" and "CK" are added
  };
  for (const Case& c : {Case{"a fresh root", false}, Case{"a root missing folders", true}}) {
    for (int delayUs : {0, 1000, 3000, 10000}) {
      SCOPED_TRACE(std::string(c.what) + ", killed after " + std::to_string(delayUs) + " us");
      testing::TempDir parent;
      const fs::path root = parent.Path() / "root";
      if (c.rootThere) {
        fs::create_directories(root / "info");
        std::ofstream(root / "info" / "F0.ini") << "mine";
      }
      int ready[2];
      ASSERT_EQ(::pipe(ready), 0);
      const pid_t child = testing::ForkParked();
      ASSERT_GE(child, 0);
      if (child == 0) {
        ::close(ready[0]);
        ::close(ready[1]);  // the init starts now
        InstallDefaults(root, data.Path(), {});
        ::_exit(0);
      }
      ::close(ready[1]);
      char none;
      ASSERT_EQ(::read(ready[0], &none, 1), 0);
      ::close(ready[0]);
      std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
      ::kill(child, SIGKILL);
      ASSERT_EQ(::waitpid(child, nullptr, 0), child);

      // What a killed init left: each folder of the data absent or whole.
      for (const char* folder : {"info", "BB", "CK"}) {
        if (!fs::exists(root / folder) || (c.rootThere && std::string(folder) == "info")) continue;
        const auto there = FilesUnder(root / folder);
        const auto wanted = FilesUnder(data.Path() / folder);
        EXPECT_EQ(there, wanted) << folder << " is there but not whole";
      }

      const InstallReport report = InstallDefaults(root, data.Path(), {});
      std::map<std::string, std::string> whole = expected;
      if (c.rootThere) whole["info/F0.ini"] = "mine";
      EXPECT_EQ(FilesUnder(root), whole);
      EXPECT_EQ(report.copied + report.kept, static_cast<int>(expected.size()));
      // No hidden folder of the killed init stays, beside the root or in it.
      EXPECT_EQ(std::distance(fs::directory_iterator(parent.Path()), fs::directory_iterator()), 1);
      EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 3);
    }
  }
}

}  // namespace
}  // namespace tavelin
