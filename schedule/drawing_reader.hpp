// What a drawing holds for a schedule of its fittings: every block it
// defines (its name, the block's own data when the CAD program kept the
// extended data, the blocks it places and its lines, arcs and circles for a
// picture) and the blocks placed in model space. Read with dxflib, the
// library the block builder writes with; ASCII DXF only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "framework/block_entities.hpp"
#include "framework/block_file.hpp"

namespace tavelin::schedule {

// One INSERT: the block it places and how many times (a placed array of
// columns by rows places the block columns × rows times).
struct Placement {
  std::string block;
  long long times = 1;
};

struct DrawingBlock {
  std::string name;
  // The block's data, from the first of its entities whose extended data
  // is the builder's; empty where the CAD program dropped it.
  BlockData data;
  std::vector<Placement> placements;
  // Lines, arcs and circles relative to the base point (at most
  // kMaxPictureEntities of them), for a picture of the block.
  std::vector<blockbuilder::Entity> entities;
};

struct Drawing {
  bool ok = false;
  std::string error;  // in words for the user, when !ok
  std::string version;  // "$ACADVER", "AC1009" ...
  // Keyed by the name in capitals: a DXF block name is matched without regard to case.
  std::map<std::string, DrawingBlock> blocks;
  std::vector<Placement> modelSpace;  // INSERTs of model space
  const DrawingBlock* Find(std::string_view name) const;
};

// Drawings larger than this are refused rather than read.
inline constexpr std::uintmax_t kMaxDrawingBytes = 256ull * 1024 * 1024;
inline constexpr size_t kMaxPictureEntities = 20000;

Drawing ReadDrawing(const std::filesystem::path& file,
                    std::uintmax_t maxBytes = kMaxDrawingBytes);
// The same from the bytes of a file.
Drawing ParseDrawing(std::string_view bytes);

// `name` with the ASCII letters in capitals.
std::string BlockKey(std::string_view name);

}  // namespace tavelin::schedule
