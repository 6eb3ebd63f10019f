// The design rules of the public building standard at their boundaries: a
// fitting just inside a limit is silent, one just past it warns and names
// the fix.
#include "framework/design_rules.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tavelin {
namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(DesignRules, SizesWithBothSidesAreRead) {
  struct Case {
    const char* text;
    double width, height;  // 0, 0: not a section
  } cases[] = {
      {"600x150", 600, 150}, {"600×150", 600, 150}, {" 600 X 150 ", 600, 150},
      {"450*300", 450, 300}, {"600", 0, 0},         {"600x", 0, 0},
      {"x150", 0, 0},        {"600x0", 0, 0},       {"600x-150", 0, 0},
      {"600x150mm", 0, 0},   {"abc", 0, 0},
  };
  for (const Case& c : cases) {
    std::optional<DuctSection> section = ParseDuctSection(c.text);
    if (c.width == 0) {
      EXPECT_FALSE(section) << c.text;
      continue;
    }
    ASSERT_TRUE(section) << c.text;
    EXPECT_EQ(section->width, c.width) << c.text;
    EXPECT_EQ(section->height, c.height) << c.text;
  }
}

TEST(DesignRules, AspectRatioAboveFourWarnsWithTheShortSideNeeded) {
  EXPECT_EQ(AspectRatioWarning({600, 150}), "");
  EXPECT_EQ(AspectRatioWarning({150, 600}), "");
  const std::string past = AspectRatioWarning({601, 150});
  EXPECT_TRUE(Has(past, "縦横比")) << past;
  EXPECT_TRUE(Has(past, "2.2.1")) << past;
  EXPECT_TRUE(Has(past, "短辺を 151 以上")) << past;
  EXPECT_TRUE(Has(past, "縦横比が 4.01 で")) << "just past the limit never reads as the limit";
  // The long side may be the height.
  EXPECT_TRUE(Has(AspectRatioWarning({150, 601}, "元管"), "元管の縦横比"));
}

TEST(DesignRules, ElbowRadiusBelowHalfTheWidthAsksForGuideVanes) {
  EXPECT_EQ(ElbowRadiusWarning(400, 200), "");
  const std::string past = ElbowRadiusWarning(400, 199);
  EXPECT_TRUE(Has(past, "案内羽根")) << past;
  EXPECT_TRUE(Has(past, "2.2.1")) << past;
  EXPECT_TRUE(Has(past, "内Rを 200 以上")) << past;
  // An odd width: half of 355 is 177.5, so 178 is the smallest whole radius.
  EXPECT_EQ(SmallestInnerRadius(355), 178);
  EXPECT_EQ(ElbowRadiusWarning(355, 178), "");
  EXPECT_TRUE(Has(ElbowRadiusWarning(355, 177.4), "内Rを 178 以上"));
  // A sharp inner corner has no radius at all.
  EXPECT_NE(ElbowRadiusWarning(400, 0), "");
  EXPECT_EQ(ElbowRadiusWarning(0, 0), "");
}

TEST(DesignRules, ReducerTaperLimitsAndTheShortestLength) {
  struct Case {
    Reducer reducer;  // at the shortest length
    double shortest;
    const char* limitText;
  } cases[] = {
      // Widening, both sides sloping 100: 100 / tan 15° = 373.2.
      {{400, 600, 0, false}, 374, "15°"},
      // Narrowing may be steeper: 100 / tan 30° = 173.2.
      {{600, 400, 0, false}, 174, "30°"},
      // One-sided: the sloping side takes the whole change of 200.
      {{400, 600, 0, true}, 747, "15°"},
      {{600, 400, 0, true}, 347, "30°"},
  };
  for (Case c : cases) {
    EXPECT_EQ(ShortestReducerLength(c.reducer), c.shortest);
    c.reducer.length = c.shortest;
    EXPECT_EQ(ReducerTaperWarning(c.reducer), "") << c.shortest;
    EXPECT_LE(TaperAngle(c.reducer), c.reducer.outletWidth > c.reducer.inletWidth ? 15.0 : 30.0);
    c.reducer.length = c.shortest - 1;
    const std::string past = ReducerTaperWarning(c.reducer);
    EXPECT_TRUE(Has(past, "整流板")) << past;
    EXPECT_TRUE(Has(past, c.limitText)) << past;
    EXPECT_TRUE(Has(past, "長さを " + std::to_string(static_cast<int>(c.shortest)) + " 以上"))
        << past;
  }
  // Exactly at the limit (a length whose taper is 15.000° to the last bit) is within it.
  Reducer exact{400, 600, 100 / std::tan(15.0 * 3.14159265358979323846 / 180.0), false};
  EXPECT_EQ(ReducerTaperWarning(exact), "");
  // A step with no length; equal widths have no taper at all.
  EXPECT_TRUE(Has(ReducerTaperWarning({400, 600, 0, false}), "90°"));
  EXPECT_EQ(ReducerTaperWarning({400, 400, 0, false}), "");
  EXPECT_EQ(ShortestReducerLength({400, 400, 0, false}), 0);
}

// The reducer generator's drawing: large end 600 about the centre line, small
// end from -P to Q. Its steeper side is 300 - 100 = 200 here; the air's
// direction is not drawn, so 30° warns for either way and 15° for a widening.
TEST(DesignRules, TheDrawnReducerChecksItsSteeperSideBothWays) {
  // 200 / tan 30° = 346.4, 200 / tan 15° = 746.4.
  EXPECT_TRUE(Has(DrawnReducerTaperWarning(600, 100, 250, 346), "縮小角度"));
  const std::string widening = DrawnReducerTaperWarning(600, 100, 250, 347);
  EXPECT_TRUE(Has(widening, "小さい側から流す場合の片落ちの拡大角度")) << widening;
  EXPECT_TRUE(Has(widening, "長さを 747 以上")) << widening;
  EXPECT_EQ(DrawnReducerTaperWarning(600, 100, 250, 747), "");
  // A centred small end: both sides shift 150.
  EXPECT_EQ(DrawnReducerTaperWarning(600, 150, 150, 560), "");
  EXPECT_NE(DrawnReducerTaperWarning(600, 150, 150, 559), "");
}

}  // namespace
}  // namespace tavelin
