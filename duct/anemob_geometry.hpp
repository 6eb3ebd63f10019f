// The plan view of a square plenum box with a ceiling anemostat in its centre
// and the duct that feeds it from the right, as drawing records.
#pragma once

#include "framework/record_list.hpp"

namespace tavelin {

enum class AnemoBShape {
  kNone = 0,        // no geometry at all
  kPaddle = 1,      // the box side tapers into the duct
  kSquareDuct = 2,  // box with a square duct joined to its side
  kRoundDuct = 3,   // box with a round duct joined to its side
};

enum class AnemostatFace { kNone = 0, kSquare = 1, kRound = 2 };

struct AnemoBValues {
  double boxSize = 0.0;       // W: the box is W by W
  double ductLength = 0.0;    // B: the connecting duct (paddle: its straight part)
  double paddleLength = 0.0;  // L: paddle only, box side to duct end
  double neck = 0.0;          // D: neck diameter
  double face = 0.0;          // A: face size of the anemostat
  double ductWidth = 0.0;     // H
  double lining = 0.0;        // T: lining thickness
  AnemoBShape shape = AnemoBShape::kNone;
  AnemostatFace anemostat = AnemostatFace::kNone;
  bool stepLines = false;  // draw the step lines
  bool lined = false;      // inner lining with hatching
};

// Clears `list` and adds the fitting's records (extents record first). The
// list's mirror and rotation must be set beforehand; its base stays as set.
// With no shape the list stays empty.
void BuildAnemoBRecords(RecordList& list, const AnemoBValues& values, const CommonValues& common);

}  // namespace tavelin
