#include "app/installer.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

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

// The names of one folder, listed once, looked up without regard to case:
// thousands of files are matched against it without listing it again.
class FolderNames {
 public:
  explicit FolderNames(const fs::path& dir) : dir_(dir) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      Add(it->path().filename());
    }
  }
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
};

// Copies without flushing: the caller flushes the whole tree once.
void CopyTree(const fs::path& from, const fs::path& to, InstallReport& report) {
  MakeFolder(to);
  FolderNames existing(to);
  std::error_code ec;
  for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path name = it->path().filename();
    const std::optional<fs::path> found = existing.Find(name);
    std::error_code kind;
    if (it->is_directory(kind)) {
      if (!found) existing.Add(name);
      CopyTree(it->path(), found ? *found : to / name, report);
      continue;
    }
    if (found && fs::exists(StatusOf(*found))) {
      ++report.kept;
      continue;
    }
    const fs::path target = found ? *found : to / name;
    WriteFileAtomically(target, ReadBytes(it->path()), Flush::kLater);
    existing.Add(name);
    ++report.copied;
  }
  if (ec) throw FileError(from, ec.message());
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
    const std::string bytes = ReadBytes(builder);
    if (!fs::exists(status) || !HoldsExactly(target, bytes)) {
      WriteFileAtomically(target, bytes, flush);
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

InstallReport InstallDefaults(const fs::path& root, const fs::path& dataDir,
                              const fs::path& builder) {
  InstallReport report;
  std::error_code ec;
  if (!fs::is_directory(dataDir, ec)) throw FileError(dataDir, "既定のデータがありません");
  CopyTree(dataDir, root, report);
  InstallBuilder(root, builder, report, Flush::kLater);
  if (report.copied > 0) FlushFileSystem(root);
  return report;
}

InstallReport InstallRoot(const fs::path& root, const fs::path& program) {
  InstallReport report;
  const fs::path dataDir = DataDirOf(program);
  std::error_code ec;
  if (!fs::is_directory(dataDir, ec)) throw FileError(dataDir, "既定のデータがありません");
  CopyTree(dataDir, root, report);
  if (fs::path catalogue = CatalogueBesideProgram(program); fs::is_directory(catalogue, ec)) {
    CopyTree(catalogue, root, report);
  }
  InstallBuilder(root, BuilderBesideProgram(program), report, Flush::kLater);
  // The part library is there from the start, so that a CAD program can be
  // pointed at it before the first block.
  fs::create_directories(PartLibraryFolder(root), ec);
  SyncPartLibrary(root);
  // One flush for the whole tree.
  FlushFileSystem(root);
  return report;
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
