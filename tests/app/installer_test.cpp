// A start compares the root's block builder with the program's by a stamp of
// sizes and times instead of reading both; a fresh root is set up with names
// matched without regard to case.
#include "app/installer.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>

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

}  // namespace
}  // namespace tavelin
