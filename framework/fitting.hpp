// A fitting as OK made it, carried whole from the dialog to the block: which
// dialog drew it, every settings file that dialog wrote with its lines, the
// records, the block name, the description and the attribute texts the
// builder needs. The job folder the builder reads is written from this value,
// never copied from the shared info folder, so a second window (or another
// process on the same root) writing there in between never changes the block.
//
// The job folder ROOT/jobs/<id>/info/ holds the usual hand-off files
// ("DrawData.txt", "DrawName.ini", the attribute files, the settings files)
// and "Fitting.ini", which names the block's dialog and its settings:
//
//   TAVELIN-FITTING 1
//   class=ErboDialog
//   stem=Erbo
//   code=4
//   description=一般両エルボ W1=600 ...   (the name and the typed dimensions)
//   memo=標準                            (the attribute set's memo, may be empty)
//   file=Erbo.ini                         (then for every settings file:)
//   lines=12                              (its line count, then its lines)
//   ...
//
// CP932 with CR LF, written whole like every info file.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/block_file.hpp"
#include "framework/build_job.hpp"

namespace tavelin {

class InfoFolder;
class RuntimeRandom;
namespace ui {
class Dialog;
struct AppContext;
}  // namespace ui

// The attribute files the builder reads besides the records, read by the
// dialog when it opens: "ByLayer.ini", "DakutoSet.ini", "KyotuSet.ini",
// "Sentaku.ini" and "Memo.ini". A file that was missing stays missing.
struct AttributeTexts {
  std::vector<SettingsFileLines> files;

  static AttributeTexts Capture(const InfoFolder& info);
  const SettingsFileLines* File(std::string_view name) const;
  // The memo of the active attribute set; empty when there is none.
  std::string Memo() const;
};

struct Fitting {
  std::string className;  // "ErboDialog"
  std::string stem;       // "Erbo"; empty for the part menu
  int code = -1;          // the dialog's code of the main dialog
  std::string name;       // "一般両エルボ"
  // What the user typed, for the description ("W1=600 R=300 ..."); may be empty.
  std::string typedDimensions;
  // Every settings file the dialog wrote, its own file first.
  std::vector<SettingsFileLines> files;
  std::vector<std::string> records;
  std::string blockName;
  // The block name without its random part: another number gives a new name.
  std::string nameBase;
  AttributeTexts attributes;

  // The name, then the typed dimensions when there are any.
  std::string DescriptionHead() const;
  const SettingsFileLines* File(std::string_view fileName) const;
  // Sets the block name made with `random`; the part before that number is the base.
  void SetBlockName(const std::string& name, int random);
};

// Fills class, stem, code and name from the fitting kind of `className`;
// false when no main-dialog button opens that class.
bool SetFittingKind(Fitting& fitting, std::string_view className);

inline constexpr const char* kFittingFile = "Fitting.ini";

std::vector<std::string> FittingFileLines(const Fitting& fitting);

// "Fitting.ini" read back: the block data (its description the head that the
// builder completes) and the attribute set's memo. Nothing when the file is
// not one this system wrote; `error` says why.
struct FittingFile {
  BlockData data;
  std::string memo;
};
std::optional<FittingFile> ParseFittingFile(const std::vector<std::string>& lines,
                                            std::string& error);

// Characters a CAD program does not accept in a block name.
inline constexpr std::string_view kCadNameCharacters = "<>/\\\":;?*|,=`";
// The first such character of `name` ("" when none).
std::string CadRefusedCharacter(std::string_view name);

// Why the builder would not write this fitting as it is, in words for the
// user; "" when it would. The records and the name as the builder reads them,
// a name a CAD program accepts, settings lines without line ends.
std::string RefusedFitting(const Fitting& fitting);

// The files of the job of `fitting`: the records, the name, "Fitting.ini"
// and the settings and attribute files, as they go on disk.
JobFiles FittingJobFiles(const Fitting& fitting);

// Writes the job folder of `fitting` under ROOT/jobs (appearing whole) and
// returns its root. Throws FileError.
std::filesystem::path WriteFittingJob(const std::filesystem::path& root, const Fitting& fitting);

// How often a block name held by another fitting is given up for the next
// random number before the build is reported as failed.
inline constexpr int kMaxNameTries = 50;

// Starts the builder on `fitting`: the job folder is written from the value
// and `launcher` started on it. When the builder finds the name held by
// another fitting's block, the run takes the next number of `random`, writes
// the new name into the job and starts the builder again; the outcome names
// the block actually written. Never returns null. Throws FileError when the
// job folder cannot be written.
std::unique_ptr<BuildRun> StartFittingBuild(BlockBuilderLauncher& launcher, RuntimeRandom& random,
                                            const std::filesystem::path& root,
                                            const Fitting& fitting);

// The last step of OK in every dialog that draws a fitting (the generators,
// the straight duct, the part menu): a fitting the builder would refuse is
// shown with the caption "入力確認" and nothing is written or started;
// otherwise the job is written, the builder started and `dialog` shows its
// run and then its outcome in `statusId`. True when the builder was started.
bool HandFittingToBuilder(ui::Dialog& dialog, ui::AppContext& app, const Fitting& fitting,
                          int statusId);

// What the block browser's "再編集" asks of the dialog it opens.
class FittingDialog {
 public:
  virtual ~FittingDialog() = default;
  // The number of lines the dialog writes to settings file `fileName`
  // (matched without regard to case); 0 for a file it never writes.
  virtual size_t SettingsLineCount(std::string_view fileName) = 0;
};

}  // namespace tavelin
