#include "framework/toolkit/control.hpp"

#include "framework/toolkit/dialog.hpp"

namespace tavelin::ui {
namespace {

// The text up to its first line end (CR or LF).
std::string FirstLine(std::string text) {
  if (size_t end = text.find_first_of("\r\n"); end != std::string::npos) text.erase(end);
  return text;
}

}  // namespace

Control::Control(Dialog& owner, const ControlDefinition& definition)
    : owner_(owner),
      definition_(definition),
      text_(definition.text),
      enabled_(definition.enabled),
      visible_(definition.visible),
      rect_(definition.rect) {
  if (IsSingleLine()) text_ = FirstLine(std::move(text_));
}

bool Control::IsSingleLine() const {
  return (definition_.kind == ControlKind::kEdit && !definition_.multiline) ||
         definition_.kind == ControlKind::kComboEdit;
}

void Control::SetTextQuietly(std::string text) {
  std::string shown = IsSingleLine() ? FirstLine(std::move(text)) : std::move(text);
  if (shown != text_) toolTip_.clear();
  text_ = std::move(shown);
}

void Control::SetText(std::string text) {
  SetTextQuietly(std::move(text));
  if (definition_.kind == ControlKind::kEdit) owner_.Notify(EventKind::kEditChange, definition_.id);
}

void Control::ResetContent() {
  items_.clear();
  // Nothing before this is of use to a window: it shows the entries anew.
  journal_.clear();
  journalStart_ = ++itemsRevision_;
  selection_ = -1;
  if (definition_.kind == ControlKind::kComboBox) text_.clear();
}

namespace {
// More edits than this since a window last looked: it compares the entries.
constexpr size_t kKeptEdits = 256;
}  // namespace

void Control::RecordEdit(int index, bool inserted, const std::string& text) {
  ++itemsRevision_;
  if (journal_.size() >= kKeptEdits) {
    journal_.clear();
    journalStart_ = itemsRevision_;
    return;
  }
  journal_.push_back({index, inserted, inserted ? text : std::string()});
}

const Control::ItemEdit* Control::ItemEditsSince(unsigned long revision, size_t& count) const {
  count = 0;
  if (revision < journalStart_ || revision > itemsRevision_) return nullptr;
  count = itemsRevision_ - revision;
  return journal_.data() + (revision - journalStart_);
}

int Control::AddString(std::string item) {
  items_.push_back(std::move(item));
  const int index = static_cast<int>(items_.size()) - 1;
  RecordEdit(index, true, items_.back());
  return index;
}

int Control::InsertString(int index, std::string item) {
  if (index < 0 || index > Count()) index = Count();
  items_.insert(items_.begin() + index, std::move(item));
  if (selection_ >= index) ++selection_;
  RecordEdit(index, true, items_[static_cast<size_t>(index)]);
  return index;
}

bool Control::DeleteString(int index) {
  if (index < 0 || index >= Count()) return false;
  items_.erase(items_.begin() + index);
  if (selection_ == index) {
    selection_ = -1;
    if (definition_.kind == ControlKind::kComboBox) text_.clear();
  } else if (selection_ > index) {
    --selection_;
  }
  RecordEdit(index, false, {});
  return true;
}

std::string Control::ItemText(int index) const {
  if (index < 0 || index >= Count()) return {};
  return items_[index];
}

void Control::SetCurSel(int index) {
  selection_ = index >= 0 && index < Count() ? index : -1;
  if (definition_.kind == ControlKind::kComboBox || definition_.kind == ControlKind::kComboEdit) {
    if (selection_ >= 0) {
      SetTextQuietly(items_[selection_]);
    } else if (definition_.kind == ControlKind::kComboBox) {
      text_.clear();
    }
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
