#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_commands.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;

struct CliRun {
  int status = 0;
  std::string out;
  std::string err;
};

CliRun Cli(const std::filesystem::path& root, std::vector<std::string> args) {
  args.insert(args.begin(), {"--root", root.string()});
  std::ostringstream out, err;
  CliRun run;
  run.status = RunCommandLine((testing::BinDir() / "tavelin-cli").string(), args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

TEST(CommandLine, RunAppliesActionsAndPrintsEveryControl) {
  TestApp test;
  CliRun run = Cli(test.Root(), {"run", "MainDialog", "click:1389", "click:1392"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("1389 radio checked=1 enabled=1 visible=1 \"排煙\""), std::string::npos);
  EXPECT_NE(run.out.find("1392 check checked=1"), std::string::npos);
  EXPECT_NE(run.out.find("1130 combo-edit checked=0 enabled=1 visible=0 \"\" items=0 sel=-1"),
            std::string::npos);
  EXPECT_EQ(test.Lines("Sentaku.ini"), std::vector<std::string>{"4"});
  EXPECT_EQ(test.Lines("ByLayer.ini"), std::vector<std::string>{"1"});
}

TEST(CommandLine, MessagesArePrintedWithTheirCaption) {
  TestApp test;
  std::filesystem::remove(test.Info().Locate("Memo.ini"));
  CliRun run = Cli(test.Root(), {"run", "MainDialog"});
  EXPECT_NE(run.out.find("message: "), std::string::npos);
  EXPECT_NE(run.out.find("Memo.ini"), std::string::npos);
  EXPECT_NE(run.status, 0);  // a file error is a failure of the run
}

TEST(CommandLine, BadRequestsFailClearly) {
  TestApp test;
  CliRun unknownClass = Cli(test.Root(), {"run", "NoDialog"});
  EXPECT_EQ(unknownClass.status, 2);
  EXPECT_NE(unknownClass.err.find("NoDialog"), std::string::npos);
  CliRun unknownControl = Cli(test.Root(), {"run", "MainDialog", "click:4242"});
  EXPECT_EQ(unknownControl.status, 2);
  EXPECT_NE(unknownControl.err.find("4242"), std::string::npos);
  CliRun hidden = Cli(test.Root(), {"run", "MainDialog", "click:1015"});
  EXPECT_EQ(hidden.status, 2);
  EXPECT_NE(hidden.err.find("not visible"), std::string::npos);
  EXPECT_EQ(Cli(test.Root(), {"run", "MainDialog", "jump:1"}).status, 2);
  EXPECT_EQ(Cli(test.Root(), {"run", "MainDialog", "select:1130=3"}).status, 2);
  EXPECT_EQ(Cli(test.Root(), {"run", "MainDialog", "point:a,b"}).status, 2);
  EXPECT_EQ(Cli(test.Root(), {"frobnicate"}).status, 2);
  EXPECT_EQ(Cli(test.Root(), {"generate", "NoSuchStem"}).status, 2);
  CliRun closed = Cli(test.Root(), {"run", "MainDialog", "cancel", "click:1389"});
  EXPECT_EQ(closed.status, 2);
  EXPECT_NE(closed.err.find("closed"), std::string::npos);
}

TEST(CommandLine, AMissingInfoFolderIsNamed) {
  testing::TempDir empty;
  CliRun run = Cli(empty.Path(), {"generate", "Erbo"});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("info"), std::string::npos);
  EXPECT_NE(run.err.find("init"), std::string::npos);
}

TEST(CommandLine, InitInstallsWithoutOverwriting) {
  testing::TempDir root;
  CliRun first = Cli(root.Path(), {"init"});
  ASSERT_EQ(first.status, 0) << first.err;
  ui::AppContext app(root.Path());
  EXPECT_EQ(app.info.ReadLine("Sentaku.ini"), "1");
  app.info.WriteLine("Sentaku.ini", "5");
  CliRun second = Cli(root.Path(), {"init"});
  ASSERT_EQ(second.status, 0);
  EXPECT_EQ(app.info.ReadLine("Sentaku.ini"), "5");
  EXPECT_NE(second.out.find("kept"), std::string::npos);
}

TEST(CommandLine, GenerateWritesTheStraightDuctOnceLikeAClick) {
  TestApp test;
  test.Write("Choku.ini", {"1820", "450", "2", "1", "1", "3", "0", "3640"});
  CliRun run = Cli(test.Root(), {"generate", "choku"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(test.Lines("DrawData.txt"), std::vector<std::string>{"CK"});
  EXPECT_EQ(test.Lines("DrawName.ini"), std::vector<std::string>{"ChokuKan1820450211303640"});
  EXPECT_EQ(test.Lines("Choku.ini").size(), 8u);
}

// A value pasted from a spreadsheet cell keeps its line end when a program
// passes it: the edit keeps the value only, the settings file its lines, and
// the next opening shows what was set. An OK the dialog refuses starts no
// builder and exits 3, as a block the builder refuses does.
TEST(CommandLine, APastedLineEndIsDroppedAndARefusedOkExitsThree) {
  TestApp test;
  std::filesystem::create_directories(test.Root() / "exes");
  std::filesystem::copy_file(testing::BinDir() / "tavelin-blockbuilder",
                             test.Root() / "exes" / "Forvane");
  const size_t settingsLines = test.Lines("Erbo.ini").size();
  CliRun pasted = Cli(test.Root(), {"run", "ErboDialog", "set:1003=500\r\n", "ok"});
  ASSERT_EQ(pasted.status, 0) << pasted.err;
  EXPECT_NE(pasted.out.find("block written: "), std::string::npos);
  const std::vector<std::string> lines = test.Lines("Erbo.ini");
  EXPECT_EQ(lines.size(), settingsLines);
  EXPECT_EQ(lines.at(0), "500");
  CliRun reopened = Cli(test.Root(), {"run", "ErboDialog"});
  EXPECT_NE(reopened.out.find("1003 edit checked=0 enabled=1 visible=1 \"500\""), std::string::npos)
      << reopened.out;

  CliRun refused = Cli(test.Root(), {"run", "ChokuDialog", "set:1009=", "ok"});
  EXPECT_EQ(refused.status, 3);
  EXPECT_NE(refused.out.find("message: 入力確認: 全長を入力してください。"), std::string::npos);
  EXPECT_NE(refused.err.find("refused OK"), std::string::npos) << refused.err;
  CliRun clickedOk = Cli(test.Root(), {"run", "ChokuDialog", "set:1009=", "click:1"});
  EXPECT_EQ(clickedOk.status, 3);
  CliRun accepted =
      Cli(test.Root(), {"run", "ChokuDialog", "set:1009=", "ok", "set:1009=1820", "ok"});
  EXPECT_EQ(accepted.status, 0) << accepted.err;
}

}  // namespace
}  // namespace tavelin
