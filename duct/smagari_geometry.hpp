// A square-duct S-bend: a lower straight stub, two opposite bends and an
// upper stub moved sideways by S, drawn along the y axis and turned by 270
// degrees.
#pragma once

#include <optional>

#include "framework/record_list.hpp"

namespace tavelin {

struct SmagariInput {
  double w = 0.0;   // duct width
  double s = 0.0;   // sideways offset between the stubs' centre lines
  double r = 0.0;   // inner radius of both bends
  double lb = 0.0;  // length of the lower stub
  double lt = 0.0;  // length of the upper stub
  double a = 0.0;   // overall length from the lower to the upper flange
  int base = 2;     // 1: the lower stub's left side, 2: its centre line, 3: its right side
  bool mirror = false;
};

// The run between the stubs at which the two bends just touch (their centres
// 2R + W apart), or nothing when no such S-bend exists (the offset is too
// large, or negative).
std::optional<double> ShortestBendRun(double w, double r, double s);

// Clears `list`, sets its base offset, mirror and the rotation of 270
// degrees, and adds the extents record and the records in drawing order.
// Returns false (leaving the list empty) when the values give no finite
// drawing.
bool BuildSmagari(RecordList& list, const SmagariInput& input, const CommonValues& common);

}  // namespace tavelin
