// A generator's drawing data becomes a block: one entity per record, with the
// record's layer, colour, line type and coordinates, read back by dxflib.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

#include "blockbuilder/builder.hpp"
#include "framework/handoff.hpp"
#include "framework/record_list.hpp"
#include "framework/text.hpp"
#include "tests/blockbuilder/dxf_reading.hpp"

namespace tavelin::blockbuilder {
namespace {
using testing::BuilderRoot;
using testing::ReadDxf;

// A fitting drawn through the record list, as a generator does: lines and
// arcs of every element, mirrored and turned so that the angles wrap.
RecordList GeneratorRecords() {
  RecordList list(200);
  const char* layers[] = {"",           "空調ダクト", "空調アングル", "空調フランジ",
                          "空調隠れ線", "器具",       "ハッチ",       "中心線"};
  const char* types[] = {"",       "CONTINUOUS", "CONTINUOUS", "DASHED",
                         "HIDDEN", "PHANTOM2",   "DOTX2",      "CENTER"};
  for (int e = 1; e <= 7; ++e) list.SetAttributes(e, {layers[e], types[e], std::to_string(e + 1)});
  list.SetExtents(500, 250, 500, 250);
  list.AddLineRecord(1, 1, kDuctBody, 0, 200, 400.125, 200);
  list.AddLineRecord(1, 1, kDuctBody, 0, -200, 400.125, -200);
  list.AddLineRecord(1, 1, kFlangeJoint, 400.125, 240, 400.125, -240);
  list.AddLineRecord(1, 1, kAngleWidth, 360.125, 200, 360.125, -200);
  list.AddLineRecord(1, 2, kHiddenLine, -12.345678, 7.5, 3.25, -0.000001);
  list.AddArcRecord(2, 1, kDuctBody, 0, 0, 200, 0, 90);
  list.AddArcRecord(2, 1, kFixtureLine, 50, 50, 25, 0, 360);  // a full circle
  list.AddLineRecord(1, 5, kCentreLine, -450, 0, 450, 0);
  list.mirror = 1;  // 270..360 becomes -180..-90
  list.AddArcRecord(2, 1, kDuctBody, 10, 20, 30, 270, 360);
  list.AddLineRecord(1, 1, kHatchingLine, 10, 5, 20, 5);
  list.mirror = 0;
  list.rotation = 135.0;  // 300..330 becomes 435..465
  list.AddArcRecord(2, 1, kFlangeJoint, 100, 0, 40, 300, 330);
  list.AddLineRecord(1, 1, kDuctBody, 100, 0, 200, 50);
  return list;
}

std::vector<std::string> RecordsOf(const RecordList& list) { return list.Records(); }

double Normalized(double degrees) {
  double a = std::fmod(degrees, 360.0);
  return a < 0 ? a + 360.0 : a;
}

TEST(GeneratorRecords, EveryRecordBecomesOneEntityWithItsAttributesAndCoordinates) {
  BuilderRoot root;
  const std::vector<std::string> records = RecordsOf(GeneratorRecords());
  root.Write("DrawData.txt", records);
  root.Write("DrawName.ini", {"ER_1234D500000041"});
  root.Write("ByLayer.ini", {"0"});

  BuildResult result = BuildBlock(root.Root());
  ASSERT_TRUE(result.written) << root.Log();
  testing::ReadDrawing dxf = ReadDxf(root.Block("ER_1234D500000041"));
  ASSERT_TRUE(dxf.ok);
  ASSERT_EQ(dxf.entities.size(), records.size() - 1);  // all but the extents record

  for (size_t k = 1; k < records.size(); ++k) {
    SCOPED_TRACE(records[k]);
    const std::vector<std::string> f = Split(records[k], ',');
    const testing::ReadEntity& e = dxf.entities[k - 1];
    const bool line = f[0] == "1";
    EXPECT_EQ(e.colour, ToInt(f[2]));
    EXPECT_EQ(e.lineType == "Continuous" ? "CONTINUOUS" : e.lineType, f[line ? 7 : 8]);
    EXPECT_EQ(e.layer, f[line ? 8 : 9]);
    if (line) {
      ASSERT_EQ(e.type, "LINE");
      for (int i = 0; i < 4; ++i) EXPECT_NEAR(e.v[i], ToDouble(f[3 + i]), 1e-6);
      continue;
    }
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(e.v[i], ToDouble(f[3 + i]), 1e-6);
    if (ToDouble(f[6]) == 0.0 && ToDouble(f[7]) == 360.0) {
      EXPECT_EQ(e.type, "CIRCLE");
    } else {
      ASSERT_EQ(e.type, "ARC");
      EXPECT_NEAR(e.v[3], Normalized(ToDouble(f[6])), 1e-6);
      EXPECT_NEAR(e.v[4], Normalized(ToDouble(f[7])), 1e-6);
    }
  }
  // The wrapped angles, spelled out: the mirrored arc and the turned one.
  EXPECT_NEAR(dxf.entities[8].v[3], 180.0, 1e-6);
  EXPECT_NEAR(dxf.entities[8].v[4], 270.0, 1e-6);
  EXPECT_NEAR(dxf.entities[10].v[3], 75.0, 1e-6);
  EXPECT_NEAR(dxf.entities[10].v[4], 105.0, 1e-6);
  EXPECT_EQ(root.Log().find("読み飛ばし"), std::string::npos) << root.Log();
}

TEST(GeneratorRecords, TheFileIsRelease2000InMillimetresWithItsBaseAtTheOriginAndCp932Names) {
  BuilderRoot root;
  root.Write("DrawData.txt", RecordsOf(GeneratorRecords()));
  root.Write("DrawName.ini", {"ブロック"});
  root.Write("ByLayer.ini", {"0"});
  ASSERT_TRUE(BuildBlock(root.Root()).written) << root.Log();

  const std::string bytes = testing::FileBytes(root.Block("ブロック"));
  EXPECT_NE(bytes.find("$ACADVER\r\n  1\r\nAC1015\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("$DWGCODEPAGE\r\n  3\r\nANSI_932\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("$INSBASE\r\n 10\r\n0.0\r\n 20\r\n0.0\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("$INSUNITS\r\n 70\r\n4\r\n"), std::string::npos);
  // Layer names are CP932 bytes, not UTF-8 and not escapes.
  EXPECT_NE(bytes.find(Utf8ToCp932("空調ダクト")), std::string::npos);
  EXPECT_EQ(bytes.find("空調ダクト"), std::string::npos);
  EXPECT_EQ(bytes.find("\\U+"), std::string::npos);
}

TEST(GeneratorRecords, EveryLineTypeIsDefinedWithItsRealPattern) {
  BuilderRoot root;
  root.Write("DrawData.txt",
             {"1,1,7,0,0,10,0,HIDDEN,A,", "1,1,7,0,0,10,0,dashed2,A,", "1,1,7,0,0,10,0,CENTER2,A,",
              "1,1,7,0,0,10,0,DOTX2,A,", "1,1,7,0,0,10,0,BORDER,A,", "1,1,7,0,0,10,0,点線,A,",
              "1,1,7,0,0,10,0,Hidden,A,"});
  root.Write("DrawName.ini", {"LT"});
  root.Write("ByLayer.ini", {"0"});
  ASSERT_TRUE(BuildBlock(root.Root()).written);
  testing::ReadDrawing dxf = ReadDxf(root.Block("LT"));
  using Dashes = std::vector<double>;
  EXPECT_EQ(dxf.lineTypes["HIDDEN"], (Dashes{6.35, -3.175}));
  EXPECT_EQ(dxf.lineTypes["DASHED2"], (Dashes{6.35, -3.175}));
  EXPECT_EQ(dxf.lineTypes["CENTER2"], (Dashes{19.05, -3.175, 3.175, -3.175}));
  EXPECT_EQ(dxf.lineTypes["DOTX2"], (Dashes{0.0, -12.7}));
  EXPECT_EQ(dxf.lineTypes["BORDER"], (Dashes{12.7, -6.35, 12.7, -6.35, 0.0, -6.35}));
  // An unknown name still gets a (continuous) definition, and a log line.
  ASSERT_EQ(dxf.lineTypes.count("点線"), 1u);
  EXPECT_TRUE(dxf.lineTypes["点線"].empty());
  EXPECT_NE(root.Log().find("点線"), std::string::npos);
  // "Hidden" is the same line type as "HIDDEN": one definition, used by both.
  EXPECT_EQ(dxf.entities[6].lineType, dxf.entities[0].lineType);
  EXPECT_EQ(dxf.lineTypes.size(), 3u + 6u);  // ByBlock, ByLayer, Continuous and six more
}

TEST(GeneratorRecords, NamesACadProgramRefusesAreMadeValidAndNamesDifferingInCaseAreOne) {
  BuilderRoot root;
  root.Write("DrawData.txt", {"1,1,7,0,0,10,0,CONTINUOUS,A:B*C,", "1,1,7,0,0,10,0,CONTINUOUS,Duct,",
                              "1,1,3,0,0,10,0,CONTINUOUS,DUCT,", "1,1,7,0,0,10,0,線種?,Duct,"});
  root.Write("DrawName.ini", {"NAMES"});
  root.Write("ByLayer.ini", {"0"});
  ASSERT_TRUE(BuildBlock(root.Root()).written);
  testing::ReadDrawing dxf = ReadDxf(root.Block("NAMES"));
  EXPECT_EQ(dxf.layers.count("A_B_C"), 1u);
  EXPECT_EQ(dxf.layers.count("DUCT"), 0u);  // the first spelling, "Duct", is kept
  ASSERT_EQ(dxf.entities.size(), 4u);
  EXPECT_EQ(dxf.entities[0].layer, "A_B_C");
  EXPECT_EQ(dxf.entities[2].layer, "Duct");
  EXPECT_EQ(dxf.entities[2].colour, 3);
  EXPECT_EQ(dxf.entities[3].lineType, "線種_");
  EXPECT_NE(root.Log().find("A:B*C"), std::string::npos);

  // Bytes that are not CP932 would come out as "?", which no name may hold.
  root.WriteBytes("DrawData.txt", "1,1,7,0,0,10,0,CONTINUOUS,\x81\x20X,\r\n");
  root.Write("DrawName.ini", {"NAMES2"});
  ASSERT_TRUE(BuildBlock(root.Root()).written);
  dxf = ReadDxf(root.Block("NAMES2"));
  ASSERT_EQ(dxf.entities.size(), 1u);
  EXPECT_EQ(dxf.entities[0].layer, "_ X");
}

TEST(GeneratorRecords, ColourNumbersAreReadAsTheAttributeDialogsCheckThem) {
  // The attribute dialogs take the leading integer of a colour text, so "3x"
  // passes their check as colour 3 and must be drawn in colour 3.
  struct Case {
    const char* text;
    int colour;
    bool logged;
  };
  const Case cases[] = {{"3x", 3, false}, {" 12 ", 12, false}, {"255", 255, false},
                        {"0", 7, true},   {"256", 7, true},    {"abc", 7, true},
                        {"", 7, true},    {"-3", 7, true}};
  std::vector<std::string> records;
  for (const Case& c : cases) {
    records.push_back(std::string("1,1,") + c.text + ",0,0,10,0,CONTINUOUS,A,");
  }
  BuilderRoot root;
  root.Write("DrawData.txt", records);
  root.Write("DrawName.ini", {"COLOURS"});
  root.Write("ByLayer.ini", {"0"});
  ASSERT_TRUE(BuildBlock(root.Root()).written) << root.Log();
  testing::ReadDrawing dxf = ReadDxf(root.Block("COLOURS"));
  ASSERT_EQ(dxf.entities.size(), std::size(cases));
  const std::string log = root.Log();
  for (size_t k = 0; k < std::size(cases); ++k) {
    SCOPED_TRACE(cases[k].text);
    EXPECT_EQ(dxf.entities[k].colour, cases[k].colour);
    const bool logged =
        log.find("DrawData.txt " + std::to_string(k + 1) + "行目: 色番号") != std::string::npos;
    EXPECT_EQ(logged, cases[k].logged) << log;
  }
}

class ByLayerTest : public ::testing::Test {
 protected:
  testing::ReadDrawing Build(const std::string& byLayer) {
    // Set "1レイヤ" style: every element on one layer, the hidden line dashed.
    root.Write("DrawData.txt",
               {"50,1,1,1,1,", "1,1,7,0,0,100,0,CONTINUOUS,DUCT,", "1,2,7,0,10,100,10,HIDDEN,DUCT,",
                "1,1,3,0,20,100,20,CONTINUOUS,DUCT,", "2,1,7,0,0,5,0,90,CONTINUOUS,OA_DUCT,"});
    root.Write("DrawName.ini", {"BL"});
    root.Write("ByLayer.ini", {byLayer});
    EXPECT_TRUE(BuildBlock(root.Root()).written);
    return ReadDxf(root.Block("BL"));
  }
  BuilderRoot root;
};

TEST_F(ByLayerTest, OnTheLayerCarriesTheAttributesAndOnlyDifferingEntitiesKeepTheirOwn) {
  testing::ReadDrawing dxf = Build("1");
  EXPECT_EQ(dxf.layers["DUCT"].colour, 7);
  EXPECT_EQ(dxf.layers["DUCT"].lineType, "Continuous");
  EXPECT_EQ(dxf.layers["OA_DUCT"].colour, 7);
  ASSERT_EQ(dxf.entities.size(), 4u);
  // BYLAYER is left out of the entity, as CAD programs write it: a reader
  // takes the default (dxflib names it "BYLAYER").
  EXPECT_EQ(dxf.entities[0].colour, 256);
  EXPECT_EQ(dxf.entities[0].lineType, "BYLAYER");
  // The hidden line stays dashed and the green line green.
  EXPECT_EQ(dxf.entities[1].colour, 256);
  EXPECT_EQ(dxf.entities[1].lineType, "HIDDEN");
  EXPECT_EQ(dxf.entities[2].colour, 3);
  EXPECT_EQ(dxf.entities[2].lineType, "BYLAYER");
  EXPECT_EQ(dxf.entities[3].colour, 256);
}

TEST_F(ByLayerTest, OffEveryEntityCarriesItsOwnAttributes) {
  testing::ReadDrawing dxf = Build("0");
  ASSERT_EQ(dxf.entities.size(), 4u);
  for (const auto& e : dxf.entities) {
    EXPECT_NE(e.colour, 256);
    EXPECT_NE(e.lineType, "ByLayer");
    EXPECT_NE(e.lineType, "BYLAYER");
  }
  EXPECT_EQ(dxf.entities[1].lineType, "HIDDEN");
  EXPECT_EQ(dxf.entities[2].colour, 3);
}

TEST(PipeParts, AnAtNameAndALineTypeNumberInTheStyleFieldAreTakenLikeAnyOther) {
  BuilderRoot root;
  root.Write("DrawData.txt",
             {"1,2,1,-10.000000,5.000000,10.000000,5.000000,HIDDEN,P_HIDDEN,",
              "2,1,2,0.000000,0.000000,8.000000,0.000000,180.000000,CONTINUOUS,P_SOLID,"});
  root.Write("DrawName.ini", {"@TS_E09091301001_A41"});
  root.Write("ByLayer.ini", {"1"});
  BuildResult result = BuildBlock(root.Root());
  ASSERT_TRUE(result.written) << root.Log();
  testing::ReadDrawing dxf = ReadDxf(root.Block("@TS_E09091301001_A41"));
  ASSERT_EQ(dxf.entities.size(), 2u);
  EXPECT_EQ(dxf.layers["P_HIDDEN"].lineType, "HIDDEN");
  EXPECT_EQ(dxf.layers["P_HIDDEN"].colour, 1);
  EXPECT_EQ(dxf.entities[1].type, "ARC");
}

}  // namespace
}  // namespace tavelin::blockbuilder
