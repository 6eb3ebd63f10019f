#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/dialog_registry.hpp"
#include "app/main_dialog.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;

class MainDialogTest : public ::testing::Test {
 protected:
  void Open() {
    dialog = std::make_unique<MainDialog>(test.App());
    dialog->Initialize();
  }
  TestApp test;
  std::unique_ptr<MainDialog> dialog;
};

std::vector<std::string> SubSetWithDistinctLayers() {
  std::vector<std::string> lines;
  for (int s = 1; s <= 6; ++s) {
    for (int e = 1; e <= 7; ++e) {
      lines.push_back("S" + std::to_string(s) + "E" + std::to_string(e) + "-" +
                      std::to_string(e) + "-" + std::to_string(10 * s + e));
    }
  }
  return lines;
}

TEST_F(MainDialogTest, StartUpResolvesTheStoredSet) {
  test.Write("Sentaku.ini", {"3"});
  test.Write("DakutoSubSet.ini", SubSetWithDistinctLayers());
  Open();
  EXPECT_TRUE(test.host.messages.empty());
  auto active = test.Lines("DakutoSet.ini");
  ASSERT_EQ(active.size(), 7u);
  EXPECT_EQ(active[0], "S3E1-CONTINUOUS-31");
  EXPECT_EQ(active[1], "S3E2-HIDDEN-32");
  EXPECT_EQ(active[6], "S3E7-DASHDOT-37");
  EXPECT_TRUE(dialog->FindControl(1388)->Checked());
  EXPECT_EQ(dialog->FindControl(1386)->Text(), "空調標準");
  EXPECT_EQ(dialog->FindControl(MainDialog::kStatusLine)->Text(), "属性は【換気】が選択されています。");
}

TEST_F(MainDialogTest, SwitchFourRewritesTheActiveSetFromLines22To28) {
  test.Write("DakutoSubSet.ini", SubSetWithDistinctLayers());
  Open();
  ASSERT_TRUE(dialog->UserClick(1389));
  EXPECT_EQ(test.Bytes("Sentaku.ini"), "4\r\n");
  auto active = test.Lines("DakutoSet.ini");
  for (int e = 1; e <= 7; ++e) {
    EXPECT_EQ(active[e - 1].substr(0, 5), "S4E" + std::to_string(e) + "-");
    EXPECT_EQ(active[e - 1].substr(active[e - 1].rfind('-') + 1), std::to_string(40 + e));
  }
  EXPECT_FALSE(dialog->FindControl(1386)->Checked());
  EXPECT_EQ(dialog->FindControl(MainDialog::kStatusLine)->Text(), "属性は【排煙】が選択されています。");
}

// Every file is written through a new file and a rename: an unchanged inode
// means the file was left alone.
ino_t Inode(const testing::TestApp& test, const std::string& name) {
  struct stat info {};
  return ::stat(test.Info().Locate(name).c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST_F(MainDialogTest, AStartRewritesTheActiveSetOnlyWhenItChanged) {
  Open();
  const ino_t set = Inode(test, "DakutoSet.ini"), chosen = Inode(test, "Sentaku.ini");
  ASSERT_NE(set, 0u);
  Open();
  EXPECT_EQ(Inode(test, "DakutoSet.ini"), set);
  EXPECT_EQ(Inode(test, "Sentaku.ini"), chosen);
  // A changed attribute set is written at the next start.
  test.Write("DakutoSubSet.ini", SubSetWithDistinctLayers());
  Open();
  EXPECT_NE(Inode(test, "DakutoSet.ini"), set);
  EXPECT_EQ(Inode(test, "Sentaku.ini"), chosen);
  EXPECT_EQ(test.Lines("DakutoSet.ini")[0].substr(0, 5),
            "S" + test.Lines("Sentaku.ini")[0] + "E1-");
}

TEST_F(MainDialogTest, TokenRuleAndLineTypeNames) {
  auto lines = SubSetWithDistinctLayers();
  lines[0] = "DUCT-2-7";
  lines[1] = "LONE";            // no "-": the whole line is layer, type and colour
  lines[2] = "BAD-12-5";        // no line type 12
  lines[3] = "ZERO-0-5";
  lines[4] = "GARBAGE-abc-";    // garbage type converts to 0
  test.Write("DakutoSubSet.ini", lines);
  test.Write("Sentaku.ini", {"1"});
  Open();
  auto active = test.Lines("DakutoSet.ini");
  EXPECT_EQ(active[0], "DUCT-HIDDEN-7");
  EXPECT_EQ(active[1], "LONE--LONE");
  EXPECT_EQ(active[2], "BAD--5");
  EXPECT_EQ(active[3], "ZERO--5");
  EXPECT_EQ(active[4], "GARBAGE--");
}

TEST_F(MainDialogTest, ASetNumberOutsideOneToSixFallsBackToSetOne) {
  for (const char* stored : {"0", "7", "", "x", "-2"}) {
    test.Write("Sentaku.ini", {stored});
    test.Write("DakutoSubSet.ini", SubSetWithDistinctLayers());
    Open();
    EXPECT_TRUE(dialog->FindControl(1386)->Checked()) << stored;
    EXPECT_EQ(test.Bytes("Sentaku.ini"), "1\r\n") << stored;
    EXPECT_EQ(test.Lines("DakutoSet.ini")[0], "S1E1-CONTINUOUS-11") << stored;
  }
}

TEST_F(MainDialogTest, ByLayerToggleWritesOneAndZeroAndStartUpShowsIt) {
  test.Write("ByLayer.ini", {"1"});
  Open();
  EXPECT_TRUE(dialog->FindControl(MainDialog::kByLayer)->Checked());
  dialog->UserClick(MainDialog::kByLayer);
  EXPECT_EQ(test.Bytes("ByLayer.ini"), "0\r\n");
  dialog->UserClick(MainDialog::kByLayer);
  EXPECT_EQ(test.Bytes("ByLayer.ini"), "1\r\n");
  Open();
  EXPECT_TRUE(dialog->FindControl(MainDialog::kByLayer)->Checked());
}

TEST_F(MainDialogTest, FittingButtonsWriteTheirCodeBeforeOpening) {
  Open();
  const std::pair<int, const char*> buttons[] = {
      {1003, "2"},  {1004, "3"},  {1005, "4"},  {1006, "5"},  {1007, "6"},  {1011, "7"},
      {1012, "8"},  {1014, "9"},  {1008, "10"}, {1009, "11"}, {1010, "12"}, {1013, "13"},
      {1016, "19"}, {1017, "20"}, {1018, "21"}, {1019, "22"}, {1020, "23"}, {1021, "24"},
      {1000, "0"}};
  for (auto [id, code] : buttons) {
    size_t opened = test.host.modalCaptions.size();
    ASSERT_TRUE(dialog->UserClick(id)) << id;
    EXPECT_EQ(test.Lines("Command.ini"), std::vector<std::string>{code}) << id;
    EXPECT_EQ(test.host.modalCaptions.size(), opened + 1) << id;
    // The fitting buttons are one group: the last one used stays pressed.
    if (id != 1000) {
      EXPECT_TRUE(dialog->FindControl(id)->Checked());
    }
  }
}

TEST_F(MainDialogTest, HiddenButtonsHaveTheirHandlers) {
  Open();
  for (auto [id, code] : {std::pair{1015, "16"}, std::pair{1022, "25"}}) {
    dialog->FindControl(id)->Show(true);
    ASSERT_TRUE(dialog->UserClick(id));
    EXPECT_EQ(test.Lines("Command.ini"), std::vector<std::string>{code});
  }
}

TEST_F(MainDialogTest, AttributeAndLayerPrefixButtonsLeaveCommandIniAlone) {
  Open();
  dialog->UserClick(1005);
  const std::string before = test.Bytes("Command.ini");
  dialog->UserClick(1001);
  dialog->UserClick(1002);
  dialog->FindControl(1128)->Show(true);
  dialog->UserClick(1128);
  EXPECT_EQ(test.Bytes("Command.ini"), before);
  EXPECT_EQ(test.host.modalCaptions.back(), "レイヤ付加文字登録");
}

TEST_F(MainDialogTest, RefreshAfterTheAttributeDialogButNotTheCaptions) {
  Open();
  test.Write("Memo.ini", {"新1", "新2", "新3", "新4", "新5", "新6"});
  dialog->UserClick(1002);  // the attribute dialog, then the refresh
  EXPECT_EQ(dialog->FindControl(MainDialog::kStatusLine)->Text(), "属性は【新1】が選択されています。");
  EXPECT_EQ(dialog->FindControl(1386)->Text(), "空調標準");
}

TEST_F(MainDialogTest, AMissingFileIsReportedByNameAndTheProgramGoesOn) {
  test.Remove("SenSyu.ini");
  Open();
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_NE(test.host.messages[0].text.find("SenSyu.ini"), std::string::npos);
  EXPECT_FALSE(dialog->Ended());
  // The refresh never ran, but the dialog still answers.
  EXPECT_TRUE(dialog->UserClick(MainDialog::kByLayer));
  EXPECT_EQ(test.Bytes("ByLayer.ini"), "1\r\n");
}

TEST(MainDialogWithoutInfoFolder, EveryStepReportsAndNothingCrashes) {
  TestApp test(false);
  std::filesystem::remove_all(test.Root() / "info");
  MainDialog dialog(test.App());
  dialog.Initialize();
  ASSERT_FALSE(test.host.messages.empty());
  EXPECT_NE(test.host.messages[0].text.find("Memo.ini"), std::string::npos);
  dialog.UserClick(1005);
  dialog.UserClick(1387);
  EXPECT_GE(test.host.messages.size(), 3u);
  EXPECT_FALSE(dialog.Ended());
}

TEST(DialogTable, EveryMainButtonOpensAKnownClassAndStemsResolve) {
  TestApp test;
  for (const DialogEntry& entry : DialogTable()) {
    auto dialog = CreateDialog(entry.className, test.App());
    ASSERT_NE(dialog, nullptr) << entry.className;
  }
  EXPECT_EQ(CreateDialog("NoSuchDialog", test.App()), nullptr);
  EXPECT_EQ(ClassForStem("erbo"), "ErboDialog");
  EXPECT_EQ(ClassForStem("S_Erbo"), "SErboDialog");
  EXPECT_TRUE(ClassForStem("Nothing").empty());
}

}  // namespace
}  // namespace tavelin
