// The flexible duct as the user drives it: the radius message that a repaint
// never raises again, the length and leg messages after which the settings
// and an empty drawing are still written, lists that wait for the update,
// the enabling of the L's and the S's fields, and what OK says.
#include "duct/flex_dialog.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "framework/canvas.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

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

TEST_F(FlexDialogTest, OpeningHandsOffTheBendUnderItsWeightedName) {
  Open();
  EXPECT_TRUE(test.host.messages.empty());
  EXPECT_EQ(Text(D::kDiameterShown), "200");
  EXPECT_EQ(dialog->FindControl(D::kDiameter)->Count(), 15);
  EXPECT_EQ(test.Lines("Flex.ini"), kSettings);
  EXPECT_EQ(test.Lines("DrawData.txt")[1],
            "1,1,4,0.000000,-100.000000,0.000000,100.000000,CONTINUOUS,DUCT,");
  // 201 + 1501 * 1.1 + 2.5 * 1.2 + 51 * 1.3 + 301 * 1.4 + 91 * 1.5 + 2 * 1.6
  // + 2 * 1.7 + 2 * 1.8 + 2 * 1.9 + 501 * 2.0 + 76 * 2.1 = 3654.9; no common value.
  EXPECT_EQ(test.Lines("DrawName.ini"), (std::vector<std::string>{"FKD_3654D90000041"}));
}

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
  std::vector<std::string> settings = kSettings;
  settings[5] = "120";  // ANG 120: T = 173.2, B = 314.16
  settings[1] = "600";
  Open(settings);
  EXPECT_TRUE(test.host.messages.empty()) << "opening says nothing";
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  Repaint();
  EXPECT_EQ(Messages(), (std::vector<std::string>{"確認: Ｌが適正ではありません。"}));
  EXPECT_TRUE(test.Lines("DrawData.txt").empty());
  EXPECT_EQ(test.Lines("Flex.ini")[1], "600");
  ASSERT_TRUE(dialog->UserSetText(D::kLength, "1000"));
  ASSERT_TRUE(dialog->UserSetText(D::kFirstLeg, "200"));
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(Messages().back(), "確認: Ａが適正ではありません。");
  ASSERT_TRUE(dialog->UserClick(D::kOkButton));
  EXPECT_EQ(Messages().back(), "入力確認: Ａが適正ではありません。");
  EXPECT_EQ(test.launcher.starts, 0);
  ASSERT_TRUE(dialog->UserSetText(D::kFirstLeg, "500"));
  ASSERT_TRUE(dialog->UserClick(D::kOkButton));
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_EQ(test.host.messages.size(), 3u);
}

TEST_F(FlexDialogTest, ListsWaitForTheUpdateAndTheShapeSetsItsFields) {
  Open();
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
