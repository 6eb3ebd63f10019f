#include "blockbuilder/block_data.hpp"

#include <cmath>

#include "blockbuilder/builder.hpp"
#include "blockbuilder/dxf_writer.hpp"
#include "framework/codepage.hpp"
#include "framework/fitting.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin::blockbuilder {
namespace {

// Settings files hold a few dozen lines; more is not a generator's file.
constexpr size_t kMaxSettingsLines = 200;

std::string Millimetres(double value) { return IntegerText(std::round(value)); }

// A FIFO, a device or a huge file is not a settings file: reading it would
// block or never end.
bool Readable(const InfoFolder& info, const std::string& name) {
  std::error_code ec;
  const std::filesystem::path path = info.Locate(name);
  return std::filesystem::is_regular_file(path, ec) &&
         std::filesystem::file_size(path, ec) <= kMaxSettingsBytes && !ec;
}

// The lines of a file the block's data names, up to `capacity`: false when
// it is not a regular file of at most kMaxSettingsBytes or cannot be read.
bool ReadSettings(const HandOffSource& source, const std::string& name, size_t capacity,
                  std::vector<std::string>& lines) {
  if (const InfoFolder* info = source.Folder()) {
    if (!Readable(*info, name)) return false;
    try {
      lines = info->ReadToEnd(name, capacity);
    } catch (const FileError&) {
      return false;
    }
    return true;
  }
  const std::string* bytes = source.Find(name);
  if (!bytes || bytes->size() > kMaxSettingsBytes) return false;
  lines = SplitTextLines(*bytes, capacity);
  return true;
}

}  // namespace

std::string DescribeBlock(std::string_view fitting, const Tables& tables, const std::string& memo) {
  double box[4];
  BlockExtents(tables, box);
  std::string text(fitting);
  text += " 外形 " + Millimetres(box[2] - box[0]) + " × " + Millimetres(box[3] - box[1]) + " mm";
  if (!memo.empty()) text += " 属性【" + memo + "】";
  std::string layers;
  for (const LayerEntry& layer : tables.layers) {
    if (layer.name == "0") continue;
    layers += (layers.empty() ? "" : ", ") + layer.name;
  }
  if (!layers.empty()) text += " レイヤ " + layers;
  return text;
}

namespace {

// Whether every line of `lines` fits a string of extended data.
bool FitsXdata(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (Utf8ToCp932(line).size() > kMaxXdataString) return false;
  }
  return true;
}

// The data of a job written from a fitting: everything from "Fitting.ini".
BlockData ReadFittingData(const HandOffSource& info, const Tables& tables, BuildLog& log) {
  std::vector<std::string> lines;
  if (!ReadSettings(info, kFittingFile, 100000, lines)) {
    log.Add(std::string(kFittingFile) + " を読めないため、ブロックに作図情報を付けません");
    return {};
  }
  std::string error;
  std::optional<FittingFile> fitting = ParseFittingFile(lines, error);
  if (!fitting) {
    log.Add(error + "。ブロックに作図情報を付けません");
    return {};
  }
  BlockData data = std::move(fitting->data);
  const FittingKind* kind = FittingForClass(data.className);
  if (!kind || kind->stem != data.stem || kind->code != data.code) {
    log.Add("Fitting.ini の作図の種類 " + Quote(data.className) +
            " が不明なため、ブロックに作図情報を付けません");
    return {};
  }
  if (!FitsXdata(data.settings)) {
    log.Add(data.stem + ".ini に長すぎる行があるため、ブロックに設定値を付けません");
    data.settings.clear();
  }
  std::vector<SettingsFileLines> others;
  for (SettingsFileLines& file : data.otherFiles) {
    if (FitsXdata(file.lines) && FitsXdata({file.name})) {
      others.push_back(std::move(file));
    } else {
      log.Add(file.name + " に長すぎる行があるため、ブロックに付けません");
    }
  }
  data.otherFiles = std::move(others);
  data.description = DescribeBlock(data.description, tables, fitting->memo);
  return data;
}

}  // namespace

BlockData ReadBlockData(const InfoFolder& info, const Tables& tables, BuildLog& log) {
  return ReadBlockData(HandOffSource(info), tables, log);
}

BlockData ReadBlockData(const HandOffSource& info, const Tables& tables, BuildLog& log) {
  // A job written from the fitting names its dialog itself; the shared
  // "Command.ini" is read only by a build on the info folder itself.
  if (info.Folder() ? info.Folder()->Exists(kFittingFile) : info.Find(kFittingFile) != nullptr)
    return ReadFittingData(info, tables, log);
  BlockData data;
  std::vector<std::string> commandLines;
  // Its absence is already logged.
  if (!ReadSettings(info, "Command.ini", 1, commandLines)) return data;
  const std::string command = commandLines.empty() ? std::string() : commandLines[0];
  const FittingKind* kind = nullptr;
  if (!command.empty() && command.find_first_not_of("0123456789 \t") == std::string::npos)
    kind = FittingForCode(ToInt(command));
  if (!kind) {
    log.Add("Command.ini の値 " + Quote(command) + " は作図の種類ではないため、ブロックに作図情報を付けません");
    return data;
  }
  data.className = kind->className;
  data.stem = kind->stem;
  data.code = kind->code;

  if (!data.stem.empty()) {
    const std::string file = data.stem + ".ini";
    if (!ReadSettings(info, file, kMaxSettingsLines, data.settings)) {
      data.settings.clear();
      log.Add(file + " がないため、ブロックに設定値を付けません");
    }
    for (const std::string& line : data.settings) {
      if (Utf8ToCp932(line).size() > kMaxXdataString) {
        log.Add(file + " に長すぎる行があるため、ブロックに設定値を付けません");
        data.settings.clear();
        break;
      }
    }
  }

  std::string memo;
  // Without them the description goes without the attribute set's name.
  std::vector<std::string> sentaku, memos;
  const int set = ReadSettings(info, "Sentaku.ini", 1, sentaku) && !sentaku.empty()
                      ? ToInt(sentaku[0])
                      : 0;
  if (set >= 1 && set <= 6 && ReadSettings(info, "Memo.ini", 6, memos)) {
    memos.resize(6);
    memo = memos[static_cast<size_t>(set) - 1];
  }
  data.description = DescribeBlock(kind->name, tables, memo);
  return data;
}

}  // namespace tavelin::blockbuilder
