// The plan of a round flexible duct of a nominal diameter and an overall
// length, laid as an L-shaped bend or an S-shaped offset, plain metal or
// insulated, with optional bellows lines across it at a fixed pitch.
//
// The duct starts at the origin with a 50-long collar and runs along +x; the
// L bend turns clockwise (downwards) by 180 - ANG degrees, the S offset moves
// the far end sideways by Sv (downwards for a positive Sv). The overall length
// L is the length along the duct's centre line, collars included; the far end
// has a 50-long collar as well.
#pragma once

#include "framework/record_list.hpp"

namespace tavelin {

enum class FlexKind : int { kNone = 0, kMetal = 1, kInsulated = 2 };
enum class FlexShape : int { kNone = 0, kL = 1, kS = 2 };

struct FlexInput {
  FlexKind kind = FlexKind::kMetal;
  FlexShape shape = FlexShape::kL;
  double diameter = 0.0;      // D
  double length = 0.0;        // L, along the centre line
  double radiusFactor = 0.0;  // Rf: centre-line radius = Rf times the diameter
  double angle = 90.0;        // ANG: angle between the legs of the L, degrees
  double firstLeg = 0.0;      // A: start face to the corner of the L's legs
  double offset = 0.0;        // Sv: sideways offset of the S's far end
  bool bellows = false;
  double metalPitch = 0.0;      // P1
  double insulatedPitch = 0.0;  // P2
  bool sideBase = false;        // base point on the duct side instead of its centre
};

enum class FlexOutcome {
  kDrawn,
  kNothing,         // no length, no diameter, an angle out of range, no kind or shape
  kRadiusTooSmall,  // Rf below 1: "中心曲率半径は1.0以下は入力できません。"
  kLengthWrong,     // "Ｌが適正ではありません。"
  kFirstLegWrong,   // "Ａが適正ではありません。"
  kNoRoom,          // a metal S whose offset does not fit in its length: not drawn
  kBeyondDrawing,   // values not finite or beyond any drawing, or more lines than the list holds
};

// The collar at each end of the duct.
inline constexpr double kFlexCollar = 50.0;

// The checks that stop an update before any routine runs (L, D, Rf, ANG).
FlexOutcome FlexPrecheck(const FlexInput& input);

// 2 for the L bend with a first leg too short for the ordinary bend (a right
// angle and D Rf + 100 > A), else 1.
int FlexVariant(const FlexInput& input);

// Tangent length of the L bend: the distance from the corner of the legs to
// each end of the bend, cos(h) Rc / sin(h) with h half the angle.
double FlexTangent(double centreRadius, double angle);
// Centre-line length of the L bend, which turns by 180 - ANG degrees.
double FlexBendLength(double centreRadius, double angle);

// The limits behind kFirstLegWrong and kLengthWrong, the other values of
// `input` as they are: the shortest first leg A the L bend accepts, and the
// shortest overall length L its shape (L or S) accepts.
double FlexShortestFirstLeg(const FlexInput& input);
double FlexShortestLength(const FlexInput& input);

// Clears `list` (mirror and rotation 0, the base from the base point) and,
// when every check passes, adds the extents record and the duct's records.
FlexOutcome BuildFlex(RecordList& list, const FlexInput& input);

}  // namespace tavelin
