// Part files (".ajc") and part sheets: parsed, placed at every base point,
// turned and mirrored, handed off as records and drawn in both pictures.
#include "framework/canvas.hpp"
#include "fuzz/fuzz_root.hpp"
#include "pipe/part_drawing.hpp"

using namespace tavelin;
using namespace tavelin::pipe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t choice = data[0];
  const std::vector<std::string> lines = fuzz::InputLines(data + 1, size - 1);
  NullCanvas canvas;

  const Sheet sheet = ParseSheet(lines);
  DrawSheet(canvas, PixelRect{kSheetLeft, kSheetTop, kSheetLeft + 5 * kCellWidth,
                              kSheetTop + 4 * kCellHeight},
            sheet);

  const std::optional<PartFile> part = ParsePartFile(lines);
  if (!part) return 0;
  for (const PartElement& element : part->elements) {
    if (element.kind != 1 && element.kind != 2) std::abort();  // others are skipped
  }
  const Point base = BaseOffset(*part, choice % 3, (choice / 3) % 3);
  Placement placement{base.x, base.y, (choice & 0x10) != 0, 45 * ((choice >> 5) & 7)};
  const std::vector<PartElement> placed = PlacePart(*part, placement);
  const CategoryAttributes attributes =
      ParseCategoryAttributes("PIPE-1-7,HIDDEN-2-3,CENTRE-3-1");
  const std::vector<std::string> names = {"CONTINUOUS", "HIDDEN", "CENTER"};
  for (const std::string& record : HandOffLines(placed, attributes, names)) {
    if (record.find('\n') != std::string::npos) std::abort();  // one record, one line
  }
  DrawPartPreview(canvas, PixelRect{20, 250, 400, 420}, *part, placement, placed);
  return 0;
}
