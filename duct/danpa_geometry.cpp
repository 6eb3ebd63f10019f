#include "duct/danpa_geometry.hpp"

#include <cmath>
#include <vector>

namespace tavelin {
namespace {

// The CD triangle: sides of 80 at 30 degrees, set 15 past the axis.
constexpr double kTriangleSide = 80.0;
constexpr double kTriangleHalf = 40.0;
constexpr double kTriangleOffset = 15.0;
constexpr double kThirtyDegrees = 0.5235986666666667;
// The FD line under the box.
constexpr double kFireLineGap = 15.0;

void AddDuct(RecordList& list, const DanpaValues& v, const CommonValues& k) {
  const double h = v.d / 2.0;
  const double length = DanpaLength(v);
  const double joint = v.l1 + v.l2;
  const bool longPiece = v.type == DamperType::kFireLong;
  list.Line(kSolid, kDuctBody, 0.0, h, length, h);
  list.Line(kSolid, kDuctBody, 0.0, -h, length, -h);
  list.Line(kSolid, kAngleWidth, k.k1, h, k.k1, -h);
  list.Line(kSolid, kAngleWidth, length - k.k1, h, length - k.k1, -h);
  if (longPiece) {
    list.Line(kSolid, kAngleWidth, joint - k.k1, h, joint - k.k1, -h);
    list.Line(kSolid, kAngleWidth, joint + k.k1, h, joint + k.k1, -h);
  }
  list.Line(kSolid, kFlangeJoint, 0.0, h + k.k2, 0.0, -h - k.k2);
  list.Line(kSolid, kFlangeJoint, length, h + k.k2, length, -h - k.k2);
  if (longPiece) list.Line(kSolid, kFlangeJoint, joint, h + k.k2, joint, -h - k.k2);

  // The blade frame: centred on the axis, except for the CD, which starts there.
  const double a = v.type == DamperType::kCheck ? v.l1 : v.l1 - v.w / 2.0;
  const double b = v.type == DamperType::kCheck ? v.l1 + v.w : v.l1 + v.w / 2.0;
  list.Line(kDotted, kHiddenLine, a, v.s - h, a, h - v.s);
  list.Line(kDotted, kHiddenLine, a, h - v.s, b, h - v.s);
  list.Line(kDotted, kHiddenLine, b, h - v.s, b, v.s - h);
  list.Line(kDotted, kHiddenLine, b, v.s - h, a, v.s - h);
}

void AddVolume(RecordList& list, const DanpaValues& v, const CommonValues& k) {
  const double h = v.d / 2.0;
  list.AddArcRecord(2, kSolid, kDuctBody, v.l1, -h - v.a, v.a / 2.0, 0.0, 360.0);
  list.Line(kChain, kCentreLine, v.l1 - v.a, -h - v.a, v.l1 + v.a, -h - v.a);
  list.Line(kChain, kCentreLine, v.l1, -h - 2.0 * v.a, v.l1, h + k.k2);
}

void AddMotor(RecordList& list, const DanpaValues& v, const CommonValues& k) {
  const double h = v.d / 2.0;
  const double left = v.l1 - v.a / 2.0;
  const double right = v.l1 + v.a / 2.0;
  list.Line(kSolid, kDuctBody, left, -h, left, -h - v.a);
  list.Line(kSolid, kDuctBody, left, -h - v.a, right, -h - v.a);
  list.Line(kSolid, kDuctBody, right, -h - v.a, right, -h);
  list.Line(kChain, kCentreLine, v.l1, -h - v.a - k.k2, v.l1, h + k.k2);
}

void AddCheck(RecordList& list, const DanpaValues& v, const CommonValues& k) {
  const double h = v.d / 2.0;
  const double a = v.a;
  const double left = v.l1 - 2.5 * a;
  const double right = v.l1 - 1.5 * a;
  list.Line(kSolid, kDuctBody, left, -h - 2.0 * a, left, -h - a);
  list.Line(kSolid, kDuctBody, left, -h - a, right, -h - a);
  list.Line(kSolid, kDuctBody, right, -h - a, right, -h - 2.0 * a);
  list.Line(kSolid, kDuctBody, right, -h - 2.0 * a, left, -h - 2.0 * a);
  list.Line(kSolid, kDuctBody, right, -h - 1.5 * a, DanpaLength(v) / 2.0, -h - 1.5 * a);
  // The triangle keeps its size whatever the duct.
  const double x = v.l1 + kTriangleOffset;
  const double apex = x + kTriangleSide * std::cos(kThirtyDegrees);
  list.Line(kSolid, kDuctBody, x, -kTriangleHalf, x, kTriangleHalf);
  list.Line(kSolid, kDuctBody, x, kTriangleHalf, apex, 0.0);
  list.Line(kSolid, kDuctBody, apex, 0.0, x, -kTriangleHalf);
  list.Line(kChain, kCentreLine, v.l1, -h - 2.0 * a, v.l1, h + k.k2);
}

void AddFire(RecordList& list, const DanpaValues& v, const CommonValues& k) {
  const double h = v.d / 2.0;
  const double a = v.a;
  list.Line(kSolid, kDuctBody, v.l1 - a, -h, v.l1 - a, -h - a);
  list.Line(kSolid, kDuctBody, v.l1 - a, -h - a, v.l1 + a, -h - a);
  list.Line(kSolid, kDuctBody, v.l1 + a, -h - a, v.l1 + a, -h);
  list.Line(kSolid, kDuctBody, v.l1 - a, -h - a - kFireLineGap, v.l1 + 2.0 * a,
       -h - a - kFireLineGap);
  list.Line(kChain, kCentreLine, v.l1, -h - a - k.k2, v.l1, h + k.k2);
  if (v.hatch) {
    // The whole piece, the added piece of the FD+ included.
    const double length = DanpaLength(v);
    const std::vector<Segment> edges = {
        {{0.0, -h}, {0.0, h}},
        {{0.0, h}, {length, h}},
        {{length, h}, {length, -h}},
        {{length, -h}, {0.0, -h}},
    };
    Hatch(list, edges, k.k4);
  }
}

}  // namespace

double DanpaLength(const DanpaValues& values) {
  double length = values.l1 + values.l2;
  if (values.type == DamperType::kFireLong) length += values.l3;
  return length;
}

Point DanpaBase(const DanpaValues& values) {
  const double h = values.d / 2.0;
  // The second column: the axis for VD and MD, the end for CD and FD, the
  // joint for FD+; the third column (FD+ only): the end.
  double second = DanpaLength(values);
  if (values.type == DamperType::kVolume || values.type == DamperType::kMotor) second = values.l1;
  if (values.type == DamperType::kFireLong) second = values.l1 + values.l2;
  const bool longPiece = values.type == DamperType::kFireLong;
  switch (values.base) {
    case 2:
      return {0.0, h};
    case 3:
      return {second, 0.0};
    case 4:
      return {second, h};
    case 5:
      return longPiece ? Point{DanpaLength(values), 0.0} : Point{0.0, 0.0};
    case 6:
      return longPiece ? Point{DanpaLength(values), h} : Point{0.0, 0.0};
    default:
      return {0.0, 0.0};
  }
}

void BuildDanpaRecords(RecordList& list, const DanpaValues& values, const CommonValues& common) {
  list.Clear();
  list.rotation = 0.0;
  list.mirror = 0;
  const Point base = DanpaBase(values);
  list.baseX = base.x;
  list.baseY = base.y;
  if (values.type == DamperType::kNone) return;
  const double h = values.d / 2.0;
  list.SetExtents(DanpaLength(values), h, 0.0, h);
  AddDuct(list, values, common);
  switch (values.type) {
    case DamperType::kVolume:
      AddVolume(list, values, common);
      break;
    case DamperType::kMotor:
      AddMotor(list, values, common);
      break;
    case DamperType::kCheck:
      AddCheck(list, values, common);
      break;
    case DamperType::kFire:
    case DamperType::kFireLong:
      AddFire(list, values, common);
      break;
    case DamperType::kNone:
      break;
  }
}

}  // namespace tavelin
