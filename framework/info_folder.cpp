#include "framework/info_folder.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "framework/codepage.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace fs = std::filesystem;

FileError::FileError(fs::path path, std::string reason)
    : std::runtime_error(path.string() + ": " + reason),
      path_(std::move(path)),
      reason_(std::move(reason)) {}

fs::path DefaultRoot() {
  if (const char* root = std::getenv("TAVELIN_ROOT"); root && *root) return fs::path(root);
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : ".") / "Tavelin";
}

fs::path LocateIgnoringCase(const fs::path& dir, std::string_view name) {
  fs::path exact = dir / fs::path(std::string(name));
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsIgnoreCase(it->path().filename().string(), name)) return it->path();
  }
  return exact;
}

std::vector<std::string> ReadTextLines(const fs::path& file, size_t capacity) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::error_code ec;
    const char* reason = !fs::exists(file.parent_path(), ec) ? "フォルダがありません"
                         : !fs::exists(file, ec)            ? "ファイルがありません"
                                                             : "開けません";
    throw FileError(file, reason);
  }
  std::vector<std::string> lines;
  std::string line;
  while (lines.size() < capacity && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(Cp932ToUtf8(line));
  }
  if (in.bad()) throw FileError(file, "読み込みに失敗しました");
  return lines;
}

void WriteFileAtomically(const fs::path& file, std::string_view bytes) {
  static std::atomic<unsigned> serial{0};
  fs::path temp = file;
  temp += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(serial++);
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw FileError(file, std::strerror(errno));
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      std::string reason = std::strerror(errno);
      ::close(fd);
      ::unlink(temp.c_str());
      throw FileError(file, reason);
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  if (::close(fd) != 0 || ::rename(temp.c_str(), file.c_str()) != 0) {
    std::string reason = std::strerror(errno);
    ::unlink(temp.c_str());
    throw FileError(file, reason);
  }
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
  return fs::is_regular_file(Locate(name), ec);
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

void InfoFolder::WriteLines(std::string_view name, const std::vector<std::string>& lines) const {
  std::error_code ec;
  if (!fs::is_directory(InfoDir(), ec)) throw FileError(InfoDir(), "フォルダがありません");
  WriteFileAtomically(Locate(name), EncodeLines(lines));
}

void InfoFolder::WriteLine(std::string_view name, const std::string& line) const {
  WriteLines(name, {line});
}

}  // namespace tavelin
