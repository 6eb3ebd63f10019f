// Every dialog the program can open, by class name, with its settings-file
// stem (for the headless "generate") and its caption.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "framework/toolkit/dialog.hpp"

namespace tavelin {

struct DialogEntry {
  std::string_view className;
  std::string_view stem;     // settings-file stem of a generator ("Erbo"), else empty
  std::string_view caption;  // the name of the fitting, as its main-dialog button says
  std::unique_ptr<ui::Dialog> (*create)(ui::AppContext& app);
};

const std::vector<DialogEntry>& DialogTable();

// The dialog of class `className`, or nullptr for an unknown class.
std::unique_ptr<ui::Dialog> CreateDialog(std::string_view className, ui::AppContext& app);

// The class of the generator whose settings file is STEM.ini ("Erbo" ->
// "ErboDialog"), matched without regard to case; empty when none.
std::string_view ClassForStem(std::string_view stem);

// Sets app.createDialog to CreateDialog.
void InstallDialogFactory(ui::AppContext& app);

}  // namespace tavelin
