// Every dialog the program can open, by class name, with its settings-file
// stem (for the headless "generate") and its caption.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "framework/settings_declaration.hpp"
#include "framework/toolkit/dialog.hpp"

namespace tavelin {

struct DialogEntry {
  std::string_view className;
  std::string_view stem;     // settings-file stem of a generator ("Erbo"), else empty
  std::string_view caption;  // the name of the fitting, as its main-dialog button says
  std::unique_ptr<ui::Dialog> (*create)(ui::AppContext& app);
  // Every settings file the generator writes, declared (the damper's type
  // files too); null for a dialog without declared settings.
  const std::vector<const SettingsDeclaration*>& (*declarations)() = nullptr;
};

const std::vector<DialogEntry>& DialogTable();

// The dialog of class `className`, or nullptr for an unknown class.
std::unique_ptr<ui::Dialog> CreateDialog(std::string_view className, ui::AppContext& app);

// The class of the generator whose settings file is STEM.ini ("Erbo" ->
// "ErboDialog"), matched without regard to case; empty when none.
std::string_view ClassForStem(std::string_view stem);

// The declaration of the settings file `file` ("Erbo.ini", "Danpa_VD.ini"),
// matched without regard to case, and the dialog that writes it; nullptr
// when no dialog declares it.
const SettingsDeclaration* DeclarationOfFile(std::string_view file,
                                             const DialogEntry** writer = nullptr);

// Sets app.createDialog to CreateDialog.
void InstallDialogFactory(ui::AppContext& app);

}  // namespace tavelin
