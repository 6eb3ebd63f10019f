// The duct up-down in plan view: the duct steps up or down by a small rise
// in an S-shaped offset, runs on as a middle part (which may be wider and
// set sideways) and, unless one offset only is asked for, steps back again.
#pragma once

#include <string>

#include "framework/record_list.hpp"

namespace tavelin {

struct UpdownInput {
  double w1 = 0.0;   // width of the end ducts
  double w2 = 0.0;   // width of the middle part
  double of = 0.0;   // the middle part's negative side beyond the end duct's side
  double h1 = 0.0;   // height of the end ducts
  double h2 = 0.0;   // height of the middle part
  double v = 0.0;    // rise between end duct and middle part
  double s1 = 0.0;   // straight lengths of each offset
  double s2 = 0.0;
  double m = 0.0;    // middle stretch
  bool lower = true;       // the middle part lies lower ("下側"), else higher
  bool bothSides = true;   // "両側": the second offset too
  bool midFlange = false;  // flange joint at the first offset's end
  int base = 1;            // 1 to 4: end centre, end side, offset end centre, offset end side
};

enum class UpdownOutcome {
  kBuilt,
  kRiseTooLarge,  // the rise exceeds what the heights can take: the run has no length
  kRiseTooSmall,  // the rise is less than the heights' difference: no run either
  kOutOfRange,    // values no drawing can hold (not finite or absurdly large)
};

struct UpdownResult {
  UpdownOutcome outcome = UpdownOutcome::kOutOfRange;
  double run = 0.0;    // R
  double total = 0.0;  // Ltot
};

// round(√((H2/2 + 1.5 H1)² − ((1.5 H2 + H1/2) − V)²)), the integer part of
// its "%f" text plus 1 when the first decimal is 5 or more. NaN when the
// value under the root is negative.
double UpdownRun(double h1, double h2, double v);

// Whether the values make a fitting, without drawing it.
UpdownOutcome CheckUpdown(const UpdownInput& input, const CommonValues& common);

// Clears `list`, sets its base offset and adds the records of the fitting.
// Without a run (kRiseTooLarge, kRiseTooSmall, kOutOfRange) the list stays empty.
UpdownResult BuildUpdown(RecordList& list, const UpdownInput& input, const CommonValues& common);

}  // namespace tavelin
