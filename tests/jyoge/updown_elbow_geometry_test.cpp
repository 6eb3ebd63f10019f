// The up/down elbow in plan: the worked up elbow line by line, which section
// edges a down elbow hides, the far flange line's fallback to the edge's end,
// a nearly flat converging line, the run of elbows built from the single one,
// and values that give no drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "duct/jyoge2_geometry.hpp"
#include "duct/jyoge_geometry.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

struct Line {
  int style, element;
  double x1, y1, x2, y2;
};

std::vector<Line> Lines(const RecordList& list) {
  std::vector<Line> out;
  for (size_t k = 1; k < list.Count(); ++k) {
    auto f = Split(list.Record(k), ',');
    out.push_back({ToInt(f[1]), list.ElementOf(k), ToDouble(f[3]), ToDouble(f[4]), ToDouble(f[5]),
                   ToDouble(f[6])});
  }
  return out;
}

void ExpectSameLines(const std::vector<Line>& got, const std::vector<Line>& want,
                     const char* label) {
  ASSERT_EQ(got.size(), want.size()) << label;
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].style, want[i].style) << label << " " << i;
    EXPECT_EQ(got[i].element, want[i].element) << label << " " << i;
    EXPECT_NEAR(got[i].x1, want[i].x1, 1e-4) << label << " " << i;
    EXPECT_NEAR(got[i].y1, want[i].y1, 1e-4) << label << " " << i;
    EXPECT_NEAR(got[i].x2, want[i].x2, 1e-4) << label << " " << i;
    EXPECT_NEAR(got[i].y2, want[i].y2, 1e-4) << label << " " << i;
  }
}

const CommonValues kCommon{40.0, 15.0, 50.0, 30.0};

// A 300 x 300 section under a 400 wide duct: L = 300 x 1 + 100, xe = 550, xs = 450.
UpDownElbowInput Example(ElbowTurn turn, double sectionY = 300) {
  UpDownElbowInput in;
  in.shape.x = 300;
  in.shape.y = sectionY;
  in.shape.e = 100;
  in.shape.l = UpDownElbowLength(300, 300, 1.0, 100);
  in.shape.p = in.shape.q = 200;
  in.shape.turn = turn;
  in.shape.symbol = SectionSymbol::kCross;
  return in;
}

TEST(UpDownElbowLength, LargerOfHeightAndSectionDecides) {
  EXPECT_DOUBLE_EQ(UpDownElbowLength(300, 300, 1.0, 100), 400);
  EXPECT_DOUBLE_EQ(UpDownElbowLength(300, 200, 1.0, 100), 400);  // the height decides
  EXPECT_DOUBLE_EQ(UpDownElbowLength(200, 300, 0.5, 100), 250);  // the section decides
}

TEST(UpDownElbow, UpWorkedExampleLineByLine) {
  RecordList list;
  ASSERT_TRUE(BuildUpDownElbow(list, Example(ElbowTurn::kUp), kCommon));
  EXPECT_EQ(list.Record(0), "50,600.000000,150.000000,150.000000,150.000000,");
  // The converging lines meet the flange (+-165) where the lines from the duct
  // sides to the section corners cross it: slopes 1/12 and 1/6.
  const std::vector<Line> want = {
      {1, kDuctBody, 550, 200, 450, 200},     {1, kDuctBody, 550, -200, 450, -200},
      {1, kDuctBody, -150, 150, 150, 150},    {1, kDuctBody, 150, 150, 150, -150},
      {1, kDuctBody, 150, -150, -150, -150},  {1, kDuctBody, -150, -150, -150, 150},
      {1, kDuctBody, 450, 200, 30, 165},      {1, kDuctBody, 450, 200, 165, 152.5},
      {1, kDuctBody, 450, -200, 30, -165},    {1, kDuctBody, 450, -200, 165, -152.5},
      {1, kFlangeJoint, 550, 215, 550, -215}, {1, kDuctBody, -165, -165, -165, 165},
      {1, kDuctBody, -165, 165, 165, 165},    {1, kDuctBody, 165, 165, 165, -165},
      {1, kDuctBody, 165, -165, -165, -165},  {1, kAngleWidth, 510, 200, 510, -200},
      {1, kDuctBody, -150, 150, 150, -150},   {1, kDuctBody, 150, 150, -150, -150},
  };
  ExpectSameLines(Lines(list), want, "up");
}

// Style of the section's top (y = +b) and right (x = +a) edges.
struct Edges {
  int top = 0, right = 0;
};

Edges SectionEdgeStyles(const RecordList& list, double a, double b) {
  Edges e;
  for (const Line& l : Lines(list)) {
    if (l.x1 == -a && l.y1 == b && l.x2 == a && l.y2 == b) e.top = l.style;
    if (l.x1 == a && l.y1 == b && l.x2 == a && l.y2 == -b) e.right = l.style;
  }
  return e;
}

TEST(UpDownElbow, DownHidesTheEdgesUnderTheDuct) {
  struct Case {
    double sectionY;
    int topStyle;
    size_t records;
  } cases[] = {
      {300, kDotted, 17},  // b < Q: the top edge lies under the duct
      {400, kSolid, 17},   // b = Q: the duct side runs into the section side
      {500, kSolid, 19},   // b > Q
  };
  for (const Case& c : cases) {
    RecordList list;
    ASSERT_TRUE(BuildUpDownElbow(list, Example(ElbowTurn::kDown, c.sectionY), kCommon));
    Edges e = SectionEdgeStyles(list, 150, c.sectionY / 2);
    EXPECT_EQ(e.top, c.topStyle) << c.sectionY;
    EXPECT_EQ(e.right, kDotted) << c.sectionY;
    EXPECT_EQ(list.Count() - 1, c.records) << c.sectionY;
    // The section symbol of a down elbow is hidden.
    auto lines = Lines(list);
    EXPECT_EQ(lines.back().element, kHiddenLine);
    EXPECT_EQ(lines.back().style, kDotted);
  }
  RecordList up;
  ASSERT_TRUE(BuildUpDownElbow(up, Example(ElbowTurn::kUp, 300), kCommon));
  EXPECT_EQ(SectionEdgeStyles(up, 150, 150).right, kSolid);
}

TEST(UpDownElbow, DownFarFlangeLineStopsAtTheCrossingOrRunsTheWholeEdge) {
  // Y = 300: the crossing (30, 165) lies 195 from the flange corner, less than
  // 2 K2 + X = 330. Y = 390: it lies 1815 away, so the whole edge is drawn.
  struct Case {
    double sectionY;
    double endX, endY;
  } cases[] = {{300, 30, 165}, {390, 165, 210}};
  for (const Case& c : cases) {
    RecordList list;
    ASSERT_TRUE(BuildUpDownElbow(list, Example(ElbowTurn::kDown, c.sectionY), kCommon));
    const double fb = c.sectionY / 2 + 15;
    bool found = false;
    for (const Line& l : Lines(list)) {
      if (l.x1 == -165 && std::fabs(l.y1 - fb) < 1e-9 && l.style == kSolid) {
        EXPECT_NEAR(l.x2, c.endX, 1e-4) << c.sectionY;
        EXPECT_NEAR(l.y2, c.endY, 1e-4) << c.sectionY;
        found = true;
        break;
      }
    }
    EXPECT_TRUE(found) << c.sectionY;
  }
}

TEST(UpDownElbow, UpConvergingLinesStopAtTheFlangeOutlineWhenTheirEdgeIsMissed) {
  // A section a little narrower than the duct: the line from the duct side to
  // the far corner stays under the flange's top edge (Y = 390) or runs within
  // a degree of it (Y = 398), so it is stopped where it enters the outline,
  // on its right edge, never beyond the duct's end.
  struct Case {
    double sectionY, entryY;
  } cases[] = {{390, 200 - 285 * 5 / 600.0}, {398, 200 - 285 * 1 / 600.0}};
  for (const Case& c : cases) {
    RecordList fresh;
    ASSERT_TRUE(BuildUpDownElbow(fresh, Example(ElbowTurn::kUp, c.sectionY), kCommon));
    auto lines = Lines(fresh);
    ASSERT_EQ(lines.size(), 18u);
    for (size_t i : {6u, 8u}) {  // the lines towards the far corners
      EXPECT_NEAR(lines[i].x2, 165, 1e-4) << c.sectionY;
      EXPECT_NEAR(std::fabs(lines[i].y2), c.entryY, 1e-4) << c.sectionY;
    }
    for (const Line& l : lines) {
      for (double x : {l.x1, l.x2}) EXPECT_LE(std::fabs(x), 550.0) << c.sectionY;
    }
    // Nothing of an earlier build leaks into the next one.
    RecordList reused;
    ASSERT_TRUE(BuildUpDownElbow(reused, Example(ElbowTurn::kUp, 300), kCommon));
    ASSERT_TRUE(BuildUpDownElbow(reused, Example(ElbowTurn::kUp, c.sectionY), kCommon));
    EXPECT_EQ(fresh.Records(), reused.Records());
  }
}

TEST(UpDownElbow, BasePointsMoveTheDrawingAndNoDirectionOrHugeValuesDrawNothing) {
  UpDownElbowInput in = Example(ElbowTurn::kUp);
  in.base = UpDownBase::kLowerRight;  // (a, -b)
  RecordList list;
  ASSERT_TRUE(BuildUpDownElbow(list, in, kCommon));
  auto lines = Lines(list);
  EXPECT_DOUBLE_EQ(lines[2].x1, -300);  // (-a, b) - (a, -b)
  EXPECT_DOUBLE_EQ(lines[2].y1, 300);

  const double inf = std::numeric_limits<double>::infinity();
  UpDownElbowInput none = Example(ElbowTurn::kNone);
  UpDownElbowInput huge = Example(ElbowTurn::kDown);
  huge.shape.x = 1e308 * 10;
  UpDownElbowInput nan = Example(ElbowTurn::kUp);
  nan.shape.e = inf - inf;
  for (const UpDownElbowInput& bad : {none, huge, nan}) {
    RecordList empty;
    EXPECT_FALSE(BuildUpDownElbow(empty, bad, kCommon));
    EXPECT_EQ(empty.Count(), 0u);
  }
}

// --- The run of elbows ---

std::vector<Line> Shifted(std::vector<Line> lines, double dx) {
  for (Line& l : lines) {
    l.x1 += dx;
    l.x2 += dx;
  }
  return lines;
}

TEST(UpDownElbowRun, AlternatingRunIsTheSingleElbowRepeatedAtThePitch) {
  RecordList up, down;
  ASSERT_TRUE(BuildUpDownElbow(up, Example(ElbowTurn::kUp), kCommon));
  ASSERT_TRUE(BuildUpDownElbow(down, Example(ElbowTurn::kDown), kCommon));
  ElbowRunInput run;
  run.first = Example(ElbowTurn::kUp);
  run.count = 3;
  run.pitch = 1000;
  run.order = ElbowRunOrder::kAlternating;
  RecordList list(RecordList::kDefaultCapacity * 2);
  ASSERT_TRUE(BuildUpDownElbowRun(list, run, kCommon));
  EXPECT_EQ(list.Record(0), "50,2600.000000,150.000000,150.000000,150.000000,");
  std::vector<Line> want = Lines(up);
  for (const Line& l : Shifted(Lines(down), 1000)) want.push_back(l);
  for (const Line& l : Shifted(Lines(up), 2000)) want.push_back(l);
  ExpectSameLines(Lines(list), want, "alternating");

  run.order = ElbowRunOrder::kSame;
  ASSERT_TRUE(BuildUpDownElbowRun(list, run, kCommon));
  EXPECT_EQ(list.Count() - 1, 3 * (up.Count() - 1));
  EXPECT_EQ(RunElbowTurn(ElbowTurn::kDown, ElbowRunOrder::kAlternating, 3), ElbowTurn::kUp);
}

TEST(UpDownElbowRun, RefusesOverlapsCountsAndRunsThatDoNotFit) {
  ElbowRunInput run;
  run.first = Example(ElbowTurn::kDown);
  run.count = 2;
  // One elbow reaches 400 + 150 right of its centre, the next one's flange
  // 165 left of its centre: 715 is the shortest pitch.
  EXPECT_DOUBLE_EQ(MinimumRunPitch(run.first.shape, kCommon), 715);
  run.pitch = 715;
  RecordList list(1000);
  EXPECT_TRUE(BuildUpDownElbowRun(list, run, kCommon));

  struct Case {
    int count;
    double pitch;
    size_t capacity;
  } cases[] = {{2, 714.9, 1000}, {0, 1000, 1000}, {kMaxRunElbows + 1, 1000, 1000}, {5, 1000, 60}};
  for (const Case& c : cases) {
    ElbowRunInput bad = run;
    bad.count = c.count;
    bad.pitch = c.pitch;
    RecordList small(c.capacity);
    EXPECT_FALSE(BuildUpDownElbowRun(small, bad, kCommon)) << c.count << " " << c.pitch;
    EXPECT_EQ(small.Count(), 0u);
  }
}

}  // namespace
}  // namespace tavelin
