#include "schedule/schedule.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <limits>
#include <map>
#include <set>

#include "framework/design_rules.hpp"
#include "framework/text.hpp"

namespace tavelin::schedule {
namespace fs = std::filesystem;
namespace {

constexpr long long kCountLimit = std::numeric_limits<long long>::max() / 4;

long long Add(long long a, long long b) { return a > kCountLimit - b ? kCountLimit : a + b; }
long long Times(long long a, long long b) {
  if (a <= 0 || b <= 0) return 0;
  return a > kCountLimit / b ? kCountLimit : a * b;
}

// The text between `open` and `close` after `from` in `text`; empty when absent.
std::string Between(const std::string& text, std::string_view open, std::string_view close,
                    size_t from = 0) {
  const size_t start = text.find(open, from);
  if (start == std::string::npos) return {};
  const size_t begin = start + open.size();
  const size_t end = close.empty() ? std::string::npos : text.find(close, begin);
  return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

// "一般両エルボ W1=600 R=300 外形 612 × 540 mm 属性【標準】 レイヤ DUCT" ->
// "一般両エルボ W1=600 R=300": the fitting and its typed dimensions.
std::string DescriptionHead(const std::string& description) {
  const size_t end = description.find(" 外形 ");
  return description.substr(0, end);
}

std::string WithoutPrefix(const std::string& text, std::string_view prefix) {
  if (!prefix.empty() && text.rfind(prefix, 0) == 0) {
    std::string rest = text.substr(prefix.size());
    while (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
    return rest;
  }
  return text;
}

std::string Line(const std::vector<std::string>& lines, const SettingsDeclaration* decl,
                 std::string_view column, size_t fallback) {
  const int at = decl ? decl->LineOf(column) : -1;
  const size_t index = at >= 0 ? static_cast<size_t>(at) : fallback;
  return index < lines.size() ? lines[index] : std::string();
}

std::string Fixed(double value, int places) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", places, value);
  return text;
}

// 600 -> "600", 612.5 -> "612.5".
std::string Millimetres(double value) {
  std::string text = Fixed(value, 3);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}


std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

struct Sheet {
  std::optional<double> thickness;
  std::string source;
};

Sheet SheetOf(double longSide) {
  Sheet sheet;
  if (const SheetThicknessRow* row = SheetForLongSide(longSide)) {
    sheet.thickness = row->thickness;
    sheet.source = std::string(row->source);
  }
  return sheet;
}

// The name of block `key` as the drawing spells it: its definition's, else
// the first placement's.
std::string SpelledName(const Drawing& drawing, const std::string& key) {
  if (const DrawingBlock* block = drawing.Find(key)) return block->name;
  for (const Placement& p : drawing.modelSpace) {
    if (BlockKey(p.block) == key) return p.block;
  }
  for (const auto& [owner, block] : drawing.blocks) {
    for (const Placement& p : block.placements) {
      if (BlockKey(p.block) == key) return p.block;
    }
  }
  return key;
}

}  // namespace

const std::vector<SheetThicknessRow>& LowPressureSheetTable() {
  // 公共建築工事標準仕様書（機械設備工事編）, the table of sheet thickness of
  // rectangular ducts, low-pressure ducts, by the long side. Transcribed
  // from published copies of the table; not re-read against the standard's
  // own text (its edition is not named there), hence "unverified".
  static const std::vector<SheetThicknessRow> kTable = {
      {450, 0.5,
       "公共建築工事標準仕様書（機械設備工事編） 長方形ダクトの板厚 低圧ダクト 長辺 450 以下 "
       "0.5 mm（公表された表の転記、原本未照合）"},
      {750, 0.6,
       "公共建築工事標準仕様書（機械設備工事編） 長方形ダクトの板厚 低圧ダクト 長辺 450 を超え "
       "750 以下 0.6 mm（公表された表の転記、原本未照合）"},
      {1500, 0.8,
       "公共建築工事標準仕様書（機械設備工事編） 長方形ダクトの板厚 低圧ダクト 長辺 750 を超え "
       "1500 以下 0.8 mm（公表された表の転記、原本未照合）"},
      {2200, 1.0,
       "公共建築工事標準仕様書（機械設備工事編） 長方形ダクトの板厚 低圧ダクト 長辺 1500 を超え "
       "2200 以下 1.0 mm（公表された表の転記、原本未照合）"},
      {HUGE_VAL, 1.2,
       "公共建築工事標準仕様書（機械設備工事編） 長方形ダクトの板厚 低圧ダクト 長辺 2200 を超える "
       "もの 1.2 mm（公表された表の転記、原本未照合）"},
  };
  return kTable;
}

const SheetThicknessRow* SheetForLongSide(double longSide) {
  if (!(longSide > 0) || !std::isfinite(longSide)) return nullptr;
  for (const SheetThicknessRow& row : LowPressureSheetTable()) {
    if (longSide <= row.maxLongSide) return &row;
  }
  return nullptr;
}

std::string_view SectionName(Section section) {
  switch (section) {
    case Section::kFitting: return "継手";
    case Section::kStraightDuct: return "直管";
    case Section::kPipePart: return "配管部材";
    case Section::kOther: return "その他のブロック";
  }
  return "";
}

long long StraightDuctJoints(double pitch, double length, bool leftJoint, bool rightJoint) {
  long long joints = (leftJoint ? 1 : 0) + (rightJoint ? 1 : 0);
  if (pitch > 0.0 && std::isfinite(pitch) && length > 0.0 && std::isfinite(length)) {
    // As the builder places them: every pitch from the left end, a joint
    // closer than a micrometre to the right end being the end itself.
    const double between = std::ceil((length - 1e-6) / pitch) - 1;
    if (between > 0) joints += between > 1e12 ? 1000000000000LL : static_cast<long long>(between);
  }
  return joints;
}

std::map<std::string, long long> CountPlacements(const Drawing& drawing,
                                                 std::vector<std::string>* warnings) {
  std::map<std::string, long long> counts;
  // The blocks reached from model space, walked depth first without
  // recursion (nesting may be deep); a placement of a block that is being
  // walked already closes a loop and is left out.
  enum State { kOpen, kDone };
  std::map<std::string, State> state;
  std::set<std::pair<std::string, size_t>> loops;  // (block, index of its placement)
  std::vector<std::pair<std::string, size_t>> stack;
  auto placementsOf = [&](const std::string& key) -> const std::vector<Placement>* {
    auto it = drawing.blocks.find(key);
    return it == drawing.blocks.end() ? nullptr : &it->second.placements;
  };
  for (const Placement& p : drawing.modelSpace) {
    const std::string key = BlockKey(p.block);
    counts[key] = Add(counts[key], p.times);
    if (state.count(key)) continue;
    state[key] = kOpen;
    stack.push_back({key, 0});
    while (!stack.empty()) {
      auto& [block, next] = stack.back();
      const std::vector<Placement>* children = placementsOf(block);
      if (!children || next >= children->size()) {
        state[block] = kDone;
        stack.pop_back();
        continue;
      }
      const size_t index = next++;
      const std::string child = BlockKey((*children)[index].block);
      auto seen = state.find(child);
      if (seen == state.end()) {
        state[child] = kOpen;
        stack.push_back({child, 0});
      } else if (seen->second == kOpen) {
        loops.insert({block, index});
      }
    }
  }
  // Parents before children: a block's count is final once every block
  // placing it has passed its count on.
  std::map<std::string, int> waiting;
  for (const auto& [key, s] : state) {
    waiting.emplace(key, 0);
    if (const std::vector<Placement>* children = placementsOf(key)) {
      for (size_t i = 0; i < children->size(); ++i) {
        if (!loops.count({key, i})) ++waiting[BlockKey((*children)[i].block)];
      }
    }
  }
  std::deque<std::string> ready;
  for (const auto& [key, n] : waiting) {
    if (n == 0) ready.push_back(key);
  }
  while (!ready.empty()) {
    const std::string key = ready.front();
    ready.pop_front();
    const std::vector<Placement>* children = placementsOf(key);
    if (!children) continue;
    for (size_t i = 0; i < children->size(); ++i) {
      if (loops.count({key, i})) continue;
      const std::string child = BlockKey((*children)[i].block);
      counts[child] = Add(counts[child], Times(counts[key], (*children)[i].times));
      if (--waiting[child] == 0) ready.push_back(child);
    }
  }
  if (warnings) {
    for (const auto& [key, index] : loops) {
      const DrawingBlock* block = drawing.Find(key);
      warnings->push_back("ブロック「" + block->name + "」は自分自身を含む入れ子のため、その中の「" +
                          block->placements[index].block + "」は数えていません");
    }
    for (const auto& [key, n] : counts) {
      if (!drawing.Find(key)) {
        warnings->push_back("ブロック「" + SpelledName(drawing, key) +
                            "」は挿入されていますが図面に定義がありません");
      }
    }
  }
  return counts;
}

Schedule BuildSchedule(const Drawing& drawing, const ScheduleSources& sources) {
  Schedule schedule;
  const std::map<std::string, long long> counts = CountPlacements(drawing, &schedule.warnings);
  std::map<std::string, size_t> rowOf;
  auto rowFor = [&](Section section, const std::string& kind, const std::string& dimensions,
                    const std::string& attributes) -> ScheduleRow& {
    const std::string key = std::to_string(static_cast<int>(section)) + '\x1f' + kind + '\x1f' +
                            dimensions + '\x1f' + attributes;
    auto [it, added] = rowOf.emplace(key, schedule.rows.size());
    if (added) {
      ScheduleRow row;
      row.section = section;
      row.kind = kind;
      row.dimensions = dimensions;
      row.attributes = attributes;
      schedule.rows.push_back(std::move(row));
    }
    return schedule.rows[it->second];
  };

  for (const auto& [key, count] : counts) {
    if (count <= 0) continue;
    schedule.placements = Add(schedule.placements, count);
    const DrawingBlock* block = drawing.Find(key);
    const std::string name = SpelledName(drawing, key);
    std::optional<BlockData> data;
    bool byName = false;
    if (block && block->data.Present()) {
      data = block->data;
    } else if (sources.blockFile) {
      data = sources.blockFile(name);
      byName = data.has_value() && data->Present();
    }
    if (!data || !data->Present()) {
      ScheduleRow& row = rowFor(Section::kOther, name, "", "");
      row.count = Add(row.count, count);
      row.blocks.push_back(name);
      continue;
    }
    const FittingKind* kind = FittingForClass(data->className);
    const std::string kindName = kind ? std::string(kind->name) : data->className;
    const std::string attributes = Between(data->description, "属性【", "】");
    const SettingsDeclaration* decl =
        sources.declaration && !data->stem.empty() ? sources.declaration(data->stem + ".ini")
                                                   : nullptr;
    const std::string head = WithoutPrefix(DescriptionHead(data->description), kindName);
    ScheduleRow* row = nullptr;
    if (data->className == "ChokuDialog" && !data->settings.empty()) {
      const std::vector<std::string>& lines = data->settings;
      const std::string size = Line(lines, decl, "size", 1);
      // "600X300", "600×300" and "600 x 300" are one size.
      const std::optional<DuctSection> typed = ParseDuctSection(size);
      row = &rowFor(Section::kStraightDuct, kindName,
                    typed ? Millimetres(typed->width) + "x" + Millimetres(typed->height) : size,
                    attributes);
      const double length = ToDouble(Line(lines, decl, "length", 7));
      const double pitch = ToDouble(Line(lines, decl, "pitch", 0));
      const long long joints = StraightDuctJoints(pitch, length, Line(lines, decl, "left_joint", 3) == "1",
                                                  Line(lines, decl, "right_joint", 4) == "1");
      if (std::isfinite(length) && length > 0) row->totalLengthMm += length * static_cast<double>(count);
      row->joints = Add(row->joints, Times(joints, count));
      if (const std::optional<DuctSection> section = ParseDuctSection(size)) {
        const Sheet sheet = SheetOf(std::max(section->width, section->height));
        row->thicknessMm = sheet.thickness;
        row->thicknessSource = sheet.source;
        row->sheetAreaM2 = 2.0 * (section->width + section->height) / 1000.0 *
                           row->totalLengthMm / 1000.0;
      }
    } else if (data->className == "PartsMenuDialog") {
      // "エルボ サイズ 25A×20A 回転 90° 基点 中央 ミラー無": the part and its size;
      // how it was turned and placed is not a different part.
      std::string part = head.substr(0, head.find(" サイズ "));
      std::string size = Between(head, " サイズ ", " 回転");
      if (part.empty()) part = head;
      row = &rowFor(Section::kPipePart, part, size, attributes);
    } else {
      // The described values of every settings file the block stores (the
      // damper's type, then the dimensions of its type file), and the
      // largest section typed as width × height among them.
      std::string dimensions;
      double longSide = 0.0;
      for (const SettingsFileLines& file : data->Files()) {
        const SettingsDeclaration* fileDecl =
            sources.declaration ? sources.declaration(file.name) : nullptr;
        if (!fileDecl) continue;
        const std::string described = DescribeTypedValues(*fileDecl, file.lines);
        if (!described.empty()) dimensions += (dimensions.empty() ? "" : " ") + described;
        for (size_t i = 0; i < fileDecl->lines.size() && i < file.lines.size(); ++i) {
          if (fileDecl->lines[i].kind != ParamKind::kSize) continue;
          if (const std::optional<DuctSection> s = ParseDuctSection(file.lines[i])) {
            longSide = std::max({longSide, s->width, s->height});
          }
        }
      }
      if (dimensions.empty()) dimensions = head;
      row = &rowFor(Section::kFitting, kindName, dimensions, attributes);
      if (longSide > 0) {
        const Sheet sheet = SheetOf(longSide);
        row->thicknessMm = sheet.thickness;
        row->thicknessSource = sheet.source;
      }
    }
    row->count = Add(row->count, count);
    row->byName = row->byName || byName;
    row->blocks.push_back(name);
  }
  std::stable_sort(schedule.rows.begin(), schedule.rows.end(),
                   [](const ScheduleRow& a, const ScheduleRow& b) {
                     if (a.section != b.section) return a.section < b.section;
                     if (a.kind != b.kind) return a.kind < b.kind;
                     if (a.dimensions != b.dimensions) return a.dimensions < b.dimensions;
                     return a.attributes < b.attributes;
                   });
  return schedule;
}

std::function<std::optional<BlockData>(const std::string&)> BlockFolderLookup(
    const fs::path& folder) {
  // The folder's files by name in capitals, listed once; each read when asked.
  auto files = std::make_shared<std::map<std::string, fs::path>>();
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& path = it->path();
    if (!EqualsIgnoreCase(path.extension().string(), ".dxf")) continue;
    files->emplace(BlockKey(path.stem().string()), path);
  }
  auto read = std::make_shared<std::map<std::string, std::optional<BlockData>>>();
  return [files, read](const std::string& name) -> std::optional<BlockData> {
    const std::string key = BlockKey(name);
    if (auto done = read->find(key); done != read->end()) return done->second;
    std::optional<BlockData> data;
    if (auto it = files->find(key); it != files->end()) {
      BlockFile file = ReadBlockFile(it->second);
      if (file.ok && file.data.Present()) data = std::move(file.data);
    }
    read->emplace(key, data);
    return data;
  };
}

const std::vector<std::string>& ScheduleColumns() {
  static const std::vector<std::string> kColumns = {
      "区分", "種類", "寸法", "属性", "数量", "全長(m)", "継手数", "板厚(mm)", "板面積(m²)",
      "板厚の出典", "認識", "ブロック名"};
  return kColumns;
}

std::vector<std::string> ScheduleCells(const ScheduleRow& row) {
  const bool duct = row.section == Section::kStraightDuct;
  std::string blocks;
  for (const std::string& name : row.blocks) blocks += (blocks.empty() ? "" : " ") + name;
  return {std::string(SectionName(row.section)),
          row.kind,
          row.dimensions,
          row.attributes,
          std::to_string(row.count),
          duct ? Fixed(row.totalLengthMm / 1000.0, 3) : "",
          duct ? std::to_string(row.joints) : "",
          row.thicknessMm ? Fixed(*row.thicknessMm, 1) : "",
          row.sheetAreaM2 ? Fixed(*row.sheetAreaM2, 2) : "",
          row.thicknessSource,
          row.section == Section::kOther ? "" : row.byName ? "ブロック名" : "拡張データ",
          blocks};
}

std::string ScheduleCsv(const Schedule& schedule) {
  std::string csv = "\xEF\xBB\xBF";
  auto line = [&csv](const std::vector<std::string>& cells) {
    for (size_t i = 0; i < cells.size(); ++i) csv += (i ? "," : "") + CsvField(cells[i]);
    csv += "\r\n";
  };
  line(ScheduleColumns());
  for (const ScheduleRow& row : schedule.rows) line(ScheduleCells(row));
  return csv;
}

std::string ScheduleJson(const Schedule& schedule, const std::string& drawingName) {
  std::string json = "{\"drawing\":" + JsonString(drawingName) +
                     ",\"placements\":" + std::to_string(schedule.placements) + ",\"rows\":[";
  for (size_t i = 0; i < schedule.rows.size(); ++i) {
    const ScheduleRow& row = schedule.rows[i];
    json += std::string(i ? "," : "") + "\n{\"section\":" +
            JsonString(std::string(SectionName(row.section))) + ",\"kind\":" + JsonString(row.kind) +
            ",\"dimensions\":" + JsonString(row.dimensions) +
            ",\"attributes\":" + JsonString(row.attributes) +
            ",\"count\":" + std::to_string(row.count);
    if (row.section == Section::kStraightDuct) {
      json += ",\"total_length_m\":" + Fixed(row.totalLengthMm / 1000.0, 3) +
              ",\"joints\":" + std::to_string(row.joints);
    }
    json += ",\"sheet_thickness_mm\":" + (row.thicknessMm ? Fixed(*row.thicknessMm, 1) : "null");
    json += ",\"sheet_area_m2\":" + (row.sheetAreaM2 ? Fixed(*row.sheetAreaM2, 2) : "null");
    json += ",\"thickness_source\":" +
            (row.thicknessSource.empty() ? std::string("null") : JsonString(row.thicknessSource));
    if (row.section != Section::kOther) {
      json += std::string(",\"recognised_by\":") + (row.byName ? "\"name\"" : "\"xdata\"");
    }
    json += ",\"blocks\":[";
    for (size_t b = 0; b < row.blocks.size(); ++b) json += (b ? "," : "") + JsonString(row.blocks[b]);
    json += "]}";
  }
  json += "\n],\"warnings\":[";
  for (size_t w = 0; w < schedule.warnings.size(); ++w)
    json += (w ? "," : "") + JsonString(schedule.warnings[w]);
  return json + "]}\n";
}

}  // namespace tavelin::schedule
