// Settings-file lines: the run-time conversions on every line, then a
// generator opened, painted and generated with the input as its settings file.
#include <cmath>
#include <cstdlib>

#include "app/dialog_registry.hpp"
#include "framework/canvas.hpp"
#include "framework/codepage.hpp"
#include "framework/text.hpp"
#include "fuzz/fuzz_root.hpp"
#include "pipe/part_drawing.hpp"

using namespace tavelin;

namespace {

void Convert(const std::string& line) {
  const double value = ToDouble(line);
  const int whole = ToInt(line);
  (void)IntegerText(value);
  // "%f" text reads back within its rounding.
  if (std::isfinite(value) && std::fabs(value) < 1e12 &&
      std::fabs(ToDouble(FormatF(value)) - value) > 5e-7 * (1 + std::fabs(value))) {
    std::abort();
  }
  (void)FormatD(whole);
  for (int t = 0; t <= 4; ++t) (void)Token(line, t);
  (void)TextAfterFirstDash(line);
  (void)Split(line, ',');
  (void)Field(line, ',', 3);
  (void)pipe::ParseCategoryAttributes(line);
  // What the info folder read it can write back.
  (void)Utf8ToCp932(line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::vector<std::string> lines = fuzz::InputLines(data + 1, size - 1);
  for (const std::string& line : lines) Convert(line);

  std::vector<const DialogEntry*> generators;
  for (const DialogEntry& entry : DialogTable()) {
    if (!entry.stem.empty() && entry.create) generators.push_back(&entry);
  }
  const DialogEntry& entry = *generators[data[0] % generators.size()];
  fuzz::FuzzRoot& root = fuzz::FuzzRoot::Get();
  root.Restore();
  root.Put(std::string(entry.stem) + ".ini", fuzz::InputText(data + 1, size - 1));
  auto dialog = CreateDialog(entry.className, root.App());
  dialog->Initialize();
  NullCanvas canvas;
  if (!dialog->Ended()) dialog->Paint(canvas);
  if (!dialog->Ended()) dialog->Generate();
  return 0;
}
