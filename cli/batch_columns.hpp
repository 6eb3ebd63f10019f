// The batch's columns: which settings file a row's stem names, and which of
// its lines a column header names, as the generators (and the pipe part
// menu) declare them; the tables of the batch documentation come from the
// same declarations.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/dialog_registry.hpp"
#include "framework/settings_declaration.hpp"

namespace tavelin {

// Settings files hold a few dozen lines; a larger line number is a mistake.
inline constexpr int kMaxLineNumber = 100;

// The damper's types: the value of its "type" column, the type file.
struct DamperType {
  std::string_view name;
  std::string_view file;
};
inline constexpr DamperType kDamperTypes[] = {
    {"VD", "Danpa_VD.ini"}, {"MD", "Danpa_MD.ini"},  {"CD", "Danpa_CD.ini"},
    {"FD", "Danpa_FD.ini"}, {"FD+", "Danpa_FT.ini"},
};

std::string Lower(std::string_view text);

// A line number column: "1" to "100".
int LineNumberOf(std::string_view header);

// What a row's stem names: the dialog, and the declaration of the settings
// file its values go to (null for a generator that declares none: its
// columns are line numbers only). A generator's stem is its settings-file
// stem ("Erbo"); a dialog that is no generator is named by the stem of the
// file it declares ("BuzaiSentaku" for the pipe part menu).
struct BatchTarget {
  const DialogEntry* entry = nullptr;
  const SettingsDeclaration* decl = nullptr;
};
BatchTarget TargetOfStem(std::string_view stem);

// The 1-based settings lines a column header names for `decl` (or, without
// one, only line numbers up to kMaxLineNumber): a declared column, or a line
// number within the declared lines. Empty when the generator has no such
// column. The elbow's "R" also sets R' (line 4), as typing in the dialog
// keeps them equal.
std::vector<int> ColumnLines(const BatchTarget& target, std::string_view header);

// The Markdown tables of every declared settings file, one section a file:
// line, column, label, unit, kind and values, required; the column tables of
// docs/batch.md are this text.
std::string ColumnTablesMarkdown();

}  // namespace tavelin
