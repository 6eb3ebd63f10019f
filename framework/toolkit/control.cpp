#include "framework/toolkit/control.hpp"

#include "framework/toolkit/dialog.hpp"

namespace tavelin::ui {

Control::Control(Dialog& owner, const ControlSpec& spec)
    : owner_(owner),
      spec_(spec),
      text_(spec.text),
      enabled_(spec.enabled),
      visible_(spec.visible),
      rect_(spec.rect) {}

void Control::SetText(std::string text) {
  text_ = std::move(text);
  if (spec_.kind == ControlKind::kEdit) owner_.Notify(EventKind::kEditChange, spec_.id);
}

void Control::ResetContent() {
  items_.clear();
  selection_ = -1;
  if (spec_.kind == ControlKind::kComboBox) text_.clear();
}

int Control::AddString(std::string item) {
  items_.push_back(std::move(item));
  return static_cast<int>(items_.size()) - 1;
}

std::string Control::ItemText(int index) const {
  if (index < 0 || index >= Count()) return {};
  return items_[index];
}

void Control::SetCurSel(int index) {
  selection_ = index >= 0 && index < Count() ? index : -1;
  if (spec_.kind == ControlKind::kComboBox || spec_.kind == ControlKind::kComboEdit) {
    text_ = selection_ >= 0 ? items_[selection_] : (spec_.kind == ControlKind::kComboBox ? "" : text_);
  }
}

int Control::FindExact(const std::string& text) const {
  for (int i = 0; i < Count(); ++i) {
    if (items_[i] == text) return i;
  }
  return -1;
}

int Control::SelectString(const std::string& text) {
  int index = FindExact(text);
  if (index >= 0) SetCurSel(index);
  return index;
}

}  // namespace tavelin::ui
