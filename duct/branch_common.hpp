// What the branch fittings share: a record writer that refuses coordinates
// that are not finite, the tangent-height search of a wall from a partition to
// the top outlet, the turns of the right and left branch with their straight
// runs at the arc ends, and the division of the main duct by a ratio.
#pragma once

#include <string>
#include <vector>

#include "framework/checked_records.hpp"
#include "framework/geometry.hpp"
#include "framework/record_list.hpp"

namespace tavelin {

// The wall from a partition to a corner of the top outlet that just clears
// the outer arc of the branch beside it.
struct TangentSearch {
  Point fixed;             // the outlet corner the wall runs to
  double lineX = 0.0;      // the partition line x = lineX
  double startHeight = 0;  // the height the search starts from
  Point centre;            // centre of the outer arc
  double radius = 0.0;     // radius of the outer arc
};

// Steps up the partition line one drawing unit at a time (at most 1000 steps)
// and returns the last height at which the line to the fixed corner still
// reaches the arc's circle.
double TangentHeight(const TangentSearch& search);

// The measures every branch fitting derives from its dialog values.
struct BranchFrame {
  double wm = 0.0;  // main duct width
  double wb = 0.0;  // right branch width
  double f = 0.0;   // inner radius as a multiple of the branch width
  double a = 0.0;   // straight run at the arc ends, flange joint included
  double k1 = 0.0, k2 = 0.0, k3 = 0.0;
  double r = 0.0;   // inner radius of the right branch, f * wb
  double ap = 0.0;  // the straight run less the angle width, a - k1
  double x = 0.0;   // the right branch's flange line
  double m = 0.0;   // depth of the turns below the branch axis
  double n = 0.0;   // the main duct's flange line, -(m + k1)
};

// The frame of a fitting whose only turn is the right branch.
BranchFrame MakeBranchFrame(double wm, double wb, double f, double a, const CommonValues& common);
// The same fitting with a left branch too, whose turn (t2 below its axis plus
// its inner radius ft) may reach deeper than the right one.
BranchFrame WithLeftTurn(BranchFrame frame, double t2, double ft);

// Flange and angle-width lines across the right branch, the main duct, the
// left branch (t1 above and t2 below its axis at xl) and the top outlet.
void RightFlange(CheckedRecords& w, const BranchFrame& b);
void MainFlange(CheckedRecords& w, const BranchFrame& b);
void LeftFlange(CheckedRecords& w, const BranchFrame& b, double xl, double t1, double t2);
void TopFlange(CheckedRecords& w, const BranchFrame& b, double ul, double ur, double o);
void RightAngleLine(CheckedRecords& w, const BranchFrame& b);
void MainAngleLine(CheckedRecords& w, const BranchFrame& b);
void LeftAngleLine(CheckedRecords& w, const BranchFrame& b, double xl, double t1, double t2);
void TopAngleLine(CheckedRecords& w, const BranchFrame& b, double ul, double ur, double o);

// The straight runs at the flange ends of the arcs (both sides of a branch).
void RightEndRuns(CheckedRecords& w, const BranchFrame& b);
void LeftEndRuns(CheckedRecords& w, const BranchFrame& b, double xl, double t1, double t2);
void TopEndRuns(CheckedRecords& w, const BranchFrame& b, double ul, double ur, double o);

// The walls of the main duct up to the start of the inner arcs.
void RightWall(CheckedRecords& w, const BranchFrame& b);
void LeftWall(CheckedRecords& w, const BranchFrame& b, double ft, double t2);

// The partitions from the main duct's foot up to the outer arcs; each is left
// out when it would have no length.
void RightPartition(CheckedRecords& w, const BranchFrame& b, double wr);
void LeftPartition(CheckedRecords& w, const BranchFrame& b, double wl, double ft, double t1);

// The arcs of the right branch (turning from the main duct to +x) and of the
// left branch (turning to -x; ft is its inner radius f * T).
void RightInnerArc(CheckedRecords& w, const BranchFrame& b);
void RightOuterArc(CheckedRecords& w, const BranchFrame& b, double wr);
void LeftInnerArc(CheckedRecords& w, const BranchFrame& b, double ft, double t2);
void LeftOuterArc(CheckedRecords& w, const BranchFrame& b, double wl, double ft, double t1);

// The search for the right partition's wall to the outlet corner (ur, o - a),
// and for the left one to (-ul, o - a).
TangentSearch RightOutletSearch(const BranchFrame& b, double wr, double ur, double o);
TangentSearch LeftOutletSearch(const BranchFrame& b, double wl, double ft, double t1, double t2,
                               double ul, double o);

// The left branch's flange line, -(f (t2 + t1) + wm/2 + k1).
double LeftFlangeX(const BranchFrame& b, double t1, double t2);

// The wall from a partition foot (partitionX, footY) to the outlet corner:
// one straight line when the partition lies at or beyond the corner
// (`straight`), else up the partition to the tangent height and across.
void OutletWall(CheckedRecords& w, bool straight, double partitionX, double footY,
                const TangentSearch& search);

// The division of the main duct by the ratio text "a-b" or "a-b-c".
struct Division {
  enum Outcome { kNothing, kDivided, kZeroSum } outcome = kNothing;
  std::vector<std::string> parts;  // the "%d" texts of the parts, left first
};

// Each part but the last is rounded to a multiple of 5; the last takes the
// rest (`roundRest` rounds it to a whole number, otherwise it is cut). An
// empty ratio divides nothing; a ratio whose fields sum to 0 (or a result
// that is no finite whole number) is refused.
Division DivideByRatio(double width, const std::string& ratio, int partCount, bool roundRest);

// Shown when "SET" is refused; its example has a field for each of the
// `partCount` parts, none of them 0 ("1-2", "1-1-1").
std::string ZeroRatioMessage(int partCount);
inline constexpr const char* kCheckCaption = "入力確認";

// Pixels the larger extent of a branch fitting takes in the preview.
double BranchPreviewNumerator(bool innerCornerBase, double rotation);

}  // namespace tavelin
