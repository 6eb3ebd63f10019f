#include "framework/build_job.hpp"

#include "framework/background_flush.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>

#include "framework/info_folder.hpp"
#include "framework/text.hpp"

extern char** environ;

namespace tavelin {
namespace fs = std::filesystem;
namespace {

// The builder's output kept for its reason; more is not read into memory.
constexpr size_t kMaxOutputBytes = 64 * 1024;

// Children whose dialog went away before they finished: reaped later, so that
// they never stay behind as zombies while the program runs.
std::mutex& OrphanLock() {
  static std::mutex lock;
  return lock;
}
std::vector<pid_t>& Orphans() {
  static std::vector<pid_t> pids;
  return pids;
}

void ReapOrphans() {
  std::lock_guard<std::mutex> guard(OrphanLock());
  std::vector<pid_t>& pids = Orphans();
  for (size_t i = 0; i < pids.size();) {
    int status = 0;
    if (::waitpid(pids[i], &status, WNOHANG) != 0) {
      pids.erase(pids.begin() + static_cast<long>(i));
    } else {
      ++i;
    }
  }
}

// The first line of the builder's output that says something.
std::string FirstLine(const std::string& output) {
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (!line.empty()) return line;
    start = end + 1;
  }
  return {};
}

BuildOutcome OutcomeOf(int status, const std::string& output, const std::string& blockName) {
  BuildOutcome outcome;
  outcome.blockName = blockName;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    outcome.written = true;
    return outcome;
  }
  outcome.nameTaken = WIFEXITED(status) && WEXITSTATUS(status) == kExitNameTaken;
  outcome.reason = FirstLine(output);
  if (outcome.reason.empty()) {
    outcome.reason = WIFSIGNALED(status)
                         ? "ブロック作成プログラムが異常終了しました（シグナル " +
                               FormatD(WTERMSIG(status)) + "）"
                         : "ブロック作成プログラムが終了コード " + FormatD(WEXITSTATUS(status)) +
                               " で終わりました";
  }
  return outcome;
}

class FinishedRun : public BuildRun {
 public:
  explicit FinishedRun(BuildOutcome outcome) : outcome_(std::move(outcome)) {}
  std::optional<BuildOutcome> Poll() override { return outcome_; }
  BuildOutcome Wait() override { return outcome_; }

 private:
  BuildOutcome outcome_;
};

class ProcessRun : public BuildRun {
 public:
  ProcessRun(pid_t pid, int fd, std::string blockName)
      : pid_(pid), fd_(fd), blockName_(std::move(blockName)) {}
  ~ProcessRun() override {
    if (fd_ >= 0) ::close(fd_);
    if (!outcome_ && pid_ > 0) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == 0) {
        std::lock_guard<std::mutex> guard(OrphanLock());
        Orphans().push_back(pid_);
      }
    }
  }

  std::optional<BuildOutcome> Poll() override {
    if (outcome_) return outcome_;
    ReapOrphans();
    Drain();
    int status = 0;
    pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == 0) return std::nullopt;
    if (done < 0 && errno == EINTR) return std::nullopt;
    Drain();
    Finish(done < 0 ? 0 : status, done < 0);
    return outcome_;
  }

  BuildOutcome Wait() override {
    while (!outcome_) {
      int status = 0;
      pid_t done = ::waitpid(pid_, &status, 0);
      if (done < 0 && errno == EINTR) continue;
      Drain(true);
      Finish(status, done < 0);
    }
    return *outcome_;
  }

 private:
  // Reads what the builder has written so far; with `toEnd`, up to its end.
  void Drain(bool toEnd = false) {
    if (fd_ < 0) return;
    if (toEnd) ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    char buffer[4096];
    for (;;) {
      ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n > 0) {
        if (output_.size() < kMaxOutputBytes) output_.append(buffer, static_cast<size_t>(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      break;  // end of output, or nothing more for now
    }
  }

  void Finish(int status, bool lost) {
    if (fd_ >= 0) {
      ::close(fd_);
      fd_ = -1;
    }
    if (lost) {
      // Someone else reaped the child: its status is unknown.
      BuildOutcome outcome;
      outcome.blockName = blockName_;
      outcome.reason = "ブロック作成プログラムの結果がわかりません";
      outcome_ = outcome;
      return;
    }
    outcome_ = OutcomeOf(status, output_, blockName_);
  }

  pid_t pid_;
  int fd_;
  std::string blockName_;
  std::string output_;
  std::optional<BuildOutcome> outcome_;
};

void CopyWhole(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec)) {
    throw FileError(from, ec ? ec.message() : "コピーできません");
  }
}

// The name of a job folder: digits and "_" ("PID_SERIAL_STAMP"), with ".tmp"
// while it is being filled.
bool IsJobName(std::string name) {
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0)
    name.resize(name.size() - 4);
  return !name.empty() && name.front() != '_' &&
         name.find_first_not_of("0123456789_") == std::string::npos;
}

// Removes job folders older than a day: only folders named as ours, never
// a link nor anything it points at.
void RemoveStaleJobs(const fs::path& jobs) {
  std::error_code ec;
  const auto now = fs::file_time_type::clock::now();
  for (fs::directory_iterator it(jobs, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (!IsJobName(it->path().filename().string()) || !fs::is_directory(it->symlink_status(kind)) ||
        kind) {
      continue;
    }
    std::error_code age;
    const auto written = fs::last_write_time(it->path(), age);
    if (age || now - written < std::chrono::hours(24)) continue;
    std::error_code removed;
    fs::remove_all(it->path(), removed);
  }
}

// ROOT/jobs, made when missing and rid of stale jobs. A link would take the
// jobs, and the cleanup, out of the root.
fs::path PrepareJobsFolder(const fs::path& root) {
  const fs::path jobs = root / "jobs";
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(jobs, ec))) {
    throw FileError(jobs, "シンボリックリンクのため使えません", FileOperation::kWrite);
  }
  fs::create_directories(jobs, ec);
  if (ec) throw FileError(jobs, ec.message(), FileOperation::kWrite);
  RemoveStaleJobs(jobs);
  return jobs;
}

// "<pid>_<serial>_<clock>": unique among the processes on one root.
std::string NewJobId() {
  static std::atomic<unsigned> serial{0};
  return FormatD(static_cast<int>(::getpid())) + "_" + FormatD(static_cast<int>(serial++)) + "_" +
         FormatD(static_cast<int>(std::chrono::steady_clock::now().time_since_epoch().count() %
                                  1000000007));
}

}  // namespace

std::unique_ptr<BuildRun> FinishedBuild(BuildOutcome outcome) {
  return std::make_unique<FinishedRun>(std::move(outcome));
}

const std::vector<std::string>& HandOffFileNames() {
  // The records and the name, the generator and the attributes, and what
  // the block's description names: the attribute set and its memo.
  static const std::vector<std::string> kNames = {
      "DrawData.txt",  "DrawName.ini", "Command.ini", "ByLayer.ini",
      "DakutoSet.ini", "KyotuSet.ini", "Sentaku.ini", "Memo.ini"};
  return kNames;
}

fs::path SnapshotHandOff(const InfoFolder& info, const std::vector<std::string>& extraFiles) {
  // The copies are of the files as this process last wrote them.
  FinishQueuedWrites();
  const fs::path jobs = PrepareJobsFolder(info.Root());
  std::error_code ec;
  const std::string id = NewJobId();
  const fs::path building = jobs / (id + ".tmp");
  const fs::path job = jobs / id;
  fs::remove_all(building, ec);
  fs::create_directories(building / "info", ec);
  if (ec) throw FileError(building, ec.message());
  try {
    std::vector<std::string> names = HandOffFileNames();
    names.insert(names.end(), extraFiles.begin(), extraFiles.end());
    for (const std::string& name : names) {
      if (!info.Exists(name)) continue;
      CopyWhole(info.Locate(name), building / "info" / info.Locate(name).filename());
    }
    fs::rename(building, job, ec);
    if (ec) throw FileError(job, ec.message());
  } catch (...) {
    std::error_code ignored;
    fs::remove_all(building, ignored);
    throw;
  }
  return job;
}

fs::path WriteJobFolder(const fs::path& root,
                        const std::vector<std::pair<std::string, std::string>>& files) {
  const fs::path jobs = PrepareJobsFolder(root);
  std::error_code ec;
  const std::string id = NewJobId();
  const fs::path building = jobs / (id + ".tmp");
  const fs::path job = jobs / id;
  fs::remove_all(building, ec);
  fs::create_directories(building / "info", ec);
  if (ec) throw FileError(building, ec.message(), FileOperation::kWrite);
  try {
    for (const auto& [name, bytes] : files) {
      // A job lives for seconds: its files need not wait for the disk.
      WriteFileAtomically(building / "info" / name, bytes, Flush::kLater);
    }
    fs::rename(building, job, ec);
    if (ec) throw FileError(job, ec.message(), FileOperation::kWrite);
  } catch (...) {
    std::error_code ignored;
    fs::remove_all(building, ignored);
    throw;
  }
  return job;
}

bool IsJobFolderOf(const fs::path& root, const fs::path& jobRoot) {
  std::error_code ec;
  // Never through a link out of the root, and only folders named as jobs.
  if (fs::is_symlink(fs::symlink_status(root / "jobs", ec))) return false;
  const fs::path jobs = fs::weakly_canonical(root / "jobs", ec);
  if (ec) return false;
  const fs::path job = fs::weakly_canonical(jobRoot, ec);
  if (ec) return false;
  return job.parent_path() == jobs && IsJobName(job.filename().string());
}

fs::path ProcessLauncher::BuilderPath() const {
  return LocateIgnoringCase(root_ / "exes", "Forvane");
}

std::unique_ptr<BuildRun> ProcessLauncher::Start(const fs::path& jobRoot,
                                                 const std::string& blockName) {
  const std::string path = BuilderPath().string();
  std::string rootVariable = "TAVELIN_ROOT=" + root_.string();
  std::vector<char*> environment;
  for (char** e = environ; e && *e; ++e) {
    if (std::strncmp(*e, "TAVELIN_ROOT=", 13) != 0) environment.push_back(*e);
  }
  environment.push_back(rootVariable.data());
  environment.push_back(nullptr);
  std::string program = path;
  std::string jobFlag = "--job";
  std::string job = jobRoot.string();
  char* argv[] = {program.data(), jobFlag.data(), job.data(), nullptr};
  // What the child says when the builder cannot be started at all.
  const std::string cannotStart = "ブロック作成プログラム " + path + " を起動できません: ";

  auto failed = [&](const std::string& reason) {
    BuildOutcome outcome;
    outcome.blockName = blockName;
    outcome.reason = reason;
    return std::make_unique<FinishedRun>(outcome);
  };
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return failed(cannotStart + std::strerror(errno));
  pid_t pid = ::fork();
  if (pid < 0) {
    const std::string reason = cannotStart + std::strerror(errno);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return failed(reason);
  }
  if (pid == 0) {
    // The builder runs in a session of its own, its output into the pipe,
    // nothing to read from.
    ::setsid();
    ::signal(SIGPIPE, SIG_DFL);
    ::dup2(pipeFds[1], STDOUT_FILENO);
    ::dup2(pipeFds[1], STDERR_FILENO);
    int devNull = ::open("/dev/null", O_RDONLY);
    if (devNull >= 0) ::dup2(devNull, STDIN_FILENO);
    ::execve(argv[0], argv, environment.data());
    const std::string message = cannotStart + std::strerror(errno) + "\n";
    ssize_t ignored = ::write(STDERR_FILENO, message.data(), message.size());
    (void)ignored;
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  ::fcntl(pipeFds[0], F_SETFL, ::fcntl(pipeFds[0], F_GETFL) | O_NONBLOCK);
  return std::make_unique<ProcessRun>(pid, pipeFds[0], blockName);
}

}  // namespace tavelin
