#include "attributes/type_colour_check.hpp"

#include "framework/text.hpp"

namespace tavelin::attributes {

TypeColour ReadTypeColour(std::string_view text) {
  return {ToInt(Token(text, 1)), ToInt(Token(text, 2))};
}

TypeColourFaults CheckTypeColour(std::string_view text) {
  TypeColour value = ReadTypeColour(text);
  TypeColourFaults faults;
  faults.typeZero = value.type == 0;
  faults.typeOver = value.type > kLineTypeCount;
  faults.colourZero = value.colour == 0;
  faults.colourOver = value.colour > kMaxColour;
  return faults;
}

std::string MessageOf(TypeColourCode code) {
  switch (code) {
    case TypeColourCode::kNone:
      return {};
    case TypeColourCode::kTypeZero:
      return kTypeZeroMessage;
    case TypeColourCode::kTypeOver:
      return kTypeOverMessage;
    case TypeColourCode::kColourZero:
      return kColourZeroMessage;
    case TypeColourCode::kColourOver:
      return kColourOverMessage;
  }
  return {};
}

TypeColourCode LastFailingCheck(const std::vector<std::string>& typeColours) {
  TypeColourCode code = TypeColourCode::kNone;
  for (const std::string& text : typeColours) {
    TypeColourFaults faults = CheckTypeColour(text);
    if (faults.typeZero) code = TypeColourCode::kTypeZero;
    if (faults.typeOver) code = TypeColourCode::kTypeOver;
    if (faults.colourZero) code = TypeColourCode::kColourZero;
    if (faults.colourOver) code = TypeColourCode::kColourOver;
  }
  return code;
}

bool IsRefusedLayerName(std::string_view layer) {
  return layer.find_first_of("-.,") != std::string_view::npos;
}

bool AnyRefusedLayerName(const std::vector<std::string>& layers) {
  for (const std::string& layer : layers) {
    if (IsRefusedLayerName(layer)) return true;
  }
  return false;
}

AttributeEntry SplitAttributeLine(std::string_view line) {
  AfterDash after = TextAfterFirstDash(line);
  return {Token(line, 1), after.found ? after.rest : std::string(kMissingTypeColour)};
}

std::string JoinAttributeLine(const AttributeEntry& entry) {
  return entry.layer + "-" + entry.typeColour;
}

std::optional<Refusal> FindRefusal(const std::vector<AttributeEntry>& entries,
                                   bool refuseCommas) {
  std::vector<std::string> typeColours;
  for (const AttributeEntry& entry : entries) typeColours.push_back(entry.typeColour);
  if (TypeColourCode code = LastFailingCheck(typeColours); code != TypeColourCode::kNone) {
    size_t last = 0;
    for (size_t i = 0; i < typeColours.size(); ++i) {
      if (CheckTypeColour(typeColours[i]).Any()) last = i;
    }
    return Refusal{MessageOf(code), last, false};
  }
  if (refuseCommas) {
    for (size_t i = 0; i < typeColours.size(); ++i) {
      if (typeColours[i].find(',') != std::string::npos) {
        return Refusal{kTypeColourCommaMessage, i, false};
      }
    }
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    if (IsRefusedLayerName(entries[i].layer)) return Refusal{kLayerNameMessage, i, true};
  }
  return std::nullopt;
}

std::optional<std::string> RefusalOfEntries(const std::vector<AttributeEntry>& entries,
                                            bool refuseCommas) {
  if (std::optional<Refusal> refusal = FindRefusal(entries, refuseCommas)) return refusal->message;
  return std::nullopt;
}

}  // namespace tavelin::attributes
