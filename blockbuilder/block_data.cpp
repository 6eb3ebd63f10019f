#include "blockbuilder/block_data.hpp"

#include <cmath>

#include "blockbuilder/builder.hpp"
#include "blockbuilder/dxf_writer.hpp"
#include "framework/codepage.hpp"
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

BlockData ReadBlockData(const InfoFolder& info, const Tables& tables, BuildLog& log) {
  BlockData data;
  std::string command;
  try {
    if (!Readable(info, "Command.ini")) return data;  // already logged
    command = info.ReadLine("Command.ini");
  } catch (const FileError&) {
    return data;  // its absence is already logged
  }
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
    try {
      if (!Readable(info, file)) throw FileError(file, "");
      data.settings = info.ReadToEnd(file, kMaxSettingsLines);
    } catch (const FileError&) {
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
  try {
    const int set = Readable(info, "Sentaku.ini") ? ToInt(info.ReadLine("Sentaku.ini")) : 0;
    if (set >= 1 && set <= 6 && Readable(info, "Memo.ini")) memo = info.ReadLines("Memo.ini", 6)[set - 1];
  } catch (const FileError&) {
    // The description goes without the attribute set's name.
  }
  data.description = DescribeBlock(kind->name, tables, memo);
  return data;
}

}  // namespace tavelin::blockbuilder
