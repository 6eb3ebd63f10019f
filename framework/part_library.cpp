#include "framework/part_library.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "framework/text.hpp"

namespace tavelin {

namespace fs = std::filesystem;

namespace {

bool IsDxf(const fs::path& file) { return EqualsIgnoreCase(file.extension().string(), ".dxf"); }

// The regular ".dxf" files of `folder` by file name.
std::map<std::string, fs::path> DxfFiles(const fs::path& folder) {
  std::map<std::string, fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (IsDxf(it->path()) && it->is_regular_file(kind)) {
      files.emplace(it->path().filename().string(), it->path());
    }
  }
  return files;
}

bool SameBytes(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  const auto sizeA = fs::file_size(a, ec);
  if (ec) return false;
  const auto sizeB = fs::file_size(b, ec);
  if (ec || sizeA != sizeB) return false;
  std::ifstream inA(a, std::ios::binary), inB(b, std::ios::binary);
  if (!inA || !inB) return false;
  return std::equal(std::istreambuf_iterator<char>(inA), std::istreambuf_iterator<char>(),
                    std::istreambuf_iterator<char>(inB), std::istreambuf_iterator<char>());
}

bool Holds(const fs::path& libraryFile, const fs::path& block) {
  std::error_code ec;
  if (fs::equivalent(libraryFile, block, ec)) return true;
  return !ec && SameBytes(libraryFile, block);
}

// A library file the library may take away: a block of Tavelin's (it carries
// Tavelin's data), or any file of the folder of blocks without data, which
// only Tavelin fills. Parts a user put among the kinds stay.
bool Ours(const fs::path& file) {
  if (file.parent_path().filename() == kOtherKindFolder) return true;
  return ReadBlockFile(file).data.Present();
}

// Puts `block` at `target`: a hard link made under a temporary name and
// renamed over the target, else a copy the same way. Returns "" or a reason.
std::string Place(const fs::path& block, const fs::path& target) {
  static unsigned serial = 0;
  fs::path temp = target.parent_path() /
                  ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) + "_" +
                   std::to_string(serial++));
  std::error_code ec;
  if (::link(block.c_str(), temp.c_str()) != 0) {
    const int linkError = errno;
    if (linkError == EEXIST) return std::strerror(linkError);
    fs::copy_file(block, temp, fs::copy_options::overwrite_existing, ec);
    if (ec) {
      fs::remove(temp, ec);
      return std::strerror(linkError);
    }
  }
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return ec.message();
  }
  return {};
}

}  // namespace

fs::path PartLibraryFolder(const fs::path& root) { return root / kLibraryFolderName; }

std::string LibraryKindFolder(const BlockData& data) {
  const FittingKind* kind = data.Present() ? FittingForClass(data.className) : nullptr;
  if (!kind) return kOtherKindFolder;
  std::string name(kind->name);
  // A file name holds no "/"; the full-width form reads the same.
  std::string safe;
  for (char c : name) {
    if (c == '/') {
      safe += "／";
    } else {
      safe += c;
    }
  }
  return safe;
}

LibrarySyncResult SyncPartLibrary(const fs::path& root) {
  LibrarySyncResult result;
  const fs::path library = PartLibraryFolder(root);
  const std::map<std::string, fs::path> blocks = DxfFiles(root / "blocks");
  std::error_code ec;
  if (blocks.empty() && !fs::exists(library, ec)) return result;

  // What the library holds now: each block at most once, the rest removed.
  std::set<std::string> placed;
  for (fs::directory_iterator it(library, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (!it->is_directory(kind)) continue;
    for (const auto& [name, file] : DxfFiles(it->path())) {
      auto block = blocks.find(name);
      if (block != blocks.end() && !placed.count(name) && Holds(file, block->second)) {
        placed.insert(name);
        continue;
      }
      if (!Ours(file)) continue;
      // A block another builder wrote since the listing above is no orphan.
      std::error_code now;
      if (block == blocks.end() && fs::exists(root / "blocks" / name, now)) continue;
      std::error_code removeError;
      if (fs::remove(file, removeError)) {
        ++result.removed;
      } else if (removeError) {
        result.problems.push_back(file.string() + ": " + removeError.message());
      }
    }
  }

  for (const auto& [name, block] : blocks) {
    if (placed.count(name)) continue;
    const BlockFile read = ReadBlockFile(block);
    const fs::path folder = library / LibraryKindFolder(read.data);
    std::error_code made;
    fs::create_directories(folder, made);
    if (made) {
      result.problems.push_back(folder.string() + ": " + made.message());
      continue;
    }
    std::error_code exists;
    if (fs::exists(fs::symlink_status(folder / name, exists))) {
      result.problems.push_back((folder / name).string() +
                                ": ほかのファイルがあるため、ブロックを置けません");
      continue;
    }
    if (std::string reason = Place(block, folder / name); !reason.empty()) {
      result.problems.push_back((folder / name).string() + ": " + reason);
      continue;
    }
    ++result.added;
  }
  // A folder for every kind, present before its first block: a browser that
  // lists the library's folders once shows a new kind's block without being
  // told to look again.
  for (const FittingKind& kind : FittingKinds()) {
    BlockData data;
    data.className = std::string(kind.className);
    std::error_code made;
    fs::create_directories(library / LibraryKindFolder(data), made);
  }
  return result;
}

}  // namespace tavelin
