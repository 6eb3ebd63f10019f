// Dialog layout files: parsed, and the sizes a window takes from a layout
// that parses are computed as the host computes them.
#include <stdexcept>

#include "framework/toolkit/layout.hpp"
#include "fuzz/fuzz_root.hpp"

using namespace tavelin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const ui::Layout layout = ui::ParseLayout(fuzz::InputText(data, size));
    for (const auto& control : layout.controls) {
      volatile int area = control.rect.Width() / 2 + control.rect.Height() / 2;
      (void)area;
    }
  } catch (const std::runtime_error&) {
    // refused, with the line named
  }
  return 0;
}
