// The damper: the records of the five types, the base points, the type files
// and the type switch, the labels over the schematic, the preview and OK.
#include "duct/danpa_dialog.hpp"

#include <gtest/gtest.h>

#include "framework/background_flush.hpp"

#include <cmath>
#include <cstdio>
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

using Dlg = DanpaDialog;
constexpr int kVd = 1198, kMd = 1199, kCd = 1200, kFd = 1201, kFdPlus = 1202;

class DanpaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.Write("KyotuSet.ini", {"40", "10", "50", "30"});
    app.Write("Danpa.ini", {"1"});
    app.Write("Danpa_VD.ini", {"300", "300", "100", "50", "400", "20", "1"});
    app.Write("Danpa_MD.ini", {"300", "300", "100", "80", "400", "20", "1"});
    app.Write("Danpa_CD.ini", {"300", "300", "100", "50", "400", "20", "1"});
    app.Write("Danpa_FD.ini", {"200", "200", "100", "100", "400", "20", "1", "1"});
    app.Write("Danpa_FT.ini", {"200", "200", "300", "100", "100", "400", "20", "1", "0"});
  }

  Dlg& Open(int failures = 0) {
    dialog = std::make_unique<Dlg>(app.App());
    dialog->Initialize();
    EXPECT_EQ(dialog->Failures(), failures);
    return *dialog;
  }

  std::string Text(int id) { return dialog->FindControl(id)->Text(); }
  bool Checked(int id) { return dialog->FindControl(id)->Checked(); }
  std::vector<std::string> DrawData() { return app.Lines("DrawData.txt"); }
  void Set(int id, const std::string& text) { dialog->UserSetText(id, text); }

  testing::TestApp app;
  std::unique_ptr<Dlg> dialog;
};

struct Rec {
  int kind = 0, style = 0;
  std::string colour;
  std::vector<double> v;
  std::string layer;
};

Rec Parse(const std::string& record) {
  std::vector<std::string> f = Split(record, ',');
  Rec r;
  r.kind = ToInt(f[0]);
  r.style = ToInt(f[1]);
  r.colour = f[2];
  const size_t numbers = r.kind == 2 ? 5 : 4;
  for (size_t i = 0; i < numbers; ++i) r.v.push_back(ToDouble(f[3 + i]));
  r.layer = f[3 + numbers + 1];
  return r;
}

std::vector<Rec> ParseAll(const std::vector<std::string>& records) {
  std::vector<Rec> parsed;
  for (size_t k = 1; k < records.size(); ++k) parsed.push_back(Parse(records[k]));
  return parsed;
}

using V = std::vector<double>;

TEST_F(DanpaTest, VolumeDamperGivesTheRecordsOfTheWorkedExample) {
  Open();
  std::vector<std::string> records = DrawData();
  ASSERT_EQ(records.size(), 14u);
  EXPECT_EQ(records[0], "50,600.000000,200.000000,0.000000,200.000000,");
  std::vector<Rec> r = ParseAll(records);
  EXPECT_EQ(r[0].v, (V{0, 200, 600, 200}));
  EXPECT_EQ(r[1].v, (V{0, -200, 600, -200}));
  EXPECT_EQ(r[2].v, (V{40, 200, 40, -200}));
  EXPECT_EQ(r[2].layer, "DUCT_ANGLE");
  EXPECT_EQ(r[3].v, (V{560, 200, 560, -200}));
  EXPECT_EQ(r[4].v, (V{0, 210, 0, -210}));
  EXPECT_EQ(r[4].layer, "DUCT_FLANGE");
  EXPECT_EQ(r[5].v, (V{600, 210, 600, -210}));
  // The blade frame, hidden, from 250 to 350 between -180 and 180.
  EXPECT_EQ(r[6].v, (V{250, -180, 250, 180}));
  EXPECT_EQ(r[7].v, (V{250, 180, 350, 180}));
  EXPECT_EQ(r[8].v, (V{350, 180, 350, -180}));
  EXPECT_EQ(r[9].v, (V{350, -180, 250, -180}));
  for (int k = 6; k <= 9; ++k) {
    EXPECT_EQ(r[k].style, 2);
    EXPECT_EQ(r[k].layer, "DUCT_HIDDEN");
  }
  // The circle below the duct and its two centre lines.
  EXPECT_EQ(r[10].kind, 2);
  EXPECT_EQ(r[10].v, (V{300, -250, 25, 0, 360}));
  EXPECT_EQ(r[10].layer, "DUCT");
  EXPECT_EQ(r[11].v, (V{250, -250, 350, -250}));
  EXPECT_EQ(r[12].v, (V{300, -300, 300, 210}));
  EXPECT_EQ(r[12].style, 5);
  EXPECT_EQ(r[12].layer, "DUCT_CENTER");

  EXPECT_EQ(app.Lines("Danpa_VD.ini"),
            (std::vector<std::string>{"300", "300", "100", "50", "400", "20", "1"}));
  EXPECT_EQ(app.Lines("Danpa.ini"), std::vector<std::string>{"1"});
  EXPECT_EQ(app.Lines("DrawName.ini"), std::vector<std::string>{"DPV_1596D70000041"});
}

TEST_F(DanpaTest, MotorDamperHangsAnOpenBoxBelowTheDuct) {
  Open();
  dialog->UserClick(kMd);
  std::vector<Rec> r = ParseAll(DrawData());
  ASSERT_EQ(r.size(), 14u);
  EXPECT_EQ(r[10].v, (V{260, -200, 260, -280}));
  EXPECT_EQ(r[11].v, (V{260, -280, 340, -280}));
  EXPECT_EQ(r[12].v, (V{340, -280, 340, -200}));
  EXPECT_EQ(r[13].v, (V{300, -290, 300, 210}));
  EXPECT_EQ(app.Lines("DrawName.ini")[0].substr(0, 4), "DPM_");
}

TEST_F(DanpaTest, CheckDamperFrameStartsAtTheAxisAndItsTriangleKeepsItsSize) {
  Open();
  dialog->UserClick(kCd);
  std::vector<Rec> r = ParseAll(DrawData());
  ASSERT_EQ(r.size(), 19u);
  EXPECT_EQ(r[6].v, (V{300, -180, 300, 180}));
  EXPECT_EQ(r[7].v, (V{300, 180, 400, 180}));
  // The square of side A on its arm, the arm reaching the middle of the piece.
  EXPECT_EQ(r[10].v, (V{175, -300, 175, -250}));
  EXPECT_EQ(r[13].v, (V{225, -300, 175, -300}));
  EXPECT_EQ(r[14].v, (V{225, -275, 300, -275}));
  auto triangle = [&] {
    std::vector<Rec> t = ParseAll(DrawData());
    EXPECT_EQ(t[15].v[0], 315);
    EXPECT_EQ(t[15].v[1], -40);
    EXPECT_EQ(t[15].v[3], 40);
    EXPECT_NEAR(t[16].v[2] - 315, 69.282, 1e-3);
    EXPECT_EQ(t[16].v[3], 0);
    EXPECT_EQ(t[17].v[2], 315);
    EXPECT_EQ(t[17].v[3], -40);
  };
  triangle();
  Set(Dlg::kD, "1000");
  dialog->UserClick(Dlg::kUpdate);
  triangle();

  // Its second base column is the far end of the piece.
  dialog->UserClick(1206);
  r = ParseAll(DrawData());
  EXPECT_EQ(r[0].v, (V{-600, 1000, 0, 1000}));  // (0, h) - (L, h) moved by (-L, +h)
  EXPECT_EQ(r[1].v[1], 0);                      // the lower side lies on the base point
  EXPECT_EQ(app.Lines("Danpa_CD.ini")[6], "4");
  dialog->UserClick(1205);
  EXPECT_EQ(ParseAll(DrawData())[0].v, (V{-600, 500, 0, 500}));
}

TEST_F(DanpaTest, BasePointsOfTheOtherTypes) {
  Open();
  dialog->UserClick(1206);  // VD: the axis, lower side
  EXPECT_EQ(ParseAll(DrawData())[0].v, (V{-300, 400, 300, 400}));
  dialog->UserClick(1204);  // the start, lower side
  EXPECT_EQ(ParseAll(DrawData())[0].v, (V{0, 400, 600, 400}));
  dialog->UserClick(kFdPlus);  // L1 + L2 = 400, L = 700
  dialog->UserClick(1205);
  EXPECT_EQ(ParseAll(DrawData())[0].v, (V{-400, 200, 300, 200}));
  dialog->UserClick(1207);
  EXPECT_EQ(ParseAll(DrawData())[0].v, (V{-700, 200, 0, 200}));
  dialog->UserClick(1214);
  EXPECT_EQ(ParseAll(DrawData())[0].v, (V{-700, 400, 0, 400}));
  EXPECT_EQ(app.Lines("Danpa_FT.ini")[7], "6");
}

TEST_F(DanpaTest, FireDamperRowsAndTheLongPieceWithItsJoint) {
  Open();
  dialog->UserClick(kFd);
  std::vector<std::string> records = DrawData();
  EXPECT_EQ(records[0], "50,400.000000,200.000000,0.000000,200.000000,");
  std::vector<Rec> r = ParseAll(records);
  EXPECT_EQ(r[10].v, (V{100, -200, 100, -300}));
  EXPECT_EQ(r[11].v, (V{100, -300, 300, -300}));
  EXPECT_EQ(r[12].v, (V{300, -300, 300, -200}));
  EXPECT_EQ(r[13].v, (V{100, -315, 400, -315}));
  EXPECT_EQ(r[14].v, (V{200, -310, 200, 210}));
  // Hatched from the stored FD settings: 45-degree lines inside the duct.
  ASSERT_GT(r.size(), 20u);
  for (size_t k = 15; k < r.size(); ++k) {
    EXPECT_EQ(r[k].layer, "DUCT_HATCH");
    EXPECT_NEAR((r[k].v[3] - r[k].v[1]) / (r[k].v[2] - r[k].v[0]), kHatchSlope, 1e-4);
    for (int i : {0, 2}) EXPECT_TRUE(r[k].v[i] > -1e-3 && r[k].v[i] < 400.001);
    // The duct's edges are crossed in the order start, upper side, end, lower
    // side: in this square piece each hatch line either runs from the start up
    // to the upper side, or from the end down to the lower side.
    if (std::fabs(r[k].v[0]) < 1e-3) {
      EXPECT_NEAR(r[k].v[3], 200, 1e-3);
    } else {
      EXPECT_NEAR(r[k].v[0], 400, 1e-3);
      EXPECT_NEAR(r[k].v[3], -200, 1e-3);
    }
  }
  EXPECT_EQ(app.Lines("DrawName.ini")[0], "DPF_1519D10000018467");

  dialog->UserClick(kFdPlus);
  records = DrawData();
  EXPECT_EQ(records[0], "50,700.000000,200.000000,0.000000,200.000000,");
  r = ParseAll(records);
  // The angle lines on both sides of the joint, then the three flange lines.
  EXPECT_EQ(r[4].v, (V{360, 200, 360, -200}));
  EXPECT_EQ(r[5].v, (V{440, 200, 440, -200}));
  EXPECT_EQ(r[8].v, (V{400, 210, 400, -210}));
  EXPECT_EQ(r[8].layer, "DUCT_FLANGE");
  EXPECT_EQ(r.size(), 18u);  // the FD+ file keeps its hatching off
  dialog->UserClick(Dlg::kHatch);
  double furthest = 0;
  for (const Rec& rec : ParseAll(DrawData())) {
    if (rec.layer == "DUCT_HATCH") furthest = std::max({furthest, rec.v[0], rec.v[2]});
  }
  EXPECT_GT(furthest, 600);  // the hatch covers the added piece
  EXPECT_EQ(app.Lines("Danpa_FT.ini")[8], "1");
  EXPECT_EQ(app.Lines("DrawName.ini")[0].substr(0, 5), "DPFT_");
}

TEST_F(DanpaTest, HatchBoxHasNoEffectOnTheOtherTypes) {
  Open();
  dialog->UserClick(Dlg::kHatch);
  EXPECT_TRUE(Checked(Dlg::kHatch));
  EXPECT_EQ(DrawData().size(), 14u);                // extents, 10 duct rows, 3 VD rows
  EXPECT_EQ(app.Lines("Danpa_VD.ini").size(), 7u);  // VD stores no hatch line
}

TEST_F(DanpaTest, SwitchingTheTypeRestoresEachTypesValues) {
  Open();
  dialog->UserClick(kFd);
  EXPECT_EQ(Text(Dlg::kL1), "200");
  EXPECT_TRUE(Checked(Dlg::kHatch));
  Set(Dlg::kA, "120");
  dialog->UserClick(Dlg::kHatch);  // off, and saved with A = 120
  EXPECT_EQ(app.Lines("Danpa_FD.ini"),
            (std::vector<std::string>{"200", "200", "100", "120", "400", "20", "1", "0"}));

  dialog->UserClick(kVd);
  EXPECT_EQ(Text(Dlg::kL1), "300");
  EXPECT_EQ(Text(Dlg::kA), "50");
  EXPECT_FALSE(Checked(Dlg::kHatch));  // VD keeps the box as it was
  EXPECT_EQ(app.Lines("Danpa.ini"), std::vector<std::string>{"1"});

  dialog->UserClick(kFd);
  EXPECT_EQ(Text(Dlg::kA), "120");
  EXPECT_FALSE(Checked(Dlg::kHatch));
  EXPECT_EQ(app.Lines("Danpa.ini"), std::vector<std::string>{"4"});

  // A value typed but not applied is dropped by the switch, as the note says.
  Set(Dlg::kL1, "999");
  dialog->UserClick(kMd);
  dialog->UserClick(kFd);
  EXPECT_EQ(Text(Dlg::kL1), "200");

  // The selected type comes back when the dialog opens again.
  dialog->UserClick(kFdPlus);
  Open();
  EXPECT_TRUE(Checked(kFdPlus));
  EXPECT_EQ(Text(Dlg::kL3), "300");
  EXPECT_EQ(dialog->SelectedType(), 5);
}

TEST_F(DanpaTest, TheBaseRadiosStayOneGroupAcrossTypes) {
  app.Write("Danpa_FT.ini", {"200", "200", "300", "100", "100", "400", "20", "5", "0"});
  Open();
  dialog->UserClick(kFdPlus);
  EXPECT_TRUE(Checked(1207));
  dialog->UserClick(kVd);
  int checked = 0;
  for (int id : Dlg::kBaseRadios) checked += Checked(id) ? 1 : 0;
  EXPECT_EQ(checked, 1);
  EXPECT_TRUE(Checked(1203));
  EXPECT_FALSE(dialog->FindControl(1207)->Enabled());
}

TEST_F(DanpaTest, AShortTypeFileLeavesTheOtherControlsAlone) {
  app.Write("Danpa_MD.ini", {"111", "222"});
  Open();
  dialog->UserClick(kMd);
  EXPECT_EQ(Text(Dlg::kL1), "111");
  EXPECT_EQ(Text(Dlg::kL2), "222");
  EXPECT_EQ(Text(Dlg::kW), "100");
  EXPECT_EQ(Text(Dlg::kD), "400");
  EXPECT_TRUE(Checked(1203));
  EXPECT_EQ(app.Lines("Danpa_MD.ini"),
            (std::vector<std::string>{"111", "222", "100", "50", "400", "20", "1"}));
}

TEST_F(DanpaTest, WithoutAValidTypeTheDialogOpensEmptyAndWritesNothing) {
  for (const char* selection : {"", "7", "0"}) {
    SCOPED_TRACE(selection);
    if (*selection) {
      app.Write("Danpa.ini", {selection});
    } else {
      app.Remove("Danpa.ini");
    }
    app.Remove("DrawData.txt");
    Open();
    for (int id = kVd; id <= kFdPlus; ++id) EXPECT_FALSE(Checked(id));
    EXPECT_EQ(dialog->Records().Count(), 0u);
    EXPECT_FALSE(app.Info().Exists("DrawData.txt"));
    EXPECT_EQ(app.Info().Exists("Danpa.ini"), *selection != '\0');
    RecordingCanvas canvas;
    dialog->Paint(canvas);
    dialog->UserClick(Dlg::kUpdate);
    EXPECT_FALSE(app.Info().Exists("DrawData.txt"));

    // OK has nothing to hand over and says so.
    app.host.messages.clear();
    dialog->UserClick(Dlg::kOkButton);
    EXPECT_EQ(app.launcher.starts, 0);
    ASSERT_EQ(app.host.messages.size(), 1u);
    EXPECT_EQ(app.host.messages[0].caption, "確認");

    dialog->UserClick(kMd);
    EXPECT_EQ(app.Lines("Danpa.ini"), std::vector<std::string>{"2"});
    EXPECT_EQ(DrawData().size(), 15u);
    app.Write("Danpa.ini", {"1"});
  }
}

TEST_F(DanpaTest, AMissingTypeFileIsReportedAndTheNextUpdateRecreatesIt) {
  app.Remove("Danpa_VD.ini");
  Open(1);
  ASSERT_EQ(app.host.messages.size(), 1u);
  EXPECT_NE(app.host.messages[0].text.find("Danpa_VD.ini"), std::string::npos);
  Set(Dlg::kL1, "300");
  Set(Dlg::kL2, "300");
  Set(Dlg::kD, "400");
  dialog->FindControl(1203)->SetCheck(true);
  dialog->UserClick(Dlg::kUpdate);
  EXPECT_EQ(dialog->Failures(), 1);
  std::vector<Rec> r = ParseAll(DrawData());
  ASSERT_FALSE(r.empty());
  EXPECT_EQ(r[0].layer, "DUCT");  // the attributes were read all the same
  EXPECT_EQ(r[0].colour, "4");
  EXPECT_EQ(app.Lines("Danpa_VD.ini")[0], "300");
}

TEST_F(DanpaTest, LabelsMoveWithTheType) {
  Open();
  auto rect = [&](int id) { return dialog->FindControl(id)->Rect(); };
  const struct {
    int radio;
    PixelRect l2, w, s;
    const char* l3;
    bool longPiece;
  } cases[] = {
      {kVd, {155, 32, 175, 44}, {148, 60, 163, 72}, {220, 100, 235, 112}, "", false},
      {kMd, {155, 32, 175, 44}, {148, 60, 163, 72}, {220, 100, 235, 112}, "", false},
      {kCd, {165, 32, 185, 44}, {165, 58, 180, 70}, {220, 100, 235, 112}, "", false},
      {kFd, {165, 32, 185, 44}, {147, 58, 162, 70}, {220, 100, 235, 112}, "", false},
      {kFdPlus, {165, 32, 185, 44}, {147, 58, 162, 70}, {270, 100, 285, 112}, "L3", true},
      {kVd, {155, 32, 175, 44}, {148, 60, 163, 72}, {220, 100, 235, 112}, "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.radio);
    dialog->UserClick(c.radio);
    EXPECT_EQ(rect(Dlg::kLabelL2), c.l2);
    EXPECT_EQ(rect(Dlg::kLabelW), c.w);
    EXPECT_EQ(rect(Dlg::kLabelS), c.s);
    EXPECT_EQ(Text(Dlg::kLabelL3), c.l3);
    EXPECT_EQ(dialog->FindControl(1207)->Enabled(), c.longPiece);
    EXPECT_EQ(dialog->FindControl(1214)->Enabled(), c.longPiece);
    EXPECT_EQ(dialog->FindControl(Dlg::kL3)->Enabled(), c.longPiece);
  }
}

TEST_F(DanpaTest, SizeListFillsTheDuctSize) {
  Open();
  ui::Control* sizes = dialog->FindControl(Dlg::kSizes);
  std::vector<std::string> kioku = app.Lines("KiokuSize.ini");
  ASSERT_EQ(sizes->Items(), kioku);
  int index = sizes->FindExact("600");
  ASSERT_GE(index, 0);
  dialog->UserSelect(Dlg::kSizes, index);
  EXPECT_EQ(Text(Dlg::kD), "600");
  EXPECT_EQ(app.Lines("Danpa_VD.ini")[4], "600");
  EXPECT_EQ(DrawData()[0], "50,600.000000,300.000000,0.000000,300.000000,");
}

// The pixel of each "move" and "line" call of the preview.
std::vector<std::string> PreviewCalls(const RecordingCanvas& canvas) {
  std::vector<std::string> calls;
  bool inPreview = false;
  for (const std::string& call : canvas.calls) {
    if (call.find("225,225,225") != std::string::npos) inPreview = true;
    if (inPreview &&
        (call.rfind("move", 0) == 0 || call.rfind("line", 0) == 0 || call.rfind("arc", 0) == 0)) {
      calls.push_back(call);
    }
  }
  return calls;
}

TEST_F(DanpaTest, PreviewKeepsTheFittingInPlaceWhileTheBaseMoves) {
  Open();
  RecordingCanvas first;
  dialog->Paint(first);
  std::vector<std::string> atStart = PreviewCalls(first);
  ASSERT_FALSE(atStart.empty());
  dialog->UserClick(1206);  // base (300, 200)
  RecordingCanvas second;
  dialog->Paint(second);
  std::vector<std::string> atAxis = PreviewCalls(second);
  ASSERT_EQ(atAxis.size(), atStart.size());
  // The duct's upper side stays where it was ...
  EXPECT_EQ(atAxis[0], atStart[0]);
  EXPECT_EQ(atAxis[1], atStart[1]);
  // ... and only the base-point marker moves: k = 4000 / 600 per 50 units,
  // 6 steps right and 4 down.
  const PixelRect client = dialog->FindControl(Dlg::kPreview)->Rect();
  const int cx = client.left + static_cast<int>(client.Width() * 0.5);
  const int cy = client.top + static_cast<int>(client.Height() * 0.5);
  int l = 0, t = 0, r = 0, b = 0;
  ASSERT_EQ(sscanf(atStart.back().c_str(), "arc %d %d %d %d", &l, &t, &r, &b), 4);
  EXPECT_EQ((l + r) / 2, cx);
  EXPECT_EQ((t + b) / 2, cy);
  ASSERT_EQ(sscanf(atAxis.back().c_str(), "arc %d %d %d %d", &l, &t, &r, &b), 4);
  EXPECT_EQ((l + r) / 2, cx + 40);
  EXPECT_EQ((t + b) / 2, cy + 26);
  // The scale: 600 units across, 80 pixels.
  int x1 = 0, x2 = 0, y = 0;
  sscanf(atStart[0].c_str(), "move %d %d", &x1, &y);
  sscanf(atStart[1].c_str(), "line %d %d", &x2, &y);
  EXPECT_EQ(x2 - x1, 80);
}

TEST_F(DanpaTest, SchematicShowsOnlyTheChosenTypeInItsPens) {
  app.Write("Danpa.tec", {"1,1,1,10,40,90,160,", "1,4,2,0,0,30,40,", "1,2,1,0,0,3,4,"});
  Open();
  const PixelRect anchor = dialog->FindControl(Dlg::kSchematic)->Rect();
  RecordingCanvas canvas;
  dialog->Paint(canvas);
  std::vector<std::string> pens;
  std::vector<std::string> moves;
  for (const std::string& call : canvas.calls) {
    if (call.find("225,225,225") != std::string::npos) break;  // the preview begins
    if (call.rfind("pen", 0) == 0) pens.push_back(call);
    if (call.rfind("move", 0) == 0) moves.push_back(call);
  }
  // Three lines in the face's grey, then the two VD lines in their own pens.
  ASSERT_EQ(moves.size(), 5u);
  ASSERT_EQ(pens.size(), 5u);
  EXPECT_EQ(pens[0], pens[1]);
  EXPECT_EQ(pens[0], pens[2]);
  EXPECT_NE(pens[3], pens[0]);
  EXPECT_NE(pens[4], pens[3]);
  char expected[64];
  std::snprintf(expected, sizeof expected, "move %d %d", anchor.left + 70 + 40,
                anchor.top + 145 + 80);
  EXPECT_EQ(moves[3], expected);
  EXPECT_EQ(moves[0], expected);
}

TEST_F(DanpaTest, OkStartsTheBuilderFromTheButtonAndFromEnter) {
  Open();
  dialog->UserClick(Dlg::kOkButton);
  EXPECT_EQ(app.launcher.starts, 1);
  const std::string placed = PlacedStatus(app.launcher.lastName, app.Root() / "blocks");
  EXPECT_EQ(Text(Dlg::kStatus), placed);
  RecordingCanvas canvas;
  dialog->Paint(canvas);
  EXPECT_EQ(Text(Dlg::kStatus), placed);
  dialog->UserOk();
  EXPECT_EQ(app.launcher.starts, 2);
  EXPECT_FALSE(dialog->Ended());
  dialog->UserClick(Dlg::kUpdate);
  EXPECT_EQ(Text(Dlg::kStatus), "設定後OKをクリック");
  dialog->UserClick(ui::kIdCancel);
  EXPECT_TRUE(dialog->Ended());
}

TEST(DanpaData, DefaultSchematicDrawsEveryTypeWithinItsCapacity) {
  testing::TestApp app;
  std::vector<std::string> lines = app.Lines("Danpa.tec");
  ASSERT_LE(lines.size(), Dlg::kSchematicCapacity);
  std::vector<SchematicLine> parsed = ParseSchematic(lines);
  int perType[6] = {0, 0, 0, 0, 0, 0};
  for (const SchematicLine& line : parsed) {
    ASSERT_TRUE(line.tag >= 1 && line.tag <= 5);
    ASSERT_TRUE(line.kind == 1 || line.kind == 2);
    ++perType[line.tag];
  }
  for (int t = 1; t <= 5; ++t) EXPECT_GT(perType[t], 20) << t;
  // The default type files have their line counts.
  EXPECT_EQ(app.Lines("Danpa.ini"), std::vector<std::string>{"1"});
  for (int t = 1; t <= 5; ++t) {
    EXPECT_EQ(app.Lines(Dlg::TypeFile(t)).size(), t <= 3 ? 7u : t == 4 ? 8u : 9u) << t;
  }
}

TEST(DanpaMain, MainDialogOpensItWithItsCode) {
  testing::TestApp app;
  app.host.initialiseChildren = true;
  std::unique_ptr<ui::Dialog> main = app.App().createDialog("MainDialog", app.App());
  main->Initialize();
  main->UserClick(1018);
  ASSERT_EQ(app.host.modalCaptions.size(), 1u);
  EXPECT_EQ(app.host.modalCaptions[0], "ダンパー作図");
  EXPECT_EQ(app.Lines("Command.ini")[0], "21");
  EXPECT_EQ(app.Lines("DrawName.ini")[0].substr(0, 4), "DPV_");
}

}  // namespace
}  // namespace tavelin
