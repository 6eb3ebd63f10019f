#include "pipe/pipe_attr_dialog.hpp"

#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kCaption = "入力確認";
constexpr const char* kColourOver = "線色番号に256以上は入力できません。";
constexpr const char* kColourZero = "線色番号に0・または文字は入力できません。";
constexpr const char* kTypeOver = "線種番号に12以上は入力できません。";
constexpr const char* kTypeZero = "線種番号に0は入力できません。";
constexpr const char* kLayerMessage =
    "レイヤ名にハイフォン・カンマ・ドットが\n含まれていますので登録できません。";
// A comma in a type-colour text would split the stored line into a fourth group.
constexpr const char* kTypeColourComma = "種-色にカンマ（,）は入力できません。";

constexpr int kLayerIds[3] = {PipeAttrDialog::kSolidLayer, PipeAttrDialog::kHiddenLayer,
                              PipeAttrDialog::kCentreLayer};
constexpr int kTypeColourIds[3] = {PipeAttrDialog::kSolidTypeColour,
                                   PipeAttrDialog::kHiddenTypeColour,
                                   PipeAttrDialog::kCentreTypeColour};

}  // namespace

PipeAttrDialog::PipeAttrDialog(ui::AppContext& app) : Dialog(app, "PipeAttr"), lines_(kCategories) {
  using ui::EventKind;
  SetMessageMap({
      {EventKind::kSelChange, kCategoryList, [this] { OnCategoryPicked(); }},
  });
}

bool PipeAttrDialog::IsLocked(int category) {
  return category == 12 || category == 13 || category == 14 || category == 20;
}

std::string PipeAttrDialog::TypeColourMessage(const std::array<std::string, 3>& typeColours) {
  bool colourOver = false, colourZero = false, typeOver = false, typeZero = false, comma = false;
  for (const std::string& text : typeColours) {
    const int t = ToInt(Token(text, 1));
    const int c = ToInt(Token(text, 2));
    colourOver |= c > 255;
    colourZero |= c == 0;
    typeOver |= t > 11;
    typeZero |= t == 0;
    comma |= text.find(',') != std::string::npos;
  }
  if (colourOver) return kColourOver;
  if (colourZero) return kColourZero;
  if (typeOver) return kTypeOver;
  if (typeZero) return kTypeZero;
  if (comma) return kTypeColourComma;
  return {};
}

bool PipeAttrDialog::LayerRefused(const std::string& layer) {
  return layer.find_first_of("-.,") != std::string::npos;
}

void PipeAttrDialog::OnInitDialog() {
  loaded_ = false;
  lines_ = Info().ReadLines("TugiteSet.ini", kCategories);
  names_ = Info().ReadToEnd("TugiteName.ini", kCategories);
  ui::Control& list = Item(kCategoryList);
  for (const std::string& name : names_) list.AddString(name);
  std::vector<std::string> typeNames = Info().ReadLines("SenSyu.ini", 11);
  for (int n = 0; n < 11; ++n) SetItemText(kFirstLineTypeName + n, typeNames[n]);
  Show(0);
  if (list.Count() > 0) list.SetCurSel(0);
  loaded_ = true;
}

void PipeAttrDialog::Show(int category) {
  shown_ = category;
  const bool locked = IsLocked(category);
  for (int i = 0; i < 3; ++i) {
    EnableItem(kLayerIds[i], !locked);
    EnableItem(kTypeColourIds[i], !locked);
  }
  const std::string name = category < static_cast<int>(names_.size()) ? names_[category] : "";
  SetItemText(kHeading, locked ? "-" : "【" + name + "】の設定");
  std::vector<std::string> groups = Split(lines_[category], ',');
  for (int i = 0; i < 3; ++i) {
    const std::string group = i < static_cast<int>(groups.size()) ? groups[i] : std::string();
    AfterDash typeColour = TextAfterFirstDash(group);
    SetItemText(kLayerIds[i], Token(group, 1));
    SetItemText(kTypeColourIds[i], typeColour.found ? typeColour.rest : "Error");
  }
}

PipeAttrDialog::Check PipeAttrDialog::Validate() {
  std::array<std::string, 3> typeColours;
  for (int i = 0; i < 3; ++i) typeColours[i] = ItemText(kTypeColourIds[i]);
  if (std::string message = TypeColourMessage(typeColours); !message.empty()) {
    MessageBox(message, kCaption);
    // The focus goes to the first field that fails the check reported.
    for (int i = 0; i < 3; ++i) {
      if (TypeColourMessage({typeColours[i], "1-7", "1-7"}) == message) {
        FocusItem(kTypeColourIds[i]);
        break;
      }
    }
    return Check::kTypeColour;
  }
  for (int id : kLayerIds) {
    if (LayerRefused(ItemText(id))) {
      MessageBox(kLayerMessage, kCaption);
      FocusItem(id);
      return Check::kLayer;
    }
  }
  return Check::kPass;
}

void PipeAttrDialog::StoreShown() {
  std::string line;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) line += ",";
    line += ItemText(kLayerIds[i]) + "-" + ItemText(kTypeColourIds[i]);
  }
  lines_[shown_] = line;
}

void PipeAttrDialog::OnCategoryPicked() {
  ui::Control& list = Item(kCategoryList);
  const int picked = list.CurSel();
  if (picked < 0 || picked >= kCategories) return;
  // The locked categories cannot be edited: their lines pass through as read.
  if (!IsLocked(shown_)) {
    switch (Validate()) {
      case Check::kTypeColour:
        list.SetCurSel(-1);
        return;
      case Check::kLayer:
        break;  // the edits are dropped, the picked category is shown
      case Check::kPass:
        StoreShown();
        break;
    }
  }
  Show(picked);
}

void PipeAttrDialog::SaveAndClose(int result) {
  // When opening failed half-way (a file error was reported), the lines in
  // memory are not the file's: close without writing over it.
  if (loaded_) {
    if (!IsLocked(shown_)) {
      if (Validate() != Check::kPass) return;
      StoreShown();
    }
    Info().WriteLines("TugiteSet.ini", lines_);
  }
  EndDialog(result);
}

// Enter saves like "OK": it must never write the stored lines while dropping
// what the user typed for the category on screen.
void PipeAttrDialog::OnOK() { SaveAndClose(ui::kIdOk); }

void PipeAttrDialog::OnCancel() { SaveAndClose(ui::kIdCancel); }

}  // namespace tavelin
