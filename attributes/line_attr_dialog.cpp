#include "attributes/line_attr_dialog.hpp"

#include <vector>

#include "attributes/type_colour_check.hpp"
#include "framework/info_folder.hpp"

namespace tavelin {

LineAttrDialog::LineAttrDialog(ui::AppContext& app) : Dialog(app, "LineAttr") {}

void LineAttrDialog::OnInitDialog() {
  const InfoFolder& info = Info();
  std::vector<std::string> names = info.ReadLines("SenSyu.ini", attributes::kLineTypeCount);
  for (int n = 1; n <= attributes::kLineTypeCount; ++n) {
    SetItemText(kLineTypeNameBase + n, names[n - 1]);
  }
  std::vector<std::string> pipes = info.ReadLines("HaikanName.ini", kRows);
  for (int r = 1; r <= kRows; ++r) SetItemText(kPipeNameBase + r, pipes[r - 1]);

  std::vector<std::string> lines = info.ReadLines("HaikanSet.ini", kRows);
  for (int r = 1; r <= kRows; ++r) {
    attributes::AttributeEntry entry = attributes::SplitAttributeLine(lines[r - 1]);
    SetItemText(kLayerBase + r, entry.layer);
    SetItemText(kTypeColourBase + r, entry.typeColour);
  }
  loaded_ = true;
}

void LineAttrDialog::SaveAndClose() {
  // A dialog whose files could not all be read shows blanks instead of the
  // stored settings; writing them back would wipe "HaikanSet.ini".
  if (!loaded_ || Save()) EndDialog(ui::kIdCancel);
}

bool LineAttrDialog::Save() {
  std::vector<attributes::AttributeEntry> entries;
  std::vector<std::string> lines;
  for (int r = 1; r <= kRows; ++r) {
    attributes::AttributeEntry entry{ItemText(kLayerBase + r), ItemText(kTypeColourBase + r)};
    lines.push_back(attributes::JoinAttributeLine(entry));
    entries.push_back(std::move(entry));
  }
  if (auto refusal = attributes::FindRefusal(entries)) {
    MessageBox(refusal->message, attributes::kCheckCaption);
    const int r = static_cast<int>(refusal->entry) + 1;
    FocusItem(refusal->layer ? kLayerBase + r : kTypeColourBase + r);
    return false;
  }
  Info().WriteLines("HaikanSet.ini", lines);
  return true;
}

}  // namespace tavelin
