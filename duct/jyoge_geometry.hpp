// The up/down elbow in plan: a horizontal duct arriving from +x ends in a
// straight stretch; the vertical part shows as its cross-section (a
// rectangle centred on the origin) inside its flange outline, joined to the
// duct by converging lines, with a section symbol inside. Going down, what
// lies under the horizontal duct is drawn as hidden lines.
#pragma once

#include "framework/record_list.hpp"

namespace tavelin {

enum class ElbowTurn : int { kNone = 0, kUp = 1, kDown = 2 };

// The figure inside the section, in the order of the symbol buttons.
enum class SectionSymbol : int {
  kNone = 0,
  kCross = 1,     // both diagonals
  kDiagonal = 2,  // one diagonal
  kHalf = 3,      // one diagonal and half of the other
};

// The base point, in the order of the settings file.
enum class UpDownBase : int {
  kNone = 0,        // no radio set: no offset
  kCentre = 1,      // section centre
  kUpperLeft = 2,   // (-X/2, Y/2)
  kUpperRight = 3,  // (X/2, Y/2)
  kLowerLeft = 4,   // (-X/2, -Y/2)
  kLowerRight = 5,  // (X/2, -Y/2)
};

// One elbow, in its own coordinates.
struct UpDownElbowShape {
  double x = 0.0;  // section size along x
  double y = 0.0;  // section size along y
  double l = 0.0;  // section centre to the duct's far end, less x / 2
  double e = 0.0;  // straight stretch of the horizontal duct
  double p = 0.0;  // duct's negative-y side from the centre line
  double q = 0.0;  // duct's positive-y side from the centre line
  ElbowTurn turn = ElbowTurn::kUp;
  SectionSymbol symbol = SectionSymbol::kCross;
};

struct UpDownElbowInput {
  UpDownElbowShape shape;
  UpDownBase base = UpDownBase::kCentre;
  bool mirror = false;
  double rotation = 0.0;  // degrees
};

// L: the larger of the duct height and the section's x size, times the inner
// radius factor (0.5 or 1), plus the straight stretch.
double UpDownElbowLength(double height, double sectionX, double radiusFactor, double straight);

// The point of one elbow that becomes the origin.
Point UpDownElbowBasePoint(const UpDownElbowShape& shape, UpDownBase base);

// Adds the records of one elbow with its section centre moved to (shiftX, 0)
// (no extents record). Returns false, adding nothing, when a value is not
// finite.
bool AddUpDownElbowRecords(RecordList& list, const UpDownElbowShape& shape,
                           const CommonValues& common, double shiftX);

// Rebuilds `list`: clears it, sets the rotation, mirror and base offset, and
// adds the extents record and the elbow. Returns false, leaving the list
// empty, when no direction is chosen or a value is not finite.
bool BuildUpDownElbow(RecordList& list, const UpDownElbowInput& input, const CommonValues& common);

}  // namespace tavelin
