#include "framework/handoff.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "framework/build_job.hpp"
#include "framework/fitting.hpp"
#include "framework/info_folder.hpp"
#include "framework/record_list.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

TEST(RuntimeRandomTest, TheClassicUnseededSequence) {
  RuntimeRandom random;
  std::vector<int> first;
  for (int i = 0; i < 6; ++i) first.push_back(random.Next());
  EXPECT_EQ(first, (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724}));
  for (int i = 0; i < 100000; ++i) {
    int value = random.Next();
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 32767);
  }
  random.Reset();
  EXPECT_EQ(random.Next(), 41);
}

TEST(BlockNameTest, WeightedSumWithDotsAsDAndTheRandomNumber) {
  // (10 + 1) × 1.0 + (20 + 1) × 1.1 = 34.1; plus (1.1 + 0.1) × 5 = 6 -> 40.1.
  EXPECT_EQ(BlockName("ER_", {"10", "20"}, std::vector<double>{5}, 41), "ER_40D10000041");
  // Texts convert with the run-time rules: "#25" is 0, "12.5abc" is 12.5.
  EXPECT_EQ(BlockName("AB_", {"#25", "12.5abc"}, std::vector<double>{}, 7), "AB_15D8500007");
  EXPECT_EQ(BlockName("X_", {}, std::vector<double>{}, 0), "X_0D0000000");
}

TEST(BlockNameTest, WeightsOfManyValuesAndCommonValues) {
  std::vector<std::string> values(17, "0");
  values[16] = "1";
  // Values weigh 1.0 ... 2.6; K1 to K4 weigh 2.7, 2.8, 2.9, 3.0.
  double sum = 0;
  for (int j = 0; j < 17; ++j) sum += (j == 16 ? 2 : 1) * (1 + 0.1 * j);
  sum += 2.7 * 40 + 2.8 * 15 + 2.9 * 50 + 3.0 * 30;
  std::string name = BlockName("AB_", values, {40, 15, 50, 30}, 99);
  EXPECT_EQ(name.substr(0, 3), "AB_");
  EXPECT_EQ(name.substr(name.size() - 2), "99");
  EXPECT_NE(name.find("D"), std::string::npos);
  EXPECT_NEAR(std::stod(name.substr(3, name.find('D') - 3)), std::floor(sum), 0.0);
}

TEST(PlacedStatusTest, NamesTheBlockAndItsFolderWithTheHomeFolderAsTilde) {
  const char* saved = std::getenv("HOME");
  const std::string home = saved ? saved : "";
  struct Case {
    const char* home;
    const char* folder;
    const char* shown;
  };
  const Case cases[] = {
      {"/home/ito", "/home/ito/Tavelin/blocks", "~/Tavelin/blocks"},
      {"/home/ito/", "/home/ito/Tavelin/./blocks/", "~/Tavelin/blocks"},
      {"/home/ito", "/home/itoh/Tavelin/blocks", "/home/itoh/Tavelin/blocks"},  // not below home
      {"/home/ito", "/srv/cad/blocks", "/srv/cad/blocks"},
      {"", "/srv/cad/blocks", "/srv/cad/blocks"},
  };
  for (const Case& c : cases) {
    ::setenv("HOME", c.home, 1);
    EXPECT_EQ(PlacedStatus("ER_3002D0000006334", c.folder),
              std::string(kStatusPlaced) + "：ER_3002D0000006334（" + c.shown + "）")
        << c.home << " " << c.folder;
  }
  if (saved) {
    ::setenv("HOME", home.c_str(), 1);
  } else {
    ::unsetenv("HOME");
  }
}

TEST(HandOff, FilesInTheirOrderAndFormat) {
  testing::TestApp test;
  RecordList list;
  list.SetAttributes(1, {"DUCT", "CONTINUOUS", "7"});
  list.SetExtents(1, 1, 1, 1);
  list.AddLineRecord(1, 1, 1, 0, 0, 100, 0);
  WriteHandOff(test.Info(), list.Records(), "Sample.ini", {"a", "b"}, "SA_1D0000002");
  EXPECT_EQ(test.Bytes("DrawData.txt"),
            "50,1.000000,1.000000,1.000000,1.000000,\r\n"
            "1,1,7,0.000000,0.000000,100.000000,0.000000,CONTINUOUS,DUCT,\r\n");
  EXPECT_EQ(test.Bytes("Sample.ini"), "a\r\nb\r\n");
  EXPECT_EQ(test.Bytes("DrawName.ini"), "SA_1D0000002\r\n");
}

// A stand-in builder: a shell script in ROOT/exes, found without regard to case.
void InstallBuilder(const std::filesystem::path& root, const std::string& body) {
  std::filesystem::create_directories(root / "exes");
  const auto script = root / "exes" / "forvane";
  {
    std::ofstream out(script);
    out << "#!/bin/sh\n" << body;
  }
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
}

TEST(Launcher, AMissingBuilderIsAnOutcomeThatSaysWhy) {
  testing::TempDir root;
  ProcessLauncher launcher(root.Path());
  EXPECT_EQ(launcher.BuilderPath(), root.Path() / "exes" / "Forvane");
  std::unique_ptr<BuildRun> run = launcher.Start(root.Path() / "jobs" / "1", "ER_1");
  const BuildOutcome outcome = run->Wait();
  EXPECT_FALSE(outcome.written);
  EXPECT_NE(outcome.reason.find("起動できません"), std::string::npos) << outcome.reason;
}

TEST(Launcher, TheOutcomeComesBackWithoutWaiting) {
  testing::TempDir root;
  // Slow enough that the first poll finds it running; it names the root and
  // the job it was given.
  InstallBuilder(root.Path(),
                 "while [ ! -e \"$TAVELIN_ROOT/go\" ]; do sleep 0.01; done\n"
                 "echo \"$TAVELIN_ROOT $1 $2\" > \"$TAVELIN_ROOT/mark\"\nexit 0\n");
  ProcessLauncher launcher(root.Path());
  std::unique_ptr<BuildRun> run = launcher.Start(root.Path() / "jobs" / "7", "ER_7");
  EXPECT_FALSE(run->Poll().has_value());
  std::ofstream(root.Path() / "go") << "go";
  std::optional<BuildOutcome> outcome;
  for (int i = 0; i < 6000 && !outcome; ++i) {
    usleep(10000);
    outcome = run->Poll();
  }
  ASSERT_TRUE(outcome.has_value());
  EXPECT_TRUE(outcome->written);
  EXPECT_EQ(outcome->blockName, "ER_7");
  std::ifstream in(root.Path() / "mark");
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, root.Path().string() + " --job " + (root.Path() / "jobs" / "7").string());
}

TEST(Launcher, ARefusalCarriesTheBuildersFirstWords) {
  testing::TempDir root;
  InstallBuilder(root.Path(), "echo 'DrawName.ini がありません' >&2\necho 'その次' >&2\nexit 1\n");
  ProcessLauncher launcher(root.Path());
  const BuildOutcome outcome = launcher.Start(root.Path() / "jobs" / "2", "ER_2")->Wait();
  EXPECT_FALSE(outcome.written);
  EXPECT_EQ(outcome.reason, "DrawName.ini がありません");
}

TEST(Snapshot, LaterWritesNeverReachAJobTaken) {
  testing::TestApp test;
  test.Write("DrawData.txt", {"50,1,1,1,1,", "1,1,7,0,0,400,0,CONTINUOUS,DUCT,"});
  test.Write("DrawName.ini", {"ER_400"});
  test.Write("Erbo.ini", {"400"});
  const std::filesystem::path job = SnapshotHandOff(test.Info(), {"Erbo.ini"});
  EXPECT_TRUE(IsJobFolderOf(test.Root(), job));
  EXPECT_FALSE(IsJobFolderOf(test.Root(), test.Root()));
  EXPECT_FALSE(IsJobFolderOf(test.Root(), test.Root() / "info"));
  // The user keeps editing: the dialog rewrites the hand-off at once.
  test.Write("DrawData.txt", {"50,1,1,1,1,", "1,1,7,0,0,650,0,CONTINUOUS,DUCT,"});
  test.Write("DrawName.ini", {"ER_650"});
  const InfoFolder snapshot(job);
  EXPECT_EQ(snapshot.ReadLine("DrawName.ini"), "ER_400");
  EXPECT_EQ(snapshot.ReadToEnd("DrawData.txt", 10).back(), "1,1,7,0,0,400,0,CONTINUOUS,DUCT,");
  EXPECT_EQ(snapshot.ReadLine("Erbo.ini"), "400");
  EXPECT_TRUE(snapshot.Exists("DakutoSet.ini"));
  // Two jobs taken at once never share a folder.
  EXPECT_NE(SnapshotHandOff(test.Info(), {}), job);
}

// The cleanup of job folders older than a day takes only folders named as
// jobs, never a link nor what it points at; a linked jobs folder is refused.
TEST(Snapshot, TheCleanupTakesOnlyOldJobFoldersAndNeverFollowsALink) {
  namespace fs = std::filesystem;
  testing::TestApp test;
  testing::TempDir outside;
  const auto dayAgo = fs::file_time_type::clock::now() - std::chrono::hours(48);
  auto make = [&](const fs::path& dir) {
    fs::create_directories(dir);
    std::ofstream(dir / "a.txt") << "a";
    fs::last_write_time(dir, dayAgo);
  };
  const fs::path jobs = test.Root() / "jobs";
  make(jobs / "123_0_456");
  make(jobs / "124_1_9.tmp");
  fs::create_directories(jobs / "125_0_1");
  make(jobs / "notes");
  make(outside.Path() / "tree");
  std::ofstream(outside.Path() / "keep.txt") << "keep";
  fs::last_write_time(outside.Path() / "keep.txt", dayAgo);
  fs::create_directory_symlink(outside.Path() / "tree", jobs / "126_0_1");
  fs::create_symlink(outside.Path() / "keep.txt", jobs / "127_0_1");
  const fs::path job = SnapshotHandOff(test.Info(), {});
  EXPECT_TRUE(fs::exists(job));
  EXPECT_FALSE(fs::exists(jobs / "123_0_456"));
  EXPECT_FALSE(fs::exists(jobs / "124_1_9.tmp"));
  EXPECT_TRUE(fs::exists(jobs / "125_0_1"));
  EXPECT_TRUE(fs::exists(jobs / "notes" / "a.txt"));
  EXPECT_TRUE(fs::is_symlink(jobs / "126_0_1"));
  EXPECT_TRUE(fs::exists(outside.Path() / "tree" / "a.txt"));
  EXPECT_TRUE(fs::exists(outside.Path() / "keep.txt"));

  fs::remove_all(jobs);
  fs::create_directory_symlink(outside.Path(), jobs);
  make(outside.Path() / "200_0_1");
  EXPECT_THROW(SnapshotHandOff(test.Info(), {}), FileError);
  EXPECT_TRUE(fs::exists(outside.Path() / "200_0_1" / "a.txt"));
  EXPECT_TRUE(fs::exists(outside.Path() / "tree" / "a.txt"));
  EXPECT_TRUE(fs::exists(outside.Path() / "keep.txt"));
  const auto entries =
      std::distance(fs::directory_iterator(outside.Path()), fs::directory_iterator());
  EXPECT_EQ(entries, 3);  // tree, keep.txt and the old folder: no job was written there
}

// A launcher whose builder finds the first `taken` names held by other blocks.
class TakenNamesLauncher : public BlockBuilderLauncher {
 public:
  std::unique_ptr<BuildRun> Start(const std::filesystem::path& jobRoot,
                                  const std::string& blockName) override {
    names.push_back(InfoFolder(jobRoot).ReadLine("DrawName.ini"));
    BuildOutcome outcome;
    outcome.blockName = blockName;
    outcome.nameTaken = static_cast<int>(names.size()) <= taken;
    outcome.written = !outcome.nameTaken;
    return FinishedBuild(outcome);
  }
  int taken = 0;
  std::vector<std::string> names;  // as the job's DrawName.ini said at each start
};

TEST(FittingBuild, ATakenNameGivesWayToTheNextRandomNumberAndTheJobSaysSo) {
  testing::TestApp test;
  Fitting fitting;
  ASSERT_TRUE(SetFittingKind(fitting, "ErboDialog"));
  fitting.files = {{"Erbo.ini", {"600", "300"}}};
  fitting.records = {"50,1,1,1,1,", "1,1,7,0,0,400,0,CONTINUOUS,DUCT,"};
  fitting.SetBlockName("ER_2572D00000018467", 18467);
  EXPECT_EQ(fitting.nameBase, "ER_2572D000000");
  test.Write("DrawName.ini", {fitting.blockName});
  RuntimeRandom random;  // 41, 18467, 6334, 26500 ...: the first two made names already
  random.Next();
  random.Next();
  TakenNamesLauncher launcher;
  launcher.taken = 2;
  const BuildOutcome outcome = StartFittingBuild(launcher, random, test.Root(), fitting)->Wait();
  EXPECT_TRUE(outcome.written);
  EXPECT_EQ(launcher.names, (std::vector<std::string>{"ER_2572D00000018467", "ER_2572D0000006334",
                                                      "ER_2572D00000026500"}));
  EXPECT_EQ(outcome.blockName, "ER_2572D00000026500");
  EXPECT_EQ(test.Lines("DrawName.ini"), std::vector<std::string>{"ER_2572D00000026500"});

  // Every name taken: given up after the bound, the job removed, nothing claimed.
  launcher.names.clear();
  launcher.taken = 1000;
  test.Write("DrawName.ini", {"ER_7"});
  fitting.SetBlockName("ER_7", 7);
  auto jobs = [&] {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(test.Root() / "jobs"))
      found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found;
  };
  const std::vector<std::filesystem::path> before = jobs();
  const BuildOutcome refused = StartFittingBuild(launcher, random, test.Root(), fitting)->Wait();
  EXPECT_FALSE(refused.written);
  EXPECT_EQ(launcher.names.size(), static_cast<size_t>(kMaxNameTries + 1));
  EXPECT_NE(refused.reason.find("別の部材のブロック"), std::string::npos);
  EXPECT_EQ(jobs(), before);
  EXPECT_EQ(test.Lines("DrawName.ini"), std::vector<std::string>{"ER_7"});

  // A name that had to change is the one the info folder names for insertion.
  launcher.names.clear();
  launcher.taken = 1;
  random.Reset();
  StartFittingBuild(launcher, random, test.Root(), fitting)->Wait();
  EXPECT_EQ(test.Lines("DrawName.ini"), std::vector<std::string>{"ER_41"});
  // The job holds the fitting whole, read back as the builder reads it.
  std::string error;
  const std::optional<FittingFile> file = ParseFittingFile(FittingFileLines(fitting), error);
  ASSERT_TRUE(file) << error;
  EXPECT_EQ(file->data.className, "ErboDialog");
  EXPECT_EQ(file->data.code, 4);
  EXPECT_EQ(file->data.Files(), fitting.files);
  EXPECT_EQ(file->data.description, "一般両エルボ");
}

}  // namespace
}  // namespace tavelin
