#include "tests/support/test_root.hpp"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "app/dialog_registry.hpp"
#include "app/installer.hpp"
#include "framework/background_flush.hpp"

namespace tavelin::testing {
namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<int> serial{0};
  path_ = fs::temp_directory_path() /
          ("tavelin_test_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

int RecordingHost::ShowMessage(ui::Dialog*, const std::string& text, const std::string& caption) {
  messages.push_back({caption, text});
  return ui::kIdOk;
}

int RecordingHost::RunModal(ui::Dialog& dialog) {
  modalCaptions.push_back(dialog.Caption());
  if (initialiseChildren) dialog.Initialize();
  return ui::kIdCancel;
}

std::unique_ptr<BuildRun> CountingLauncher::Start(const fs::path& jobRoot,
                                                  const std::string& blockName) {
  ++starts;
  lastJob = jobRoot;
  lastName = blockName;
  class Done : public BuildRun {
   public:
    explicit Done(BuildOutcome outcome) : outcome_(std::move(outcome)) {}
    std::optional<BuildOutcome> Poll() override { return outcome_; }
    BuildOutcome Wait() override { return outcome_; }

   private:
    BuildOutcome outcome_;
  };
  BuildOutcome outcome;
  outcome.blockName = blockName;
  outcome.written = refusal.empty();
  outcome.reason = refusal;
  return std::make_unique<Done>(outcome);
}

fs::path SourceDataDir() { return TAVELIN_SOURCE_DATA_DIR; }
fs::path BinDir() { return TAVELIN_BIN_DIR; }

pid_t ForkParked() {
  FlushQueuedFiles();
  return ::fork();
}

TestApp::TestApp(bool withDefaults) : app_(dir_.Path()) {
  if (withDefaults)
    InstallDefaults(dir_.Path() / "info", SourceDataDir() / "info", {});
  else
    fs::create_directories(dir_.Path() / "info");
  app_.ui = &host;
  app_.launcher = &launcher;
  app_.random = &random;
  InstallDialogFactory(app_);
}

std::string TestApp::Bytes(const std::string& name) const {
  // What is on the disk: once the writer has written what was queued.
  FlushQueuedFiles();
  std::ifstream in(app_.info.Locate(name), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> TestApp::Lines(const std::string& name) const {
  return ReadTextLines(app_.info.Locate(name), 100000);
}

void TestApp::Remove(const std::string& name) const {
  FlushQueuedFiles();
  std::filesystem::remove(app_.info.Locate(name));
}

void TestApp::Write(const std::string& name, const std::vector<std::string>& lines) const {
  app_.info.WriteLines(name, lines);
}

}  // namespace tavelin::testing
