#include "framework/toolkit/actions.hpp"

#include "framework/text.hpp"
#include "framework/toolkit/dialog.hpp"

namespace tavelin::ui {
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

std::string ApplyAction(Dialog& dialog, ActionTarget& target, const std::string& action) {
  if (dialog.Ended()) return "the dialog is already closed; cannot apply " + action;
  if (action == "ok") return target.Ok(), "";
  if (action == "cancel") return target.Cancel(), "";
  size_t colon = action.find(':');
  if (colon == std::string::npos) return "unknown action " + action;
  const std::string verb = action.substr(0, colon);
  const std::string rest = action.substr(colon + 1);
  if (verb == "point") {
    auto parts = Split(rest, ',');
    if (parts.size() != 2 || !IsNumber(parts[0]) || !IsNumber(parts[1])) {
      return "point needs X,Y in pixels: " + action;
    }
    target.MouseDown(ToInt(parts[0]), ToInt(parts[1]));
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
  Control* control = dialog.FindControl(id);
  const bool acceptAction = (id == kIdOk || id == kIdCancel) && verb == "click";
  if (!control && !acceptAction) return "the dialog has no control " + idText;
  if (control && !acceptAction && (!control->Visible() || !control->Enabled())) {
    return "control " + idText + (control->Visible() ? " is disabled" : " is not visible");
  }
  bool done = false;
  if (verb == "set") {
    if (!hasValue) return "set needs ID=TEXT: " + action;
    done = target.Focus(id) && target.Type(id, value);
  } else if (verb == "click") {
    done = target.Click(id);
  } else if (verb == "focus") {
    done = target.Focus(id);
  } else if (verb == "select" || verb == "dblclick") {
    if (!hasValue || !IsNumber(value)) return verb + " needs ID=K: " + action;
    const int index = ToInt(value);
    if (index < 0 || index >= control->Count()) {
      return "control " + idText + " has no entry " + value + " (" +
             std::to_string(control->Count()) + " entries)";
    }
    done = verb == "select" ? target.Select(id, index) : target.DoubleClick(id, index);
  } else {
    return "unknown action " + action;
  }
  if (!done) return "control " + idText + " does not take " + verb;
  return "";
}

bool ModelActions::Click(int id) { return dialog_.UserClick(id); }
bool ModelActions::Select(int id, int index) { return dialog_.UserSelect(id, index); }
bool ModelActions::DoubleClick(int id, int index) { return dialog_.UserDoubleClick(id, index); }
bool ModelActions::Focus(int id) { return dialog_.UserFocus(id); }
bool ModelActions::Type(int id, const std::string& text) { return dialog_.UserType(id, text); }
void ModelActions::MouseDown(int x, int y) { dialog_.UserMouseDown(x, y); }
void ModelActions::Ok() { dialog_.UserOk(); }
void ModelActions::Cancel() { dialog_.UserCancel(); }

}  // namespace tavelin::ui
