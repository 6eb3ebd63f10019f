// The fitting schedule: the drawing reader on bad input, counting through
// nested and arrayed placements, the straight duct's joints and sheet, the
// sheet-thickness table's bounds and the CSV a spreadsheet opens.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include <unistd.h>

#include "app/block_browser_dialog.hpp"
#include "app/dialog_registry.hpp"
#include "app/schedule_dialog.hpp"
#include "schedule/schedule.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin::schedule {
namespace fs = std::filesystem;

// A drawing as the builder's block data travels in it: an elbow block
// whose first line carries the data, placed `times` times in model space.
std::string ElbowDrawing(int times, const std::string& version = "AC1015") {
  std::string dxf =
      "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\n" + version +
      "\n9\n$DWGCODEPAGE\n3\nANSI_932\n0\nENDSEC\n"
      "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\nER_1\n70\n0\n10\n0\n20\n0\n30\n0\n3\nER_1\n"
      "0\nLINE\n8\nDUCT\n10\n0\n20\n0\n30\n0\n11\n400\n21\n0\n31\n0\n"
      "1001\nTAVELIN\n1000\nErboDialog\n1000\nErbo\n1070\n4\n"
      "1000\n\x88\xEA\x94\xCA\x97\xBC\x83\x47\x83\x8B\x83\x7B W1=600x300 \x8A\x4F\x8C\x60 1 \x81\x7E 1 mm "
      "\x91\xAE\x90\xAB\x81\x79\x95\x57\x8F\x80\x81\x7A\n"  // 一般両エルボ … 外形 … 属性【標準】 in CP932
      "1002\n{\n1000\n600x300\n1000\n300\n1000\n600x300\n1002\n}\n"
      "0\nHATCH\n91\n2000000000\n"  // a count no reader may trust
      "0\nENDBLK\n8\n0\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
  for (int i = 0; i < times; ++i) dxf += "0\nINSERT\n8\n0\n2\ner_1\n10\n0\n20\n0\n30\n0\n";
  return dxf + "0\nENDSEC\n0\nEOF\n";
}

namespace {

TEST(DrawingReader, BadInputGetsAClearMessageAndNoRead) {
  const std::string good = ElbowDrawing(2);
  const struct {
    const char* what;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"empty", "", "DXF ファイルではありません"},
      {"a picture", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR", "DXF ファイルではありません"},
      {"a text", "stem,W1\nErbo,400\n", "DXF ファイルではありません"},
      {"binary DXF", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), "バイナリ形式"},
      {"cut in the middle", good.substr(0, good.size() / 2), "途中で切れています"},
      {"cut before EOF", good.substr(0, good.size() - 4), "途中で切れています"},
      {"cut inside a block and closed with EOF",
       good.substr(0, good.find("0\nENDBLK")) + "0\nEOF\n", "ENDBLK で閉じていません"},
      {"cut inside a section and closed with EOF",
       good.substr(0, good.rfind("0\nENDSEC")) + "0\nEOF\n", "ENDSEC で閉じていません"},
      {"a block name longer than any reader's line",
       "0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\n" + std::string(5000, 'A') + "\n0\nENDSEC\n0\nEOF\n",
       "長すぎます"},
      {"a group code out of range", "0\nSECTION\n2\nENTITIES\n0\nINSERT\n99999\nA\n0\nENDSEC\n0\nEOF\n",
       "グループコードではありません"},
      {"a group code that is no number", "0\nSECTION\n2\nENTITIES\n0\nINSERT\nx2\nA\n0\nENDSEC\n0\nEOF\n",
       "グループコードではありません"},
  };
  for (const auto& c : cases) {
    const Drawing drawing = ParseDrawing(c.bytes);
    EXPECT_FALSE(drawing.ok) << c.what;
    EXPECT_NE(drawing.error.find(c.message), std::string::npos) << c.what << ": " << drawing.error;
  }

  const fs::path dir = fs::temp_directory_path() / ("tavelin_schedule_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path file = dir / "drawing.dxf";
  std::ofstream(file, std::ios::binary) << good;
  EXPECT_TRUE(ReadDrawing(file).ok);
  const Drawing huge = ReadDrawing(file, good.size() - 1);
  EXPECT_FALSE(huge.ok);
  EXPECT_NE(huge.error.find("大きすぎます"), std::string::npos) << huge.error;
  EXPECT_NE(ReadDrawing(dir).error.find("通常のファイルではありません"), std::string::npos);
  EXPECT_NE(ReadDrawing(dir / "none.dxf").error.find("ありません"), std::string::npos);
  fs::remove_all(dir);
}

TEST(DrawingReader, ReadsTheBlockDataInTheDrawingsCodePage) {
  for (const char* version : {"AC1009", "AC1015"}) {
    const Drawing drawing = ParseDrawing(ElbowDrawing(3, version));
    ASSERT_TRUE(drawing.ok) << drawing.error;
    const DrawingBlock* block = drawing.Find("Er_1");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->data.className, "ErboDialog");
    EXPECT_EQ(block->data.description, "一般両エルボ W1=600x300 外形 1 × 1 mm 属性【標準】");
    EXPECT_EQ(block->data.settings, (std::vector<std::string>{"600x300", "300", "600x300"}));
    ASSERT_EQ(block->entities.size(), 1u);
    EXPECT_EQ(block->entities[0].v[2], 400.0);
    EXPECT_EQ(drawing.modelSpace.size(), 3u);

    const Schedule schedule = BuildSchedule(
        drawing, {nullptr, [](std::string_view file) { return DeclarationOfFile(file); }});
    ASSERT_EQ(schedule.rows.size(), 1u);
    const ScheduleRow& row = schedule.rows[0];
    EXPECT_EQ(row.kind, "一般両エルボ");
    EXPECT_EQ(row.dimensions, "W1=600x300 R=300 W2=600x300");
    EXPECT_EQ(row.attributes, "標準");
    EXPECT_EQ(row.count, 3);
    EXPECT_EQ(row.thicknessMm, 0.6);  // long side 600
    EXPECT_FALSE(row.sheetAreaM2);     // a fitting's developed sheet is not worked out
  }
}

Drawing Nested(std::vector<Placement> model,
               std::vector<std::pair<std::string, std::vector<Placement>>> blocks) {
  Drawing drawing;
  drawing.ok = true;
  drawing.modelSpace = std::move(model);
  for (auto& [name, placements] : blocks) {
    DrawingBlock& block = drawing.blocks[BlockKey(name)];
    block.name = name;
    block.placements = std::move(placements);
  }
  return drawing;
}

TEST(CountPlacements, CountsThroughNestingArraysAndCase) {
  const struct {
    const char* what;
    Drawing drawing;
    std::map<std::string, long long> counts;
    size_t warnings;
  } cases[] = {
      {"a block placed twice inside one placed three times",
       Nested({{"ROOM", 3}}, {{"ROOM", {{"ER", 1}, {"er", 1}}}, {"ER", {}}}),
       {{"ROOM", 3}, {"ER", 6}}, 0},
      {"two paths to one block, arrays of 2 x 3",
       Nested({{"A", 1}, {"B", 6}}, {{"A", {{"B", 1}, {"C", 2}}}, {"B", {{"C", 1}}}, {"C", {}}}),
       {{"A", 1}, {"B", 7}, {"C", 9}}, 0},
      {"a block that places itself: that placement is left out and warned about",
       Nested({{"LOOP", 1}, {"X", 1}}, {{"LOOP", {{"LOOP", 1}, {"X", 1}}}, {"X", {}}}),
       {{"LOOP", 1}, {"X", 2}}, 1},
      {"a loop through two blocks",
       Nested({{"P", 2}}, {{"P", {{"Q", 1}}}, {"Q", {{"P", 1}, {"R", 3}}}, {"R", {}}}),
       {{"P", 2}, {"Q", 2}, {"R", 6}}, 1},
      {"a block placed but never defined", Nested({{"GONE", 2}}, {}), {{"GONE", 2}}, 1},
      {"arrays beyond any count saturate", Nested({{"A", 1LL << 40}}, {{"A", {{"B", 1LL << 40}}}, {"B", {}}}),
       {{"A", 1LL << 40}, {"B", std::numeric_limits<long long>::max() / 4}}, 0},
  };
  for (const auto& c : cases) {
    std::vector<std::string> warnings;
    EXPECT_EQ(CountPlacements(c.drawing, &warnings), c.counts) << c.what;
    EXPECT_EQ(warnings.size(), c.warnings) << c.what;
  }
}

TEST(StraightDuct, JointsAndSheetByTheLongSide) {
  const struct {
    double pitch, length;
    bool left, right;
    long long joints;
  } joints[] = {
      {1820, 3640, true, true, 3},  {1740, 1740, true, true, 2}, {1820, 3640, false, false, 1},
      {1000, 3500, true, false, 4}, {0, 3640, true, true, 2},     {1820, 3640.0000001, true, true, 3},
  };
  for (const auto& j : joints) {
    EXPECT_EQ(StraightDuctJoints(j.pitch, j.length, j.left, j.right), j.joints)
        << j.pitch << " " << j.length;
  }
  const std::pair<double, double> sheets[] = {{1, 0.5},      {450, 0.5},   {450.5, 0.6}, {750, 0.6},
                                              {751, 0.8},    {1500, 0.8},  {1501, 1.0},  {2200, 1.0},
                                              {2201, 1.2},   {10000, 1.2}};
  for (const auto& [side, thickness] : sheets) {
    const SheetThicknessRow* row = SheetForLongSide(side);
    ASSERT_NE(row, nullptr) << side;
    EXPECT_EQ(row->thickness, thickness) << side;
    EXPECT_NE(row->source.find("公共建築工事標準仕様書（機械設備工事編）"), std::string_view::npos);
  }
  EXPECT_EQ(SheetForLongSide(0), nullptr);
  EXPECT_EQ(SheetForLongSide(-5), nullptr);
}

TEST(ScheduleCsv, OpensInASpreadsheetAsItIs) {
  Drawing drawing = Nested({{"CK", 2}, {"CK2", 1}, {"DOOR, \"big\"", 4}}, {{"CK", {}}, {"CK2", {}}});
  // Two straight ducts of one size, typed two ways: 600 x 300, 3 m, joints
  // at both ends and every 1.5 m.
  for (const char* name : {"CK", "CK2"}) {
    BlockData& data = drawing.blocks[name].data;
    data.className = "ChokuDialog";
    data.stem = "Choku";
    data.description = "直管 外形 3000 × 330 mm 属性【空調】";
    data.settings = {"1500", name == std::string("CK") ? "600x300" : "600 × 300", "1", "1", "1",
                     "3", "0", "3000"};
  }
  const Schedule schedule = BuildSchedule(
      drawing, {nullptr, [](std::string_view file) { return DeclarationOfFile(file); }});
  const std::string csv = ScheduleCsv(schedule);
  EXPECT_EQ(csv,
            "\xEF\xBB\xBF"
            "区分,種類,寸法,属性,数量,全長(m),継手数,板厚(mm),板面積(m²),板厚の出典,認識,ブロック名\r\n"
            "直管,直管,600x300,空調,3,9.000,9,0.6,16.20," +
                std::string(SheetForLongSide(600)->source) +
                ",拡張データ,CK CK2\r\n"
                "その他のブロック,\"DOOR, \"\"big\"\"\",,,4,,,,,,,\"DOOR, \"\"big\"\"\"\r\n");
  EXPECT_EQ(schedule.placements, 7);
}

}  // namespace
}  // namespace tavelin::schedule

namespace tavelin {
namespace {
namespace fs = std::filesystem;

TEST(ScheduleDialog, ReadsADrawingShowsItsTableAndSavesTheCsv) {
  testing::TestApp t;
  const fs::path drawing = t.Root() / "floor.dxf";
  std::ofstream(drawing, std::ios::binary) << schedule::ElbowDrawing(3);
  const fs::path notDxf = t.Root() / "notes.dxf";
  std::ofstream(notDxf, std::ios::binary) << "an ordinary text\n";

  // Opened from the block browser.
  BlockBrowserDialog browser(t.App());
  browser.Initialize();
  ASSERT_TRUE(browser.UserClick(BlockBrowserDialog::kSchedule));
  EXPECT_EQ(t.host.modalCaptions, std::vector<std::string>{"継手数量表"});

  ScheduleDialog dialog(t.App());
  dialog.Initialize();
  ui::Control& table = *dialog.FindControl(ScheduleDialog::kTable);
  EXPECT_EQ(table.Text().substr(0, 20), "区分\t種類\t寸法");
  EXPECT_FALSE(dialog.FindControl(ScheduleDialog::kSave)->Enabled());

  // A chosen drawing is read at once.
  t.host.chosenFiles = {drawing};
  ASSERT_TRUE(dialog.UserClick(ScheduleDialog::kChoose));
  ASSERT_EQ(table.Count(), 1);
  EXPECT_EQ(table.ItemText(0).substr(0, table.ItemText(0).find("\t公共")),
            "継手\t一般両エルボ\tW1=600x300 R=300 W2=600x300\t標準\t3\t\t\t0.6\t");
  ASSERT_TRUE(dialog.FindControl(ScheduleDialog::kSave)->Enabled());

  // Saved where the user says, ".csv" added to a name without one.
  t.host.chosenFiles = {t.Root() / "schedule"};
  ASSERT_TRUE(dialog.UserClick(ScheduleDialog::kSave));
  std::ifstream in(t.Root() / "schedule.csv", std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(saved, schedule::ScheduleCsv(dialog.Current()));
  EXPECT_EQ(t.host.saveQuestions, 1);

  // A file that is no drawing: a message, an empty table, nothing to save.
  ASSERT_TRUE(dialog.UserSetText(ScheduleDialog::kDrawing, notDxf.string()));
  ASSERT_TRUE(dialog.UserClick(ScheduleDialog::kRead));
  ASSERT_EQ(t.host.messages.size(), 1u);
  EXPECT_NE(t.host.messages[0].text.find("DXF ファイルではありません"), std::string::npos);
  EXPECT_EQ(table.Count(), 0);
  EXPECT_FALSE(dialog.FindControl(ScheduleDialog::kSave)->Enabled());
}

}  // namespace
}  // namespace tavelin
