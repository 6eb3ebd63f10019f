// The short duct and reducer in plan: a large end and a small end, each with
// a straight stretch of the same length, joined by a taper. The small end is
// either square (with its own flange) or the start of a round duct. Drawn
// along +y from the large end and turned a quarter turn clockwise, so the
// finished block runs along +x.
#pragma once

#include "framework/record_list.hpp"

namespace tavelin {

enum class ReducerShape : int {
  kNone = 0,    // no shape radio set: nothing is drawn
  kSquare = 1,  // "角-角"
  kRound = 2,   // "角-丸"
};

// The base point, in the order of the settings file.
enum class ReducerBase : int {
  kNone = 0,         // no radio set: no offset
  kLargeCentre = 1,  // centre of the large end
  kLargeCorner = 2,  // positive-x corner of the large end
  kSmallCentre = 3,  // centre of the small end
  kSmallCorner = 4,  // positive-x corner of the small end
};

struct ReducerInput {
  double w1 = 0.0;  // width of the large end
  double w2 = 0.0;  // width (or diameter) of the small end; only the dialog uses it
  double p = 0.0;   // small end's negative-x side from the centre line
  double q = 0.0;   // small end's positive-x side from the centre line
  double s = 0.0;   // straight stretch at each end
  double l = 0.0;   // overall length
  ReducerShape shape = ReducerShape::kSquare;
  ReducerBase base = ReducerBase::kLargeCentre;
  bool mirror = false;
};

// The overall length the size-change coefficient gives: the size step floored
// to whole multiples of 50, plus both straight stretches. The coefficient 0
// leaves the length to the user (the caller keeps the typed one).
double ReducerLength(double w1, double w2, double coefficient, double straight);

// The smallest coefficient, in tenths, whose length is at least `length`;
// 0 when no coefficient reaches it (equal or widening sizes, values beyond
// any drawing).
double CoefficientForLength(double w1, double w2, double straight, double length);

// Rebuilds `list`: clears it, turns it by 270 degrees, sets the mirror and
// the base offset, and adds the extents record and the outline. Returns false,
// leaving the list empty, when no shape is chosen or a value is not finite.
bool BuildReducer(RecordList& list, const ReducerInput& input, const CommonValues& common);

}  // namespace tavelin
