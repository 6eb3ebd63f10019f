// The duct up-down's outline: the run of one offset, the worked example with
// equal widths record by record, a wider middle part set sideways with the
// middle flange and the middle part higher, and a rise too large for the
// heights.
#include <gtest/gtest.h>

#include <cmath>

#include "duct/updown_geometry.hpp"
#include "tests/support/line_records.hpp"

namespace tavelin {
namespace {
using testing::ExpectLine;
using testing::LineRecords;

const CommonValues kCommon{40, 15, 50, 30};

// 400 x 300 ducts, the middle part 300 lower, straights of 100, a middle of 500.
UpdownInput Example() {
  UpdownInput in;
  in.w1 = in.w2 = 400;
  in.h1 = in.h2 = 300;
  in.v = 300;
  in.s1 = in.s2 = 100;
  in.m = 500;
  return in;
}

TEST(UpdownRun, RoundsTheRootByItsFirstDecimal) {
  EXPECT_EQ(UpdownRun(300, 300, 300), 520);  // √(600² − 300²) = 519.6
  EXPECT_EQ(UpdownRun(300, 300, 0), 0);
  EXPECT_EQ(UpdownRun(100, 100, 100), 173);  // 173.2
  EXPECT_TRUE(std::isnan(UpdownRun(300, 300, 1300)));
  EXPECT_TRUE(std::isnan(UpdownRun(300, 300, -300)));
}

TEST(UpdownOutline, EqualWidthsRecordByRecord) {
  RecordList list;
  UpdownResult r = BuildUpdown(list, Example(), kCommon);
  ASSERT_EQ(r.outcome, UpdownOutcome::kBuilt);
  // R = 520, L1 = 720, Ltot = 1940; a = 75, a3 = 225, xs = 495, xe = 645.
  EXPECT_EQ(r.total, 1940);
  EXPECT_EQ(list.Record(0), "50,1990.000000,200.000000,50.000000,200.000000,");
  testing::ExpectLines(LineRecords(list), {
      {1, 1, -50, 200, 0, 200},      {1, 1, -50, -200, 0, -200},
      {1, 1, 0, 200, 720, 200},                                  // the sides run through
      {1, 1, 225, 200, 225, -200},   {1, 1, 645, 200, 645, -200},
      {1, 1, 0, -200, 720, -200},
      {2, 4, 75, 200, 75, -200},     {2, 4, 495, 200, 495, -200},
      {2, 4, 225, 200, 75, -200},    {2, 4, 645, 200, 495, -200},
      {1, 2, 40, 200, 40, -200},     {1, 3, 0, 215, 0, -215},
      // The second offset, measured back from the far end.
      {1, 1, 1940, 200, 1990, 200},  {1, 1, 1940, -200, 1990, -200},
      {1, 1, 1940, 200, 1220, 200},
      {1, 1, 1715, 200, 1715, -200}, {1, 1, 1295, 200, 1295, -200},
      {1, 1, 1940, -200, 1220, -200},
      {2, 4, 1865, 200, 1865, -200}, {2, 4, 1445, 200, 1445, -200},
      {2, 4, 1865, 200, 1715, -200}, {2, 4, 1445, 200, 1295, -200},
      {1, 2, 1900, 200, 1900, -200}, {1, 3, 1940, 215, 1940, -215},
      {1, 1, 1295, 200, 645, 200},   {1, 1, 1295, -200, 645, -200},
  });
}

TEST(UpdownOutline, WideMiddleSetAsideWithFlangeAndHigher) {
  UpdownInput in = Example();
  in.w2 = 600;
  in.of = 100;  // yT = 300, yB = -300
  in.midFlange = true;
  in.lower = false;  // "上側": the bend lines seen and hidden change places
  in.base = 4;       // (L1, yB) = (720, -300) becomes the origin
  RecordList list;
  ASSERT_EQ(BuildUpdown(list, in, kCommon).outcome, UpdownOutcome::kBuilt);
  EXPECT_EQ(list.Record(0), "50,1990.000000,300.000000,50.000000,300.000000,");
  auto got = LineRecords(list);
  ASSERT_EQ(got.size(), 25u + 24u);
  // The first offset's upper side reaches the middle flange at L1 ...
  ExpectLine(got[4], {1, 1, 495 - 720, 600, 0, 600});
  ExpectLine(got[5], {2, 4, 75 - 720, 500, 225 - 720, 500});  // v: hidden
  ExpectLine(got[16], {1, 1, 75 - 720, 500, 75 - 720, 100});  // h: seen
  ExpectLine(got[18], {2, 4, 225 - 720, 500, 75 - 720, 100});
  ExpectLine(got[24], {1, 3, 0, 615, 0, -15});
  // ... the second offset's always stops at its bend's end, Ltot - xe.
  ExpectLine(got[29], {1, 1, 1445 - 720, 600, 1295 - 720, 600});
}

TEST(UpdownOutline, NoRunOrAbsurdValuesDrawNothing) {
  UpdownInput tooHigh = Example();
  tooHigh.v = 1300;
  UpdownInput absurd = Example();
  absurd.m = 1e300;
  RecordList list;
  EXPECT_EQ(BuildUpdown(list, tooHigh, kCommon).outcome, UpdownOutcome::kRiseTooLarge);
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_EQ(BuildUpdown(list, absurd, kCommon).outcome, UpdownOutcome::kOutOfRange);
  EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
}  // namespace tavelin
