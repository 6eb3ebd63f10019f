// The user's actions written as words, as the automation interface takes them:
// set:ID=TEXT click:ID select:ID=K dblclick:ID=K focus:ID point:X,Y ok cancel.
// One reading serves the headless command line and the window screenshots.
#pragma once

#include <string>

namespace tavelin::ui {

class Dialog;

// Whatever carries the actions out: the dialog model itself, or a window
// that shows it. Each returns false when the control does not take the action.
class ActionTarget {
 public:
  virtual ~ActionTarget() = default;
  virtual bool Click(int id) = 0;
  virtual bool Select(int id, int index) = 0;
  virtual bool DoubleClick(int id, int index) = 0;
  virtual bool Focus(int id) = 0;
  virtual bool Type(int id, const std::string& text) = 0;
  virtual void MouseDown(int x, int y) = 0;
  virtual void Ok() = 0;
  virtual void Cancel() = 0;
};

// Checks `action` against the controls of `dialog` and carries it out on
// `target`; returns an error text, empty on success.
std::string ApplyAction(Dialog& dialog, ActionTarget& target, const std::string& action);

// The dialog model as its own target.
class ModelActions : public ActionTarget {
 public:
  explicit ModelActions(Dialog& dialog) : dialog_(dialog) {}
  bool Click(int id) override;
  bool Select(int id, int index) override;
  bool DoubleClick(int id, int index) override;
  bool Focus(int id) override;
  bool Type(int id, const std::string& text) override;
  void MouseDown(int x, int y) override;
  void Ok() override;
  void Cancel() override;

 private:
  Dialog& dialog_;
};

}  // namespace tavelin::ui
