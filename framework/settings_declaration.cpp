#include "framework/settings_declaration.hpp"

#include "framework/design_rules.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// "-12", "+3.5", ".5", "600.", "1e3": a whole cell that is one number.
bool IsNumberText(std::string_view text, bool integer) {
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
  if (integer) return AllDigits(text);
  const size_t e = text.find_first_of("eE");
  std::string_view mantissa = text.substr(0, e);
  if (e != std::string_view::npos) {
    std::string_view exponent = text.substr(e + 1);
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) exponent.remove_prefix(1);
    if (!AllDigits(exponent)) return false;
  }
  const size_t dot = mantissa.find('.');
  if (dot == std::string_view::npos) return AllDigits(mantissa);
  std::string_view whole = mantissa.substr(0, dot);
  std::string_view fraction = mantissa.substr(dot + 1);
  if (whole.empty() && fraction.empty()) return false;
  return (whole.empty() || AllDigits(whole)) && (fraction.empty() || AllDigits(fraction));
}

std::string Quoted(std::string_view text) { return "「" + std::string(text) + "」"; }

std::string Refusal(const ParamDecl& decl, std::string_view cell, std::string_view why) {
  return std::string(decl.column) + ": " + Quoted(cell) + std::string(why);
}

}  // namespace

int SettingsDeclaration::LineOf(std::string_view column) const {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (EqualsIgnoreCase(lines[i].column, column)) return static_cast<int>(i);
  }
  return -1;
}

namespace {

// Why the leading number of `cell` is outside the declared range; "" inside.
std::string RangeRefusal(const ParamDecl& decl, std::string_view cell) {
  const double value = ToDouble(cell);
  if (std::isfinite(value) && value >= decl.min && value <= decl.max) return {};
  return decl.rangeMessage.empty()
             ? Refusal(decl, cell, "は範囲外です")
             : std::string(decl.column) + ": " + std::string(decl.rangeMessage);
}

}  // namespace

ParsedValue ParseDeclaredValue(const ParamDecl& decl, std::string_view cell) {
  ParsedValue parsed;
  if (cell.find_first_of("\r\n") != std::string_view::npos) {
    parsed.error = Refusal(decl, cell, "は改行を含んでいます");
    return parsed;
  }
  if (cell.empty()) {
    if (decl.required) parsed.error = std::string(decl.column) + ": 値が空です";
    return parsed;
  }
  switch (decl.kind) {
    case ParamKind::kNumber:
    case ParamKind::kInteger: {
      const bool integer = decl.kind == ParamKind::kInteger;
      if (!IsNumberText(cell, integer)) {
        parsed.error =
            Refusal(decl, cell, integer ? "は整数ではありません" : "は数値ではありません");
        return parsed;
      }
      parsed.error = RangeRefusal(decl, cell);
      if (parsed.Ok()) parsed.text = std::string(cell);
      return parsed;
    }
    case ParamKind::kSize:
      if (!IsNumberText(cell, false) && !ParseDuctSection(cell)) {
        parsed.error = Refusal(decl, cell, "は寸法（600 や 600x150）ではありません");
        return parsed;
      }
      parsed.error = RangeRefusal(decl, cell);
      if (parsed.Ok()) parsed.text = std::string(cell);
      return parsed;
    case ParamKind::kChoice:
      for (const ChoiceValue& value : decl.values) {
        if (cell == value.text || (!value.meaning.empty() && cell == value.meaning)) {
          parsed.text = std::string(value.text);
          return parsed;
        }
      }
      {
        std::string allowed;
        for (const ChoiceValue& value : decl.values) {
          allowed += (allowed.empty() ? "" : "・") + std::string(value.text);
        }
        parsed.error = Refusal(decl, cell, "は " + allowed + " のどれでもありません");
      }
      return parsed;
    case ParamKind::kFlag:
      if (cell != "0" && cell != "1") {
        parsed.error = Refusal(decl, cell, "は 1 か 0 ではありません");
        return parsed;
      }
      parsed.text = std::string(cell);
      return parsed;
    case ParamKind::kText:
      parsed.text = std::string(cell);
      return parsed;
  }
  return parsed;
}

std::string RefusedSettings(const SettingsDeclaration& decl, const std::vector<std::string>& lines,
                            size_t maxBytes) {
  if (lines.size() > decl.lines.size()) {
    return std::string(decl.file) + " の行数 " + std::to_string(lines.size()) + " は " +
           std::to_string(decl.lines.size()) + " 行を超えています";
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].size() > maxBytes) {
      return std::string(decl.file) + " の " + std::to_string(i + 1) + " 行目が長すぎます";
    }
    if (lines[i].empty()) continue;
    ParsedValue parsed = ParseDeclaredValue(decl.lines[i], lines[i]);
    if (!parsed.Ok()) return std::string(decl.file) + " " + parsed.error;
  }
  return {};
}

std::string DescribeTypedValues(const SettingsDeclaration& decl,
                                const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < decl.lines.size() && i < lines.size(); ++i) {
    const ParamDecl& line = decl.lines[i];
    if (!line.described || lines[i].empty()) continue;
    std::string value = lines[i];
    if (line.kind == ParamKind::kChoice) {
      for (const ChoiceValue& choice : line.values) {
        if (choice.text == value && !choice.meaning.empty()) value = std::string(choice.meaning);
      }
    }
    if (line.unit == "°") value += "°";
    text += (text.empty() ? "" : " ") + std::string(line.column) + "=" + value;
  }
  return text;
}

std::vector<std::string> DeclaredLines(const SettingsDeclaration& decl,
                                       const DeclaredControls& controls) {
  std::vector<std::string> lines;
  lines.reserve(decl.lines.size());
  for (const ParamDecl& line : decl.lines) {
    switch (line.kind) {
      case ParamKind::kChoice: {
        std::string text(line.noneText);
        for (const ChoiceValue& value : line.values) {
          if (value.control != 0 && controls.checked(value.control)) {
            text = std::string(value.text);
            break;
          }
        }
        lines.push_back(std::move(text));
        break;
      }
      case ParamKind::kFlag:
        lines.push_back(line.control == 0                ? std::string()
                        : controls.checked(line.control) ? "1"
                                                         : "0");
        break;
      default:
        lines.push_back(line.control == 0 ? std::string() : controls.text(line.control));
        break;
    }
  }
  return lines;
}

void ApplyDeclaredLines(const SettingsDeclaration& decl, const std::vector<std::string>& lines,
                        const DeclaredControls& controls) {
  for (size_t i = 0; i < decl.lines.size() && i < lines.size(); ++i) {
    const ParamDecl& line = decl.lines[i];
    const std::string& text = lines[i];
    switch (line.kind) {
      case ParamKind::kChoice:
        if (line.apply == ApplyRule::kExact) {
          for (const ChoiceValue& value : line.values) {
            if (value.control != 0) controls.setChecked(value.control, text == value.text);
          }
        } else {
          for (const ChoiceValue& value : line.values) {
            if (value.control != 0 && text == value.text) {
              controls.checkRadio(value.control);
              break;
            }
          }
        }
        break;
      case ParamKind::kFlag:
        if (line.control == 0) break;
        if (line.apply == ApplyRule::kExact) {
          controls.setChecked(line.control, text == "1");
        } else if (text == "1" || text == "0") {
          controls.setChecked(line.control, text == "1");
        }
        break;
      default:
        if (line.control != 0) controls.setText(line.control, text);
        break;
    }
  }
}

}  // namespace tavelin
