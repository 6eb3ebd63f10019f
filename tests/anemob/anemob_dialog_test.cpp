// The anemostat with plenum box: its records for both shapes, the linked
// W / D / c fields, the size look-up, the options and the hand-off files.
#include "duct/anemob_dialog.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "framework/canvas.hpp"
#include "framework/handoff.hpp"
#include "framework/preview.hpp"
#include "framework/text.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

// Hatch lines rise 10000 over 10002: almost 45 degrees.
constexpr double kHatchSlope = 10000.0 / 10002.0;

using Dlg = AnemoBDialog;

// The settings of the worked example: box 400, duct 100 long and 250 wide,
// neck 200, square face 300, box with square duct, nothing else.
std::vector<std::string> ExampleSettings() {
  return {"400", "100", "0", "200", "300", "250", "0", "111", "100",
          "25",  "#25", "2", "0",   "0",   "0",   "0", "1"};
}

class AnemoBTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.Write("KyotuSet.ini", {"30", "40", "50", "30"});
    app.Write("AnemoB.ini", ExampleSettings());
  }

  // Opens the dialog with `settings` (line k of "AnemoB.ini" replaced).
  Dlg& Open(const std::vector<std::pair<int, std::string>>& changes = {}) {
    std::vector<std::string> settings = ExampleSettings();
    for (const auto& [line, text] : changes) settings[line - 1] = text;
    app.Write("AnemoB.ini", settings);
    dialog = std::make_unique<Dlg>(app.App());
    dialog->Initialize();
    EXPECT_EQ(dialog->Failures(), 0);
    return *dialog;
  }

  std::string Text(int id) { return dialog->FindControl(id)->Text(); }
  std::vector<std::string> DrawData() { return app.Lines("DrawData.txt"); }

  testing::TestApp app;
  std::unique_ptr<Dlg> dialog;
};

// The numbers of a record after its kind, style and colour.
std::vector<double> Coordinates(const std::string& record) {
  std::vector<std::string> fields = Split(record, ',');
  std::vector<double> numbers;
  for (size_t i = 3; i < fields.size(); ++i) {
    if (!fields[i].empty() &&
        (std::isdigit(static_cast<unsigned char>(fields[i][0])) || fields[i][0] == '-')) {
      numbers.push_back(ToDouble(fields[i]));
    }
  }
  return numbers;
}

TEST_F(AnemoBTest, BoxWithSquareDuctGivesTheRecordsOfTheWorkedExample) {
  Open();
  const std::string body = ",CONTINUOUS,DUCT,";
  const std::vector<std::string> expected = {
      "50,350.000000,150.000000,150.000000,150.000000,",
      "1,1,4,300.000000,125.000000,200.000000,125.000000" + body,
      "1,1,4,200.000000,125.000000,200.000000,200.000000" + body,
      "1,1,4,200.000000,200.000000,-200.000000,200.000000" + body,
      "1,1,4,-200.000000,200.000000,-200.000000,-200.000000" + body,
      "1,1,4,-200.000000,-200.000000,200.000000,-200.000000" + body,
      "1,1,4,200.000000,-200.000000,200.000000,-125.000000" + body,
      "1,1,4,200.000000,-125.000000,300.000000,-125.000000" + body,
      "1,1,3,300.000000,165.000000,300.000000,-165.000000,CONTINUOUS,DUCT_FLANGE,",
      "1,1,3,270.000000,125.000000,270.000000,-125.000000,CONTINUOUS,DUCT_ANGLE,",
      "2,2,8,0.000000,0.000000,100.000000,0.000000,360.000000,HIDDEN,DUCT_HIDDEN,",
      "1,2,1,-150.000000,-150.000000,-150.000000,150.000000,CONTINUOUS,DUCT_FIXTURE,",
      "1,2,1,-150.000000,150.000000,150.000000,150.000000,CONTINUOUS,DUCT_FIXTURE,",
      "1,2,1,150.000000,150.000000,150.000000,-150.000000,CONTINUOUS,DUCT_FIXTURE,",
      "1,2,1,150.000000,-150.000000,-150.000000,-150.000000,CONTINUOUS,DUCT_FIXTURE,",
  };
  EXPECT_EQ(DrawData(), expected);
  // The settings come back unchanged, and the block name is made of them.
  EXPECT_EQ(app.Lines("AnemoB.ini"), ExampleSettings());
  EXPECT_EQ(app.Lines("DrawName.ini"), std::vector<std::string>{"AB_2446D60000041"});
  EXPECT_EQ(Text(Dlg::kStatus), "設定後OKクリック");
}

TEST_F(AnemoBTest, RoundDuctEndsInAPlainJointAndARoundFaceIsACircle) {
  Open({{12, "3"}, {17, "2"}});
  std::vector<std::string> records = DrawData();
  ASSERT_EQ(records.size(), 11u);  // extents, 7 outline lines, joint, neck, face
  EXPECT_EQ(records[8],
            "1,1,3,300.000000,125.000000,300.000000,-125.000000,CONTINUOUS,DUCT_FLANGE,");
  EXPECT_EQ(records[10],
            "2,2,1,0.000000,0.000000,150.000000,0.000000,360.000000,CONTINUOUS,DUCT_FIXTURE,");
}

TEST_F(AnemoBTest, PaddleShapeTapersFromTheBoxCornersIntoTheDuct) {
  Open({{12, "1"}});
  std::vector<std::string> records = DrawData();
  ASSERT_GE(records.size(), 10u);
  EXPECT_EQ(records[0], "50,361.000000,150.000000,150.000000,150.000000,");
  // Duct end at W/2 + L = 311, taper from x = 311 - B = 211 to the box corners.
  EXPECT_EQ(Coordinates(records[1]), (std::vector<double>{311, 125, 211, 125}));
  EXPECT_EQ(Coordinates(records[2]), (std::vector<double>{211, 125, 200, 200}));
  EXPECT_EQ(Coordinates(records[6]), (std::vector<double>{200, -200, 211, -125}));
  EXPECT_EQ(Coordinates(records[7]), (std::vector<double>{211, -125, 311, -125}));
  EXPECT_EQ(Coordinates(records[8]), (std::vector<double>{311, 165, 311, -165}));
  EXPECT_EQ(Coordinates(records[9]), (std::vector<double>{281, 125, 281, -125}));

  // The step lines close the straight duct and the box side.
  dialog->UserClick(Dlg::kStepLines);
  records = DrawData();
  EXPECT_EQ(Coordinates(records[8]), (std::vector<double>{211, -125, 211, 125}));
  EXPECT_EQ(Coordinates(records[9]), (std::vector<double>{200, -200, 200, 200}));
  EXPECT_EQ(app.Lines("AnemoB.ini")[12], "1");
}

TEST_F(AnemoBTest, LiningAddsTheBoxSideTheInnerSquareAndA45DegreeHatch) {
  Open({{14, "1"}});
  std::vector<std::string> records = DrawData();
  // After the outline, the flange and the angle line: the box side ...
  EXPECT_EQ(Coordinates(records[10]), (std::vector<double>{200, -200, 200, 200}));
  // ... and the inner square at W/2 - T = 175, hidden.
  EXPECT_EQ(records[11].substr(0, 6), "1,2,8,");
  EXPECT_EQ(Coordinates(records[11]), (std::vector<double>{-175, -175, -175, 175}));
  EXPECT_EQ(Coordinates(records[14]), (std::vector<double>{175, -175, -175, -175}));
  int hatches = 0;
  size_t k = 15;
  for (; k < records.size() && records[k].find("DUCT_HATCH") != std::string::npos; ++k) {
    std::vector<double> c = Coordinates(records[k]);
    EXPECT_NEAR((c[3] - c[1]) / (c[2] - c[0]), kHatchSlope, 1e-4) << records[k];
    for (double v : c) EXPECT_LE(std::fabs(v), 200.001) << records[k];
    // The box's edges are crossed in the order left, top, right, bottom: a
    // piece above the diagonal runs from the left side up to the top, one
    // below it from the right side down to the bottom.
    if (std::fabs(c[0] + 200) < 1e-3) {
      EXPECT_NEAR(c[3], 200, 1e-3) << records[k];
    } else {
      EXPECT_NEAR(c[0], 200, 1e-3) << records[k];
      EXPECT_NEAR(c[3], -200, 1e-3) << records[k];
    }
    ++hatches;
  }
  EXPECT_GT(hatches, 10);
  // The neck and the face still follow the hatching.
  EXPECT_EQ(records[k].substr(0, 6), "2,2,8,");
  EXPECT_EQ(records.size(), k + 5);

  // With step lines on, the lining leaves the box side to them.
  dialog->UserClick(Dlg::kStepLines);
  EXPECT_EQ(DrawData()[10].substr(0, 6), "1,2,8,");
}

TEST_F(AnemoBTest, HatchKeepsItsSlopeWhenTheFittingIsTurnedOrMirrored) {
  Open({{14, "1"}, {15, "1"}});
  auto slopesUp = [&](const std::vector<std::string>& records) {
    int n = 0;
    for (const std::string& r : records) {
      if (r.find("DUCT_HATCH") == std::string::npos) continue;
      std::vector<double> c = Coordinates(r);
      EXPECT_NEAR((c[3] - c[1]) / (c[2] - c[0]), kHatchSlope, 1e-4) << r;
      ++n;
    }
    return n;
  };
  // Mirrored: the duct now leaves to the left.
  std::vector<std::string> records = DrawData();
  EXPECT_EQ(Coordinates(records[1]), (std::vector<double>{-300, 125, -200, 125}));
  EXPECT_GT(slopesUp(records), 10);
  // Turned by 135 degrees through the hidden angle list.
  ui::Control* angles = dialog->FindControl(Dlg::kAngles);
  ASSERT_EQ(angles->ItemText(3), "135");
  angles->Show(true);
  dialog->UserSelect(Dlg::kAngles, 3);
  EXPECT_EQ(Text(Dlg::kRotation), "135");
  EXPECT_EQ(app.Lines("AnemoB.ini")[6], "135");
  EXPECT_GT(slopesUp(DrawData()), 10);
}

TEST_F(AnemoBTest, RotationTurnsEveryPointAndShrinksThePreview) {
  Open();
  // Preview pixels of the duct's upper side (100 long): 80 / 500 px per unit.
  auto ductPixels = [&] {
    RecordingCanvas canvas;
    dialog->Paint(canvas);
    // The first line after the preview is filled.
    size_t i = 0;
    while (i < canvas.calls.size() && canvas.calls[i].find("225,225,225") == std::string::npos) ++i;
    int x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (; i < canvas.calls.size(); ++i) {
      if (canvas.calls[i].rfind("move ", 0) == 0) {
        sscanf(canvas.calls[i].c_str(), "move %d %d", &x1, &y1);
        sscanf(canvas.calls[i + 1].c_str(), "line %d %d", &x2, &y2);
        break;
      }
    }
    return std::hypot(x2 - x1, y2 - y1);
  };
  EXPECT_NEAR(ductPixels(), 16.0, 1.01);
  dialog->FindControl(Dlg::kAngles)->Show(true);
  dialog->UserSelect(Dlg::kAngles, 2);  // 90
  std::vector<std::string> records = DrawData();
  std::vector<double> c = Coordinates(records[1]);
  EXPECT_NEAR(c[0], -125, 1e-6);
  EXPECT_NEAR(c[1], 300, 1e-6);
  // The neck's centre stays exactly at the origin; its angles turn.
  EXPECT_EQ(records[10],
            "2,2,8,0.000000,0.000000,100.000000,90.000000,450.000000,HIDDEN,DUCT_HIDDEN,");
  EXPECT_NEAR(ductPixels(), 14.0, 1.01);
}

TEST_F(AnemoBTest, LinkedFieldsFollowTheFieldBeingTyped) {
  Open();
  const std::string before = app.Bytes("AnemoB.ini");
  // Loading the settings changed nothing: no field had the focus yet.
  EXPECT_EQ(Text(Dlg::kClearance), "100");

  dialog->UserSetText(Dlg::kBoxSize, "500");
  EXPECT_EQ(Text(Dlg::kClearance), "150");
  EXPECT_EQ(Text(Dlg::kStatus), "設定後OKをクリック");
  dialog->UserSetText(Dlg::kClearance, "120");
  EXPECT_EQ(Text(Dlg::kBoxSize), "440");
  dialog->UserSetText(Dlg::kNeck, "251");
  EXPECT_EQ(Text(Dlg::kClearance), "94");  // (440 - 251) / 2 = 94.5, cut toward zero
  EXPECT_EQ(Text(Dlg::kBoxSize), "440");
  dialog->UserSetText(Dlg::kBoxSize, "200.9");
  EXPECT_EQ(Text(Dlg::kClearance), "-25");  // -25.05 cut toward zero
  dialog->UserSetText(Dlg::kClearance, "abc");
  EXPECT_EQ(Text(Dlg::kBoxSize), "251");

  // Typing alone hands nothing over; the update button does.
  EXPECT_EQ(app.Bytes("AnemoB.ini"), before);
  dialog->UserClick(Dlg::kUpdate);
  std::vector<std::string> saved = app.Lines("AnemoB.ini");
  EXPECT_EQ(saved[0], "251");
  EXPECT_EQ(saved[3], "251");
  EXPECT_EQ(saved[8], "abc");
  EXPECT_EQ(Text(Dlg::kStatus), "設定後OKクリック");
}

TEST_F(AnemoBTest, SizeLookUpFillsNeckAndFaceAndRecomputesTheBox) {
  app.Write("AnemoSyoki.ini", {"#20,200,340,420,380", "#25,240,400,510,470", "#25,999,999,999,999",
                               "#37.5,375,550,720,650"});
  Open({{9, "80"}});
  ui::Control* sizes = dialog->FindControl(Dlg::kSize);
  ASSERT_EQ(sizes->Count(), 9);
  ASSERT_EQ(sizes->ItemText(3), "#25");
  dialog->UserSelect(Dlg::kSize, 3);
  EXPECT_EQ(Text(Dlg::kNeck), "240");     // the first matching line wins
  EXPECT_EQ(Text(Dlg::kFace), "470");     // square anemostat: field 5
  EXPECT_EQ(Text(Dlg::kBoxSize), "400");  // 2 x 80 + 240
  EXPECT_EQ(app.Lines("AnemoB.ini")[0], "400");
  EXPECT_EQ(DrawData()[0], "50,350.000000,235.000000,235.000000,235.000000,");

  dialog->UserClick(Dlg::kRoundFace);
  EXPECT_EQ(Text(Dlg::kFace), "510");  // round anemostat: field 4
  EXPECT_EQ(app.Lines("AnemoB.ini")[16], "2");

  ASSERT_EQ(sizes->ItemText(6), "#37.5");
  dialog->UserSelect(Dlg::kSize, 6);
  EXPECT_EQ(Text(Dlg::kNeck), "375");
  EXPECT_EQ(Text(Dlg::kBoxSize), "535");

  // A size with no line keeps neck and face but still rebuilds.
  dialog->UserSetText(Dlg::kClearance, "100");
  dialog->UserSetText(Dlg::kSize, "#99");
  dialog->UserClick(Dlg::kSquareDuct);
  EXPECT_EQ(Text(Dlg::kNeck), "375");
  EXPECT_EQ(Text(Dlg::kFace), "720");
  EXPECT_EQ(Text(Dlg::kBoxSize), "575");
  EXPECT_EQ(app.Lines("AnemoB.ini")[10], "#99");
}

TEST_F(AnemoBTest, ShapeClickWithoutASizeStillReachesTheHandOff) {
  Open({{11, ""}});
  dialog->UserClick(Dlg::kPaddle);
  EXPECT_EQ(app.Lines("AnemoB.ini")[11], "1");
  EXPECT_EQ(Coordinates(DrawData()[1]), (std::vector<double>{311, 125, 211, 125}));
  EXPECT_EQ(Text(Dlg::kNeck), "200");
  EXPECT_EQ(Text(Dlg::kBoxSize), "400");
}

TEST_F(AnemoBTest, NoShapeHandsOverAnEmptyDrawing) {
  Open({{12, ""}, {17, "x"}});
  EXPECT_EQ(app.Bytes("DrawData.txt"), "");
  std::vector<std::string> saved = app.Lines("AnemoB.ini");
  EXPECT_EQ(saved[11], "");
  EXPECT_EQ(saved[16], "");
  EXPECT_EQ(app.Lines("DrawName.ini")[0].substr(0, 3), "AB_");
  RecordingCanvas canvas;
  dialog->Paint(canvas);
  EXPECT_EQ(dialog->Failures(), 0);
}

TEST_F(AnemoBTest, AHugeLinedBoxKeepsItsNeckAndAnemostatAfterTheHatching) {
  Open({{1, "9000"}, {14, "1"}});
  const RecordList& list = dialog->Records();
  EXPECT_FALSE(list.Overflowed());
  EXPECT_GT(list.hatchCount, 100);
  EXPECT_EQ(DrawData().size(), list.Count());
  // The neck circle follows the hatching, then the anemostat.
  bool neck = false;
  for (size_t k = 1; k < list.Count(); ++k) neck = neck || list.Record(k).rfind("2,2,", 0) == 0;
  EXPECT_TRUE(neck);
  EXPECT_EQ(list.ElementOf(list.Count() - 1), 5);
}

TEST_F(AnemoBTest, OkBuildsWhatTheControlsHoldAndTheOutcomeSurvivesARepaint) {
  Open();
  // Typed but not confirmed: OK must still build the box of 700, not the last one.
  ASSERT_TRUE(dialog->UserSetText(Dlg::kBoxSize, "700"));
  dialog->UserClick(ui::kIdOk);
  EXPECT_EQ(app.launcher.starts, 1);
  EXPECT_FALSE(dialog->Ended());
  EXPECT_EQ(app.Lines("AnemoB.ini")[0], "700");
  EXPECT_EQ(app.launcher.lastName, app.Lines("DrawName.ini")[0]);
  EXPECT_EQ(InfoFolder(app.launcher.lastJob).ReadToEnd("DrawData.txt", 1000),
            app.Lines("DrawData.txt"));
  const std::string placed = PlacedStatus(app.launcher.lastName, app.Root() / "blocks");
  EXPECT_EQ(Text(Dlg::kStatus), placed);
  RecordingCanvas canvas;
  dialog->Paint(canvas);
  EXPECT_EQ(Text(Dlg::kStatus), placed);
  dialog->UserOk();  // Enter does the same
  EXPECT_EQ(app.launcher.starts, 2);
  dialog->UserClick(ui::kIdCancel);
  EXPECT_TRUE(dialog->Ended());
}

TEST_F(AnemoBTest, MainDialogOpensItWithItsCode) {
  app.host.initialiseChildren = true;
  std::unique_ptr<ui::Dialog> main = app.App().createDialog("MainDialog", app.App());
  main->Initialize();
  main->UserClick(1010);
  ASSERT_EQ(app.host.modalCaptions.size(), 1u);
  EXPECT_EQ(app.host.modalCaptions[0], "アネモ+ボックス");
  EXPECT_EQ(app.Lines("Command.ini")[0], "12");
  EXPECT_EQ(app.Lines("DrawData.txt")[0], "50,350.000000,150.000000,150.000000,150.000000,");
}

TEST(AnemoBData, DefaultSizeFileCoversTheListWithPlausibleSizes) {
  testing::TestApp app;
  std::vector<std::string> lines = app.Lines("AnemoSyoki.ini");
  const std::vector<std::string> sizes = {"#12.5", "#15",   "#20", "#25", "#30",
                                          "#35",   "#37.5", "#40", "#45"};
  ASSERT_EQ(lines.size(), sizes.size());
  double lastNeck = 0;
  for (size_t i = 0; i < sizes.size(); ++i) {
    EXPECT_EQ(Field(lines[i], ',', 1), sizes[i]);
    double neck = ToDouble(Field(lines[i], ',', 2));
    EXPECT_GT(neck, lastNeck);
    EXPECT_GT(ToDouble(Field(lines[i], ',', 3)), neck);  // body of the neck unit
    EXPECT_GT(ToDouble(Field(lines[i], ',', 4)), neck);  // round face
    EXPECT_GT(ToDouble(Field(lines[i], ',', 5)), neck);  // square face
    lastNeck = neck;
  }
  // The schematic fits its list, and every line is always shown.
  std::vector<std::string> schematic = app.Lines("AnemoB.tec");
  ASSERT_FALSE(schematic.empty());
  ASSERT_LE(schematic.size(), Dlg::kSchematicCapacity);
  for (const SchematicLine& line : ParseSchematic(schematic)) {
    EXPECT_TRUE(line.kind == 1 || line.kind == 2);
    EXPECT_EQ(line.tag, 0);
  }
  // The default settings match their own size line.
  std::vector<std::string> settings = app.Lines("AnemoB.ini");
  ASSERT_EQ(settings.size(), 17u);
  EXPECT_EQ(settings[10], "#25");
  EXPECT_EQ(ToDouble(settings[0]), 2 * ToDouble(settings[8]) + ToDouble(settings[3]));
}

}  // namespace
}  // namespace tavelin
