#include "attributes/line_type_dialog.hpp"

#include <vector>

#include "attributes/type_colour_check.hpp"
#include "framework/info_folder.hpp"

namespace tavelin {
namespace {

// "SenSyu.ini" is short; anything past this many lines is not a line type.
constexpr size_t kMaxStoredLines = 1000;

}  // namespace

LineTypeDialog::LineTypeDialog(ui::AppContext& app) : Dialog(app, "LineType") {
  SetMessageMap({
      {ui::EventKind::kClick, kSave, [this] { OnSave(); }},
  });
}

void LineTypeDialog::OnInitDialog() {
  std::vector<std::string> names = Info().ReadLines("SenSyu.ini", kNames);
  for (int n = 1; n <= kNames; ++n) SetItemText(kNameBase + n, names[n - 1]);
}

void LineTypeDialog::OnSave() {
  std::vector<std::string> lines;
  for (int n = 1; n <= kNames; ++n) lines.push_back(ItemText(kNameBase + n));
  for (int n = 1; n <= kNames; ++n) {
    if (lines[n - 1].empty()) {
      MessageBox(kBlankMessage, attributes::kCheckCaption);
      FocusItem(kNameBase + n);
      return;
    }
  }
  // A name is a field of "DakutoSet.ini" (split at "-") and of every drawing
  // record (split at ","): either character would split it and shift what follows.
  for (const std::string& name : lines) {
    if (name.find_first_of(",-") != std::string::npos) {
      MessageBox("線種名にカンマ（,）とハイフン（-）は使えません。", attributes::kCheckCaption);
      return;
    }
  }
  // The names of line types 10 and on are not shown here and stay as stored.
  std::vector<std::string> stored = Info().ReadToEnd("SenSyu.ini", kMaxStoredLines);
  for (size_t i = kNames; i < stored.size(); ++i) lines.push_back(stored[i]);
  Info().WriteLines("SenSyu.ini", lines);
  MessageBox(kSavedMessage, kSavedCaption);
}

}  // namespace tavelin
