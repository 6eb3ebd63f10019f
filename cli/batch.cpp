#include "cli/batch.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>

#include "app/dialog_registry.hpp"
#include "blockbuilder/builder.hpp"
#include "cli/catalogue.hpp"
#include "framework/background_flush.hpp"
#include "framework/build_job.hpp"
#include "framework/codepage.hpp"
#include "framework/design_rules.hpp"
#include "framework/generator_dialog.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace fs = std::filesystem;
namespace {

constexpr int kUsageError = 2;
constexpr int kFailure = 3;
// A CSV larger than this is not a list of fittings.
constexpr std::uintmax_t kMaxCsvBytes = 64 * 1024 * 1024;
// A header with more columns than this is not a list of fittings.
constexpr size_t kMaxColumns = 1024;
// Settings files hold a few dozen lines; a larger line number is a mistake.
constexpr int kMaxLineNumber = 100;

// ---- Names of the settings lines. ----

const std::vector<SettingsLineName> kErbo = {
    {"W1", 1, "元管巾"},
    {"R", 2, "内R（内R' も同じ値にする）"},
    {"W2", 3, "先管巾"},
    {"R2", 4, "内R'（元管側）"},
    {"L1", 5, "先管直管長"},
    {"A", 8, "角度（15〜90）"},
    {"base", 9, "基準点 1 外角・2 中心・3 内角", false},
    {"radius_factor", 10, "基準内R 1 0.5R・2 1.0R", false},
    {"mirror", 11, "左右反転 1/0", false},
    {"current_layer", 12, "現在のレイヤに作図 1/0", false},
    {"L2", 13, "元管直管長"},
    {"outer_sharp", 14, "外角 1/0", false},
    {"inner_sharp", 15, "内角 1/0", false},
};
const std::vector<SettingsLineName> kChoku = {
    {"pitch", 1, "ピッチ"},
    {"size", 2, "サイズ（「600x150」と書けば縦横比も確かめる）"},
    {"base", 3, "基準点 1 左端・2 中央・3 右端", false},
    {"left_joint", 4, "左の継手を作図 1/0", false},
    {"right_joint", 5, "右の継手を作図 1/0", false},
    {"drawing", 6, "1 ダクト線のみ・2 フランジのみ・3 両方", false},
    {"fixed45", 7, "45°固定 1/0", false},
    {"length", 8, "全長"},
};
const std::vector<SettingsLineName> kAnemoB = {
    {"W", 1, "ボックス寸法"},
    {"B", 2, "接続ダクト長"},
    {"D", 4, "ダクト径（ネック）"},
    {"A", 5, "アネモ面寸法"},
    {"H", 6, "接続ダクト巾"},
    {"rotation", 7, "角度", false},
    {"L", 8, "羽子板形の長さ"},
    {"c", 9, "ネックとボックス側面の間隔"},
    {"T", 10, "内貼り厚"},
    {"size", 11, "サイズ（#25 など）"},
    {"shape", 12, "形状 1 羽子板形・2 ボックス+角ダクト・3 ボックス+丸ダクト", false},
    {"steps", 13, "段差書込み有 1/0", false},
    {"lined", 14, "内貼り有 1/0", false},
    {"mirror", 15, "左右反転 1/0", false},
    {"current_layer", 16, "現在のレイヤに作図 1/0", false},
    {"anemostat", 17, "1 角アネモ・2 丸アネモ", false},
};
const std::vector<SettingsLineName> kDanpa = {
    {"L1", 1, "始点から軸まで"},
    {"L2", 2, "軸から終点まで"},
    {"W", 3, "羽枠の巾"},
    {"A", 4, "操作部の寸法"},
    {"D", 5, "ダクト巾（「600x150」と書けば縦横比も確かめる）"},
    {"S", 6, "羽隙間"},
    {"base", 7, "配置基点 1〜4", false},
};
const std::vector<SettingsLineName> kDanpaFd = [] {
  std::vector<SettingsLineName> names = kDanpa;
  names.push_back({"hatch", 8, "FDハッチング有り 1/0", false});
  return names;
}();
const std::vector<SettingsLineName> kDanpaFt = {
    {"L1", 1, "始点から軸まで"},
    {"L2", 2, "軸から継手まで"},
    {"L3", 3, "追加の直管長"},
    {"W", 4, "羽枠の巾"},
    {"A", 5, "操作部の寸法"},
    {"D", 6, "ダクト巾"},
    {"S", 7, "羽隙間"},
    {"base", 8, "配置基点 1〜6", false},
    {"hatch", 9, "FDハッチング有り 1/0", false},
};

// The damper's types: the value of its "type" column, the type file.
struct DamperType {
  std::string_view name;
  std::string_view file;
};
constexpr DamperType kDamperTypes[] = {
    {"VD", "Danpa_VD.ini"}, {"MD", "Danpa_MD.ini"},  {"CD", "Danpa_CD.ini"},
    {"FD", "Danpa_FD.ini"}, {"FD+", "Danpa_FT.ini"},
};

// ---- The rows. ----

struct RowResult {
  int row = 0;  // as a spreadsheet numbers it: the header is row 1
  std::string stem;
  bool written = false;
  std::string blockName;
  std::string reason;
  std::vector<std::string> warnings;
  CatalogueEntry entry;
};

// Message boxes become the row's reasons; nothing waits for a user.
class BatchHost : public ui::UiHost {
 public:
  int ShowMessage(ui::Dialog*, const std::string& text, const std::string&) override {
    messages.push_back(text);
    return ui::kIdOk;
  }
  int RunModal(ui::Dialog&) override {
    messages.push_back("一括作成ではほかのダイアログを開けません");
    return ui::kIdCancel;
  }
  std::vector<std::string> messages;
};

class FinishedRun : public BuildRun {
 public:
  explicit FinishedRun(BuildOutcome outcome) : outcome_(std::move(outcome)) {}
  std::optional<BuildOutcome> Poll() override { return outcome_; }
  BuildOutcome Wait() override { return outcome_; }

 private:
  BuildOutcome outcome_;
};

// The block builder in this process: the same code as the program, writing
// into the output folder.
// The blocks reach the disk together at the end.
class InProcessLauncher : public BlockBuilderLauncher {
 public:
  InProcessLauncher(fs::path root, fs::path blocks, blockbuilder::BlockFolderIndex& index)
      : root_(std::move(root)), blocks_(std::move(blocks)), index_(index) {}
  std::unique_ptr<BuildRun> Start(const fs::path& jobRoot, const std::string& blockName) override {
    last = blockbuilder::BuildBlockInto(blocks_, jobRoot, {Flush::kLater, &index_});
    // A name taken by another block keeps the job: the dialog's run starts
    // it again under the next name.
    if (!last->nameTaken && IsJobFolderOf(root_, jobRoot)) {
      std::error_code ignored;
      fs::remove_all(jobRoot, ignored);
    }
    BuildOutcome outcome;
    outcome.written = last->written;
    outcome.nameTaken = last->nameTaken;
    outcome.blockName = last->blockName.empty() ? blockName : last->blockName;
    for (const std::string& line : last->logLines) {
      outcome.reason += (outcome.reason.empty() ? "" : "; ") + line;
    }
    return std::make_unique<FinishedRun>(std::move(outcome));
  }
  std::optional<blockbuilder::BuildResult> last;

 private:
  fs::path root_;
  fs::path blocks_;
  blockbuilder::BlockFolderIndex& index_;
};

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string Trim(std::string_view text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

// A line number column: "1" to "100".
int LineNumberOf(std::string_view header) {
  if (header.empty() || header.size() > 3) return 0;
  for (char c : header) {
    if (c < '0' || c > '9') return 0;
  }
  const int n = ToInt(header);
  return n >= 1 && n <= kMaxLineNumber ? n : 0;
}

bool ValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 9;
    if (extra == 9 || (extra > 0 && c < 0xC2)) return false;
    for (size_t k = 1; k <= extra; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
        return false;
    }
    i += extra + 1;
  }
  return true;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\u%04x", c);
          out += hex;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

struct Batch {
  const BatchOptions& options;
  fs::path scratch;  // a copy of ROOT/info the rows write their settings into
  fs::path blocks;
  std::unique_ptr<blockbuilder::BlockFolderIndex> blockNames;  // of `blocks`
  std::vector<std::string> header;
  // The settings files of the root as stored, read once.
  std::map<std::string, std::vector<std::string>> stored;

  const std::vector<std::string>& Stored(const std::string& file) {
    auto it = stored.find(file);
    if (it != stored.end()) return it->second;
    const InfoFolder info(options.root);
    std::vector<std::string> lines;
    if (info.Exists(file)) lines = info.ReadToEnd(file, kMaxLineNumber);
    return stored.emplace(file, std::move(lines)).first->second;
  }

  RowResult Run(int rowNumber, const std::vector<std::string>& cells);
};

RowResult Batch::Run(int rowNumber, const std::vector<std::string>& cells) {
  RowResult result;
  result.row = rowNumber;
  auto cell = [&](size_t i) { return i < cells.size() ? Trim(cells[i]) : std::string(); };
  std::string typeValue;
  for (size_t i = 0; i < header.size(); ++i) {
    const std::string name = Lower(header[i]);
    if (name == "stem") result.stem = cell(i);
    if (name == "type") typeValue = cell(i);
  }
  if (result.stem.empty()) {
    result.reason = "stem が空です";
    return result;
  }
  const std::string_view className = ClassForStem(result.stem);
  const DialogEntry* entry = nullptr;
  for (const DialogEntry& candidate : DialogTable()) {
    if (!className.empty() && candidate.className == className) entry = &candidate;
  }
  if (!entry) {
    result.reason = "設定ファイル " + result.stem + ".ini を持つ作図ダイアログはありません";
    return result;
  }
  result.entry.generator = std::string(entry->caption);

  // The file the values go to; the damper keeps one per type, chosen by "type".
  std::string file = std::string(entry->stem) + ".ini";
  std::vector<std::pair<std::string, std::vector<std::string>>> writes;
  std::string variant;
  if (entry->stem == "Danpa") {
    int type = 0;
    if (typeValue.empty()) {
      type = ToInt(Stored("Danpa.ini").empty() ? std::string() : Stored("Danpa.ini")[0]);
    } else {
      for (int k = 0; k < 5; ++k) {
        if (EqualsIgnoreCase(typeValue, kDamperTypes[k].name) || typeValue == std::to_string(k + 1))
          type = k + 1;
      }
    }
    if (type < 1 || type > 5) {
      result.reason =
          typeValue.empty()
              ? std::string("ダンパーの種類が保存されていません。type の列で指定してください")
              : "ダンパーの type " + typeValue + " は VD・MD・CD・FD・FD+ のどれでもありません";
      return result;
    }
    variant = std::string(kDamperTypes[type - 1].name);
    file = std::string(kDamperTypes[type - 1].file);
    writes.push_back({"Danpa.ini", {std::to_string(type)}});
  } else if (!typeValue.empty()) {
    result.reason = "type の列は ダンパー（Danpa）にだけ使えます";
    return result;
  }
  const std::vector<SettingsLineName>& names = SettingsLineNames(entry->stem, variant);

  std::vector<std::string> lines = Stored(file);
  std::string given;
  for (size_t i = 0; i < header.size(); ++i) {
    const std::string name = Lower(header[i]);
    const std::string value = cell(i);
    if (name.empty() || name == "stem" || name == "type" || value.empty()) continue;
    // Notes for the reader of the list.
    if (name == "note" || name == "備考" || name[0] == '#') continue;
    std::vector<int> targets;
    if (int n = LineNumberOf(name)) targets.push_back(n);
    for (const SettingsLineName& named : names) {
      if (Lower(named.name) == name) targets.push_back(named.line);
    }
    // R and R' are kept equal by the elbow while typing; "R" sets both.
    if (entry->stem == "Erbo" && name == "r") targets.push_back(4);
    // A line end would split the value over two settings lines and shift every line after it.
    if (value.find_first_of("\r\n") != std::string::npos) {
      result.reason = "列 " + header[i] + " の値に改行があります";
      return result;
    }
    if (targets.empty()) {
      result.reason =
          "列 " + header[i] + " は " + std::string(entry->stem) + " の設定行にありません";
      return result;
    }
    for (int line : targets) {
      if (lines.size() < static_cast<size_t>(line)) lines.resize(static_cast<size_t>(line));
      lines[static_cast<size_t>(line) - 1] = value;
    }
    // A generator without names is described by the lines the row gave.
    if (names.empty()) given += (given.empty() ? "" : " ") + header[i] + "行=" + value;
  }
  writes.push_back({file, lines});
  std::string dimensions;
  for (const SettingsLineName& named : names) {
    const size_t at = static_cast<size_t>(named.line) - 1;
    if (at < lines.size() && !lines[at].empty() && named.dimension) {
      dimensions += (dimensions.empty() ? "" : " ") + std::string(named.name) + "=" + lines[at];
    }
  }
  if (names.empty()) dimensions = given;
  if (!variant.empty()) dimensions = variant + " " + dimensions;
  result.entry.dimensions = dimensions;

  BatchHost host;
  InProcessLauncher launcher(scratch, blocks, *blockNames);
  ui::AppContext app(scratch);
  app.ui = &host;
  app.launcher = &launcher;
  InstallDialogFactory(app);
  try {
    for (const auto& [name, content] : writes) app.info.WriteLines(name, content);
  } catch (const FileError& error) {
    result.reason = error.Path().filename().string() + " を書けません: " + error.Reason();
    return result;
  }
  std::unique_ptr<ui::Dialog> dialog = entry->create(app);
  NullCanvas canvas;
  // As "generate" does: open, paint, generate; then OK with all its checks.
  dialog->Initialize();
  if (!dialog->Ended()) dialog->Paint(canvas);
  if (!dialog->Ended()) dialog->Generate();
  if (!dialog->Ended() && host.messages.empty()) {
    dialog->UserOk();
    dialog->WaitForBuild();
  }
  if (auto* rules = dynamic_cast<DesignRuleSource*>(dialog.get()))
    result.warnings = rules->DesignWarnings();
  result.entry.warnings = result.warnings;
  if (launcher.last && launcher.last->written && host.messages.empty()) {
    result.written = true;
    result.blockName = launcher.last->blockName;
    result.entry.blockName = result.blockName;
    result.entry.entities = std::move(launcher.last->drawn);
    return result;
  }
  for (const std::string& message : host.messages) {
    result.reason += (result.reason.empty() ? "" : " ") + OneLine(message);
  }
  if (result.reason.empty() && launcher.last) {
    result.reason =
        "ブロックを作成できませんでした: " +
        OneLine(launcher.last->logLines.empty() ? std::string() : launcher.last->logLines.back());
  }
  if (result.reason.empty()) result.reason = "ブロック作成まで進みませんでした";
  return result;
}

// Reads the CSV file whole into `text`; an error text when it cannot. Only a
// regular file is opened: a pipe would wait for a writer, a device never end.
std::string ReadCsvFile(const fs::path& csv, std::string& text) {
  const std::string cannotRead = "cannot read " + csv.string();
  std::error_code ec;
  const fs::file_status status = fs::status(csv, ec);
  if (fs::exists(status) && !fs::is_regular_file(status))
    return cannotRead + " (not a regular file)";
  const int fd = ::open(csv.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return cannotRead;
  struct stat info {};
  std::string failure;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    failure = cannotRead + " (not a regular file)";
  } else if (static_cast<std::uintmax_t>(info.st_size) > kMaxCsvBytes) {
    failure = csv.string() + " is larger than 64 MB";
  } else {
    text.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        failure = cannotRead;
        break;
      }
      if (got == 0) break;
      if (text.size() + static_cast<size_t>(got) > kMaxCsvBytes) {
        failure = csv.string() + " is larger than 64 MB";
        break;
      }
      text.append(buffer, static_cast<size_t>(got));
    }
  }
  ::close(fd);
  if (!failure.empty()) text.clear();
  return failure;
}

// The scratch copies of batches that ended without removing theirs (killed
// by a signal): "tavelin-batch-PID-N" whose process no longer runs.
void RemoveDeadScratches(const fs::path& base) {
  const std::string prefix = "tavelin-batch-";
  std::error_code ec;
  for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(prefix, 0) != 0) continue;
    const size_t dash = name.find('-', prefix.size());
    const std::string digits = name.substr(prefix.size(), dash - prefix.size());
    if (dash == std::string::npos || digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    const pid_t owner = static_cast<pid_t>(std::stol(digits));
    if (owner <= 0 || owner == ::getpid() || ::kill(owner, 0) == 0 || errno != ESRCH) continue;
    std::error_code kind;
    if (!fs::is_directory(it->symlink_status(kind)) || kind) continue;
    std::error_code removed;
    fs::remove_all(it->path(), removed);
  }
}

// Where the scratch copy goes: $TMPDIR when set, else the memory file
// system when there is one. Every row writes and renames a dozen small files
// there, which a disk file system makes several times slower.
fs::path ScratchBase() {
  std::error_code ec;
  const char* tmpdir = std::getenv("TMPDIR");
  if ((!tmpdir || !*tmpdir) && fs::is_directory("/dev/shm", ec) &&
      ::access("/dev/shm", W_OK) == 0) {
    return "/dev/shm";
  }
  return fs::temp_directory_path(ec);
}

fs::path MakeScratch(const fs::path& root) {
  std::random_device device;
  std::error_code ec;
  const fs::path base = ScratchBase();
  RemoveDeadScratches(base);
  for (int attempt = 0; attempt < 20; ++attempt) {
    const fs::path dir = base / ("tavelin-batch-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(device() % 1000000));
    if (fs::create_directory(dir, ec)) {
      fs::copy(root / "info", dir / "info", fs::copy_options::recursive, ec);
      if (ec) {
        fs::remove_all(dir, ec);
        throw FileError(root / "info", "作業用にコピーできません");
      }
      return dir;
    }
  }
  throw FileError(fs::temp_directory_path(ec), "作業フォルダを作れません");
}

void Progress(const BatchOptions& options, std::ostream& err, size_t done, size_t total,
              const RowResult& row) {
  if (options.terminal) {
    constexpr int kWidth = 30;
    const int filled = total ? static_cast<int>(done * kWidth / total) : kWidth;
    err << "\r[" << std::string(static_cast<size_t>(filled), '#')
        << std::string(static_cast<size_t>(kWidth - filled), '.') << "] " << done << "/" << total;
    if (done == total) err << "\n";
    err.flush();
    return;
  }
  err << done << "/" << total << " 行 " << row.row << " " << row.stem << ": "
      << (row.written ? "作成 " + row.blockName : "拒否") << "\n";
}

}  // namespace

CsvReader::CsvReader(std::string_view text) : text_(text) {
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
}

bool CsvReader::Next(std::vector<std::string>& row, size_t maxFields) {
  row.clear();
  if (!error_.empty()) return false;
  std::string field;
  bool quoted = false, any = false, fieldStarted = false;
  // A field beyond `maxFields` is read but not kept.
  auto add = [&](char c) {
    if (row.size() < maxFields) field += c;
    fieldStarted = true;
  };
  auto endField = [&] {
    if (row.size() < maxFields) row.push_back(std::move(field));
    field.clear();
    fieldStarted = false;
  };
  while (at_ < text_.size()) {
    const char c = text_[at_];
    if (quoted) {
      if (c == '"') {
        if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
          add('"');
          at_ += 2;
          continue;
        }
        quoted = false;
      } else {
        add(c);
      }
      ++at_;
      continue;
    }
    ++at_;
    if (c == '"' && !fieldStarted) {
      quoted = true;
      any = true;
    } else if (c == ',') {
      endField();
      any = true;
    } else if (c == '\r' && at_ < text_.size() && text_[at_] == '\n') {
      // CR LF: the LF ends the row.
    } else if (c == '\n') {
      endField();
      return true;
    } else {
      add(c);
      any = true;
    }
  }
  if (quoted) {
    error_ = "引用符 \" が閉じていません";
    row.clear();
    return false;
  }
  if (!any && !fieldStarted && row.empty()) return false;
  endField();
  return true;
}

bool ParseCsv(std::string_view text, std::vector<std::vector<std::string>>& rows,
              std::string& error) {
  rows.clear();
  CsvReader reader(text);
  std::vector<std::string> row;
  while (reader.Next(row)) rows.push_back(row);
  error = reader.Error();
  return error.empty();
}

const std::vector<SettingsLineName>& SettingsLineNames(std::string_view stem,
                                                       std::string_view variant) {
  static const std::vector<SettingsLineName> kNone;
  if (EqualsIgnoreCase(stem, "Erbo")) return kErbo;
  if (EqualsIgnoreCase(stem, "Choku")) return kChoku;
  if (EqualsIgnoreCase(stem, "AnemoB")) return kAnemoB;
  if (EqualsIgnoreCase(stem, "Danpa")) {
    if (variant == "FD") return kDanpaFd;
    if (variant == "FD+") return kDanpaFt;
    return kDanpa;
  }
  return kNone;
}

int RunBatch(const BatchOptions& options, std::ostream& out, std::ostream& err) {
  const auto started = std::chrono::steady_clock::now();
  std::error_code ec;
  if (!fs::is_directory(options.root / "info", ec)) {
    err << "tavelin-cli: the info folder " << (options.root / "info").string()
        << " does not exist (run: tavelin-cli --root " << options.root.string() << " init)\n";
    return kFailure;
  }
  std::string text;
  if (std::string failure = ReadCsvFile(options.csv, text); !failure.empty()) {
    err << "tavelin-cli: " << failure << "\n";
    return kUsageError;
  }
  // A spreadsheet saved in the system code page rather than UTF-8.
  if (!ValidUtf8(text)) text = Cp932ToUtf8(text);
  // The rows are read twice, never all kept: once to count them and find a
  // quote left open before any row runs, once to run them. A row keeps no
  // more fields than the header has columns.
  Batch batch{options, {}, {}, {}, {}, {}};
  size_t rowCount = 0;
  {
    CsvReader reader(text);
    std::vector<std::string> row;
    if (reader.Next(row, kMaxColumns + 1)) {
      ++rowCount;
      batch.header = row;
      while (reader.Next(row, 1)) ++rowCount;
    }
    if (!reader.Error().empty()) {
      err << "tavelin-cli: " << options.csv.string() << ": " << reader.Error() << "\n";
      return kUsageError;
    }
  }
  if (rowCount == 0) {
    err << "tavelin-cli: " << options.csv.string() << " is empty\n";
    return kUsageError;
  }
  if (batch.header.size() > kMaxColumns) {
    err << "tavelin-cli: the header row of " << options.csv.string() << " has more than "
        << kMaxColumns << " columns\n";
    return kUsageError;
  }
  for (std::string& name : batch.header) name = Trim(name);
  bool hasStem = false;
  for (const std::string& name : batch.header) hasStem = hasStem || Lower(name) == "stem";
  if (!hasStem) {
    err << "tavelin-cli: the header row of " << options.csv.string() << " has no column \"stem\"\n";
    return kUsageError;
  }
  batch.blocks = options.out.empty() ? options.root / "blocks" : options.out;
  fs::create_directories(batch.blocks, ec);
  if (!fs::is_directory(batch.blocks, ec)) {
    err << "tavelin-cli: cannot create the folder " << batch.blocks.string() << "\n";
    return kFailure;
  }
  batch.blockNames = std::make_unique<blockbuilder::BlockFolderIndex>(batch.blocks);
  try {
    batch.scratch = MakeScratch(options.root);
    MarkScratchRoot(batch.scratch);
  } catch (const FileError& failure) {
    err << "tavelin-cli: " << failure.what() << "\n";
    return kFailure;
  }

  std::vector<RowResult> results;
  std::map<std::string, size_t> byName;
  const size_t total = rowCount - 1;
  CsvReader reader(text);
  std::vector<std::string> cells;
  reader.Next(cells, 1);  // the header
  for (size_t r = 1; reader.Next(cells, batch.header.size()); ++r) {
    bool blank = true;
    for (const std::string& cell : cells) blank = blank && Trim(cell).empty();
    if (blank) continue;
    RowResult result;
    try {
      result = batch.Run(static_cast<int>(r + 1), cells);
    } catch (const std::exception& failure) {
      result.row = static_cast<int>(r + 1);
      result.reason = std::string("処理を続けられません: ") + failure.what();
    }
    if (result.written) {
      // A later row of the same name has replaced the earlier block.
      auto [it, fresh] = byName.emplace(result.blockName, results.size());
      if (!fresh) {
        results[it->second].entry.blockName.clear();
        result.warnings.push_back("行 " + std::to_string(results[it->second].row) +
                                  " と同じブロック名のため、そのブロックを置き換えました");
        it->second = results.size();
      }
    }
    results.push_back(std::move(result));
    Progress(options, err, r, total, results.back());
  }
  ForgetScratchRoot(batch.scratch);
  fs::remove_all(batch.scratch, ec);

  std::vector<CatalogueEntry> entries;
  size_t written = 0, refused = 0;
  for (RowResult& result : results) {
    if (!result.written) {
      ++refused;
      continue;
    }
    ++written;
    if (!result.entry.blockName.empty()) entries.push_back(std::move(result.entry));
  }
  std::string catalogueError;
  try {
    WriteCatalogue(batch.blocks, entries);
  } catch (const FileError& failure) {
    catalogueError = failure.what();
  }
  // Every block on the disk at once rather than one flush per block.
  if (written > 0) FlushFileSystem(batch.blocks);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  char secondsText[32];
  std::snprintf(secondsText, sizeof secondsText, "%.2f", seconds);

  if (options.json) {
    out << "{\"rows\":" << results.size() << ",\"written\":" << written
        << ",\"refused\":" << refused << ",\"seconds\":" << secondsText
        << ",\"out\":" << JsonString(batch.blocks.string()) << ",\"catalogue\":"
        << (catalogueError.empty() ? JsonString((batch.blocks / "index.html").string()) : "null")
        << ",\"results\":[";
    for (size_t i = 0; i < results.size(); ++i) {
      const RowResult& row = results[i];
      out << (i ? "," : "") << "\n{\"row\":" << row.row << ",\"stem\":" << JsonString(row.stem)
          << ",\"status\":" << (row.written ? "\"written\"" : "\"refused\"");
      if (row.written) {
        out << ",\"block\":" << JsonString(row.blockName)
            << ",\"file\":" << JsonString((batch.blocks / (row.blockName + ".dxf")).string());
      } else {
        out << ",\"reason\":" << JsonString(row.reason);
      }
      out << ",\"warnings\":[";
      for (size_t w = 0; w < row.warnings.size(); ++w)
        out << (w ? "," : "") << JsonString(row.warnings[w]);
      out << "]}";
    }
    out << "\n]}\n";
  } else {
    out << "rows: " << results.size() << ", written: " << written << ", refused: " << refused
        << " (" << secondsText << " s) into " << batch.blocks.string() << "\n";
    for (const RowResult& row : results) {
      if (!row.written)
        out << "refused: row " << row.row << " " << row.stem << ": " << row.reason << "\n";
    }
    for (const RowResult& row : results) {
      for (const std::string& warning : row.warnings) {
        out << "warning: row " << row.row << " " << row.stem
            << (row.blockName.empty() ? "" : " " + row.blockName) << ": " << warning << "\n";
      }
    }
    if (catalogueError.empty())
      out << "catalogue: " << (batch.blocks / "index.html").string() << "\n";
  }
  if (!catalogueError.empty()) {
    err << "tavelin-cli: the catalogue was not written: " << catalogueError << "\n";
    return kFailure;
  }
  return refused > 0 ? kFailure : 0;
}

}  // namespace tavelin
