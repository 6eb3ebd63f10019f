// A throw-away installation root for tests, filled with the default data, and
// an application context whose host and launcher only record what happens.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/info_folder.hpp"
#include "framework/toolkit/dialog.hpp"

namespace tavelin::testing {

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

struct ShownMessage {
  std::string caption;
  std::string text;
};

class RecordingHost : public ui::UiHost {
 public:
  int ShowMessage(ui::Dialog* owner, const std::string& text, const std::string& caption) override;
  int RunModal(ui::Dialog& dialog) override;

  std::vector<ShownMessage> messages;
  std::vector<std::string> modalCaptions;  // captions of the dialogs run modally
  bool initialiseChildren = false;         // run OnInitDialog of modal children
  // Files "chosen" by the user, one a question, first first; nothing (a
  // cancelled choice) once they are used up.
  std::optional<std::filesystem::path> ChooseFile(ui::Dialog*, const std::string&,
                                                  const std::string&, bool save,
                                                  const std::filesystem::path&) override {
    saveQuestions += save ? 1 : 0;
    if (chosenFiles.empty()) return std::nullopt;
    std::filesystem::path next = chosenFiles.front();
    chosenFiles.erase(chosenFiles.begin());
    return next;
  }
  std::vector<std::filesystem::path> chosenFiles;
  int saveQuestions = 0;
};

// Counts the starts and keeps the snapshot of each; every run finishes at
// once with the block written (or with `refusal` as the builder's reason).
class CountingLauncher : public BlockBuilderLauncher {
 public:
  std::unique_ptr<BuildRun> Start(const std::filesystem::path& jobRoot,
                                  const std::string& blockName) override;
  int starts = 0;
  std::filesystem::path lastJob;
  std::string lastName;
  std::string refusal;
};

// A root with the default data installed (unless `withDefaults` is false),
// a recording host, a counting launcher, a fresh random sequence and the
// program's dialog factory.
class TestApp {
 public:
  explicit TestApp(bool withDefaults = true);

  ui::AppContext& App() { return app_; }
  const InfoFolder& Info() const { return app_.info; }
  const std::filesystem::path& Root() const { return dir_.Path(); }
  RecordingHost host;
  CountingLauncher launcher;
  RuntimeRandom random;

  // The raw bytes of an info-folder file ("" when missing).
  std::string Bytes(const std::string& name) const;
  // The file's lines as the program reads them (UTF-8, no line ends).
  std::vector<std::string> Lines(const std::string& name) const;
  void Write(const std::string& name, const std::vector<std::string>& lines) const;
  // Removes the file once the writer has written what was queued: removed
  // before that, the file would come back with the queued write.
  void Remove(const std::string& name) const;

 private:
  TempDir dir_;
  ui::AppContext app_;
};

// The default data folder of the source tree.
std::filesystem::path SourceDataDir();
// The folder of the built programs.
std::filesystem::path BinDir();

// fork() once this process's flusher thread is parked: a child forked while
// that thread holds a lock of the sanitizers' allocator (which has no fork
// handler) would wait on that lock for ever.
pid_t ForkParked();

}  // namespace tavelin::testing
