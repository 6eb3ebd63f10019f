// A part's drawing: reading a part file (".ajc") and a part sheet (".tec"),
// placing the part at a base point with mirror and rotation, the lines handed
// to the block builder, and the two pictures of the part menu.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/canvas.hpp"
#include "framework/geometry.hpp"

namespace tavelin::pipe {

// Line classes of a part's elements.
enum LineClass : int { kSolidPart = 1, kHiddenPart = 2, kCentreLine = 5 };

// One element as stored: a line (kind 1: x1, y1, x2, y2) or an arc (kind 2:
// cx, cy, r, a0, a1), already decoded to millimetres with y up, unscaled.
struct PartElement {
  int kind = 0;
  int lineClass = 0;
  double v[5] = {0, 0, 0, 0, 0};
};

struct PartFile {
  double scale = 1.0;
  // Extents from the part's origin, all positive.
  double right = 0, bottom = 0, left = 0, top = 0;
  std::vector<PartElement> elements;
  int skippedLines = 0;  // element lines that could not be read
};

// Reads the lines of a part file. A header without a positive scale and four
// numeric extents makes the file unreadable (nullopt); an element line with a
// kind other than 1 or 2, too few fields or a field that is not a number is
// skipped and counted. Empty lines are ignored.
std::optional<PartFile> ParsePartFile(const std::vector<std::string>& lines);

// True when the whole text (spaces around allowed) is one decimal number.
bool IsNumberText(std::string_view text);

// Base point columns (left, centre, right) and rows (top, middle, bottom), 0 to 2.
Point BaseOffset(const PartFile& part, int column, int row);

struct Placement {
  double bx = 0.0, by = 0.0;  // base offset in part units
  bool mirror = false;
  int rotation = 0;  // degrees
};

// Turns (x, y) about the origin by `angle` degrees through its polar angle.
Point TurnPoint(double x, double y, double angle);

// The element after scale, base offset, mirror and rotation, in millimetres.
PartElement PlaceElement(const PartElement& element, double scale, const Placement& placement);

std::vector<PartElement> PlacePart(const PartFile& part, const Placement& placement);

// Layer, line type number and colour number of one line class.
struct ClassAttributes {
  std::string layer;
  int lineType = 0;
  int colour = 0;
};

// The attributes of a category: solid part, hidden part, centre line.
struct CategoryAttributes {
  ClassAttributes solid, hidden, centre;
  // The attributes of a line class; nullptr for any other class.
  const ClassAttributes* Of(int lineClass) const;
};

// A line of TugiteSet.ini: three ","-separated groups of layer-type-colour.
CategoryAttributes ParseCategoryAttributes(const std::string& line);

// The lines of DrawData.txt for the placed elements: elements of another line
// class are left out. `lineTypeNames[n - 1]` names line type n.
std::vector<std::string> HandOffLines(const std::vector<PartElement>& placed,
                                      const CategoryAttributes& attributes,
                                      const std::vector<std::string>& lineTypeNames);

// --- The part sheet (upper picture): 5 x 4 cells of 49 x 45 pixels whose
// top-left corner is at client pixel (230, 11). ---
inline constexpr int kSheetLeft = 230;
inline constexpr int kSheetTop = 11;
inline constexpr int kCellWidth = 49;
inline constexpr int kCellHeight = 45;
inline constexpr int kSheetColumns = 5;
inline constexpr int kSheetRows = 4;
inline constexpr double kSheetPixelsPerUnit = 0.195;

struct SheetElement {
  int kind = 0;
  int lineClass = 0;
  double v[5] = {0, 0, 0, 0, 0};  // plain: line x1, y1, x2, y2; arc cx, cy, r, a0, a1 (y down)
};

struct Sheet {
  double scale = 1.0;
  std::vector<SheetElement> elements;
};

// A sheet whose header holds no positive scale is drawn at scale 1; lines
// that are not a line or an arc with numeric fields are left out.
Sheet ParseSheet(const std::vector<std::string>& lines);

// Fills `area` (client pixels) and draws the sheet in black, clipped to it.
void DrawSheet(Canvas& canvas, const PixelRect& area, const Sheet& sheet);

// The cell (1 to 20) under a click in client pixels; 0 outside the cells or
// on a boundary between them.
int CellAt(int x, int y);

// Frames cell 1 to 20 of the sheet (2 pixels inside its bounds) in red, the
// mark of the picked part; nothing for any other cell.
void MarkCell(Canvas& canvas, int cell);

// --- The part preview (lower picture). ---
// Draws the placed elements scaled to 150 pixels for the part's larger
// extent on both sides, the part's outline centred in `area`, with the
// origin (the base point) marked.
void DrawPartPreview(Canvas& canvas, const PixelRect& area, const PartFile& part,
                     const Placement& placement, const std::vector<PartElement>& placed);

}  // namespace tavelin::pipe
