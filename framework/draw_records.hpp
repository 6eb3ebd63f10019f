// The records of "DrawData.txt": the extents record, line records
//   1,style,colour,x1,y1,x2,y2,line type,layer,
// and arc records
//   2,style,colour,cx,cy,r,start,end,line type,layer,
// which the duct generators and the part menu write alike (the part menu puts
// a line type number in the style field, which only the preview uses), and
// the single line "CK" of the straight duct.
#pragma once

#include <string_view>

#include "framework/block_entities.hpp"

namespace tavelin::blockbuilder {

enum class RecordKind {
  kEntity,        // a line, arc or circle
  kExtents,       // "50,...": the fitting's extents, not drawn
  kBlank,         // an empty line
  kStraightDuct,  // "CK": the straight duct, drawn from its settings
  kSkipped,       // refused; the reason is in the log
};

struct ParsedRecord {
  RecordKind kind = RecordKind::kSkipped;
  Entity entity;
};

// A strict number: the whole field (blanks around it allowed) is one finite
// decimal number. Unlike the dialogs' lenient conversion, "12abc" is refused,
// so a damaged record is skipped instead of being drawn at a wrong place.
bool ParseNumber(std::string_view text, double* value);

// A colour index 1 to 255: the leading integer of the text, as the attribute
// dialogs read the colour when they check it, so "3x" they let through is 3.
bool ParseColour(std::string_view text, int* colour);

// `degrees` brought into [0, 360).
double NormalizeAngle(double degrees);

// One record of line `lineNumber` (from 1). A record that cannot be drawn is
// skipped with a log line; an unusable colour is drawn in colour 7 and logged.
ParsedRecord ParseRecord(std::string_view line, int lineNumber, BuildLog& log);

// The colour of an attribute text, or 7 with a log line naming `where`.
int ColourOrDefault(std::string_view text, std::string_view where, BuildLog& log);

}  // namespace tavelin::blockbuilder
