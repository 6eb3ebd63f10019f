#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "framework/info_folder.hpp"
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
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{16, 16};
    setrlimit(RLIMIT_FSIZE, &limit);
    try {
      info.WriteLines("DakutoSubSet.ini", std::vector<std::string>(100, "LONGLAYERNAME-1-7"));
    } catch (const FileError&) {
      _exit(0);
    }
    _exit(1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was not reported";
  EXPECT_EQ(Slurp(info.Locate("DakutoSubSet.ini")), before);
  int files = 0;
  for (auto& entry : fs::directory_iterator(dir.Path() / "info")) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1) << "a temporary file was left behind";
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
