#include "app/installer.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "framework/info_folder.hpp"
#include "framework/part_library.hpp"

namespace tavelin {
namespace fs = std::filesystem;

fs::path DefaultDataDir() {
  if (const char* dir = std::getenv("TAVELIN_DATA_DIR"); dir && *dir) return dir;
  return TAVELIN_SOURCE_DATA_DIR;
}

namespace {

fs::path Self(const fs::path& program) {
  std::error_code ec;
  fs::path self = fs::canonical(program, ec);
  return ec ? program : self;
}

// PREFIX when `program` is PREFIX/bin/NAME of an installation, else empty.
fs::path InstalledPrefix(const fs::path& program) {
  const fs::path bin = Self(program).parent_path();
  std::error_code ec;
  if (bin.filename() != "bin" || !fs::is_directory(bin.parent_path() / "share" / "tavelin", ec)) {
    return {};
  }
  return bin.parent_path();
}

}  // namespace

fs::path BuilderBesideProgram(const fs::path& program) {
  const fs::path beside = Self(program).parent_path() / "tavelin-blockbuilder";
  std::error_code ec;
  const fs::path prefix = InstalledPrefix(program);
  if (fs::exists(beside, ec) || prefix.empty()) return beside;
  return prefix / "lib" / "tavelin" / "tavelin-blockbuilder";
}

fs::path CatalogueBesideProgram(const fs::path& program) {
  if (const fs::path prefix = InstalledPrefix(program); !prefix.empty()) {
    return prefix / "share" / "tavelin" / "catalogue";
  }
  return Self(program).parent_path().parent_path() / "catalogue";
}

fs::path DataDirOf(const fs::path& program) {
  if (const char* dir = std::getenv("TAVELIN_DATA_DIR"); dir && *dir) return dir;
  if (const fs::path prefix = InstalledPrefix(program); !prefix.empty()) {
    return prefix / "share" / "tavelin" / "data";
  }
  return DefaultDataDir();
}

namespace {

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw FileError(file, "開けません");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The entry of `dir` matching `name` without regard to case, or dir / name.
fs::path Target(const fs::path& dir, const fs::path& name) {
  return LocateIgnoringCase(dir, name.string());
}

void MakeFolder(const fs::path& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) throw FileError(dir, ec.message());
}

// What is at `path`, a link not followed. A folder on the way that cannot be
// searched is a FileError naming the path.
fs::file_status StatusOf(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(path, ec);
  if (ec && status.type() != fs::file_type::not_found) {
    throw FileError(path, "調べられません（" + ec.message() + "）");
  }
  return status;
}

// True when `file` is a file of its own holding exactly `bytes`; a link, a
// pipe or a device is not read, and no more than `bytes` holds is read.
bool HoldsExactly(const fs::path& file, const std::string& bytes) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  bool same = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<std::uintmax_t>(info.st_size) == bytes.size();
  std::string held;
  char buffer[65536];
  while (same) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || held.size() + static_cast<size_t>(got) > bytes.size()) {
      same = got == 0;
      break;
    }
    held.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return same && held == bytes;
}

// A folder that does not exist yet is filled under a hidden name beside it,
// ".NAME.tavelin-init-PID", and renamed into place once it is whole: its
// files then need no temporary file and rename each, and a killed init
// leaves the hidden folder, never a folder that looks finished.
constexpr const char* kStageMark = ".tavelin-init-";

// The process id in such a hidden name, or 0 when `entry` is no such name.
pid_t StageOwner(const std::string& entry) {
  const size_t mark = entry.rfind(kStageMark);
  if (entry.size() < 2 || entry[0] != '.' || mark == std::string::npos || mark < 2) return 0;
  const std::string digits = entry.substr(mark + std::strlen(kStageMark));
  if (digits.empty() || digits.size() > 9 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  return static_cast<pid_t>(std::stol(digits));
}

// The names of one folder, listed once, looked up without regard to case:
// thousands of files are matched against it without listing it again.
class FolderNames {
 public:
  explicit FolderNames(const fs::path& dir) : dir_(dir) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      const fs::path name = it->path().filename();
      if (StageOwner(name.string()) != 0) {
        stages_.push_back(name.string());
      } else {
        Add(name);
      }
    }
  }
  // Names that look like the hidden folders of an init, which are not data.
  const std::vector<std::string>& Stages() const { return stages_; }
  // The entry named `name` without regard to case, if there is one.
  std::optional<fs::path> Find(const fs::path& name) const {
    auto it = names_.find(Fold(name.string()));
    if (it == names_.end()) return std::nullopt;
    return dir_ / it->second;
  }
  void Add(const fs::path& name) { names_.emplace(Fold(name.string()), name); }

 private:
  static std::string Fold(std::string text) {
    for (char& c : text) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
  }
  fs::path dir_;
  std::map<std::string, fs::path> names_;
  std::vector<std::string> stages_;
};

// An open file or folder, closed when it goes.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }
  // The error of closing, 0 when it closed cleanly.
  int Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) != 0 ? errno : 0;
  }

 private:
  int fd_;
};

fs::path StageFor(const fs::path& folder) {
  return folder.parent_path() /
         ("." + folder.filename().string() + kStageMark + std::to_string(::getpid()));
}

// Removes `entry` of `dir` when it is such a hidden folder left by a process
// that no longer runs.
void RemoveIfDeadStage(const fs::path& dir, const std::string& entry) {
  const pid_t pid = StageOwner(entry);
  if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) return;
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(dir / entry, ec))) fs::remove_all(dir / entry, ec);
}

[[noreturn]] void ThrowWrite(const fs::path& path, int error) {
  throw FileError(path, std::strerror(error), FileOperation::kWrite);
}

// Renames the folder `from` to `to` unless something is at `to`: 0, EEXIST
// when something is there, or the error.
int RenameFolderIntoPlace(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  int error = errno;
  if (error == ENOTEMPTY) error = EEXIST;
  // A file system without that flag: rename where nothing is.
  if (error == EINVAL) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec))) return EEXIST;
    error = ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
  }
  return error;
}

// Copies the file `name` of the folder open as `fromDir` to a new file of
// the same name in `toDir` (which must not hold it), in the kernel where it
// can. `to` names the new file in messages.
void CopyNewFile(int fromDir, int toDir, const char* name, const fs::path& from,
                 const fs::path& to) {
  Fd in(::openat(fromDir, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (in.Get() < 0) throw FileError(from, "開けません");
  Fd out(::openat(toDir, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (out.Get() < 0) ThrowWrite(to, errno);
  if (const int error = CopyBytes(in.Get(), out.Get()); error != 0) ThrowWrite(to, error);
  if (const int error = out.Close(); error != 0) ThrowWrite(to, error);
}

// Copies everything in the folder open as `fromDir` into the new, empty
// folder open as `toDir`; nothing there needs keeping or a temporary name.
void CopyIntoNewFolder(int fromDir, int toDir, const fs::path& from, const fs::path& to,
                       InstallReport& report) {
  const int listFd = ::dup(fromDir);
  DIR* listing = listFd < 0 ? nullptr : ::fdopendir(listFd);
  if (!listing) {
    if (listFd >= 0) ::close(listFd);
    throw FileError(from, "調べられません");
  }
  std::unique_ptr<DIR, int (*)(DIR*)> closer(listing, ::closedir);
  ::rewinddir(listing);
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(listing);
    if (!entry) {
      if (errno != 0) throw FileError(from, std::strerror(errno));
      break;
    }
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    bool folder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      struct stat info {};
      if (::fstatat(fromDir, name, &info, 0) != 0) throw FileError(from / name, "調べられません");
      folder = S_ISDIR(info.st_mode);
    }
    if (folder) {
      if (::mkdirat(toDir, name, 0777) != 0) ThrowWrite(to / name, errno);
      Fd subFrom(::openat(fromDir, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      if (subFrom.Get() < 0) throw FileError(from / name, "開けません");
      Fd subTo(::openat(toDir, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      if (subTo.Get() < 0) ThrowWrite(to / name, errno);
      CopyIntoNewFolder(subFrom.Get(), subTo.Get(), from / name, to / name, report);
      continue;
    }
    CopyNewFile(fromDir, toDir, name, from / name, to / name);
    ++report.copied;
  }
}

// Makes the folder `to`, which does not exist, holding a copy of `from`.
// Unless `staged` (`to` lies in a folder that is itself being filled under a
// hidden name), it is filled under a hidden name and renamed into place.
// False, with nothing left behind, when something took the name `to`
// meanwhile.
bool CopyToNewFolder(const fs::path& from, const fs::path& to, InstallReport& report,
                     bool staged) {
  const fs::path made = staged ? to : StageFor(to);
  std::error_code ec;
  if (!staged) fs::remove_all(made, ec);  // a leftover of an earlier process with this id
  if (::mkdir(made.c_str(), 0777) != 0) ThrowWrite(to, errno);
  InstallReport here;
  try {
    Fd fromFd(::open(from.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fromFd.Get() < 0) throw FileError(from, "開けません");
    Fd toFd(::open(made.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (toFd.Get() < 0) ThrowWrite(to, errno);
    CopyIntoNewFolder(fromFd.Get(), toFd.Get(), from, to, here);
    if (!staged) {
      if (const int error = RenameFolderIntoPlace(made, to); error != 0) {
        fs::remove_all(made, ec);
        if (error == EEXIST) return false;
        ThrowWrite(to, error);
      }
    }
  } catch (...) {
    if (!staged) fs::remove_all(made, ec);
    throw;
  }
  report.copied += here.copied;
  return true;
}

// The folders a copy found missing, made once the listing is done.
struct NewFolder {
  fs::path from, to;
  bool staged;
};

void CopyTreeInto(const fs::path& from, const fs::path& to, InstallReport& report, bool staged,
                  std::vector<NewFolder>& newFolders);

// Makes the missing folders, on two threads where there are two cores (the
// cost is the file system's, creating each file, and folders in different
// places of the disk do not wait for each other).
void MakeNewFolders(const std::vector<NewFolder>& newFolders, InstallReport& report) {
  std::atomic<size_t> next{0};
  std::atomic<int> copied{0};
  std::atomic<int> kept{0};
  std::mutex failedLock;
  std::exception_ptr failed;
  auto work = [&] {
    for (size_t i; (i = next++) < newFolders.size();) {
      {
        std::lock_guard<std::mutex> lock(failedLock);
        if (failed) return;
      }
      try {
        const NewFolder& folder = newFolders[i];
        InstallReport here;
        // Made by another process meanwhile: its files are merged with ours.
        if (!CopyToNewFolder(folder.from, folder.to, here, folder.staged)) {
          std::vector<NewFolder> inside;
          CopyTreeInto(folder.from, folder.to, here, folder.staged, inside);
          MakeNewFolders(inside, here);
        }
        copied += here.copied;
        kept += here.kept;
      } catch (...) {
        std::lock_guard<std::mutex> lock(failedLock);
        if (!failed) failed = std::current_exception();
      }
    }
  };
  std::thread helper;
  if (newFolders.size() > 1 && std::thread::hardware_concurrency() > 1) helper = std::thread(work);
  work();
  if (helper.joinable()) helper.join();
  report.copied += copied;
  report.kept += kept;
  if (failed) std::rethrow_exception(failed);
}

// Copies without flushing: the caller flushes the whole tree once. Within a
// `staged` folder (one still under its hidden name) files are written in
// place; elsewhere each goes through a temporary file and a rename. Missing
// folders are left in `newFolders` for MakeNewFolders.
void CopyTreeInto(const fs::path& from, const fs::path& to, InstallReport& report, bool staged,
                  std::vector<NewFolder>& newFolders) {
  MakeFolder(to);
  FolderNames existing(to);
  for (const std::string& stage : existing.Stages()) RemoveIfDeadStage(to, stage);
  std::error_code ec;
  for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path name = it->path().filename();
    const std::optional<fs::path> found = existing.Find(name);
    std::error_code kind;
    if (it->is_directory(kind)) {
      if (!found) {
        existing.Add(name);
        newFolders.push_back({it->path(), to / name, staged});
        continue;
      }
      CopyTreeInto(it->path(), *found, report, staged, newFolders);
      continue;
    }
    if (found && fs::exists(StatusOf(*found))) {
      ++report.kept;
      continue;
    }
    const fs::path target = found ? *found : to / name;
    if (staged && !found) {
      Fd toDir(::open(to.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      Fd fromDir(::open(from.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      if (toDir.Get() < 0 || fromDir.Get() < 0) throw FileError(it->path(), "開けません");
      CopyNewFile(fromDir.Get(), toDir.Get(), name.c_str(), it->path(), target);
    } else {
      WriteFileAtomically(target, ReadBytes(it->path()), Flush::kLater);
    }
    existing.Add(name);
    ++report.copied;
  }
  if (ec) throw FileError(from, ec.message());
}

void CopyTree(const fs::path& from, const fs::path& to, InstallReport& report,
              bool staged = false) {
  std::vector<NewFolder> newFolders;
  CopyTreeInto(from, to, report, staged, newFolders);
  MakeNewFolders(newFolders, report);
}

}  // namespace

void InstallTree(const fs::path& root, const fs::path& tree, InstallReport& report) {
  std::error_code ec;
  if (!fs::is_directory(tree, ec)) throw FileError(tree, "フォルダがありません");
  const int before = report.copied;
  CopyTree(tree, root, report);
  if (report.copied != before) FlushFileSystem(root);
}

namespace {

// What was installed as ROOT/exes/Forvane, beside it: the size and the
// modification time of the program it was copied from and of the copy. A
// start compares these with two stat calls instead of reading both programs.
constexpr const char* kBuilderStampName = "Forvane.stamp";
constexpr const char* kBuilderStampVersion = "tavelin-builder-stamp 1";

std::string StampOf(const fs::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  return std::to_string(static_cast<long long>(info.st_size)) + " " +
         std::to_string(static_cast<long long>(info.st_mtim.tv_sec)) + "." +
         std::to_string(static_cast<long long>(info.st_mtim.tv_nsec));
}

std::string BuilderStamp(const fs::path& builder, const fs::path& target) {
  const std::string from = StampOf(builder);
  const std::string to = StampOf(target);
  if (from.empty() || to.empty()) return {};
  return std::string(kBuilderStampVersion) + "\n" + from + "\n" + to + "\n";
}

bool StampHolds(const fs::path& stampFile, const std::string& expected) {
  std::error_code ec;
  // Only a file of our own is read: a pipe in its place would never end.
  if (expected.empty() || !fs::is_regular_file(fs::symlink_status(stampFile, ec))) return false;
  std::ifstream in(stampFile, std::ios::binary);
  std::string stored(expected.size() + 1, '\0');
  in.read(stored.data(), static_cast<std::streamsize>(stored.size()));
  return in.gcount() == static_cast<std::streamsize>(expected.size()) &&
         stored.compare(0, expected.size(), expected) == 0;
}

// Installs `builder` as ROOT/exes/Forvane unless the stamp says the copy is
// that program already; `flush` as the caller flushes.
void InstallBuilder(const fs::path& root, const fs::path& builder, InstallReport& report,
                    Flush flush) {
  std::error_code ec;
  if (builder.empty() || !fs::is_regular_file(builder, ec)) return;
  fs::path exes = Target(root, "exes");
  MakeFolder(exes);
  const fs::path target = Target(exes, "Forvane");
  // A link, a pipe or a device in the builder's place is not ours to read
  // or replace.
  const fs::file_status status = StatusOf(target);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    throw FileError(target, "通常のファイルではないため、ブロック作成プログラムを置けません",
                    FileOperation::kWrite);
  }
  const fs::path stamp = exes / kBuilderStampName;
  if (!StampHolds(stamp, BuilderStamp(builder, target))) {
    // A new root's builder is copied in the kernel; one in place is compared
    // first, so that an equal one is left as it is.
    bool write = !fs::exists(status);
    if (write) {
      CopyFileAtomically(builder, target, flush);
    } else if (const std::string bytes = ReadBytes(builder); !HoldsExactly(target, bytes)) {
      WriteFileAtomically(target, bytes, flush);
      write = true;
    }
    if (write) {
      fs::permissions(target,
                      fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec,
                      ec);
    }
    // A stamp that cannot be written only costs the next start a comparison.
    try {
      WriteFileAtomically(stamp, BuilderStamp(builder, target), flush);
    } catch (const FileError&) {
    }
  }
  report.builderInstalled = true;
}

}  // namespace

namespace {

// Sets up a root that does not exist yet: `fill` fills it under a hidden name
// beside it, which is then renamed into place and flushed, so a root that is
// there is a whole one. False, with nothing left behind, when something took
// the root's name meanwhile: the caller then fills the existing root.
template <typename Fill>
bool SetUpNewRoot(const fs::path& root, Fill fill) {
  fs::path clean = root.lexically_normal();
  if (!clean.has_filename()) clean = clean.parent_path();
  if (!clean.has_filename()) return false;
  std::error_code ec;
  const fs::path parent = clean.parent_path();
  if (!parent.empty()) MakeFolder(parent);
  // What killed inits of this root left beside it.
  const std::string prefix = "." + clean.filename().string() + kStageMark;
  for (fs::directory_iterator it(parent.empty() ? fs::path(".") : parent, ec), end;
       !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (entry.compare(0, prefix.size(), prefix) == 0) RemoveIfDeadStage(it->path().parent_path(), entry);
  }
  const fs::path stage = StageFor(clean);
  fs::remove_all(stage, ec);
  if (::mkdir(stage.c_str(), 0777) != 0) ThrowWrite(root, errno);
  try {
    fill(stage);
    if (const int error = RenameFolderIntoPlace(stage, clean); error != 0) {
      fs::remove_all(stage, ec);
      if (error == EEXIST) return false;
      ThrowWrite(root, error);
    }
  } catch (...) {
    fs::remove_all(stage, ec);
    throw;
  }
  FlushFileSystem(clean);
  return true;
}

bool Missing(const fs::path& root) {
  std::error_code ec;
  return fs::symlink_status(root, ec).type() == fs::file_type::not_found;
}

// A root that does not exist yet is filled under a hidden name and renamed
// into place whole; an existing one is filled in place and flushed once
// (`flushAlways`: even when no file was copied).
InstallReport FillRoot(const fs::path& root,
                       const std::function<InstallReport(const fs::path&, bool)>& fill,
                       bool flushAlways) {
  InstallReport report;
  if (Missing(root) &&
      SetUpNewRoot(root, [&](const fs::path& stage) { report = fill(stage, true); })) {
    return report;
  }
  report = fill(root, false);
  if (flushAlways || report.copied > 0) FlushFileSystem(root);
  return report;
}

}  // namespace

InstallReport InstallDefaults(const fs::path& root, const fs::path& dataDir,
                              const fs::path& builder) {
  std::error_code ec;
  if (!fs::is_directory(dataDir, ec)) throw FileError(dataDir, "既定のデータがありません");
  auto fill = [&](const fs::path& into, bool staged) {
    InstallReport report;
    CopyTree(dataDir, into, report, staged);
    InstallBuilder(into, builder, report, Flush::kLater);
    return report;
  };
  return FillRoot(root, fill, false);
}

InstallReport InstallRoot(const fs::path& root, const fs::path& program) {
  const fs::path dataDir = DataDirOf(program);
  std::error_code ec;
  if (!fs::is_directory(dataDir, ec)) throw FileError(dataDir, "既定のデータがありません");
  auto fill = [&](const fs::path& into, bool staged) {
    InstallReport report;
    CopyTree(dataDir, into, report, staged);
    if (fs::path catalogue = CatalogueBesideProgram(program); fs::is_directory(catalogue, ec)) {
      CopyTree(catalogue, into, report, staged);
    }
    InstallBuilder(into, BuilderBesideProgram(program), report, Flush::kLater);
    // The part library is there from the start, so that a CAD program can be
    // pointed at it before the first block.
    fs::create_directories(PartLibraryFolder(into), ec);
    SyncPartLibrary(into);
    return report;
  };
  // The part library may have changed although no file was copied.
  return FillRoot(root, fill, true);
}

bool PrepareRoot(const fs::path& root, const fs::path& program) {
  std::error_code ec;
  if (fs::exists(root, ec)) {
    // A root of this system (it has its info folder) gets the builder of
    // this program, which may be newer than the one it holds.
    if (fs::is_directory(root / "info", ec)) {
      InstallReport report;
      InstallBuilder(root, BuilderBesideProgram(program), report, Flush::kNow);
      // Blocks written or removed while Tavelin was not running (by hand, by
      // an older version) reach the part library.
      SyncPartLibrary(root);
    }
    return false;
  }
  InstallRoot(root, program);
  return true;
}

}  // namespace tavelin
