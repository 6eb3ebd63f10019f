#include "qt/window_actions.hpp"

#include "framework/text.hpp"
#include "qt/dialog_window.hpp"

namespace tavelin::qt {
namespace {

bool IsNumber(const std::string& text) {
  if (text.empty()) return false;
  size_t start = text[0] == '-' ? 1 : 0;
  if (start == text.size()) return false;
  for (size_t i = start; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

}  // namespace

std::string ApplyAction(DialogWindow& window, const std::string& action) {
  ui::Dialog& dialog = window.Model();
  if (dialog.Ended()) return "the dialog is already closed; cannot apply " + action;
  if (action == "ok") return window.Ok(), "";
  if (action == "cancel") return window.Cancel(), "";
  size_t colon = action.find(':');
  if (colon == std::string::npos) return "unknown action " + action;
  const std::string verb = action.substr(0, colon);
  const std::string rest = action.substr(colon + 1);
  if (verb == "point") {
    auto parts = Split(rest, ',');
    if (parts.size() != 2 || !IsNumber(parts[0]) || !IsNumber(parts[1])) {
      return "point needs X,Y in pixels: " + action;
    }
    window.MouseDown(ToInt(parts[0]), ToInt(parts[1]));
    return "";
  }
  std::string idText = rest;
  std::string value;
  bool hasValue = false;
  if (size_t eq = rest.find('='); eq != std::string::npos) {
    idText = rest.substr(0, eq);
    value = rest.substr(eq + 1);
    hasValue = true;
  }
  if (!IsNumber(idText)) return "a control id must be a number: " + action;
  const int id = ToInt(idText);
  ui::Control* control = dialog.FindControl(id);
  const bool acceptAction = (id == ui::kIdOk || id == ui::kIdCancel) && verb == "click";
  if (!control && !acceptAction) return "the dialog has no control " + idText;
  if (control && !acceptAction && (!control->Visible() || !control->Enabled())) {
    return "control " + idText + (control->Visible() ? " is disabled" : " is not visible");
  }
  if (verb == "set") {
    if (!hasValue) return "set needs ID=TEXT: " + action;
    window.Focus(id);
    window.Type(id, value);
  } else if (verb == "click") {
    window.Click(id);
  } else if (verb == "focus") {
    window.Focus(id);
  } else if (verb == "select" || verb == "dblclick") {
    if (!hasValue || !IsNumber(value)) return verb + " needs ID=K: " + action;
    const int index = ToInt(value);
    if (index < 0 || index >= control->Count()) {
      return "control " + idText + " has no entry " + value + " (" +
             std::to_string(control->Count()) + " entries)";
    }
    if (verb == "select") {
      window.Select(id, index);
    } else {
      window.DoubleClick(id, index);
    }
  } else {
    return "unknown action " + action;
  }
  return "";
}

}  // namespace tavelin::qt
