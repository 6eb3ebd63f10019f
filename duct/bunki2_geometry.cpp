#include "duct/bunki2_geometry.hpp"

#include "duct/branch_common.hpp"

namespace tavelin {
namespace {

void BuildTwoWay(CheckedRecords& w, const Bunki2Input& in, const BranchFrame& b) {
  const double o = in.wb / 2.0 + in.ht;  // the top flange line
  w.Extents(b.x + b.k3, b.m + b.k3 + b.k1, b.f * (in.t2 + in.t1) + in.wm / 2.0 + b.k3 + b.k1,
            in.wb / 2.0 + b.k3 + in.ht);
  RightFlange(w, b);
  MainFlange(w, b);
  TopFlange(w, b, in.ul, in.ur, o);
  RightAngleLine(w, b);
  MainAngleLine(w, b);
  TopAngleLine(w, b, in.ul, in.ur, o);
  RightEndRuns(w, b);
  TopEndRuns(w, b, in.ul, in.ur, o);
  // The left wall runs straight from the main duct's flange to the outlet.
  w.Line(kDuctBody, {-in.ul, o - in.a}, {-in.wm / 2.0, b.n});
  const double partition = in.wm / 2.0 - in.wr;
  OutletWall(w, partition >= in.ur, partition, b.n + b.k1, RightOutletSearch(b, in.wr, in.ur, o));
  RightWall(w, b);
  RightPartition(w, b, in.wr);
  RightInnerArc(w, b);
  RightOuterArc(w, b, in.wr);
}

void BuildBothWays(CheckedRecords& w, const Bunki2Input& in, const BranchFrame& b, double xl) {
  const double ft = in.f * in.t;
  w.Extents(b.x + b.k3, b.m + b.k3 + b.k1, b.f * (in.t2 + in.t1) + in.wm / 2.0 + b.k3 + b.k1,
            in.wb / 2.0);
  RightFlange(w, b);
  MainFlange(w, b);
  LeftFlange(w, b, xl, in.t1, in.t2);
  RightAngleLine(w, b);
  MainAngleLine(w, b);
  LeftAngleLine(w, b, xl, in.t1, in.t2);
  RightEndRuns(w, b);
  LeftEndRuns(w, b, xl, in.t1, in.t2);
  LeftWall(w, b, ft, in.t2);
  RightWall(w, b);
  LeftPartition(w, b, in.wl, ft, in.t1);
  RightPartition(w, b, in.wr);
  LeftInnerArc(w, b, ft, in.t2);
  LeftOuterArc(w, b, in.wl, ft, in.t1);
  RightInnerArc(w, b);
  RightOuterArc(w, b, in.wr);
}

void BuildTee(CheckedRecords& w, const Bunki2Input& in, const BranchFrame& b, double xl) {
  const double ft = in.f * in.t;
  w.Extents(b.x + b.k3, b.m + b.k3 + b.k1, b.f * (in.t2 + in.t1) + in.wm / 2.0 + b.k3 + b.k1,
            in.wb / 2.0);
  RightFlange(w, b);
  MainFlange(w, b);
  LeftFlange(w, b, xl, in.t1, in.t2);
  RightAngleLine(w, b);
  MainAngleLine(w, b);
  LeftAngleLine(w, b, xl, in.t1, in.t2);
  RightEndRuns(w, b);
  LeftEndRuns(w, b, xl, in.t1, in.t2);
  // One straight top wall from flange to flange, level with the right branch.
  w.Line(kDuctBody, {xl, in.wb / 2.0}, {b.x, in.wb / 2.0});
  LeftWall(w, b, ft, in.t2);
  RightWall(w, b);
  LeftInnerArc(w, b, ft, in.t2);
  RightInnerArc(w, b);
}

}  // namespace

bool BuildBunki2(RecordList& list, const Bunki2Input& in, const CommonValues& common) {
  list.Clear();
  list.extraY = 0.0;
  list.mirror = in.mirror ? 1 : 0;
  list.rotation = in.rotation;
  CheckedRecords w(list);
  if (in.innerCornerBase) {
    w.Base(in.wm / 2.0, in.wb / 2.0);
  } else {
    w.Base(0.0, 0.0);
  }
  BranchFrame b = MakeBranchFrame(in.wm, in.wb, in.f, in.a, common);
  switch (in.type) {
    case BranchType::kTwoWay:
      BuildTwoWay(w, in, b);
      break;
    case BranchType::kBothWays:
      b = WithLeftTurn(b, in.t2, in.f * in.t);
      BuildBothWays(w, in, b, LeftFlangeX(b, in.t1, in.t2));
      break;
    case BranchType::kTee:
      b = WithLeftTurn(b, in.t2, in.f * in.t);
      BuildTee(w, in, b, LeftFlangeX(b, in.t1, in.t2));
      break;
    case BranchType::kNone:
      return false;
  }
  return w.Finish();
}

}  // namespace tavelin
