// What the user is told when a settings file is too large to be read or a
// file cannot be written, through the dialogs that meet them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>

#include "app/dialog_registry.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;

TEST(FileMessagesTest, AnOversizedSettingsFileIsNamedAndNotReadWhole) {
  TestApp test;
  // One line of 64 MB: refused by its size, not read into memory.
  const auto file = test.Info().Locate("Erbo.ini");
  std::filesystem::resize_file(file, 64u << 20);
  const auto start = std::chrono::steady_clock::now();
  auto dialog = CreateDialog("ErboDialog", test.App());
  dialog->Initialize();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.host.messages[0].text, "ファイルを読み込めません。\n" + file.string() +
                                            "\n(ファイルが大きすぎます（上限 1 MB）)");
  EXPECT_EQ(dialog->Failures(), 1);
}

TEST(FileMessagesTest, AFailedWriteSaysSoWithTheReason) {
  TestApp test;
  auto dialog = CreateDialog("MainDialog", test.App());
  dialog->Initialize();
  ASSERT_TRUE(test.host.messages.empty());
  // Command.ini cannot be replaced: a folder with something in it holds its name.
  const auto command = test.Root() / "info" / "Command.ini";
  std::filesystem::remove(command);
  std::filesystem::create_directories(command / "x");
  dialog->UserClick(1004);
  ASSERT_FALSE(test.host.messages.empty());
  EXPECT_EQ(test.host.messages[0].text,
            "ファイルに書き込めません。\n" + command.string() + "\n(" + std::strerror(EISDIR) + ")");
}

}  // namespace
}  // namespace tavelin
