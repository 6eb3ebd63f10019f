#include "cli/cli_commands.hpp"

#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <sstream>

#include "app/dialog_registry.hpp"
#include "app/installer.hpp"
#include "cli/batch.hpp"
#include "cli/batch_columns.hpp"
#include "cli/headless_host.hpp"
#include "cli/schedule_report.hpp"
#include "framework/block_file.hpp"
#include "framework/info_folder.hpp"
#include "framework/part_library.hpp"
#include "framework/text.hpp"
#include "framework/toolkit/actions.hpp"
#include "schedule/schedule.hpp"

namespace tavelin {
namespace fs = std::filesystem;
namespace {

constexpr int kUsageError = 2;
constexpr int kFailure = 3;

const char* kUsage =
    "usage: tavelin-cli [--root DIR] init\n"
    "       tavelin-cli [--root DIR] library\n"
    "       tavelin-cli [--root DIR] generate STEM\n"
    "       tavelin-cli [--root DIR] run CLASS [ACTION ...]\n"
    "       tavelin-cli [--root DIR] batch FILE.csv [--out DIR] [--json] [--from-stored]\n"
    "       tavelin-cli [--root DIR] schedule DRAWING.dxf [--blocks DIR] [--out FILE.csv|FILE.html|FILE.json] [--json]\n"
    "       tavelin-cli columns\n"
    "actions: set:ID=TEXT click:ID select:ID=K dblclick:ID=K focus:ID point:X,Y ok cancel\n";

const char* KindName(ui::ControlKind kind) {
  switch (kind) {
    case ui::ControlKind::kEdit: return "edit";
    case ui::ControlKind::kPushButton: return "button";
    case ui::ControlKind::kRadioButton: return "radio";
    case ui::ControlKind::kCheckBox: return "check";
    case ui::ControlKind::kComboBox: return "combo";
    case ui::ControlKind::kComboEdit: return "combo-edit";
    case ui::ControlKind::kListBox: return "list";
    case ui::ControlKind::kStatic: return "static";
    case ui::ControlKind::kGroupBox: return "group";
  }
  return "?";
}

void PrintControls(ui::Dialog& dialog, std::ostream& out) {
  for (const auto& control : dialog.Controls()) {
    out << control->Id() << " " << KindName(control->Kind()) << " checked=" << control->Checked()
        << " enabled=" << control->Enabled() << " visible=" << control->Visible() << " \""
        << Escape(control->Text()) << "\"";
    if (control->Kind() == ui::ControlKind::kComboBox ||
        control->Kind() == ui::ControlKind::kComboEdit ||
        control->Kind() == ui::ControlKind::kListBox) {
      out << " items=" << control->Count() << " sel=" << control->CurSel();
    }
    out << "\n";
  }
}

// Passes the starts on and counts them, so that an OK that started no
// builder is known.
class StartCounter : public BlockBuilderLauncher {
 public:
  explicit StartCounter(BlockBuilderLauncher* inner) : inner_(inner) {}
  std::unique_ptr<BuildRun> Start(const fs::path& jobRoot, const std::string& blockName) override {
    ++starts;
    return inner_->Start(jobRoot, blockName);
  }
  int starts = 0;

 private:
  BlockBuilderLauncher* inner_;
};

// `counter` is the launcher of `app`.
int RunDialog(ui::AppContext& app, const StartCounter& counter, const std::string& className,
              const std::vector<std::string>& actions, std::ostream& out, std::ostream& err,
              bool generate = false) {
  std::unique_ptr<ui::Dialog> dialog = CreateDialog(className, app);
  if (!dialog) {
    err << "tavelin-cli: unknown dialog class " << className << "\n";
    return kUsageError;
  }
  dialog->Initialize();
  dialog->WaitLoaded();
  NullCanvas canvas;
  if (!dialog->Ended()) dialog->Paint(canvas);
  if (generate && !dialog->Ended()) dialog->Generate();
  // An OK the dialog refused (it stayed open and started no builder): nothing was written.
  bool okRefused = false;
  for (const std::string& action : actions) {
    ui::ModelActions target(*dialog);
    const int startsBefore = counter.starts;
    std::string error = ui::ApplyAction(*dialog, target, action);
    if (!error.empty()) {
      err << "tavelin-cli: " << error << "\n";
      return kUsageError;
    }
    if (action == "ok" || action == "click:" + std::to_string(ui::kIdOk)) {
      okRefused = !dialog->Ended() && counter.starts == startsBefore;
    }
    // The window never waits for the block builder; here the outcome is
    // what the caller came for, so each action's build is waited for.
    dialog->WaitForBuild();
    if (!dialog->Ended()) dialog->Paint(canvas);
  }
  PrintControls(*dialog, out);
  if (const std::optional<BuildOutcome>& outcome = dialog->LastBuildOutcome()) {
    if (outcome->written) {
      out << "block written: " << outcome->blockName << "\n";
    } else {
      out << "block not written: " << outcome->blockName << ": " << outcome->reason << "\n";
      err << "tavelin-cli: the block builder did not write " << outcome->blockName << ": "
          << outcome->reason << "\n";
      return kFailure;
    }
  }
  if (dialog->Failures() > 0) {
    err << "tavelin-cli: " << className << " reported " << dialog->Failures()
        << " failure(s); see the messages above\n";
    return kFailure;
  }
  if (okRefused) {
    err << "tavelin-cli: " << className
        << " refused OK; no block was started (see the messages above)\n";
    return kFailure;
  }
  return 0;
}

// The fitting schedule of a drawing: to standard output as text (or JSON),
// or to a CSV, HTML or JSON file chosen by the name's extension.
int RunSchedule(const fs::path& root, const std::vector<std::string>& rest, std::ostream& out,
                std::ostream& err) {
  fs::path drawingFile, blocks = root / "blocks", output;
  bool json = false;
  for (size_t k = 0; k < rest.size(); ++k) {
    if (rest[k] == "--json") {
      json = true;
    } else if (rest[k] == "--out" && k + 1 < rest.size()) {
      output = rest[++k];
    } else if (rest[k] == "--blocks" && k + 1 < rest.size()) {
      blocks = rest[++k];
    } else if (rest[k].rfind("--", 0) != 0 && drawingFile.empty()) {
      drawingFile = rest[k];
    } else {
      err << "tavelin-cli: schedule: unexpected " << rest[k] << "\n" << kUsage;
      return kUsageError;
    }
  }
  if (drawingFile.empty()) {
    err << "tavelin-cli: schedule needs a DRAWING.dxf\n" << kUsage;
    return kUsageError;
  }
  std::string format = json ? ".json" : "";
  if (!output.empty()) {
    format = output.extension().string();
    for (char& c : format) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (format == ".htm") format = ".html";
    if (format != ".csv" && format != ".html" && format != ".json") {
      err << "tavelin-cli: schedule: --out takes a .csv, .html or .json file, not "
          << output.string() << "\n";
      return kUsageError;
    }
  }
  const schedule::Drawing drawing = schedule::ReadDrawing(drawingFile);
  if (!drawing.ok) {
    err << "tavelin-cli: " << drawing.error << "\n";
    return kFailure;
  }
  const schedule::ScheduleSources sources{
      schedule::BlockFolderLookup(blocks),
      [](std::string_view file) { return DeclarationOfFile(file); }};
  const schedule::Schedule result = schedule::BuildSchedule(drawing, sources);
  const std::string name = drawingFile.filename().string();
  std::string text;
  if (format == ".csv") text = schedule::ScheduleCsv(result);
  else if (format == ".html") text = ScheduleHtml(result, drawing, name);
  else if (format == ".json") text = schedule::ScheduleJson(result, name);
  else text = ScheduleText(result);
  if (output.empty()) {
    out << text;
    return 0;
  }
  try {
    WriteFileAtomically(output, text);
  } catch (const FileError& error) {
    err << "tavelin-cli: " << error.what() << "\n";
    return kFailure;
  }
  out << "schedule: " << result.rows.size() << " row(s), " << result.placements
      << " placement(s) into " << output.string() << "\n";
  return 0;
}

}  // namespace

int RunCommandLine(const std::string& program, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err) {
  fs::path root = DefaultRoot();
  size_t i = 0;
  while (i < args.size() && args[i].rfind("--", 0) == 0) {
    if (args[i] == "--root" && i + 1 < args.size()) {
      root = args[i + 1];
      i += 2;
    } else if (args[i] == "--help") {
      out << kUsage;
      return 0;
    } else {
      err << "tavelin-cli: unknown option " << args[i] << "\n" << kUsage;
      return kUsageError;
    }
  }
  if (i >= args.size()) {
    err << kUsage;
    return kUsageError;
  }
  const std::string command = args[i++];
  std::vector<std::string> rest(args.begin() + static_cast<long>(i), args.end());

  if (command == "init") {
    if (!rest.empty()) {
      err << "tavelin-cli: init takes no arguments\n";
      return kUsageError;
    }
    try {
      InstallReport report = InstallRoot(root, program);
      out << "installed " << report.copied << " file(s) into " << root.string() << ", kept "
          << report.kept << " existing file(s)";
      if (report.builderInstalled) out << "; block builder at " << (root / "exes" / "Forvane").string();
      out << "\n";
      return 0;
    } catch (const FileError& error) {
      err << "tavelin-cli: " << error.what() << "\n";
      return kFailure;
    }
  }

  // The part library brought in step with ROOT/blocks (the builder and the
  // block browser do it as they go; this is for files changed by hand).
  if (command == "library") {
    if (!rest.empty()) {
      err << "tavelin-cli: library takes no arguments\n";
      return kUsageError;
    }
    const LibrarySyncResult result = SyncPartLibrary(root);
    for (const std::string& problem : result.problems) err << "tavelin-cli: " << problem << "\n";
    out << PartLibraryFolder(root).string() << ": " << result.added << " added, " << result.removed
        << " removed\n";
    return result.problems.empty() ? 0 : kFailure;
  }

  // The batch's column tables, as docs/batch.md shows them.
  if (command == "columns") {
    if (!rest.empty()) {
      err << "tavelin-cli: columns takes no arguments\n";
      return kUsageError;
    }
    out << ColumnTablesMarkdown();
    return 0;
  }

  if (command == "schedule") return RunSchedule(root, rest, out, err);

  if (command == "batch") {
    BatchOptions options;
    options.root = root;
    options.defaults = DataDirOf(program);
    options.terminal = ::isatty(STDERR_FILENO) == 1;
    for (size_t k = 0; k < rest.size(); ++k) {
      if (rest[k] == "--json") {
        options.json = true;
      } else if (rest[k] == "--out" && k + 1 < rest.size()) {
        options.out = rest[++k];
      } else if (rest[k] == "--from-stored") {
        options.fromStored = true;
      } else if (rest[k].rfind("--", 0) != 0 && options.csv.empty()) {
        options.csv = rest[k];
      } else {
        err << "tavelin-cli: batch: unexpected " << rest[k] << "\n" << kUsage;
        return kUsageError;
      }
    }
    if (options.csv.empty()) {
      err << "tavelin-cli: batch needs a FILE.csv\n" << kUsage;
      return kUsageError;
    }
    return RunBatch(options, out, err);
  }

  ProcessLauncher launcher(root);
  StartCounter counter(&launcher);
  HeadlessHost host(out);
  ui::AppContext app(root);
  app.ui = &host;
  app.launcher = &counter;
  InstallDialogFactory(app);

  std::error_code ec;
  if (!fs::is_directory(app.info.InfoDir(), ec)) {
    err << "tavelin-cli: the info folder " << app.info.InfoDir().string()
        << " does not exist (run: tavelin-cli --root " << root.string() << " init)\n";
    return kFailure;
  }

  if (command == "generate") {
    if (rest.size() != 1) {
      err << "tavelin-cli: generate takes one STEM\n" << kUsage;
      return kUsageError;
    }
    std::string_view className = ClassForStem(rest[0]);
    if (className.empty()) {
      err << "tavelin-cli: no generator has the settings file " << rest[0] << ".ini\n";
      return kUsageError;
    }
    // As the main dialog does before it opens a fitting dialog (the builder
    // learns the generator from the job; this keeps the info folder as the
    // main dialog leaves it).
    for (const FittingKind& kind : FittingKinds()) {
      if (kind.className == className) app.info.WriteLine("Command.ini", FormatD(kind.code));
    }
    return RunDialog(app, counter, std::string(className), {}, out, err, true);
  }
  if (command == "run") {
    if (rest.empty()) {
      err << "tavelin-cli: run needs a dialog CLASS\n" << kUsage;
      return kUsageError;
    }
    std::vector<std::string> actions(rest.begin() + 1, rest.end());
    return RunDialog(app, counter, rest[0], actions, out, err);
  }
  err << "tavelin-cli: unknown command " << command << "\n" << kUsage;
  return kUsageError;
}

}  // namespace tavelin
