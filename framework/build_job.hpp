// The start of the block builder at OK, and what the dialog learns of it.
//
// At OK the dialog copies the hand-off files into a job folder of their own
// (ROOT/jobs/<id>/info/), one consistent snapshot that later edits in the
// dialog cannot touch, and starts the builder on it. The builder runs apart;
// the dialog polls it without waiting and shows its outcome: the block's name
// when it was written, or the builder's reason.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavelin {

class InfoFolder;

// Status lines around the builder's run.
inline constexpr const char* kStatusBuilding = "ブロックを作成しています…";
inline constexpr const char* kStatusNotBuilt = "ブロックを作成できませんでした";

// The builder's exit status when the block's name is held by another
// fitting's block: nothing was written and the job folder is kept, so that
// the dialog can start it again under the next name.
inline constexpr int kExitNameTaken = 3;

struct BuildOutcome {
  bool written = false;
  // The name is another fitting's block (kExitNameTaken).
  bool nameTaken = false;
  std::string blockName;
  // Why the block was not written, in the builder's words.
  std::string reason;
};

// The files of a job as they go on disk (CP932 with CR LF): name, bytes.
using JobFiles = std::vector<std::pair<std::string, std::string>>;

// One started builder.
class BuildRun {
 public:
  virtual ~BuildRun() = default;
  // The outcome once the builder has finished; nothing while it runs. Never blocks.
  virtual std::optional<BuildOutcome> Poll() = 0;
  // Waits for the builder to finish.
  virtual BuildOutcome Wait() = 0;
};

// A run that is over before it began (a builder that could not be started).
std::unique_ptr<BuildRun> FinishedBuild(BuildOutcome outcome);

// Starts the block builder on a job folder.
class BlockBuilderLauncher {
 public:
  virtual ~BlockBuilderLauncher() = default;
  // `jobRoot` holds info/ with the snapshot; `blockName` is the name it gives.
  // Never returns null: a builder that cannot be started is a finished run
  // that says why.
  virtual std::unique_ptr<BuildRun> Start(const std::filesystem::path& jobRoot,
                                          const std::string& blockName) = 0;
  // A builder in this process can take the job's files from memory, with no
  // job folder between: then StartFromFiles is used instead of Start.
  virtual bool TakesFilesInMemory() const { return false; }
  // `files`: name and bytes as they would go on disk.
  virtual std::unique_ptr<BuildRun> StartFromFiles(const JobFiles& files,
                                                   const std::string& blockName) {
    (void)files;
    return FinishedBuild({false, false, blockName, "ブロック作成プログラムはファイルを受け取れません"});
  }
};

// Spawns ROOT/exes/Forvane --job JOBROOT, without a shell and without
// waiting, with TAVELIN_ROOT set to the root; its output comes back through
// a pipe, its exit status says whether the block was written.
class ProcessLauncher : public BlockBuilderLauncher {
 public:
  explicit ProcessLauncher(std::filesystem::path root) : root_(std::move(root)) {}
  std::unique_ptr<BuildRun> Start(const std::filesystem::path& jobRoot,
                                  const std::string& blockName) override;
  // The builder's path; exposed for tests and the installer.
  std::filesystem::path BuilderPath() const;

 private:
  std::filesystem::path root_;
};

// The files of the info folder the builder reads, besides the generator's own.
const std::vector<std::string>& HandOffFileNames();

// Copies the hand-off files (and `extraFiles`, such as the settings file of
// the generator) that exist in the info folder into a new job folder under
// ROOT/jobs and returns that folder's root. The folder appears whole or not
// at all. Job folders left over from builders that never ran (older than a
// day) are removed on the way. Throws FileError.
std::filesystem::path SnapshotHandOff(const InfoFolder& info,
                                      const std::vector<std::string>& extraFiles);

// Creates a new job folder under ROOT/jobs whose info/ holds `files` (file
// name, bytes as they go on disk) and returns its root. The folder appears
// whole or not at all. Throws FileError.
std::filesystem::path WriteJobFolder(const std::filesystem::path& root,
                                     const std::vector<std::pair<std::string, std::string>>& files);

// True when `jobRoot` is a job folder of `root` (ROOT/jobs/<id>), the only
// folders the builder removes after reading them.
bool IsJobFolderOf(const std::filesystem::path& root, const std::filesystem::path& jobRoot);

}  // namespace tavelin
