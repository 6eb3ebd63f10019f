#include <gtest/gtest.h>

#include <algorithm>

#include "framework/preview.hpp"
#include "framework/record_list.hpp"

namespace tavelin {
namespace {

bool Has(const RecordingCanvas& canvas, const std::string& call) {
  return std::find(canvas.calls.begin(), canvas.calls.end(), call) != canvas.calls.end();
}

RecordList Sample() {
  RecordList list;
  for (int e = 1; e <= 7; ++e) list.SetAttributes(e, {"L", "CONTINUOUS", "7"});
  list.SetExtents(100, 50, 100, 50);  // size 200
  list.AddLineRecord(1, 1, 3, 0, 0, 100, 50);
  list.AddLineRecord(1, 2, 1, -100, 0, 0, -50);
  list.AddArcRecord(2, 1, 1, 0, 0, 50, 0, 90);
  return list;
}

TEST(Preview, ScalesAboutTheCentreWithTruncatedPixels) {
  RecordingCanvas canvas;
  PixelRect client{0, 0, 161, 121};  // centre (80, 60)
  DrawPreview(canvas, client, Sample(), 80);  // 0.4 pixel per unit
  EXPECT_EQ(canvas.calls[0], "fill 1 1 160 120 225,225,225");
  EXPECT_TRUE(Has(canvas, "move 80 60"));
  EXPECT_TRUE(Has(canvas, "line 120 40"));
  EXPECT_TRUE(Has(canvas, "move 40 60"));
  EXPECT_TRUE(Has(canvas, "line 80 80"));
  // The arc's box and its end points (y up in the drawing, down on the screen).
  EXPECT_TRUE(Has(canvas, "arc 60 40 100 80 100 60 80 40"));
  // The origin marker closes the drawing.
  EXPECT_EQ(canvas.calls.back(), "arc 78 58 82 62 82 60 82 60");
}

TEST(Preview, PensFollowElementThenStyle) {
  RecordingCanvas canvas;
  DrawPreview(canvas, {0, 0, 100, 100}, Sample(), 80);
  std::vector<std::string> pens;
  for (auto& call : canvas.calls) {
    if (call.rfind("pen", 0) == 0) pens.push_back(call);
  }
  // Element 3 blue; element 1 black then the dotted pen for style 2; black; the marker.
  ASSERT_EQ(pens.size(), 5u);
  EXPECT_EQ(pens[0], "pen 0 0,0,255");
  EXPECT_EQ(pens[1], "pen 0 0,0,0");
  EXPECT_EQ(pens[2], "pen 1 128,128,128");
  EXPECT_EQ(pens[4], "pen 0 0,255,128");
}

TEST(Preview, UnknownKindsAndElementSevenKeepOrSkip) {
  RecordList list = Sample();
  list.AddLineRecord(1, 1, 7, 0, 0, 1, 1);  // element 7: no pen of its own
  RecordingCanvas canvas;
  DrawPreview(canvas, {0, 0, 100, 100}, list, 80);
  // The element-7 line follows the arc without a pen change before it.
  auto it = std::find_if(canvas.calls.rbegin(), canvas.calls.rend(),
                         [](const std::string& c) { return c.rfind("move", 0) == 0; });
  ASSERT_NE(it, canvas.calls.rend());
  EXPECT_EQ((it + 1)->substr(0, 3), "arc");
}

TEST(Preview, ZeroExtentsOrNoRecordsDrawNothingButTheBackground) {
  RecordList list;
  list.SetExtents(0, 0, 0, 0);
  list.AddLineRecord(1, 1, 1, 0, 0, 10, 10);
  RecordingCanvas canvas;
  DrawPreview(canvas, {0, 0, 50, 50}, list, 80);
  ASSERT_EQ(canvas.calls.size(), 1u);
  RecordList empty;
  RecordingCanvas second;
  DrawOffsetPreview(second, {0, 0, 50, 50}, empty, 80, 0.5);
  EXPECT_EQ(second.calls.size(), 1u);
}

TEST(Preview, OffsetFormKeepsTheFittingInPlaceWhileTheBaseMoves) {
  RecordList list;
  list.SetAttributes(1, {"L", "C", "7"});
  list.baseX = 100;  // the base point moves 100 to the right
  list.SetExtents(200, 50, 0, 50);
  list.AddLineRecord(1, 1, 1, 0, 0, 200, 0);  // recorded from (-100, 0) to (100, 0)
  RecordingCanvas canvas;
  DrawOffsetPreview(canvas, {0, 0, 201, 101}, list, 80, 0.5);
  // W = 50 * 80 / 200 = 20; tx = -2: x=-100 -> 100 + (-2 + 2) * 20 = 100.
  EXPECT_TRUE(Has(canvas, "move 100 50"));
  EXPECT_TRUE(Has(canvas, "line 180 50"));
  // The marker sits at the base point's screen position, (0, 0) drawn with the offset.
  EXPECT_EQ(canvas.calls.back(), "arc 138 48 142 52 142 50 142 50");
}

TEST(Schematic, ScaledFieldsAndTheStylePens) {
  auto lines = ParseSchematic({"1,1,0,10,40,90,160,", "2,4,2,5,5,2,0,180,", "1,2,3,0,0,0,0,"});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_DOUBLE_EQ(lines[0].v[1], 20.0);  // 2 × y1 stored
  EXPECT_DOUBLE_EQ(lines[0].v[2], 30.0);  // 3 × x2 stored
  EXPECT_DOUBLE_EQ(lines[0].v[3], 40.0);  // 4 × y2 stored
  EXPECT_EQ(lines[1].tag, 2);
  EXPECT_EQ(SchematicStylePen(lines[1].style), pens::kChain);
  EXPECT_EQ(SchematicStylePen(lines[2].style), pens::kDotted);
  RecordingCanvas canvas;
  DrawSchematic(canvas, {0, 0, 20, 20}, {lines[0]}, 150, 80, 5.5, [](const SchematicLine&) {
    return pens::kBlack;
  });
  EXPECT_EQ(canvas.calls[0], "fill 0 0 20 20 192,192,192");
  EXPECT_TRUE(Has(canvas, "move 205 190"));  // 150 + 10 × 5.5, 80 + 20 × 5.5
  EXPECT_TRUE(Has(canvas, "line 315 300"));
}

}  // namespace
}  // namespace tavelin
