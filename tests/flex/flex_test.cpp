// The flexible duct: the length and leg checks of the worked bends, the
// short-leg bend, the duct's length along its centre line for the L and the
// S, the bellows counts; then the dialog: the radius message that a repaint
// never raises again, the messages after which the settings and an empty
// drawing are still written, lists that wait for the update, and OK.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "duct/flex_dialog.hpp"
#include "duct/flex_geometry.hpp"
#include "framework/canvas.hpp"
#include "tests/support/drawn_records.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

using testing::Drawn;
using testing::ReadDrawn;

FlexInput Bend(double d, double length, double rf, double angle, double a,
               FlexKind kind = FlexKind::kMetal) {
  FlexInput in;
  in.kind = kind;
  in.shape = FlexShape::kL;
  in.diameter = d;
  in.length = length;
  in.radiusFactor = rf;
  in.angle = angle;
  in.firstLeg = a;
  in.metalPitch = 50;
  in.insulatedPitch = 75;
  return in;
}

FlexInput Offset(double d, double length, double sv, FlexKind kind) {
  FlexInput in = Bend(d, length, 1.5, 90, 500, kind);
  in.shape = FlexShape::kS;
  in.offset = sv;
  return in;
}

// The far collar's end face: the last of the collar's four lines.
Drawn FarFace(const RecordList& list) {
  std::vector<Drawn> body = testing::OfElement(ReadDrawn(list), kDuctBody);
  std::vector<Drawn> lines;
  for (const Drawn& d : body) {
    if (d.kind == 1) lines.push_back(d);
  }
  return lines[lines.size() - 2];
}

TEST(FlexGeometry, ChecksOfTheWorkedBends) {
  EXPECT_NEAR(FlexTangent(300, 120), 173.205, 1e-3);
  EXPECT_NEAR(FlexBendLength(300, 120), 314.1592, 1e-9);
  EXPECT_NEAR(FlexTangent(300, 90), 300, 1e-6);
  struct Case {
    FlexInput in;
    FlexOutcome outcome;
  } cases[] = {
      {Bend(200, 600, 1.5, 120, 500), FlexOutcome::kLengthWrong},  // about -41 left
      {Bend(200, 1000, 1.5, 120, 500), FlexOutcome::kDrawn},       // about 359 left
      {Bend(200, 1000, 1.5, 120, 200), FlexOutcome::kFirstLegWrong},
      {Bend(200, 1000, 1.5, 120, 500, FlexKind::kInsulated), FlexOutcome::kDrawn},
      {Bend(200, 1000, 1.0, 90, 400), FlexOutcome::kDrawn},
      {Bend(200, 1000, 0.9, 90, 400), FlexOutcome::kRadiusTooSmall},
      {Bend(200, 1000, 1.5, 0, 400), FlexOutcome::kNothing},
      {Bend(200, 1000, 1.5, 180, 400), FlexOutcome::kNothing},
      {Bend(200, 0, 1.5, 90, 400), FlexOutcome::kNothing},
      {Bend(0, 1000, 0.5, 90, 400), FlexOutcome::kNothing},  // D = 0 stops before Rf
      {Bend(200, 1e300, 1.5, 90, 400), FlexOutcome::kBeyondDrawing},
      // The short-leg bend shows only the length message.
      {Bend(200, 600, 1.5, 90, 350), FlexOutcome::kLengthWrong},
      {Bend(200, 1000, 1.5, 90, 120), FlexOutcome::kDrawn},
  };
  for (const Case& c : cases) {
    RecordList list(500);
    EXPECT_EQ(BuildFlex(list, c.in), c.outcome)
        << c.in.length << " " << c.in.angle << " " << c.in.firstLeg;
    if (c.outcome != FlexOutcome::kDrawn) EXPECT_EQ(list.Count(), 0u);
  }
  EXPECT_EQ(FlexVariant(Bend(200, 1000, 1.5, 90, 350)), 2);
  EXPECT_EQ(FlexVariant(Bend(200, 1000, 1.5, 90, 400)), 1);
  EXPECT_EQ(FlexVariant(Bend(200, 1000, 1.5, 89, 350)), 1);
}

TEST(FlexGeometry, TheLBendIsLAlongItsCentreLine) {
  // D 200, Rc 300, right angle, A 500: the first leg's straight part is
  // 200, the bend 471.24, so the far face lies 1500 - 200 - 471.24 = 828.76
  // below the bend's end at (500, -300).
  RecordList list(500);
  ASSERT_EQ(BuildFlex(list, Bend(200, 1500, 1.5, 90, 500)), FlexOutcome::kDrawn);
  std::vector<Drawn> r = ReadDrawn(list);
  EXPECT_TRUE(testing::SameLine(r[0], 0, -100, 0, 100));
  EXPECT_TRUE(testing::SameLine(r[2], 50, 100, 50, -100));
  const double far = 300 + 1500 - 200 - 600 * 0.25 * 3.141592;
  Drawn face = FarFace(list);
  EXPECT_NEAR((face.v[0] + face.v[2]) / 2, 500, 1e-6);
  EXPECT_NEAR(face.v[1], -far, 1e-3);
  EXPECT_NEAR(std::fabs(face.v[2] - face.v[0]), 200, 1e-6);
  std::vector<Drawn> arcs;
  for (const Drawn& d : r) {
    if (d.kind == 2) arcs.push_back(d);
  }
  ASSERT_EQ(arcs.size(), 2u);
  EXPECT_EQ(arcs[0].v, (std::vector<double>{200, -300, 400, 0, 90}));
  EXPECT_EQ(arcs[1].v, (std::vector<double>{200, -300, 200, 0, 90}));
  // The base on the duct's side lifts everything by D / 2.
  FlexInput side = Bend(200, 1500, 1.5, 90, 500);
  side.sideBase = true;
  BuildFlex(list, side);
  EXPECT_TRUE(testing::SameLine(ReadDrawn(list)[0], 0, 0, 0, 200));
}

TEST(FlexGeometry, BellowsAtThePitch) {
  // Metal, A 500, ANG 120, Rc 300, pitch 50: c1 = trunc((500 - 173.2 - 50) / 50)
  // = 5 on the first leg; the bend of 60 degrees has c2 = trunc(300 * 6.283 / 6
  // / 50) = 6 divisions, so 5 inner lines; the second leg of L 1000 keeps
  // 358.6 - 50 = 308.6 of body, 6 lines.
  FlexInput in = Bend(200, 1000, 1.5, 120, 500);
  in.bellows = true;
  RecordList list(500);
  ASSERT_EQ(BuildFlex(list, in), FlexOutcome::kDrawn);
  std::vector<Drawn> bellows = testing::OfElement(ReadDrawn(list), kHatchingLine);
  ASSERT_EQ(bellows.size(), 5u + 5u + 6u);
  for (int i = 0; i < 5; ++i)
    EXPECT_TRUE(testing::SameLine(bellows[i], 100 + 50 * i, 100, 100 + 50 * i, -100));
  // Across the bend, from its inner to its outer side.
  const Drawn& mid = bellows[5 + 2];
  EXPECT_NEAR(std::hypot(mid.v[2] - mid.v[0], mid.v[3] - mid.v[1]), 200, 1e-6);
  // A pitch of 0 draws no bellows lines; the insulated kind has its own pitch.
  in.metalPitch = 0;
  BuildFlex(list, in);
  EXPECT_EQ(testing::OfElement(ReadDrawn(list), kHatchingLine).size(), 0u);
  in.kind = FlexKind::kInsulated;
  in.insulatedPitch = 0.001;
  EXPECT_EQ(BuildFlex(list, in), FlexOutcome::kBeyondDrawing);
  EXPECT_EQ(list.Count(), 0u);
}

TEST(FlexGeometry, TheSOffsetsItsFarEndBySv) {
  struct Case {
    FlexKind kind;
    double length, sv;
    FlexOutcome outcome;
  } cases[] = {
      {FlexKind::kMetal, 1500, 300, FlexOutcome::kDrawn},
      {FlexKind::kInsulated, 1500, 300, FlexOutcome::kDrawn},
      {FlexKind::kMetal, 1500, 900, FlexOutcome::kDrawn},  // a straight across between the bends
      {FlexKind::kMetal, 1500, -300, FlexOutcome::kDrawn},
      {FlexKind::kMetal, 1000, 0, FlexOutcome::kDrawn},
      // Too short for bends of Rc: the insulated duct says so, the metal
      // duct bends tighter, or is not drawn when even that cannot fit.
      {FlexKind::kInsulated, 800, 500, FlexOutcome::kLengthWrong},
      {FlexKind::kMetal, 800, 500, FlexOutcome::kDrawn},
      {FlexKind::kMetal, 500, 500, FlexOutcome::kNoRoom},
  };
  for (const Case& c : cases) {
    RecordList list(500);
    ASSERT_EQ(BuildFlex(list, Offset(200, c.length, c.sv, c.kind)), c.outcome)
        << c.length << " " << c.sv;
    if (c.outcome != FlexOutcome::kDrawn) continue;
    Drawn face = FarFace(list);
    EXPECT_NEAR((face.v[1] + face.v[3]) / 2, -c.sv, 1e-6) << c.sv;
    EXPECT_NEAR(face.v[0], face.v[2], 1e-6);
    // The centre line runs L: the far face lies where the collars, the two
    // straight ends, the bends (from their arcs) and any straight across
    // them bring it.
    std::vector<Drawn> arcs;
    for (const Drawn& d : ReadDrawn(list)) {
      if (d.kind == 2) arcs.push_back(d);
    }
    double developed = face.v[0];
    if (c.sv != 0) {
      ASSERT_EQ(arcs.size(), 4u);
      const double r = (arcs[0].v[2] + arcs[1].v[2]) / 2;
      const double turn = (arcs[0].v[4] - arcs[0].v[3]) * kDegreesToRadians;
      const double across = std::fabs(c.sv) - 2 * r * (1 - std::cos(turn));
      EXPECT_GE(across, -1e-6);
      const double ends = face.v[0] - 2 * r * std::sin(turn);
      developed = ends + 2 * r * turn + across;
      EXPECT_GE(r - 100, 0) << "the inner side keeps a radius";
    }
    EXPECT_NEAR(developed, c.length, 1e-3) << c.sv;
  }
}

TEST(FlexGeometry, TheLimitsTheMessagesNameAreWhereTheRefusalsStart) {
  // A value just under the limit is refused, one just over it is drawn (or
  // refused for the other value only).
  const FlexInput lengths[] = {
      Bend(200, 0, 1.5, 120, 500),                        // ordinary bend
      Bend(200, 0, 1.5, 90, 350),                         // short-leg bend
      Bend(200, 0, 2.0, 60, 1000, FlexKind::kInsulated),  // over the insulation
      Offset(200, 0, 300, FlexKind::kInsulated),          // S with a straight between
      Offset(200, 0, -120, FlexKind::kInsulated),         // S of two touching bends
  };
  for (FlexInput in : lengths) {
    const double shortest = FlexShortestLength(in);
    RecordList list(2000);
    in.length = shortest - 0.5;
    EXPECT_EQ(BuildFlex(list, in), FlexOutcome::kLengthWrong) << shortest;
    in.length = shortest + 0.5;
    EXPECT_EQ(BuildFlex(list, in), FlexOutcome::kDrawn) << shortest;
  }
  EXPECT_NEAR(FlexShortestLength(Bend(200, 0, 1.5, 120, 500)), 740.954, 1e-3);
  for (double angle : {45.0, 120.0, 150.0}) {
    FlexInput in = Bend(200, 5000, 1.5, angle, 0);
    const double shortest = FlexShortestFirstLeg(in);
    RecordList list(2000);
    in.firstLeg = shortest - 0.5;
    EXPECT_EQ(BuildFlex(list, in), FlexOutcome::kFirstLegWrong) << angle;
    in.firstLeg = shortest + 0.5;
    EXPECT_EQ(BuildFlex(list, in), FlexOutcome::kDrawn) << angle;
  }
}

using D = FlexDialog;

// Metal L bend of D 200, L 1500, Rf 1.5, right angle, A 500, bellows at 50.
const std::vector<std::string> kSettings = {"200", "1500", "1.5", "50", "300", "90",
                                            "1",   "1",    "1",   "1",  "500", "75"};

class FlexDialogTest : public ::testing::Test {
 protected:
  void Open(std::vector<std::string> settings = kSettings) {
    test.Write("Flex.ini", settings);
    dialog = std::make_unique<D>(test.App());
    dialog->Initialize();
    ASSERT_EQ(dialog->Failures(), 0);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }
  void Repaint() {
    RecordingCanvas canvas;
    dialog->Paint(canvas);
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const auto& m : test.host.messages) texts.push_back(m.caption + ": " + m.text);
    return texts;
  }

  testing::TestApp test;
  std::unique_ptr<D> dialog;
};

TEST_F(FlexDialogTest, TheRadiusMessageComesOncePerConfirmedChangeNeverFromARepaint) {
  Open();
  const std::string settings = test.Bytes("Flex.ini");
  const std::string data = test.Bytes("DrawData.txt");
  ASSERT_TRUE(dialog->UserSetText(D::kRadiusFactor, "0.9"));
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  for (int i = 0; i < 5; ++i) Repaint();
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"確認: 中心曲率半径は1.0以下は入力できません。"}));
  EXPECT_EQ(test.Bytes("Flex.ini"), settings) << "a stopped update writes nothing";
  EXPECT_EQ(test.Bytes("DrawData.txt"), data);
  EXPECT_EQ(dialog->Records().Count(), 0u) << "the preview shows nothing";
  // OK says it too, and starts nothing.
  ASSERT_TRUE(dialog->UserClick(D::kOkButton));
  EXPECT_EQ(test.host.messages.size(), 2u);
  EXPECT_EQ(test.launcher.starts, 0);
  // 1.0 is accepted.
  ASSERT_TRUE(dialog->UserSetText(D::kRadiusFactor, "1.0"));
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(test.host.messages.size(), 2u);
  EXPECT_EQ(test.Lines("Flex.ini")[2], "1.0");
}

TEST_F(FlexDialogTest, LengthAndLegMessagesStillWriteTheSettingsAndAnEmptyDrawing) {
  // ANG 120: T = 173.2, B = 314.16; with A 500 the length needs
  // 500 - 173.2 + 314.16 + 100 = 740.95, and A needs T + 50 = 223.2.
  const std::string length = "確認: Ｌが適正ではありません。\nＬは741以上にしてください。";
  const std::string leg = "確認: Ａが適正ではありません。\nＡは224以上にしてください。";
  std::vector<std::string> settings = kSettings;
  settings[5] = "120";
  settings[1] = "600";
  Open(settings);
  Repaint();
  EXPECT_EQ(Messages(), (std::vector<std::string>{length})) << "the opening says it once";
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  Repaint();
  EXPECT_EQ(test.host.messages.size(), 2u);
  EXPECT_TRUE(test.Lines("DrawData.txt").empty());
  EXPECT_EQ(test.Lines("Flex.ini")[1], "600");
  // The field at fault takes the focus, its text selected for the next value.
  EXPECT_EQ(dialog->TakeFocusRequest(), D::kLength);
  EXPECT_EQ(dialog->FocusedId(), D::kLength);
  ASSERT_TRUE(dialog->UserSetText(D::kLength, "1000"));
  ASSERT_TRUE(dialog->UserSetText(D::kFirstLeg, "200"));
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(Messages().back(), leg);
  EXPECT_EQ(dialog->TakeFocusRequest(), D::kFirstLeg);
  // OK says it under the same caption as "表示更新", and so does its focus.
  ASSERT_TRUE(dialog->UserFocus(D::kDiameter));
  ASSERT_TRUE(dialog->UserClick(D::kOkButton));
  EXPECT_EQ(Messages().back(), leg);
  EXPECT_EQ(dialog->TakeFocusRequest(), D::kFirstLeg);
  ASSERT_TRUE(dialog->UserSetText(D::kFirstLeg, "224"));
  ASSERT_TRUE(dialog->UserSetText(D::kLength, "400"));
  ASSERT_TRUE(dialog->UserClick(D::kOkButton));
  EXPECT_EQ(Messages().back(), "確認: Ｌが適正ではありません。\nＬは465以上にしてください。");
  EXPECT_EQ(test.launcher.starts, 0);
  // The limits said are the limits: the values they name are drawn.
  ASSERT_TRUE(dialog->UserSetText(D::kLength, "465"));
  ASSERT_TRUE(dialog->UserClick(D::kOkButton));
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_EQ(test.host.messages.size(), 5u);
}

TEST_F(FlexDialogTest, ListsWaitForTheUpdateAndTheShapeSetsItsFields) {
  Open();
  EXPECT_EQ(Text(D::kDiameterShown), "200");
  // 201 + 1501 * 1.1 + 2.5 * 1.2 + 51 * 1.3 + 301 * 1.4 + 91 * 1.5 + 2 * 1.6
  // + 2 * 1.7 + 2 * 1.8 + 2 * 1.9 + 501 * 2.0 + 76 * 2.1 = 3654.9; no common value.
  EXPECT_EQ(test.Lines("DrawName.ini"), (std::vector<std::string>{"FKD_3654D90000041"}));
  const std::string data = test.Bytes("DrawData.txt");
  auto& diameters = *dialog->FindControl(D::kDiameter);
  ASSERT_TRUE(dialog->UserSelect(D::kDiameter, diameters.FindExact("300")));
  EXPECT_EQ(test.Bytes("DrawData.txt"), data);
  EXPECT_EQ(Text(D::kDiameterShown), "200");
  ASSERT_TRUE(dialog->UserClick(D::kSShape));
  EXPECT_EQ(Text(D::kDiameterShown), "300");
  EXPECT_NE(test.Bytes("DrawData.txt"), data);
  EXPECT_EQ(test.Lines("Flex.ini")[7], "2");
  EXPECT_FALSE(dialog->FindControl(D::kFirstLeg)->Enabled());
  EXPECT_FALSE(dialog->FindControl(D::kAngle)->Enabled());
  EXPECT_TRUE(dialog->FindControl(D::kOffset)->Enabled());
  ASSERT_TRUE(dialog->UserClick(D::kLShape));
  EXPECT_TRUE(dialog->FindControl(D::kFirstLeg)->Enabled());
  EXPECT_FALSE(dialog->FindControl(D::kOffset)->Enabled());
  // The side base point is stored as "0".
  ASSERT_TRUE(dialog->UserClick(D::kBaseSide));
  EXPECT_EQ(test.Lines("Flex.ini")[9], "0");
}

TEST_F(FlexDialogTest, AKindOutsideItsRadiosDrawsNothingAndOkSaysWhy) {
  std::vector<std::string> settings = kSettings;
  settings[6] = "3";
  Open(settings);
  EXPECT_FALSE(dialog->FindControl(D::kMetal)->Checked());
  EXPECT_FALSE(dialog->FindControl(D::kInsulated)->Checked());
  EXPECT_TRUE(test.Lines("DrawData.txt").empty());
  EXPECT_EQ(test.Lines("Flex.ini")[6], "");
  ASSERT_TRUE(dialog->UserClick(D::kOkButton));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"入力確認: 種類と形状を選択してください。"}));
  EXPECT_EQ(test.launcher.starts, 0);
}

}  // namespace
}  // namespace tavelin
