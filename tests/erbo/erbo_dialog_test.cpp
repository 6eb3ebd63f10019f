// The elbow dialog as the user drives it: what each control does to the
// others, what it writes to the info folder, and what OK hands on.
#include "duct/erbo_dialog.hpp"

#include <gtest/gtest.h>

#include "framework/background_flush.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/main_dialog.hpp"
#include "framework/canvas.hpp"
#include "framework/handoff.hpp"
#include "framework/text.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;
using D = ErboDialog;

class ErboDialogTest : public ::testing::Test {
 protected:
  void Open() {
    dialog = std::make_unique<ErboDialog>(test.App());
    dialog->Initialize();
    NullCanvas canvas;
    dialog->Paint(canvas);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }
  bool Checked(int id) { return dialog->FindControl(id)->Checked(); }
  int IndexOf(int combo, const std::string& text) {
    return dialog->FindControl(combo)->FindExact(text);
  }
  void Repaint() {
    NullCanvas canvas;
    dialog->Paint(canvas);
  }

  TestApp test;
  std::unique_ptr<ErboDialog> dialog;
};

const std::vector<std::string> kDefaultSettings = {
    "400", "200", "400", "200", "100", "0", "90", "90", "2", "1", "0", "0", "100", "0", "0"};

TEST_F(ErboDialogTest, OpeningShowsTheSettingsAndHandsOffTheElbow) {
  Open();
  EXPECT_TRUE(test.host.messages.empty());
  EXPECT_EQ(Text(D::kInletWidth), "400");
  EXPECT_EQ(Text(D::kInletLength), "100");
  EXPECT_TRUE(Checked(D::kBaseCentre));
  EXPECT_TRUE(Checked(D::kHalfRadius));
  EXPECT_FALSE(Checked(D::kTurn));
  EXPECT_EQ(Text(D::kStatusLine), "設定後OKをクリック");
  // Every size of the list in both size combos, the stored angles, the six angles.
  EXPECT_EQ(dialog->FindControl(D::kInletSizes)->Items(), test.Lines("KiokuSize.ini"));
  EXPECT_EQ(dialog->FindControl(D::kOutletSizes)->Items(), test.Lines("KiokuSize.ini"));
  EXPECT_EQ(dialog->FindControl(D::kStoredAngles)->Items(), test.Lines("KiokuDeg.ini"));
  EXPECT_EQ(dialog->FindControl(D::kAngles)->Items(),
            (std::vector<std::string>{"15", "30", "45", "60", "75", "90"}));

  EXPECT_EQ(test.Lines("Erbo.ini"), kDefaultSettings);
  EXPECT_EQ(test.Bytes("Erbo.ini").substr(0, 5), "400\r\n");
  // The records carry the attributes of DakutoSet.ini and the common values
  // of KyotuSet.ini (K1 40, K2 15, K3 50).
  auto data = test.Lines("DrawData.txt");
  ASSERT_EQ(data.size(), 11u);
  EXPECT_EQ(data[0], "50,550.000000,550.000000,200.000000,200.000000,");
  EXPECT_EQ(data[1], "1,1,3,500.000000,215.000000,500.000000,-215.000000,CONTINUOUS,DUCT_FLANGE,");
  EXPECT_EQ(data[3], "1,1,3,460.000000,200.000000,460.000000,-200.000000,CONTINUOUS,DUCT_ANGLE,");
  EXPECT_EQ(data[10],
            "2,1,4,400.000000,-400.000000,600.000000,90.000000,180.000000,CONTINUOUS,DUCT,");
  // Weighted sum 2048 of the settings plus 2.5 K1 + 2.6 K2 + 2.7 K3 = 274,
  // then the first number of the run-time generator.
  EXPECT_EQ(test.Lines("DrawName.ini"), (std::vector<std::string>{"ER_2322D00000041"}));
}

TEST_F(ErboDialogTest, RadiusFieldsFollowEachOtherOnlyWhileTyped) {
  Open();
  ASSERT_TRUE(dialog->UserSetText(D::kRadius, "250"));
  EXPECT_EQ(dialog->FocusMarker(), 1);
  EXPECT_EQ(Text(D::kRadius2), "250");
  ASSERT_TRUE(dialog->UserSetText(D::kRadius2, "180"));
  EXPECT_EQ(Text(D::kRadius), "180");
  // Typing is not an update: nothing is written until one.
  EXPECT_EQ(test.Lines("Erbo.ini"), kDefaultSettings);

  // The size list sets W1, W2 and both radii (W1 x 0.5, cut to an integer).
  test.Write("KiokuSize.ini", {"300", "355"});
  Open();
  ASSERT_TRUE(dialog->UserFocus(D::kRadius2));
  ASSERT_TRUE(dialog->UserSelect(D::kInletSizes, 1));
  EXPECT_EQ(dialog->FocusMarker(), 0);
  EXPECT_EQ(Text(D::kInletWidth), "355");
  EXPECT_EQ(Text(D::kOutletWidth), "355");
  EXPECT_EQ(Text(D::kRadius), "177");
  EXPECT_EQ(Text(D::kRadius2), "177");
  auto saved = test.Lines("Erbo.ini");
  EXPECT_EQ(saved[0], "355");
  EXPECT_EQ(saved[1], "177");
  EXPECT_EQ(saved[3], "177");

  // The outlet list sets W2 alone; the radius radios recompute from W1.
  ASSERT_TRUE(dialog->UserSelect(D::kOutletSizes, 0));
  EXPECT_EQ(Text(D::kOutletWidth), "300");
  EXPECT_EQ(Text(D::kRadius), "177");
  ASSERT_TRUE(dialog->UserClick(D::kFullRadius));
  EXPECT_EQ(Text(D::kRadius), "355");
  EXPECT_EQ(Text(D::kRadius2), "355");
  EXPECT_EQ(test.Lines("Erbo.ini")[9], "2");
}

TEST_F(ErboDialogTest, Normal90ResetsAngleWidthsMirrorAndTurn) {
  Open();
  ASSERT_TRUE(dialog->UserSelect(D::kAngles, 2));  // 45
  EXPECT_EQ(Text(D::kAngle), "45");
  EXPECT_EQ(test.Lines("Erbo.ini")[7], "45");
  ASSERT_TRUE(dialog->UserSetText(D::kInletWidth, "500"));
  ASSERT_TRUE(dialog->UserClick(D::kMirror));
  ASSERT_TRUE(dialog->UserClick(D::kTurn));
  EXPECT_EQ(test.Lines("Erbo.ini")[10], "1");
  EXPECT_EQ(dialog->Records().rotation, 90.0);

  ASSERT_TRUE(dialog->UserClick(D::kNormal90));
  EXPECT_EQ(Text(D::kOutletWidth), "500");
  EXPECT_EQ(Text(D::kAngle), "90");
  EXPECT_FALSE(Checked(D::kMirror));
  EXPECT_FALSE(Checked(D::kTurn));
  EXPECT_EQ(Text(D::kRadius), "250");  // 0.5R of the new W1
  EXPECT_EQ(dialog->LastBuild().construction, ElbowConstruction::kRightAngle);
  EXPECT_EQ(dialog->Records().rotation, 0.0);
  auto saved = test.Lines("Erbo.ini");
  EXPECT_EQ(saved[2], "500");
  EXPECT_EQ(saved[7], "90");
  EXPECT_EQ(saved[10], "0");

  // With no radius radio set (a settings file without that line), the usual
  // standard radius of 1.0 x W1 is used.
  auto lines = kDefaultSettings;
  lines[9] = "";
  test.Write("Erbo.ini", lines);
  Open();
  EXPECT_FALSE(Checked(D::kHalfRadius) || Checked(D::kFullRadius));
  ASSERT_TRUE(dialog->UserClick(D::kNormal90));
  EXPECT_EQ(Text(D::kRadius), "400");
  EXPECT_EQ(test.Lines("Erbo.ini")[9], "");
}

TEST_F(ErboDialogTest, UpdateRefusesAnOutletWiderThanTheInlet) {
  Open();
  const std::string name = test.Bytes("DrawName.ini");
  ASSERT_TRUE(dialog->UserSetText(D::kOutletWidth, "450"));
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.host.messages[0].caption, "入力確認");
  EXPECT_EQ(test.host.messages[0].text, "先管巾は元管巾以下にしてください。");
  EXPECT_EQ(dialog->TakeFocusRequest(), D::kOutletWidth);  // the text selected for the next value
  EXPECT_EQ(test.Lines("Erbo.ini"), kDefaultSettings);
  EXPECT_EQ(test.Bytes("DrawName.ini"), name);

  // Numbers are compared, not texts: "400.0" is not wider than "400".
  ASSERT_TRUE(dialog->UserSetText(D::kOutletWidth, "400.0"));
  ASSERT_TRUE(dialog->UserSetText(D::kAngle, "60"));
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(dialog->LastBuild().construction, ElbowConstruction::kReducing);
  EXPECT_EQ(test.Lines("Erbo.ini")[2], "400.0");
  EXPECT_NE(test.Bytes("DrawName.ini"), name);

  // Other events do not validate: a wider outlet from the list is drawn.
  ASSERT_TRUE(dialog->UserSelect(D::kOutletSizes, IndexOf(D::kOutletSizes, "500")));
  EXPECT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.Lines("Erbo.ini")[2], "500");
}

TEST_F(ErboDialogTest, OkStartsTheBuilderAndKeepsTheDialogOpen) {
  Open();
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_FALSE(dialog->Ended());
  const std::string placed = PlacedStatus(test.launcher.lastName, test.Root() / "blocks");
  EXPECT_EQ(Text(D::kStatusLine), placed);
  Repaint();  // a repaint does not take the note back
  EXPECT_EQ(Text(D::kStatusLine), placed);
  ASSERT_TRUE(dialog->UserClick(D::kInnerSharp));
  EXPECT_EQ(Text(D::kStatusLine), "設定後OKをクリック");
  EXPECT_EQ(test.Lines("Erbo.ini")[14], "1");
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));
  EXPECT_EQ(test.launcher.starts, 2);
  ASSERT_TRUE(dialog->UserClick(ui::kIdCancel));
  EXPECT_TRUE(dialog->Ended());
  EXPECT_EQ(test.launcher.starts, 2);
}

TEST_F(ErboDialogTest, AnElbowThatCannotBeDrawnIsNotHandedOn) {
  Open();
  // A large width difference on a short inlet: nothing can be drawn.
  ASSERT_TRUE(dialog->UserSetText(D::kInletWidth, "1000"));
  ASSERT_TRUE(dialog->UserSetText(D::kOutletWidth, "200"));
  ASSERT_TRUE(dialog->UserSetText(D::kAngle, "30"));
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(dialog->Records().Count(), 0u);
  EXPECT_EQ(test.Bytes("DrawData.txt"), "");
  EXPECT_EQ(test.Lines("Erbo.ini")[0], "1000");
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));
  EXPECT_EQ(test.launcher.starts, 0);
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.host.messages[0].caption, "入力確認");
  EXPECT_NE(Text(D::kStatusLine), kStatusPlaced);
  // A longer inlet draws lines again, but at 30 degrees one fillet comes out
  // with a negative radius, which the builder would drop: no half block.
  ASSERT_TRUE(dialog->UserSetText(D::kInletLength, "2000"));
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));
  EXPECT_GT(test.Lines("DrawData.txt").size(), 8u);
  EXPECT_EQ(test.launcher.starts, 0);
  ASSERT_EQ(test.host.messages.size(), 2u);
  EXPECT_EQ(test.host.messages[1].caption, "入力確認");
  ASSERT_TRUE(dialog->UserSetText(D::kAngle, "60"));
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));
  EXPECT_EQ(test.launcher.starts, 1);
}

TEST_F(ErboDialogTest, QuarterTurnIsForgottenAndShrinksThePreview) {
  // The worked example without common values: the larger extent is 700.
  test.Write("KyotuSet.ini", {"0", "0", "0", "30"});
  Open();
  // Whether the preview draws a line ending at the drawing point (x, y) with
  // `pixels` for the larger extent.
  auto drawnTo = [&](double x, double y, double pixels, double extent) {
    RecordingCanvas canvas;
    dialog->Paint(canvas);
    const PixelRect& rect = dialog->FindControl(D::kPreview)->Rect();
    const double s = pixels / extent;
    int px = rect.left + static_cast<int>(rect.Width() / 2 + x * s);
    int py = rect.top + static_cast<int>(rect.Height() / 2 - y * s);
    std::string line = "line " + std::to_string(px) + " " + std::to_string(py);
    return std::find(canvas.calls.begin(), canvas.calls.end(), line) != canvas.calls.end();
  };
  // The inlet flange ends at (200, -500); 65 pixels for the larger extent.
  EXPECT_TRUE(drawnTo(200, -500, 65, 700));
  EXPECT_FALSE(drawnTo(200, -500, 50, 700));
  ASSERT_TRUE(dialog->UserClick(D::kTurn));
  // Turned, that end lies at (500, 200), with 50 pixels for the larger extent.
  EXPECT_TRUE(drawnTo(500, 200, 50, 700));
  ASSERT_TRUE(dialog->UserSelect(D::kAngles, 3));  // 60 degrees: 45 pixels
  auto extents = Split(dialog->Records().Record(0), ',');
  double extent = std::max(ToDouble(extents[1]) + ToDouble(extents[3]),
                           ToDouble(extents[2]) + ToDouble(extents[4]));
  auto flange = Split(dialog->Records().Record(2), ',');
  EXPECT_TRUE(drawnTo(ToDouble(flange[5]), ToDouble(flange[6]), 45, extent));
  EXPECT_EQ(test.Lines("Erbo.ini").size(), 15u);
  Open();
  EXPECT_FALSE(Checked(D::kTurn));
}

TEST_F(ErboDialogTest, MissingOrShortFilesLeaveTheControlsAsTheyAre) {
  // A short settings file sets what it has; the rest keep their own values.
  test.Write("Erbo.ini", {"600", "300", "500", "300", "250", "", "", "60", "3"});
  test.Remove("KiokuDeg.ini");
  Open();
  EXPECT_TRUE(test.host.messages.empty());
  EXPECT_EQ(Text(D::kInletWidth), "600");
  EXPECT_EQ(Text(D::kAngle), "60");
  EXPECT_TRUE(Checked(D::kBaseInner));
  EXPECT_EQ(Text(D::kInletLength), "100");
  EXPECT_FALSE(Checked(D::kHalfRadius) || Checked(D::kFullRadius));
  EXPECT_EQ(dialog->FindControl(D::kStoredAngles)->Count(), 0);
  EXPECT_EQ(dialog->FindControl(D::kAngles)->Count(), 6);
  EXPECT_EQ(dialog->LastBuild().construction, ElbowConstruction::kReducing);
  auto saved = test.Lines("Erbo.ini");
  ASSERT_EQ(saved.size(), 15u);
  EXPECT_EQ(saved[8], "3");
  EXPECT_EQ(saved[9], "");
  EXPECT_EQ(saved[12], "100");

  // Without any settings file the dialog starts from a plain 90-degree elbow.
  test.Remove("Erbo.ini");
  Open();
  EXPECT_TRUE(test.host.messages.empty());
  EXPECT_EQ(dialog->LastBuild().construction, ElbowConstruction::kRightAngle);
  EXPECT_TRUE(dialog->LastBuild().built);
  EXPECT_EQ(test.Lines("Erbo.ini")[0], "400");
}

TEST_F(ErboDialogTest, AnUnreadableStartNeverOverwritesTheSettings) {
  test.Remove("KyotuSet.ini");
  auto custom = kDefaultSettings;
  custom[0] = custom[2] = "800";
  test.Write("Erbo.ini", custom);
  const std::string name = test.Bytes("DrawName.ini");
  Open();
  ASSERT_EQ(test.host.messages.size(), 1u);  // the missing file is reported
  ASSERT_TRUE(dialog->UserClick(D::kMirror));
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));
  EXPECT_EQ(test.Lines("Erbo.ini"), custom);
  EXPECT_EQ(test.Bytes("DrawName.ini"), name);
  EXPECT_EQ(test.launcher.starts, 0);
  EXPECT_EQ(test.host.messages.size(), 2u);
}

TEST(ErboFromMainDialog, TheElbowButtonOpensItWithCodeFour) {
  TestApp test;
  test.host.initialiseChildren = true;
  MainDialog main(test.App());
  main.Initialize();
  std::remove((test.Root() / "info" / "DrawName.ini").c_str());
  ASSERT_TRUE(main.UserClick(1005));
  EXPECT_EQ(test.Lines("Command.ini"), (std::vector<std::string>{"4"}));
  ASSERT_EQ(test.host.modalCaptions.size(), 1u);
  EXPECT_EQ(test.host.modalCaptions[0], "エルボ：一般両エルボ");
  EXPECT_EQ(test.Lines("DrawName.ini")[0].substr(0, 3), "ER_");
}

}  // namespace
}  // namespace tavelin

namespace tavelin {
namespace {

// The design-rule line under the status line follows every update: silent at
// half the width, the guide-vane warning one millimetre below it or with a
// sharp inner corner, and the aspect ratio of a width typed with its height.
TEST_F(ErboDialogTest, DesignWarningsFollowTheRadiusAndTheSection) {
  Open();
  auto warningAfter = [&](int id, const std::string& text) {
    dialog->UserSetText(id, text);
    dialog->UserClick(D::kUpdate);
    return Text(kDesignWarningLine);
  };
  EXPECT_EQ(warningAfter(D::kRadius, "200"), "");
  EXPECT_NE(warningAfter(D::kRadius, "199").find("案内羽根"), std::string::npos);
  EXPECT_EQ(warningAfter(D::kRadius, "200"), "");
  dialog->UserClick(D::kInnerSharp);
  EXPECT_NE(Text(kDesignWarningLine).find("内R 0 "), std::string::npos);
  dialog->UserClick(D::kInnerSharp);
  dialog->UserSetText(D::kOutletWidth, "400x100");
  EXPECT_EQ(warningAfter(D::kInletWidth, "400x100"), "");
  const std::string past = warningAfter(D::kInletWidth, "401x100");
  EXPECT_NE(past.find("元管の縦横比"), std::string::npos) << past;
  // Warnings never block: OK still hands the block on.
  dialog->UserOk();
  EXPECT_EQ(test.launcher.starts, 1);
}

}  // namespace
}  // namespace tavelin
