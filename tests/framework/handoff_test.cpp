#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>

#include "framework/handoff.hpp"
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
  EXPECT_EQ(BlockName("ER_", {"10", "20"}, {5}, 41), "ER_40D10000041");
  // Texts convert with the run-time rules: "#25" is 0, "12.5abc" is 12.5.
  EXPECT_EQ(BlockName("AB_", {"#25", "12.5abc"}, {}, 7), "AB_15D8500007");
  EXPECT_EQ(BlockName("X_", {}, {}, 0), "X_0D0000000");
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

TEST(HandOff, FilesInTheirOrderAndFormat) {
  testing::TestApp test;
  RecordList list;
  list.SetAttributes(1, {"DUCT", "CONTINUOUS", "7"});
  list.SetExtents(1, 1, 1, 1);
  list.AddLineRecord(1, 1, 1, 0, 0, 100, 0);
  WriteHandOff(test.Info(), list, "Sample.ini", {"a", "b"}, "SA_1D0000002");
  EXPECT_EQ(test.Bytes("DrawData.txt"),
            "50,1.000000,1.000000,1.000000,1.000000,\r\n"
            "1,1,7,0.000000,0.000000,100.000000,0.000000,CONTINUOUS,DUCT,\r\n");
  EXPECT_EQ(test.Bytes("Sample.ini"), "a\r\nb\r\n");
  EXPECT_EQ(test.Bytes("DrawName.ini"), "SA_1D0000002\r\n");
}

TEST(Launcher, AMissingBuilderIsNotReportedAndNothingHangs) {
  testing::TempDir root;
  ProcessLauncher launcher(root.Path());
  EXPECT_NO_THROW(launcher.Start());
  EXPECT_EQ(launcher.BuilderPath(), root.Path() / "exes" / "Forvane");
}

TEST(Launcher, TheBuilderRunsDetachedWithTheRoot) {
  testing::TempDir root;
  std::filesystem::create_directories(root.Path() / "exes");
  // A stand-in builder that leaves a mark naming the root it was given.
  auto script = root.Path() / "exes" / "forvane";  // found without regard to case
  {
    std::ofstream out(script);
    out << "#!/bin/sh\necho \"$TAVELIN_ROOT\" > \"$TAVELIN_ROOT/mark.tmp\" && mv \"$TAVELIN_ROOT/mark.tmp\" \"$TAVELIN_ROOT/mark\"\n";
  }
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  ProcessLauncher launcher(root.Path());
  launcher.Start();
  auto mark = root.Path() / "mark";
  for (int i = 0; i < 200 && !std::filesystem::exists(mark); ++i) usleep(10000);
  ASSERT_TRUE(std::filesystem::exists(mark));
  std::ifstream in(mark);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, root.Path().string());
}

}  // namespace
}  // namespace tavelin
