// The symbol tables of a block: every layer and line type that its entities
// use, and the attributes each entity finally carries.
//
// With "ByLayer.ini" "1" a layer takes the colour and line type of the first
// entity drawn on it, and every entity that matches its layer says BYLAYER;
// an entity that differs from its layer (the hidden line of an attribute set
// that puts every element on one layer) keeps its own colour or line type, so
// it is never drawn wrongly. With "0" every entity carries its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/block_entities.hpp"
#include "framework/block_file.hpp"

namespace tavelin::blockbuilder {

inline constexpr int kByLayerColour = 256;
inline constexpr const char* kByLayer = "ByLayer";
inline constexpr const char* kByBlock = "ByBlock";
inline constexpr const char* kContinuous = "Continuous";

struct LayerEntry {
  std::string name;
  int colour = 7;
  std::string lineType = kContinuous;
};

struct LineTypeEntry {
  std::string name;
  std::vector<double> pattern;  // empty: a continuous line
  std::string description;
};

struct PlacedEntity {
  EntityKind kind = EntityKind::kLine;
  double v[5] = {0, 0, 0, 0, 0};
  std::string layer;
  int colour = kByLayerColour;      // 1 to 255, or BYLAYER
  std::string lineType = kByLayer;  // a table name, ByLayer or ByBlock
};

struct Tables {
  std::vector<LayerEntry> layers;        // layer "0" first
  std::vector<LineTypeEntry> lineTypes;  // besides ByBlock, ByLayer and Continuous
  std::vector<PlacedEntity> entities;
  // What the block says about itself (written on its first entity); absent
  // when the dialog that drew it is not known.
  BlockData data;
};

// A layer or line type name a CAD program accepts: characters it refuses in
// names (< > / \ " : ; ? * | = ` and control characters) and characters that
// could not be read from the hand-off file become "_".
std::string SymbolName(std::string_view name);

// Names are compared without regard to case, as CAD programs do; the first
// spelling met is the one written. Substitutions are logged once per name.
Tables ResolveTables(const std::vector<Entity>& entities, bool byLayer, BuildLog& log);

}  // namespace tavelin::blockbuilder
