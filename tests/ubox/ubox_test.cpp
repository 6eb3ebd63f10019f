// The lined box: its eight lines for every base point, the hatch that keeps
// its slope however the box is turned, the block name that weighs the
// hatching width, and the width that redraws while typed.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "duct/ubox_dialog.hpp"
#include "duct/ubox_geometry.hpp"
#include "tests/support/drawn_records.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

using testing::Drawn;

UboxInput Box(int base, double angle = 0.0, bool mirror = false) {
  UboxInput in;
  in.width = 1000;
  in.depth = 600;
  in.lining = 50;
  in.base = base;
  in.angle = angle;
  in.mirror = mirror;
  return in;
}

const CommonValues kCommon{40.0, 15.0, 50.0, 30.0};

TEST(UboxGeometry, OutlineThenLiningForEveryBasePoint) {
  // X 1000, Y 600, T 50; each base point moves the box's centre to (dx, dy).
  struct Case {
    int base;
    double dx, dy;
  } cases[] = {{1, 0, 0}, {2, 0, 300}, {3, 500, 300}, {4, 500, 0}, {0, 0, 0}};
  const double outer[][2] = {{-500, 300}, {500, 300}, {500, -300}, {-500, -300}};
  const double inner[][2] = {{-450, 250}, {450, 250}, {450, -250}, {-450, -250}};
  for (const Case& c : cases) {
    RecordList list(500);
    ASSERT_TRUE(BuildUbox(list, Box(c.base), kCommon));
    EXPECT_EQ(list.Record(0), "50,500.000000,300.000000,500.000000,300.000000,");
    std::vector<Drawn> r = testing::ReadDrawn(list);
    for (int k = 0; k < 4; ++k) {
      const int n = (k + 1) % 4;
      EXPECT_TRUE(testing::SameLine(r[k], c.dx + outer[k][0], c.dy + outer[k][1],
                                    c.dx + outer[n][0], c.dy + outer[n][1]));
      EXPECT_TRUE(testing::SameLine(r[k + 4], c.dx + inner[k][0], c.dy + inner[k][1],
                                    c.dx + inner[n][0], c.dy + inner[n][1]));
      EXPECT_EQ(r[k + 4].style, kDotted);
    }
  }
  UboxInput huge = Box(1);
  huge.depth = 1e300;
  RecordList list;
  EXPECT_FALSE(BuildUbox(list, huge, kCommon));
  EXPECT_EQ(list.Count(), 0u);
}

TEST(UboxGeometry, HatchFillsTheBoxAtOneSlopeWhateverTheTurn) {
  for (double angle : {0.0, 90.0, 30.0}) {
    for (bool mirror : {false, true}) {
      RecordList list(500);
      ASSERT_TRUE(BuildUbox(list, Box(1, angle, mirror), kCommon));
      std::vector<Drawn> hatch = testing::OfElement(testing::ReadDrawn(list), kHatchingLine);
      // Lines 30 apart cross the box's extent across them; in the box's own
      // frame they run at 45 - angle degrees.
      const double t = (45 - angle) * kDegreesToRadians;
      const double across = (1000 * std::fabs(std::sin(t)) + 600 * std::fabs(std::cos(t))) / 30;
      EXPECT_NEAR(static_cast<double>(hatch.size()), across, 1.5) << angle;
      for (const Drawn& h : hatch) {
        EXPECT_NEAR((h.v[3] - h.v[1]) / (h.v[2] - h.v[0]), 1.0, 1e-3) << angle << " " << mirror;
        // Turned back, both ends lie on the outline.
        for (int e = 0; e < 2; ++e) {
          Point p = RotateByAngle(h.v[2 * e], h.v[2 * e + 1], -angle);
          const bool onSide =
              testing::Near(std::fabs(p.x), 500, 0.01) || testing::Near(std::fabs(p.y), 300, 0.01);
          EXPECT_TRUE(onSide && std::fabs(p.x) <= 500.01 && std::fabs(p.y) <= 300.01)
              << angle << " " << p.x << "," << p.y;
        }
      }
    }
  }
}

TEST(UboxDialog, WeightedNameAndAWidthThatRedrawsWhileTyped) {
  testing::TestApp test;
  auto dialog = std::make_unique<UboxDialog>(test.App());
  dialog->Initialize();
  // 1001 + 601 * 1.1 + 51 * 1.2 + 1.3 + 2 * 1.4 + 1.5 + 1.6 = 1730.5, and the
  // hatching width 30 weighs 1.7; then the run-time's first random number.
  EXPECT_EQ(test.Lines("DrawName.ini"), (std::vector<std::string>{"UB_1781D50000041"}));
  ASSERT_TRUE(dialog->UserSetText(UboxDialog::kDepth, "800"));
  EXPECT_EQ(test.Lines("Ubox.ini")[1], "600") << "the depth waits for the update";
  ASSERT_TRUE(dialog->UserSetText(UboxDialog::kWidth, "1200"));
  EXPECT_EQ(test.Lines("Ubox.ini")[0], "1200");
  EXPECT_EQ(test.Lines("DrawData.txt")[0], "50,600.000000,400.000000,600.000000,400.000000,");
  // With the angle field empty, typing the width waits like the others.
  test.Write("Ubox.ini", {"1000", "600", "50", "", "1", "0", "0"});
  dialog = std::make_unique<UboxDialog>(test.App());
  dialog->Initialize();
  const std::string before = test.Bytes("DrawName.ini");
  ASSERT_TRUE(dialog->UserSetText(UboxDialog::kWidth, "900"));
  EXPECT_EQ(test.Bytes("DrawName.ini"), before);
}

}  // namespace
}  // namespace tavelin
