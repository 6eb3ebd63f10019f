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
  int Count() const { return static_cast<int>(items_.size()); }
  const std::vector<std::string>& Items() const { return items_; }
  std::string ItemText(int index) const;
  int CurSel() const { return selection_; }
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
  std::vector<std::string> items_;
  int selection_ = -1;
};

}  // namespace tavelin::ui
