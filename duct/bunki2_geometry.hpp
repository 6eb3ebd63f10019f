// A branch cut into a square main duct that comes up the negative y axis,
// with the reference branch leaving along +x: two-way (a partition divides the
// main duct into a straight part up to a top outlet and a part turning right),
// both ways (a left and a right turn) or a T (undivided, under one straight
// top wall).
#pragma once

#include "framework/record_list.hpp"

namespace tavelin {

enum class BranchType : int { kNone = 0, kTwoWay = 1, kBothWays = 2, kTee = 3 };

struct Bunki2Input {
  BranchType type = BranchType::kTwoWay;
  double wm = 0.0;               // main duct width
  double wl = 0.0;               // left part of the main duct (two-way, both ways)
  double wr = 0.0;               // right part of the main duct (two-way, both ways)
  double wb = 0.0;               // right branch width
  double f = 0.0;                // inner radius as a multiple of the branch width
  double a = 0.0;                // straight run at the arc ends, flange joint included
  double t = 0.0;                // left branch width (both ways, T)
  double t1 = 0.0;               // part of the left branch above its axis
  double t2 = 0.0;               // part of the left branch below its axis
  double u = 0.0;                // top outlet width (two-way)
  double ul = 0.0;               // part of the top outlet left of the main duct's centre line
  double ur = 0.0;               // part of the top outlet right of it
  double ht = 0.0;               // height of the top flange above the branch axis
  bool innerCornerBase = false;  // base point on the right branch's inner corner
  bool mirror = false;
  double rotation = 0.0;
};

// Clears `list`, sets its base offset, mirror and rotation, and adds the
// extents record and the records of the type in drawing order. Returns false
// (leaving the list empty) when there is no type or the values give no
// finite drawing.
bool BuildBunki2(RecordList& list, const Bunki2Input& input, const CommonValues& common);

}  // namespace tavelin
