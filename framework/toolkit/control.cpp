#include "framework/toolkit/control.hpp"

#include "framework/toolkit/dialog.hpp"

namespace tavelin::ui {

Control::Control(Dialog& owner, const ControlDefinition& definition)
    : owner_(owner),
      definition_(definition),
      text_(definition.text),
      enabled_(definition.enabled),
      visible_(definition.visible),
      rect_(definition.rect) {}

void Control::SetText(std::string text) {
  text_ = std::move(text);
  if (definition_.kind == ControlKind::kEdit) owner_.Notify(EventKind::kEditChange, definition_.id);
}

void Control::ResetContent() {
  items_.clear();
  selection_ = -1;
  if (definition_.kind == ControlKind::kComboBox) text_.clear();
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
  if (definition_.kind == ControlKind::kComboBox || definition_.kind == ControlKind::kComboEdit) {
    text_ = selection_ >= 0 ? items_[selection_] : (definition_.kind == ControlKind::kComboBox ? "" : text_);
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
