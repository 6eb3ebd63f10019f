#include "qt/window_actions.hpp"

#include <QWidget>

#include "framework/toolkit/actions.hpp"
#include "qt/dialog_window.hpp"

namespace tavelin::qt {
namespace {

// The actions carried out through the window, so its widgets follow them.
class WindowActions : public ui::ActionTarget {
 public:
  explicit WindowActions(DialogWindow& window) : window_(window) {}
  bool Click(int id) override { return window_.Click(id), true; }
  bool Select(int id, int index) override { return window_.Select(id, index), true; }
  bool DoubleClick(int id, int index) override { return window_.DoubleClick(id, index), true; }
  // The widget takes the focus, as a click or Tab gives it, and so tells the model.
  bool Focus(int id) override {
    if (QWidget* widget = window_.Widget(id)) widget->setFocus(Qt::TabFocusReason);
    window_.Focus(id);
    return true;
  }
  bool Type(int id, const std::string& text) override { return window_.Type(id, text), true; }
  void MouseDown(int x, int y) override { window_.MouseDown(x, y); }
  void Ok() override { window_.Ok(); }
  void Cancel() override { window_.Cancel(); }

 private:
  DialogWindow& window_;
};

}  // namespace

std::string ApplyAction(DialogWindow& window, const std::string& action) {
  WindowActions target(window);
  return ui::ApplyAction(window.Model(), target, action);
}

}  // namespace tavelin::qt
