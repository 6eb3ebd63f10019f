// A three-way branch cut into a square main duct that comes up the negative y
// axis: two partitions divide it into a left part turning into a branch along
// -x, a middle part running straight up to a top outlet, and a right part
// turning into the reference branch along +x.
#pragma once

#include "framework/record_list.hpp"

namespace tavelin {

struct Bunki3Input {
  double wm = 0.0;               // main duct width
  double wl = 0.0;               // left part of the main duct
  double wr = 0.0;               // right part of the main duct (the middle part is the rest)
  double wb = 0.0;               // right branch width
  double f = 0.0;                // inner radius as a multiple of the branch width
  double a = 0.0;                // straight run at the arc ends, flange joint included
  double t = 0.0;                // left branch width
  double t1 = 0.0;               // part of the left branch above its axis
  double t2 = 0.0;               // part of the left branch below its axis
  double ul = 0.0;               // part of the top outlet left of the main duct's centre line
  double ur = 0.0;               // part of the top outlet right of it
  double ht = 0.0;               // height of the top flange above the branch axis
  bool innerCornerBase = false;  // base point on the right branch's inner corner
  bool mirror = false;
  double rotation = 0.0;
};

// Clears `list`, sets its base offset, mirror and rotation, and adds the
// extents record and the fitting's records in drawing order. Returns false
// (leaving the list empty) when the values give no finite drawing.
bool BuildBunki3(RecordList& list, const Bunki3Input& input, const CommonValues& common);

}  // namespace tavelin
