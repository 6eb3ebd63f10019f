// A schedule of the fittings of a drawing (継手数量表): every block placed
// in model space, and inside the blocks placed there, counted through the
// nesting; the blocks this system made, recognised by their data, are
// grouped into fittings by kind, dimensions and attribute set, straight
// ducts by size into a total length and a joint count, pipe parts by part
// and size; other blocks are listed apart with their counts.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/block_file.hpp"
#include "framework/settings_declaration.hpp"
#include "schedule/drawing_reader.hpp"

namespace tavelin::schedule {

// One row of the sheet-thickness table of rectangular low-pressure ducts:
// sheets of `thickness` mm for a long side up to `maxLongSide` mm, with the
// source of the figures.
struct SheetThicknessRow {
  double maxLongSide;
  double thickness;
  std::string_view source;
};
const std::vector<SheetThicknessRow>& LowPressureSheetTable();
// The table's row for a section with long side `longSide` mm; nullptr for a
// side that is not a positive number.
const SheetThicknessRow* SheetForLongSide(double longSide);

enum class Section { kFitting, kStraightDuct, kPipePart, kOther };
std::string_view SectionName(Section section);  // "継手", "直管", "配管部材", "その他のブロック"

struct ScheduleRow {
  Section section = Section::kFitting;
  std::string kind;        // "一般両エルボ", "直管", the part's name, the other block's name
  std::string dimensions;  // "W1=600 R=300 W2=600", the duct's size, the part's size
  std::string attributes;  // the attribute set the fitting was drawn with
  long long count = 0;
  // Straight ducts: the length of all pieces and their joints.
  double totalLengthMm = 0.0;
  long long joints = 0;
  // Where the section is known as width × height: its long side's sheet
  // thickness, and for straight ducts the sheet area in m².
  std::optional<double> thicknessMm;
  std::optional<double> sheetAreaM2;
  std::string thicknessSource;
  // The drawing's blocks behind the row (a picture is drawn from the first).
  std::vector<std::string> blocks;
  // How the blocks were recognised: by the data they carry or by their
  // name among the block files.
  bool byName = false;
};

struct Schedule {
  std::vector<ScheduleRow> rows;
  std::vector<std::string> warnings;
  long long placements = 0;  // every block placed, through the nesting
};

struct ScheduleSources {
  // The data of the block file named `name` (ROOT/blocks/NAME.dxf), for
  // drawings whose CAD program dropped the extended data; nullopt when
  // there is none.
  std::function<std::optional<BlockData>(const std::string& name)> blockFile;
  // The declaration of a settings file ("Erbo.ini"); nullptr when none.
  std::function<const SettingsDeclaration*(std::string_view file)> declaration;
};

// How many times each block of `drawing` is placed, through the nesting,
// keyed as drawing.blocks. Blocks that place themselves, directly or not,
// are left out of the counting below them and named in `warnings`.
std::map<std::string, long long> CountPlacements(const Drawing& drawing,
                                                 std::vector<std::string>* warnings = nullptr);

Schedule BuildSchedule(const Drawing& drawing, const ScheduleSources& sources);

// The number of joints of a straight duct as the builder draws it: one
// every pitch from the left end, and the end joints chosen.
long long StraightDuctJoints(double pitch, double length, bool leftJoint, bool rightJoint);

// The data of every block file of `folder` by name (read when first asked).
std::function<std::optional<BlockData>(const std::string&)> BlockFolderLookup(
    const std::filesystem::path& folder);

// CSV in UTF-8 with a byte-order mark, CR LF, one row a line under a header.
std::string ScheduleCsv(const Schedule& schedule);
// One JSON object: {"drawing":…, "placements":N, "rows":[…], "warnings":[…]}.
std::string ScheduleJson(const Schedule& schedule, const std::string& drawingName);
// The columns of the CSV, in order, and a row's cells as the CSV and the
// desktop table show them.
const std::vector<std::string>& ScheduleColumns();
std::vector<std::string> ScheduleCells(const ScheduleRow& row);

}  // namespace tavelin::schedule
