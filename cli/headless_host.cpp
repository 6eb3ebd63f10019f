#include "cli/headless_host.hpp"

#include <ostream>

namespace tavelin {

std::string Escape(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\n') escaped += "\\n";
    else if (c == '"') escaped += "\\\"";
    else if (c == '\\') escaped += "\\\\";
    else escaped += c;
  }
  return escaped;
}

int HeadlessHost::ShowMessage(ui::Dialog*, const std::string& text, const std::string& caption) {
  out_ << "message: " << caption << ": " << Escape(text) << "\n";
  return ui::kIdOk;
}

bool HeadlessHost::AskYesNo(ui::Dialog*, const std::string& text, const std::string& caption) {
  out_ << "question: " << caption << ": " << Escape(text) << " -> いいえ\n";
  return false;
}

int HeadlessHost::RunModal(ui::Dialog& dialog) {
  out_ << "dialog: " << dialog.Caption() << "\n";
  dialog.Initialize();
  dialog.WaitLoaded();
  NullCanvas canvas;
  dialog.Paint(canvas);
  return ui::kIdCancel;
}

}  // namespace tavelin
