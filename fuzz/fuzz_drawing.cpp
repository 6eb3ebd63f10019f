// Drawings for the fitting schedule: read, counted through their nesting and
// written as CSV and JSON, whatever the bytes.
#include "fuzz/fuzz_root.hpp"
#include "schedule/schedule.hpp"

using namespace tavelin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const schedule::Drawing drawing = schedule::ParseDrawing(fuzz::InputText(data, size));
  if (!drawing.ok) return 0;
  const schedule::Schedule result = schedule::BuildSchedule(drawing, {});
  volatile size_t bytes = schedule::ScheduleCsv(result).size() +
                          schedule::ScheduleJson(result, "fuzz.dxf").size();
  (void)bytes;
  return 0;
}
