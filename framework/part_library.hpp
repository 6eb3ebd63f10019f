// ROOT/library: the blocks of ROOT/blocks sorted into one folder per fitting
// kind ("一般両エルボ", "ダンパー", "継手・部材", ...). A CAD program's part
// library browser lists the subfolders of a library path, not its files, so
// ROOT/library is the path to give it. Each file there is a hard link to the
// block (a copy on a file system without hard links), so the library takes no
// room of its own and holds exactly the bytes of ROOT/blocks.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "framework/block_file.hpp"

namespace tavelin {

inline constexpr const char* kLibraryFolderName = "library";
// The kind folder of blocks that do not say what they are.
inline constexpr const char* kOtherKindFolder = "その他";

// ROOT/library.
std::filesystem::path PartLibraryFolder(const std::filesystem::path& root);

// The kind folder of a block with stored data `data`: the caption of the
// fitting's button, made safe as a file name; kOtherKindFolder when the data
// names no fitting.
std::string LibraryKindFolder(const BlockData& data);

struct LibrarySyncResult {
  int added = 0;    // blocks linked or copied into a kind folder
  int removed = 0;  // library files whose block is gone (or was replaced)
  // What could not be done, one line each (file and reason).
  std::vector<std::string> problems;
};

// Brings ROOT/library in step with ROOT/blocks: every block file appears once,
// in the folder of its kind, and every library file whose block is gone or
// holds other bytes is removed; every kind has its folder, empty or not.
// What the user put there is left alone: files not named ".dxf", folders, and
// drawings without Tavelin's data outside the "その他" folder (a block whose
// name such a file holds is reported in `problems`, not placed). Never
// throws; safe with other writers at once.
LibrarySyncResult SyncPartLibrary(const std::filesystem::path& root);

}  // namespace tavelin
