// What a generator leaves for the block builder: "DrawData.txt" with its
// records, "DrawName.ini" with a fresh block name, and the start of the
// builder itself.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "framework/info_folder.hpp"

namespace tavelin {

// The status line of a generator while the user edits, and after OK.
inline constexpr const char* kStatusEditing = "設定後OKをクリック";
inline constexpr const char* kStatusPlaced = "ブロックを書き出しました";

// The status line once the builder wrote `blockName` into `blocksFolder`:
// kStatusPlaced, the name and the folder, the home folder shown as "~"
// ("ブロックを書き出しました：ER_3002D0000006334（~/Tavelin/blocks）").
std::string PlacedStatus(const std::string& blockName, const std::filesystem::path& blocksFolder);

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

// A common value in a block name with a weight of its own: it weighs
// (1 + 0.1 (n - 1)) + `step` (the shared recipe's step for value m is 0.1 m;
// the fire dampers weigh the hatching width like the angle width).
struct CommonTerm {
  double value = 0.0;
  double step = 0.0;
};
std::string WeightedBlockName(std::string_view prefix, const std::vector<std::string>& values,
                              const std::vector<CommonTerm>& commonTerms, int random);

// Writes "DrawData.txt" (the records), then the settings file, then
// "DrawName.ini" (the block name), then `otherFiles`, as one group in that
// order on the writer's thread: it returns at once, and the reads of this
// process take the new lines meanwhile (FinishQueuedWrites waits for them and
// throws a write that failed).
void WriteHandOff(const InfoFolder& info, const std::vector<std::string>& records,
                  std::string_view settingsFile, const std::vector<std::string>& settings,
                  const std::string& blockName,
                  const std::vector<InfoFolder::NamedLines>& otherFiles = {});

void WriteDrawData(const InfoFolder& info, const std::vector<std::string>& records);
void WriteDrawName(const InfoFolder& info, const std::string& blockName);

}  // namespace tavelin
