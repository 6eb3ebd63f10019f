// The raised duct in plan view: a lower bend, an inclined stretch and an
// upper bend between two straight ends, seen from above. Either the bend
// angle is given and the overall plan length follows, or the overall length
// is given and the angle that comes closest is searched in steps of 0.1
// degree.
#pragma once

#include <string>

#include "framework/record_list.hpp"

namespace tavelin {

enum class FuriageMode : int {
  kNone = 0,    // neither radio set: nothing is drawn
  kAngle = 1,   // "角度指定"
  kLength = 2,  // "全長指定"
};

struct FuriageInput {
  FuriageMode mode = FuriageMode::kAngle;
  double w = 0.0;       // duct width
  double h = 0.0;       // duct height
  double f = 0.0;       // raise height
  double r1 = 0.0;      // lower end to the start of the lower bend
  double r2 = 0.0;      // upper end to the start of the upper bend
  double t = 0.0;       // flange margin of the bend joints
  double angle = 0.0;   // bend angle, degrees
  double length = 0.0;  // overall plan length asked for ("全長指定")
  double factor = 0.5;  // inner radius as a share of the duct height
  bool upper = false;   // the upper bend's flange
  bool lower = false;   // the lower bend's flange
  bool hidden = false;  // hidden lines of the bends whose flange is drawn
  int base = 1;         // 1 to 6: left end top, centre, bottom; right end the same
};

struct FuriageResult {
  bool built = false;       // false: the list holds no drawing
  bool searched = false;    // the angle came from the length search
  double angle = 0.0;       // the angle the outline was drawn with
  double length = 0.0;      // the rounded overall plan length
  std::string angleText;    // for the angle edit, after a search
  std::string targetText;   // the rounded target length, after a search
  std::string lengthText;   // for the length edit, when built
};

// The integer part (toward zero) rounded to a multiple of 10 by its units
// digit: 1234.9 -> 1230, 1235.2 -> 1240.
double RoundedLength(double value);

// "%f" cut after its first decimal when that decimal is not 0, else the
// integer part: 37.3 -> "37.3", 40.0 -> "40".
std::string OneDecimalText(double value);

// The overall plan length, before rounding, for a bend angle in degrees;
// NaN when the angle gives none (no slope, or values out of range).
double FuriageRawLength(const FuriageInput& input, double angleDegrees);

// The angle from 0.1 to 89.9 degrees whose length comes closest to the
// target, stopping at the first within 1; 45 when none comes within 1000.
double SearchFuriageAngle(const FuriageInput& input, double target);

// Clears `list` and sets its base offset; draws the fitting for the input's
// mode (a search first with "全長指定", the outline then drawn with the angle
// as its edit shows it).
FuriageResult BuildFuriage(RecordList& list, const FuriageInput& input, const CommonValues& common);

}  // namespace tavelin
