#include "framework/block_file.hpp"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>

#include "framework/codepage.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace fs = std::filesystem;

const std::vector<FittingKind>& FittingKinds() {
  static const std::vector<FittingKind> kKinds = {
      {0, "PartsMenuDialog", "", "継手・部材"},
      {2, "Bunki3Dialog", "Bunki3", "割込分岐：三方向"},
      {3, "Bunki2Dialog", "Bunki2", "割込分岐：二・双・T方向"},
      {4, "ErboDialog", "Erbo", "一般両エルボ"},
      {5, "SErboDialog", "S_Erbo", "消音付エルボ"},
      {6, "TukiDialog", "Tuki", "突付け分岐枝管"},
      {7, "JyogeDialog", "Jyoge", "エルボ上下：単独"},
      {8, "SmagariDialog", "Smagari", "S字管"},
      {9, "UboxDialog", "Ubox", "内貼り付ボックス"},
      {10, "OtiDialog", "Oti", "短管・片落管"},
      {11, "AnemoUDialog", "AnemoU", "アネモ+ユニネック"},
      {12, "AnemoBDialog", "AnemoB", "アネモ+ボックス"},
      {13, "ChokuDialog", "Choku", "直管"},
      {19, "FlexDialog", "Flex", "フレキダクト"},
      {20, "FuriageDialog", "Furiage", "斜め上下振りダクト"},
      {21, "DanpaDialog", "Danpa", "ダンパー"},
      {22, "UpdownDialog", "Updown", "アップダウン"},
      {23, "KakuboxDialog", "Kakubox", "角形制気口+ボックス"},
      {24, "Jyoge2Dialog", "Jyoge2", "エルボ上下：連続"},
  };
  return kKinds;
}

const FittingKind* FittingForCode(int code) {
  for (const FittingKind& kind : FittingKinds()) {
    if (kind.code == code) return &kind;
  }
  return nullptr;
}

const FittingKind* FittingForClass(std::string_view className) {
  for (const FittingKind& kind : FittingKinds()) {
    if (kind.className == className) return &kind;
  }
  return nullptr;
}

const FittingKind* FittingForStem(std::string_view stem) {
  if (stem.empty()) return nullptr;
  for (const FittingKind& kind : FittingKinds()) {
    if (EqualsIgnoreCase(kind.stem, stem)) return &kind;
  }
  return nullptr;
}

std::vector<SettingsFileLines> BlockData::Files() const {
  std::vector<SettingsFileLines> files;
  if (!stem.empty() && !settings.empty()) files.push_back({stem + ".ini", settings});
  files.insert(files.end(), otherFiles.begin(), otherFiles.end());
  return files;
}

std::string CutToCp932Bytes(const std::string& text, size_t bytes) {
  if (Utf8ToCp932(text).size() <= bytes) return text;
  // Whole UTF-8 characters only; one CP932 character is at most two bytes.
  std::string cut;
  size_t used = 0;
  for (size_t i = 0; i < text.size();) {
    size_t length = 1;
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead >= 0xF0) length = 4;
    else if (lead >= 0xE0) length = 3;
    else if (lead >= 0xC0) length = 2;
    const std::string character = text.substr(i, length);
    const size_t size = Utf8ToCp932(character).size();
    if (used + size > bytes) break;
    cut += character;
    used += size;
    i += length;
  }
  return cut;
}

XdataItems ToXdata(const BlockData& data) {
  XdataItems items = {
      {1000, data.className},
      {1000, data.stem},
      {1070, FormatD(data.code)},
      {1000, CutToCp932Bytes(data.description, kMaxXdataString)},
      {1002, "{"},
  };
  for (const std::string& line : data.settings) items.push_back({1000, line});
  items.push_back({1002, "}"});
  for (const SettingsFileLines& file : data.otherFiles) {
    items.push_back({1002, "{"});
    items.push_back({1000, file.name});
    for (const std::string& line : file.lines) items.push_back({1000, line});
    items.push_back({1002, "}"});
  }
  return items;
}

BlockData FromXdata(const XdataItems& items) {
  BlockData data;
  auto is = [&](size_t i, int code) { return i < items.size() && items[i].first == code; };
  if (!is(0, 1000) || !is(1, 1000) || !is(2, 1070) || !is(3, 1000) || !is(4, 1002) ||
      items[4].second != "{") {
    return data;
  }
  std::vector<std::string> settings;
  size_t i = 5;
  for (; is(i, 1000); ++i) settings.push_back(items[i].second);
  if (!is(i, 1002) || items[i].second != "}" || items[0].second.empty()) return data;
  // The other files, each a group led by its name; a damaged group ends them.
  std::vector<SettingsFileLines> others;
  for (++i; is(i, 1002) && items[i].second == "{" && is(i + 1, 1000);) {
    SettingsFileLines file;
    file.name = items[i + 1].second;
    size_t j = i + 2;
    for (; is(j, 1000); ++j) file.lines.push_back(items[j].second);
    if (!is(j, 1002) || items[j].second != "}" || file.name.empty()) break;
    others.push_back(std::move(file));
    i = j + 1;
  }
  data.otherFiles = std::move(others);
  data.className = items[0].second;
  data.stem = items[1].second;
  data.code = ToInt(items[2].second);
  data.description = items[3].second;
  data.settings = std::move(settings);
  return data;
}

namespace {

// The group-code pairs of a DXF text, values as UTF-8 (strings in CP932).
struct Pair {
  int code;
  std::string_view value;
};

std::vector<Pair> Pairs(std::string_view bytes) {
  std::vector<Pair> pairs;
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  for (size_t i = 0; i + 1 < lines.size(); i += 2) pairs.push_back({ToInt(lines[i]), lines[i + 1]});
  return pairs;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

BlockFile ParseBlockFile(std::string_view bytes) {
  BlockFile file;
  const std::vector<Pair> pairs = Pairs(bytes);
  bool inEntities = false;
  bool sawEntities = false;
  for (size_t i = 0; i < pairs.size(); ++i) {
    const Pair& pair = pairs[i];
    if (pair.code == 0 && Trimmed(pair.value) == "SECTION" && i + 1 < pairs.size() &&
        pairs[i + 1].code == 2) {
      inEntities = Trimmed(pairs[i + 1].value) == "ENTITIES";
      sawEntities = sawEntities || inEntities;
      continue;
    }
    if (!inEntities || pair.code != 0) continue;
    const std::string_view type = Trimmed(pair.value);
    if (type == "ENDSEC") {
      inEntities = false;
      continue;
    }
    BlockShape shape;
    if (type == "LINE") shape.kind = BlockShape::kLine;
    else if (type == "ARC") shape.kind = BlockShape::kArc;
    else if (type == "CIRCLE") shape.kind = BlockShape::kCircle;
    bool known = type == "LINE" || type == "ARC" || type == "CIRCLE";
    XdataItems xdata;
    bool ours = false;
    size_t j = i + 1;
    for (; j < pairs.size() && pairs[j].code != 0; ++j) {
      const Pair& p = pairs[j];
      if (p.code == 1001) {
        ours = Trimmed(p.value) == kBlockAppName;
        continue;
      }
      if (p.code >= 1000) {
        if (ours) xdata.push_back({p.code, Cp932ToUtf8(p.value)});
        continue;
      }
      const double value = ToDouble(p.value);
      if (!known) continue;
      switch (p.code) {
        case 10: shape.v[0] = value; break;
        case 20: shape.v[1] = value; break;
        case 11: if (shape.kind == BlockShape::kLine) shape.v[2] = value; break;
        case 21: if (shape.kind == BlockShape::kLine) shape.v[3] = value; break;
        case 40: if (shape.kind != BlockShape::kLine) shape.v[2] = value; break;
        case 50: if (shape.kind == BlockShape::kArc) shape.v[3] = value; break;
        case 51: if (shape.kind == BlockShape::kArc) shape.v[4] = value; break;
        default: break;
      }
    }
    if (known) file.shapes.push_back(shape);
    if (!xdata.empty() && !file.data.Present()) file.data = FromXdata(xdata);
    i = j - 1;
  }
  if (!sawEntities) {
    file.error = "DXF の図形がありません";
    return file;
  }
  file.ok = true;
  return file;
}

BlockFile ReadBlockFile(const fs::path& path) {
  BlockFile file;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::is_regular_file(status)) {
    file.error = "ファイルがありません";
    return file;
  }
  if (fs::file_size(path, ec) > kMaxBlockFileBytes || ec) {
    file.error = "ファイルが大きすぎます";
    return file;
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    file.error = "ファイルを読めません";
    return file;
  }
  return ParseBlockFile(bytes);
}

namespace {

// Reads group-code pairs from `next` up to the first entity of the entities
// section that carries our data. Nothing when the input ended first.
template <typename NextLine>
std::optional<BlockData> ScanForBlockData(NextLine&& next) {
  std::string_view code, value;
  bool inEntities = false, ours = false, previousWasSection = false;
  XdataItems xdata;
  while (next(code) && next(value)) {
    const int group = ToInt(code);
    const std::string_view text = Trimmed(value);
    if (group == 0) {
      // The first entity with our data ends at the next entity.
      if (!xdata.empty()) return FromXdata(xdata);
      if (inEntities && text == "ENDSEC") return BlockData{};
      if (text == "EOF") return BlockData{};
      previousWasSection = text == "SECTION";
      ours = false;
      continue;
    }
    if (previousWasSection && group == 2) inEntities = text == "ENTITIES";
    previousWasSection = false;
    if (!inEntities) continue;
    if (group == 1001) {
      if (!xdata.empty()) return FromXdata(xdata);
      ours = text == kBlockAppName;
    } else if (group >= 1000 && ours) {
      xdata.push_back({group, Cp932ToUtf8(value)});
    }
  }
  return std::nullopt;
}

}  // namespace

BlockData ReadBlockData(const fs::path& path) {
  // The data sits a few kilobytes in, after the tables: the head of the file
  // is read a piece at a time (8 KB, then doubling, up to 64 KB) only as far
  // as the scan needs, never the whole drawing, straight into a buffer of
  // this thread's (a listing reads thousands of heads). The buffer never
  // moves, so the lines handed out stay valid while more is read behind them.
  constexpr size_t kHead = 64 * 1024, kFirstPiece = 8 * 1024;
  thread_local const std::unique_ptr<char[]> piece(new char[kHead]);
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"),
                                                           &std::fclose);
  if (!in) return {};
  std::setvbuf(in.get(), nullptr, _IONBF, 0);
  size_t have = 0;
  bool whole = false, failed = false;
  auto readMore = [&] {
    if (whole || failed || have == kHead) return false;
    const size_t want = std::min(kHead - have, std::max(kFirstPiece, have));
    const size_t got = std::fread(piece.get() + have, 1, want, in.get());
    have += got;
    if (got < want) (std::feof(in.get()) ? whole : failed) = true;
    return got > 0;
  };
  readMore();
  const std::string_view head(piece.get(), kHead);
  size_t at = 0;
  auto fromHead = [&](std::string_view& line) {
    size_t end = std::string_view::npos;
    for (;;) {
      if (at < have) end = head.substr(0, have).find('\n', at);
      if (end != std::string_view::npos || !readMore()) break;
    }
    if (at >= have) return false;
    // A line cut by the end of what was read is not read as a whole line.
    if (end == std::string_view::npos && !whole) return false;
    if (end == std::string_view::npos) end = have;
    line = head.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    return true;
  };
  if (std::optional<BlockData> data = ScanForBlockData(fromHead)) return *data;
  if (whole || failed) return {};
  // A file whose data lies further in: read line by line from the start,
  // not past the size a block may have.
  std::ifstream file(path, std::ios::binary);
  std::string buffer;
  std::uintmax_t bytes = 0;
  auto fromFile = [&](std::string_view& line) {
    if (!std::getline(file, buffer)) return false;
    bytes += buffer.size() + 1;
    if (bytes > kMaxBlockFileBytes) return false;
    if (!buffer.empty() && buffer.back() == '\r') buffer.pop_back();
    line = buffer;
    return true;
  };
  // Each pair's code is used before its value replaces the buffer.
  std::string code;
  auto pairwise = [&, odd = false](std::string_view& line) mutable {
    if (!fromFile(line)) return false;
    odd = !odd;
    if (odd) {
      code = std::string(line);
      line = code;
    }
    return true;
  };
  return ScanForBlockData(pairwise).value_or(BlockData{});
}

}  // namespace tavelin
