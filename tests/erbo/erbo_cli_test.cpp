// The command line's generate leaves exactly the files that opening the
// elbow dialog leaves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "duct/erbo_dialog.hpp"
#include "framework/canvas.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;

TEST(ErboCommandLine, GenerateLeavesTheFilesOfTheDialog) {
  const std::filesystem::path cli = testing::BinDir() / "tavelin-cli";
  ASSERT_TRUE(std::filesystem::exists(cli)) << "build tavelin-cli first: " << cli;
  for (const char* settings : {"default", "angled"}) {
    TestApp byDialog, byCommand;
    if (std::string(settings) == "angled") {
      std::vector<std::string> lines = {"500", "250", "300", "250", "150", "0", "45", "45",
                                        "1",   "1",   "1",   "0",   "600", "1", "0"};
      byDialog.Write("Erbo.ini", lines);
      byCommand.Write("Erbo.ini", lines);
    }
    auto dialog = std::make_unique<ErboDialog>(byDialog.App());
    dialog->Initialize();
    NullCanvas canvas;
    dialog->Paint(canvas);

    std::string command =
        cli.string() + " --root '" + byCommand.Root().string() + "' generate Erbo > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const char* file : {"DrawData.txt", "Erbo.ini", "DrawName.ini"}) {
      EXPECT_FALSE(byDialog.Bytes(file).empty()) << file;
      EXPECT_EQ(byCommand.Bytes(file), byDialog.Bytes(file)) << settings << ": " << file;
    }
  }
}

}  // namespace
}  // namespace tavelin
