#include "framework/checked_records.hpp"

#include <cmath>

namespace tavelin {
namespace {

// Coordinates beyond this many millimetres are no drawing; they would also
// overflow when the record list turns them (its radius squares them).
constexpr double kLargest = 1e12;

// Arcs sweeping less than this many degrees are left out.
constexpr double kNoSweep = 1e-6;

bool Finite(double v) { return std::isfinite(v) && std::fabs(v) <= kLargest; }

}  // namespace

void CheckedRecords::Extents(double e1, double e2, double e3, double e4) {
  if (!Finite(e1) || !Finite(e2) || !Finite(e3) || !Finite(e4)) invalid_ = true;
  list_.SetExtents(e1, e2, e3, e4);
}

void CheckedRecords::Base(double bx, double by) {
  if (!Finite(bx) || !Finite(by)) invalid_ = true;
  list_.baseX = bx;
  list_.baseY = by;
}

void CheckedRecords::Line(int element, Point a, Point b) {
  if (!Finite(a.x) || !Finite(a.y) || !Finite(b.x) || !Finite(b.y)) {
    invalid_ = true;
    return;
  }
  list_.AddLineRecord(1, kSolid, element, a.x, a.y, b.x, b.y);
}

void CheckedRecords::Arc(int element, Point centre, double radius, double start, double end) {
  if (!Finite(centre.x) || !Finite(centre.y) || !Finite(radius) || !Finite(start) || !Finite(end)) {
    invalid_ = true;
    return;
  }
  // An arc of no radius is a point (the walls meet in a sharp corner), and a
  // bend of no angle has no arc: its equal start and end would read as a
  // full circle.
  if (radius == 0.0) return;
  double sweep = std::fmod(end - start, 360.0);
  if (sweep < 0.0) sweep += 360.0;
  if (sweep < kNoSweep || sweep > 360.0 - kNoSweep) return;
  list_.AddArcRecord(2, kSolid, element, centre.x, centre.y, radius, start, end);
}

bool CheckedRecords::Finish() {
  if (invalid_) list_.Clear();
  return !invalid_;
}

}  // namespace tavelin
