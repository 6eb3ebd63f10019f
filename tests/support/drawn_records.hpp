// Reading drawing records back in tests: the numbers of each record and
// simple plane checks on them.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "framework/geometry.hpp"
#include "framework/record_list.hpp"
#include "framework/text.hpp"

namespace tavelin::testing {

struct Drawn {
  int kind = 0;
  int style = 0;
  int element = 0;
  std::vector<double> v;  // line: x1 y1 x2 y2; arc: cx cy r start end
  std::string text;
  Segment AsSegment() const { return {{v[0], v[1]}, {v[2], v[3]}}; }
};

// Records 1 to count - 1 of the list.
inline std::vector<Drawn> ReadDrawn(const RecordList& list) {
  std::vector<Drawn> out;
  for (size_t k = 1; k < list.Count(); ++k) {
    const std::vector<std::string> f = Split(list.Record(k), ',');
    Drawn d;
    d.kind = ToInt(f[0]);
    d.style = ToInt(f[1]);
    d.element = list.ElementOf(k);
    d.text = list.Record(k);
    for (size_t i = 3; i < 3 + (d.kind == 1 ? 4u : 5u) && i < f.size(); ++i) {
      d.v.push_back(ToDouble(f[i]));
    }
    out.push_back(d);
  }
  return out;
}

inline std::vector<Drawn> OfElement(const std::vector<Drawn>& all, int element) {
  std::vector<Drawn> out;
  for (const Drawn& d : all) {
    if (d.element == element) out.push_back(d);
  }
  return out;
}

inline bool Near(double a, double b, double tolerance = 1e-3) {
  return std::fabs(a - b) <= tolerance;
}

inline bool SameLine(const Drawn& d, double x1, double y1, double x2, double y2,
                     double tolerance = 1e-3) {
  return d.kind == 1 && Near(d.v[0], x1, tolerance) && Near(d.v[1], y1, tolerance) &&
         Near(d.v[2], x2, tolerance) && Near(d.v[3], y2, tolerance);
}

// Whether p lies inside the polygon through the starts of `edges` (even-odd
// rule), or on one of its edges.
inline bool InsideOrOn(const Point& p, const std::vector<Segment>& edges, double tolerance = 1e-3) {
  bool inside = false;
  for (const Segment& e : edges) {
    const double dx = e.b.x - e.a.x, dy = e.b.y - e.a.y;
    const double len2 = dx * dx + dy * dy;
    if (len2 > 0) {
      double t = ((p.x - e.a.x) * dx + (p.y - e.a.y) * dy) / len2;
      t = std::fmax(0.0, std::fmin(1.0, t));
      if (std::hypot(p.x - (e.a.x + t * dx), p.y - (e.a.y + t * dy)) <= tolerance) return true;
    }
    if ((e.a.y > p.y) != (e.b.y > p.y) && p.x < e.a.x + (p.y - e.a.y) * dx / dy) {
      inside = !inside;
    }
  }
  return inside;
}

}  // namespace tavelin::testing
