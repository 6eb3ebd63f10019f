// The elbow with silencer lining: the worked elbow's flanges and box, the
// chamfer of the third shape, the base points, and the hatch of every shape
// staying inside the box (the half chamfer's notch cuts hatch lines in two).
#include "duct/serbo_geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/drawn_records.hpp"

namespace tavelin {
namespace {

using testing::Drawn;
using testing::ReadDrawn;
using testing::SameLine;

const CommonValues kCommon{40.0, 30.0, 20.0, 30.0};

SErboInput Example(SErboShape shape, SErboBase base = SErboBase::kCentreLines) {
  SErboInput in;
  in.width = 400;
  in.boxLength = 300;
  in.stubLength = 200;
  in.wall = 50;
  in.shape = shape;
  in.base = base;
  return in;
}

TEST(SErboGeometry, WorkedElbowStubsAndSquareBox) {
  RecordList list;
  ASSERT_TRUE(BuildSErbo(list, Example(SErboShape::kSquare), kCommon));
  // L = 200 + 300 + 200 = 700; the extents add K3.
  EXPECT_EQ(list.Record(0), "50,720.000000,720.000000,200.000000,200.000000,");
  std::vector<Drawn> r = ReadDrawn(list);
  ASSERT_EQ(r.size(), 18u);
  EXPECT_TRUE(SameLine(r[0], 700, 230, 700, -230));
  EXPECT_TRUE(SameLine(r[1], -230, -700, 230, -700));
  EXPECT_TRUE(SameLine(r[2], 660, 200, 660, -200));
  EXPECT_TRUE(SameLine(r[3], -200, -660, 200, -660));
  EXPECT_TRUE(SameLine(r[4], 700, 200, 500, 200));
  EXPECT_TRUE(SameLine(r[7], -200, -700, -200, -500));
  EXPECT_TRUE(SameLine(r[8], -200, -500, -200, 200));
  EXPECT_EQ(r[8].style, kDotted);
  // The box spans x from -250 to 500 and y from -500 to 250.
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  for (size_t k = 12; k < 18; ++k) {
    EXPECT_EQ(r[k].element, kDuctBody);
    for (int e = 0; e < 2; ++e) {
      minX = std::fmin(minX, r[k].v[2 * e]);
      maxX = std::fmax(maxX, r[k].v[2 * e]);
      minY = std::fmin(minY, r[k].v[2 * e + 1]);
      maxY = std::fmax(maxY, r[k].v[2 * e + 1]);
    }
  }
  EXPECT_EQ(minX, -250);
  EXPECT_EQ(maxX, 500);
  EXPECT_EQ(minY, -500);
  EXPECT_EQ(maxY, 250);
  // No angle width: no angle-width lines.
  CommonValues noAngle = kCommon;
  noAngle.k1 = 0;
  BuildSErbo(list, Example(SErboShape::kSquare), noAngle);
  EXPECT_EQ(testing::OfElement(ReadDrawn(list), kAngleWidth).size(), 0u);
}

TEST(SErboGeometry, ChamferAndRoundedCorner) {
  RecordList list;
  BuildSErbo(list, Example(SErboShape::kChamfered), kCommon);
  std::vector<Drawn> r = ReadDrawn(list);
  ASSERT_EQ(r.size(), 16u);
  const double g = 50 / std::sin(0.7853981634) - 50;  // 20.71
  EXPECT_TRUE(SameLine(r[10], 500, -200, 200, -500));
  EXPECT_TRUE(SameLine(r[15], 500, -250 - g, 250 + g, -500));
  EXPECT_TRUE(SameLine(r[15], 500, -270.711, 270.711, -500));
  BuildSErbo(list, Example(SErboShape::kRounded), kCommon);
  r = ReadDrawn(list);
  ASSERT_EQ(r.size(), 16u);
  EXPECT_EQ(r[14].v, (std::vector<double>{500, -500, 300, 90, 180}));
  EXPECT_EQ(r[14].element, kHiddenLine);
  EXPECT_EQ(r[15].v, (std::vector<double>{500, -500, 250, 90, 180}));
  EXPECT_EQ(r[15].element, kDuctBody);
  BuildSErbo(list, Example(SErboShape::kHalfChamfer), kCommon);
  r = ReadDrawn(list);
  ASSERT_EQ(r.size(), 20u);
  EXPECT_TRUE(SameLine(r[18], 350, -250, 250, -350));
}

TEST(SErboGeometry, BasePointsPutTheDuctCornersAtTheOrigin) {
  RecordList list;
  // The outer duct walls meet at (-200, 200), the inner ones at (200, -200).
  BuildSErbo(list, Example(SErboShape::kSquare, SErboBase::kOuterCorner), kCommon);
  EXPECT_TRUE(SameLine(ReadDrawn(list)[9], 0, 0, 700, 0));
  BuildSErbo(list, Example(SErboShape::kSquare, SErboBase::kInnerCorner), kCommon);
  EXPECT_TRUE(SameLine(ReadDrawn(list)[11], 0, 0, 0, -300));
}

TEST(SErboGeometry, HatchStaysInsideTheBoxOfEveryShape) {
  for (SErboShape shape : {SErboShape::kSquare, SErboShape::kRounded, SErboShape::kChamfered,
                           SErboShape::kHalfChamfer}) {
    for (double angle : {0.0, 90.0}) {
      SErboInput in = Example(shape);
      in.hatch = true;
      in.angle = angle;
      RecordList list(1000);
      BuildSErbo(list, in, kCommon);
      const std::vector<Segment> region = SErboHatchRegion(in);
      std::vector<Drawn> hatch = testing::OfElement(ReadDrawn(list), kHatchingLine);
      EXPECT_GT(hatch.size(), 20u);
      for (const Drawn& h : hatch) {
        Point a = RotateByAngle(h.v[0], h.v[1], -angle);
        Point b = RotateByAngle(h.v[2], h.v[3], -angle);
        for (double t : {0.0, 0.25, 0.5, 0.75, 1.0}) {
          Point p{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
          EXPECT_TRUE(testing::InsideOrOn(p, region, 0.05))
              << static_cast<int>(shape) << " " << angle << ": " << p.x << "," << p.y;
        }
      }
    }
  }
}

TEST(SErboGeometry, ValuesBeyondAnyDrawingLeaveTheListEmpty) {
  SErboInput in = Example(SErboShape::kSquare);
  in.wall = std::nan("");
  RecordList list;
  EXPECT_FALSE(BuildSErbo(list, in, kCommon));
  EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
}  // namespace tavelin
