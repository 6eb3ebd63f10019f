// Plane geometry shared by the generators: the direction of a segment, the
// rotation of a point about the origin, segment intersection and hatching.
#pragma once

#include <vector>

namespace tavelin {

class RecordList;

struct Point {
  double x = 0.0;
  double y = 0.0;
};

struct Segment {
  Point a;
  Point b;
};

// Degrees to radians and back, with pi taken as 3.1415926535.
inline constexpr double kRadiansToDegrees = 57.29577951471995;
inline constexpr double kDegreesToRadians = 0.017453292519444445;

// Direction of the vector (dx, dy) in degrees, 0 up to 360; 0 for a null vector.
double DirectionOf(double dx, double dy);

// Direction of the segment from (x1, y1) to (x2, y2).
double SegmentDirection(double x1, double y1, double x2, double y2);

// Turns (x, y) about the origin by `angle` degrees; the origin stays exactly
// where it is.
Point RotateByAngle(double x, double y, double angle);

struct Crossing {
  Point point;      // stored even when the segments do not cross
  bool hit = false; // the crossing lies within both segments
  bool parallel = false;  // the directions differ by less than 1 degree (or 180 +- 1)
};

// Crossing of segment (x1, y1)-(x2, y2) with segment (x3, y3)-(x4, y4).
Crossing Intersect(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                   double y4);
Crossing Intersect(const Segment& first, const Segment& second);

// Fills the region bounded by `edges` with 45-degree hatch lines `hatchWidth`
// apart and adds them to `list` as hatching-line records. Hatch lines stay at
// the same slope whatever the list's mirror and rotation. Returns the number
// of records added (it stops when the list is full).
int Hatch(RecordList& list, const std::vector<Segment>& edges, double hatchWidth);

}  // namespace tavelin
