// Watches a folder of blocks from a thread of its own: each block file written,
// renamed or removed there becomes one change, the file already looked at, so
// that the window's thread only applies differences and never lists the folder.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "framework/block_file.hpp"

namespace tavelin {

// One block file as a listing shows it.
struct BlockListing {
  std::filesystem::path file;
  std::string name;  // the block name: the file name without ".dxf"
  std::filesystem::file_time_type time;
  std::uintmax_t size = 0;
  std::string label;  // the list's line: the fitting (else the name) and the time
  // The fitting and its typed dimensions ("一般両エルボ W1=600 …"), a pipe
  // part's name and size; empty for a block without our data.
  std::string fitting;
  // The block's description (outer size, attribute set, layers).
  std::string description;
  // Whether every word of `query` (blank-separated, without regard to the
  // case of Latin letters) is in the fitting, the description or the name.
  bool Matches(std::string_view query) const;
};

// The list's words for a block's data: the fitting's name and the dimensions
// its declaration names; for a pipe part its name and size.
std::string ListedFitting(const BlockData& data);

// The block files of `folder`, newest first (then by name).
std::vector<BlockListing> ListBlocks(const std::filesystem::path& folder);
// The listing of one file; nothing when it is no block file (or is gone).
std::optional<BlockListing> ListBlock(const std::filesystem::path& file);
// Newest first, then by name: the order of the list.
bool ListedBefore(const BlockListing& a, const BlockListing& b);

class BlockFolderWatcher {
 public:
  struct Changes {
    // Set when the changes were too many to follow one by one (or the folder
    // itself went away): `listing` is then the whole folder anew.
    bool relisted = false;
    std::vector<BlockListing> listing;
    // The block files written or touched, and the file names of those removed.
    std::vector<BlockListing> written;
    std::vector<std::string> removed;
    // The newest block written (or listed) read from its file, for its picture.
    struct Picture {
      std::filesystem::path file;
      std::filesystem::file_time_type time;
      BlockFile block;
    };
    std::optional<Picture> newest;
  };

  // Starts watching; Watching() says whether the system lets it. When it
  // does, the folder's first listing is made on the watcher's thread (after
  // the watch is in place, so no block written meanwhile is missed) and
  // comes as the first changes taken, `relisted`.
  explicit BlockFolderWatcher(std::filesystem::path folder);
  ~BlockFolderWatcher();
  BlockFolderWatcher(const BlockFolderWatcher&) = delete;
  BlockFolderWatcher& operator=(const BlockFolderWatcher&) = delete;

  // False when the folder cannot be watched (it does not exist, or the
  // watch was lost): the caller lists the folder itself.
  bool Watching() const;
  // The changes since the last call; never blocks on the disk.
  Changes Take();
  // Whether changes wait to be taken.
  bool Pending() const;
  // Whether the first listing is made (or the watch is lost).
  bool Listed() const;
  // Waits at most `limit` for the first listing; true once it is made. For
  // whatever reads the list right after opening, never for a window.
  bool WaitListed(std::chrono::milliseconds limit) const;

 private:
  void Run();
  void Relist();

  std::filesystem::path folder_;
  int inotify_ = -1;
  int stopPipe_[2] = {-1, -1};
  mutable std::mutex mutex_;
  bool watching_ = false;
  bool listed_ = false;
  mutable std::condition_variable listedChanged_;
  Changes pending_;
  std::thread thread_;
};

}  // namespace tavelin
