#include <gtest/gtest.h>

#include <filesystem>

#include "attributes/duct_attr_dialog.hpp"
#include "attributes/line_attr_dialog.hpp"
#include "attributes/line_type_dialog.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;
using L = LineAttrDialog;

std::string TextOf(ui::Dialog& dialog, int id) { return dialog.FindControl(id)->Text(); }

TEST(LineAttrDialog, OpensTheThirteenPipeKindsAndStoresValidRows) {
  TestApp test;
  auto lines = test.Lines("HaikanSet.ini");
  ASSERT_EQ(lines.size(), 13u);
  ASSERT_EQ(test.Lines("HaikanName.ini").size(), 13u);
  lines[4] = "通気";
  test.Write("HaikanSet.ini", lines);
  L dialog(test.App());
  dialog.Initialize();
  EXPECT_EQ(TextOf(dialog, L::kPipeNameBase + 1), test.Lines("HaikanName.ini")[0]);
  EXPECT_EQ(TextOf(dialog, L::kLayerBase + 5), "通気");
  EXPECT_EQ(TextOf(dialog, L::kTypeColourBase + 5), "Error");
  EXPECT_EQ(TextOf(dialog, L::kLineTypeNameBase + 11), "DIVIDE");

  // Closing without correcting "Error" is refused with the colour message.
  std::string before = test.Bytes("HaikanSet.ini");
  dialog.UserCancel();
  EXPECT_FALSE(dialog.Ended());
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.host.messages[0].text, "線色番号に0・または文字は入力できません。");
  EXPECT_EQ(test.Bytes("HaikanSet.ini"), before);

  dialog.UserSetText(L::kTypeColourBase + 5, "11-255");
  dialog.UserSetText(L::kLayerBase + 13, "");
  dialog.UserOk();  // Enter saves like OK
  EXPECT_TRUE(dialog.Ended());
  lines[4] = "通気-11-255";
  lines[12] = "-" + lines[12].substr(lines[12].find('-') + 1);
  EXPECT_EQ(test.Lines("HaikanSet.ini"), lines);
}

TEST(LineAttrDialog, RefusalsKeepTheDialogOpenAndTheFileUnchanged) {
  TestApp test;
  L dialog(test.App());
  dialog.Initialize();
  std::string before = test.Bytes("HaikanSet.ini");
  auto refuse = [&](const std::string& message, int field) {
    test.host.messages.clear();
    ASSERT_TRUE(dialog.UserClick(ui::kIdCancel));
    ASSERT_EQ(test.host.messages.size(), 1u);
    EXPECT_EQ(test.host.messages[0].caption, "入力確認");
    EXPECT_EQ(test.host.messages[0].text, message);
    EXPECT_FALSE(dialog.Ended());
    EXPECT_EQ(test.Bytes("HaikanSet.ini"), before);
    EXPECT_EQ(dialog.TakeFocusRequest(), field);  // the field at fault takes the focus
  };
  dialog.UserSetText(L::kTypeColourBase + 1, "0-7");
  dialog.UserSetText(L::kTypeColourBase + 13, "1-256");
  dialog.UserSetText(L::kLayerBase + 7, "冷温水.往");
  refuse("線色番号に256以上は入力できません。", L::kTypeColourBase + 13);
  dialog.UserSetText(L::kTypeColourBase + 13, "1-1");
  refuse("線種番号に0は入力できません。", L::kTypeColourBase + 1);
  dialog.UserSetText(L::kTypeColourBase + 1, "1-7");
  refuse("レイヤ名にハイフォン・カンマ・ドットが\n含まれていますので登録できません。", L::kLayerBase + 7);
  EXPECT_EQ(TextOf(dialog, L::kLayerBase + 7), "冷温水.往");
}

TEST(LineAttrDialog, AMissingSettingsFileIsNotCreatedFromBlanks) {
  TestApp test;
  test.Remove("HaikanSet.ini");
  L dialog(test.App());
  dialog.Initialize();
  EXPECT_EQ(dialog.Failures(), 1);
  dialog.UserClick(ui::kIdCancel);
  EXPECT_TRUE(dialog.Ended());
  EXPECT_FALSE(test.Info().Exists("HaikanSet.ini"));
}

TEST(LineTypeDialog, SavingNineNamesKeepsLinesTenAndEleven) {
  TestApp test;
  test.Write("SenSyu.ini", {"C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8", "C9", "TEN", "ELEVEN"});
  LineTypeDialog dialog(test.App());
  dialog.Initialize();
  EXPECT_EQ(TextOf(dialog, LineTypeDialog::kNameBase + 9), "C9");
  dialog.UserSetText(LineTypeDialog::kNameBase + 1, "SOLID LINE");
  dialog.UserSetText(LineTypeDialog::kNameBase + 9, "A B");  // stored as typed
  ASSERT_TRUE(dialog.UserClick(LineTypeDialog::kSave));
  EXPECT_FALSE(dialog.Ended());
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.host.messages[0].caption, "確認");
  EXPECT_EQ(test.host.messages[0].text, "保存しました。");
  EXPECT_EQ(test.Lines("SenSyu.ini"),
            (std::vector<std::string>{"SOLID LINE", "C2", "C3", "C4", "C5", "C6", "C7", "C8", "A B",
                                      "TEN", "ELEVEN"}));

  // The square-duct attribute dialog shows the new names when opened next.
  DuctAttrDialog duct(test.App());
  duct.Initialize();
  EXPECT_EQ(TextOf(duct, DuctAttrDialog::kLineTypeNameBase + 1), "SOLID LINE");
  EXPECT_EQ(TextOf(duct, DuctAttrDialog::kLineTypeNameBase + 10), "TEN");
}

TEST(LineTypeDialog, BlanksAreRefusedAndOkClosesWithoutSaving) {
  TestApp test;
  std::string before = test.Bytes("SenSyu.ini");
  LineTypeDialog dialog(test.App());
  dialog.Initialize();
  dialog.UserSetText(LineTypeDialog::kNameBase + 4, "");
  dialog.UserSetText(LineTypeDialog::kNameBase + 6, "");
  dialog.UserClick(LineTypeDialog::kSave);
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.host.messages[0].caption, "入力確認");
  EXPECT_EQ(test.host.messages[0].text, "空白は登録できません。");
  EXPECT_EQ(test.Bytes("SenSyu.ini"), before);
  EXPECT_EQ(dialog.TakeFocusRequest(), LineTypeDialog::kNameBase + 4);

  // A comma would split every drawing record, a hyphen the fields of
  // "DakutoSet.ini": both are refused and nothing is stored.
  for (const char* name : {"DASH,DOT", "DASH-DOT"}) {
    dialog.UserSetText(LineTypeDialog::kNameBase + 4, name);
    dialog.UserSetText(LineTypeDialog::kNameBase + 6, "Y");
    dialog.UserClick(LineTypeDialog::kSave);
    EXPECT_EQ(test.host.messages.back().text, "線種名にカンマ（,）とハイフン（-）は使えません。");
    EXPECT_EQ(test.Bytes("SenSyu.ini"), before);
  }
  EXPECT_EQ(test.host.messages.size(), 3u);

  dialog.UserSetText(LineTypeDialog::kNameBase + 4, "X");
  dialog.UserSetText(LineTypeDialog::kNameBase + 6, "Y");
  ASSERT_TRUE(dialog.UserClick(ui::kIdOk));
  EXPECT_TRUE(dialog.Ended());
  EXPECT_EQ(test.Bytes("SenSyu.ini"), before);
}

}  // namespace
}  // namespace tavelin
