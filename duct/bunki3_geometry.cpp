#include "duct/bunki3_geometry.hpp"

#include "duct/branch_common.hpp"

namespace tavelin {

bool BuildBunki3(RecordList& list, const Bunki3Input& in, const CommonValues& common) {
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
  const double ft = in.f * in.t;
  const BranchFrame b = WithLeftTurn(MakeBranchFrame(in.wm, in.wb, in.f, in.a, common), in.t2, ft);
  const double xl = LeftFlangeX(b, in.t1, in.t2);
  const double o = in.wb / 2.0 + in.ht;

  w.Extents(b.x + b.k3, b.m + b.k1 + b.k3, b.f * (in.t2 + in.t1) + in.wm / 2.0 + b.k1 + b.k3,
            in.wb / 2.0 + in.ht + b.k3);
  RightFlange(w, b);
  MainFlange(w, b);
  LeftFlange(w, b, xl, in.t1, in.t2);
  TopFlange(w, b, in.ul, in.ur, o);
  RightAngleLine(w, b);
  MainAngleLine(w, b);
  LeftAngleLine(w, b, xl, in.t1, in.t2);
  TopAngleLine(w, b, in.ul, in.ur, o);
  RightEndRuns(w, b);
  LeftEndRuns(w, b, xl, in.t1, in.t2);
  TopEndRuns(w, b, in.ul, in.ur, o);

  const double leftPartition = in.wl - in.wm / 2.0;
  const double rightPartition = in.wm / 2.0 - in.wr;
  OutletWall(w, in.wm / 2.0 - in.wl >= in.ul, leftPartition, -b.m,
             LeftOutletSearch(b, in.wl, ft, in.t1, in.t2, in.ul, o));
  OutletWall(w, rightPartition >= in.ur, rightPartition, -b.m,
             RightOutletSearch(b, in.wr, in.ur, o));
  LeftWall(w, b, ft, in.t2);
  RightWall(w, b);
  LeftPartition(w, b, in.wl, ft, in.t1);
  RightPartition(w, b, in.wr);
  LeftInnerArc(w, b, ft, in.t2);
  LeftOuterArc(w, b, in.wl, ft, in.t1);
  RightInnerArc(w, b);
  RightOuterArc(w, b, in.wr);
  return w.Finish();
}

}  // namespace tavelin
