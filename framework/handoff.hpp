// What a generator leaves for the block builder: "DrawData.txt" with its
// records, "DrawName.ini" with a fresh block name, and the start of the
// builder itself.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin {

// The status line of a generator while the user edits, and after OK.
inline constexpr const char* kStatusEditing = "設定後OKをクリック";
inline constexpr const char* kStatusPlaced = "「ブロック挿入」で配置できます";

class InfoFolder;
class RecordList;

// The pseudo-random generator of the classic run-time: state 1, never seeded,
// each result 0 to 32767.
class RuntimeRandom {
 public:
  int Next();
  void Reset() { state_ = 1; }

 private:
  unsigned state_ = 1;
};

// The one generator of this process.
RuntimeRandom& ProcessRandom();

// The block name of a generator: prefix, then the weighted sum of its saved
// values and of the common values it uses, "." written as "D", then `random`.
// Value j weighs 1 + 0.1 j; common value m weighs (1 + 0.1 (n - 1)) + 0.1 m.
std::string BlockName(std::string_view prefix, const std::vector<std::string>& values,
                      const std::vector<double>& commonValues, int random);

// Writes "DrawData.txt" (the records), then the settings file, then
// "DrawName.ini" (the block name).
void WriteHandOff(const InfoFolder& info, const RecordList& list, std::string_view settingsFile,
                  const std::vector<std::string>& settings, const std::string& blockName);

void WriteDrawData(const InfoFolder& info, const std::vector<std::string>& records);
void WriteDrawName(const InfoFolder& info, const std::string& blockName);

// Starts the block builder after OK.
class BlockBuilderLauncher {
 public:
  virtual ~BlockBuilderLauncher() = default;
  virtual void Start() = 0;
};

// Spawns ROOT/exes/Forvane detached, without a shell and without waiting, with
// TAVELIN_ROOT set to the root. A builder that cannot be started is not reported.
class ProcessLauncher : public BlockBuilderLauncher {
 public:
  explicit ProcessLauncher(std::filesystem::path root) : root_(std::move(root)) {}
  void Start() override;
  // The builder's path; exposed for tests and the installer.
  std::filesystem::path BuilderPath() const;

 private:
  std::filesystem::path root_;
};

}  // namespace tavelin
