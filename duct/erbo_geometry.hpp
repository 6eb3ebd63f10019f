// The outline of a square-duct elbow: an inlet leg running up the negative y
// axis, a bend, and an outlet leg turned by the elbow angle. Three
// constructions: the 90-degree elbow, the angled elbow with equal widths and
// the angled reducing elbow (inner sides in line, the width difference taken
// on the outside).
#pragma once

#include "framework/geometry.hpp"

namespace tavelin {

class RecordList;

// Where the base point (the block's insertion point) lies.
enum class ElbowBase : int {
  kNone = 0,         // no radio set: no offset
  kOuterCorner = 1,  // crossing of the outer sides
  kCentreLines = 2,  // crossing of the centre lines
  kInnerCorner = 3,  // crossing of the inner sides
};

enum class ElbowConstruction { kRightAngle, kEqualWidth, kReducing };

struct ElbowInput {
  double w1 = 0.0;      // inlet width
  double w2 = 0.0;      // outlet width
  double r = 0.0;       // inner radius (outlet side of the 90-degree elbow)
  double rInlet = 0.0;  // inner radius on the inlet side of the 90-degree elbow
  double l1 = 0.0;      // straight length of the outlet leg
  double l2 = 0.0;      // straight length of the inlet leg
  double angle = 90.0;  // elbow angle in degrees
  // The two width fields hold the same text (not merely the same number).
  bool sameWidthText = true;
  ElbowBase base = ElbowBase::kCentreLines;
  bool mirror = false;
  bool turned = false;      // the whole drawing turned by 90 degrees
  bool outerSharp = false;  // outside of the bend as a sharp corner
  bool innerSharp = false;  // inside of the bend as a sharp corner
  double k1 = 0.0;          // angle width
  double k2 = 0.0;          // flange joint projection
  double k3 = 0.0;          // third common value (added to the flange distances of the extents)
};

struct ElbowResult {
  ElbowConstruction construction = ElbowConstruction::kRightAngle;
  // False when nothing could be drawn: a reducing elbow whose inlet is too
  // short for the width difference, or values that give no finite outline.
  bool built = false;
};

ElbowConstruction ChooseElbowConstruction(double angle, bool sameWidthText);

// Rebuilds `list` from scratch: clears it, sets its base offset, mirror,
// rotation and extra y offset, and adds the extents record and the records
// of the elbow in drawing order.
ElbowResult BuildElbow(RecordList& list, const ElbowInput& input);

// Pixels the larger extent of the elbow takes in the preview.
double ElbowPreviewNumerator(bool turned, double angle);

}  // namespace tavelin
