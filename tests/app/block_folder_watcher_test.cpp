// The block browser follows its folder through a watcher: the changes arrive
// already looked at, and the list kept by differences always equals a fresh
// listing of the folder.
#include "app/block_folder_watcher.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "app/block_browser_dialog.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
namespace fs = std::filesystem;

// As the builder writes a block: a temporary file renamed into place.
void WriteBlock(const fs::path& folder, const std::string& name, const std::string& bytes) {
  const fs::path temp = folder / (name + ".dxf.tmp1_0");
  std::ofstream(temp, std::ios::binary) << bytes;
  fs::rename(temp, folder / (name + ".dxf"));
}

std::vector<std::string> Names(const std::vector<BlockListing>& entries) {
  std::vector<std::string> names;
  for (const BlockListing& entry : entries) names.push_back(entry.name);
  return names;
}

template <typename Done>
bool WaitFor(Done done) {
  // Up to 30 s: a busy machine may keep the watcher's thread waiting long.
  for (int i = 0; i < 1500 && !done(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return done();
}

TEST(BlockFolderWatcherTest, WrittenAndRemovedBlocksArriveAsChangesWithTheNewestRead) {
  testing::TempDir dir;
  WriteBlock(dir.Path(), "OLD", "0\nEOF\n");
  BlockFolderWatcher watcher(dir.Path());
  ASSERT_TRUE(watcher.Watching());
  // The first listing is made on the watcher's thread and comes as a whole.
  ASSERT_TRUE(watcher.WaitListed(std::chrono::seconds(30)));
  EXPECT_TRUE(watcher.Listed());
  BlockFolderWatcher::Changes first = watcher.Take();
  EXPECT_TRUE(first.relisted);
  EXPECT_EQ(Names(first.listing), std::vector<std::string>{"OLD"});
  // The time and size of one look at the file are those the file system gives.
  EXPECT_EQ(first.listing[0].time, fs::last_write_time(dir.Path() / "OLD.dxf"));
  EXPECT_EQ(first.listing[0].size, fs::file_size(dir.Path() / "OLD.dxf"));
  ASSERT_TRUE(first.newest.has_value());
  EXPECT_EQ(first.newest->file, dir.Path() / "OLD.dxf");
  EXPECT_FALSE(watcher.Pending());
  WriteBlock(dir.Path(), "NEW", "0\nEOF\n");
  std::ofstream(dir.Path() / "notes.txt") << "not a block";
  fs::remove(dir.Path() / "OLD.dxf");
  ASSERT_TRUE(WaitFor([&] { return watcher.Pending() && fs::exists(dir.Path() / "NEW.dxf"); }));
  BlockFolderWatcher::Changes changes;
  ASSERT_TRUE(WaitFor([&] {
    BlockFolderWatcher::Changes more = watcher.Take();
    changes.written.insert(changes.written.end(), more.written.begin(), more.written.end());
    changes.removed.insert(changes.removed.end(), more.removed.begin(), more.removed.end());
    if (more.newest) changes.newest = more.newest;
    return !changes.written.empty() && !changes.removed.empty();
  }));
  EXPECT_EQ(Names(changes.written), std::vector<std::string>{"NEW"});
  EXPECT_EQ(changes.removed, std::vector<std::string>{"OLD.dxf"});
  ASSERT_TRUE(changes.newest.has_value());
  EXPECT_EQ(changes.newest->file, dir.Path() / "NEW.dxf");

  // The folder itself removed: no longer watched, the caller lists by itself.
  fs::remove_all(dir.Path());
  EXPECT_TRUE(WaitFor([&] { return !watcher.Watching(); }));
}

TEST(BlockFolderWatcherTest, TheBrowsersListByDifferencesEqualsAFreshListing) {
  testing::TestApp test;
  const fs::path blocks = test.Root() / "blocks";
  BlockBrowserDialog browser(test.App());
  browser.Initialize();  // no folder yet: listed by polling
  EXPECT_TRUE(browser.Entries().empty());
  fs::create_directories(blocks);
  WriteBlock(blocks, "FIRST", "0\nEOF\n");
  ASSERT_TRUE(WaitFor([&] {
    browser.Poll();
    return browser.Entries().size() == 1;
  }));
  // Watched from now on: several blocks, one written again, one removed.
  for (const char* name : {"B1", "B2", "B3", "b3"}) WriteBlock(blocks, name, "0\nEOF\n");
  WriteBlock(blocks, "FIRST", "0\nEOF\n\n");
  fs::remove(blocks / "B2.dxf");
  ASSERT_TRUE(WaitFor([&] {
    browser.Poll();
    return Names(browser.Entries()) == Names(ListBlocks(blocks));
  })) << ::testing::PrintToString(Names(browser.Entries()));
  EXPECT_EQ(browser.Entries().size(), 4u);
  // A newest block is the one selected (files written within one tick of the
  // file system's clock share their time, and the list orders those by name).
  const int selected = browser.FindControl(BlockBrowserDialog::kList)->CurSel();
  ASSERT_GE(selected, 0);
  EXPECT_EQ(browser.Entries()[selected].time, browser.Entries().front().time);
  EXPECT_EQ(browser.FindControl(BlockBrowserDialog::kList)->Items().size(), 4u);

  // With a search typed, blocks written, written again and removed change
  // only the lines the search shows: the list is the search over a fresh
  // listing, and the newest block written is selected where it is shown.
  ASSERT_TRUE(browser.UserSetText(BlockBrowserDialog::kSearch, "b"));
  WriteBlock(blocks, "C1", "0\nEOF\n");
  WriteBlock(blocks, "B4", "0\nEOF\n");
  WriteBlock(blocks, "b3", "0\nEOF\n\n\n");
  fs::remove(blocks / "B1.dxf");
  std::vector<std::string> expected;
  ASSERT_TRUE(WaitFor([&] {
    browser.Poll();
    expected.clear();
    for (const BlockListing& entry : ListBlocks(blocks)) {
      if (entry.Matches("b")) expected.push_back(entry.label);
    }
    return Names(browser.Entries()) == Names(ListBlocks(blocks)) &&
           browser.FindControl(BlockBrowserDialog::kList)->Items() == expected;
  })) << ::testing::PrintToString(browser.FindControl(BlockBrowserDialog::kList)->Items());
  EXPECT_EQ(Names(browser.Entries()).size(), 5u);  // FIRST, B3, b3, C1, B4
  EXPECT_EQ(expected.size(), 3u);
  EXPECT_EQ(browser.FindControl(BlockBrowserDialog::kStatus)->Text(),
            "3 / 5 個のブロック（検索「b」）");
  const int row = browser.FindControl(BlockBrowserDialog::kList)->CurSel();
  ASSERT_GE(row, 0);
  EXPECT_NE(browser.FindControl(BlockBrowserDialog::kPath)->Text(), "");
}

}  // namespace
}  // namespace tavelin
