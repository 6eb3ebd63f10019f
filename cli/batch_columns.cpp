#include "cli/batch_columns.hpp"

#include "framework/text.hpp"

namespace tavelin {
namespace {

std::string KindText(const ParamDecl& line) {
  switch (line.kind) {
    case ParamKind::kNumber:
      return "number";
    case ParamKind::kInteger:
      return "integer";
    case ParamKind::kFlag:
      return "1/0";
    case ParamKind::kText:
      return "text";
    case ParamKind::kSize:
      return "size (600 or 600x150)";
    case ParamKind::kChoice: {
      std::string values;
      for (const ChoiceValue& value : line.values) {
        values += (values.empty() ? "" : ", ") + std::string(value.text);
        if (!value.meaning.empty()) values += " " + std::string(value.meaning);
      }
      return values;
    }
  }
  return {};
}

// The generator's own message where it has one, else the limits.
std::string RangeText(const ParamDecl& line) {
  if (!line.rangeMessage.empty()) return std::string(line.rangeMessage);
  const bool low = line.min != -kNoLimit, high = line.max != kNoLimit;
  if (!low && !high) return {};
  auto number = [](double value) { return FormatD(static_cast<int>(value)); };
  if (low && high) return number(line.min) + " to " + number(line.max);
  return low ? "from " + number(line.min) : "up to " + number(line.max);
}

// A cell of a Markdown table: "|" would end it.
std::string Cell(std::string_view text) {
  std::string cell;
  for (char c : text) cell += c == '|' ? std::string("\\|") : std::string(1, c);
  return cell;
}

}  // namespace

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// A line number column: "1" to "100".
int LineNumberOf(std::string_view header) {
  if (header.empty() || header.size() > 3) return 0;
  for (char c : header) {
    if (c < '0' || c > '9') return 0;
  }
  const int n = ToInt(header);
  return n >= 1 && n <= kMaxLineNumber ? n : 0;
}

BatchTarget TargetOfStem(std::string_view stem) {
  BatchTarget target;
  const std::string_view className = ClassForStem(stem);
  if (!className.empty()) {
    for (const DialogEntry& entry : DialogTable()) {
      if (entry.className == className) target.entry = &entry;
    }
    if (target.entry && target.entry->declarations) {
      target.decl = DeclarationOfFile(std::string(target.entry->stem) + ".ini");
    }
    return target;
  }
  // A dialog that is no generator, by the file it declares.
  const DialogEntry* writer = nullptr;
  const SettingsDeclaration* decl = DeclarationOfFile(std::string(stem) + ".ini", &writer);
  if (decl && writer && writer->stem.empty()) {
    target.entry = writer;
    target.decl = decl;
  }
  return target;
}

std::vector<int> ColumnLines(const BatchTarget& target, std::string_view header) {
  std::vector<int> lines;
  if (const int n = LineNumberOf(header)) {
    if (!target.decl || static_cast<size_t>(n) <= target.decl->LineCount()) lines.push_back(n);
    return lines;
  }
  if (!target.decl) return lines;
  const int at = target.decl->LineOf(header);
  if (at < 0) return lines;
  lines.push_back(at + 1);
  if (target.entry && target.entry->stem == "Erbo" && EqualsIgnoreCase(header, "R")) {
    if (const int r2 = target.decl->LineOf("R2"); r2 >= 0) lines.push_back(r2 + 1);
  }
  return lines;
}

std::string ColumnTablesMarkdown() {
  std::string text;
  for (const DialogEntry& entry : DialogTable()) {
    if (!entry.declarations) continue;
    for (const SettingsDeclaration* decl : entry.declarations()) {
      std::string file(decl->file);
      const std::string stem =
          entry.stem.empty() ? file.substr(0, file.rfind('.')) : std::string(entry.stem);
      text += "### " + stem + " (" + std::string(entry.caption) + "), \"" + file + "\"\n\n";
      text += "| Line | Column | Label | Unit | Values | Range | Required |\n";
      text += "|---|---|---|---|---|---|---|\n";
      for (size_t i = 0; i < decl->lines.size(); ++i) {
        const ParamDecl& line = decl->lines[i];
        text += "| " + std::to_string(i + 1) + " | " + Cell(line.column) + " | " +
                Cell(line.label) + " | " + Cell(line.unit) + " | " + Cell(KindText(line)) + " | " +
                Cell(RangeText(line)) + " | " + (line.required ? "yes" : "") + " |\n";
      }
      text += "\n";
    }
  }
  return text;
}

}  // namespace tavelin
