// The plan of a rectangular box lined inside: its outline, the inner face of
// the lining as hidden lines, and hatching over the whole box.
#pragma once

#include "framework/record_list.hpp"

namespace tavelin {

struct UboxInput {
  double width = 0.0;   // X
  double depth = 0.0;   // Y
  double lining = 0.0;  // T
  double angle = 0.0;   // rotation of the whole box in degrees
  int base = 1;         // base point 1 to 4 (the base radios in order); others: the centre
  bool mirror = false;
};

// The base offset of the chosen base point: 1 the centre, 2 the middle of
// the lower side, 3 the lower left corner, 4 the middle of the left side.
Point UboxBase(const UboxInput& input);

// Clears `list`, sets its base offset, mirror and rotation from the input and
// adds the extents record, the outline, the lining and the hatching (width
// `common.k4`). Values that are not finite or beyond any drawing leave the
// list empty; the return value tells whether the box was drawn.
bool BuildUbox(RecordList& list, const UboxInput& input, const CommonValues& common);

}  // namespace tavelin
