#include "framework/geometry.hpp"

#include <algorithm>
#include <cmath>

#include "framework/record_list.hpp"

namespace tavelin {

double DirectionOf(double dx, double dy) {
  if (dx == 0.0 && dy == 0.0) return 0.0;
  if (dx == 0.0) return dy > 0.0 ? 90.0 : 270.0;
  if (dy == 0.0) return dx > 0.0 ? 0.0 : 180.0;
  double t = std::atan(std::fabs(dy) / std::fabs(dx)) * kRadiansToDegrees;
  if (dx > 0.0) return dy > 0.0 ? t : 360.0 - t;
  return dy > 0.0 ? 180.0 - t : 180.0 + t;
}

double SegmentDirection(double x1, double y1, double x2, double y2) {
  return DirectionOf(x2 - x1, y2 - y1);
}

Point RotateByAngle(double x, double y, double angle) {
  if (x == 0.0 && y == 0.0) return {0.0, 0.0};
  double r = std::sqrt(x * x + y * y);
  double t = DirectionOf(x, y) + angle;
  if (t > 360.0) t -= 360.0;
  return {r * std::cos(t * kDegreesToRadians), r * std::sin(t * kDegreesToRadians)};
}

namespace {

bool StrictlyBetween(double v, double a, double b) {
  return v > std::min(a, b) && v < std::max(a, b);
}

void LineCoefficients(double x1, double y1, double x2, double y2, double& a, double& c) {
  double dx = x2 - x1;
  double dy = y2 - y1;
  if (dx == 0.0) dx = 0.000001;
  if (dy == 0.0) dy = 0.000001;
  double m = dy / dx;
  a = -m;
  c = m * x1 - y1;
}

}  // namespace

Crossing Intersect(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                   double y4) {
  Crossing crossing;
  double d = SegmentDirection(x1, y1, x2, y2) - SegmentDirection(x3, y3, x4, y4);
  crossing.parallel = (d > -1.0 && d < 1.0) || (d > 179.0 && d < 181.0) ||
                      (d > -181.0 && d < -179.0);

  double a1, c1, a2, c2;
  LineCoefficients(x1, y1, x2, y2, a1, c1);
  LineCoefficients(x3, y3, x4, y4, a2, c2);
  if (a1 == 0.0) a1 = 1.0;
  double denominator = 1.0 - a2 / a1;
  if (denominator == 0.0) denominator = 1.0;
  double y = (a2 * c1 / a1 - c2) / denominator;
  double x = (-y - c1) / a1;
  crossing.point = {x, y};

  if (crossing.parallel) return crossing;
  bool onFirst = StrictlyBetween(x, x1, x2) && StrictlyBetween(y, y1, y2);
  bool onSecond = StrictlyBetween(x, x3, x4) || StrictlyBetween(y, y3, y4);
  crossing.hit = onFirst && onSecond;
  return crossing;
}

Crossing Intersect(const Segment& first, const Segment& second) {
  return Intersect(first.a.x, first.a.y, first.b.x, first.b.y, second.a.x, second.a.y,
                   second.b.x, second.b.y);
}

int Hatch(RecordList& list, const std::vector<Segment>& edges, double hatchWidth) {
  constexpr int kLines = 200;
  constexpr int kMaxPoints = 10;
  const double spacing = hatchWidth * 1.4142;
  int added = 0;
  for (int i = 0; i < kLines; ++i) {
    Point start{-5001.0, 2001.0 - i * spacing};
    Point end{5001.0, 12001.0 - i * spacing};
    if (list.rotation != 0.0) {
      start = RotateByAngle(start.x, start.y, -list.rotation);
      end = RotateByAngle(end.x, end.y, -list.rotation);
    }
    if (list.mirror) {
      start.x = -start.x;
      end.x = -end.x;
    }
    Point points[kMaxPoints];
    int k = 0;
    for (const Segment& edge : edges) {
      Crossing c = Intersect(start.x, start.y, end.x, end.y, edge.a.x, edge.a.y, edge.b.x,
                             edge.b.y);
      if (c.hit && k < kMaxPoints) points[k++] = c.point;
    }
    auto add = [&](const Point& p, const Point& q) {
      if (list.AddLineRecord(1, 1, 6, p.x, p.y, q.x, q.y)) {
        ++added;
        ++list.hatchCount;
      }
    };
    auto differ = [](const Point& p, const Point& q) { return p.x != q.x && p.y != q.y; };
    if (k == 2) {
      if (differ(points[0], points[1])) add(points[0], points[1]);
    } else if (k == 3) {
      add(points[0], points[1].x == points[0].x ? points[2] : points[1]);
    } else if (k == 4) {
      if (differ(points[0], points[3])) add(points[0], points[3]);
      if (differ(points[1], points[2])) add(points[1], points[2]);
    }
    if (list.Full()) break;
  }
  return added;
}

}  // namespace tavelin
