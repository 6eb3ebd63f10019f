#include "blockbuilder/tables.hpp"

#include <map>
#include <set>

#include "blockbuilder/line_types.hpp"

namespace tavelin::blockbuilder {
namespace {

std::string Key(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

class Resolver {
 public:
  Resolver(bool byLayer, BuildLog& log) : byLayer_(byLayer), log_(log) {
    tables_.layers.push_back({"0", 7, kContinuous});
    layerIndex_["0"] = 0;
  }

  void Place(const Entity& entity) {
    const std::string lineType = LineTypeName(entity.attributes.lineType);
    const size_t layer = LayerFor(entity.attributes.layer, entity.attributes.colour, lineType);
    const LayerEntry& entry = tables_.layers[layer];
    PlacedEntity placed;
    placed.kind = entity.kind;
    for (int i = 0; i < 5; ++i) placed.v[i] = entity.v[i];
    placed.layer = entry.name;
    const bool sameColour = entity.attributes.colour == entry.colour;
    const bool sameLineType = Key(lineType) == Key(entry.lineType) || lineType == kByLayer;
    placed.colour = byLayer_ && sameColour ? kByLayerColour : entity.attributes.colour;
    placed.lineType = byLayer_ && sameLineType ? std::string(kByLayer) : lineType;
    tables_.entities.push_back(std::move(placed));
  }

  Tables Take() { return std::move(tables_); }

 private:
  void LogOnce(const std::string& key, const std::string& message) {
    if (logged_.insert(key).second) log_.Add(message);
  }

  // The table name of a record's line type, adding a table entry when needed.
  std::string LineTypeName(const std::string& given) {
    if (given.empty()) {
      LogOnce("lt:", "線種名が空の記録は実線(Continuous)で作図しました");
      return kContinuous;
    }
    const std::string key = Key(given);
    if (key == "continuous") return kContinuous;
    if (key == "bylayer") return kByLayer;
    if (key == "byblock") return kByBlock;
    if (auto found = lineTypeIndex_.find(key); found != lineTypeIndex_.end()) {
      return tables_.lineTypes[found->second].name;
    }
    LineTypeEntry entry;
    if (auto pattern = StandardPattern(given)) {
      entry.name = key;
      for (char& c : entry.name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
      entry.pattern = *pattern;
      entry.description = PatternSketch(entry.pattern);
    } else {
      entry.name = SymbolName(given);
      entry.description = PatternSketch({});
      LogOnce("lt:" + key,
              "線種 " + Quote(given) + " は定義が分からないため実線として定義しました");
      if (entry.name != given) {
        LogOnce("ltn:" + key, "線種名 " + Quote(given) + " に使えない文字があるため " +
                                  Quote(entry.name) + " にしました");
      }
      // Two names may become one after the substitution.
      const std::string cleanKey = Key(entry.name);
      if (auto found = lineTypeIndex_.find(cleanKey); found != lineTypeIndex_.end()) {
        lineTypeIndex_[key] = found->second;
        return tables_.lineTypes[found->second].name;
      }
      if (cleanKey == "continuous" || cleanKey == "bylayer" || cleanKey == "byblock") {
        return cleanKey == "continuous" ? kContinuous : cleanKey == "bylayer" ? kByLayer : kByBlock;
      }
      lineTypeIndex_[cleanKey] = tables_.lineTypes.size();
    }
    lineTypeIndex_[key] = tables_.lineTypes.size();
    tables_.lineTypes.push_back(std::move(entry));
    return tables_.lineTypes.back().name;
  }

  size_t LayerFor(const std::string& given, int colour, const std::string& lineType) {
    std::string name = given;
    if (name.empty()) {
      LogOnce("la:", "画層名が空の記録は画層 0 に作図しました");
      name = "0";
    }
    const std::string key = Key(name);
    if (auto found = layerIndex_.find(key); found != layerIndex_.end())
      return Claim(found->second, colour, lineType);
    std::string clean = SymbolName(name);
    if (clean != name) {
      LogOnce("la:" + key, "画層名 " + Quote(name) + " に使えない文字があるため " + Quote(clean) +
                               " にしました");
    }
    const std::string cleanKey = Key(clean);
    if (auto found = layerIndex_.find(cleanKey); found != layerIndex_.end()) {
      layerIndex_[key] = found->second;
      return Claim(found->second, colour, lineType);
    }
    const size_t index = tables_.layers.size();
    tables_.layers.push_back({clean, colour, LayerLineType(lineType)});
    claimed_.insert(index);
    layerIndex_[key] = layerIndex_[cleanKey] = index;
    return index;
  }

  // The first entity on a layer gives it its colour and line type.
  size_t Claim(size_t index, int colour, const std::string& lineType) {
    if (claimed_.insert(index).second) {
      tables_.layers[index].colour = colour;
      tables_.layers[index].lineType = LayerLineType(lineType);
    }
    return index;
  }

  static std::string LayerLineType(const std::string& lineType) {
    return lineType == kByLayer || lineType == kByBlock ? std::string(kContinuous) : lineType;
  }

  bool byLayer_;
  BuildLog& log_;
  Tables tables_;
  std::map<std::string, size_t> layerIndex_;
  std::map<std::string, size_t> lineTypeIndex_;
  std::set<size_t> claimed_;
  std::set<std::string> logged_;
};

}  // namespace

std::string SymbolName(std::string_view name) {
  constexpr std::string_view kUnreadable = "\xEF\xBF\xBD";  // U+FFFD, bytes that were not CP932
  std::string clean;
  clean.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    if (name.substr(i, kUnreadable.size()) == kUnreadable) {
      // It would reach the file as "?", which no name may hold.
      clean += '_';
      i += kUnreadable.size() - 1;
      continue;
    }
    const char c = name[i];
    const unsigned char u = static_cast<unsigned char>(c);
    const bool refused = u < 0x20 || u == 0x7F ||
                         std::string_view("<>/\\\":;?*|=`").find(c) != std::string_view::npos;
    clean += refused ? '_' : c;
  }
  return clean;
}

Tables ResolveTables(const std::vector<Entity>& entities, bool byLayer, BuildLog& log) {
  Resolver resolver(byLayer, log);
  for (const Entity& entity : entities) resolver.Place(entity);
  return resolver.Take();
}

}  // namespace tavelin::blockbuilder
