#include "pipe/pipe_attr_dialog.hpp"

#include <gtest/gtest.h>

#include "tests/pipe/catalogue_fixture.hpp"

namespace tavelin {
namespace {

using testing::TestApp;
using D = PipeAttrDialog;

constexpr const char* kColourOver = "線色番号に256以上は入力できません。";
constexpr const char* kColourZero = "線色番号に0・または文字は入力できません。";
constexpr const char* kTypeOver = "線種番号に12以上は入力できません。";
constexpr const char* kTypeZero = "線種番号に0は入力できません。";
constexpr const char* kLayerMessage =
    "レイヤ名にハイフォン・カンマ・ドットが\n含まれていますので登録できません。";

class PipeAttrTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteCatalogue(t);
    stored = t.Lines("TugiteSet.ini");
  }
  std::unique_ptr<D> Open() {
    auto dialog = std::make_unique<D>(t.App());
    dialog->Initialize();
    return dialog;
  }
  std::string Text(D& d, int id) { return d.FindControl(id)->Text(); }
  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const auto& m : t.host.messages) texts.push_back(m.caption + ":" + m.text);
    return texts;
  }

  TestApp t;
  std::vector<std::string> stored;
};

TEST_F(PipeAttrTest, OpensOnTheFirstCategoryWithTheLineTypeNames) {
  auto d = Open();
  EXPECT_EQ(Text(*d, D::kCategoryList), "ＴＳ継手");
  EXPECT_EQ(Text(*d, D::kHeading), "【ＴＳ継手】の設定");
  EXPECT_EQ(Text(*d, D::kSolidLayer), "S0");
  EXPECT_EQ(Text(*d, D::kSolidTypeColour), "1-7");
  EXPECT_EQ(Text(*d, D::kHiddenTypeColour), "2-8");
  EXPECT_EQ(Text(*d, D::kCentreLayer), "C0");
  std::vector<std::string> typeNames = t.Lines("SenSyu.ini");
  EXPECT_EQ(Text(*d, D::kFirstLineTypeName), typeNames[0]);
  EXPECT_EQ(Text(*d, D::kFirstLineTypeName + 10), typeNames[10]);
  EXPECT_TRUE(t.host.messages.empty());
}

TEST_F(PipeAttrTest, TypeColourMessagesFollowTheirPrecedenceOverAllThreeGroups) {
  struct Case {
    std::array<std::string, 3> texts;
    std::string message;
  };
  const Case cases[] = {
      {{"0-7", "2-256", "5-1"}, kColourOver},  // a colour over 255 beats a type 0 elsewhere
      {{"12-7", "2-0", "5-1"}, kColourZero},   // colour 0 beats a type over 11
      {{"Error", "2-8", "5-1"}, kColourZero},  // a group without "-" reads as 0 and 0
      {{"", "2-8", "5-1"}, kColourZero},
      {{"1-7", "0-8", "12-1"}, kTypeOver},  // a type over 11 beats a type 0
      {{"1-7", "0-8", "5-1"}, kTypeZero},
      {{"11-255", "1-1", "5-1"}, ""},  // the largest numbers pass
      {{"1-7-9", "2-8", "5-1"}, ""},   // only the first two tokens count
  };
  for (const Case& c : cases) {
    EXPECT_EQ(D::TypeColourMessage(c.texts), c.message) << c.texts[0] << " " << c.texts[1];
  }
  EXPECT_TRUE(D::LayerRefused("A-B"));
  EXPECT_TRUE(D::LayerRefused("A.B"));
  EXPECT_TRUE(D::LayerRefused("A,B"));
  EXPECT_FALSE(D::LayerRefused(""));
  EXPECT_FALSE(D::LayerRefused("配管_継手"));
}

TEST_F(PipeAttrTest, SwitchingStoresTheShownCategoryAndOkWritesEveryLine) {
  auto d = Open();
  ASSERT_TRUE(d->UserSetText(D::kSolidLayer, "TSJ"));
  ASSERT_TRUE(d->UserSetText(D::kHiddenTypeColour, "3-250"));
  ASSERT_TRUE(d->UserSetText(D::kCentreLayer, ""));  // an empty layer is accepted
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 5));
  EXPECT_EQ(d->ShownCategory(), 5);
  EXPECT_EQ(Text(*d, D::kHeading), "【部材5】の設定");
  EXPECT_EQ(Text(*d, D::kSolidLayer), "S5");
  ASSERT_TRUE(d->UserSetText(D::kSolidTypeColour, "4-30"));
  // The file changes only when the dialog is confirmed.
  EXPECT_EQ(t.Lines("TugiteSet.ini"), stored);

  ASSERT_TRUE(d->UserClick(ui::kIdCancel));  // the "OK" button
  EXPECT_TRUE(d->Ended());
  std::vector<std::string> expected = stored;
  expected[0] = "TSJ-1-7,H0-3-250,-5-1";
  expected[5] = "S5-4-30,H5-2-8,C5-5-1";
  EXPECT_EQ(t.Lines("TugiteSet.ini"), expected);
  std::string bytes = t.Bytes("TugiteSet.ini");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST_F(PipeAttrTest, AFailingTypeColourKeepsTheCategoryAndClearsTheList) {
  auto d = Open();
  ASSERT_TRUE(d->UserSetText(D::kSolidTypeColour, "1-300"));
  ASSERT_TRUE(d->UserSetText(D::kSolidLayer, "NEW"));
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 3));
  EXPECT_EQ(Messages(), std::vector<std::string>{std::string("入力確認:") + kColourOver});
  EXPECT_EQ(d->ShownCategory(), 0);
  EXPECT_EQ(Text(*d, D::kCategoryList), "");
  EXPECT_EQ(Text(*d, D::kSolidLayer), "NEW");
  EXPECT_EQ(d->StoredLines()[0], stored[0]);

  // Corrected, the switch stores the edits and moves on.
  ASSERT_TRUE(d->UserSetText(D::kSolidTypeColour, "1-30"));
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 3));
  EXPECT_EQ(d->ShownCategory(), 3);
  EXPECT_EQ(d->StoredLines()[0], "NEW-1-30,H0-2-8,C0-5-1");
}

TEST_F(PipeAttrTest, ARefusedLayerDropsTheEditsAndShowsThePickedCategory) {
  auto d = Open();
  ASSERT_TRUE(d->UserSetText(D::kHiddenLayer, "HID.DEN"));
  ASSERT_TRUE(d->UserSetText(D::kSolidTypeColour, "9-9"));
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 2));
  EXPECT_EQ(Messages(), std::vector<std::string>{std::string("入力確認:") + kLayerMessage});
  EXPECT_EQ(d->ShownCategory(), 2);
  EXPECT_EQ(Text(*d, D::kSolidLayer), "S2");
  EXPECT_EQ(d->StoredLines()[0], stored[0]);
}

TEST_F(PipeAttrTest, OkWithAFailureShowsTheMessageAndWritesNothing) {
  auto d = Open();
  ASSERT_TRUE(d->UserSetText(D::kCentreTypeColour, "12-1"));
  ASSERT_TRUE(d->UserClick(ui::kIdCancel));
  EXPECT_FALSE(d->Ended());
  EXPECT_EQ(Messages(), std::vector<std::string>{std::string("入力確認:") + kTypeOver});
  EXPECT_EQ(d->TakeFocusRequest(), D::kCentreTypeColour);  // the field at fault
  d->UserCancel();  // Esc does the same
  EXPECT_FALSE(d->Ended());
  ASSERT_TRUE(d->UserSetText(D::kCentreLayer, "C,1"));
  ASSERT_TRUE(d->UserSetText(D::kCentreTypeColour, "5-1"));
  d->UserOk();
  EXPECT_FALSE(d->Ended());
  EXPECT_EQ(t.host.messages.back().text, kLayerMessage);
  EXPECT_EQ(d->TakeFocusRequest(), D::kCentreLayer);
  EXPECT_EQ(t.Lines("TugiteSet.ini"), stored);
}

TEST_F(PipeAttrTest, EnterSavesTheEditsOnScreenLikeOk) {
  auto d = Open();
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 1));
  ASSERT_TRUE(d->UserSetText(D::kSolidLayer, "DV_SOLID"));
  d->UserOk();
  EXPECT_TRUE(d->Ended());
  EXPECT_EQ(t.Lines("TugiteSet.ini")[1], "DV_SOLID-1-7,H1-2-8,C1-5-1");

  // A failure stops Enter as it stops OK.
  auto again = Open();
  ASSERT_TRUE(again->UserSetText(D::kSolidTypeColour, "0-7"));
  again->UserOk();
  EXPECT_FALSE(again->Ended());
  EXPECT_EQ(t.host.messages.back().text, kTypeZero);
}

TEST_F(PipeAttrTest, ACommaInATypeColourCannotSplitTheStoredLine) {
  auto d = Open();
  ASSERT_TRUE(d->UserSetText(D::kSolidTypeColour, "1-7,X"));
  ASSERT_TRUE(d->UserClick(ui::kIdCancel));
  EXPECT_FALSE(d->Ended());
  EXPECT_EQ(t.host.messages.back().caption, "入力確認");
  EXPECT_EQ(t.Lines("TugiteSet.ini"), stored);
}

TEST_F(PipeAttrTest, LockedCategoriesShowTheirValuesDisabledAndPassThrough) {
  std::vector<std::string> lines = stored;
  lines[13] = "Error";  // no "-" at all: it could never pass the checks
  lines[20] = "FS-1-7,FSH-2-8,FSC-5-1,extra";
  t.Write("TugiteSet.ini", lines);
  auto d = Open();
  for (int c : {12, 13, 14, 20}) {
    ASSERT_TRUE(d->UserSelect(D::kCategoryList, c)) << c;
    EXPECT_EQ(d->ShownCategory(), c);
    EXPECT_EQ(Text(*d, D::kHeading), "-");
    EXPECT_FALSE(d->FindControl(D::kSolidLayer)->Enabled());
    EXPECT_FALSE(d->FindControl(D::kCentreTypeColour)->Enabled());
    EXPECT_FALSE(d->UserSetText(D::kSolidLayer, "X"));
  }
  EXPECT_EQ(Text(*d, D::kSolidLayer), "FS");
  EXPECT_EQ(Text(*d, D::kCentreTypeColour), "5-1");
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 13));
  EXPECT_EQ(Text(*d, D::kSolidTypeColour), "Error");
  ASSERT_TRUE(d->UserSelect(D::kCategoryList, 11));
  EXPECT_EQ(Text(*d, D::kHeading), "【部材11】の設定");
  EXPECT_TRUE(d->FindControl(D::kSolidLayer)->Enabled());
  ASSERT_TRUE(d->UserClick(ui::kIdCancel));
  EXPECT_TRUE(d->Ended());
  EXPECT_TRUE(t.host.messages.empty());
  EXPECT_EQ(t.Lines("TugiteSet.ini"), lines);
}

TEST_F(PipeAttrTest, AFileMissingAtOpeningIsNeverOverwrittenOnClose) {
  t.Remove("TugiteName.ini");
  auto d = Open();
  EXPECT_EQ(d->Failures(), 1);
  ASSERT_TRUE(d->UserClick(ui::kIdCancel));
  EXPECT_TRUE(d->Ended());
  EXPECT_EQ(t.Lines("TugiteSet.ini"), stored);
}

}  // namespace
}  // namespace tavelin
