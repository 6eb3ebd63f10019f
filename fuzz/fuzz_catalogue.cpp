// The part menu's catalogue files ("SheetName.ini", "BuzaiName.ini", the
// fitting names and attributes and a size table) replaced by the input, then
// the menu walked: a category, a classification, a size, cells of the sheet,
// a turn and the mirror, and the part handed over.
#include <array>

#include "app/dialog_registry.hpp"
#include "framework/canvas.hpp"
#include "framework/toolkit/actions.hpp"
#include "fuzz/fuzz_root.hpp"
#include "pipe/part_catalogue.hpp"
#include "pipe/parts_menu_dialog.hpp"

using namespace tavelin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static const std::array<const char*, 5> kFiles = {"SheetName.ini", "BuzaiName.ini",
                                                    "TugiteName.ini", "TugiteSet.ini",
                                                    "Gaikei_Koukan.ini"};
  const uint8_t file = data[0];
  const uint8_t walk = data[1];
  const std::string_view text = fuzz::InputText(data + 2, size - 2);

  // The key lookups on their own, as the menu makes them.
  const std::vector<std::string> lines = fuzz::InputLines(data + 2, size - 2);
  const std::string key = pipe::CatalogueKey(1 + walk % 20, 1 + (walk >> 5) % 6);
  const std::string sheetLine = pipe::SheetLineFor(lines, key);
  for (int cell = 1; cell <= 20; ++cell) (void)pipe::PartCode(pipe::FieldAfterKey(sheetLine, 1), cell);
  (void)pipe::NameLineFor(lines, key);

  fuzz::FuzzRoot& root = fuzz::FuzzRoot::Get();
  root.Restore();
  root.Put(kFiles[file % kFiles.size()], text);
  auto dialog = CreateDialog("PartsMenuDialog", root.App());
  dialog->Initialize();
  NullCanvas canvas;
  using Menu = PartsMenuDialog;
  const std::vector<std::string> actions = {
      "select:" + std::to_string(Menu::kCategoryList) + "=" + std::to_string(walk % 20),
      "click:" + std::to_string(Menu::kFirstClassification + (walk >> 5) % 6),
      "select:" + std::to_string(Menu::kMainSize) + "=" + std::to_string((walk >> 2) % 4),
      "point:" + std::to_string(pipe::kSheetLeft + 20) + "," + std::to_string(pipe::kSheetTop + 20),
      "point:" + std::to_string(pipe::kSheetLeft + 20 + pipe::kCellWidth * ((walk >> 3) % 5)) +
          "," + std::to_string(pipe::kSheetTop + 20 + pipe::kCellHeight * ((walk >> 1) % 4)),
      "click:" + std::to_string(Menu::kFirstRotation + (walk % 8)),
      "click:" + std::to_string(Menu::kMirror),
      "click:" + std::to_string(Menu::kStart),
  };
  for (const std::string& action : actions) {
    if (dialog->Ended()) break;
    ui::ModelActions target(*dialog);
    (void)ui::ApplyAction(*dialog, target, action);
    if (!dialog->Ended()) dialog->Paint(canvas);
  }
  return 0;
}
