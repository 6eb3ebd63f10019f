#include "duct/jyoge2_geometry.hpp"

#include <cmath>

namespace tavelin {

double MinimumRunPitch(const UpDownElbowShape& shape, const CommonValues& common) {
  return shape.l + shape.x + common.k2;
}

ElbowTurn RunElbowTurn(ElbowTurn first, ElbowRunOrder order, int index) {
  if (order != ElbowRunOrder::kAlternating || index % 2 == 0 || first == ElbowTurn::kNone) {
    return first;
  }
  return first == ElbowTurn::kUp ? ElbowTurn::kDown : ElbowTurn::kUp;
}

bool BuildUpDownElbowRun(RecordList& list, const ElbowRunInput& in, const CommonValues& common) {
  // The first elbow sets the transformation and the extents of one elbow.
  UpDownElbowInput first = in.first;
  if (!BuildUpDownElbow(list, first, common)) return false;
  const bool usable = in.count >= 1 && in.count <= kMaxRunElbows &&
                      in.order != ElbowRunOrder::kNone && std::isfinite(in.pitch) &&
                      (in.count == 1 || in.pitch >= MinimumRunPitch(first.shape, common));
  list.Clear();
  if (!usable) return false;
  const UpDownElbowShape& s = first.shape;
  list.SetExtents((in.count - 1) * in.pitch + s.l + s.x / 2.0 + common.k3, s.y / 2.0, s.x / 2.0,
                  s.y / 2.0);
  for (int i = 0; i < in.count; ++i) {
    UpDownElbowShape elbow = s;
    elbow.turn = RunElbowTurn(s.turn, in.order, i);
    if (!AddUpDownElbowRecords(list, elbow, common, i * in.pitch) || list.Overflowed()) {
      list.Clear();
      return false;
    }
  }
  return true;
}

}  // namespace tavelin
