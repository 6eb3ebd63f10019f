// A run of up/down elbows in plan: the single up/down elbow repeated along
// the duct axis (+x) at a fixed pitch between section centres, all turning
// the same way or turning up and down in turn.
#pragma once

#include "duct/jyoge_geometry.hpp"

namespace tavelin {

enum class ElbowRunOrder : int {
  kNone = 0,
  kSame = 1,         // every elbow turns the way of the first
  kAlternating = 2,  // the first as chosen, the next the other way, and so on
};

struct ElbowRunInput {
  UpDownElbowInput first;  // the first elbow; its base point is the run's
  int count = 1;
  double pitch = 0.0;  // section centre to section centre
  ElbowRunOrder order = ElbowRunOrder::kSame;
};

inline constexpr int kMaxRunElbows = 20;

// The shortest pitch at which one elbow's duct end meets the next elbow's
// flange outline without overlapping it: L + X + the flange projection.
double MinimumRunPitch(const UpDownElbowShape& shape, const CommonValues& common);

// The way elbow `index` (from 0) turns.
ElbowTurn RunElbowTurn(ElbowTurn first, ElbowRunOrder order, int index);

// Rebuilds `list` with the whole run (extents record first). Returns false,
// leaving the list empty, when the count is outside 1 to kMaxRunElbows, the
// pitch is shorter than the minimum, no direction or order is chosen, a value
// is not finite, or the records would not fit the list.
bool BuildUpDownElbowRun(RecordList& list, const ElbowRunInput& input, const CommonValues& common);

}  // namespace tavelin
