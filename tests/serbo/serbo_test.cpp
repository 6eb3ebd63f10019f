// The elbow with silencer lining: the worked elbow's flanges and box, the
// chamfered and rounded corners, the hatch of every shape staying inside the
// box (the half chamfer's notch cuts hatch lines in two), and the dialog's
// eleven settings lines, its name weighted with all four common values and
// its option clicks.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "duct/serbo_dialog.hpp"
#include "duct/serbo_geometry.hpp"
#include "framework/canvas.hpp"
#include "tests/support/drawn_records.hpp"
#include "tests/support/test_root.hpp"

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
  // A wall that is no number leaves the list empty.
  SErboInput broken = Example(SErboShape::kSquare);
  broken.wall = std::nan("");
  EXPECT_FALSE(BuildSErbo(list, broken, kCommon));
  EXPECT_EQ(list.Count(), 0u);
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
          // Nothing in the rounded-off corner: within 250 of (500, -500).
          if (shape == SErboShape::kRounded) EXPECT_GE(std::hypot(p.x - 500, p.y + 500), 249.5);
        }
      }
    }
  }
}

using D = SErboDialog;

// W 400, B 300, angle 0, C 200, T 50, centre base, square corner, hatched.
const std::vector<std::string> kSettings = {"400", "300", "0", "200", "0", "50",
                                            "2",   "1",   "0", "0",   "1"};

class SErboDialogTest : public ::testing::Test {
 protected:
  void Open(std::vector<std::string> settings = kSettings) {
    test.Write("S_Erbo.ini", settings);
    dialog = std::make_unique<D>(test.App());
    dialog->Initialize();
    ASSERT_EQ(dialog->Failures(), 0);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }
  size_t Hatches() {
    size_t n = 0;
    for (const std::string& line : test.Lines("DrawData.txt")) {
      if (line.find("DUCT_HATCH") != std::string::npos) ++n;
    }
    return n;
  }

  testing::TestApp test;
  std::unique_ptr<D> dialog;
};

TEST_F(SErboDialogTest, OpeningHandsOffTheHatchedElbowUnderItsWeightedName) {
  Open();
  EXPECT_EQ(test.Lines("S_Erbo.ini"), kSettings);
  const std::vector<std::string> data = test.Lines("DrawData.txt");
  // K1 40, K2 15, K3 50: L = 700.
  EXPECT_EQ(data[0], "50,750.000000,750.000000,200.000000,200.000000,");
  EXPECT_EQ(data[1], "1,1,3,700.000000,215.000000,700.000000,-215.000000,CONTINUOUS,DUCT_FLANGE,");
  EXPECT_GT(Hatches(), 20u);
  // The eleven values weigh 1.0 to 2.0 (1088.4), then 2.1 K1 + 2.2 K2 +
  // 2.3 K3 + 2.4 K4 = 84 + 33 + 115 + 72.
  EXPECT_EQ(test.Lines("DrawName.ini"), (std::vector<std::string>{"SE_1392D40000041"}));
}

TEST_F(SErboDialogTest, ShapesAndHatchAreOptionClicks) {
  Open();
  ASSERT_TRUE(dialog->UserClick(D::kChamfered));
  EXPECT_EQ(test.Lines("S_Erbo.ini")[7], "3");
  EXPECT_EQ(test.Lines("DrawData.txt")[16],
            "1,1,4,500.000000,-270.710678,270.710678,-500.000000,CONTINUOUS,DUCT,");
  ASSERT_TRUE(dialog->UserClick(D::kHatch));
  EXPECT_EQ(test.Lines("S_Erbo.ini")[10], "0");
  EXPECT_EQ(Hatches(), 0u);
  // The inner base point: the duct's inner corner (200, -200) at the origin.
  ASSERT_TRUE(dialog->UserClick(D::kBaseInner));
  EXPECT_EQ(test.Lines("S_Erbo.ini")[6], "3");
  EXPECT_EQ(test.Lines("DrawData.txt")[7],
            "1,1,4,0.000000,-500.000000,0.000000,-300.000000,CONTINUOUS,DUCT,");
  // The stored angle turns the elbow: the outlet flange (700, 215)-(700, -215)
  // a quarter round.
  std::vector<std::string> turned = kSettings;
  turned[2] = "90";
  Open(turned);
  EXPECT_EQ(test.Lines("DrawData.txt")[1],
            "1,1,3,-215.000000,700.000000,215.000000,700.000000,CONTINUOUS,DUCT_FLANGE,");
}

}  // namespace
}  // namespace tavelin
