// The plan of a ceiling anemostat fed through a round neck unit: the round
// body with the neck and the anemostat face in its centre, and a straight
// stub of duct leaving the body to the right, ending in a flange line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/record_list.hpp"

namespace tavelin {

enum class AnemoUFace { kNone = 0, kRound = 1, kSquare = 2 };

struct AnemoUInput {
  double body = 0.0;        // P: diameter of the round body
  double stubLength = 0.0;  // B: stub beyond the body circle
  double neck = 0.0;        // D: neck diameter
  double face = 0.0;        // A: anemostat face (diameter or side)
  double stubWidth = 0.0;   // H
  double angle = 0.0;       // rotation in degrees
  bool mirror = false;
  AnemoUFace anemostat = AnemoUFace::kNone;
};

// Where the stub's sides meet the body circle, measured from its centre along
// the stub. A stub as wide as the body or wider never meets the circle; its
// sides then run to the body's centre line (0).
double AnemoUStubStart(const AnemoUInput& input);

// Clears `list`, sets its mirror and rotation (the base stays at the body's
// centre) and adds the extents record and the records. Values that are not
// finite or beyond any drawing leave the list empty and return false.
bool BuildAnemoU(RecordList& list, const AnemoUInput& input, const CommonValues& common);

// One line of the anemostat size file: size text, neck, body, round face,
// square face.
struct AnemoSize {
  std::string neck;
  std::string body;
  std::string roundFace;
  std::string squareFace;
};

// The entry of `size` among the lines of the size file; when several lines
// name it, the last one counts.
std::optional<AnemoSize> FindAnemoSize(const std::vector<std::string>& lines,
                                       const std::string& size);

}  // namespace tavelin
