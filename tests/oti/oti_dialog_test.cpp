// The reducer dialog as the user drives it: the linked width and offset
// fields, the round end that recentres itself, the length from the
// coefficient or typed, and what reaches the info folder and OK.
#include "duct/oti_dialog.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "framework/canvas.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;
using D = OtiDialog;

class OtiDialogTest : public ::testing::Test {
 protected:
  void Open() {
    dialog = std::make_unique<OtiDialog>(test.App());
    dialog->Initialize();
    Repaint();
  }
  void Repaint() {
    NullCanvas canvas;
    dialog->Paint(canvas);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }

  TestApp test;
  std::unique_ptr<OtiDialog> dialog;
};

const std::vector<std::string> kDefaults = {"600", "300", "150", "150", "0", "100", "0",
                                            "500", "1",   "1",   "1",   "0", "0"};

TEST_F(OtiDialogTest, OpeningHandsOffTheDefaultReducer) {
  Open();
  EXPECT_TRUE(test.host.messages.empty());
  EXPECT_EQ(dialog->FindControl(D::kCoefficients)->Items(),
            (std::vector<std::string>{"2", "1", "0"}));
  EXPECT_EQ(test.Lines("Oti.ini"), kDefaults);
  auto data = test.Lines("DrawData.txt");
  ASSERT_EQ(data.size(), 11u);
  EXPECT_EQ(data[0], "50,300.000000,50.000000,300.000000,550.000000,");
  // Settings sum 2331.5 plus 2.3 K1 + 2.4 K2 + 2.5 K3 = 253, then the first
  // number of the run-time generator.
  EXPECT_EQ(test.Lines("DrawName.ini"), (std::vector<std::string>{"TK_2584D50000041"}));
}

TEST_F(OtiDialogTest, SmallWidthAndOffsetsFollowEachOther) {
  Open();
  ASSERT_TRUE(dialog->UserSetText(D::kSmallWidth, "355"));
  EXPECT_EQ(Text(D::kOffsetP), "177");
  EXPECT_EQ(Text(D::kOffsetQ), "177");
  ASSERT_TRUE(dialog->UserSetText(D::kOffsetP, "100"));
  EXPECT_EQ(dialog->FocusMode(), 1);
  EXPECT_EQ(Text(D::kOffsetQ), "255");
  ASSERT_TRUE(dialog->UserSetText(D::kOffsetQ, "55"));
  EXPECT_EQ(Text(D::kOffsetP), "300");
  // With Q entered last, a new small width leaves P = W2 - Q.
  ASSERT_TRUE(dialog->UserSetText(D::kSmallWidth, "355"));
  EXPECT_EQ(Text(D::kOffsetP), "178");
  EXPECT_EQ(Text(D::kOffsetQ), "177");
  // Typing is not an update: nothing is written until one.
  EXPECT_EQ(test.Lines("Oti.ini"), kDefaults);
}

TEST_F(OtiDialogTest, OnlyASquareSmallEndStaysOffCentre) {
  Open();
  ASSERT_TRUE(dialog->UserSetText(D::kOffsetP, "100"));  // Q becomes 200
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  auto saved = test.Lines("Oti.ini");
  EXPECT_EQ(saved[2], "100");
  EXPECT_EQ(saved[3], "200");
  ASSERT_TRUE(dialog->UserClick(D::kSquareToRound));
  saved = test.Lines("Oti.ini");
  EXPECT_EQ(saved[2], "150");
  EXPECT_EQ(saved[3], "150");
  EXPECT_EQ(saved[9], "2");
  EXPECT_EQ(test.Lines("DrawData.txt").size(), 14u);
}

TEST_F(OtiDialogTest, LengthFollowsTheCoefficientOrIsTyped) {
  Open();
  ASSERT_TRUE(dialog->UserSelect(D::kCoefficients, 0));  // "2": 50 x 12 + 200
  EXPECT_EQ(Text(D::kLength), "800");
  EXPECT_EQ(test.Lines("Oti.ini")[7], "800");
  ASSERT_TRUE(dialog->UserSelect(D::kCoefficients, 2));  // "0": the typed length stays
  ASSERT_TRUE(dialog->UserSetText(D::kLength, "777"));
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(Text(D::kLength), "777");
  EXPECT_EQ(test.Lines("DrawData.txt")[0], "50,300.000000,50.000000,300.000000,827.000000,");
}

TEST_F(OtiDialogTest, TheTaperIsWarnedAgainstTheStandardsLimitsWithoutBlocking) {
  Open();
  ASSERT_TRUE(dialog->UserSelect(D::kCoefficients, 2));  // the typed length stays
  // Each side steps 150 over the taper L - 2 x 100: 30 degrees at 259.8, 15 at 559.8.
  const struct {
    const char* length;
    bool warned;
    bool steep;
  } cases[] = {{"459", true, true}, {"460", true, false}, {"759", true, false}, {"760", false, false}};
  for (const auto& c : cases) {
    ASSERT_TRUE(dialog->UserSetText(D::kLength, c.length));
    ASSERT_TRUE(dialog->UserClick(D::kUpdate));
    const std::string warning = Text(1990);
    EXPECT_EQ(!warning.empty(), c.warned) << c.length << ": " << warning;
    EXPECT_EQ(warning.find("縮小角度") != std::string::npos, c.steep) << c.length << ": " << warning;
    // The fix is said in the length the user types.
    if (c.warned) {
      EXPECT_NE(warning.find(c.steep ? "長さを 460 以上" : "長さを 760 以上"), std::string::npos)
          << warning;
    }
  }
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));  // never blocking
  EXPECT_EQ(test.launcher.starts, 1);
}

TEST_F(OtiDialogTest, TheTaperAdviceWorksWhenTheCoefficientSetsTheLength) {
  Open();  // coefficient 1: L = 500, each side steps 150 over 300
  const std::string warning = Text(1990);
  EXPECT_NE(warning.find("大小ダクト係数を 2 にすれば長さが 800 になり不要です"), std::string::npos)
      << warning;
  EXPECT_NE(warning.find("大小ダクト係数を 0 にして長さを 760 以上"), std::string::npos) << warning;
  // A typed length alone is thrown away while the coefficient is not 0.
  ASSERT_TRUE(dialog->UserSetText(D::kLength, "760"));
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(Text(D::kLength), "500");
  EXPECT_FALSE(Text(1990).empty());
  // Either way the advice names clears the warning.
  ASSERT_TRUE(dialog->UserSetText(D::kCoefficient, "2"));
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(Text(D::kLength), "800");
  EXPECT_EQ(Text(1990), "");
  ASSERT_TRUE(dialog->UserSetText(D::kCoefficient, "0"));
  ASSERT_TRUE(dialog->UserSetText(D::kLength, "760"));
  ASSERT_TRUE(dialog->UserClick(D::kUpdate));
  EXPECT_EQ(Text(D::kLength), "760");
  EXPECT_EQ(Text(1990), "");
}

TEST_F(OtiDialogTest, OkHandsOnTheShownReducerAndRefusesAnEmptyOne) {
  Open();
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));
  EXPECT_EQ(test.launcher.starts, 1);
  const std::string placed = PlacedStatus(test.launcher.lastName, test.Root() / "blocks");
  EXPECT_EQ(Text(D::kStatusLine), placed);
  Repaint();  // recomputing the length on a repaint does not take the note back
  EXPECT_EQ(Text(D::kStatusLine), placed);

  auto lines = kDefaults;
  lines[9] = "";  // no shape
  test.Write("Oti.ini", lines);
  Open();
  EXPECT_EQ(test.Lines("DrawData.txt").size(), 0u);
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));
  EXPECT_EQ(test.launcher.starts, 1);
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.host.messages[0].caption, "入力確認");
}

TEST_F(OtiDialogTest, ARoundEndAfterQKeepsItsWholeDiameterAtEveryUpdate) {
  Open();
  ASSERT_TRUE(dialog->UserSetText(D::kSmallWidth, "355"));
  ASSERT_TRUE(dialog->UserSetText(D::kOffsetQ, "100"));  // Q entered last
  ASSERT_TRUE(dialog->UserClick(D::kSquareToRound));
  auto saved = test.Lines("Oti.ini");
  EXPECT_EQ(saved[2], "178");
  EXPECT_EQ(saved[3], "177");
  // A repaint and OK centre it again the same way: P + Q = 355 in the edits,
  // the file and the block.
  Repaint();
  EXPECT_EQ(Text(D::kOffsetP), "178");
  EXPECT_EQ(Text(D::kOffsetQ), "177");
  ASSERT_TRUE(dialog->UserClick(ui::kIdOk));
  ASSERT_EQ(test.launcher.starts, 1);
  const InfoFolder job(test.launcher.lastJob);
  saved = job.ReadLines("Oti.ini", 13);
  EXPECT_EQ(saved[2], "178");
  EXPECT_EQ(saved[3], "177");
  // The round end's flange line, (-P, L) to (Q, L), turned by 270 degrees.
  const auto records = job.ReadToEnd("DrawData.txt", 100);
  ASSERT_GT(records.size(), 2u);
  const auto flange = Split(records[2], ',');
  ASSERT_GE(flange.size(), 7u);
  EXPECT_NEAR(std::fabs(ToDouble(flange[6]) - ToDouble(flange[4])) +
                  std::fabs(ToDouble(flange[5]) - ToDouble(flange[3])),
              355.0, 1e-6)
      << records[2];
}

}  // namespace
}  // namespace tavelin
