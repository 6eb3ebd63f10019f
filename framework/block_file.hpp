// What a block file says about itself. The block builder stores in the first
// entity of each block, as extended data under the application name
// kBlockAppName, the generator that drew it, every settings file it wrote
// with its lines and a description in words; the entity carries them into
// every drawing the block is inserted in. The extended data, in order:
//
//   1001 TAVELIN
//   1000 generator class ("ErboDialog")
//   1000 settings-file stem ("Erbo"; empty for a dialog without one)
//   1070 code of the dialog (the main dialog's code for it)
//   1000 description ("一般両エルボ W1=600 … 外形 612 × 540 mm 属性【標準】 レイヤ DUCT")
//   1002 {
//   1000 line 1 ... line N of "<stem>.ini" (none without a stem)
//   1002 }
//   then for every other settings file (the damper's type file, the part
//   menu's "BuzaiSentaku.ini"):
//   1002 {
//   1000 file name ("Danpa_VD.ini")
//   1000 line 1 ... line N
//   1002 }
//
// A file with a line too long for extended data is left out. Blocks written
// before the other files were stored end after the first group; readers of
// that layout read the first group of this one and ignore the rest.
//
// The reader here reads back the blocks this system writes (lines, arcs and
// circles of the entities section, and the data above) for the block browser.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavelin {

inline constexpr const char* kBlockAppName = "TAVELIN";
// Bytes of one extended-data string in the file's code page.
inline constexpr size_t kMaxXdataString = 255;

// A fitting dialog opened from the main dialog: its "Command.ini" code, class,
// settings-file stem and the caption of its button.
struct FittingKind {
  int code;
  std::string_view className;
  std::string_view stem;
  std::string_view name;
};

const std::vector<FittingKind>& FittingKinds();
// The fitting of `code`, nullptr when no button writes it.
const FittingKind* FittingForCode(int code);
// The fitting drawn by dialog class `className` / with settings-file stem
// `stem` (without regard to case); nullptr when none.
const FittingKind* FittingForClass(std::string_view className);
const FittingKind* FittingForStem(std::string_view stem);

// One settings file with its lines (UTF-8, without line ends).
struct SettingsFileLines {
  std::string name;  // "Erbo.ini"
  std::vector<std::string> lines;
  bool operator==(const SettingsFileLines&) const = default;
};

struct BlockData {
  std::string className;
  std::string stem;
  int code = -1;
  std::string description;
  std::vector<std::string> settings;  // the lines of "<stem>.ini"; empty when not stored
  // The other settings files the dialog wrote.
  std::vector<SettingsFileLines> otherFiles;
  bool Present() const { return !className.empty(); }
  // Every settings file stored: "<stem>.ini" first (when stored), then the others.
  std::vector<SettingsFileLines> Files() const;
};

// The extended data after "1001 TAVELIN", as group codes and UTF-8 texts.
using XdataItems = std::vector<std::pair<int, std::string>>;
XdataItems ToXdata(const BlockData& data);
// Reads items written by ToXdata; a foreign or damaged layout gives an empty BlockData.
BlockData FromXdata(const XdataItems& items);

// `text` cut at a character boundary so that its CP932 form has at most
// `bytes` bytes.
std::string CutToCp932Bytes(const std::string& text, size_t bytes);

struct BlockShape {
  enum Kind { kLine, kArc, kCircle } kind = kLine;
  double v[5] = {0, 0, 0, 0, 0};  // as the block builder's entities
};

struct BlockFile {
  bool ok = false;
  std::string error;  // why it could not be read
  std::vector<BlockShape> shapes;
  BlockData data;
};

// Files larger than this are not read as blocks.
inline constexpr std::uintmax_t kMaxBlockFileBytes = 32 * 1024 * 1024;

BlockFile ReadBlockFile(const std::filesystem::path& file);
// Only the block's data, read up to the first entity that carries it (the
// tables before it, never the whole drawing): what a listing of many blocks
// needs. Empty for a file without it, or one that cannot be read.
BlockData ReadBlockData(const std::filesystem::path& file);
// The same from the bytes of a file (CP932, LF or CR LF).
BlockFile ParseBlockFile(std::string_view bytes);

}  // namespace tavelin
