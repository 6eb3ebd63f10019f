#include "duct/tuki_geometry.hpp"

#include "duct/branch_common.hpp"

namespace tavelin {

bool BuildTuki(RecordList& list, const TukiInput& in, const CommonValues& common) {
  list.Clear();
  list.extraY = 0.0;
  list.mirror = in.mirror ? 1 : 0;
  list.rotation = 270.0;
  CheckedRecords w(list);
  const double h = in.w / 2.0;
  const double a = in.a, b = in.b, c = in.c, e = in.e;
  const double k1 = common.k1, k2 = common.k2;
  w.Base(in.sideBase ? h : 0.0, 0.0);
  w.Extents(h, 0.0, h + c, a + common.k3);

  if (in.hopper) {
    w.Line(kDuctBody, {-h, a}, {-h, a - b});
    w.Line(kDuctBody, {-h, a - b}, {-h - c, b});
    w.Line(kDuctBody, {-h - c, b}, {-h - c, e});
  } else {
    w.Line(kDuctBody, {-h, a}, {-h, e});
  }
  if (in.squareToRound) {
    const double x6 = in.hopper ? -h - c : -h;
    w.Line(kDuctBody, {-h, a - b}, {h, a - b});
    w.Line(kDuctBody, {x6, b}, {h, b});
    w.Line(kDuctBody, {0.0, a - b}, {x6, b});
    w.Line(kDuctBody, {0.0, a - b}, {h, b});
  }
  w.Line(kDuctBody, {h, a}, {h, e});
  if (in.squareToRound) {
    w.Line(kFlangeJoint, {-h, a}, {h, a});
  } else {
    w.Line(kFlangeJoint, {-h - k2, a}, {h + k2, a});
  }
  if (in.hopper) {
    w.Line(kFlangeJoint, {-h - c - k2, e}, {h + k2, e});
  } else {
    w.Line(kFlangeJoint, {-h - k2, e}, {h + k2, e});
  }
  if (k1 != 0.0) {
    if (!in.squareToRound) w.Line(kAngleWidth, {-h, a - k1}, {h, a - k1});
    if (in.hopper) {
      w.Line(kAngleWidth, {-h - c, k1}, {h, k1});
    } else {
      w.Line(kAngleWidth, {-h, k1}, {h, k1});
    }
  }
  return w.Finish();
}

}  // namespace tavelin
