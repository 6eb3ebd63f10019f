// What the block builder makes of the hand-off files: the entities of one
// block, each carrying the layer, line type and colour of its record, and the
// log of everything that was refused or skipped on the way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavelin::blockbuilder {

struct EntityAttributes {
  std::string layer;     // UTF-8, as the record names it
  std::string lineType;  // UTF-8, as the record names it
  int colour = 7;        // colour index 1 to 255
};

enum class EntityKind { kLine, kArc, kCircle };

struct Entity {
  EntityKind kind = EntityKind::kLine;
  // Line: x1, y1, x2, y2. Arc: centre x, centre y, radius, start and end angle
  // in degrees, counter-clockwise, both in [0, 360). Circle: centre x, y, radius.
  double v[5] = {0, 0, 0, 0, 0};
  EntityAttributes attributes;
};

// Lines for "builder.log": one per refusal, skipped record or substitution.
// A flood of problems (a file of garbage) is cut after kMaxLines lines and
// summed up in one last line.
class BuildLog {
 public:
  static constexpr size_t kMaxLines = 60;

  void Add(std::string message);
  // The lines to write, with the count of the lines left out at the end.
  std::vector<std::string> Lines() const;
  bool Empty() const { return lines_.empty(); }
  size_t Count() const { return lines_.size() + dropped_; }

 private:
  std::vector<std::string> lines_;
  size_t dropped_ = 0;
};

// Coordinates beyond this many millimetres are taken for corrupted data.
inline constexpr double kCoordinateLimit = 1.0e9;

// A piece of input quoted in a log line, cut to a readable length.
std::string Quote(std::string_view text);

}  // namespace tavelin::blockbuilder
