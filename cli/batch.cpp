#include "cli/batch.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>
#include <thread>

#include "app/dialog_registry.hpp"
#include "blockbuilder/builder.hpp"
#include "cli/batch_columns.hpp"
#include "cli/batch_report.hpp"
#include "cli/catalogue.hpp"
#include "framework/background_flush.hpp"
#include "cli/csv.hpp"
#include "framework/build_job.hpp"
#include "framework/codepage.hpp"
#include "framework/design_rules.hpp"
#include "framework/generator_dialog.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"
#include "pipe/parts_menu_dialog.hpp"

namespace tavelin {
namespace fs = std::filesystem;
namespace {

constexpr int kUsageError = 2;
constexpr int kFailure = 3;
// A CSV larger than this is not a list of fittings.
constexpr std::uintmax_t kMaxCsvBytes = 64 * 1024 * 1024;
// A header with more columns than this is not a list of fittings.
constexpr size_t kMaxColumns = 1024;

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

// The block builder on a thread of its own: while it writes one row's block,
// the next row's dialog runs. The builds run one at a time, in the order given,
// so the folder's names and its log see one writer.
// A child made by fork (a test's) builds each block at once instead.
class BuilderThread {
 public:
  BuilderThread() {
    if (!InForkedChild()) thread_ = std::thread([this] { Loop(); });
  }
  ~BuilderThread() {
    if (!thread_.joinable()) return;
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  BuilderThread(const BuilderThread&) = delete;
  BuilderThread& operator=(const BuilderThread&) = delete;

  std::future<blockbuilder::BuildResult> Submit(std::function<blockbuilder::BuildResult()> build) {
    std::packaged_task<blockbuilder::BuildResult()> task(std::move(build));
    std::future<blockbuilder::BuildResult> result = task.get_future();
    if (!thread_.joinable()) {
      task();
      return result;
    }
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(task));
    }
    wake_.notify_one();
    return result;
  }

 private:
  void Loop() {
    for (;;) {
      std::packaged_task<blockbuilder::BuildResult()> task;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return;
        task = std::move(queue_.front());
        queue_.pop_front();
      }
      task();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::packaged_task<blockbuilder::BuildResult()>> queue_;
  bool stopping_ = false;
  std::thread thread_;  // last: starts once the queue exists
};

// The block builder in this process: the same code as the program, writing
// into the output folder.
// The blocks reach the disk together at the end.
class InProcessLauncher : public BlockBuilderLauncher {
 public:
  InProcessLauncher(fs::path root, fs::path blocks, blockbuilder::BlockFolderIndex& index,
                    BuilderThread& builder)
      : root_(std::move(root)), blocks_(std::move(blocks)), index_(index), builder_(builder) {}
  std::unique_ptr<BuildRun> Start(const fs::path& jobRoot, const std::string& blockName) override {
    std::future<blockbuilder::BuildResult> result =
        builder_.Submit([root = root_, blocks = blocks_, &index = index_, jobRoot] {
          blockbuilder::BuildResult built =
              blockbuilder::BuildBlockInto(blocks, jobRoot, {Flush::kLater, &index});
          // A name taken by another block keeps the job: the dialog's run
          // starts it again under the next name.
          if (!built.nameTaken && IsJobFolderOf(root, jobRoot)) {
            std::error_code ignored;
            fs::remove_all(jobRoot, ignored);
          }
          return built;
        });
    return std::make_unique<QueuedRun>(*this, std::move(result), blockName);
  }
  // The job's files go straight to the builder, with no job folder between.
  bool TakesFilesInMemory() const override { return true; }
  std::unique_ptr<BuildRun> StartFromFiles(const JobFiles& files,
                                           const std::string& blockName) override {
    std::future<blockbuilder::BuildResult> result =
        builder_.Submit([blocks = blocks_, &index = index_, files] {
          return blockbuilder::BuildBlockFromFiles(blocks, files, {Flush::kLater, &index});
        });
    return std::make_unique<QueuedRun>(*this, std::move(result), blockName);
  }
  // The last build collected by the dialog.
  std::optional<blockbuilder::BuildResult> last;

 private:
  class QueuedRun : public BuildRun {
   public:
    QueuedRun(InProcessLauncher& launcher, std::future<blockbuilder::BuildResult> result,
              std::string blockName)
        : launcher_(launcher), result_(std::move(result)), blockName_(std::move(blockName)) {}
    // The builder thread never outlives what it was given.
    ~QueuedRun() override {
      if (result_.valid()) result_.wait();
    }
    std::optional<BuildOutcome> Poll() override {
      if (!outcome_ && result_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return std::nullopt;
      return Wait();
    }
    BuildOutcome Wait() override {
      if (outcome_) return *outcome_;
      launcher_.last = result_.get();
      const blockbuilder::BuildResult& last = *launcher_.last;
      BuildOutcome outcome;
      outcome.written = last.written;
      outcome.nameTaken = last.nameTaken;
      outcome.blockName = last.blockName.empty() ? blockName_ : last.blockName;
      for (const std::string& line : last.logLines) {
        outcome.reason += (outcome.reason.empty() ? "" : "; ") + line;
      }
      outcome_ = outcome;
      return outcome;
    }

   private:
    InProcessLauncher& launcher_;
    std::future<blockbuilder::BuildResult> result_;
    std::string blockName_;
    std::optional<BuildOutcome> outcome_;
  };

  fs::path root_;
  fs::path blocks_;
  blockbuilder::BlockFolderIndex& index_;
  BuilderThread& builder_;
};

std::string Trim(std::string_view text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

// The pipe part menu reads its parts from folders beside ROOT/info
// ("ROOT/TS/…"): while a part row runs, the scratch root links to the root's
// own (the menu only reads them). The links go when the row is done, so
// nothing that later clears the scratch folder can reach the root through them.
class PartFolderLinks {
 public:
  PartFolderLinks(const fs::path& root, const fs::path& scratch) {
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(root, ec)) {
      const fs::path name = item.path().filename();
      if (!item.is_directory(ec) || name == "info" || name == "blocks") continue;
      const fs::path link = scratch / name;
      if (fs::exists(fs::symlink_status(link, ec))) continue;
      fs::create_directory_symlink(fs::absolute(item.path(), ec), link, ec);
      if (!ec) links_.push_back(link);
    }
  }
  ~PartFolderLinks() {
    std::error_code ec;
    for (const fs::path& link : links_) fs::remove(link, ec);  // the link, not its folder
  }
  PartFolderLinks(const PartFolderLinks&) = delete;
  PartFolderLinks& operator=(const PartFolderLinks&) = delete;

 private:
  std::vector<fs::path> links_;
};

// One row from its cells to its block. The dialog and what it works with
// stay until the builder thread has written the block.
struct PendingRow {
  RowResult result;
  bool building = false;  // the dialog has started the builder
  BatchHost host;
  std::unique_ptr<InProcessLauncher> launcher;
  std::unique_ptr<ui::AppContext> app;
  std::optional<PartFolderLinks> links;
  std::unique_ptr<ui::Dialog> dialog;  // last: goes first, before what it uses
};

struct Batch {
  const BatchOptions& options;
  fs::path scratch;  // a copy of ROOT/info the rows write their settings into
  fs::path blocks;
  std::unique_ptr<blockbuilder::BlockFolderIndex> blockNames;  // of `blocks`
  std::vector<std::string> header;
  // The settings files each row starts from (the defaults, or the root's
  // as stored), read once.
  std::map<std::string, std::vector<std::string>> stored;

  const fs::path& StartingRoot() const {
    return options.fromStored ? options.root : options.defaults;
  }
  const std::vector<std::string>& Stored(const std::string& file) {
    auto it = stored.find(file);
    if (it != stored.end()) return it->second;
    const InfoFolder info(StartingRoot());
    std::vector<std::string> lines;
    if (info.Exists(file)) lines = info.ReadToEnd(file, kMaxLineNumber);
    return stored.emplace(file, std::move(lines)).first->second;
  }

  std::unique_ptr<BuilderThread> builder;  // after the names it writes into

  // Runs the row's dialog up to the start of its build; `row.result` is
  // final when it was refused before.
  void Begin(int rowNumber, const std::vector<std::string>& cells, PendingRow& row);
  // Waits for the row's block and completes its result.
  void Finish(PendingRow& row);
};

void Batch::Begin(int rowNumber, const std::vector<std::string>& cells, PendingRow& row) {
  RowResult& result = row.result;
  result.row = rowNumber;
  auto cell = [&](size_t i) { return i < cells.size() ? Trim(cells[i]) : std::string(); };
  std::string typeValue;
  for (size_t i = 0; i < header.size(); ++i) {
    const std::string name = Lower(header[i]);
    if (name == "stem") result.stem = cell(i);
    if (name == "type") typeValue = cell(i);
    if ((name == "note" || name == "備考") && !cell(i).empty()) {
      result.entry.note += (result.entry.note.empty() ? "" : " / ") + cell(i);
    }
  }
  if (result.stem.empty()) {
    result.reason = "stem が空です";
    return;
  }
  const BatchTarget target = TargetOfStem(result.stem);
  const DialogEntry* entry = target.entry;
  if (!entry) {
    result.reason = "設定ファイル " + result.stem + ".ini を持つ作図ダイアログはありません";
    return;
  }
  result.entry.generator = std::string(entry->caption);
  // A cell past the last header has no column to go to.
  for (size_t i = header.size(); i < cells.size(); ++i) {
    if (Trim(cells[i]).empty()) continue;
    result.reason = std::to_string(i + 1) + " 列目に見出しがありません: 「" + Trim(cells[i]) + "」";
    return;
  }

  // The file the values go to; the damper keeps one per type, chosen by "type".
  BatchTarget into = target;
  std::string file =
      target.decl ? std::string(target.decl->file) : std::string(entry->stem) + ".ini";
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
      return;
    }
    variant = std::string(kDamperTypes[type - 1].name);
    file = std::string(kDamperTypes[type - 1].file);
    into.decl = DeclarationOfFile(file);
    writes.push_back({"Danpa.ini", {std::to_string(type)}});
  } else if (!typeValue.empty()) {
    result.reason = "type の列は ダンパー（Danpa）にだけ使えます";
    return;
  }
  const SettingsDeclaration* decl = into.decl;

  std::vector<std::string> lines = Stored(file);
  std::vector<std::pair<int, std::string>> given;  // the lines the row set
  std::string givenText;
  for (size_t i = 0; i < header.size(); ++i) {
    const std::string name = Lower(header[i]);
    const std::string value = cell(i);
    if (name.empty() || name == "stem" || name == "type") continue;
    // Notes for the reader of the list.
    if (name == "note" || name == "備考" || name[0] == '#') continue;
    const std::vector<int> targets = ColumnLines(into, name);
    // An empty cell keeps the stored value (a list of several fittings
    // leaves the columns of the others empty); a required line that would
    // stay empty refuses the row.
    if (value.empty()) {
      if (!decl || targets.empty()) continue;
      const size_t at = static_cast<size_t>(targets[0]) - 1;
      if (at < lines.size() && !lines[at].empty()) continue;
      const ParsedValue parsed = ParseDeclaredValue(decl->lines[at], value);
      if (!parsed.Ok()) {
        result.reason = parsed.error;  // names the column and the text
        return;
      }
      continue;
    }
    // A line end would split the value over two settings lines and shift every line after it.
    if (value.find_first_of("\r\n") != std::string::npos) {
      result.reason = "列 " + header[i] + " の値に改行があります";
      return;
    }
    if (targets.empty()) {
      result.reason = "列 " + header[i] + " は " + result.stem + " の設定行にありません";
      return;
    }
    // Declared lines take only what their declaration accepts: "1,200" and
    // "4OO" are not numbers.
    std::string stored = value;
    if (decl) {
      const ParsedValue parsed = ParseDeclaredValue(decl->lines[targets[0] - 1], value);
      if (!parsed.Ok()) {
        result.reason = parsed.error;  // names the column and the text
        return;
      }
      stored = parsed.text;
    }
    for (int line : targets) {
      if (lines.size() < static_cast<size_t>(line)) lines.resize(static_cast<size_t>(line));
      lines[static_cast<size_t>(line) - 1] = stored;
      given.push_back({line, stored});
    }
    // A generator without a declaration is described by the lines the row gave.
    if (!decl) givenText += (givenText.empty() ? "" : " ") + header[i] + "行=" + value;
  }
  writes.push_back({file, lines});
  std::string dimensions = decl ? DescribeTypedValues(*decl, lines) : givenText;
  if (!variant.empty()) dimensions = variant + " " + dimensions;
  result.entry.dimensions = dimensions;

  row.launcher = std::make_unique<InProcessLauncher>(scratch, blocks, *blockNames, *builder);
  row.app = std::make_unique<ui::AppContext>(scratch);
  ui::AppContext& app = *row.app;
  app.ui = &row.host;
  app.launcher = row.launcher.get();
  InstallDialogFactory(app);
  try {
    for (const auto& [name, content] : writes) app.info.WriteLines(name, content);
  } catch (const FileError& error) {
    result.reason = error.Path().filename().string() + " を書けません: " + error.Reason();
    return;
  }
  const bool partMenu = entry->className == "PartsMenuDialog";
  if (partMenu) row.links.emplace(options.root, scratch);
  row.dialog = entry->create(app);
  ui::Dialog& dialog = *row.dialog;
  NullCanvas canvas;
  // As "generate" does: open, paint, generate; then OK with all its checks.
  dialog.Initialize();
  if (!dialog.Ended()) dialog.Paint(canvas);
  if (!dialog.Ended()) dialog.Generate();
  // The pipe part menu falls back to its first entries for a choice that
  // does not exist; the row must get the part it asked for.
  if (partMenu && !dialog.Ended()) {
    const std::vector<std::string> kept = app.info.ReadLines(file, lines.size());
    for (const auto& [line, value] : given) {
      const std::string& now = kept[static_cast<size_t>(line) - 1];
      const ParamDecl& declared = decl->lines[static_cast<size_t>(line) - 1];
      if (now == value ||
          (declared.kind == ParamKind::kInteger && !now.empty() && ToInt(now) == ToInt(value)))
        continue;
      result.reason = std::string(declared.column) + ": 「" + value + "」は選べません（「" + now +
                      "」になります）";
      return;
    }
  }
  if (!dialog.Ended() && row.host.messages.empty()) {
    // The part menu hands its part over by its own "OK" button only.
    if (partMenu) {
      dialog.UserClick(PartsMenuDialog::kStart);
    } else {
      dialog.UserOk();
    }
  }
  // The part folders are read by the dialog only, never by the builder.
  row.links.reset();
  row.building = true;
}

void Batch::Finish(PendingRow& row) {
  if (!row.building) return;
  RowResult& result = row.result;
  ui::Dialog& dialog = *row.dialog;
  InProcessLauncher& launcher = *row.launcher;
  const std::vector<std::string>& messages = row.host.messages;
  dialog.WaitForBuild();
  if (auto* rules = dynamic_cast<DesignRuleSource*>(&dialog))
    result.warnings = rules->DesignWarnings();
  result.entry.warnings = result.warnings;
  if (launcher.last && launcher.last->written && messages.empty()) {
    result.written = true;
    result.blockName = launcher.last->blockName;
    result.entry.blockName = result.blockName;
    result.entry.entities = std::move(launcher.last->drawn);
    return;
  }
  for (const std::string& message : messages) {
    result.reason += (result.reason.empty() ? "" : " ") + OneLine(message);
  }
  if (result.reason.empty() && launcher.last) {
    result.reason =
        "ブロックを作成できませんでした: " +
        OneLine(launcher.last->logLines.empty() ? std::string() : launcher.last->logLines.back());
  }
  if (result.reason.empty()) result.reason = "ブロック作成まで進みませんでした";
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

// Every settings file a generator keeps, in `scratch` as the default data
// has it (or missing, when the defaults have none, as on a fresh root), so
// that what the dialogs last stored reaches no row.
void StartFromDefaults(const fs::path& scratch, const fs::path& defaults) {
  const InfoFolder from(defaults), into(scratch);
  std::vector<std::string> files = {"Danpa.ini"};
  for (const DialogEntry& entry : DialogTable()) {
    if (!entry.declarations) continue;
    for (const SettingsDeclaration* decl : entry.declarations()) files.emplace_back(decl->file);
  }
  for (const std::string& file : files) {
    if (from.Exists(file)) {
      into.WriteLines(file, from.ReadToEnd(file, kMaxLineNumber));
    } else if (into.Exists(file)) {
      std::error_code ec;
      fs::remove(into.Locate(file), ec);
    }
  }
}

}  // namespace

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
  Batch batch{options, {}, {}, {}, {}, {}, {}};
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
  if (!options.fromStored && !fs::is_directory(options.defaults / "info", ec)) {
    err << "tavelin-cli: the default data " << (options.defaults / "info").string()
        << " is missing (or use --from-stored to start from the root's stored settings)\n";
    return kFailure;
  }
  // What killed batches left half written among the blocks goes first (the
  // blocks themselves are never tidied one by one).
  RemoveStaleTemporaries(batch.blocks);
  batch.blockNames = std::make_unique<blockbuilder::BlockFolderIndex>(batch.blocks);
  try {
    batch.scratch = MakeScratch(options.root);
    MarkScratchRoot(batch.scratch);
    if (!options.fromStored) StartFromDefaults(batch.scratch, options.defaults);
  } catch (const FileError& failure) {
    err << "tavelin-cli: " << failure.what() << "\n";
    return kFailure;
  }

  // Each row's figure goes to the catalogue as the row ends; the rows keep
  // their outcome only.
  std::vector<RowResult> results;
  std::map<std::string, size_t> byName;  // block name: its row in `results`
  std::vector<size_t> figureOfRow;       // its figure in the catalogue
  CatalogueWriter catalogue(batch.blocks);
  std::vector<RefusedRow> refusedRows;
  size_t written = 0, refused = 0;
  const size_t total = rowCount - 1;
  auto settle = [&](PendingRow& row, size_t r) {
    try {
      batch.Finish(row);
    } catch (const std::exception& failure) {
      row.result.written = false;
      row.result.reason = std::string("処理を続けられません: ") + failure.what();
    }
    RowResult& result = row.result;
    figureOfRow.push_back(SIZE_MAX);
    if (result.written) {
      ++written;
      // A later row of the same name has replaced the earlier block.
      auto [it, fresh] = byName.emplace(result.blockName, results.size());
      if (!fresh) {
        catalogue.Drop(figureOfRow[it->second]);
        result.warnings.push_back("行 " + std::to_string(results[it->second].row) +
                                  " と同じブロック名のため、そのブロックを置き換えました");
        it->second = results.size();
      }
      figureOfRow.back() = catalogue.Add(result.entry);
    } else {
      ++refused;
      refusedRows.push_back({result.row, result.stem, result.reason, result.entry.note});
    }
    result.entry = {};
    results.push_back(std::move(result));
    Progress(options, err, r, total, results.back());
  };
  // While the builder thread writes one row's block, the next row's dialog runs.
  std::unique_ptr<PendingRow> previous;
  size_t previousRow = 0;
  CsvReader reader(text);
  std::vector<std::string> cells;
  reader.Next(cells, 1);  // the header
  batch.builder = std::make_unique<BuilderThread>();
  // One field more than the header: a cell past the last column refuses its row.
  for (size_t r = 1; reader.Next(cells, batch.header.size() + 1); ++r) {
    if (!reader.DroppedField().empty() && Trim(cells.back()).empty()) {
      cells.back() = reader.DroppedField();
    }
    bool blank = true;
    for (const std::string& cell : cells) blank = blank && Trim(cell).empty();
    if (blank) continue;
    auto row = std::make_unique<PendingRow>();
    try {
      batch.Begin(static_cast<int>(r + 1), cells, *row);
    } catch (const std::exception& failure) {
      row->building = false;
      row->result.row = static_cast<int>(r + 1);
      row->result.reason = std::string("処理を続けられません: ") + failure.what();
    }
    if (previous) settle(*previous, previousRow);
    previous = std::move(row);
    previousRow = r;
  }
  if (previous) settle(*previous, previousRow);
  previous.reset();
  batch.builder.reset();
  ForgetScratchRoot(batch.scratch);
  fs::remove_all(batch.scratch, ec);

  std::string catalogueError;
  try {
    catalogue.Finish(refusedRows);
  } catch (const FileError& failure) {
    catalogueError = failure.what();
  }
  // Every block on the disk at once rather than one flush per block.
  if (written > 0) FlushFileSystem(batch.blocks);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  WriteSummary(options, out, results, written, refused, seconds, batch.blocks, catalogueError);
  if (!catalogueError.empty()) {
    err << "tavelin-cli: the catalogue was not written: " << catalogueError << "\n";
    return kFailure;
  }
  return refused > 0 ? kFailure : 0;
}

}  // namespace tavelin
