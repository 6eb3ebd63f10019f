// A square branch duct butted against the side of a main duct: drawn along
// the y axis from the joint end (y = A) to the far end (y = E) and turned by
// 270 degrees, optionally with a hopper (the mouth widened by C on the
// negative-x side over the depth B) and optionally ending square-to-round.
#pragma once

#include "framework/record_list.hpp"

namespace tavelin {

struct TukiInput {
  double a = 0.0;  // y of the joint end
  double b = 0.0;  // depth of the hopper from the joint end
  double c = 0.0;  // extra width of the hopper on the negative-x side
  double w = 0.0;  // branch width
  double e = 0.0;  // y of the far end
  bool hopper = false;
  bool squareToRound = false;
  bool sideBase = false;  // base point on the branch side instead of its centre line
  bool mirror = false;
};

// Clears `list`, sets its base offset, mirror and the rotation of 270
// degrees, and adds the extents record and the records in drawing order.
// Returns false (leaving the list empty) when the values give no finite
// drawing.
bool BuildTuki(RecordList& list, const TukiInput& input, const CommonValues& common);

}  // namespace tavelin
