// A generator's settings file, declared once: for each of its lines the column
// name the batch uses, the label the dialog shows, the unit, the kind of value,
// the control it fills, the valid range and whether the block's description
// names it. Every consumer reads this one declaration: the dialog's skeleton
// reads and writes the settings file with it, the batch takes its columns and
// its strict parsing from it, the block's description lists the typed
// dimensions from it, and the batch documentation's tables are produced from it.
#pragma once

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin {

enum class ParamKind {
  kNumber,   // a decimal number, as typed ("600", "12.5")
  kInteger,  // a whole number
  kChoice,   // one of a radio group's values
  kFlag,     // a check box: "1" or "0"
  kText,     // any one-line text (a list entry, a catalogue size such as "#25")
  kSize,     // a width, or a duct section typed as width × height ("600x150")
};

// How a stored line sets its control when the dialog opens.
enum class ApplyRule {
  // A text that is none of the declared values leaves the control as it is
  // (a check box takes only "1" and "0"; a radio group only its values).
  kLenient,
  // Each radio, or the check box, is on exactly when the line holds its
  // value: any other text clears them all.
  kExact,
};

// One value of a choice: the text stored in the settings line, the radio that
// stands for it and what it means.
struct ChoiceValue {
  std::string_view text = "";
  int control = 0;
  std::string_view meaning = "";
};

inline constexpr double kNoLimit = HUGE_VAL;

struct ParamDecl {
  std::string_view column = "";  // the batch column, matched without regard to case: "W1"
  std::string_view label = "";   // as the dialog shows it: "元管巾"
  std::string_view unit = "";    // "mm", "°" or empty
  ParamKind kind = ParamKind::kNumber;
  // The edit (number, integer, text) or check box (flag) the line fills; 0
  // for a choice (its radios are in `values`) or a line the unit handles itself.
  int control = 0;
  std::vector<ChoiceValue> values = {};  // a choice's values, in radio order
  // What a choice writes when none of its radios is checked.
  std::string_view noneText = "";
  ApplyRule apply = ApplyRule::kLenient;
  // The valid range of a number, with the message the dialog gives outside it.
  double min = -kNoLimit;
  double max = kNoLimit;
  std::string_view rangeMessage = "";
  // Named in the block's description ("W1=600").
  bool described = false;
  // A batch row must give a value (an empty cell is refused).
  bool required = false;
};

// Shorthands for the plain lines: a number in an edit, a check box.
enum LineMarks : unsigned { kDescribed = 1, kRequired = 2 };
inline ParamDecl NumberLine(std::string_view column, std::string_view label, std::string_view unit,
                            int control, unsigned marks = 0) {
  return {.column = column,
          .label = label,
          .unit = unit,
          .control = control,
          .described = (marks & kDescribed) != 0,
          .required = (marks & kRequired) != 0};
}
inline ParamDecl FlagLine(std::string_view column, std::string_view label, int control,
                          ApplyRule apply = ApplyRule::kLenient) {
  return {.column = column,
          .label = label,
          .kind = ParamKind::kFlag,
          .control = control,
          .apply = apply};
}

struct SettingsDeclaration {
  std::string_view file = "";  // "Erbo.ini"
  std::vector<ParamDecl> lines = {};
  // How a file shorter than the declaration is read: false leaves the
  // controls of its missing lines as they are; true reads them as empty.
  bool padShortFile = false;

  size_t LineCount() const { return lines.size(); }
  // The line index of a column (matched without regard to case), or -1.
  int LineOf(std::string_view column) const;
};

// The stored text for a value typed in a batch cell or restored from a block,
// or why it is refused ("W1: 「1,200」は数値ではありません").
struct ParsedValue {
  std::string text;
  std::string error;  // empty when accepted
  bool Ok() const { return error.empty(); }
};
// Strict: a number is the whole cell ("1,200" and "4OO" are refused), finite,
// within the declared range; a choice one of its values (its text, or its
// meaning); a flag "0" or "1"; no text holds a line end. An empty cell is
// refused when the line is required, else stored empty.
ParsedValue ParseDeclaredValue(const ParamDecl& decl, std::string_view cell);

// Refuses settings lines that do not fit the declaration: more lines than
// declared, a line over `maxBytes` bytes, a line end inside a line, or a
// value the declaration refuses (an empty line is accepted: the dialogs
// store empty lines for cleared radio groups and fields). Empty when they fit.
std::string RefusedSettings(const SettingsDeclaration& decl, const std::vector<std::string>& lines,
                            size_t maxBytes = 255);

// "W1=600 R=300 W2=600 A=90°": the described lines of `lines`, in file order,
// leaving out empty values.
std::string DescribeTypedValues(const SettingsDeclaration& decl,
                                const std::vector<std::string>& lines);

// What a declaration needs of a dialog to read and write its controls.
struct DeclaredControls {
  std::function<std::string(int)> text;
  std::function<void(int, std::string)> setText;
  std::function<bool(int)> checked;
  std::function<void(int, bool)> setChecked;
  // Checks a radio and clears the others of its group.
  std::function<void(int)> checkRadio;
};

// The settings lines of the controls as they stand; lines of no control
// (control 0, not a choice) come back empty for the unit to fill.
std::vector<std::string> DeclaredLines(const SettingsDeclaration& decl,
                                       const DeclaredControls& controls);
// Sets the controls from `lines` (a shorter list leaves the rest alone).
void ApplyDeclaredLines(const SettingsDeclaration& decl, const std::vector<std::string>& lines,
                        const DeclaredControls& controls);

}  // namespace tavelin
