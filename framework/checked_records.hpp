// Records added with a check: a record with a coordinate that is not a
// finite number of sensible size is left out and remembered, and Finish()
// then empties the whole list, so a degenerate fitting never reaches the
// hand-off files as "nan" or "inf". Arcs of no radius or no sweep draw
// nothing and are left out (their equal angles would read as a full circle).
#pragma once

#include "framework/geometry.hpp"
#include "framework/record_list.hpp"

namespace tavelin {

class CheckedRecords {
 public:
  explicit CheckedRecords(RecordList& list) : list_(list) {}

  void Extents(double e1, double e2, double e3, double e4);
  void Base(double bx, double by);
  // Solid records of `element`.
  void Line(int element, Point a, Point b);
  void Arc(int element, Point centre, double radius, double start, double end);
  // True when every record went in; otherwise the list is emptied.
  bool Finish();

 private:
  RecordList& list_;
  bool invalid_ = false;
};

}  // namespace tavelin
