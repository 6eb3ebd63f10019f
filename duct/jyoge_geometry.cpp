#include "duct/jyoge_geometry.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace tavelin {
namespace {

struct Stroke {
  int style;
  int element;
  Point from;
  Point to;
};

// Collects the strokes of one elbow before any goes into the list, so that a
// value that is not finite leaves the list untouched.
class Strokes {
 public:
  void Body(Point a, Point b) { strokes_.push_back({kSolid, kDuctBody, a, b}); }
  void Hidden(Point a, Point b) { strokes_.push_back({kDotted, kHiddenLine, a, b}); }
  void Add(int style, int element, Point a, Point b) { strokes_.push_back({style, element, a, b}); }
  const std::vector<Stroke>& All() const { return strokes_; }

 private:
  std::vector<Stroke> strokes_;
};

// Where the infinite line through `edge` meets the line through `from` and
// `to`. Lines within a degree of parallel have no crossing: the caller then
// leaves the clipped line out (or takes the edge's end), rather than reusing
// a point from some earlier crossing.
std::optional<Point> Crossing(const Segment& edge, Point from, Point to) {
  tavelin::Crossing c = Intersect(edge, {from, to});
  if (c.parallel) return std::nullopt;
  return c.point;
}

double Distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

struct Frame {
  double a, b, k1, k2, p, q, xe, xs, x;
  Segment top, right, bottom;
};

Frame MakeFrame(const UpDownElbowShape& s, const CommonValues& k) {
  Frame f;
  f.a = s.x / 2.0;
  f.b = s.y / 2.0;
  f.k1 = k.k1;
  f.k2 = k.k2;
  f.p = s.p;
  f.q = s.q;
  f.x = s.x;
  f.xe = s.l + f.a;
  f.xs = f.xe - s.e;
  const double fa = f.a + f.k2, fb = f.b + f.k2;
  f.top = {{-fa, fb}, {fa, fb}};
  f.right = {{fa, fb}, {fa, -fb}};
  f.bottom = {{-fa, -fb}, {fa, -fb}};
  return f;
}

void ClippedBody(Strokes& out, Point from, const Segment& edge, Point lineA, Point lineB) {
  if (auto at = Crossing(edge, lineA, lineB)) out.Body(from, *at);
}

bool Within(double v, double a, double b, double slack) {
  return v >= std::min(a, b) - slack && v <= std::max(a, b) + slack;
}

bool InBox(Point p, Point a, Point b, double slack) {
  return Within(p.x, a.x, b.x, slack) && Within(p.y, a.y, b.y, slack);
}

// Where the segment from `from` to `to` first meets one of `edges`, counted
// from `from`.
std::optional<Point> FirstHit(Point from, Point to, const Segment* edges, int n) {
  std::optional<Point> best;
  double bestT = 2.0;
  const double rx = to.x - from.x, ry = to.y - from.y;
  for (int i = 0; i < n; ++i) {
    const double sx = edges[i].b.x - edges[i].a.x, sy = edges[i].b.y - edges[i].a.y;
    const double d = rx * sy - ry * sx;
    if (d == 0.0) continue;
    const double qx = edges[i].a.x - from.x, qy = edges[i].a.y - from.y;
    const double t = (qx * sy - qy * sx) / d;
    const double u = (qx * ry - qy * rx) / d;
    if (t < 0.0 || t > 1.0 || u < 0.0 || u > 1.0 || t >= bestT) continue;
    bestT = t;
    best = Point{from.x + t * rx, from.y + t * ry};
  }
  return best;
}

// A converging line of the rising elbow: from the duct side towards a section
// corner, stopped at the flange outline. Mostly it stops where it crosses
// `edge`; when that crossing is off the line or off the edge (a section a
// little narrower than the duct puts it far beyond the duct's end), or the two
// run parallel, it stops where it enters the outline instead.
void ConvergingBody(Strokes& out, const Frame& f, Point from, Point corner, const Segment& edge) {
  const double slack = 1e-6 * (1.0 + std::fabs(from.x) + std::fabs(from.y) + f.a + f.b + f.k2);
  if (auto at = Crossing(edge, corner, from)) {
    if (InBox(*at, from, corner, slack) && InBox(*at, edge.a, edge.b, slack)) {
      out.Body(from, *at);
      return;
    }
  }
  const Segment outline[] = {f.right, f.top, f.bottom, {f.top.a, f.bottom.a}};
  if (auto at = FirstHit(from, corner, outline, 4)) out.Body(from, *at);
}

void FlangeOutline(Strokes& out, const Frame& f) {
  const double fa = f.a + f.k2, fb = f.b + f.k2;
  out.Body({-fa, -fb}, {-fa, fb});
  out.Body({-fa, fb}, {fa, fb});
  out.Body({fa, fb}, {fa, -fb});
  out.Body({fa, -fb}, {-fa, -fb});
}

void Up(Strokes& out, const Frame& f) {
  const double a = f.a, b = f.b, p = f.p, q = f.q, xs = f.xs, xe = f.xe, k2 = f.k2;
  const Point top{xs, q}, bottom{xs, -p};
  out.Body({xe, q}, top);
  out.Body({xe, -p}, bottom);
  out.Body({-a, b}, {a, b});
  out.Body({a, b}, {a, -b});
  out.Body({a, -b}, {-a, -b});
  out.Body({-a, -b}, {-a, b});
  if (b == q) out.Body(top, {a + k2, b});
  if (b == p) out.Body(bottom, {a + k2, -b});
  if (b < q) {
    ConvergingBody(out, f, top, {-a, b}, f.top);
    ConvergingBody(out, f, top, {a, b}, f.right);
  }
  if (b > q) {
    out.Hidden(top, {-a, b});
    ConvergingBody(out, f, top, {a, b}, f.right);
  }
  if (b < p) {
    ConvergingBody(out, f, bottom, {-a, -b}, f.bottom);
    ConvergingBody(out, f, bottom, {a, -b}, f.right);
  }
  if (b > p) {
    out.Hidden(bottom, {-a, -b});
    ConvergingBody(out, f, bottom, {a, -b}, f.right);
  }
  out.Add(kSolid, kFlangeJoint, {xe, q + k2}, {xe, -p - k2});
  FlangeOutline(out, f);
}

// The far side's line to the flange: it stops where it meets the flange edge,
// or runs the whole edge when that crossing lies beyond the section (or there
// is none).
Point FarFlangeEnd(const Frame& f, const Segment& edge, Point corner, Point ductEnd) {
  auto at = Crossing(edge, corner, ductEnd);
  if (at && Distance(*at, edge.a) < 2.0 * f.k2 + f.x) return *at;
  return edge.b;
}

void Down(Strokes& out, const Frame& f) {
  const double a = f.a, b = f.b, p = f.p, q = f.q, xs = f.xs, xe = f.xe, k2 = f.k2;
  const Point top{xs, q}, bottom{xs, -p};
  out.Body({xe, q}, top);
  out.Body({xe, -p}, bottom);
  // The section edges under the duct are hidden.
  if (b == q) out.Body({-a, b}, {a, b});
  if (b < q) out.Hidden({-a, b}, {a, b});
  if (b > q) out.Body({-a, b}, {a, b});
  out.Hidden({a, b}, {a, -b});
  if (b == p) out.Body({a, -b}, {-a, -b});
  if (b < p) out.Hidden({a, -b}, {-a, -b});
  if (b > p) out.Body({a, -b}, {-a, -b});
  out.Body({-a, -b}, {-a, b});
  if (b == q) out.Body(top, {a, b});
  if (b == p) out.Body(bottom, {a, -b});
  if (b < q) {
    out.Body({-a, b}, top);
    out.Body(f.top.a, FarFlangeEnd(f, f.top, {-a, b}, top));
    out.Hidden(top, {a, b});
  }
  if (b > q) {
    out.Body(f.top.a, f.top.b);
    out.Body({-a, b}, top);
    ClippedBody(out, f.right.a, f.right, {a, b}, top);
    out.Body(top, {a, b});
  }
  if (b < p) {
    out.Body({-a, -b}, bottom);
    out.Body(f.bottom.a, FarFlangeEnd(f, f.bottom, {-a, -b}, bottom));
    out.Hidden(bottom, {a, -b});
  }
  if (b > p) {
    out.Body(f.bottom.a, f.bottom.b);
    out.Body({-a, -b}, bottom);
    ClippedBody(out, f.bottom.b, f.right, {a, -b}, bottom);
    out.Body(bottom, {a, -b});
  }
  out.Add(kSolid, kFlangeJoint, {xe, q + k2}, {xe, -p - k2});
  const double fa = a + k2, fb = b + k2;
  out.Body({-fa, -fb}, {-fa, fb});
  if (b == q) {
    out.Body({-fa, fb}, {fa, fb});
    out.Body({fa, fb}, {fa, b});
  }
  if (b == p) {
    out.Body({fa, -b}, {fa, -fb});
    out.Body({fa, -fb}, {-fa, -fb});
  }
}

void Symbol(Strokes& out, const Frame& f, SectionSymbol symbol, int style, int element) {
  const double a = f.a, b = f.b;
  switch (symbol) {
    case SectionSymbol::kCross:
      out.Add(style, element, {-a, b}, {a, -b});
      out.Add(style, element, {a, b}, {-a, -b});
      break;
    case SectionSymbol::kDiagonal:
      out.Add(style, element, {a, b}, {-a, -b});
      break;
    case SectionSymbol::kHalf:
      out.Add(style, element, {0.0, 0.0}, {a, -b});
      out.Add(style, element, {a, b}, {-a, -b});
      break;
    case SectionSymbol::kNone:
      break;
  }
}

bool Finite(const Point& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

double UpDownElbowLength(double height, double sectionX, double radiusFactor, double straight) {
  return std::max(height, sectionX) * radiusFactor + straight;
}

Point UpDownElbowBasePoint(const UpDownElbowShape& shape, UpDownBase base) {
  const double a = shape.x / 2.0, b = shape.y / 2.0;
  switch (base) {
    case UpDownBase::kUpperLeft:
      return {-a, b};
    case UpDownBase::kUpperRight:
      return {a, b};
    case UpDownBase::kLowerLeft:
      return {-a, -b};
    case UpDownBase::kLowerRight:
      return {a, -b};
    default:
      return {0.0, 0.0};
  }
}

bool AddUpDownElbowRecords(RecordList& list, const UpDownElbowShape& shape,
                           const CommonValues& common, double shiftX) {
  const Frame f = MakeFrame(shape, common);
  Strokes out;
  switch (shape.turn) {
    case ElbowTurn::kUp:
      Up(out, f);
      if (f.k1 != 0.0) out.Add(kSolid, kAngleWidth, {f.xe - f.k1, f.q}, {f.xe - f.k1, -f.p});
      Symbol(out, f, shape.symbol, kSolid, kDuctBody);
      break;
    case ElbowTurn::kDown:
      Down(out, f);
      if (f.k1 != 0.0) out.Add(kSolid, kAngleWidth, {f.xe - f.k1, f.q}, {f.xe - f.k1, -f.p});
      Symbol(out, f, shape.symbol, kDotted, kHiddenLine);
      break;
    case ElbowTurn::kNone:
      return true;
  }
  if (!std::isfinite(shiftX)) return false;
  for (const Stroke& s : out.All()) {
    if (!Finite(s.from) || !Finite(s.to)) return false;
  }
  for (const Stroke& s : out.All()) {
    list.AddLineRecord(1, s.style, s.element, s.from.x + shiftX, s.from.y, s.to.x + shiftX, s.to.y);
  }
  return true;
}

bool BuildUpDownElbow(RecordList& list, const UpDownElbowInput& in, const CommonValues& common) {
  list.Clear();
  list.rotation = std::isfinite(in.rotation) ? in.rotation : 0.0;
  list.mirror = in.mirror ? 1 : 0;
  const Point base = UpDownElbowBasePoint(in.shape, in.base);
  const UpDownElbowShape& s = in.shape;
  const double a = s.x / 2.0, b = s.y / 2.0;
  const double e1 = s.l + a + common.k3;
  if (!Finite(base) || !std::isfinite(e1) || !std::isfinite(b)) {
    list.baseX = list.baseY = 0.0;
    return false;
  }
  list.baseX = base.x;
  list.baseY = -base.y;
  if (s.turn == ElbowTurn::kNone) return false;
  list.SetExtents(e1, b, a, b);
  if (!AddUpDownElbowRecords(list, s, common, 0.0)) {
    list.Clear();
    return false;
  }
  return true;
}

}  // namespace tavelin
