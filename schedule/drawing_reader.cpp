#include "schedule/drawing_reader.hpp"

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <memory>
#include <cstdlib>
#include <sstream>

#include "framework/codepage.hpp"
#include "framework/text.hpp"

namespace tavelin::schedule {
namespace fs = std::filesystem;
namespace {

bool ValidUtf8Text(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

void AppendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// "\U+30A8" escapes, which writers use for characters outside the drawing's
// code page, as the characters.
std::string Unescape(const std::string& text) {
  if (text.find("\\U+") == std::string::npos) return text;
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, "\\U+") == 0 && i + 7 <= text.size() &&
        std::all_of(text.begin() + static_cast<long>(i) + 3, text.begin() + static_cast<long>(i) + 7,
                    [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; })) {
      const unsigned code = static_cast<unsigned>(std::stoul(text.substr(i + 3, 4), nullptr, 16));
      if (code != 0 && (code < 0xD800 || code > 0xDFFF)) {
        AppendUtf8(out, code);
        i += 6;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

long long Saturated(long long a, long long b) {
  constexpr long long kMax = std::numeric_limits<long long>::max() / 4;
  if (a <= 0 || b <= 0) return 0;
  return a > kMax / b ? kMax : a * b;
}

blockbuilder::EntityAttributes PictureAttributes(const DL_Attributes& attributes) {
  blockbuilder::EntityAttributes out;
  const int colour = attributes.getColor();
  // By layer, by block and colours out of range draw white on the dark ground.
  out.colour = colour >= 1 && colour <= 255 ? colour : 7;
  return out;
}

class Collector : public DL_CreationAdapter {
 public:
  explicit Collector(Drawing& drawing) : drawing_(drawing) {}

  void setVariableString(const std::string& key, const std::string& value, int) override {
    if (key == "$ACADVER") drawing_.version = value;
    if (key == "$DWGCODEPAGE") codePage_ = value;
  }

  void addBlock(const DL_BlockData& data) override {
    TakeXdata();
    const std::string name = Text(data.name);
    const std::string key = BlockKey(name);
    // The layouts' own blocks hold what model space and paper space show,
    // not blocks a drafter made.
    skipping_ = key == "*MODEL_SPACE" || key.rfind("*PAPER_SPACE", 0) == 0 ||
                key == "$MODEL_SPACE" || key.rfind("$PAPER_SPACE", 0) == 0;
    block_ = nullptr;
    if (skipping_) return;
    DrawingBlock& block = drawing_.blocks[key];
    block.name = name;
    block_ = &block;
    baseX_ = Finite(data.bpx);
    baseY_ = Finite(data.bpy);
  }

  void endBlock() override {
    TakeXdata();
    block_ = nullptr;
    skipping_ = false;
  }

  void addInsert(const DL_InsertData& data) override {
    TakeXdata();
    if (skipping_) return;
    const long long columns = std::max(1, data.cols), rows = std::max(1, data.rows);
    Placement placement{Text(data.name), Saturated(columns, rows)};
    if (block_) {
      block_->placements.push_back(std::move(placement));
    } else if (!getAttributes().isInPaperSpace()) {
      drawing_.modelSpace.push_back(std::move(placement));
    }
  }

  void addLine(const DL_LineData& d) override {
    TakeXdata();
    Picture(blockbuilder::EntityKind::kLine, {d.x1 - baseX_, d.y1 - baseY_, d.x2 - baseX_,
                                              d.y2 - baseY_, 0});
  }
  void addArc(const DL_ArcData& d) override {
    TakeXdata();
    Picture(blockbuilder::EntityKind::kArc,
            {d.cx - baseX_, d.cy - baseY_, d.radius, d.angle1, d.angle2});
  }
  void addCircle(const DL_CircleData& d) override {
    TakeXdata();
    Picture(blockbuilder::EntityKind::kCircle, {d.cx - baseX_, d.cy - baseY_, d.radius, 0, 0});
  }
  void addPolyline(const DL_PolylineData&) override { TakeXdata(); }
  void addText(const DL_TextData&) override { TakeXdata(); }
  void addMText(const DL_MTextData&) override { TakeXdata(); }
  void addPoint(const DL_PointData&) override { TakeXdata(); }
  void addHatch(const DL_HatchData&) override { TakeXdata(); }
  void addDimLinear(const DL_DimensionData&, const DL_DimLinearData&) override { TakeXdata(); }
  void endEntity() override { TakeXdata(); }

  // The extended data of an entity comes before the entity itself.
  void addXDataApp(const std::string& app) override {
    ours_ = Trimmed(app) == kBlockAppName;
    if (ours_) xdata_.clear();
  }
  void addXDataString(int code, const std::string& value) override {
    if (ours_) xdata_.push_back({code, Text(value)});
  }
  void addXDataInt(int code, int value) override {
    if (ours_) xdata_.push_back({code, FormatD(value)});
  }

  void Finish() { TakeXdata(); }

 private:
  static double Finite(double value) { return std::isfinite(value) ? value : 0.0; }
  static std::string Trimmed(const std::string& text) {
    size_t a = text.find_first_not_of(" \t"), b = text.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : text.substr(a, b - a + 1);
  }

  // The data gathered for the entity just read goes to its block: the
  // first entity that carries the builder's data says what the block is.
  void TakeXdata() {
    if (!xdata_.empty() && block_ && !block_->data.Present()) block_->data = FromXdata(xdata_);
    xdata_.clear();
    ours_ = false;
  }

  void Picture(blockbuilder::EntityKind kind, std::initializer_list<double> values) {
    if (!block_ || block_->entities.size() >= kMaxPictureEntities) return;
    blockbuilder::Entity entity;
    entity.kind = kind;
    size_t i = 0;
    for (double v : values) {
      if (!std::isfinite(v)) return;
      entity.v[i++] = v;
    }
    entity.attributes = PictureAttributes(getAttributes());
    block_->entities.push_back(std::move(entity));
  }

  // A text of the file as UTF-8: drawings from 2007 on are UTF-8; older ones
  // are in their code page, which is Japanese for the builder's blocks.
  std::string Text(const std::string& raw) const {
    const bool utf8 = drawing_.version >= "AC1021";
    if (utf8 || codePage_.empty() || !EqualsIgnoreCase(codePage_, "ANSI_932")) {
      if (utf8 || ValidUtf8Text(raw)) return Unescape(raw);
    }
    return Unescape(Cp932ToUtf8(raw));
  }

  Drawing& drawing_;
  std::string codePage_;
  DrawingBlock* block_ = nullptr;
  bool skipping_ = false;
  double baseX_ = 0, baseY_ = 0;
  bool ours_ = false;
  XdataItems xdata_;
};

std::string_view TrimmedView(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

// The first `count` lines of `bytes`, trimmed.
std::vector<std::string_view> FirstLines(std::string_view bytes, size_t count) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (lines.size() < count && start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    lines.push_back(TrimmedView(bytes.substr(start, end - start)));
    start = end + 1;
  }
  return lines;
}

// The last two lines that hold anything, trimmed; end-of-file marks (^Z)
// and padding some writers leave after "EOF" are passed over.
std::vector<std::string_view> LastLines(std::string_view bytes) {
  while (!bytes.empty() && (bytes.back() == '\x1a' || bytes.back() == '\0')) bytes.remove_suffix(1);
  std::vector<std::string_view> lines;
  size_t end = bytes.size();
  while (lines.size() < 2 && end > 0) {
    const size_t start = bytes.rfind('\n', end - 1);
    const size_t from = start == std::string_view::npos ? 0 : start + 1;
    std::string_view line = TrimmedView(bytes.substr(from, end - from));
    if (!line.empty()) lines.insert(lines.begin(), line);
    if (start == std::string_view::npos) break;
    end = start;
  }
  return lines;
}

// The part of a drawing the schedule reads, as DXF again: the version and
// code page of the header, the blocks' BLOCK and ENDBLK records, and the
// lines, arcs, circles and INSERTs of the blocks and of the entities
// section with their extended data. Everything else is left out before
// dxflib sees it: some of its entity readers size their buffers from
// counts in the file, so that a damaged or hostile count would exhaust the
// memory. False with `error` set where a group code is not a number.
constexpr size_t kMaxLineBytes = DL_DXF_MAXLINE - 2;

bool KeptPart(std::string_view bytes, std::string& out, std::string& error) {
  out.reserve(bytes.size() / 2);
  std::string_view section;
  bool keeping = false;      // the current entity or record is kept
  bool headerValue = false;  // the next value pair follows a kept header variable
  bool inSection = false, inBlock = false;
  size_t start = 0;
  long long lineNumber = 0;
  auto nextLine = [&](std::string_view& line) {
    if (start >= bytes.size()) return false;
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;
    ++lineNumber;
    return true;
  };
  std::string_view codeLine, value;
  while (nextLine(codeLine)) {
    const std::string_view codeText = TrimmedView(codeLine);
    if (codeText.empty() && start >= bytes.size()) break;
    if (!nextLine(value)) break;
    char* end = nullptr;
    const std::string codeCopy(codeText);
    const long code = std::strtol(codeCopy.c_str(), &end, 10);
    if (codeCopy.empty() || *end != '\0' || code < -5 || code > 1071) {
      error = "DXF の形式が壊れています（" + std::to_string(lineNumber - 1) +
              " 行目がグループコードではありません）。";
      return false;
    }
    // dxflib reads a line into a buffer of DL_DXF_MAXLINE bytes and never
    // gets past a longer one; no value of the records kept is that long
    // (names and extended-data strings hold at most 255 bytes).
    auto tooLong = [&](std::string_view text) {
      if (text.size() < kMaxLineBytes) return false;
      error = "DXF の形式が壊れています（" + std::to_string(lineNumber) + " 行目が長すぎます）。";
      return true;
    };
    auto emit = [&] {
      out += std::to_string(code);
      out += '\n';
      out += value;
      out += '\n';
    };
    if (code == 0) {
      const std::string_view type = TrimmedView(value);
      headerValue = false;
      // Sections and blocks must close: a file cut short and mended with
      // an "EOF" is not a drawing whose counts can be trusted.
      if ((type == "ENDSEC" || type == "EOF" || type == "SECTION") && inBlock) {
        error = "DXF の構造が壊れています（ブロックが ENDBLK で閉じていません）。";
        return false;
      }
      if ((type == "EOF" || type == "SECTION") && inSection) {
        error = "DXF の構造が壊れています（セクションが ENDSEC で閉じていません）。";
        return false;
      }
      if (type == "SECTION") inSection = true;
      if (type == "ENDSEC") inSection = false;
      if (section == "BLOCKS" && type == "BLOCK") inBlock = true;
      if (section == "BLOCKS" && type == "ENDBLK") inBlock = false;
      if (type == "EOF") {
        emit();
        return true;
      }
      if (type == "SECTION") {
        emit();
        std::string_view nameCode, name;
        if (!nextLine(nameCode) || !nextLine(name)) break;
        if (tooLong(name)) return false;
        section = TrimmedView(name);
        out += "2\n";
        out += section;
        out += '\n';
        keeping = false;
        continue;
      }
      if (type == "ENDSEC") {
        emit();
        section = {};
        keeping = false;
        continue;
      }
      const bool drawn = section == "BLOCKS" || section == "ENTITIES";
      keeping = drawn && (type == "BLOCK" || type == "ENDBLK" || type == "LINE" || type == "ARC" ||
                          type == "CIRCLE" || type == "INSERT");
      if (keeping) emit();
      continue;
    }
    if ((keeping || headerValue || (section == "HEADER" && code == 9)) && tooLong(value)) return false;
    if (section == "HEADER") {
      if (code == 9) {
        const std::string_view name = TrimmedView(value);
        headerValue = name == "$ACADVER" || name == "$DWGCODEPAGE";
        if (headerValue) emit();
      } else if (headerValue) {
        emit();
        headerValue = false;
      }
      continue;
    }
    if (keeping) emit();
  }
  return true;
}

}  // namespace

std::string BlockKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

const DrawingBlock* Drawing::Find(std::string_view name) const {
  auto it = blocks.find(BlockKey(name));
  return it == blocks.end() ? nullptr : &it->second;
}

Drawing ParseDrawing(std::string_view bytes) {
  Drawing drawing;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (bytes.substr(0, 18) == "AutoCAD Binary DXF") {
    drawing.error = "バイナリ形式の DXF は読めません。ASCII 形式で保存してください。";
    return drawing;
  }
  // A DXF file starts with a section (after comments, group 999).
  std::vector<std::string_view> head = FirstLines(bytes, 64);
  size_t at = 0;
  while (at + 1 < head.size() && head[at] == "999") at += 2;
  if (at + 1 >= head.size() || head[at] != "0" || head[at + 1] != "SECTION") {
    drawing.error = "DXF ファイルではありません（先頭が「0 / SECTION」ではありません）。";
    return drawing;
  }
  const std::vector<std::string_view> tail = LastLines(bytes);
  if (tail.size() < 2 || tail[0] != "0" || tail[1] != "EOF") {
    drawing.error = "DXF ファイルが途中で切れています（最後の「0 / EOF」がありません）。";
    return drawing;
  }
  std::string kept;
  if (!KeptPart(bytes, kept, drawing.error)) return drawing;
  Collector collector(drawing);
  try {
    std::istringstream stream{std::move(kept)};
    auto dxf = std::make_unique<DL_Dxf>();
    if (!dxf->in(stream, &collector)) {
      drawing.error = "DXF ファイルを読めませんでした。";
      return drawing;
    }
    collector.Finish();
  } catch (const std::exception& error) {
    drawing = {};
    drawing.error = std::string("DXF ファイルを読めませんでした（") + error.what() + "）。";
    return drawing;
  }
  drawing.ok = true;
  return drawing;
}

Drawing ReadDrawing(const fs::path& path, std::uintmax_t maxBytes) {
  Drawing drawing;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) {
    drawing.error = "図面ファイルがありません: " + path.string();
    return drawing;
  }
  if (!fs::is_regular_file(status)) {
    drawing.error = "図面ファイルが通常のファイルではありません: " + path.string();
    return drawing;
  }
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) {
    drawing.error = "図面ファイルを読めません: " + path.string();
    return drawing;
  }
  if (size > maxBytes) {
    drawing.error = "図面ファイルが大きすぎます（" + FormatD(static_cast<int>(size >> 20)) +
                    " MB、" + FormatD(static_cast<int>(maxBytes >> 20)) + " MB まで）: " +
                    path.string();
    return drawing;
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  bytes.resize(static_cast<size_t>(size));
  // Read no more than the size measured, even when the file grows meanwhile.
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  if (!in) {
    drawing.error = "図面ファイルを読めません: " + path.string();
    return drawing;
  }
  return ParseDrawing(bytes);
}

}  // namespace tavelin::schedule
