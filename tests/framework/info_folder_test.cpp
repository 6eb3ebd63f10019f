#include "framework/info_folder.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
namespace fs = std::filesystem;
using testing::TempDir;

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Whether `write`, run in a child whose files may hold `limit` bytes at
// most, reports its failure with a FileError.
template <typename Write>
bool FailureToldUnderFileSizeLimit(rlim_t limit, Write write) {
  pid_t child = testing::ForkParked();
  if (child < 0) return false;
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit bound{limit, limit};
    setrlimit(RLIMIT_FSIZE, &bound);
    try {
      write();
    } catch (const FileError&) {
      _exit(0);
    }
    _exit(1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class InfoFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir.Path() / "info"); }
  TempDir dir;
  InfoFolder info{dir.Path()};
};

TEST_F(InfoFolderTest, WrittenLinesReadBackWithEmptyValuesAndSpaces) {
  std::vector<std::string> lines = {"1820", "", "  450 mm ", "空調ダクト"};
  info.WriteLines("Choku.ini", lines);
  EXPECT_EQ(info.ReadLines("Choku.ini", 4), lines);
  // CR LF after every value, the last one included, and CP932 on disk.
  std::string bytes = Slurp(dir.Path() / "info" / "Choku.ini");
  EXPECT_EQ(bytes.substr(0, 8), "1820\r\n\r\n");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_EQ(bytes.find("空"), std::string::npos);
}

TEST_F(InfoFolderTest, ShortFilesGiveEmptyLinesAndCapacityLimitsReading) {
  info.WriteLines("Memo.ini", {"a", "b"});
  auto lines = info.ReadLines("Memo.ini", 6);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1], "b");
  EXPECT_EQ(lines[5], "");
  std::vector<std::string> many(150, "x");
  info.WriteLines("Erbo.tec", many);
  EXPECT_EQ(info.ReadToEnd("Erbo.tec", 100).size(), 100u);
}

TEST_F(InfoFolderTest, LinuxLineEndsAndMissingFinalLineEndAreRead) {
  std::ofstream(dir.Path() / "info" / "KyotuSet.ini", std::ios::binary) << "40\n15\r\n50";
  EXPECT_EQ(info.ReadLines("KyotuSet.ini", 4), (std::vector<std::string>{"40", "15", "50", ""}));
}

TEST_F(InfoFolderTest, NamesMatchWithoutRegardToCase) {
  info.WriteLines("KakuBox.ini", {"1"});
  EXPECT_EQ(info.ReadLine("Kakubox.ini"), "1");
  // A write under another spelling replaces the same file instead of adding one.
  info.WriteLines("kakubox.INI", {"2"});
  EXPECT_EQ(info.ReadLine("KakuBox.ini"), "2");
  int files = 0;
  for (auto& entry : fs::directory_iterator(dir.Path() / "info")) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(InfoFolderTest, AMissingFileOrFolderIsAFileErrorNamingIt) {
  try {
    info.ReadLines("Nothing.ini", 1);
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_NE(error.Path().string().find("Nothing.ini"), std::string::npos);
    EXPECT_FALSE(error.Reason().empty());
  }
  InfoFolder nowhere(dir.Path() / "absent");
  EXPECT_THROW(nowhere.WriteLines("DrawData.txt", {"x"}), FileError);
  EXPECT_FALSE(fs::exists(dir.Path() / "absent"));
}

TEST_F(InfoFolderTest, AnInterruptedWriteLeavesTheOldFileWhole) {
  info.WriteLines("DakutoSubSet.ini", {"DUCT-1-4", "DUCT-2-7"});
  const std::string before = Slurp(info.Locate("DakutoSubSet.ini"));
  // A child whose file-size limit stops the write half-way.
  EXPECT_TRUE(FailureToldUnderFileSizeLimit(16, [&] {
    info.WriteLines("DakutoSubSet.ini", std::vector<std::string>(100, "LONGLAYERNAME-1-7"));
  })) << "the failed write was not reported";
  EXPECT_EQ(Slurp(info.Locate("DakutoSubSet.ini")), before);
  int files = 0;
  for (auto& entry : fs::directory_iterator(dir.Path() / "info")) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1) << "a temporary file was left behind";
}

TEST_F(InfoFolderTest, ACopyReplacesTheFileWholeOrNotAtAll) {
  const fs::path exes = dir.Path() / "exes";
  fs::create_directories(exes);
  const fs::path source = dir.Path() / "builder";
  std::string program(300000, '\0');
  for (size_t i = 0; i < program.size(); ++i) program[i] = static_cast<char>(i * 7 % 251);
  WriteFileAtomically(source, program);
  const fs::path target = exes / "Forvane";
  WriteFileAtomically(target, "old builder");
  // Cut short by the file-size limit: the old file stays, the failure is told.
  EXPECT_TRUE(FailureToldUnderFileSizeLimit(4096, [&] { CopyFileAtomically(source, target); }))
      << "the failed copy was not reported";
  EXPECT_EQ(Slurp(target), "old builder");
  // A folder is no file to copy.
  EXPECT_THROW(CopyFileAtomically(exes, target), FileError);
  EXPECT_EQ(Slurp(target), "old builder");
  CopyFileAtomically(source, target);
  EXPECT_EQ(Slurp(target), program);
  EXPECT_EQ(std::distance(fs::directory_iterator(exes), fs::directory_iterator()), 1)
      << "a temporary file was left behind";
}

TEST_F(InfoFolderTest, AFileBeyondTheBoundIsRefusedNamingItAndTheLimit) {
  const fs::path file = dir.Path() / "info" / "Erbo.ini";
  std::ofstream(file, std::ios::binary) << std::string(kMaxInfoFileBytes, '7');
  EXPECT_EQ(info.ReadLine("Erbo.ini").size(), kMaxInfoFileBytes);  // at the bound: read
  std::ofstream(file, std::ios::binary | std::ios::app) << "\r\n";
  try {
    info.ReadLines("Erbo.ini", 1);
    FAIL() << "a file over the bound was read";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Operation(), FileOperation::kRead);
    EXPECT_EQ(error.Path(), file);
    EXPECT_EQ(error.Reason(), "ファイルが大きすぎます（上限 1 MB）");
    EXPECT_EQ(FileErrorHeadline(error), "ファイルを読み込めません。");
  }
}

TEST_F(InfoFolderTest, WriteFailuresAreWriteErrorsWithTheSystemsReason) {
  // A folder where the file should be: the rename fails, even for root.
  fs::create_directories(dir.Path() / "info" / "Command.ini" / "inside");
  try {
    info.WriteLine("Command.ini", "4");
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(FileErrorHeadline(error), "ファイルに書き込めません。");
    EXPECT_EQ(error.Reason(), std::strerror(EISDIR));
  }
  fs::remove_all(dir.Path() / "info");
  try {
    info.WriteLine("Command.ini", "4");
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Operation(), FileOperation::kWrite);
  }
  try {
    info.ReadLine("Command.ini");
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(FileErrorHeadline(error), "ファイルを開けません。");
  }
}

// A value holding a line end would shift every later line: the write is
// refused and the file keeps its old lines.
TEST_F(InfoFolderTest, ALineHoldingALineEndIsRefusedAndTheFileKept) {
  info.WriteLines("Erbo.ini", {"400", "400"});
  for (const std::string& value : {"500\r\n", "500\n", "5\r00"}) {
    try {
      info.WriteLines("Erbo.ini", {"400", value, "100"});
      FAIL() << "no error for " << value;
    } catch (const FileError& error) {
      EXPECT_EQ(error.Operation(), FileOperation::kWrite);
      EXPECT_NE(error.Reason().find("2行目"), std::string::npos) << error.Reason();
    }
    EXPECT_EQ(Slurp(dir.Path() / "info" / "Erbo.ini"), "400\r\n400\r\n");
  }
}

// A process id that no process has any more.
pid_t DeadProcess() {
  pid_t child = testing::ForkParked();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

TEST_F(InfoFolderTest, TemporariesOfDeadWritersGoWithTheNextProcessesFirstWrite) {
  const fs::path infoDir = dir.Path() / "info";
  const std::string dead = std::to_string(DeadProcess());
  const std::string live = std::to_string(getppid());
  for (const std::string& name : {"Erbo.ini.tmp" + dead + "_0", "DrawData.txt.tmp" + dead + "_17",
                                  "Erbo.ini.tmp" + live + "_3", "Erbo.ini.tmp" + dead,
                                  "notes.tmp_x" + dead + "_1", "Erbo.ini.tmp" + dead + "_2a"}) {
    std::ofstream(infoDir / name) << "x";
  }
  // A new process (this one has written into other folders already).
  pid_t child = testing::ForkParked();
  ASSERT_GE(child, 0);
  if (child == 0) {
    try {
      info.WriteLine("Sentaku.ini", "3");
    } catch (...) {
      _exit(1);
    }
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  std::set<std::string> left;
  for (auto& entry : fs::directory_iterator(infoDir)) left.insert(entry.path().filename().string());
  // Only the temporaries of the dead writer went; a running writer's and
  // names of another shape stay.
  EXPECT_EQ(left, (std::set<std::string>{"Sentaku.ini", "Erbo.ini.tmp" + live + "_3",
                                         "Erbo.ini.tmp" + dead, "notes.tmp_x" + dead + "_1",
                                         "Erbo.ini.tmp" + dead + "_2a"}));
}

TEST(DefaultRootTest, EnvironmentDecides) {
  const char* saved = getenv("TAVELIN_ROOT");
  std::string keep = saved ? saved : "";
  setenv("TAVELIN_ROOT", "/srv/tavelin", 1);
  EXPECT_EQ(DefaultRoot(), fs::path("/srv/tavelin"));
  unsetenv("TAVELIN_ROOT");
  EXPECT_EQ(DefaultRoot().filename(), "Tavelin");
  if (saved) setenv("TAVELIN_ROOT", keep.c_str(), 1);
}

}  // namespace
}  // namespace tavelin
