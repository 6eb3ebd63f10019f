#include <gtest/gtest.h>

#include "framework/record_list.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

RecordList DuctList(size_t capacity = RecordList::kDefaultCapacity) {
  RecordList list(capacity);
  list.SetAttributes(1, {"DUCT", "CONTINUOUS", "7"});
  list.SetAttributes(3, {"FLANGE", "HIDDEN", "3"});
  list.SetExtents(1, 2, 3, 4);
  return list;
}

std::vector<double> Numbers(const std::string& record) {
  std::vector<double> values;
  auto fields = Split(record, ',');
  const size_t count = fields[0] == "1" ? 4 : 5;  // line: x1 y1 x2 y2; arc: cx cy r a0 a1
  for (size_t i = 3; i < fields.size() && i < 3 + count; ++i) values.push_back(ToDouble(fields[i]));
  return values;
}

TEST(RecordFormat, LineAndArcRecordsToTheCharacter) {
  RecordList list = DuctList();
  EXPECT_EQ(list.Record(0), "50,1.000000,2.000000,3.000000,4.000000,");
  ASSERT_TRUE(list.AddLineRecord(1, 1, 1, 0, 0, 100, 0));
  EXPECT_EQ(list.Record(1), "1,1,7,0.000000,0.000000,100.000000,0.000000,CONTINUOUS,DUCT,");
  ASSERT_TRUE(list.AddArcRecord(2, 2, 3, 10, -20, 5.5, 0, 360));
  EXPECT_EQ(list.Record(2), "2,2,3,10.000000,-20.000000,5.500000,0.000000,360.000000,HIDDEN,FLANGE,");
  EXPECT_EQ(list.ElementOf(2), 3);
  EXPECT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.Records().size(), 3u);
}

TEST(RecordFormat, AttributesComeFromDakutoSetTokens) {
  RecordList list;
  list.SetAttributes(7, {"", "", ""});
  list.SetExtents(0, 0, 0, 0);
  list.AddLineRecord(1, 5, 7, 0, 0, 1, 1);
  // An element without attributes still gives a well-formed record.
  EXPECT_EQ(list.Record(1), "1,5,,0.000000,0.000000,1.000000,1.000000,,,");
}

TEST(Transformation, MirrorNegatesXAfterTheBaseOffset) {
  RecordList list = DuctList();
  list.mirror = 1;
  list.AddLineRecord(1, 1, 1, 10, 5, 20, 5);
  EXPECT_EQ(Numbers(list.Record(1)), (std::vector<double>{-10, 5, -20, 5}));
  list.baseX = 4;
  list.baseY = 3;
  list.AddLineRecord(1, 1, 1, 10, 5, 20, 5);
  EXPECT_EQ(Numbers(list.Record(2)), (std::vector<double>{-6, 8, -16, 8}));
}

TEST(Transformation, MirroredArcAnglesAreReflected) {
  RecordList list = DuctList();
  list.mirror = 1;
  list.AddArcRecord(2, 1, 1, 10, 0, 5, 0, 90);
  list.AddArcRecord(2, 1, 1, 0, 0, 5, 270, 360);
  EXPECT_EQ(Numbers(list.Record(1)), (std::vector<double>{-10, 0, 5, 90, 180}));
  EXPECT_EQ(Numbers(list.Record(2)), (std::vector<double>{0, 0, 5, -180, -90}));
}

TEST(Transformation, RotationTurnsPointsButNotTheOrigin) {
  RecordList list = DuctList();
  list.rotation = 90;
  list.AddLineRecord(1, 1, 1, 0, 0, 10, 0);
  auto values = Numbers(list.Record(1));
  EXPECT_EQ(list.Record(1).substr(0, 24), "1,1,7,0.000000,0.000000,");
  EXPECT_NEAR(values[2], 0.0, 1e-6);
  EXPECT_NEAR(values[3], 10.0, 1e-6);
  // Arcs: the centre turns, both angles grow by the rotation without wrapping.
  list.AddArcRecord(2, 1, 1, 10, 0, 5, 300, 350);
  values = Numbers(list.Record(2));
  EXPECT_NEAR(values[0], 0.0, 1e-6);
  EXPECT_NEAR(values[1], 10.0, 1e-6);
  EXPECT_DOUBLE_EQ(values[3], 390.0);
  EXPECT_DOUBLE_EQ(values[4], 440.0);
}

TEST(Transformation, MirrorThenRotation) {
  RecordList list = DuctList();
  list.mirror = 1;
  list.rotation = 90;
  list.AddLineRecord(1, 1, 1, 10, 0, 10, 0);
  auto values = Numbers(list.Record(1));
  // (10, 0) mirrored is (-10, 0), turned by 90 it is (0, -10).
  EXPECT_NEAR(values[0], 0.0, 1e-6);
  EXPECT_NEAR(values[1], -10.0, 1e-6);
}

TEST(Transformation, ExtraYOffsetMovesLinesOnly) {
  RecordList list = DuctList();
  list.extraY = 7;
  list.AddLineRecord(1, 1, 1, 0, 0, 0, 1);
  list.AddArcRecord(2, 1, 1, 0, 0, 1, 0, 90);
  EXPECT_EQ(Numbers(list.Record(1))[1], 7.0);
  EXPECT_EQ(Numbers(list.Record(2))[1], 0.0);
}

TEST(RotatePointModes, DialogExplicitAndRaw) {
  RecordList list;
  Point p = list.RotatePoint(3, 4, RotateMode::kDialogAngle, 45);
  EXPECT_EQ(p.x, 3);  // no rotation set: unchanged, whatever the angle
  EXPECT_EQ(p.y, 4);
  list.rotation = 180;
  p = list.RotatePoint(3, 4, RotateMode::kDialogAngle, 0);
  EXPECT_NEAR(p.x, -3, 1e-6);
  EXPECT_NEAR(p.y, -4, 1e-6);
  p = list.RotatePoint(-10, 0, RotateMode::kExplicitAngle, 90);
  EXPECT_NEAR(p.x, 0, 1e-6);
  EXPECT_NEAR(p.y, -10, 1e-6);
  // The raw mode keeps only the first-quadrant angle of the point.
  p = list.RotatePoint(-3, -4, RotateMode::kRaw, 0);
  EXPECT_NEAR(p.x, 3, 1e-6);
  EXPECT_NEAR(p.y, 4, 1e-6);
}

TEST(Capacity, AFullListRefusesFurtherRecords) {
  RecordList list = DuctList(3);
  EXPECT_TRUE(list.AddLineRecord(1, 1, 1, 0, 0, 1, 1));
  EXPECT_TRUE(list.AddArcRecord(2, 1, 1, 0, 0, 1, 0, 90));
  EXPECT_TRUE(list.Full());
  EXPECT_FALSE(list.Overflowed());
  EXPECT_FALSE(list.AddLineRecord(1, 1, 1, 5, 5, 6, 6));
  EXPECT_FALSE(list.AddArcRecord(2, 1, 1, 0, 0, 1, 0, 90));
  EXPECT_TRUE(list.Overflowed());
  EXPECT_EQ(list.Count(), 3u);
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_FALSE(list.Overflowed());
}

}  // namespace
}  // namespace tavelin
