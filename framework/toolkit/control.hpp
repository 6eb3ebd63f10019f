// One control of a dialog model: its identifier, kind, text, states and, for
// combo and list boxes, its entries and selection.
#pragma once

#include <string>
#include <vector>

#include "framework/toolkit/layout.hpp"

namespace tavelin::ui {

class Dialog;

class Control {
 public:
  Control(Dialog& owner, const ControlDefinition& definition);

  int Id() const { return definition_.id; }
  ControlKind Kind() const { return definition_.kind; }
  const ControlDefinition& Definition() const { return definition_; }

  // The window text. Setting an edit's text notifies its change handler, as
  // the platform's edit control does. A single-line edit (or the edit field
  // of a combo box) keeps a text only up to its first line end, as the
  // classic single-line edit keeps only the first line of a pasted text.
  const std::string& Text() const { return text_; }
  void SetText(std::string text);

  // What the window shows when the pointer rests on the control ("" none).
  // It belongs to the text: a new text takes it away.
  const std::string& ToolTip() const { return toolTip_; }
  void SetToolTip(std::string text) { toolTip_ = std::move(text); }

  bool Checked() const { return checked_; }
  void SetCheck(bool checked) { checked_ = checked; }

  bool Enabled() const { return enabled_; }
  void Enable(bool enabled) { enabled_ = enabled; }
  bool Visible() const { return visible_; }
  void Show(bool visible) { visible_ = visible; }

  const PixelRect& Rect() const { return rect_; }
  void Move(const PixelRect& rect) { rect_ = rect; }
  // The client rectangle in the control's own coordinates.
  PixelRect ClientRect() const { return {0, 0, rect_.Width(), rect_.Height()}; }

  // Combo and list boxes.
  void ResetContent();
  int AddString(std::string item);
  // Inserts `item` before entry `index` (at the end when `index` is past it);
  // returns where it went. The selection stays on the entry it was on.
  int InsertString(int index, std::string item);
  // Removes entry `index`; the selection stays on the entry it was on (none
  // when that one is removed). False when there is no such entry.
  bool DeleteString(int index);
  int Count() const { return static_cast<int>(items_.size()); }
  const std::vector<std::string>& Items() const { return items_; }
  std::string ItemText(int index) const;
  int CurSel() const { return selection_; }
  // The entries' changes one by one, so that a window showing thousands of
  // them can apply one inserted or removed entry instead of comparing all.
  struct ItemEdit {
    int index = 0;
    bool inserted = false;  // else the entry at `index` was removed
    std::string text;       // the entry inserted
  };
  // Counts every change of the entries.
  unsigned long ItemsRevision() const { return itemsRevision_; }
  // The edits that lead from `revision` to the entries now; nullptr when they
  // are not kept (the entries were reset, or more changed than are kept).
  const ItemEdit* ItemEditsSince(unsigned long revision, size_t& count) const;
  // Selects entry `index` (-1: none); a drop-down list shows its text. Sends no event.
  void SetCurSel(int index);
  // The entry equal to `text`, or -1.
  int FindExact(const std::string& text) const;
  // Selects the entry equal to `text`; returns its index or -1.
  int SelectString(const std::string& text);

  bool IsEditLike() const { return definition_.kind == ControlKind::kEdit; }
  // An edit of one line: every edit but a multi-line one, and a combo box's edit field.
  bool IsSingleLine() const;

 private:
  friend class Dialog;
  void SetTextQuietly(std::string text);

  Dialog& owner_;
  ControlDefinition definition_;
  std::string text_;
  std::string toolTip_;
  bool checked_ = false;
  bool enabled_;
  bool visible_;
  PixelRect rect_;
  void RecordEdit(int index, bool inserted, const std::string& text);

  std::vector<std::string> items_;
  int selection_ = -1;
  unsigned long itemsRevision_ = 0;
  // The edits since revision `journalStart_`, at most a few hundred.
  unsigned long journalStart_ = 0;
  std::vector<ItemEdit> journal_;
};

}  // namespace tavelin::ui
