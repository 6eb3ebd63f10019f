// The straight duct drawn from "Choku.ini": body lines, flange joints with
// their angle lines every pitch, the end joints, what to draw and the base point.
#include "framework/straight_duct_drawing.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "blockbuilder/builder.hpp"
#include "tests/blockbuilder/dxf_reading.hpp"

namespace tavelin::blockbuilder {
namespace {
using testing::BuilderRoot;

DuctStyle Style(double k1 = 40.0, double k2 = 15.0) {
  DuctStyle style;
  style.body = {"DUCT", "CONTINUOUS", 4};
  style.angleWidth = {"ANGLE", "CONTINUOUS", 3};
  style.flangeJoint = {"FLANGE", "CONTINUOUS", 2};
  style.k1 = k1;
  style.k2 = k2;
  return style;
}

StraightDuct Duct(std::vector<std::string> lines) {
  BuildLog log;
  return ReadStraightDuct(lines, log);
}

// The x of every vertical line of a layer, sorted.
std::vector<double> Xs(const std::vector<Entity>& entities, const std::string& layer) {
  std::vector<double> xs;
  for (const Entity& e : entities) {
    if (e.attributes.layer != layer) continue;
    EXPECT_EQ(e.v[0], e.v[2]);
    xs.push_back(e.v[0]);
  }
  std::sort(xs.begin(), xs.end());
  return xs;
}

using Xs_ = std::vector<double>;

TEST(StraightDuct, TheWorkedExampleHasBodyLinesJointsEveryPitchAndBothEnds) {
  // Pitch 1820, size 450, base in the middle, both ends, both drawn, 3640 long.
  std::vector<Entity> out;
  BuildLog log;
  ASSERT_TRUE(
      DrawStraightDuct(Duct({"1820", "450", "2", "1", "1", "3", "0", "3640"}), Style(), out, log));
  std::vector<Entity> body;
  for (const Entity& e : out) {
    if (e.attributes.layer == "DUCT") body.push_back(e);
  }
  ASSERT_EQ(body.size(), 2u);
  EXPECT_EQ(body[0].v[0], -1820.0);
  EXPECT_EQ(body[0].v[1], 225.0);
  EXPECT_EQ(body[0].v[2], 1820.0);
  EXPECT_EQ(body[1].v[1], -225.0);
  EXPECT_EQ(Xs(out, "FLANGE"), (Xs_{-1820, 0, 1820}));
  EXPECT_EQ(Xs(out, "ANGLE"), (Xs_{-1780, -40, 40, 1780}));
  for (const Entity& e : out) {
    if (e.attributes.layer == "FLANGE") {
      EXPECT_EQ(std::max(e.v[1], e.v[3]), 240.0);  // 225 + K2
      EXPECT_EQ(std::min(e.v[1], e.v[3]), -240.0);
    }
    if (e.attributes.layer == "ANGLE") {
      EXPECT_EQ(std::max(e.v[1], e.v[3]), 225.0);
    }
  }
  EXPECT_TRUE(log.Empty());
}

TEST(StraightDuct, WhatToDrawEndJointsAndBasePoint) {
  struct Case {
    std::vector<std::string> lines;
    size_t bodyLines;
    Xs_ flanges;
    Xs_ angles;
  };
  const Case cases[] = {
      // Duct lines only: no joint, whatever the end boxes say.
      {{"1000", "300", "1", "1", "1", "1", "0", "2500"}, 2, {}, {}},
      // Joints only, to cut into lines already drawn; the last piece is short.
      {{"1000", "300", "1", "1", "1", "2", "0", "2500"},
       0,
       {0, 1000, 2000, 2500},
       {40, 960, 1040, 1960, 2040, 2460}},
      // No end joints; base point at the right end.
      {{"1000", "300", "3", "0", "0", "3", "0", "2500"},
       2,
       {-1500, -500},
       {-1540, -1460, -540, -460}},
      // A joint that falls on the right end is that end's joint only.
      {{"1250", "300", "1", "0", "1", "3", "0", "2500"}, 2, {1250, 2500}, {1210, 1290, 2460}},
      // No pitch: only the end joints.
      {{"", "300", "1", "1", "0", "3", "0", "2500"}, 2, {0}, {40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines[0] + " " + c.lines[2] + c.lines[3] + c.lines[4] + c.lines[5]);
    std::vector<Entity> out;
    BuildLog log;
    ASSERT_TRUE(DrawStraightDuct(Duct(c.lines), Style(), out, log));
    size_t body = 0;
    for (const Entity& e : out) body += e.attributes.layer == "DUCT";
    EXPECT_EQ(body, c.bodyLines);
    EXPECT_EQ(Xs(out, "FLANGE"), c.flanges);
    EXPECT_EQ(Xs(out, "ANGLE"), c.angles);
  }
}

TEST(StraightDuct, WithoutAngleWidthNoAngleLinesAreDrawn) {
  std::vector<Entity> out;
  BuildLog log;
  ASSERT_TRUE(DrawStraightDuct(Duct({"1820", "450", "1", "1", "1", "3", "0", "3640"}),
                               Style(0.0, 15.0), out, log));
  EXPECT_TRUE(Xs(out, "ANGLE").empty());
  EXPECT_EQ(Xs(out, "FLANGE").size(), 3u);
}

TEST(StraightDuct, SettingsThatDescribeNoDuctAreRefusedWithAReason) {
  const std::vector<std::vector<std::string>> refused = {
      {"1820", "450", "1", "1", "1", "3", "0", ""},       // no length
      {"1820", "450", "1", "1", "1", "3", "0", "abc"},    // no number
      {"1820", "0", "1", "1", "1", "3", "0", "3640"},     // no size
      {"0.001", "450", "1", "1", "1", "3", "0", "3640"},  // millions of joints
  };
  for (const auto& lines : refused) {
    SCOPED_TRACE(lines[0] + " " + lines[1] + " " + lines[7]);
    std::vector<Entity> out;
    BuildLog log;
    EXPECT_FALSE(DrawStraightDuct(Duct(lines), Style(), out, log));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(log.Empty());
  }
}

TEST(StraightDuct, UnknownChoicesFallBackToLeftEndAndBothWithALogLine) {
  BuildLog log;
  StraightDuct duct = ReadStraightDuct({"1820", "450", "", "1", "1", "7", "0", "3640"}, log);
  EXPECT_EQ(duct.basePoint, BasePoint::kLeftEnd);
  EXPECT_EQ(duct.drawing, DuctDrawing::kBoth);
  EXPECT_EQ(log.Lines().size(), 2u);
}

TEST(StraightDuct, CkIsDrawnWithTheActiveAttributesAndCommonValues) {
  BuilderRoot root;
  root.Write("Choku.ini", {"1820", "450", "1", "1", "0", "3", "0", "3640"});
  root.Write("DakutoSet.ini",
             {"空調ダクト-CONTINUOUS-4", "空調アングル-HIDDEN-3", "空調フランジ-CONTINUOUS-1",
              "x-CONTINUOUS-8", "x-CONTINUOUS-1", "x-CONTINUOUS-8", "x-CENTER-1"});
  root.Write("KyotuSet.ini", {"30", "20", "50", "30"});
  root.Write("DrawData.txt", {"CK"});
  root.Write("DrawName.ini", {"ChokuKan182045011033640"});
  root.Write("ByLayer.ini", {"1"});
  BuildResult result = BuildBlock(root.Root());
  ASSERT_TRUE(result.written) << root.Log();
  testing::ReadDrawing dxf = testing::ReadDxf(root.Block("ChokuKan182045011033640"));
  // 2 body lines, joints at 0 (left end) and 1820, none at the right end.
  ASSERT_EQ(dxf.entities.size(), 2u + 2u + 3u);
  EXPECT_EQ(dxf.layers["空調ダクト"].colour, 4);
  EXPECT_EQ(dxf.layers["空調アングル"].lineType, "HIDDEN");
  EXPECT_EQ(dxf.layers["空調フランジ"].colour, 1);
  for (const auto& e : dxf.entities) {
    EXPECT_EQ(e.colour, 256);
    if (e.layer == "空調フランジ") {
      EXPECT_NEAR(std::max(e.v[1], e.v[3]), 245.0, 1e-9);
    }
    if (e.layer == "空調アングル" && e.v[0] < 100) {
      EXPECT_NEAR(e.v[0], 30.0, 1e-9);
    }
  }
}

TEST(StraightDuct, CkWithoutItsSettingsFileMakesNoBlock) {
  BuilderRoot root;
  std::filesystem::remove(root.Info().Locate("Choku.ini"));
  root.Write("DrawData.txt", {"CK"});
  root.Write("DrawName.ini", {"ChokuKan"});
  EXPECT_FALSE(BuildBlock(root.Root()).written);
  EXPECT_NE(root.Log().find("Choku.ini がありません"), std::string::npos);
}

}  // namespace
}  // namespace tavelin::blockbuilder
