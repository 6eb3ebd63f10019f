// The classic dialog's keyboard walk over a dialog's controls, in layout
// order: Tab moves between stops, a radio group is one stop (its checked
// radio, else its first), and the arrow keys move within a radio group. A
// group runs from a control with the group flag to the next one.
#pragma once

#include <memory>
#include <vector>

#include "framework/toolkit/control.hpp"

namespace tavelin::ui {

using ControlList = std::vector<std::unique_ptr<Control>>;

// The radios of the group that holds control `id` (every radio, whatever its
// state); empty when `id` is not among the controls.
std::vector<Control*> RadioGroupOf(const ControlList& controls, int id);

// Whether the keyboard focus can rest on the control now.
bool TakesFocus(const Control& control);

// The control Tab (or Shift+Tab) moves to from control `id`; from a control
// that is not a stop (or 0) the next stop after it. 0 when nothing takes the focus.
int NextTabStop(const ControlList& controls, int id, bool forward);

// The radio an arrow key moves to within the group of radio `id`, round the
// end; 0 when the group has fewer than two radios that take the focus.
int NextInRadioGroup(const ControlList& controls, int id, bool forward);

}  // namespace tavelin::ui
