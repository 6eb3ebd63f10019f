#include "fuzz/fuzz_root.hpp"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/dialog_registry.hpp"
#include "app/installer.hpp"
#include "cli/headless_host.hpp"
#include "framework/info_folder.hpp"

namespace tavelin::fuzz {
namespace fs = std::filesystem;

namespace {

fs::path ScratchFolder() {
  std::error_code ec;
  fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
  fs::path dir = base / ("tavelin-fuzz-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir;
}

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

struct Cleanup {
  ~Cleanup() {
    std::error_code ec;
    if (!dir.empty()) fs::remove_all(dir, ec);
  }
  fs::path dir;
};
Cleanup scratch;

// Starts nothing: the job folder it is given goes at once, and the run ends
// with the block reported written.
class NullLauncher : public BlockBuilderLauncher {
 public:
  std::unique_ptr<BuildRun> Start(const fs::path& jobRoot, const std::string& blockName) override {
    std::error_code ec;
    fs::remove_all(jobRoot, ec);
    class Done : public BuildRun {
     public:
      explicit Done(BuildOutcome outcome) : outcome_(std::move(outcome)) {}
      std::optional<BuildOutcome> Poll() override { return outcome_; }
      BuildOutcome Wait() override { return outcome_; }

     private:
      BuildOutcome outcome_;
    };
    BuildOutcome outcome;
    outcome.written = true;
    outcome.blockName = blockName;
    return std::make_unique<Done>(outcome);
  }
};

std::ostringstream& Discard() {
  static std::ostringstream out;
  out.str("");
  return out;
}

}  // namespace

std::vector<std::string> InputLines(const uint8_t* data, size_t size) {
  if (scratch.dir.empty()) scratch.dir = ScratchFolder();
  const fs::path file = scratch.dir / "input.txt";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  try {
    return ReadTextLines(file, 100000);
  } catch (const FileError&) {
    return {};
  }
}

FuzzRoot& FuzzRoot::Get() {
  static FuzzRoot root;
  return root;
}

FuzzRoot::FuzzRoot() {
  if (scratch.dir.empty()) scratch.dir = ScratchFolder();
  root_ = scratch.dir / "root";
  InstallDefaults(root_, TAVELIN_SOURCE_DATA_DIR, {});
  // The catalogue as it is (the installer's case-blind lookups per file take
  // seconds for its thousands of files).
  std::error_code ec;
  if (fs::is_directory(TAVELIN_CATALOGUE_DIR, ec)) {
    fs::copy(TAVELIN_CATALOGUE_DIR, root_, fs::copy_options::recursive | fs::copy_options::skip_existing);
  }
  fs::create_directories(root_ / "blocks");
  for (const auto& entry : fs::directory_iterator(root_ / "info")) {
    installed_[entry.path()] = {Slurp(entry.path()), entry.last_write_time()};
  }
  static HeadlessHost host(Discard());
  static NullLauncher launcher;
  app_ = std::make_unique<ui::AppContext>(root_);
  app_->ui = &host;
  app_->launcher = &launcher;
  InstallDialogFactory(*app_);
}

void FuzzRoot::Restore() {
  std::vector<fs::path> added;
  for (const auto& entry : fs::directory_iterator(root_ / "info")) {
    auto it = installed_.find(entry.path());
    if (it == installed_.end()) {
      added.push_back(entry.path());
    } else if (entry.last_write_time() != it->second.time) {
      std::ofstream(entry.path(), std::ios::binary | std::ios::trunc) << it->second.bytes;
      it->second.time = fs::last_write_time(entry.path());
    }
  }
  for (const fs::path& file : added) fs::remove(file);
  for (auto& [file, saved] : installed_) {
    std::error_code ec;
    if (!fs::exists(file, ec)) {
      std::ofstream(file, std::ios::binary) << saved.bytes;
      saved.time = fs::last_write_time(file);
    }
  }
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(root_ / "blocks", ec)) fs::remove(entry.path(), ec);
  ProcessRandom().Reset();
  Discard();
}

void FuzzRoot::Put(std::string_view name, std::string_view bytes) {
  std::ofstream(app_->info.Locate(name), std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace tavelin::fuzz
