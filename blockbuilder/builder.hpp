// The block builder: started by a generator's OK button, it reads the hand-off
// files of ROOT/info and writes the block ROOT/blocks/<block name>.dxf, which
// the CAD program then inserts. It never asks anything: whatever it refuses or
// skips is written to ROOT/blocks/builder.log, and its exit status says
// whether a block was written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/acceptance.hpp"
#include "framework/block_entities.hpp"
#include "framework/info_folder.hpp"

namespace tavelin::blockbuilder {

// A "DrawData.txt" larger than this is refused: generators write a few
// kilobytes, so such a file is damaged or not ours.
inline constexpr std::uintmax_t kMaxDrawDataBytes = 2 * 1024 * 1024;
// The other hand-off files hold one short line each.
inline constexpr std::uintmax_t kMaxSettingsBytes = 64 * 1024;
// builder.log is moved aside to builder.log.1 beyond this size.
inline constexpr std::uintmax_t kMaxLogBytes = 1024 * 1024;

struct BuildResult {
  bool written = false;
  // Not written: the name is another fitting's block (other content).
  bool nameTaken = false;
  std::string blockName;
  std::filesystem::path file;  // the block written
  size_t entities = 0;
  // What was refused or skipped, as written to the log.
  std::vector<std::string> logLines;
  // False when builder.log could not be written (a full disk, say).
  bool logged = false;
  // The entities written, as the records gave them (layer, line type and
  // colour index), for a picture of the block drawn from the same data.
  std::vector<Entity> drawn;
};

// Builds the block from the hand-off files of `input`/info (a job snapshot;
// the root itself when none is given) into ROOT/blocks and appends its log
// lines; never throws.
BuildResult BuildBlock(const std::filesystem::path& root);
BuildResult BuildBlock(const std::filesystem::path& root, const std::filesystem::path& input);

// The part of BuildBlock that reads and writes, with its log kept in `log`.
BuildResult BuildBlock(const std::filesystem::path& root, const std::filesystem::path& input,
                       BuildLog& log);

// The same, writing the block and builder.log into the folder `blocks`
// (created when missing) instead of ROOT/blocks: the batch's output folder.
BuildResult BuildBlockInto(const std::filesystem::path& blocks, const std::filesystem::path& input);

// The files of one block folder by their names without regard to case, listed
// once: a batch that writes thousands of blocks into the folder looks a new
// block's case variants up here instead of listing the folder for each.
class BlockFolderIndex {
 public:
  explicit BlockFolderIndex(const std::filesystem::path& folder);
  // The other names of the folder equal to `name` without regard to case.
  std::vector<std::string> Variants(const std::string& name) const;
  // `name` was written.
  void Add(const std::string& name);

 private:
  std::map<std::string, std::set<std::string>> byLowerName_;
};

struct BuildOptions {
  // How the block reaches the disk: a batch flushes its folder once at the end.
  Flush flush = Flush::kNow;
  // The folder's names, when a batch keeps them; else the folder is listed.
  BlockFolderIndex* index = nullptr;
};
BuildResult BuildBlockInto(const std::filesystem::path& blocks, const std::filesystem::path& input,
                           const BuildOptions& options);
// The same, the job's files (name, bytes as they go on disk) read from memory
// rather than from a job folder: a builder in the process that wrote them.
BuildResult BuildBlockFromFiles(const std::filesystem::path& blocks,
                                const std::vector<std::pair<std::string, std::string>>& files,
                                const BuildOptions& options);

}  // namespace tavelin::blockbuilder
