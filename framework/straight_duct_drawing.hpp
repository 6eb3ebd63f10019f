// The straight duct ("CK" in "DrawData.txt"): the generator stores only its
// settings in "Choku.ini", and the block is drawn here from them, from the
// duct attributes of "DakutoSet.ini" and from the common values of
// "KyotuSet.ini".
//
// The duct runs along x with its centre line on y = 0. Its two body lines are
// the overall length long and the size apart. A joint is a flange joint line
// across the duct, projecting K2 beyond each body line, with an angle-width
// line K1 inside it on the side of each duct piece it holds: one at an end
// joint, one each side at a joint between two pieces. Joints stand at the
// left end, every pitch from there, and at the right end.
#pragma once

#include <string>
#include <vector>

#include "framework/block_entities.hpp"

namespace tavelin::blockbuilder {

enum class BasePoint { kLeftEnd = 1, kMiddle = 2, kRightEnd = 3 };
enum class DuctDrawing { kDuctLinesOnly = 1, kJointsOnly = 2, kBoth = 3 };

struct StraightDuct {
  double pitch = 0.0;                         // line 1
  double size = 0.0;                          // line 2: the distance between the body lines
  BasePoint basePoint = BasePoint::kLeftEnd;  // line 3
  bool leftJoint = false;                     // line 4
  bool rightJoint = false;                    // line 5
  DuctDrawing drawing = DuctDrawing::kBoth;   // line 6
  bool fixed45 = false;                       // line 7, a hidden option; it changes nothing
  double length = 0.0;                        // line 8
};

// The lines of "Choku.ini"; a choice that is missing or unknown takes the
// default above and is logged.
StraightDuct ReadStraightDuct(const std::vector<std::string>& lines, BuildLog& log);

struct DuctStyle {
  EntityAttributes body;         // element 1 of "DakutoSet.ini"
  EntityAttributes angleWidth;   // element 2
  EntityAttributes flangeJoint;  // element 3
  double k1 = 0.0;               // angle width, line 1 of "KyotuSet.ini"
  double k2 = 0.0;               // flange joint projection, line 2
};

// From the lines of "DakutoSet.ini" (layer-line type-colour) and "KyotuSet.ini".
DuctStyle ReadDuctStyle(const std::vector<std::string>& dakutoSet,
                        const std::vector<std::string>& kyotuSet, BuildLog& log);

// More joints than this are taken for a mistyped pitch.
inline constexpr int kMaxJoints = 2000;

// Appends the duct's entities to `out`; false, adding nothing and logging the
// reason, when the settings describe no drawable duct.
bool DrawStraightDuct(const StraightDuct& duct, const DuctStyle& style, std::vector<Entity>& out,
                      BuildLog& log);

}  // namespace tavelin::blockbuilder
