#include "pipe/parts_menu_dialog.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "framework/handoff.hpp"
#include "framework/text.hpp"
#include "pipe/part_catalogue.hpp"
#include "pipe/part_drawing.hpp"
#include "tests/pipe/catalogue_fixture.hpp"

namespace tavelin {
namespace {

using testing::TestApp;
using D = PartsMenuDialog;

constexpr int kRotation90 = D::kFirstRotation + 2;
constexpr int kBaseTopLeft = D::kFirstBase + 0;
constexpr int kBaseBottomRight = D::kFirstBase + 8;
constexpr int kPvcSize50 = 1;  // "13", "50", "77"
constexpr int kPvcSize77 = 2;

// A part drawn at scale 2: extents right 30, bottom 20, left 10, top 5; a
// solid line (10, 5)-(20, 5), a hidden arc about (4, 3) of radius 2 from 0
// to 90 degrees, a centre line (-10, 0)-(30, 0) and an element of class 3.
const std::vector<std::string> kElbow = {
    "0,2,30,20,10,5,",   "1,1,0,10,-10,60,-20,", "2,2,0,4,-3,2,0,90,",
    "1,5,0,-10,0,90,0,", "1,3,0,0,0,0,0,",
};

class PartsMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteCatalogue(t);
    typeNames = t.Lines("SenSyu.ini");
  }
  std::unique_ptr<D> Open() {
    auto dialog = std::make_unique<D>(t.App());
    dialog->Initialize();
    return dialog;
  }
  // Category 0, classification 1, both sizes 50 by the double-click.
  std::unique_ptr<D> OpenElbow() {
    auto d = Open();
    PickElbow(*d);
    return d;
  }
  void PickElbow(D& d) {
    EXPECT_TRUE(d.UserSelect(D::kCategoryList, 0));
    EXPECT_TRUE(d.UserClick(D::kFirstClassification));
    EXPECT_TRUE(d.UserDoubleClick(D::kMainSize, kPvcSize50));
  }
  std::string Text(D& d, int id) { return d.FindControl(id)->Text(); }
  std::string DrawName() { return t.Lines("DrawName.ini").at(0); }
  std::vector<std::string> DrawData() { return t.Lines("DrawData.txt"); }
  std::string Name(int n) { return typeNames[n - 1]; }
  // The numbers of a hand-off line from field 4 on.
  std::vector<double> Numbers(const std::string& line) {
    std::vector<std::string> fields = Split(line, ',');
    std::vector<double> numbers;
    const size_t count = fields[0] == "1" ? 4 : 5;
    for (size_t i = 3; i < 3 + count; ++i) numbers.push_back(ToDouble(fields[i]));
    return numbers;
  }

  TestApp t;
  std::vector<std::string> typeNames;
};

TEST_F(PartsMenuTest, TheWorkedExampleNamesThePartAndFindsItsFile) {
  // Folder and file names are matched without regard to case. (The part
  // comes after the opening, which would otherwise pick it.)
  auto d = Open();
  testing::WritePartFile(t, "ts", "epupusll1001.ajc", kElbow);
  PickElbow(*d);
  EXPECT_EQ(Text(*d, D::kBranchSize), "50");
  EXPECT_EQ(d->Stem(), "E090913L1001_A");
  EXPECT_EQ(DrawName(), "@TS_E090913L1001_A41");  // the first number of the run-time generator
  EXPECT_EQ(d->PartPath(), t.Root() / "ts" / "epupusll1001.ajc");
  EXPECT_EQ(Text(*d, D::kPartName), "90°エルボ");
  EXPECT_EQ(Text(*d, D::kStatusLine), "選択後OKをクリック");
  EXPECT_EQ(DrawData().size(), 3u);  // the element of class 3 is not handed over

  ASSERT_TRUE(d->UserClick(D::kStart));
  EXPECT_EQ(t.launcher.starts, 1);
  EXPECT_EQ(t.launcher.lastName, "@TS_E090913L1001_A41");
  EXPECT_EQ(Text(*d, D::kStatusLine), PlacedStatus("@TS_E090913L1001_A41", t.Root() / "blocks"));
  EXPECT_FALSE(d->Ended());

  // The mirror hands off another drawing: the block just built is not it,
  // and OK is asked for again; OK then builds the mirrored part.
  ASSERT_TRUE(d->UserClick(D::kMirror));
  EXPECT_EQ(Text(*d, D::kStatusLine), "選択後OKをクリック");
  ASSERT_TRUE(d->UserClick(D::kStart));
  EXPECT_EQ(t.launcher.starts, 2);
  EXPECT_EQ(t.launcher.lastName, DrawName());
  EXPECT_EQ(Text(*d, D::kStatusLine), PlacedStatus(DrawName(), t.Root() / "blocks"));
}

TEST_F(PartsMenuTest, PartCodesRotationSuffixesAndTheFlexibleJointNumber) {
  auto d = OpenElbow();
  // Cell 2 holds L10Z: the letter Z is number 26.
  d->UserMouseDown(300, 30);
  EXPECT_EQ(d->CellPicked(), 2);
  EXPECT_EQ(d->Stem(), "E090913L1026_A");
  ASSERT_TRUE(d->UserClick(kRotation90));
  EXPECT_EQ(d->Stem(), "E090913L1026_C");
  ASSERT_TRUE(d->UserClick(D::kFirstRotation + 7));
  EXPECT_EQ(d->Stem(), "E090913L1026_H");

  // Category 20 uses 05 for its expansion joints (classification 4), else 24.
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 20));
  ASSERT_TRUE(d->UserClick(D::kFirstClassification + 3));
  ASSERT_TRUE(d->UserClick(D::kFirstRotation));
  d->UserMouseDown(250, 30);
  EXPECT_EQ(d->Stem(), "K050505J0102_A");  // both sizes keep their index 1: 20 in this table
  EXPECT_EQ(DrawName().substr(0, 4), "@FS_");
  EXPECT_EQ(Text(*d, D::kPartName), D::kNoPart);
  ASSERT_TRUE(d->UserClick(D::kFirstClassification));
  d->UserMouseDown(250, 30);
  EXPECT_EQ(d->Stem(), "K050524F0101_A");

  EXPECT_EQ(pipe::PartCode("L10A", 1), "L1001");
  EXPECT_EQ(pipe::PartCode("L10z", 1), "L1026");
  EXPECT_EQ(pipe::PartCode("L10", 1), "");  // no variant letter: no part
  EXPECT_EQ(pipe::PartCode("", 3), "");
  EXPECT_EQ(pipe::PartCode("TS1", 0), "TS1Waku.tec");
}

TEST_F(PartsMenuTest, ASizeMissingFromTheTableLeavesItsCodeOut) {
  testing::WritePartFile(t, "TS", "ESLL1001.ajc", kElbow);
  auto d = Open();
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 0));
  ASSERT_TRUE(d->UserClick(D::kFirstClassification));
  ASSERT_TRUE(d->UserDoubleClick(D::kMainSize, kPvcSize77));
  EXPECT_EQ(d->Stem(), "E13L1001_A");
  EXPECT_EQ(d->PartPath(), t.Root() / "TS" / "ESLL1001.ajc");
  ASSERT_TRUE(d->UserSelect(D::kMainSize, kPvcSize50));
  EXPECT_EQ(d->Stem(), "E0913L1001_A");

  EXPECT_EQ(pipe::SizeCode(0, "100"), "01");
  EXPECT_EQ(pipe::SizeCode(1, " 600 "), "23");
  EXPECT_EQ(pipe::SizeCode(3, "8"), "01");
  EXPECT_EQ(pipe::SizeCode(5, "60"), "10");
  EXPECT_EQ(pipe::SizeCode(5, "65"), "");
  EXPECT_EQ(pipe::SizeCode(1, "50A"), "");
  EXPECT_EQ(pipe::DigitsAsLetters("0123456789"), "PSTLNQMKZU");
}

TEST_F(PartsMenuTest, CastIronCategoriesShareCaptionsButNotFolders) {
  auto d = Open();
  auto captions = [&](int category) {
    EXPECT_TRUE(d->UserSelect(D::kCategoryList, category));
    std::vector<std::string> texts;
    for (int n = 0; n < 6; ++n) texts.push_back(Text(*d, D::kFirstClassification + n));
    return texts;
  };
  EXPECT_EQ(captions(12), captions(14));
  EXPECT_EQ(captions(13), captions(15));
  EXPECT_NE(captions(12), captions(13));
  EXPECT_EQ(captions(12)[5], "直管");
  EXPECT_EQ(captions(0)[3], "-");

  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 12));
  ASSERT_TRUE(d->UserClick(D::kFirstClassification));
  ASSERT_TRUE(d->UserDoubleClick(D::kMainSize, 0));
  EXPECT_EQ(DrawName().substr(0, 4), "@CK_");
  EXPECT_EQ(d->Stem(), "T090911C0101_A");
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 14));
  ASSERT_TRUE(d->UserDoubleClick(D::kMainSize, 0));
  EXPECT_EQ(DrawName().substr(0, 4), "@CS_");
  EXPECT_EQ(d->Stem(), "T090912C0101_A");
  EXPECT_EQ(pipe::SheetFileName(12, 2), "C1_Sheet2.tec");
  EXPECT_EQ(pipe::SheetFileName(15, 2), "C2_Sheet2.tec");
}

TEST_F(PartsMenuTest, ElementsAreScaledAndCarryTheirClassAttributes) {
  auto d = Open();
  testing::WritePartFile(t, "TS", "EPUPUSLL1001.ajc", kElbow);
  PickElbow(*d);
  EXPECT_EQ(DrawData(),
            (std::vector<std::string>{
                "1,1,7,20.000000,10.000000,40.000000,10.000000," + Name(1) + ",S0,",
                "2,2,8,8.000000,6.000000,4.000000,0.000000,90.000000," + Name(2) + ",H0,",
                "1,5,1,-20.000000,0.000000,60.000000,0.000000," + Name(5) + ",C0,",
            }));

  // The mirror keeps the name and draws the part the other way round.
  const std::string stem = d->Stem();
  ASSERT_TRUE(d->UserClick(D::kMirror));
  EXPECT_EQ(d->Stem(), stem);
  EXPECT_EQ(DrawName(), "@TS_" + stem + "18467");  // the generator's second number
  std::vector<std::string> mirrored = DrawData();
  EXPECT_EQ(mirrored[0], "1,1,7,-20.000000,10.000000,-40.000000,10.000000," + Name(1) + ",S0,");
  EXPECT_EQ(mirrored[1],
            "2,2,8,-8.000000,6.000000,4.000000,90.000000,180.000000," + Name(2) + ",H0,");

  // Turned by 90 degrees: (-20, 10) goes to (-10, -20), the arc's angles follow.
  ASSERT_TRUE(d->UserClick(kRotation90));
  std::vector<std::string> turned = DrawData();
  std::vector<double> line = Numbers(turned[0]);
  EXPECT_NEAR(line[0], -10.0, 1e-3);
  EXPECT_NEAR(line[1], -20.0, 1e-3);
  EXPECT_NEAR(line[2], -10.0, 1e-3);
  EXPECT_NEAR(line[3], -40.0, 1e-3);
  std::vector<double> arc = Numbers(turned[1]);
  EXPECT_NEAR(arc[0], -6.0, 1e-3);
  EXPECT_NEAR(arc[1], -8.0, 1e-3);
  EXPECT_DOUBLE_EQ(arc[3], 180.0);
  EXPECT_DOUBLE_EQ(arc[4], 270.0);
  EXPECT_EQ(d->Stem(), "E090913L1001_C");
}

TEST_F(PartsMenuTest, TheBasePointMovesThePartToItsCorners) {
  testing::WritePartFile(t, "TS", "EPUPUSLL1001.ajc", kElbow);
  auto d = OpenElbow();
  ASSERT_TRUE(d->UserClick(kBaseTopLeft));  // the left edge (-10) and the top (5) meet the origin
  EXPECT_EQ(DrawData()[0], "1,1,7,40.000000,0.000000,60.000000,0.000000," + Name(1) + ",S0,");
  EXPECT_EQ(Numbers(DrawData()[1])[0], 28.0);
  ASSERT_TRUE(d->UserClick(kBaseBottomRight));
  EXPECT_EQ(DrawData()[0], "1,1,7,-40.000000,50.000000,-20.000000,50.000000," + Name(1) + ",S0,");
  // The name does not depend on the base point.
  EXPECT_EQ(d->Stem(), "E090913L1001_A");
}

TEST_F(PartsMenuTest, ArcTransformsWrapMirroredAnglesAndCloseEqualOnes) {
  using pipe::PartElement;
  PartElement arc{2, 1, {0, 0, 1, 270, 360}};
  PartElement placed = pipe::PlaceElement(arc, 1.0, {0, 0, true, 0});
  EXPECT_EQ(placed.v[3], 180.0);
  EXPECT_EQ(placed.v[4], 270.0);
  PartElement circle{2, 1, {5, 0, 1, 30, 30}};
  placed = pipe::PlaceElement(circle, 1.0, {0, 0, false, 45});
  EXPECT_EQ(placed.v[3], 0.0);
  EXPECT_EQ(placed.v[4], 360.0);
  EXPECT_NEAR(placed.v[0], 5 * std::sqrt(0.5), 1e-4);
  // The origin stays exactly where it is; points on the axes turn from their axis.
  Point origin = pipe::TurnPoint(0, 0, 135);
  EXPECT_EQ(origin.x, 0.0);
  EXPECT_EQ(origin.y, 0.0);
  Point p = pipe::TurnPoint(0, -10, 90);
  EXPECT_NEAR(p.x, 10.0, 1e-3);
  EXPECT_NEAR(p.y, 0.0, 1e-3);
  p = pipe::TurnPoint(-3, -4, 180);
  EXPECT_NEAR(p.x, 3.0, 1e-3);
  EXPECT_NEAR(p.y, 4.0, 1e-3);
}

TEST_F(PartsMenuTest, MalformedPartFilesNeverCrashAndSkipWhatTheyCannotRead) {
  testing::WritePartFile(t, "TS", "EPUPUSLL1001.ajc",
                         {"0,1,30,20,10,5,", "1,1,0,10,-10,60,-20,",
                          "1,1,0,10,-10",         // too short
                          "2,1,0,4,x,2,0,90,",    // not a number
                          "7,1,0,1,2,3,4,5,",     // no such kind
                          "4e83,1,0,1,2,3,4,",    // kinds beyond any integer
                          "-2147483649,1,0,1,2,3,4,",
                          "2,1,0,4,-3,-2,0,90,",  // a negative radius
                          ""});
  auto d = OpenElbow();
  EXPECT_EQ(Text(*d, D::kPartName), "90°エルボ");
  EXPECT_EQ(d->SkippedLines(), 6);
  EXPECT_EQ(DrawData().size(), 1u);

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {}, {"0,x,30,20,10,5,", "1,1,0,1,2,3,4,"}, {"0,0,30,20,10,5,"}, {"0,1,30,20"}}) {
    testing::WritePartFile(t, "TS", "EPUPUSLL1001.ajc", bad);
    ASSERT_TRUE(d->UserSelect(D::kBranchSize, kPvcSize50));
    EXPECT_EQ(Text(*d, D::kPartName), D::kNoPart);
    EXPECT_TRUE(DrawData().empty());
    EXPECT_EQ(d->Failures(), 0);
  }
  // A folder where the file should be is no part either.
  std::filesystem::remove(t.Root() / "TS" / "EPUPUSLL1001.ajc");
  std::filesystem::create_directories(t.Root() / "TS" / "EPUPUSLL1001.ajc");
  ASSERT_TRUE(d->UserSelect(D::kBranchSize, kPvcSize50));
  EXPECT_EQ(Text(*d, D::kPartName), D::kNoPart);
  ASSERT_TRUE(d->UserClick(D::kStart));
  EXPECT_EQ(t.launcher.starts, 0);
  EXPECT_EQ(t.host.messages.back().text, D::kNoPart);
}

TEST_F(PartsMenuTest, APartCodeCannotLeadOutOfThePartFolder) {
  // ROOT/TS/../info/ would hold this file if the code were taken as a path.
  testing::WritePartFile(t, "info", "EPUPUSL..01.ajc", kElbow);
  testing::WritePartFile(t, "TS", "EPUPUSL..01.ajc", kElbow);
  std::string emptyCells(17, ':');
  t.Write("SheetName.ini", {"1-1:TS1:../A:..\\B:a/bC" + emptyCells});
  auto d = OpenElbow();
  for (int x : {250, 300, 350}) {
    d->UserMouseDown(x, 30);
    EXPECT_EQ(Text(*d, D::kPartName), D::kNoPart) << x;
    EXPECT_TRUE(d->PartPath().empty());
    EXPECT_EQ(DrawName().find_first_of("/\\"), std::string::npos) << DrawName();
  }
  EXPECT_FALSE(pipe::IsSafeName("a b"));
  EXPECT_FALSE(pipe::IsSafeName("名前"));
  EXPECT_TRUE(pipe::IsSafeName("L1001"));
}

TEST_F(PartsMenuTest, ClicksPickCellsOnlyInsideTheirBounds) {
  EXPECT_EQ(pipe::CellAt(231, 12), 1);
  EXPECT_EQ(pipe::CellAt(230, 30), 0);
  EXPECT_EQ(pipe::CellAt(279, 30), 0);
  EXPECT_EQ(pipe::CellAt(280, 30), 2);
  EXPECT_EQ(pipe::CellAt(250, 56), 0);
  EXPECT_EQ(pipe::CellAt(250, 57), 6);
  EXPECT_EQ(pipe::CellAt(474, 190), 20);
  EXPECT_EQ(pipe::CellAt(475, 190), 0);
  EXPECT_EQ(pipe::CellAt(474, 191), 0);

  auto d = Open();
  testing::WritePartFile(t, "TS", "EPUPUSLL1001.ajc", kElbow);
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 0));
  ASSERT_TRUE(d->UserClick(D::kFirstClassification));
  EXPECT_EQ(Text(*d, D::kMainSize), "");
  d->UserMouseDown(250, 30);
  // A cell click shows the sizes in use and hands the part over.
  EXPECT_EQ(Text(*d, D::kMainSize), "13");
  EXPECT_EQ(Text(*d, D::kBranchSize), "13");
  EXPECT_EQ(d->Stem(), "E030313L1001_A");

  d->UserMouseDown(60, 400);  // the dialog's face away from the sheet
  EXPECT_EQ(d->CellPicked(), 1);
  d->UserMouseDown(279, 30);  // a cell boundary
  EXPECT_EQ(d->CellPicked(), 0);
  EXPECT_EQ(d->Stem(), "E030313L1001_A");  // nothing else changes
  ASSERT_TRUE(d->UserClick(D::kFirstBase + 1));
  EXPECT_EQ(d->Stem(), "E030313TS1Waku.tec_A");
  EXPECT_EQ(Text(*d, D::kPartName), D::kNoPart);
}

TEST_F(PartsMenuTest, TheSheetGridLinesUpWithTheClickCells) {
  auto d = Open();
  RecordingCanvas canvas;
  d->Paint(canvas);
  std::vector<int> xs, ys;
  for (const std::string& call : canvas.calls) {
    std::istringstream in(call);
    std::string verb;
    int x, y;
    if (in >> verb >> x >> y && (verb == "move" || verb == "line")) {
      if (x >= 230) xs.push_back(x), ys.push_back(y);
    }
  }
  ASSERT_EQ(xs.size(), 22u);  // waku.tec: six vertical and five horizontal edges
  for (int x : xs) EXPECT_EQ((x - 230) % 49, 0) << x;
  for (int y : ys) EXPECT_EQ((y - 11) % 45, 0) << y;
  for (size_t i = 0; i + 1 < xs.size(); i += 2) {
    // Both ends of a grid line lie on a boundary between click cells.
    EXPECT_EQ(pipe::CellAt(xs[i], ys[i] + 20), 0);
  }

  // A classification without a sheet leaves the upper area unpainted.
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 0));
  ASSERT_TRUE(d->UserClick(D::kFirstClassification + 1));
  RecordingCanvas empty;
  d->Paint(empty);
  const PixelRect sheet = d->FindControl(D::kSheetArea)->Rect();
  const std::string sheetFill =
      "fill " + std::to_string(sheet.left + 1) + " " + std::to_string(sheet.top + 1) + " ";
  for (const std::string& call : empty.calls) {
    EXPECT_NE(call.rfind(sheetFill, 0), 0u) << call;
  }
  bool filledBefore = false;
  for (const std::string& call : canvas.calls) filledBefore |= call.rfind(sheetFill, 0) == 0;
  EXPECT_TRUE(filledBefore);
}

TEST_F(PartsMenuTest, ThePreviewKeepsThePartInsideItsArea) {
  testing::WritePartFile(t, "TS", "EPUPUSLL1001.ajc",
                         {"0,1,200,10,10,10,", "1,1,0,-10,-20,600,-40,", "2,1,0,190,0,10,0,360,"});
  auto d = OpenElbow();
  const PixelRect area = d->FindControl(D::kPartPreview)->Rect();
  for (int rotation = 0; rotation < 8; ++rotation) {
    for (int base = 0; base < 9; ++base) {
      ASSERT_TRUE(d->UserClick(D::kFirstRotation + rotation));
      ASSERT_TRUE(d->UserClick(D::kFirstBase + base));
      RecordingCanvas canvas;
      d->Paint(canvas);
      int points = 0;
      for (const std::string& call : canvas.calls) {
        std::istringstream in(call);
        std::string verb;
        int x, y;
        if (!(in >> verb >> x >> y) || (verb != "move" && verb != "line")) continue;
        if (x < area.left) continue;  // the sheet beside it
        ++points;
        EXPECT_TRUE(area.Contains(x, y)) << rotation << " " << base << " " << call;
      }
      EXPECT_EQ(points, 2);
    }
  }
}

TEST_F(PartsMenuTest, ReopeningRestoresTheLastChoicesAndTheirPart) {
  testing::WritePartFile(t, "TS", "EPUPUSLL1026.ajc", kElbow);
  std::string stem;
  std::vector<std::string> handedOff;
  {
    auto d = OpenElbow();
    d->UserMouseDown(300, 30);  // cell 2
    ASSERT_TRUE(d->UserSelect(D::kBranchSize, 0));
    ASSERT_TRUE(d->UserSelect(D::kBranchSize, kPvcSize50));
    ASSERT_TRUE(d->UserClick(kRotation90));
    ASSERT_TRUE(d->UserClick(kBaseTopLeft));
    ASSERT_TRUE(d->UserClick(D::kMirror));
    stem = d->Stem();
    handedOff = DrawData();
    ASSERT_EQ(stem, "E090913L1026_C");
    ASSERT_FALSE(handedOff.empty());
  }
  EXPECT_EQ(t.Lines(D::kChoicesFile),
            (std::vector<std::string>{"0", "1", "2", "50", "50", "90", "1", "1"}));
  std::remove((t.Root() / "info" / "DrawData.txt").string().c_str());

  auto d = Open();
  EXPECT_EQ(d->CategoryPicked(), 0);
  EXPECT_EQ(d->ClassificationPicked(), 1);
  EXPECT_EQ(d->CellPicked(), 2);
  EXPECT_EQ(d->FindControl(D::kCategoryList)->CurSel(), 0);
  EXPECT_EQ(Text(*d, D::kMainSize), "50");
  EXPECT_EQ(Text(*d, D::kBranchSize), "50");
  EXPECT_TRUE(d->FindControl(D::kFirstClassification)->Checked());
  EXPECT_TRUE(d->FindControl(kRotation90)->Checked());
  EXPECT_FALSE(d->FindControl(D::kFirstRotation)->Checked());
  EXPECT_TRUE(d->FindControl(kBaseTopLeft)->Checked());
  EXPECT_FALSE(d->FindControl(D::kFirstBase + 4)->Checked());
  EXPECT_TRUE(d->FindControl(D::kMirror)->Checked());
  EXPECT_EQ(Text(*d, D::kPartName), "45°エルボ");
  EXPECT_EQ(Text(*d, D::kStatusLine), "選択後OKをクリック");
  // The part is recomputed and handed over again: OK places the same part.
  EXPECT_EQ(d->Stem(), stem);
  EXPECT_EQ(DrawName().substr(0, 18), "@TS_" + stem);
  EXPECT_EQ(DrawData(), handedOff);
  ASSERT_TRUE(d->UserClick(D::kStart));
  EXPECT_EQ(t.launcher.starts, 1);

  // The sheet marks the picked cell (2: pixels 279 to 328 by 11 to 56).
  RecordingCanvas canvas;
  d->Paint(canvas);
  auto at = std::find(canvas.calls.begin(), canvas.calls.end(), "move 281 13");
  ASSERT_NE(at, canvas.calls.end());
  EXPECT_EQ(std::vector<std::string>(at, at + 5),
            (std::vector<std::string>{"move 281 13", "line 326 13", "line 326 54",
                                      "line 281 54", "line 281 13"}));
}

TEST_F(PartsMenuTest, StoredChoicesThatNoLongerExistFallBackQuietly) {
  struct Case {
    std::vector<std::string> stored;
    int category, classification, cell;
    std::string main, branch;
    int rotation, base;
  };
  const Case cases[] = {
      // DV has a fourth classification but no sheet for it here; 99 is no PVC size.
      {{"1", "4", "25", "99", "77", "30", "12", "x"}, 1, 1, 1, "13", "77", 0, 4},
      // A category beyond the list; a classification without a caption (TS has three).
      {{"40", "5", "0", "50", "", "315", "9", "0"}, 0, 1, 1, "50", "13", 7, 8},
      // The classification not yet picked stays unpicked.
      {{"0", "0", "3", "13", "13", "45", "2", "1"}, 0, 0, 3, "13", "13", 1, 1},
  };
  for (const Case& c : cases) {
    t.Write(D::kChoicesFile, c.stored);
    auto d = Open();
    SCOPED_TRACE(c.stored[0] + "-" + c.stored[1]);
    EXPECT_EQ(t.host.messages.size(), 0u);
    EXPECT_EQ(d->CategoryPicked(), c.category);
    EXPECT_EQ(d->ClassificationPicked(), c.classification);
    EXPECT_EQ(d->CellPicked(), c.cell);
    EXPECT_EQ(Text(*d, D::kMainSize), c.main);
    EXPECT_EQ(Text(*d, D::kBranchSize), c.branch);
    EXPECT_TRUE(d->FindControl(D::kFirstRotation + c.rotation)->Checked());
    EXPECT_TRUE(d->FindControl(D::kFirstBase + c.base)->Checked());
    EXPECT_EQ(d->FindControl(D::kMirror)->Checked(), c.stored[7] == "1");
  }
  // An empty memory restores nothing.
  t.Write(D::kChoicesFile, {""});
  auto d = Open();
  EXPECT_EQ(d->CategoryPicked(), -1);
  EXPECT_EQ(d->Stem(), "");
}

TEST_F(PartsMenuTest, AFreshRootOpensOnTheFirstClassificationWithParts) {
  // The elbows' sheet has no parts at all; the flexible joints' has one in
  // steel 20 (code 05, number 24, cell 1 "F01A").
  t.Write("FJ_Sheet1.tec", testing::GridSheet());
  testing::WritePartFile(t, "FS", "KPQPQTNF0101.ajc", kElbow);
  auto d = Open();
  EXPECT_EQ(d->CategoryPicked(), 20);
  EXPECT_EQ(d->ClassificationPicked(), 1);
  EXPECT_TRUE(d->FindControl(D::kFirstClassification)->Checked());
  EXPECT_EQ(Text(*d, D::kMainSize), "20");
  EXPECT_EQ(Text(*d, D::kBranchSize), "20");
  EXPECT_EQ(Text(*d, D::kPartName), "ユニオン型");
  EXPECT_EQ(Text(*d, D::kStatusLine), "選択後OKをクリック");
  EXPECT_EQ(DrawData().size(), 3u);
  // Choices the user made are what reopens, not the first part.
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 0));
  d.reset();
  EXPECT_EQ(Open()->CategoryPicked(), 0);
}

TEST_F(PartsMenuTest, OnlySizesWithPartsAreOfferedAndAMainSizeBringsABranchWithAPart) {
  auto texts = [](D& d, int id) {
    std::vector<std::string> shown;
    const ui::Control& list = *d.FindControl(id);
    for (int i = 0; i < list.Count(); ++i) shown.push_back(list.ItemText(i));
    return shown;
  };
  using Sizes = std::vector<std::string>;
  t.Write(D::kSizesFile, {"1-1:13,50:13,50", "1-2:77,50:"});
  auto d = Open();
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 0));
  EXPECT_EQ(texts(*d, D::kMainSize), (Sizes{"13", "50", "77"}));  // no classification yet
  ASSERT_TRUE(d->UserClick(D::kFirstClassification));
  EXPECT_EQ(texts(*d, D::kMainSize), (Sizes{"13", "50"}));
  EXPECT_EQ(texts(*d, D::kBranchSize), (Sizes{"13", "50"}));
  // The main size 50 with the branch 13 has no part; 50 by 50 has.
  testing::WritePartFile(t, "TS", "EPUPUSLL1001.ajc", kElbow);
  ASSERT_TRUE(d->UserSelect(D::kMainSize, 1));
  EXPECT_EQ(Text(*d, D::kBranchSize), "50");
  EXPECT_EQ(d->Stem(), "E090913L1001_A");
  EXPECT_EQ(Text(*d, D::kPartName), "90°エルボ");
  // A branch that has a part of its own stays.
  testing::WritePartFile(t, "TS", "EPUPLSLL1001.ajc", kElbow);
  ASSERT_TRUE(d->UserSelect(D::kBranchSize, 0));
  ASSERT_TRUE(d->UserSelect(D::kMainSize, 1));
  EXPECT_EQ(Text(*d, D::kBranchSize), "13");
  EXPECT_EQ(d->Stem(), "E090313L1001_A");
  // So does a cell whose part is made in equal sizes only (cell 2: L1026).
  testing::WritePartFile(t, "TS", "EPUPUSLL1026.ajc", kElbow);
  d->UserMouseDown(300, 30);
  EXPECT_EQ(Text(*d, D::kBranchSize), "50");
  EXPECT_EQ(d->Stem(), "E090913L1026_A");
  ASSERT_TRUE(d->UserSelect(D::kBranchSize, 0));
  d->UserMouseDown(250, 30);
  EXPECT_EQ(Text(*d, D::kBranchSize), "13");
  // Another classification keeps the sizes it offers too, in table order.
  ASSERT_TRUE(d->UserClick(D::kFirstClassification + 1));
  EXPECT_EQ(texts(*d, D::kMainSize), (Sizes{"50", "77"}));
  EXPECT_EQ(texts(*d, D::kBranchSize), (Sizes{"13", "50", "77"}));  // an empty list: all
  d->UserMouseDown(250, 30);
  EXPECT_EQ(Text(*d, D::kMainSize), "50");
  EXPECT_EQ(Text(*d, D::kBranchSize), "13");
  // A category the file does not list offers its whole table.
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 2));
  EXPECT_EQ(texts(*d, D::kMainSize), (Sizes{"15", "20", "50", "80"}));
}

TEST_F(PartsMenuTest, TheMenuFitsAScreenOf1920By1200At200Percent) {
  auto d = Open();
  const ui::Layout& layout = d->GetLayout();
  // Room left for the title bar and a desktop panel.
  EXPECT_LE(2 * layout.width, 1920);
  EXPECT_LE(2 * layout.height, 1200 - 120);
  for (const auto& control : d->Controls()) {
    const PixelRect r = control->Rect();
    EXPECT_LE(r.right, layout.width) << control->Id();
    EXPECT_LE(r.bottom, layout.height) << control->Id();
  }
  // The status line is the last thing at the bottom.
  EXPECT_GE(d->FindControl(D::kStatusLine)->Rect().bottom, layout.height - 12);
}

TEST_F(PartsMenuTest, OkWaitsForAPartAndEnterDoesNothing) {
  auto d = Open();
  EXPECT_EQ(Text(*d, D::kStatusLine), "分類・サイズ選択");
  ASSERT_TRUE(d->UserClick(D::kStart));
  EXPECT_EQ(t.launcher.starts, 0);
  EXPECT_EQ(t.host.messages.size(), 1u);
  d->UserOk();
  EXPECT_FALSE(d->Ended());
  // Rotation before a category is picked hands nothing over.
  ASSERT_TRUE(d->UserClick(kRotation90));
  EXPECT_FALSE(t.Info().Exists("DrawName.ini"));
  ASSERT_TRUE(d->UserClick(ui::kIdCancel));
  EXPECT_TRUE(d->Ended());
}

}  // namespace
}  // namespace tavelin
