#include "framework/info_folder.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <set>

#include "framework/background_flush.hpp"
#include "framework/codepage.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace fs = std::filesystem;

FileError::FileError(fs::path path, std::string reason, FileOperation operation)
    : std::runtime_error(path.string() + ": " + reason),
      path_(std::move(path)),
      reason_(std::move(reason)),
      operation_(operation) {}

std::string FileErrorHeadline(const FileError& error) {
  switch (error.Operation()) {
    case FileOperation::kRead:
      return "ファイルを読み込めません。";
    case FileOperation::kWrite:
      return "ファイルに書き込めません。";
    case FileOperation::kOpen:
      break;
  }
  return "ファイルを開けません。";
}

fs::path DefaultRoot() {
  if (const char* root = std::getenv("TAVELIN_ROOT"); root && *root) return fs::path(root);
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : ".") / "Tavelin";
}

fs::path LocateIgnoringCase(const fs::path& dir, std::string_view name) {
  fs::path exact = dir / fs::path(std::string(name));
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact;
  // A file this process has queued and not yet written is there already.
  if (std::optional<fs::path> queued = QueuedFileIn(dir, name)) return *queued;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsIgnoreCase(it->path().filename().string(), name)) return it->path();
  }
  return exact;
}

namespace {

// Closes a descriptor on every path out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now; the error of close(2), 0 when it succeeded.
  int Close() {
    int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

std::string LimitText(std::uintmax_t maxBytes) {
  return maxBytes >= 1024 * 1024 && maxBytes % (1024 * 1024) == 0
             ? std::to_string(maxBytes / (1024 * 1024)) + " MB"
             : std::to_string(maxBytes / 1024) + " KB";
}

}  // namespace

std::vector<std::string> ReadTextLines(const fs::path& file, size_t capacity,
                                       std::uintmax_t maxBytes) {
  // What this process has queued for the file is its newest content.
  if (std::optional<std::string> queued = QueuedBytes(file)) {
    if (queued->size() > maxBytes) {
      throw FileError(file, "ファイルが大きすぎます（上限 " + LimitText(maxBytes) + "）",
                      FileOperation::kRead);
    }
    return SplitTextLines(*queued, capacity);
  }
  // Not blocking: a pipe in a file's place must not wait for a writer.
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) {
    std::error_code ec;
    const char* reason = !fs::exists(file.parent_path(), ec) ? "フォルダがありません"
                         : !fs::exists(file, ec)            ? "ファイルがありません"
                                                             : "開けません";
    throw FileError(file, reason);
  }
  const std::string tooLarge = "ファイルが大きすぎます（上限 " + LimitText(maxBytes) + "）";
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    throw FileError(file, "通常のファイルではありません", FileOperation::kRead);
  }
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
    throw FileError(file, tooLarge, FileOperation::kRead);
  }
  // Read at most one byte beyond the limit, whatever the size said.
  std::string bytes;
  char buffer[16384];
  for (;;) {
    ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw FileError(file, std::string("読み込みに失敗しました（") + std::strerror(errno) + "）",
                      FileOperation::kRead);
    }
    if (got == 0) break;
    if (bytes.size() + static_cast<size_t>(got) > maxBytes) {
      throw FileError(file, tooLarge, FileOperation::kRead);
    }
    bytes.append(buffer, static_cast<size_t>(got));
  }
  return SplitTextLines(bytes, capacity);
}

std::vector<std::string> SplitTextLines(std::string_view bytes, size_t capacity) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (lines.size() < capacity && start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string_view line(bytes.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(Cp932ToUtf8(line));
    start = end + 1;
  }
  return lines;
}

namespace {

// The process id of a temporary file name "NAME.tmpPID_N", or 0.
pid_t TemporaryOwner(std::string_view name) {
  size_t at = name.rfind(".tmp");
  if (at == std::string_view::npos || at == 0) return 0;
  std::string_view rest = name.substr(at + 4);
  size_t bar = rest.find('_');
  if (bar == 0 || bar == std::string_view::npos || bar + 1 == rest.size() || bar > 9) return 0;
  auto digits = [](std::string_view text) {
    return text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (!digits(rest.substr(0, bar)) || !digits(rest.substr(bar + 1))) return 0;
  long pid = std::stol(std::string(rest.substr(0, bar)));
  return pid > 0 && pid <= std::numeric_limits<pid_t>::max() ? static_cast<pid_t>(pid) : 0;
}

bool ProcessRuns(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// The folders this process has already swept of dead writers' leftovers (a
// forked process starts afresh). Never destroyed: the writer thread still
// writes while the process exits, after later statics are gone.
void SweepOnce(const fs::path& dir) {
  struct Swept {
    std::mutex mutex;
    std::set<fs::path> folders;
    pid_t sweeper = 0;
  };
  static Swept& state = *new Swept;
  {
    std::lock_guard lock(state.mutex);
    if (state.sweeper != ::getpid()) {
      state.folders.clear();
      state.sweeper = ::getpid();
    }
    if (!state.folders.insert(dir).second) return;
  }
  RemoveStaleTemporaries(dir);
}

}  // namespace

int RemoveStaleTemporaries(const fs::path& dir) {
  int removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const pid_t owner = TemporaryOwner(it->path().filename().string());
    if (owner == 0 || owner == ::getpid() || ProcessRuns(owner)) continue;
    std::error_code removeError;
    if (it->is_regular_file(removeError) && fs::remove(it->path(), removeError)) ++removed;
  }
  return removed;
}

namespace {

// Fills a temporary file beside `file` through `fill` (which returns 0 or an
// errno value) and renames it over `file`, so that the file is at any moment
// the whole old or the whole new content.
template <typename Fill>
void ReplaceWhole(const fs::path& file, Flush flush, Fill fill) {
  static std::atomic<unsigned> serial{0};
  const fs::path dir = file.has_parent_path() ? file.parent_path() : fs::path(".");
  SweepOnce(dir);
  fs::path temp = file;
  temp += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(serial++);
  Descriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (fd.Get() < 0) throw FileError(file, std::strerror(errno), FileOperation::kWrite);
  auto fail = [&](int error) {
    ::unlink(temp.c_str());
    throw FileError(file, std::strerror(error), FileOperation::kWrite);
  };
  if (const int error = fill(fd.Get()); error != 0) fail(error);
  // The data reaches the disk before the name points at it.
  if (flush == Flush::kNow && ::fsync(fd.Get()) != 0) fail(errno);
  if (int error = fd.Close(); error != 0) fail(error);
  if (::rename(temp.c_str(), file.c_str()) != 0) fail(errno);
  if (flush == Flush::kLater) return;
  // And the new name itself; a folder that cannot be flushed (some file
  // systems refuse) leaves the rename as durable as the system makes it.
  Descriptor folder(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) ::fsync(folder.Get());
}

// Writes all of `data` to `fd`: 0, or the errno value of the failure.
int WriteAll(int fd, const char* data, size_t left) {
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  return 0;
}

}  // namespace

int CopyBytes(int from, int to) {
  // In the kernel where the file systems allow it, else through a buffer.
  for (bool inKernel = true;;) {
    ssize_t moved = -1;
    if (inKernel) {
      moved = ::copy_file_range(from, nullptr, to, nullptr, size_t{1} << 30, 0);
      if (moved < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL ||
                        errno == EOPNOTSUPP || errno == EBADF)) {
        inKernel = false;
        continue;
      }
    } else {
      char buffer[65536];
      moved = ::read(from, buffer, sizeof buffer);
      if (moved > 0) {
        if (const int error = WriteAll(to, buffer, static_cast<size_t>(moved))) return error;
      }
    }
    if (moved == 0) return 0;
    if (moved < 0 && errno != EINTR) return errno;
  }
}

void WriteFileAtomically(const fs::path& file, std::string_view bytes, Flush flush) {
  ReplaceWhole(file, flush, [&](int fd) { return WriteAll(fd, bytes.data(), bytes.size()); });
}

void CopyFileAtomically(const fs::path& from, const fs::path& file, Flush flush) {
  Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (in.Get() < 0) throw FileError(from, std::strerror(errno));
  struct stat info {};
  if (::fstat(in.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    throw FileError(from, "通常のファイルではありません");
  }
  ReplaceWhole(file, flush, [&](int out) { return CopyBytes(in.Get(), out); });
}

void FlushFileSystem(const fs::path& path) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() >= 0) ::syncfs(fd.Get());
}

std::string EncodeLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return Utf8ToCp932(text);
}

InfoFolder::InfoFolder(fs::path root) : root_(std::move(root)) {}

fs::path InfoFolder::Locate(std::string_view name) const {
  return LocateIgnoringCase(InfoDir(), name);
}

bool InfoFolder::Exists(std::string_view name) const {
  std::error_code ec;
  const fs::path file = Locate(name);
  return fs::is_regular_file(file, ec) || QueuedBytes(file).has_value();
}

std::vector<std::string> InfoFolder::ReadLines(std::string_view name, size_t count) const {
  auto lines = ReadTextLines(Locate(name), count);
  lines.resize(count);
  return lines;
}

std::string InfoFolder::ReadLine(std::string_view name) const { return ReadLines(name, 1)[0]; }

std::vector<std::string> InfoFolder::ReadToEnd(std::string_view name, size_t capacity) const {
  return ReadTextLines(Locate(name), capacity);
}

fs::path InfoFolder::CheckedForWriting(std::string_view name,
                                      const std::vector<std::string>& lines) const {
  std::error_code ec;
  if (!fs::is_directory(InfoDir(), ec)) {
    throw FileError(InfoDir(), "フォルダがありません", FileOperation::kWrite);
  }
  // A line end inside a value would shift every later line of the file.
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find_first_of("\r\n") != std::string::npos) {
      throw FileError(Locate(name), std::to_string(i + 1) + "行目の値に改行が含まれています",
                      FileOperation::kWrite);
    }
  }
  return Locate(name);
}

void InfoFolder::WriteLines(std::string_view name, const std::vector<std::string>& lines) const {
  const fs::path file = CheckedForWriting(name, lines);
  // An older content queued for the background must not land after this one.
  ForgetQueuedWrites(file);
  // Whole under its name when this returns, so a kill leaves the old or the
  // new file; the flush against a power cut runs on the flusher's thread, so
  // that no window waits on a busy disk. A scratch copy is never flushed.
  WriteFileAtomically(file, EncodeLines(lines), Flush::kLater);
  if (!IsUnderScratchRoot(root_)) FlushInBackground(file);
}

void InfoFolder::WriteInBackground(const std::vector<NamedLines>& files) const {
  std::vector<QueuedFile> queued;
  for (const NamedLines& named : files) {
    queued.push_back({CheckedForWriting(named.name, named.lines), EncodeLines(named.lines)});
  }
  // Readers of this process see the new lines at once; the files themselves
  // are written whole, as WriteLines writes them, on the writer's thread.
  tavelin::WriteInBackground(std::move(queued));
}

void InfoFolder::WriteLine(std::string_view name, const std::string& line) const {
  WriteLines(name, {line});
}

}  // namespace tavelin
