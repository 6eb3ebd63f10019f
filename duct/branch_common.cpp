#include "duct/branch_common.hpp"

#include <cmath>
#include <limits>

#include "framework/text.hpp"

namespace tavelin {
namespace {

// A fillet whose radius comes out below 0 (the turn's radius shorter than
// the angle width taken off it) has no arc, as one of radius 0 has none: it
// is left out, so the preview, the hand-off and the block agree.
void Fillet(CheckedRecords& w, Point centre, double radius, double start, double end) {
  if (radius < 0.0) return;
  w.Arc(kDuctBody, centre, radius, start, end);
}

}  // namespace

double TangentHeight(const TangentSearch& s) {
  const double px = s.fixed.x, py = s.fixed.y;
  double dx = s.lineX - px;
  if (dx == 0.0) dx = 0.000001;
  double best = 100.0;
  double previous = 0.0;
  double candidate = 0.0;
  for (int i = 0; i < 1000; ++i) {
    const double height = s.startHeight + i;
    double dy = height - py;
    if (dy == 0.0) dy = 0.000001;
    const double t = dy / dx;
    const double v = std::fabs(s.centre.y - py - t * (s.centre.x - px)) / std::sqrt(1.0 + t * t);
    if (s.radius - v < best) {
      candidate = height;
      best = v;
    } else {
      candidate = previous;
    }
    if (s.radius - v < 0.0) return previous;
    previous = candidate;
  }
  return candidate;
}

BranchFrame MakeBranchFrame(double wm, double wb, double f, double a, const CommonValues& common) {
  BranchFrame b;
  b.wm = wm;
  b.wb = wb;
  b.f = f;
  b.a = a;
  b.k1 = common.k1;
  b.k2 = common.k2;
  b.k3 = common.k3;
  b.r = f * wb;
  b.ap = a - common.k1;
  b.x = b.r + wm / 2.0 + common.k1;
  b.m = wb * (f + 0.5);
  b.n = -(b.m + common.k1);
  return b;
}

BranchFrame WithLeftTurn(BranchFrame frame, double t2, double ft) {
  if (t2 + ft > frame.m) frame.m = t2 + ft;
  frame.n = -(frame.m + frame.k1);
  return frame;
}

void RightFlange(CheckedRecords& w, const BranchFrame& b) {
  w.Line(kFlangeJoint, {b.x, b.wb / 2.0 + b.k2}, {b.x, -b.wb / 2.0 - b.k2});
}

void MainFlange(CheckedRecords& w, const BranchFrame& b) {
  w.Line(kFlangeJoint, {-b.wm / 2.0 - b.k2, b.n}, {b.wm / 2.0 + b.k2, b.n});
}

void LeftFlange(CheckedRecords& w, const BranchFrame& b, double xl, double t1, double t2) {
  w.Line(kFlangeJoint, {xl, t1 + b.k2}, {xl, -t2 - b.k2});
}

void TopFlange(CheckedRecords& w, const BranchFrame& b, double ul, double ur, double o) {
  w.Line(kFlangeJoint, {-ul - b.k2, o}, {ur + b.k2, o});
}

void RightAngleLine(CheckedRecords& w, const BranchFrame& b) {
  if (b.k1 == 0.0) return;
  w.Line(kAngleWidth, {b.x - b.k1, b.wb / 2.0}, {b.x - b.k1, -b.wb / 2.0});
}

void MainAngleLine(CheckedRecords& w, const BranchFrame& b) {
  if (b.k1 == 0.0) return;
  w.Line(kAngleWidth, {-b.wm / 2.0, b.n + b.k1}, {b.wm / 2.0, b.n + b.k1});
}

void LeftAngleLine(CheckedRecords& w, const BranchFrame& b, double xl, double t1, double t2) {
  if (b.k1 == 0.0) return;
  w.Line(kAngleWidth, {xl + b.k1, t1}, {xl + b.k1, -t2});
}

void TopAngleLine(CheckedRecords& w, const BranchFrame& b, double ul, double ur, double o) {
  if (b.k1 == 0.0) return;
  w.Line(kAngleWidth, {-ul, o - b.k1}, {ur, o - b.k1});
}

// The runs are drawn whole (length a, the flange joint included) whenever
// they reach beyond the angle width.
void RightEndRuns(CheckedRecords& w, const BranchFrame& b) {
  if (b.ap == 0.0) return;
  w.Line(kDuctBody, {b.x, b.wb / 2.0}, {b.x - b.a, b.wb / 2.0});
  w.Line(kDuctBody, {b.x, -b.wb / 2.0}, {b.x - b.a, -b.wb / 2.0});
}

void LeftEndRuns(CheckedRecords& w, const BranchFrame& b, double xl, double t1, double t2) {
  if (b.ap == 0.0) return;
  w.Line(kDuctBody, {xl, t1}, {xl + b.a, t1});
  w.Line(kDuctBody, {xl, -t2}, {xl + b.a, -t2});
}

void TopEndRuns(CheckedRecords& w, const BranchFrame& b, double ul, double ur, double o) {
  if (b.ap == 0.0) return;
  w.Line(kDuctBody, {-ul, o}, {-ul, o - b.a});
  w.Line(kDuctBody, {ur, o}, {ur, o - b.a});
}

void RightWall(CheckedRecords& w, const BranchFrame& b) {
  w.Line(kDuctBody, {b.wm / 2.0, b.n}, {b.wm / 2.0, b.ap - b.wb / 2.0 - b.r});
}

void LeftWall(CheckedRecords& w, const BranchFrame& b, double ft, double t2) {
  w.Line(kDuctBody, {-b.wm / 2.0, b.n}, {-b.wm / 2.0, b.ap - t2 - ft});
}

void RightPartition(CheckedRecords& w, const BranchFrame& b, double wr) {
  if (b.wb / 2.0 + b.m - b.r - wr == 0.0) return;
  const double x = b.wm / 2.0 - wr;
  w.Line(kDuctBody, {x, -b.m}, {x, b.wb / 2.0 - b.r - wr + b.ap});
}

void LeftPartition(CheckedRecords& w, const BranchFrame& b, double wl, double ft, double t1) {
  if (t1 + b.m - ft - wl == 0.0) return;
  const double x = wl - b.wm / 2.0;
  w.Line(kDuctBody, {x, -b.m}, {x, t1 - ft - wl + b.ap});
}

void RightInnerArc(CheckedRecords& w, const BranchFrame& b) {
  Fillet(w, {b.wm / 2.0 + b.r - b.ap, b.ap - b.wb / 2.0 - b.r}, b.r - b.ap, 90.0, 180.0);
}

void RightOuterArc(CheckedRecords& w, const BranchFrame& b, double wr) {
  Fillet(w, {b.wm / 2.0 + b.r - b.ap, b.wb / 2.0 - b.r - wr + b.ap}, b.r + wr - b.ap, 90.0, 180.0);
}

void LeftInnerArc(CheckedRecords& w, const BranchFrame& b, double ft, double t2) {
  Fillet(w, {b.ap - b.wm / 2.0 - ft, b.ap - ft - t2}, ft - b.ap, 0.0, 90.0);
}

void LeftOuterArc(CheckedRecords& w, const BranchFrame& b, double wl, double ft, double t1) {
  Fillet(w, {b.ap - b.wm / 2.0 - ft, b.ap + t1 - ft - wl}, ft + wl - b.ap, 0.0, 90.0);
}

TangentSearch RightOutletSearch(const BranchFrame& b, double wr, double ur, double o) {
  TangentSearch s;
  s.fixed = {ur, o - b.a};
  s.lineX = b.wm / 2.0 - wr;
  s.startHeight = b.wb / 2.0 - b.r - wr;
  s.centre = {b.wm / 2.0 + b.r - b.ap, b.wb / 2.0 - b.r - wr + b.ap};
  s.radius = b.r + wr - b.ap;
  return s;
}

double LeftFlangeX(const BranchFrame& b, double t1, double t2) {
  return -(b.f * (t2 + t1) + b.wm / 2.0 + b.k1);
}

TangentSearch LeftOutletSearch(const BranchFrame& b, double wl, double ft, double t1, double t2,
                               double ul, double o) {
  TangentSearch s;
  s.fixed = {-ul, o - b.a};
  s.lineX = wl - b.wm / 2.0;
  s.startHeight = t1 - ft - wl;
  // The left flange line moved in by the straight run: the outer arc's centre
  // when the two parts of the left branch make up its width.
  s.centre = {LeftFlangeX(b, t1, t2) + b.a, b.ap + t1 - ft - wl};
  s.radius = ft + wl - b.ap;
  return s;
}

void OutletWall(CheckedRecords& w, bool straight, double partitionX, double footY,
                const TangentSearch& search) {
  if (straight) {
    w.Line(kDuctBody, search.fixed, {partitionX, footY});
    return;
  }
  const double q = TangentHeight(search);
  w.Line(kDuctBody, {partitionX, footY}, {partitionX, q});
  w.Line(kDuctBody, {partitionX, q}, search.fixed);
}

Division DivideByRatio(double width, const std::string& ratio, int partCount, bool roundRest) {
  Division division;
  if (ratio.empty()) return division;
  std::vector<double> fields;
  double sum = 0.0;
  for (int i = 1; i <= partCount; ++i) {
    fields.push_back(ToDouble(Field(ratio, '-', i)));
    sum += fields.back();
  }
  division.outcome = Division::kZeroSum;
  if (sum == 0.0 || !std::isfinite(sum) || !std::isfinite(width)) return division;
  std::vector<double> values;
  double taken = 0.0;
  for (int i = 0; i + 1 < partCount; ++i) {
    const double part = 5.0 * std::round(width * fields[i] / sum / 5.0);
    values.push_back(part);
    taken += part;
  }
  const double rest = width - taken;
  values.push_back(roundRest ? std::round(rest) : std::trunc(rest));
  for (double v : values) {
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<int>::max()) return division;
  }
  for (double v : values) division.parts.push_back(FormatD(static_cast<int>(v)));
  division.outcome = Division::kDivided;
  return division;
}

std::string ZeroRatioMessage(int partCount) {
  const std::string example = partCount >= 3 ? "1-1-1" : "1-2";
  return "幹管分割比の合計が0です。\n\"" + example +
         "\" のように、合計が0にならない比を入力してください。";
}

double BranchPreviewNumerator(bool innerCornerBase, double rotation) {
  if (rotation != 0.0) return innerCornerBase ? 100.0 : 120.0;
  return innerCornerBase ? 130.0 : 150.0;
}

}  // namespace tavelin
