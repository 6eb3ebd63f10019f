#include "app/installer.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "framework/info_folder.hpp"

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

void MakeFolder(const fs::path& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) throw FileError(dir, ec.message());
}

void CopyTree(const fs::path& from, const fs::path& to, InstallReport& report) {
  MakeFolder(to);
  std::error_code ec;
  for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path name = it->path().filename();
    std::error_code kind;
    if (it->is_directory(kind)) {
      fs::path folder = Target(to, name);
      CopyTree(it->path(), folder, report);
      continue;
    }
    fs::path target = Target(to, name);
    if (fs::exists(StatusOf(target))) {
      ++report.kept;
      continue;
    }
    WriteFileAtomically(target, ReadBytes(it->path()), Flush::kLater);
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

void InstallBuilder(const fs::path& root, const fs::path& builder, InstallReport& report) {
  std::error_code ec;
  if (!builder.empty() && fs::is_regular_file(builder, ec)) {
    fs::path exes = Target(root, "exes");
    MakeFolder(exes);
    fs::path target = Target(exes, "Forvane");
    // A link, a pipe or a device in the builder's place is not ours to read
    // or replace.
    const fs::file_status status = StatusOf(target);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
      throw FileError(target, "通常のファイルではないため、ブロック作成プログラムを置けません",
                      FileOperation::kWrite);
    }
    std::string bytes = ReadBytes(builder);
    if (!fs::exists(status) || !HoldsExactly(target, bytes)) {
      WriteFileAtomically(target, bytes);
      fs::permissions(target, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec, ec);
    }
    report.builderInstalled = true;
  }
}

}  // namespace

InstallReport InstallDefaults(const fs::path& root, const fs::path& dataDir, const fs::path& builder) {
  InstallReport report;
  std::error_code ec;
  if (!fs::is_directory(dataDir, ec)) throw FileError(dataDir, "既定のデータがありません");
  CopyTree(dataDir, root, report);
  if (report.copied > 0) FlushFileSystem(root);
  InstallBuilder(root, builder, report);
  return report;
}

bool PrepareRoot(const fs::path& root, const fs::path& program) {
  std::error_code ec;
  if (fs::exists(root, ec)) {
    // A root of this system (it has its info folder) gets the builder of
    // this program, which may be newer than the one it holds.
    if (fs::is_directory(root / "info", ec)) {
      InstallReport report;
      InstallBuilder(root, BuilderBesideProgram(program), report);
    }
    return false;
  }
  InstallReport report = InstallDefaults(root, DataDirOf(program), BuilderBesideProgram(program));
  if (fs::path catalogue = CatalogueBesideProgram(program); fs::is_directory(catalogue, ec)) {
    InstallTree(root, catalogue, report);
  }
  return true;
}

}  // namespace tavelin
