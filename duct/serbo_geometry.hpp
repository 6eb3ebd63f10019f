// The plan of a 90-degree square-duct elbow wrapped in a silencer box: the
// inlet stub coming up from below, the outlet stub leaving to the right, both
// with their flanges, the duct walls inside the box as hidden lines, and the
// box around the corner in one of four corner shapes, optionally hatched.
#pragma once

#include <vector>

#include "framework/record_list.hpp"

namespace tavelin {

enum class SErboShape : int {
  kNone = 0,
  kSquare = 1,       // square inner corner
  kRounded = 2,      // rounded inner corner
  kChamfered = 3,    // chamfered inner corner
  kHalfChamfer = 4,  // chamfer over half the box length
};

enum class SErboBase : int {
  kNone = 0,         // no offset
  kOuterCorner = 1,  // crossing of the duct's outer sides
  kCentreLines = 2,  // crossing of the centre lines
  kInnerCorner = 3,  // crossing of the duct's inner sides
};

struct SErboInput {
  double width = 0.0;       // W: duct width
  double boxLength = 0.0;   // B: box beyond the duct side
  double stubLength = 0.0;  // C: each stub outside the box
  double wall = 0.0;        // T: box wall around the duct
  double angle = 0.0;       // rotation of the whole fitting in degrees
  SErboShape shape = SErboShape::kSquare;
  SErboBase base = SErboBase::kCentreLines;
  bool mirror = false;
  bool hatch = false;
};

// The box outline's edges, in the order the hatching crosses them (empty for
// no shape).
std::vector<Segment> SErboHatchRegion(const SErboInput& input);

// Clears `list`, sets its base offset, mirror and rotation from the input and
// adds the extents record, the stubs, the box of the shape and, when asked,
// its hatching (width K4). Values that are not finite or beyond any drawing
// leave the list empty and return false.
bool BuildSErbo(RecordList& list, const SErboInput& input, const CommonValues& common);

}  // namespace tavelin
