// Dialog layouts as data: a caption, a size in dialog units and the controls
// in tab order, read from the layout files of resources/.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/canvas.hpp"

namespace tavelin::ui {

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdStatic = -1;

enum class ControlKind {
  kEdit,
  kPushButton,
  kRadioButton,
  kCheckBox,
  kComboBox,   // drop-down list: choose only
  kComboEdit,  // drop-down with an edit field
  kListBox,
  kStatic,
  kGroupBox,
};

enum class TextAlign { kLeft, kCentre, kRight };

struct ControlDefinition {
  int id = kIdStatic;
  ControlKind kind = ControlKind::kStatic;
  PixelRect rect;  // in pixels of the dialog's client area
  std::string text;
  bool visible = true;
  bool enabled = true;
  bool groupStart = false;  // first control of a radio group
  bool pushLike = false;    // a radio or check box drawn as a push button
  bool defaultButton = false;
  bool sunken = false;      // sunken frame (previews)
  bool readOnly = false;
  bool multiline = false;
  // A list box shown as a table: its text is the column headings and each
  // entry a row, the cells separated by tabs.
  bool table = false;
  TextAlign align = TextAlign::kLeft;
  std::optional<Rgb> textColour;
  std::optional<Rgb> background;
};

struct Layout {
  std::string caption;
  int width = 0;   // client size in pixels
  int height = 0;
  std::string font = "Noto Sans CJK JP";
  int pointSize = 9;
  std::vector<ControlDefinition> controls;
};

// Dialog units to pixels (a dialog font with base units 7 by 14).
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);

// Parses a layout text. Throws std::runtime_error naming the line at fault.
//
//   dialog "CAPTION" WIDTH HEIGHT              (dialog units)
//   ID KIND X Y W H "TEXT" [FLAG ...]          (one control a line)
//
// KIND: edit button radio check combo combo-edit list static group.
// FLAG: hidden disabled group pushlike default sunken readonly multiline
//       table centre right status red textcolour=R,G,B background=R,G,B
// "status" colours a status line (blue on grey), "red" a red note on grey.
// Text escapes: \n, \", \\. Lines starting with # are comments.
Layout ParseLayout(std::string_view text);

// The layout of the dialog named `name` (resources/layouts/NAME.dlg).
// Throws std::runtime_error when there is none.
const Layout& LoadLayout(std::string_view name);

}  // namespace tavelin::ui
