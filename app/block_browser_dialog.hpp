// "ブロック一覧": the blocks the block builder left in ROOT/blocks, newest
// first, each with a picture drawn from its DXF file, its description and its
// path; the folder can be opened, a block deleted, and "再編集" opens the
// generator that drew a block with the settings stored in it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/block_folder_watcher.hpp"
#include "framework/block_file.hpp"
#include "framework/toolkit/dialog.hpp"

namespace tavelin {

class BlockBrowserDialog : public ui::Dialog {
 public:
  explicit BlockBrowserDialog(ui::AppContext& app);

  static constexpr int kList = 3001;
  static constexpr int kPicture = 3002;
  static constexpr int kDescription = 3003;
  static constexpr int kPath = 3004;
  static constexpr int kCopy = 3005;
  static constexpr int kOpenFolder = 3006;
  static constexpr int kDelete = 3007;
  static constexpr int kReedit = 3008;
  static constexpr int kStatus = 3009;
  static constexpr int kSchedule = 3020;  // "数量表...": a drawing's fitting schedule
  // Words that every block listed must have in its fitting, dimensions,
  // description (attribute set, layers) or name.
  static constexpr int kSearch = 3010;
  // The changes a watcher of the folder found are taken this often (a quick
  // look at a queue); a folder that cannot be watched is listed instead.
  static constexpr int kPollMilliseconds = 100;

  using Entry = BlockListing;

  std::filesystem::path Folder() const;
  // Every block of the folder, whether the search shows it or not.
  const std::vector<Entry>& Entries() const { return entries_; }
  // The selected block read from its file (empty when none is selected).
  const BlockFile& Selected() const { return selected_; }
  // While the first listing is awaited, the window looks for it more often
  // (a look at a flag under a lock).
  static constexpr int kLoadingPollMilliseconds = 10;
  int PollInterval() const override {
    return listed_ ? kPollMilliseconds : kLoadingPollMilliseconds;
  }

 protected:
  void OnInitDialog() override;
  void OnPaint(Canvas& canvas) override;
  void OnOK() override { Reedit(); }
  bool OnPoll() override;
  bool OnWaitLoaded(std::chrono::milliseconds limit) override;

 private:
  std::vector<Entry> Scan() const;
  // Shows `entries` and selects `name` (else the newest block); `picture` is
  // the selected block already read, when the watcher read it.
  void Fill(std::vector<Entry> entries, const std::string& name,
            const BlockFolderWatcher::Changes::Picture* picture = nullptr);
  // A whole listing: shown when it differs, a new block selected.
  bool ApplyListing(std::vector<Entry> now,
                    const BlockFolderWatcher::Changes::Picture* picture = nullptr);
  // The watcher's changes, applied one by one to the list.
  bool ApplyChanges(BlockFolderWatcher::Changes changes);
  // More changes than this at once: the list is made anew rather than
  // changed line by line.
  static constexpr size_t kMostChangesApplied = 64;
  // Entry `index` out of the list, and `entry` into it at its place (a line
  // of the list when it has every word of `query`), the lines between kept.
  void EraseEntry(size_t index);
  void InsertEntry(Entry entry, const std::string& query);
  // The count of blocks (and of those the search shows) in the status line.
  void ShowCount();
  std::string SelectedName();
  // The entry of the list's selection; nullptr when none is selected.
  const Entry* SelectedEntry();
  void ShowSelected(const BlockFolderWatcher::Changes::Picture* picture = nullptr);
  void Copy();
  void OpenFolder();
  void Delete();
  void Reedit();
  void ShowSchedule();

  std::vector<Entry> entries_;
  // The indices in entries_ of the list's lines: the blocks the search shows.
  std::vector<size_t> shown_;
  BlockFile selected_;
  std::unique_ptr<BlockFolderWatcher> watcher_;
  // Whether the list shows the folder yet (its first listing is made by the
  // watcher, off the window's thread).
  bool listed_ = false;
};

class FittingDialog;

// Why "再編集" cannot give `data` to `dialog` (created for the block's class,
// not yet opened), in words for the user; "" when it can. A class the main
// dialog does not open or a stem other than its own, a settings file the
// dialog does not write, more lines than it writes there, a line with a line
// end or longer than extended data holds are refused.
std::string RefusedReedit(const BlockData& data, FittingDialog& dialog);

// Draws `shapes` fitted into `client` (y upward), each line and arc in black.
void DrawBlockShapes(Canvas& canvas, const PixelRect& client,
                     const std::vector<BlockShape>& shapes);

}  // namespace tavelin
