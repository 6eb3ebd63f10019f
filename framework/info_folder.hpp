// The info folder: every setting and hand-off file of the system, one value
// per line, CP932 with CR LF on disk and UTF-8 in memory, always written whole.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin {

// What failed on a file: opening it, reading it, or writing it anew.
enum class FileOperation { kOpen, kRead, kWrite };

// A file that could not be opened, read or written; the dialog host reports
// it in a message box and the program goes on.
class FileError : public std::runtime_error {
 public:
  FileError(std::filesystem::path path, std::string reason,
            FileOperation operation = FileOperation::kOpen);
  const std::filesystem::path& Path() const { return path_; }
  const std::string& Reason() const { return reason_; }
  FileOperation Operation() const { return operation_; }

 private:
  std::filesystem::path path_;
  std::string reason_;
  FileOperation operation_;
};

// The first line of the message that reports `error`: "ファイルを開けません。",
// "ファイルを読み込めません。" or "ファイルに書き込めません。".
std::string FileErrorHeadline(const FileError& error);

// Every file of the info folder is a few kilobytes (the largest installed one
// is far below this); a larger one is damaged or not ours and is not read.
inline constexpr std::uintmax_t kMaxInfoFileBytes = 1024 * 1024;

// The installation root: $TAVELIN_ROOT, else $HOME/Tavelin.
std::filesystem::path DefaultRoot();

// The entry of `dir` whose name equals `name` without regard to case, or
// dir / name when there is none (or the folder cannot be listed).
std::filesystem::path LocateIgnoringCase(const std::filesystem::path& dir, std::string_view name);

// Reads a text file into UTF-8 lines without line ends (LF or CR LF), at most
// `capacity` lines. Throws FileError when it cannot be opened or read, or when
// it is larger than `maxBytes` (the message names the limit).
std::vector<std::string> ReadTextLines(const std::filesystem::path& file, size_t capacity,
                                       std::uintmax_t maxBytes = kMaxInfoFileBytes);

// The bytes of a text file (CP932, LF or CR LF) as UTF-8 lines without line
// ends, at most `capacity` of them.
std::vector<std::string> SplitTextLines(std::string_view bytes, size_t capacity);

// Whether a write waits until its file is on the disk.
enum class Flush { kNow, kLater };

// Writes `bytes` through a temporary file in the same folder and a rename, so
// the old file stays whole if anything fails. With Flush::kNow the data and
// then the folder reach the disk before it returns, so a power cut leaves the
// old or the new file, never an empty one; Flush::kLater leaves that to a
// FlushFileSystem of the whole tree (the installer's thousands of files). The
// first write of a process into a folder also removes the temporary files
// that processes killed while writing left there. Throws FileError.
void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         Flush flush = Flush::kNow);

// Copies what is left of the open file `from` to the open file `to`, in the
// kernel where the file systems allow it: 0, or the errno value of the failure.
int CopyBytes(int from, int to);

// Copies the regular file `from` over `file` in the same way, the bytes
// moved in the kernel where the file systems allow it.
void CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& file,
                        Flush flush = Flush::kNow);

// Puts everything written on the file system of `path` on the disk.
void FlushFileSystem(const std::filesystem::path& path);

// Removes from `dir` the temporary files of WriteFileAtomically ("NAME.tmpPID_N")
// whose process no longer runs; returns how many it removed.
int RemoveStaleTemporaries(const std::filesystem::path& dir);

// Joins UTF-8 lines into CP932 bytes, each line followed by CR LF.
std::string EncodeLines(const std::vector<std::string>& lines);

class InfoFolder {
 public:
  explicit InfoFolder(std::filesystem::path root);

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path InfoDir() const { return root_ / "info"; }

  // The file of the info folder named `name`, matched without regard to case.
  std::filesystem::path Locate(std::string_view name) const;
  bool Exists(std::string_view name) const;

  // Exactly `count` lines; lines missing from a short file are empty.
  std::vector<std::string> ReadLines(std::string_view name, size_t count) const;
  // Line 1 (empty when the file is empty).
  std::string ReadLine(std::string_view name) const;
  // Every line up to `capacity`; further lines are not read.
  std::vector<std::string> ReadToEnd(std::string_view name, size_t capacity) const;

  // Creates the file anew with each line followed by a line end. A line that
  // holds a line end (CR or LF) is refused with a FileError; the file stays as it was.
  void WriteLines(std::string_view name, const std::vector<std::string>& lines) const;
  void WriteLine(std::string_view name, const std::string& line) const;
  // As WriteLines for each file in turn, but the files are written on a
  // thread of their own and this returns at once (the refusals above come at
  // once still, before anything is queued): the reads of this process
  // meanwhile take the new lines, and a write that fails, which leaves the
  // files after it as they were, is thrown by the next FinishQueuedWrites or
  // ThrowFailedWrite.
  struct NamedLines {
    std::string name;
    std::vector<std::string> lines;
  };
  void WriteInBackground(const std::vector<NamedLines>& files) const;

 private:
  // The file `name` is written to, after the refusals common to both writes.
  std::filesystem::path CheckedForWriting(std::string_view name,
                                          const std::vector<std::string>& lines) const;
  std::filesystem::path root_;
};

}  // namespace tavelin
