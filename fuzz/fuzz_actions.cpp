// Automation action strings, one a line, carried out on a dialog of the
// program chosen by the first byte, painting after each as the host does.
#include "app/dialog_registry.hpp"
#include "framework/canvas.hpp"
#include "framework/toolkit/actions.hpp"
#include "fuzz/fuzz_root.hpp"

using namespace tavelin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<const DialogEntry*> dialogs;
  for (const DialogEntry& entry : DialogTable()) {
    if (entry.create) dialogs.push_back(&entry);
  }
  const DialogEntry& entry = *dialogs[data[0] % dialogs.size()];
  std::vector<std::string> actions = fuzz::InputLines(data + 1, size - 1);
  if (actions.size() > 64) actions.resize(64);

  fuzz::FuzzRoot& root = fuzz::FuzzRoot::Get();
  root.Restore();
  auto dialog = CreateDialog(entry.className, root.App());
  dialog->Initialize();
  NullCanvas canvas;
  if (!dialog->Ended()) dialog->Paint(canvas);
  for (const std::string& action : actions) {
    if (dialog->Ended()) break;
    ui::ModelActions target(*dialog);
    (void)ui::ApplyAction(*dialog, target, action);
    if (!dialog->Ended()) dialog->Paint(canvas);
  }
  return 0;
}
