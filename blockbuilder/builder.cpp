#include "blockbuilder/builder.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <vector>

#include "blockbuilder/block_data.hpp"
#include "framework/draw_records.hpp"
#include "blockbuilder/dxf_writer.hpp"
#include "blockbuilder/hand_off_source.hpp"
#include "framework/straight_duct_drawing.hpp"
#include "blockbuilder/tables.hpp"
#include "framework/acceptance.hpp"
#include "framework/codepage.hpp"
#include "framework/fitting.hpp"
#include "framework/info_folder.hpp"
#include "framework/part_library.hpp"
#include "framework/text.hpp"

namespace tavelin::blockbuilder {
namespace fs = std::filesystem;
namespace {

// Names equal without regard to case (as EqualsIgnoreCase compares them) fold
// to the same key.
std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

// One hand-off file read whole, or why it could not be.
struct HandOffFile {
  bool ok = false;
  std::vector<std::string> lines;  // UTF-8, without line ends
};

HandOffFile ReadHandOff(const HandOffSource& source, const std::string& name,
                        std::uintmax_t limit, BuildLog& log) {
  HandOffFile file;
  std::string bytes;
  if (const InfoFolder* info = source.Folder()) {
    const fs::path path = info->Locate(name);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
      log.Add(name + " がありません");
      return file;
    }
    // A FIFO or a device would block the read or never end.
    if (!fs::is_regular_file(status)) {
      log.Add(name + " は通常のファイルではありません");
      return file;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      log.Add(name + " を開けません");
      return file;
    }
    // Read as far as one byte past the limit, a piece at a time: a buffer of
    // the limit's size, cleared for every file, cost more than the reading.
    char piece[16384];
    while (bytes.size() <= limit) {
      in.read(piece, static_cast<std::streamsize>(sizeof piece));
      if (in.bad()) {
        log.Add(name + " を読めません");
        return file;
      }
      const auto got = static_cast<size_t>(in.gcount());
      bytes.append(piece, std::min<size_t>(got, static_cast<size_t>(limit) + 1 - bytes.size()));
      if (got < sizeof piece) break;
    }
  } else if (const std::string* held = source.Find(name)) {
    bytes = held->substr(0, static_cast<size_t>(std::min<std::uintmax_t>(held->size(), limit + 1)));
  } else {
    log.Add(name + " がありません");
    return file;
  }
  if (bytes.size() > limit) {
    log.Add(name + " が " + std::to_string(limit / 1024) + " KB を超えるため読みません");
    return file;
  }
  file.lines = SplitTextLines(bytes, bytes.size());
  file.ok = true;
  return file;
}

std::string TrimBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string Timestamp() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
  return buffer;
}

bool AppendLog(const fs::path& blocks, const BuildResult& result, const BuildLog& log) {
  std::error_code ec;
  // A mistaken root is not created just to hold a log.
  if (!fs::is_directory(blocks.parent_path(), ec)) return false;
  fs::create_directories(blocks, ec);
  const fs::path file = blocks / "builder.log";
  // Only a log that is a file of its own is appended to: never through a
  // link (it may lead out of the root), never a pipe or a device.
  const fs::file_status status = fs::symlink_status(file, ec);
  if (fs::exists(status) && !fs::is_regular_file(status)) return false;
  if (fs::is_regular_file(status) && fs::file_size(file, ec) > kMaxLogBytes) {
    fs::rename(file, blocks / "builder.log.1", ec);
  }
  const std::string prefix =
      Timestamp() + " " + (result.blockName.empty() ? std::string("-") : result.blockName) + ": ";
  std::string text;
  for (const std::string& line : log.Lines()) text += prefix + line + "\n";
  if (result.written) {
    text += prefix + "ブロックを作成しました (" + std::to_string(result.entities) + " 図形) " +
            result.file.string() + "\n";
  } else {
    text += prefix + "ブロックは作成しませんでした\n";
  }
  // One append of whole lines, so that two builders never mix their lines.
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
                  0644);
  if (fd < 0) return false;
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    ::close(fd);
    return false;
  }
  const ssize_t written = ::write(fd, text.data(), text.size());
  const bool closed = ::close(fd) == 0;
  return closed && written == static_cast<ssize_t>(text.size());
}

// Reads the whole of `path` when it is a regular file of at most `limit` bytes.
std::optional<std::string> ReadWhole(const fs::path& path, std::uintmax_t limit) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec) || fs::file_size(path, ec) > limit || ec) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

enum class Placement { kNew, kSame, kTaken };

// Puts `bytes` under the name `file` without ever replacing another block.
// Block file names are matched without regard to case, as the CAD program
// matches block names: a file of the name in any case with the same bytes is
// the same fitting written again and stays; with other bytes the name is
// taken. The file is written under a temporary name and then linked to its
// name, which fails when another writer took the name meanwhile, so two
// builders at once never give one name two contents. `placed` is the block
// file that holds the bytes. Throws FileError.
// A batch gives the folder's names (`options.index`) and flushes the folder
// once at the end (`options.flush`).
Placement PlaceBlockFile(const fs::path& file, const std::string& bytes, fs::path& placed,
                         const BuildOptions& options) {
  static std::atomic<unsigned> serial{0};
  const fs::path dir = file.parent_path();
  // A batch's own folder is tidied once, not at every block.
  if (!options.index) RemoveStaleTemporaries(dir);
  for (int attempt = 0; attempt < 8; ++attempt) {
    const std::string name = file.filename().string();
    fs::path existing = file;
    std::error_code ec;
    if (!options.index) {
      existing = LocateIgnoringCase(dir, name);
    } else if (!fs::exists(fs::symlink_status(file, ec))) {
      const std::vector<std::string> variants = options.index->Variants(name);
      if (!variants.empty()) existing = dir / variants.front();
    }
    if (fs::exists(fs::symlink_status(existing, ec))) {
      placed = existing;
      const std::optional<std::string> content = ReadWhole(existing, bytes.size());
      return content && *content == bytes ? Placement::kSame : Placement::kTaken;
    }
    fs::path temp = file;
    temp += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(serial++);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) throw FileError(file, std::strerror(errno), FileOperation::kWrite);
    size_t done = 0;
    int error = 0;
    while (done < bytes.size() && error == 0) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno != EINTR) error = errno;
      if (n > 0) done += static_cast<size_t>(n);
    }
    if (error == 0 && options.flush == Flush::kNow && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0) {
      if (::link(temp.c_str(), file.c_str()) == 0) {
        error = 0;
      } else if (errno == EEXIST) {
        error = EEXIST;
      } else if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, file.c_str(), RENAME_NOREPLACE) ==
                 0) {
        // A file system without hard links: the temporary is the block now.
        if (options.index) options.index->Add(name);
        placed = file;
        return Placement::kNew;
      } else {
        error = errno;
      }
    }
    ::unlink(temp.c_str());
    if (error == EEXIST) continue;  // someone took the name meanwhile: look again
    if (error != 0) throw FileError(file, std::strerror(error), FileOperation::kWrite);
    if (options.flush == Flush::kNow) {
      int folder = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
      }
    }
    if (options.index) options.index->Add(name);
    placed = file;
    return Placement::kNew;
  }
  throw FileError(file, "ほかの書き込みと重なり続けました", FileOperation::kWrite);
}

// The entities of the straight duct, from its settings and the attributes.
bool AddStraightDuct(const HandOffSource& info, std::vector<Entity>& entities, BuildLog& log) {
  HandOffFile choku = ReadHandOff(info, "Choku.ini", kMaxSettingsBytes, log);
  HandOffFile dakuto = ReadHandOff(info, "DakutoSet.ini", kMaxSettingsBytes, log);
  HandOffFile kyotu = ReadHandOff(info, "KyotuSet.ini", kMaxSettingsBytes, log);
  if (!choku.ok || !dakuto.ok || !kyotu.ok) {
    log.Add("直管は作図できません");
    return false;
  }
  StraightDuct duct = ReadStraightDuct(choku.lines, log);
  DuctStyle style = ReadDuctStyle(dakuto.lines, kyotu.lines, log);
  return DrawStraightDuct(duct, style, entities, log);
}

}  // namespace

static BuildResult BuildInto(const fs::path& blocks, const HandOffSource& info,
                             const BuildOptions& options, BuildLog& log) {
  BuildResult result;

  HandOffFile drawName = ReadHandOff(info, "DrawName.ini", kMaxSettingsBytes, log);
  if (!drawName.ok) return result;
  const std::string name = drawName.lines.empty() ? std::string() : TrimBlanks(drawName.lines[0]);
  if (std::string reason = RefusedBlockName(name); !reason.empty()) {
    log.Add("DrawName.ini: " + reason + " " + Quote(name));
    return result;
  }
  result.blockName = name;

  bool byLayer = false;
  HandOffFile byLayerFile = ReadHandOff(info, "ByLayer.ini", kMaxSettingsBytes, log);
  if (byLayerFile.ok) {
    const std::string value =
        byLayerFile.lines.empty() ? std::string() : TrimBlanks(byLayerFile.lines[0]);
    byLayer = value == "1";
    if (value != "0" && value != "1")
      log.Add("ByLayer.ini の値 " + Quote(value) + " は 0 として扱いました");
  } else {
    log.Add("ByLayer を使わずに作図します");
  }
  // "Command.ini" names the dialog that wrote the hand-off on the info
  // folder itself; a job names it in "Fitting.ini". The records say
  // everything the block needs, so it is only checked for being there.
  const bool fittingJob =
      info.Folder() ? info.Folder()->Exists(kFittingFile) : info.Find(kFittingFile) != nullptr;
  if (!fittingJob) ReadHandOff(info, "Command.ini", kMaxSettingsBytes, log);

  HandOffFile drawData = ReadHandOff(info, "DrawData.txt", kMaxDrawDataBytes, log);
  if (!drawData.ok) return result;

  std::vector<Entity> entities;
  bool ductDrawn = false;
  for (size_t i = 0; i < drawData.lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i + 1);
    ParsedRecord record = ParseRecord(drawData.lines[i], lineNumber, log);
    if (record.kind == RecordKind::kEntity) {
      entities.push_back(std::move(record.entity));
    } else if (record.kind == RecordKind::kStraightDuct) {
      if (ductDrawn) {
        log.Add("DrawData.txt " + std::to_string(lineNumber) +
                "行目: 2つ目の CK は読み飛ばしました");
        continue;
      }
      ductDrawn = true;
      AddStraightDuct(info, entities, log);
    }
  }
  if (entities.empty()) {
    log.Add("DrawData.txt に作図できる記録がありません");
    return result;
  }

  Tables tables = ResolveTables(entities, byLayer, log);
  tables.data = ReadBlockData(info, tables, log);
  const std::string bytes = WriteDxf(tables);
  std::error_code ec;
  fs::create_directories(blocks, ec);
  if (ec) {
    log.Add("フォルダ " + blocks.string() + " を作れません: " + ec.message());
    return result;
  }
  const fs::path file = blocks / (name + ".dxf");
  fs::path placed;
  try {
    if (PlaceBlockFile(file, bytes, placed, options) == Placement::kTaken) {
      log.Add("ブロック名 " + name + " は別の内容のブロック " + Quote(placed.filename().string()) +
              " が使っているため、書きませんでした");
      result.nameTaken = true;
      return result;
    }
  } catch (const FileError& error) {
    log.Add(file.string() + " を書けません: " + error.Reason());
    return result;
  }
  result.written = true;
  result.file = placed;
  result.entities = tables.entities.size();
  result.drawn = std::move(entities);
  return result;
}

BuildResult BuildBlock(const fs::path& root, const fs::path& input, BuildLog& log) {
  const InfoFolder info(input);
  return BuildInto(root / "blocks", HandOffSource(info), {}, log);
}

BuildResult BuildBlockInto(const fs::path& blocks, const fs::path& input) {
  return BuildBlockInto(blocks, input, {});
}

static BuildResult BuildAndLog(const fs::path& blocks, const HandOffSource& source,
                               const BuildOptions& options) {
  BuildLog log;
  BuildResult result;
  try {
    result = BuildInto(blocks, source, options, log);
  } catch (const std::exception& error) {
    log.Add(std::string("処理を続けられません: ") + error.what());
    result.written = false;
  }
  result.logLines = log.Lines();
  result.logged = AppendLog(blocks, result, log);
  return result;
}

BuildResult BuildBlockInto(const fs::path& blocks, const fs::path& input,
                           const BuildOptions& options) {
  const InfoFolder info(input);
  return BuildAndLog(blocks, HandOffSource(info), options);
}

BuildResult BuildBlockFromFiles(const fs::path& blocks, const JobFiles& files,
                                const BuildOptions& options) {
  return BuildAndLog(blocks, HandOffSource(files), options);
}

BuildResult BuildBlock(const fs::path& root, const fs::path& input) {
  BuildResult result = BuildBlockInto(root / "blocks", input);
  // The part library follows the blocks; what it cannot do now the next
  // block, the browser or the next start of Tavelin does.
  if (result.written) SyncPartLibrary(root);
  return result;
}

BlockFolderIndex::BlockFolderIndex(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    byLowerName_[FoldCase(name)].insert(name);
  }
}

std::vector<std::string> BlockFolderIndex::Variants(const std::string& name) const {
  std::vector<std::string> variants;
  auto it = byLowerName_.find(FoldCase(name));
  if (it == byLowerName_.end()) return variants;
  for (const std::string& other : it->second) {
    if (other != name) variants.push_back(other);
  }
  return variants;
}

void BlockFolderIndex::Add(const std::string& name) { byLowerName_[FoldCase(name)].insert(name); }

BuildResult BuildBlock(const fs::path& root) { return BuildBlock(root, root); }

}  // namespace tavelin::blockbuilder
