// Bad hand-off files never crash the builder or leave a half file: they are
// refused or skipped with a line in builder.log, and the exit status says
// whether a block was written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "blockbuilder/builder.hpp"
#include "framework/build_job.hpp"
#include "tests/blockbuilder/dxf_reading.hpp"

namespace tavelin::blockbuilder {
namespace {
using testing::BuilderRoot;

const std::vector<std::string> kGoodRecords = {
    "50,100.000000,10.000000,0.000000,10.000000,",
    "1,1,4,0.000000,10.000000,100.000000,10.000000,CONTINUOUS,DUCT,",
    "1,1,4,0.000000,-10.000000,100.000000,-10.000000,CONTINUOUS,DUCT,",
};

class BadInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root.Write("DrawData.txt", kGoodRecords);
    root.Write("DrawName.ini", {"GOOD"});
    root.Write("ByLayer.ini", {"0"});
  }
  size_t EntitiesOf(const std::string& name) {
    return testing::ReadDxf(root.Block(name)).entities.size();
  }
  BuilderRoot root;
};

TEST_F(BadInputTest, MissingOrEmptyHandOffFilesAreRefused) {
  struct Case {
    const char* file;
    const char* bytes;  // nullptr: the file is removed
    const char* logged;
  };
  const Case cases[] = {
      {"DrawData.txt", nullptr, "DrawData.txt がありません"},
      {"DrawData.txt", "", "作図できる記録がありません"},
      {"DrawData.txt", "50,1,1,1,1,\r\n\r\n", "作図できる記録がありません"},
      {"DrawName.ini", nullptr, "DrawName.ini がありません"},
      {"DrawName.ini", "", "ブロック名が空です"},
      {"DrawName.ini", "  \r\n", "ブロック名が空です"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + (c.bytes ? c.bytes : "(missing)"));
    BuilderRoot fresh;
    fresh.Write("DrawData.txt", kGoodRecords);
    fresh.Write("DrawName.ini", {"GOOD"});
    if (c.bytes) {
      fresh.WriteBytes(c.file, c.bytes);
    } else {
      std::filesystem::remove(fresh.Info().Locate(c.file));
    }
    BuildResult result = BuildBlock(fresh.Root());
    EXPECT_FALSE(result.written);
    EXPECT_TRUE(fresh.BlockFiles().empty());
    EXPECT_NE(fresh.Log().find(c.logged), std::string::npos) << fresh.Log();
    EXPECT_NE(fresh.Log().find("ブロックは作成しませんでした"), std::string::npos);
  }
}

TEST_F(BadInputTest, DamagedRecordsAreSkippedOneByOneAndTheRestIsDrawn) {
  std::vector<std::string> records = kGoodRecords;
  records.push_back("1,1,4,0.000000,5.000000,100.000000,CONTINUOUS,DUCT,");      // 4: short
  records.push_back("1,1,4,0.000000,abc,100.000000,5.000000,CONTINUOUS,DUCT,");  // 5: not a number
  records.push_back(
      "1,1,4,0.000000,12abc,100.000000,5.000000,CONTINUOUS,DUCT,");  // 6: trailing junk
  records.push_back("3,1,4,0,0,1,1,CONTINUOUS,DUCT,");               // 7: unknown kind
  records.push_back("LINE,1,4,0,0,1,1,CONTINUOUS,DUCT,");            // 8: unknown kind
  records.push_back(
      "2,1,4,0.000000,0.000000,0.000000,0.000000,90.000000,CONTINUOUS,DUCT,");  // 9: radius 0
  records.push_back("2,1,4,0,0,5,0,90,CONTINUOUS,");                            // 10: short arc
  records.push_back("1,1,4,1e300,0,1,1,CONTINUOUS,DUCT,");                      // 11: absurd
  records.push_back("1,1,4,nan,0,1,1,CONTINUOUS,DUCT,");                        // 12: not finite
  records.push_back("1,1,999,0,0,1,1,CONTINUOUS,DUCT,");  // 13: drawn in colour 7
  root.Write("DrawData.txt", records);

  BuildResult result = BuildBlock(root.Root());
  ASSERT_TRUE(result.written);
  EXPECT_EQ(result.entities, 3u);  // the two good lines and the one of colour 999
  testing::ReadDrawing dxf = testing::ReadDxf(root.Block("GOOD"));
  ASSERT_EQ(dxf.entities.size(), 3u);
  EXPECT_EQ(dxf.entities[2].colour, 7);
  const std::string log = root.Log();
  for (int line = 4; line <= 13; ++line) {
    EXPECT_NE(log.find("DrawData.txt " + std::to_string(line) + "行目"), std::string::npos)
        << line << "\n"
        << log;
  }
}

TEST_F(BadInputTest, AHugeDrawDataIsRefusedWithoutBeingDrawn) {
  std::string line = "1,1,4,0.000000,10.000000,100.000000,10.000000,CONTINUOUS,DUCT,\r\n";
  std::string bytes;
  while (bytes.size() < 10 * 1024 * 1024) bytes += line;
  root.WriteBytes("DrawData.txt", bytes);
  BuildResult result = BuildBlock(root.Root());
  EXPECT_FALSE(result.written);
  EXPECT_TRUE(root.BlockFiles().empty());
  EXPECT_NE(root.Log().find("DrawData.txt が"), std::string::npos) << root.Log();
}

TEST_F(BadInputTest, AGarbageFileFillsTheLogOnlyUpToItsLimit) {
  std::vector<std::string> junk(5000, "9,x,y,z,");
  root.Write("DrawData.txt", junk);
  EXPECT_FALSE(BuildBlock(root.Root()).written);
  const std::string log = root.Log();
  const size_t lines = static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
  EXPECT_LE(lines, BuildLog::kMaxLines + 3);
  EXPECT_NE(log.find("件の記録を省略しました"), std::string::npos);
}

TEST_F(BadInputTest, UnsafeBlockNamesAreRefused) {
  const std::string names[] = {"../escape", "a/b",       "a\\b",     ".hidden",
                               "..",        "tab\there", "bell\x07", std::string(201, 'A')};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    BuilderRoot fresh;
    fresh.Write("DrawData.txt", kGoodRecords);
    fresh.WriteBytes("DrawName.ini", name + "\r\n");
    EXPECT_FALSE(BuildBlock(fresh.Root()).written);
    EXPECT_TRUE(fresh.BlockFiles().empty());
    EXPECT_FALSE(std::filesystem::exists(fresh.Root() / "escape.dxf"));
    EXPECT_NE(fresh.Log().find("DrawName.ini: ブロック名"), std::string::npos) << fresh.Log();
  }
  // Names the CAD program takes are kept as they are.
  EXPECT_TRUE(RefusedBlockName("@DK_D0505170105_C123").empty());
  EXPECT_TRUE(RefusedBlockName("ChokuKan1820.5450211303640").empty());
  EXPECT_TRUE(RefusedBlockName("直管 A").empty());
}

TEST_F(BadInputTest, AFailedBuildLeavesTheEarlierBlockOfTheSameNameWhole) {
  ASSERT_TRUE(BuildBlock(root.Root()).written);
  const std::string before = testing::FileBytes(root.Block("GOOD"));
  root.Write("DrawData.txt", {"1,1,4,oops,"});
  EXPECT_FALSE(BuildBlock(root.Root()).written);
  EXPECT_EQ(testing::FileBytes(root.Block("GOOD")), before);
  EXPECT_EQ(root.BlockFiles(), std::vector<std::string>{"GOOD.dxf"});
}

int RunBuilder(const std::filesystem::path& root) {
  const std::string command = "TAVELIN_ROOT='" + root.string() + "' '" +
                              (tavelin::testing::BinDir() / "tavelin-blockbuilder").string() +
                              "' 2>/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(BadInputTest, ANameHeldByAnotherBlockWhateverItsCaseIsNeverReplaced) {
  ASSERT_TRUE(BuildBlock(root.Root()).written);
  ASSERT_EQ(EntitiesOf("GOOD"), 2u);
  const std::string first = testing::FileBytes(root.Block("GOOD"));

  // The same fitting again keeps its name and its file.
  BuildResult again = BuildBlock(root.Root());
  EXPECT_TRUE(again.written);
  EXPECT_EQ(again.file, root.Block("GOOD"));

  // The same name with another drawing, in the same or another case: the
  // name is another fitting's block, which stays as it was.
  std::vector<std::string> three = kGoodRecords;
  three.push_back("1,1,4,0.000000,0.000000,100.000000,0.000000,CONTINUOUS,DUCT,");
  root.Write("DrawData.txt", three);
  for (const char* name : {"GOOD", "Good"}) {
    SCOPED_TRACE(name);
    root.Write("DrawName.ini", {name});
    BuildResult taken = BuildBlock(root.Root());
    EXPECT_FALSE(taken.written);
    EXPECT_TRUE(taken.nameTaken);
    EXPECT_EQ(testing::FileBytes(root.Block("GOOD")), first);
    EXPECT_EQ(root.BlockFiles(), std::vector<std::string>{"GOOD.dxf"});
    EXPECT_NE(root.Log().find("別の内容のブロック \"GOOD.dxf\""), std::string::npos) << root.Log();
  }
  // The program says so with its own exit status.
  EXPECT_EQ(RunBuilder(root.Root()), kExitNameTaken);
  // Names that differ by more than case are other blocks.
  root.Write("DrawName.ini", {"Good2"});
  ASSERT_TRUE(BuildBlock(root.Root()).written);
  EXPECT_EQ(root.BlockFiles().size(), 2u);
  EXPECT_EQ(EntitiesOf("Good2"), 3u);
}

TEST_F(BadInputTest, AMissingByLayerOrCommandFileIsLoggedAndTheBlockStillMade) {
  std::filesystem::remove(root.Info().Locate("ByLayer.ini"));
  std::filesystem::remove(root.Info().Locate("Command.ini"));
  BuildResult result = BuildBlock(root.Root());
  EXPECT_TRUE(result.written);
  EXPECT_NE(root.Log().find("ByLayer.ini がありません"), std::string::npos);
  EXPECT_NE(root.Log().find("Command.ini がありません"), std::string::npos);
  EXPECT_EQ(testing::ReadDxf(root.Block("GOOD")).entities[0].colour, 4);
}

TEST_F(BadInputTest, AFifoInPlaceOfAHandOffFileDoesNotHangTheBuilder) {
  std::filesystem::remove(root.Info().Locate("DrawData.txt"));
  ASSERT_EQ(::mkfifo((root.Root() / "info" / "DrawData.txt").c_str(), 0600), 0);
  EXPECT_FALSE(BuildBlock(root.Root()).written);
  EXPECT_NE(root.Log().find("通常のファイルではありません"), std::string::npos);
}

TEST(BuilderRoot, AMistakenRootIsNotCreatedToHoldALog) {
  tavelin::testing::TempDir dir;
  const std::filesystem::path root = dir.Path() / "no" / "such" / "root";
  EXPECT_FALSE(BuildBlock(root).written);
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "no"));
}


TEST_F(BadInputTest, TheProgramsExitStatusSaysWhetherABlockWasWritten) {
  EXPECT_EQ(RunBuilder(root.Root()), 0);
  EXPECT_TRUE(std::filesystem::exists(root.Block("GOOD")));
  root.Write("DrawName.ini", {"a/b"});
  EXPECT_EQ(RunBuilder(root.Root()), 1);
}

}  // namespace
}  // namespace tavelin::blockbuilder
