#include "attributes/duct_attr_dialog.hpp"

#include <cmath>

#include <vector>

#include "attributes/type_colour_check.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr int kStoredLines = DuctAttrDialog::kSettings * DuctAttrDialog::kLineKinds;

// The common values in file order ("KyotuSet.ini" lines 1 to 4).
constexpr int kCommonIds[] = {DuctAttrDialog::kAngleWidth, DuctAttrDialog::kFlangeWidth,
                              DuctAttrDialog::kThirdValue, DuctAttrDialog::kHatchingWidth};

}  // namespace

DuctAttrDialog::DuctAttrDialog(ui::AppContext& app) : Dialog(app, "DuctAttr") {}

void DuctAttrDialog::OnInitDialog() {
  const InfoFolder& info = Info();
  std::vector<std::string> memos = info.ReadLines("Memo.ini", kSettings);
  for (int s = 1; s <= kSettings; ++s) SetItemText(kMemoBase + s, memos[s - 1]);

  std::vector<std::string> names = info.ReadLines("SenSyu.ini", attributes::kLineTypeCount);
  for (int n = 1; n <= attributes::kLineTypeCount; ++n) {
    SetItemText(kLineTypeNameBase + n, names[n - 1]);
  }

  // Line i belongs to setting i / 7 + 1 and line kind i % 7.
  std::vector<std::string> lines = info.ReadLines("DakutoSubSet.ini", kStoredLines);
  for (int i = 0; i < kStoredLines; ++i) {
    attributes::AttributeEntry entry = attributes::SplitAttributeLine(lines[i]);
    int setting = i / kLineKinds + 1;
    int kind = i % kLineKinds;
    SetItemText(LayerId(setting, kind), entry.layer);
    SetItemText(TypeColourId(setting, kind), entry.typeColour);
  }

  std::vector<std::string> common = info.ReadLines("KyotuSet.ini", 4);
  for (int i = 0; i < 4; ++i) SetItemText(kCommonIds[i], common[i]);
  loaded_ = true;
}

void DuctAttrDialog::SaveAndClose() {
  // A dialog whose files could not all be read (the user was told which) shows
  // blanks where the stored settings should be; writing those back would wipe
  // the files, so it closes without saving.
  if (!loaded_ || Save()) EndDialog(ui::kIdCancel);
}

bool DuctAttrDialog::Save() {
  std::vector<attributes::AttributeEntry> entries;
  std::vector<std::string> lines;
  for (int s = 1; s <= kSettings; ++s) {
    for (int k = 0; k < kLineKinds; ++k) {
      attributes::AttributeEntry entry{ItemText(LayerId(s, k)), ItemText(TypeColourId(s, k))};
      lines.push_back(attributes::JoinAttributeLine(entry));
      entries.push_back(std::move(entry));
    }
  }
  std::vector<std::string> memos;
  for (int s = 1; s <= kSettings; ++s) memos.push_back(ItemText(kMemoBase + s));
  std::vector<std::string> common;
  for (int id : kCommonIds) common.push_back(ItemText(id));

  const double hatchingWidth = ToDouble(ItemText(kHatchingWidth));
  if (hatchingWidth < kMinHatchingWidth || !std::isfinite(hatchingWidth)) {
    // "1e999" passes the minimum but spaces hatch lines infinitely apart.
    MessageBox(hatchingWidth < kMinHatchingWidth
                   ? kHatchingMessage
                   : "ハッチング幅が大きすぎます。数値を入力してください。",
               attributes::kCheckCaption);
    FocusItem(kHatchingWidth);
    return false;
  }
  // The colour travels as text into every generator's records, which are
  // comma-separated: a comma there would shift their fields.
  if (auto refusal = attributes::FindRefusal(entries, /*refuseCommas=*/true)) {
    MessageBox(refusal->message, attributes::kCheckCaption);
    const int s = static_cast<int>(refusal->entry) / kLineKinds + 1;
    const int k = static_cast<int>(refusal->entry) % kLineKinds;
    FocusItem(refusal->layer ? LayerId(s, k) : TypeColourId(s, k));
    return false;
  }

  const InfoFolder& info = Info();
  info.WriteLines("DakutoSubSet.ini", lines);
  info.WriteLines("Memo.ini", memos);
  info.WriteLines("KyotuSet.ini", common);
  return true;
}

}  // namespace tavelin
