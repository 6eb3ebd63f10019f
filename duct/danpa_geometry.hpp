// A straight piece of square duct with a damper on it, in plan view: the
// duct, its joints, the blade frame and the figure of the damper type.
#pragma once

#include "framework/record_list.hpp"

namespace tavelin {

enum class DamperType {
  kNone = 0,
  kVolume = 1,    // VD: circle below the duct
  kMotor = 2,     // MD: box below the duct
  kCheck = 3,     // CD: square on an arm, triangle on the duct
  kFire = 4,      // FD: box with a line under it, optionally hatched
  kFireLong = 5,  // FD+: FD with a further piece and a joint
};

struct DanpaValues {
  DamperType type = DamperType::kNone;
  double l1 = 0.0;  // start of the piece to the damper axis
  double l2 = 0.0;  // damper axis to the end (FD+: to the joint)
  double l3 = 0.0;  // FD+: the added piece
  double w = 0.0;   // blade frame along the duct
  double a = 0.0;   // size of the figure below the duct
  double s = 0.0;   // inset of the blade frame from each duct side
  double d = 0.0;   // duct size
  int base = 1;     // base point 1 to 6 (the base radios in order); others: the start
  bool hatch = false;
};

// The total length of the piece.
double DanpaLength(const DanpaValues& values);

// The base offset (x, y) of the chosen base point.
Point DanpaBase(const DanpaValues& values);

// Clears `list`, resets its rotation and mirror, sets its base offset from the
// base point and adds the records of the type (none for no type).
void BuildDanpaRecords(RecordList& list, const DanpaValues& values, const CommonValues& common);

}  // namespace tavelin
