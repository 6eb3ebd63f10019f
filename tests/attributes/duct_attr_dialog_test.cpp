#include "attributes/duct_attr_dialog.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/main_dialog.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;
using D = DuctAttrDialog;

class DuctAttrDialogTest : public ::testing::Test {
 protected:
  void Open() {
    dialog = std::make_unique<DuctAttrDialog>(test.App());
    dialog->Initialize();
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }
  // The three files the dialog writes, byte for byte.
  std::string Stored() {
    return test.Bytes("DakutoSubSet.ini") + "|" + test.Bytes("Memo.ini") + "|" +
           test.Bytes("KyotuSet.ini");
  }
  // Presses OK and expects the refusal `message`, the dialog still open with
  // the typed texts, and no file touched.
  void ExpectRefused(const std::string& message, int typedId, const std::string& typed) {
    std::string before = Stored();
    ASSERT_TRUE(dialog->UserClick(ui::kIdCancel));
    ASSERT_EQ(test.host.messages.size(), 1u);
    EXPECT_EQ(test.host.messages[0].caption, "入力確認");
    EXPECT_EQ(test.host.messages[0].text, message);
    EXPECT_FALSE(dialog->Ended());
    EXPECT_EQ(Text(typedId), typed);
    EXPECT_EQ(Stored(), before);
    // The field at fault takes the focus, its text selected by the window.
    EXPECT_EQ(dialog->TakeFocusRequest(), typedId);
    EXPECT_EQ(dialog->FocusedId(), typedId);
  }
  TestApp test;
  std::unique_ptr<DuctAttrDialog> dialog;
};

TEST_F(DuctAttrDialogTest, OpensWithTheStoredSettingsAndSavesThemBackUnchanged) {
  auto lines = test.Lines("DakutoSubSet.ini");
  lines[19] = "NODASH";  // setting 3, hatching line
  test.Write("DakutoSubSet.ini", lines);
  test.Write("KyotuSet.ini", {"40", "15", "77.5x", "30"});
  test.Write("SenSyu.ini", {"A", "B"});
  Open();
  EXPECT_EQ(Text(D::LayerId(1, 0)), "DUCT");
  EXPECT_EQ(Text(D::TypeColourId(1, 3)), "2-8");
  EXPECT_EQ(Text(D::LayerId(3, 5)), "NODASH");
  EXPECT_EQ(Text(D::TypeColourId(3, 5)), "Error");
  EXPECT_EQ(Text(D::kThirdValue), "77.5x");
  EXPECT_EQ(Text(D::kMemoBase + 6), "外気・排気");
  EXPECT_EQ(Text(D::kLineTypeNameBase + 2), "B");
  EXPECT_EQ(Text(D::kLineTypeNameBase + 3), "");

  // "Error" reads as type 0 and colour 0: the colour message, until corrected.
  ExpectRefused("線色番号に0・または文字は入力できません。", D::TypeColourId(3, 5), "Error");
  std::string memos = test.Bytes("Memo.ini");
  ASSERT_TRUE(dialog->UserSetText(D::TypeColourId(3, 5), "1-8"));
  dialog->UserOk();  // Enter saves like OK
  EXPECT_TRUE(dialog->Ended());
  lines[19] = "NODASH-1-8";
  EXPECT_EQ(test.Lines("DakutoSubSet.ini"), lines);
  EXPECT_EQ(test.Bytes("Memo.ini"), memos);
  EXPECT_EQ(test.Bytes("KyotuSet.ini"), "40\r\n15\r\n77.5x\r\n30\r\n");
}

TEST_F(DuctAttrDialogTest, HatchingWidthIsCheckedFirstFrom30Up) {
  Open();
  dialog->UserSetText(D::TypeColourId(2, 2), "0-0");
  dialog->UserSetText(D::kHatchingWidth, "29.999");
  ExpectRefused("ハッチング幅は30以上にしてください。", D::kHatchingWidth, "29.999");
  test.host.messages.clear();
  dialog->UserSetText(D::kHatchingWidth, "abc");
  ExpectRefused("ハッチング幅は30以上にしてください。", D::kHatchingWidth, "abc");
  test.host.messages.clear();
  // Past the minimum but not a width at all.
  dialog->UserSetText(D::kHatchingWidth, "1e999");
  ExpectRefused("ハッチング幅が大きすぎます。数値を入力してください。", D::kHatchingWidth, "1e999");
  test.host.messages.clear();
  dialog->UserSetText(D::kHatchingWidth, "30");
  ExpectRefused("線色番号に0・または文字は入力できません。", D::TypeColourId(2, 2), "0-0");
}

TEST_F(DuctAttrDialogTest, TheLastFailingEntryInFileOrderDecides) {
  Open();
  // Setting 6's centre line is the last entry in file order.
  dialog->UserSetText(D::TypeColourId(1, 0), "1-256");
  dialog->UserSetText(D::TypeColourId(6, 6), "0-7");
  dialog->UserSetText(D::LayerId(4, 4), "A.B");
  ExpectRefused("線種番号に0は入力できません。", D::TypeColourId(6, 6), "0-7");
  test.host.messages.clear();
  dialog->UserSetText(D::TypeColourId(6, 6), "11-255");
  dialog->UserSetText(D::TypeColourId(6, 0), "12-1");  // later than (1, 0), earlier than (6, 6)
  ExpectRefused("線種番号に12以上は入力できません。", D::TypeColourId(6, 0), "12-1");
  test.host.messages.clear();
  dialog->UserSetText(D::TypeColourId(6, 0), "11-1");
  dialog->UserSetText(D::TypeColourId(1, 0), "11-255");
  ExpectRefused("レイヤ名にハイフォン・カンマ・ドットが\n含まれていますので登録できません。",
                D::LayerId(4, 4), "A.B");
  dialog->UserSetText(D::LayerId(4, 4), "");
  dialog->UserCancel();
  EXPECT_TRUE(dialog->Ended());
  auto lines = test.Lines("DakutoSubSet.ini");
  EXPECT_EQ(lines[0], "DUCT-11-255");
  EXPECT_EQ(lines[21 + 4], "-1-1");
  EXPECT_EQ(lines[41], "OA_CENTER-11-255");
}

TEST_F(DuctAttrDialogTest, ACommaTypedForTheDashIsRefusedBeforeItReachesTheRecords) {
  Open();
  // "1,7" reads as line type 1 and colour 1, so the number checks pass; its
  // colour text would put an extra field into every record of the setting.
  dialog->UserSetText(D::TypeColourId(2, 0), "1,7");
  dialog->UserSetText(D::LayerId(5, 1), "A.B");
  ExpectRefused("種-色にカンマ（,）は入力できません。", D::TypeColourId(2, 0), "1,7");
  // A failing number check elsewhere is still reported first.
  test.host.messages.clear();
  dialog->UserSetText(D::TypeColourId(6, 6), "1-256");
  ExpectRefused("線色番号に256以上は入力できません。", D::TypeColourId(6, 6), "1-256");
  test.host.messages.clear();
  dialog->UserSetText(D::TypeColourId(6, 6), "1-255");
  dialog->UserSetText(D::TypeColourId(2, 0), "1-7");
  ExpectRefused("レイヤ名にハイフォン・カンマ・ドットが\n含まれていますので登録できません。",
                D::LayerId(5, 1), "A.B");
  dialog->UserSetText(D::LayerId(5, 1), "AB");
  const std::string layer = Text(D::LayerId(2, 0));
  dialog->UserCancel();
  EXPECT_TRUE(dialog->Ended());
  auto lines = test.Lines("DakutoSubSet.ini");
  EXPECT_EQ(lines[7], layer + "-1-7");
  EXPECT_EQ(lines[29].substr(0, 3), "AB-");
}

TEST_F(DuctAttrDialogTest, AnUnreadableFileClosesWithoutWritingBlanks) {
  test.Remove("KyotuSet.ini");
  std::string before = test.Bytes("DakutoSubSet.ini") + test.Bytes("Memo.ini");
  Open();
  EXPECT_EQ(dialog->Failures(), 1);
  dialog->UserCancel();
  EXPECT_TRUE(dialog->Ended());
  EXPECT_EQ(test.Bytes("DakutoSubSet.ini") + test.Bytes("Memo.ini"), before);
  EXPECT_FALSE(test.Info().Exists("KyotuSet.ini"));
}

// The main dialog opens the attribute dialog from "属性設定"; the user edits
// it and presses OK.
class EditingHost : public testing::RecordingHost {
 public:
  int RunModal(ui::Dialog& dialog) override {
    modalCaptions.push_back(dialog.Caption());
    dialog.Initialize();
    edit(dialog);
    return dialog.Result();
  }
  std::function<void(ui::Dialog&)> edit;
};

TEST_F(DuctAttrDialogTest, AnEditedSetReachesDakutoSetAtTheNextSwitch) {
  EditingHost host;
  host.edit = [](ui::Dialog& d) {
    d.UserSetText(D::LayerId(2, 0), "新ダクト");
    d.UserSetText(D::kMemoBase + 1, "標準改");
    d.UserClick(ui::kIdCancel);
    EXPECT_TRUE(d.Ended());
  };
  test.App().ui = &host;
  MainDialog main(test.App());
  main.Initialize();
  std::string active = test.Bytes("DakutoSet.ini");
  ASSERT_TRUE(main.UserClick(1002));
  EXPECT_EQ(host.modalCaptions, std::vector<std::string>{"角ダクト属性設定"});
  EXPECT_TRUE(host.messages.empty());
  // The refresh after the dialog shows the new memo of the active set.
  EXPECT_EQ(main.FindControl(MainDialog::kStatusLine)->Text(),
            "属性は【標準改】が選択されています。");
  EXPECT_EQ(test.Bytes("DakutoSet.ini"), active);
  ASSERT_TRUE(main.UserClick(1387));
  EXPECT_EQ(test.Lines("DakutoSet.ini")[0], "新ダクト-CONTINUOUS-4");
}

}  // namespace
}  // namespace tavelin
