// Schematic lines (".tec"): parsed and drawn as a generator draws its picture.
#include "framework/canvas.hpp"
#include "framework/preview.hpp"
#include "fuzz/fuzz_root.hpp"

using namespace tavelin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> lines = fuzz::InputLines(data, size);
  if (lines.size() > 100) lines.resize(100);  // what a generator reads of it
  const std::vector<SchematicLine> schematic = ParseSchematic(lines);
  NullCanvas canvas;
  DrawSchematic(canvas, PixelRect{10, 10, 300, 200}, schematic, 150.0, 100.0, 0.5,
                [](const SchematicLine& line) { return SchematicStylePen(line.style); });
  return 0;
}
