#include "framework/fitting.hpp"

#include "framework/acceptance.hpp"
#include "framework/codepage.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"
#include "framework/toolkit/dialog.hpp"

namespace tavelin {
namespace fs = std::filesystem;
namespace {

constexpr const char* kFittingHeader = "TAVELIN-FITTING 1";
// The attribute files hold a few dozen lines at most.
constexpr size_t kAttributeCapacity = 200;
// A settings file of a generator holds a few dozen lines.
constexpr size_t kMaxFittingFileLines = 1000;

const char* const kAttributeFiles[] = {"ByLayer.ini", "DakutoSet.ini", "KyotuSet.ini",
                                       "Sentaku.ini", "Memo.ini"};

const SettingsFileLines* FindFile(const std::vector<SettingsFileLines>& files,
                                  std::string_view name) {
  for (const SettingsFileLines& file : files) {
    if (EqualsIgnoreCase(file.name, name)) return &file;
  }
  return nullptr;
}

// The text after "key=" of `line`, or nothing when the line holds another key.
std::optional<std::string> ValueOf(const std::string& line, std::string_view key) {
  if (line.size() <= key.size() || line.compare(0, key.size(), key) != 0 ||
      line[key.size()] != '=') {
    return std::nullopt;
  }
  return line.substr(key.size() + 1);
}

bool AllDigits(std::string_view text) {
  return !text.empty() && text.size() <= 9 &&
         text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A settings file name the job may hold: a plain name within the folder.
bool PlainFileName(std::string_view name) {
  return !name.empty() && name.front() != '.' && name.size() <= 64 &&
         name.find_first_of("/\\") == std::string_view::npos && RefusedBlockName(name).empty();
}

// A run that, when the builder finds its name taken, starts it again under
// the next name.
class FittingRun : public BuildRun {
 public:
  // The job is the folder `job`, or with an empty `job` the files `files`
  // handed over in memory.
  FittingRun(BlockBuilderLauncher& launcher, RuntimeRandom& random, fs::path root, fs::path job,
             JobFiles files, const Fitting& fitting)
      : launcher_(launcher),
        random_(random),
        root_(std::move(root)),
        job_(std::move(job)),
        files_(std::move(files)),
        nameBase_(fitting.nameBase),
        firstName_(fitting.blockName),
        name_(fitting.blockName) {
    inner_ = job_.empty() ? launcher_.StartFromFiles(files_, name_) : launcher_.Start(job_, name_);
  }

  std::optional<BuildOutcome> Poll() override {
    while (!outcome_) {
      std::optional<BuildOutcome> outcome = inner_->Poll();
      if (!outcome) return std::nullopt;
      Settle(*outcome);
    }
    return outcome_;
  }

  BuildOutcome Wait() override {
    while (!outcome_) Settle(inner_->Wait());
    return *outcome_;
  }

 private:
  void Settle(BuildOutcome outcome) {
    if (!outcome.nameTaken) {
      if (outcome.written && name_ != firstName_) AnnounceName();
      outcome_ = std::move(outcome);
      return;
    }
    if (tries_ < kMaxNameTries) {
      ++tries_;
      name_ = nameBase_ + FormatD(random_.Next());
      try {
        if (job_.empty()) {
          for (auto& [file, bytes] : files_) {
            if (EqualsIgnoreCase(file, "DrawName.ini")) bytes = EncodeLines({name_});
          }
          inner_ = launcher_.StartFromFiles(files_, name_);
          return;
        }
        WriteFileAtomically(LocateIgnoringCase(job_ / "info", "DrawName.ini"), EncodeLines({name_}),
                            Flush::kLater);
        inner_ = launcher_.Start(job_, name_);
        return;
      } catch (const FileError& error) {
        outcome.reason = "ブロック名を付け直せません: " + error.Reason();
      }
    } else {
      outcome.reason = "ブロック名 " + name_ + " ほか " + FormatD(kMaxNameTries) +
                       " 個の名前が別の部材のブロックに使われています";
    }
    // The builder keeps a job whose name was taken; nobody else will start it.
    if (!job_.empty() && IsJobFolderOf(root_, job_)) {
      std::error_code ignored;
      fs::remove_all(job_, ignored);
    }
    outcome.written = false;
    outcome.blockName = name_;
    outcome_ = std::move(outcome);
  }

  // "DrawName.ini" of the info folder names the block to insert: when it
  // still names the one given up, it names the block written instead.
  void AnnounceName() {
    try {
      const InfoFolder info(root_);
      if (info.Exists("DrawName.ini") && info.ReadLine("DrawName.ini") == firstName_) {
        info.WriteLine("DrawName.ini", name_);
      }
    } catch (const FileError&) {
      // The status line and the outcome name the block all the same.
    }
  }

  BlockBuilderLauncher& launcher_;
  RuntimeRandom& random_;
  fs::path root_;
  fs::path job_;
  JobFiles files_;
  std::string nameBase_;
  std::string firstName_;
  std::string name_;
  int tries_ = 0;
  std::unique_ptr<BuildRun> inner_;
  std::optional<BuildOutcome> outcome_;
};

}  // namespace

AttributeTexts AttributeTexts::Capture(const InfoFolder& info) {
  AttributeTexts texts;
  for (const char* name : kAttributeFiles) {
    if (!info.Exists(name)) continue;
    try {
      texts.files.push_back({name, info.ReadToEnd(name, kAttributeCapacity)});
    } catch (const FileError&) {
      // Left out: the builder says so when it misses the file.
    }
  }
  return texts;
}

const SettingsFileLines* AttributeTexts::File(std::string_view name) const {
  return FindFile(files, name);
}

std::string AttributeTexts::Memo() const {
  const SettingsFileLines* selection = File("Sentaku.ini");
  const SettingsFileLines* memos = File("Memo.ini");
  if (!selection || !memos || selection->lines.empty()) return {};
  const int set = ToInt(selection->lines[0]);
  if (set < 1 || set > 6 || static_cast<size_t>(set) > memos->lines.size()) return {};
  return memos->lines[static_cast<size_t>(set) - 1];
}

std::string Fitting::DescriptionHead() const {
  return typedDimensions.empty() ? name : name + " " + typedDimensions;
}

const SettingsFileLines* Fitting::File(std::string_view fileName) const {
  return FindFile(files, fileName);
}

void Fitting::SetBlockName(const std::string& name, int random) {
  blockName = name;
  const std::string number = FormatD(random);
  const bool numbered = name.size() > number.size() &&
                        name.compare(name.size() - number.size(), number.size(), number) == 0;
  nameBase = numbered ? name.substr(0, name.size() - number.size()) : name;
}

bool SetFittingKind(Fitting& fitting, std::string_view className) {
  const FittingKind* kind = FittingForClass(className);
  if (!kind) return false;
  fitting.className = kind->className;
  fitting.stem = kind->stem;
  fitting.code = kind->code;
  fitting.name = kind->name;
  return true;
}

std::vector<std::string> FittingFileLines(const Fitting& fitting) {
  std::vector<std::string> lines = {kFittingHeader,
                                    "class=" + fitting.className,
                                    "stem=" + fitting.stem,
                                    "code=" + FormatD(fitting.code),
                                    "description=" + fitting.DescriptionHead(),
                                    "memo=" + fitting.attributes.Memo()};
  for (const SettingsFileLines& file : fitting.files) {
    lines.push_back("file=" + file.name);
    lines.push_back("lines=" + FormatD(static_cast<int>(file.lines.size())));
    lines.insert(lines.end(), file.lines.begin(), file.lines.end());
  }
  return lines;
}

std::optional<FittingFile> ParseFittingFile(const std::vector<std::string>& lines,
                                            std::string& error) {
  const char* const keys[] = {"class", "stem", "code", "description", "memo"};
  if (lines.size() < 6 || lines[0] != kFittingHeader) {
    error = "Fitting.ini の形式が違います";
    return std::nullopt;
  }
  std::string values[5];
  for (size_t k = 0; k < 5; ++k) {
    std::optional<std::string> value = ValueOf(lines[k + 1], keys[k]);
    if (!value && lines[k + 1] != std::string(keys[k]) + "=") {
      error = "Fitting.ini " + FormatD(static_cast<int>(k + 2)) + "行目に " + keys[k] +
              "= がありません";
      return std::nullopt;
    }
    values[k] = value.value_or("");
  }
  FittingFile parsed;
  parsed.data.className = values[0];
  parsed.data.stem = values[1];
  if (!AllDigits(values[2]) || values[0].empty()) {
    error = "Fitting.ini の作図の種類が読めません";
    return std::nullopt;
  }
  parsed.data.code = ToInt(values[2]);
  parsed.data.description = values[3];
  parsed.memo = values[4];
  for (size_t i = 6; i < lines.size();) {
    std::optional<std::string> name = ValueOf(lines[i], "file");
    std::optional<std::string> count =
        i + 1 < lines.size() ? ValueOf(lines[i + 1], "lines") : std::nullopt;
    if (!name || !count || !AllDigits(*count) || !PlainFileName(*name)) {
      error = "Fitting.ini " + FormatD(static_cast<int>(i + 1)) + "行目の設定ファイルが読めません";
      return std::nullopt;
    }
    const size_t n = static_cast<size_t>(ToInt(*count));
    if (n > kMaxFittingFileLines || i + 2 + n > lines.size()) {
      error = "Fitting.ini の " + *name + " の行数が合いません";
      return std::nullopt;
    }
    SettingsFileLines file{
        *name,
        {lines.begin() + static_cast<long>(i + 2), lines.begin() + static_cast<long>(i + 2 + n)}};
    if (!parsed.data.stem.empty() && parsed.data.settings.empty() &&
        EqualsIgnoreCase(file.name, parsed.data.stem + ".ini")) {
      parsed.data.settings = std::move(file.lines);
    } else {
      parsed.data.otherFiles.push_back(std::move(file));
    }
    i += 2 + n;
  }
  return parsed;
}

std::string CadRefusedCharacter(std::string_view name) {
  const size_t at = name.find_first_of(kCadNameCharacters);
  return at == std::string_view::npos ? std::string() : std::string(1, name[at]);
}

std::string RefusedFitting(const Fitting& fitting) {
  const SettingsFileLines* choku = fitting.File("Choku.ini");
  if (std::string refusal = RefusedHandOff(fitting.records, fitting.blockName,
                                           choku ? choku->lines : std::vector<std::string>{});
      !refusal.empty()) {
    return refusal;
  }
  if (std::string c = CadRefusedCharacter(fitting.blockName); !c.empty()) {
    return "ブロック名 " + fitting.blockName + " に CAD で使えない文字「" + c +
           "」があります。\n寸法の入力を見直して、もう一度OKをクリックしてください。";
  }
  for (const SettingsFileLines& file : fitting.files) {
    if (!PlainFileName(file.name)) return "設定ファイル名 " + file.name + " は使えません。";
    for (const std::string& line : file.lines) {
      if (line.find_first_of("\r\n") != std::string::npos) {
        return "入力に改行があります（" + file.name + "）。改行を取り除いてください。";
      }
    }
  }
  return {};
}

JobFiles FittingJobFiles(const Fitting& fitting) {
  JobFiles files;
  std::vector<std::string> names;
  auto add = [&](const std::string& name, const std::vector<std::string>& lines) {
    // One file of each name, matched as the info folder matches names.
    for (const std::string& known : names) {
      if (EqualsIgnoreCase(known, name)) return;
    }
    names.push_back(name);
    files.push_back({name, EncodeLines(lines)});
  };
  add("DrawData.txt", fitting.records);
  add("DrawName.ini", {fitting.blockName});
  add(kFittingFile, FittingFileLines(fitting));
  for (const SettingsFileLines& file : fitting.files) add(file.name, file.lines);
  for (const SettingsFileLines& file : fitting.attributes.files) add(file.name, file.lines);
  return files;
}

fs::path WriteFittingJob(const fs::path& root, const Fitting& fitting) {
  return WriteJobFolder(root, FittingJobFiles(fitting));
}

std::unique_ptr<BuildRun> StartFittingBuild(BlockBuilderLauncher& launcher, RuntimeRandom& random,
                                            const fs::path& root, const Fitting& fitting) {
  if (launcher.TakesFilesInMemory())
    return std::make_unique<FittingRun>(launcher, random, root, fs::path(),
                                        FittingJobFiles(fitting), fitting);
  const fs::path job = WriteFittingJob(root, fitting);
  return std::make_unique<FittingRun>(launcher, random, root, job, JobFiles(), fitting);
}

bool HandFittingToBuilder(ui::Dialog& dialog, ui::AppContext& app, const Fitting& fitting,
                          int statusId) {
  if (std::string refusal = RefusedFitting(fitting); !refusal.empty()) {
    if (app.ui) app.ui->ShowMessage(&dialog, refusal, "入力確認");
    return false;
  }
  if (!app.launcher) {
    BuildOutcome outcome;
    outcome.blockName = fitting.blockName;
    outcome.reason = "ブロック作成プログラムを起動できません";
    dialog.WatchBuild(FinishedBuild(outcome), statusId);
    return false;
  }
  dialog.WatchBuild(StartFittingBuild(*app.launcher, *app.random, app.info.Root(), fitting),
                    statusId);
  return true;
}

}  // namespace tavelin
