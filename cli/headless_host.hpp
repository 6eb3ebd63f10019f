// The window system of the command line: message boxes are printed and
// answered with OK; a dialog opened from another is initialised, painted and
// closed at once.
#pragma once

#include <iosfwd>

#include "framework/toolkit/dialog.hpp"

namespace tavelin {

class HeadlessHost : public ui::UiHost {
 public:
  explicit HeadlessHost(std::ostream& out) : out_(out) {}
  int ShowMessage(ui::Dialog* owner, const std::string& text, const std::string& caption) override;
  int RunModal(ui::Dialog& dialog) override;
  // Printed as "question: CAPTION: TEXT" and answered no: nothing is lost
  // without a user to confirm it.
  bool AskYesNo(ui::Dialog* owner, const std::string& text, const std::string& caption) override;

 private:
  std::ostream& out_;
};

// A text with its line ends written as "\n" and quotes as "\"".
std::string Escape(const std::string& text);

}  // namespace tavelin
