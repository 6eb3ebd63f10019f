// What OK promises, for every computed generator: the block handed on is the
// drawing of the controls as they stand, the builder is started only on a
// hand-off it will draw whole, from a snapshot later edits cannot touch, and
// the status line tells its real outcome.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "duct/anemob_dialog.hpp"
#include "duct/danpa_dialog.hpp"
#include "duct/erbo_dialog.hpp"
#include "framework/acceptance.hpp"
#include "framework/build_job.hpp"
#include "framework/canvas.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;

template <typename T>
std::unique_ptr<T> Open(TestApp& test) {
  auto dialog = std::make_unique<T>(test.App());
  dialog->Initialize();
  NullCanvas canvas;
  dialog->Paint(canvas);
  return dialog;
}

std::string Text(ui::Dialog& dialog, int id) { return dialog.FindControl(id)->Text(); }

std::vector<std::string> JobRecords(const TestApp& test) {
  return InfoFolder(test.launcher.lastJob).ReadToEnd("DrawData.txt", 2000);
}

TEST(SoundOk, OkAndEnterHandOnTheElbowTheControlsShowNotTheLastOneWritten) {
  TestApp test;
  auto dialog = Open<ErboDialog>(test);
  const std::vector<std::string> before = test.Lines("DrawData.txt");
  // Typed, never confirmed with "表示更新".
  dialog->UserSetText(ErboDialog::kInletWidth, "600");
  dialog->UserSetText(ErboDialog::kOutletWidth, "400");
  dialog->UserSetText(ErboDialog::kRadius, "300");
  dialog->UserSetText(ErboDialog::kAngle, "45");
  dialog->UserOk();  // Enter
  ASSERT_EQ(test.launcher.starts, 1);
  EXPECT_NE(JobRecords(test), before);
  EXPECT_EQ(JobRecords(test), dialog->Records().Records());
  EXPECT_EQ(test.Lines("Erbo.ini")[7], "45");
  EXPECT_EQ(InfoFolder(test.launcher.lastJob).ReadLine("DrawName.ini"), test.launcher.lastName);
  EXPECT_EQ(InfoFolder(test.launcher.lastJob).ReadLines("Erbo.ini", 15), test.Lines("Erbo.ini"));

  // The validation of "表示更新" holds for OK too.
  dialog->UserSetText(ErboDialog::kOutletWidth, "800");
  dialog->UserClick(ui::kIdOk);
  EXPECT_EQ(test.launcher.starts, 1);
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.host.messages[0].text, "先管巾は元管巾以下にしてください。");
  EXPECT_EQ(test.Lines("Erbo.ini")[2], "400");
}

// Values the builder would refuse or draw only in part: OK says what to
// change, with the caption "入力確認", and starts nothing.
TEST(SoundOk, ValuesTheBuilderCannotDrawWholeAreRefusedAtOk) {
  struct Case {
    const char* what;
    int id;
    const char* text;
    bool elbow;
  } cases[] = {
      {"angle 180: coordinates near 1e13", ErboDialog::kAngle, "180", true},
      {"width 2e9: some records past the limit", ErboDialog::kInletWidth, "2e9", true},
      {"width 1e400: infinite", ErboDialog::kInletWidth, "1e400", true},
      {"paddle length 1e300: a name of 318 bytes", AnemoBDialog::kPaddleLength, "1e300", false},
  };
  for (const Case& c : cases) {
    TestApp test;
    std::unique_ptr<ui::Dialog> dialog;
    if (c.elbow) {
      dialog = Open<ErboDialog>(test);
      if (c.id == ErboDialog::kInletWidth) dialog->UserSetText(ErboDialog::kOutletWidth, c.text);
    } else {
      dialog = Open<AnemoBDialog>(test);
      dialog->UserClick(AnemoBDialog::kPaddle);
    }
    dialog->UserSetText(c.id, c.text);
    dialog->UserOk();
    EXPECT_EQ(test.launcher.starts, 0) << c.what;
    ASSERT_FALSE(test.host.messages.empty()) << c.what;
    EXPECT_EQ(test.host.messages.back().caption, "入力確認") << c.what;
    EXPECT_EQ(Text(*dialog, c.elbow ? ErboDialog::kStatusLine : AnemoBDialog::kStatus).find(
                  kStatusPlaced),
              std::string::npos)
        << c.what;
  }
}

TEST(SoundOk, AFailedWriteStartsNothing) {
  TestApp test;
  auto elbow = Open<ErboDialog>(test);
  auto damper = Open<DanpaDialog>(test);
  const std::string type = test.Bytes("Danpa.ini");
  // A folder where the records go: every write of the hand-off fails.
  test.Remove("DrawData.txt");
  std::filesystem::create_directory(test.Info().InfoDir() / "DrawData.txt");
  elbow->UserOk();
  damper->UserClick(DanpaDialog::kTypeVd + 2);  // CD: the type change is not kept either
  damper->UserOk();
  EXPECT_EQ(test.launcher.starts, 0);
  // The type change's write fails on the writer's thread; the damper's OK
  // tells of it and stops there, so the user hears of each failure once.
  EXPECT_EQ(elbow->Failures() + damper->Failures(), 2);
  EXPECT_EQ(test.Bytes("Danpa.ini"), type);
  EXPECT_EQ(Text(*elbow, ErboDialog::kStatusLine), kStatusEditing);
}

TEST(SoundOk, TheStatusLineTellsTheBuildersOutcome) {
  TestApp test;
  auto dialog = Open<DanpaDialog>(test);
  test.launcher.refusal = "blocks を作れません: No space left on device";
  dialog->UserClick(DanpaDialog::kOkButton);
  EXPECT_EQ(test.launcher.starts, 1);
  EXPECT_EQ(Text(*dialog, DanpaDialog::kStatus), kStatusNotBuilt);
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_NE(test.host.messages[0].text.find("No space left on device"), std::string::npos);
  ASSERT_TRUE(dialog->LastBuildOutcome().has_value());
  EXPECT_FALSE(dialog->LastBuildOutcome()->written);

  test.launcher.refusal.clear();
  dialog->UserOk();
  EXPECT_EQ(Text(*dialog, DanpaDialog::kStatus),
            PlacedStatus(test.launcher.lastName, test.Root() / "blocks"));
}

TEST(Acceptance, TheBuildersReadersDecide) {
  const std::string line = "1,1,7,0.000000,0.000000,100.000000,0.000000,CONTINUOUS,DUCT,";
  const std::string extents = "50,1.000000,1.000000,1.000000,1.000000,";
  EXPECT_EQ(RefusedHandOff({extents, line}, "ER_1"), "");
  // Not a number, past the limit, an arc without a radius: the builder would
  // leave the record out, so the block would lack it.
  for (const std::string& bad :
       {std::string("1,1,7,inf,0.000000,100.000000,0.000000,CONTINUOUS,DUCT,"),
        std::string("1,1,7,-nan,0.000000,100.000000,0.000000,CONTINUOUS,DUCT,"),
        std::string("1,1,7,12000000000000.0,0,1,0,CONTINUOUS,DUCT,"),
        std::string("2,1,4,0,0,-1785.640640,150.000000,180.000000,CONTINUOUS,DUCT,")}) {
    EXPECT_NE(RefusedHandOff({extents, line, bad}, "ER_1"), "") << bad;
  }
  EXPECT_NE(RefusedHandOff({extents}, "ER_1"), "");  // nothing to draw
  EXPECT_NE(RefusedHandOff({extents, line}, "ER_" + std::string(300, '9')), "");
  EXPECT_NE(RefusedHandOff({extents, line}, "a/b"), "");
  // The straight duct is judged by its settings.
  const std::vector<std::string> choku = {"1820", "450", "2", "1", "1", "3", "0", "3640"};
  EXPECT_EQ(RefusedHandOff({"CK"}, "ChokuKan", choku), "");
  std::vector<std::string> zero = choku;
  zero[7] = "0";
  EXPECT_NE(RefusedHandOff({"CK"}, "ChokuKan", zero), "");
}

}  // namespace
}  // namespace tavelin
