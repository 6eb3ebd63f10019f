// The square register with box: the worked register of 300 by 200 in a
// margin of 50, the three register symbols, the lining and its hatching,
// and the corner base point.
#include "duct/kakubox_geometry.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/drawn_records.hpp"

namespace tavelin {
namespace {

using testing::Drawn;
using testing::ReadDrawn;
using testing::SameLine;

const CommonValues kCommon{40.0, 15.0, 50.0, 30.0};

KakuboxInput Register(RegisterType type, bool lined = false, double lining = 25) {
  KakuboxInput in;
  in.registerWidth = 300;
  in.registerDepth = 200;
  in.margin = 50;
  in.lining = lining;
  in.lined = lined;
  in.type = type;
  return in;
}

TEST(KakuboxGeometry, WorkedRegisterWithEachSymbol) {
  KakuboxInput in = Register(RegisterType::kCross);
  EXPECT_EQ(KakuboxWidth(in), 400);
  EXPECT_EQ(KakuboxDepth(in), 300);
  struct Case {
    RegisterType type;
    std::vector<std::vector<double>> symbol;
  } cases[] = {
      {RegisterType::kCross, {{-150, -100, 150, 100}, {-150, 100, 150, -100}}},
      {RegisterType::kDiagonal, {{-150, -100, 150, 100}}},
      {RegisterType::kHalfDiagonal, {{-150, -100, 150, 100}, {0, 0, 150, -100}}},
      {RegisterType::kNone, {}},
  };
  for (const Case& c : cases) {
    RecordList list(500);
    ASSERT_TRUE(BuildKakubox(list, Register(c.type), kCommon));
    EXPECT_EQ(list.Record(0), "50,200.000000,150.000000,200.000000,150.000000,");
    std::vector<Drawn> r = ReadDrawn(list);
    ASSERT_EQ(r.size(), 8 + c.symbol.size());
    EXPECT_TRUE(SameLine(r[0], -200, -150, -200, 150));
    EXPECT_TRUE(SameLine(r[3], 200, -150, -200, -150));
    // The register face, dotted fixture lines.
    EXPECT_TRUE(SameLine(r[4], -150, -100, -150, 100));
    EXPECT_TRUE(SameLine(r[5], -150, 100, 150, 100));
    EXPECT_TRUE(SameLine(r[6], 150, 100, 150, -100));
    EXPECT_TRUE(SameLine(r[7], 150, -100, -150, -100));
    for (size_t k = 0; k < c.symbol.size(); ++k) {
      const std::vector<double>& s = c.symbol[k];
      EXPECT_TRUE(SameLine(r[8 + k], s[0], s[1], s[2], s[3])) << k;
      EXPECT_EQ(r[8 + k].element, kFixtureLine);
      EXPECT_EQ(r[8 + k].style, kDotted);
    }
  }
}

TEST(KakuboxGeometry, LiningAndHatching) {
  RecordList list(500);
  BuildKakubox(list, Register(RegisterType::kDiagonal, true, 25), kCommon);
  std::vector<Drawn> r = ReadDrawn(list);
  EXPECT_TRUE(SameLine(r[8], -175, -125, -175, 125));
  EXPECT_TRUE(SameLine(r[11], 175, -125, -175, -125));
  EXPECT_EQ(r[8].element, kHiddenLine);
  EXPECT_TRUE(SameLine(r[12], -150, -100, 150, 100)) << "the symbol follows the lining";
  std::vector<Drawn> hatch = testing::OfElement(r, kHatchingLine);
  EXPECT_GT(hatch.size(), 10u);
  for (const Drawn& h : hatch) {
    for (double x : {h.v[0], h.v[2]}) EXPECT_LE(std::fabs(x), 200.001);
    for (double y : {h.v[1], h.v[3]}) EXPECT_LE(std::fabs(y), 150.001);
  }
  // A lined box with T = 0 has no lining lines but is still hatched.
  BuildKakubox(list, Register(RegisterType::kDiagonal, true, 0), kCommon);
  r = ReadDrawn(list);
  EXPECT_TRUE(SameLine(r[8], -150, -100, 150, 100));
  EXPECT_EQ(testing::OfElement(r, kHiddenLine).size(), 0u);
  EXPECT_EQ(testing::OfElement(r, kHatchingLine).size(), hatch.size());
  // Without the lining: neither.
  BuildKakubox(list, Register(RegisterType::kDiagonal, false, 25), kCommon);
  EXPECT_EQ(list.Count(), 1u + 9u);
}

TEST(KakuboxGeometry, CornerBasePointAndRefusedValues) {
  RecordList list(500);
  list.rotation = 45;
  list.mirror = 1;
  KakuboxInput in = Register(RegisterType::kCross);
  in.base = 2;
  BuildKakubox(list, in, kCommon);
  EXPECT_EQ(list.rotation, 0.0);
  EXPECT_EQ(list.mirror, 0);
  // The box's lower left corner lands on the insertion point.
  EXPECT_TRUE(SameLine(ReadDrawn(list)[0], 0, 0, 0, 300));
  in.margin = 1e300;
  EXPECT_FALSE(BuildKakubox(list, in, kCommon));
  EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
}  // namespace tavelin
