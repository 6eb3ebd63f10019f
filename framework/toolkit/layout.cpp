#include "framework/toolkit/layout.hpp"

#include <map>
#include <mutex>
#include <stdexcept>

#include "framework/text.hpp"
#include "resources/resources.hpp"

namespace tavelin::ui {
namespace {

constexpr int kBaseUnitX = 7;
constexpr int kBaseUnitY = 14;

// Splits a layout line into words; quoted words keep their spaces.
std::vector<std::string> Words(std::string_view line, int lineNumber) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    std::string word;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < line.size()) {
          char e = line[i++];
          word += e == 'n' ? '\n' : e;
        } else {
          word += c;
        }
      }
      if (!closed) throw std::runtime_error("layout line " + std::to_string(lineNumber) + ": unclosed quote");
      words.push_back("\x01" + word);  // marks a quoted word
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
      words.push_back(word);
    }
  }
  return words;
}

std::string Unquote(const std::string& word) {
  return !word.empty() && word[0] == '\x01' ? word.substr(1) : word;
}

Rgb ParseRgb(std::string_view text) {
  auto parts = Split(text, ',');
  auto part = [&](size_t i) { return static_cast<std::uint8_t>(i < parts.size() ? ToInt(parts[i]) : 0); };
  return {part(0), part(1), part(2)};
}

ControlKind ParseKind(const std::string& kind, int lineNumber) {
  static const std::map<std::string, ControlKind> kKinds = {
      {"edit", ControlKind::kEdit},         {"button", ControlKind::kPushButton},
      {"radio", ControlKind::kRadioButton}, {"check", ControlKind::kCheckBox},
      {"combo", ControlKind::kComboBox},    {"combo-edit", ControlKind::kComboEdit},
      {"list", ControlKind::kListBox},      {"static", ControlKind::kStatic},
      {"group", ControlKind::kGroupBox},
  };
  auto it = kKinds.find(kind);
  if (it == kKinds.end()) throw std::runtime_error("layout line " + std::to_string(lineNumber) + ": unknown kind " + kind);
  return it->second;
}

// A position or size in dialog units; far beyond any screen is a mistake.
int Units(const std::string& word, int lineNumber) {
  constexpr int kMaxUnits = 10000;
  const int units = ToInt(word);
  if (units < -kMaxUnits || units > kMaxUnits) {
    throw std::runtime_error("layout line " + std::to_string(lineNumber) + ": " + word +
                             " is beyond " + std::to_string(kMaxUnits) + " dialog units");
  }
  return units;
}

}  // namespace

int DialogUnitsToPixelsX(int units) { return (units * kBaseUnitX + 2) / 4; }
int DialogUnitsToPixelsY(int units) { return (units * kBaseUnitY + 4) / 8; }

Layout ParseLayout(std::string_view text) {
  Layout layout;
  int lineNumber = 0;
  for (const std::string& raw : Split(text, '\n')) {
    ++lineNumber;
    auto words = Words(raw, lineNumber);
    if (words.empty() || words[0][0] == '#') continue;
    if (words[0] == "dialog") {
      if (words.size() < 4) throw std::runtime_error("layout line " + std::to_string(lineNumber) + ": dialog needs caption, width, height");
      layout.caption = Unquote(words[1]);
      layout.width = DialogUnitsToPixelsX(Units(words[2], lineNumber));
      layout.height = DialogUnitsToPixelsY(Units(words[3], lineNumber));
      for (size_t i = 4; i + 1 < words.size(); i += 2) {
        if (words[i] == "font") layout.font = Unquote(words[i + 1]);
        if (words[i] == "size") layout.pointSize = ToInt(words[i + 1]);
      }
      continue;
    }
    if (words.size() < 7) throw std::runtime_error("layout line " + std::to_string(lineNumber) + ": a control needs ID KIND X Y W H \"TEXT\"");
    ControlDefinition definition;
    definition.id = ToInt(words[0]);
    definition.kind = ParseKind(words[1], lineNumber);
    const int x = Units(words[2], lineNumber), y = Units(words[3], lineNumber);
    const int w = Units(words[4], lineNumber), h = Units(words[5], lineNumber);
    definition.rect = {DialogUnitsToPixelsX(x), DialogUnitsToPixelsY(y), DialogUnitsToPixelsX(x + w),
                 DialogUnitsToPixelsY(y + h)};
    definition.text = Unquote(words[6]);
    for (size_t i = 7; i < words.size(); ++i) {
      const std::string& flag = words[i];
      if (flag == "hidden") definition.visible = false;
      else if (flag == "disabled") definition.enabled = false;
      else if (flag == "group") definition.groupStart = true;
      else if (flag == "pushlike") definition.pushLike = true;
      else if (flag == "default") definition.defaultButton = true;
      else if (flag == "sunken") definition.sunken = true;
      else if (flag == "readonly") definition.readOnly = true;
      else if (flag == "multiline") definition.multiline = true;
      else if (flag == "table") definition.table = true;
      else if (flag == "centre") definition.align = TextAlign::kCentre;
      else if (flag == "right") definition.align = TextAlign::kRight;
      else if (flag == "status") {
        definition.textColour = Rgb{50, 50, 255};
        definition.background = Rgb{192, 192, 192};
      } else if (flag == "red") {
        definition.textColour = Rgb{225, 0, 0};
        definition.background = Rgb{192, 192, 192};
      } else if (flag.rfind("textcolour=", 0) == 0) definition.textColour = ParseRgb(flag.substr(11));
      else if (flag.rfind("background=", 0) == 0) definition.background = ParseRgb(flag.substr(11));
      else throw std::runtime_error("layout line " + std::to_string(lineNumber) + ": unknown flag " + flag);
    }
    layout.controls.push_back(std::move(definition));
  }
  return layout;
}

const Layout& LoadLayout(std::string_view name) {
  static std::mutex mutex;
  static std::map<std::string, Layout, std::less<>> cache;
  std::lock_guard lock(mutex);
  if (auto it = cache.find(name); it != cache.end()) return it->second;
  std::string_view text = resources::Find("layouts/" + std::string(name) + ".dlg");
  if (text.empty()) throw std::runtime_error("no dialog layout " + std::string(name));
  return cache.emplace(std::string(name), ParseLayout(text)).first->second;
}

}  // namespace tavelin::ui
