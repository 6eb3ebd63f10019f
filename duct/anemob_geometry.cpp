#include "duct/anemob_geometry.hpp"

#include <vector>

namespace tavelin {
namespace {

// The lining: the box's right side unless the step lines already drew it,
// the inner square of half size W/2 - T, and the hatched box.
void AddLining(RecordList& list, const AnemoBValues& v, const CommonValues& common) {
  const double w = v.boxSize / 2.0;
  if (!v.stepLines) list.Line(kSolid, kDuctBody, w, -w, w, w);
  const double i = w - v.lining;
  list.Line(kDotted, kHiddenLine, -i, -i, -i, i);
  list.Line(kDotted, kHiddenLine, -i, i, i, i);
  list.Line(kDotted, kHiddenLine, i, i, i, -i);
  list.Line(kDotted, kHiddenLine, i, -i, -i, -i);
  const std::vector<Segment> edges = {
      {{-w, w}, {-w, -w}},
      {{w, w}, {-w, w}},
      {{w, -w}, {w, w}},
      {{-w, -w}, {w, -w}},
  };
  Hatch(list, edges, common.k4);
}

// The neck circle and the anemostat face below it.
void AddAnemostat(RecordList& list, const AnemoBValues& v) {
  list.AddArcRecord(2, kDotted, kHiddenLine, 0.0, 0.0, v.neck / 2.0, 0.0, 360.0);
  const double a = v.face / 2.0;
  if (v.anemostat == AnemostatFace::kRound) {
    list.AddArcRecord(2, kDotted, kFixtureLine, 0.0, 0.0, a, 0.0, 360.0);
  }
  if (v.anemostat == AnemostatFace::kSquare) {
    list.Line(kDotted, kFixtureLine, -a, -a, -a, a);
    list.Line(kDotted, kFixtureLine, -a, a, a, a);
    list.Line(kDotted, kFixtureLine, a, a, a, -a);
    list.Line(kDotted, kFixtureLine, a, -a, -a, -a);
  }
}

void BuildBoxAndDuct(RecordList& list, const AnemoBValues& v, const CommonValues& common) {
  const double w = v.boxSize / 2.0;
  const double h = v.ductWidth / 2.0;
  const double end = w + v.ductLength;
  list.SetExtents(w + common.k3 + v.ductLength, v.face / 2.0, v.face / 2.0, v.face / 2.0);
  // One outline from the duct's upper end round the box to its lower end; the
  // box side stays open where the duct joins it.
  list.Line(kSolid, kDuctBody, end, h, w, h);
  list.Line(kSolid, kDuctBody, w, h, w, w);
  list.Line(kSolid, kDuctBody, w, w, -w, w);
  list.Line(kSolid, kDuctBody, -w, w, -w, -w);
  list.Line(kSolid, kDuctBody, -w, -w, w, -w);
  list.Line(kSolid, kDuctBody, w, -w, w, -h);
  list.Line(kSolid, kDuctBody, w, -h, end, -h);
  if (v.shape == AnemoBShape::kSquareDuct) {
    list.Line(kSolid, kFlangeJoint, end, h + common.k2, end, -h - common.k2);
    list.Line(kSolid, kAngleWidth, end - common.k1, h, end - common.k1, -h);
  } else {
    // A round duct ends in a plain joint line across its width.
    list.Line(kSolid, kFlangeJoint, end, h, end, -h);
  }
  if (v.lined) AddLining(list, v, common);
  AddAnemostat(list, v);
}

void BuildPaddle(RecordList& list, const AnemoBValues& v, const CommonValues& common) {
  const double w = v.boxSize / 2.0;
  const double h = v.ductWidth / 2.0;
  const double end = w + v.paddleLength;    // the duct end
  const double taper = end - v.ductLength;  // where the taper meets the straight duct
  list.SetExtents(w + common.k3 + v.paddleLength, v.face / 2.0, v.face / 2.0, v.face / 2.0);
  list.Line(kSolid, kDuctBody, end, h, taper, h);
  list.Line(kSolid, kDuctBody, taper, h, w, w);
  list.Line(kSolid, kDuctBody, w, w, -w, w);
  list.Line(kSolid, kDuctBody, -w, w, -w, -w);
  list.Line(kSolid, kDuctBody, -w, -w, w, -w);
  list.Line(kSolid, kDuctBody, w, -w, taper, -h);
  list.Line(kSolid, kDuctBody, taper, -h, end, -h);
  if (v.stepLines) {
    list.Line(kSolid, kDuctBody, taper, -h, taper, h);
    list.Line(kSolid, kDuctBody, w, -w, w, w);
  }
  list.Line(kSolid, kFlangeJoint, end, h + common.k2, end, -h - common.k2);
  list.Line(kSolid, kAngleWidth, end - common.k1, h, end - common.k1, -h);
  if (v.lined) AddLining(list, v, common);
  AddAnemostat(list, v);
}

}  // namespace

void BuildAnemoBRecords(RecordList& list, const AnemoBValues& values, const CommonValues& common) {
  list.Clear();
  switch (values.shape) {
    case AnemoBShape::kPaddle:
      BuildPaddle(list, values, common);
      break;
    case AnemoBShape::kSquareDuct:
    case AnemoBShape::kRoundDuct:
      BuildBoxAndDuct(list, values, common);
      break;
    case AnemoBShape::kNone:
      break;
  }
}

}  // namespace tavelin
