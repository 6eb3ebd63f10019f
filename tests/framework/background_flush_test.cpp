// Settings written by a window are whole under their names at once and reach
// the disk from a thread of their own; a scratch copy never waits for a flush.
#include "framework/background_flush.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "duct/erbo_dialog.hpp"
#include "framework/info_folder.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
namespace fs = std::filesystem;

TEST(BackgroundFlushTest, WritesAreWholeAtOnceAndFlushedBeforeTheWaitReturns) {
  testing::TestApp test;
  for (int i = 0; i < 40; ++i) {
    test.Info().WriteLines("File" + std::to_string(i % 8) + ".ini", {std::to_string(i), "値"});
    // Readable whole at once, before any flush.
    EXPECT_EQ(test.Info().ReadLine("File" + std::to_string(i % 8) + ".ini"), std::to_string(i));
  }
  FlushQueuedFiles();
  EXPECT_EQ(QueuedFlushes(), 0u);
  EXPECT_EQ(test.Lines("File7.ini"), (std::vector<std::string>{"39", "値"}));
  // A file removed before its flush is simply not flushed.
  test.Info().WriteLine("Gone.ini", "1");
  fs::remove(test.Info().Locate("Gone.ini"));
  FlushQueuedFiles();
  EXPECT_EQ(QueuedFlushes(), 0u);
}

TEST(BackgroundFlushTest, AForkedChildFlushesOnItsOwnWithoutTheParentsThread) {
  testing::TestApp test;
  test.Info().WriteLine("Parent.ini", "1");  // the parent's flusher runs
  // Idle at the fork: the sanitizers' allocator is not fork-safe while
  // another thread allocates.
  FlushQueuedFiles();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    try {
      for (int i = 0; i < 20; ++i) test.Info().WriteLine("Child.ini", std::to_string(i));
      FlushQueuedFiles();
      ::_exit(QueuedFlushes() == 0 && test.Info().ReadLine("Child.ini") == "19" ? 0 : 1);
    } catch (...) {
      ::_exit(2);
    }
  }
  // The child ends by itself (a lock held by the parent's thread would hang it).
  int status = 0;
  pid_t done = 0;
  for (int waited = 0; waited < 500 && done == 0; ++waited) {
    done = ::waitpid(child, &status, WNOHANG);
    if (done == 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (done == 0) {
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    FAIL() << "the child hung";
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(BackgroundFlushTest, AScratchRootIsNeverFlushed) {
  testing::TestApp test;
  FlushQueuedFiles();
  MarkScratchRoot(test.Root());
  EXPECT_TRUE(IsUnderScratchRoot(test.Root() / "info"));
  EXPECT_FALSE(IsUnderScratchRoot(test.Root().parent_path()));
  test.Info().WriteLine("Scratch.ini", "1");
  EXPECT_EQ(QueuedFlushes(), 0u);
  EXPECT_EQ(test.Info().ReadLine("Scratch.ini"), "1");
  // The fitting's job is written in the scratch root, and not flushed either.
  ErboDialog elbow(test.App());
  elbow.Initialize();
  elbow.UserOk();
  ASSERT_EQ(test.launcher.starts, 1);
  EXPECT_EQ(test.launcher.lastJob.parent_path(), test.Root() / "jobs");
  EXPECT_EQ(QueuedFlushes(), 0u);
  ForgetScratchRoot(test.Root());
  EXPECT_FALSE(IsUnderScratchRoot(test.Root() / "info"));
}

}  // namespace
}  // namespace tavelin

namespace tavelin {
namespace {

// A confirmed change returns before its files are written: the process reads
// the new lines at once, a failed file leaves the files after it as they
// were and is told at the wait, and a write made at once is never overtaken
// by an older queued one.
TEST(WriterThreadTest, QueuedFilesAreReadAtOnceFailTogetherAndNeverOvertake) {
  testing::TestApp test;
  const InfoFolder& info = test.Info();
  info.WriteInBackground({{"Erbo.ini", {"800"}}, {"NewFile.ini", {"新"}}});
  EXPECT_EQ(info.ReadLine("Erbo.ini"), "800");
  EXPECT_TRUE(info.Exists("newfile.INI"));
  FinishQueuedWrites();
  EXPECT_EQ(test.Bytes("NewFile.ini"), "\x90\x56\r\n");  // CP932 with CR LF

  fs::create_directory(info.InfoDir() / "Blocked.ini");  // a folder holds the name
  info.WriteInBackground({{"Blocked.ini", {"1"}}, {"Erbo.ini", {"900"}}});
  EXPECT_THROW(FinishQueuedWrites(), FileError);
  EXPECT_NO_THROW(FinishQueuedWrites());  // told once
  EXPECT_EQ(info.ReadLine("Erbo.ini"), "800");

  for (int i = 0; i < 50; ++i) {
    info.WriteInBackground({{"Erbo.ini", {"queued"}}});
    info.WriteLines("Erbo.ini", {std::to_string(i)});
  }
  FinishQueuedWrites();
  EXPECT_EQ(info.ReadLine("Erbo.ini"), "49");
}

}  // namespace
}  // namespace tavelin
