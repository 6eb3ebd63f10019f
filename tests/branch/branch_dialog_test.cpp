// The branch dialogs as the user drives them: the division ratio and its
// refusal, the linked half and difference fields, the enabling per type, the
// size lists, the block names, and settings that survive opening.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "duct/bunki2_dialog.hpp"
#include "duct/bunki3_dialog.hpp"
#include "duct/tuki_dialog.hpp"
#include "framework/canvas.hpp"
#include "framework/text.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;
using B2 = Bunki2Dialog;
using B3 = Bunki3Dialog;

template <typename D>
class Driven : public ::testing::Test {
 protected:
  void Open() {
    dialog = std::make_unique<D>(test.App());
    dialog->Initialize();
    NullCanvas canvas;
    dialog->Paint(canvas);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }
  bool Enabled(int id) { return dialog->FindControl(id)->Enabled(); }
  // The block name without its random number: prefix and weighted sum.
  std::string NameSum() {
    std::string name = test.Lines("DrawName.ini").at(0);
    return name.substr(0, name.find('D') + 7);
  }

  // The example of the zero-sum message, followed, divides the main duct
  // into parts that all have a width.
  void FollowTheZeroRatioExample(int ratio, int set, const std::vector<int>& parts) {
    Open();
    ASSERT_TRUE(dialog->UserSetText(ratio, parts.size() == 2 ? "0-0" : "0-0-0"));
    ASSERT_TRUE(dialog->UserClick(set));
    ASSERT_EQ(test.host.messages.size(), 1u);
    const std::string& text = test.host.messages[0].text;
    const size_t open = text.find('"'), close = text.find('"', open + 1);
    ASSERT_NE(close, std::string::npos) << text;
    const std::string example = text.substr(open + 1, close - open - 1);
    EXPECT_EQ(Split(example, '-').size(), parts.size()) << example;
    ASSERT_TRUE(dialog->UserSetText(ratio, example));
    ASSERT_TRUE(dialog->UserClick(set));
    EXPECT_EQ(test.host.messages.size(), 1u);
    for (int id : parts) EXPECT_GT(ToDouble(Text(id)), 0.0) << example;
  }

  TestApp test;
  std::unique_ptr<D> dialog;
};

using Bunki2DialogTest = Driven<Bunki2Dialog>;
using Bunki3DialogTest = Driven<Bunki3Dialog>;
using TukiDialogTest = Driven<TukiDialog>;

TEST_F(Bunki2DialogTest, SetDividesTheMainDuctAndRefusesARatioSummingToZero) {
  Open();
  ASSERT_EQ(test.Lines("DrawName.ini").at(0).substr(0, 3), "NI_");
  struct Case {
    const char* width;
    const char* ratio;
    const char* left;
    const char* right;
  };
  for (const Case& c : {Case{"600", "1-2", "200", "400"}, Case{"610", "1-2", "205", "405"}}) {
    ASSERT_TRUE(dialog->UserSetText(B2::kMain, c.width));
    ASSERT_TRUE(dialog->UserSetText(B2::kRatio, c.ratio));
    ASSERT_TRUE(dialog->UserClick(B2::kSet));
    EXPECT_EQ(Text(B2::kMainLeft), c.left);
    EXPECT_EQ(Text(B2::kMainRight), c.right);
    auto saved = test.Lines("Bunki2.ini");
    EXPECT_EQ(saved[4], c.left);
    EXPECT_EQ(saved[5], c.right);
  }
  const std::string name = test.Bytes("DrawName.ini");
  for (const char* ratio : {"0-0", "1--1x", "0-0.0"}) {
    ASSERT_TRUE(dialog->UserSetText(B2::kRatio, ratio));
    ASSERT_TRUE(dialog->UserClick(B2::kSet));
  }
  // "1--1x" reads as 1 and 0: all to the left. The other two sum to 0.
  ASSERT_EQ(test.host.messages.size(), 2u);
  EXPECT_EQ(test.host.messages[0].caption, "入力確認");
  EXPECT_EQ(Text(B2::kMainLeft), "610");
  EXPECT_EQ(Text(B2::kMainRight), "0");
  EXPECT_NE(test.Bytes("DrawName.ini"), name);
  // An empty ratio does nothing at all.
  const std::string after = test.Bytes("DrawName.ini");
  ASSERT_TRUE(dialog->UserSetText(B2::kRatio, ""));
  ASSERT_TRUE(dialog->UserClick(B2::kSet));
  EXPECT_EQ(test.Bytes("DrawName.ini"), after);
  EXPECT_EQ(test.host.messages.size(), 2u);
}

TEST_F(Bunki2DialogTest, LinkedFieldsAndEnablingFollowTheType) {
  Open();
  // Two-way: the top outlet is open, the left branch closed.
  EXPECT_TRUE(Enabled(B2::kOutlet) && Enabled(B2::kOutletSizes));
  EXPECT_FALSE(Enabled(B2::kLeft) || Enabled(B2::kLeftUpper) || Enabled(B2::kLeftSizes));
  ASSERT_TRUE(dialog->UserSetText(B2::kOutlet, "400"));
  EXPECT_EQ(Text(B2::kOutletLeft), "200");
  EXPECT_EQ(Text(B2::kOutletRight), "200");
  ASSERT_TRUE(dialog->UserSetText(B2::kOutletRight, "150"));
  EXPECT_EQ(dialog->FocusMarker(), 2);
  EXPECT_EQ(Text(B2::kOutletLeft), "250");

  ASSERT_TRUE(dialog->UserClick(B2::kBothWays));
  EXPECT_FALSE(Enabled(B2::kOutlet) || Enabled(B2::kOutletLeft) || Enabled(B2::kOutletSizes));
  EXPECT_TRUE(Enabled(B2::kLeft) && Enabled(B2::kLeftLower) && Enabled(B2::kLeftSizes));
  EXPECT_EQ(test.Lines("DrawName.ini").at(0).substr(0, 3), "SO_");
  ASSERT_TRUE(dialog->UserSetText(B2::kLeft, "500"));
  EXPECT_EQ(Text(B2::kLeftUpper), "250");
  EXPECT_EQ(Text(B2::kLeftLower), "250");
  ASSERT_TRUE(dialog->UserSetText(B2::kLeftUpper, "180"));
  EXPECT_EQ(Text(B2::kLeftLower), "320");

  // T: the upper part is half the reference branch, the lower the rest.
  ASSERT_TRUE(dialog->UserSetText(B2::kBranch, "300"));
  ASSERT_TRUE(dialog->UserClick(B2::kTee));
  EXPECT_EQ(Text(B2::kLeftUpper), "150");
  EXPECT_EQ(Text(B2::kLeftLower), "350");
  ASSERT_TRUE(dialog->UserSetText(B2::kLeft, "501"));
  EXPECT_EQ(Text(B2::kLeftUpper), "150");
  EXPECT_EQ(Text(B2::kLeftLower), "351");
  EXPECT_EQ(test.Lines("Bunki2.ini")[14], "3");
  EXPECT_EQ(test.Lines("DrawName.ini").at(0).substr(0, 3), "TH_");

  // Opening again restores the type with its enabling, and the T split.
  Open();
  EXPECT_TRUE(dialog->FindControl(B2::kTee)->Checked());
  EXPECT_FALSE(Enabled(B2::kOutlet));
  EXPECT_EQ(Text(B2::kLeftUpper), "150");
  EXPECT_EQ(Text(B2::kLeftLower), "350");  // 500 was the last width written
}

TEST_F(Bunki2DialogTest, SettingsSurviveOpeningAndTheLeftWidthStaysOutOfTheName) {
  Open();
  ASSERT_TRUE(dialog->UserClick(B2::kBothWays));
  ASSERT_TRUE(dialog->UserSetText(B2::kLeft, "500"));
  ASSERT_TRUE(dialog->UserSetText(B2::kLeftUpper, "120"));  // T2 380
  ASSERT_TRUE(dialog->UserClick(B2::kBaseInnerCorner));
  const auto saved = test.Lines("Bunki2.ini");
  ASSERT_EQ(saved.size(), 19u);
  EXPECT_EQ(saved[0], "120");
  EXPECT_EQ(saved[8], "380");
  EXPECT_EQ(saved[9], "500");
  EXPECT_EQ(saved[13], "1");
  const std::string sum = NameSum();

  // Reopening shows the uneven split as it was saved and writes it back.
  Open();
  EXPECT_EQ(Text(B2::kLeftUpper), "120");
  EXPECT_EQ(Text(B2::kLeftLower), "380");
  EXPECT_TRUE(dialog->FindControl(B2::kBaseInnerCorner)->Checked());
  EXPECT_EQ(test.Lines("Bunki2.ini"), saved);
  EXPECT_EQ(NameSum(), sum);
  // A settings file that differs in the left branch width alone gives the
  // same sum in the name; any other line changes it.
  auto other = saved;
  other[9] = "900";
  test.Write("Bunki2.ini", other);
  Open();
  EXPECT_EQ(test.Lines("Bunki2.ini")[9], "900");
  EXPECT_EQ(NameSum(), sum);
  other[10] = "101";
  test.Write("Bunki2.ini", other);
  Open();
  EXPECT_NE(NameSum(), sum);
}

TEST_F(Bunki3DialogTest, DivisionFromSetTheSizeListAndTheWidth) {
  Open();
  ASSERT_EQ(test.Lines("DrawName.ini").at(0).substr(0, 3), "SN_");
  ASSERT_TRUE(dialog->UserSetText(B3::kRatio, "1-1-1"));
  ASSERT_TRUE(dialog->UserSetText(B3::kMain, "1000"));  // typing divides at once
  EXPECT_EQ(Text(B3::kMainLeft), "335");
  EXPECT_EQ(Text(B3::kMainMiddle), "335");
  EXPECT_EQ(Text(B3::kMainRight), "330");
  EXPECT_EQ(test.Lines("Bunki3.ini")[7], "330");
  ASSERT_TRUE(
      dialog->UserSelect(B3::kMainSizes, dialog->FindControl(B3::kMainSizes)->FindExact("900")));
  EXPECT_EQ(Text(B3::kMainLeft), "300");
  EXPECT_EQ(Text(B3::kMainMiddle), "300");
  EXPECT_EQ(Text(B3::kMainRight), "300");

  // With an empty ratio a size changes the width only; nothing is written.
  ASSERT_TRUE(dialog->UserSetText(B3::kRatio, ""));
  const std::string name = test.Bytes("DrawName.ini");
  ASSERT_TRUE(
      dialog->UserSelect(B3::kMainSizes, dialog->FindControl(B3::kMainSizes)->FindExact("1000")));
  EXPECT_EQ(Text(B3::kMain), "1000");
  EXPECT_EQ(Text(B3::kMainLeft), "300");
  EXPECT_EQ(test.Bytes("DrawName.ini"), name);

  // A ratio summing to 0: "SET" and the size list say so, typing stays quiet.
  ASSERT_TRUE(dialog->UserSetText(B3::kRatio, "0-0-0"));
  ASSERT_TRUE(dialog->UserSetText(B3::kMain, "1200"));
  EXPECT_TRUE(test.host.messages.empty());
  ASSERT_TRUE(dialog->UserClick(B3::kSet));
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.host.messages[0].caption, "入力確認");
  EXPECT_EQ(Text(B3::kMainLeft), "300");
  EXPECT_EQ(test.Bytes("DrawName.ini"), name);
}

TEST_F(Bunki2DialogTest, TheZeroRatioExampleFitsTwoParts) {
  FollowTheZeroRatioExample(B2::kRatio, B2::kSet, {B2::kMainLeft, B2::kMainRight});
}

TEST_F(Bunki3DialogTest, TheZeroRatioExampleFitsThreeParts) {
  FollowTheZeroRatioExample(B3::kRatio, B3::kSet, {B3::kMainLeft, B3::kMainMiddle, B3::kMainRight});
}

TEST_F(Bunki3DialogTest, HalvesAndDifferencesAndTheSavedSplit) {
  Open();
  ASSERT_TRUE(dialog->UserSetText(B3::kLeft, "600"));
  EXPECT_EQ(Text(B3::kLeftUpper), "300");
  EXPECT_EQ(Text(B3::kLeftLower), "300");
  ASSERT_TRUE(dialog->UserSetText(B3::kOutlet, "400"));
  EXPECT_EQ(Text(B3::kOutletLeft), "200");
  EXPECT_EQ(Text(B3::kOutletRight), "200");
  ASSERT_TRUE(dialog->UserSetText(B3::kLeftLower, "250"));
  EXPECT_EQ(Text(B3::kLeftUpper), "350");
  ASSERT_TRUE(dialog->UserSetText(B3::kOutletLeft, "120"));
  EXPECT_EQ(Text(B3::kOutletRight), "280");
  // Typing is no update; "表示更新" writes, and opening again keeps the split.
  ASSERT_TRUE(dialog->UserClick(B3::kUpdate));
  const auto saved = test.Lines("Bunki3.ini");
  EXPECT_EQ(saved[0], "350");
  EXPECT_EQ(saved[13], "250");
  Open();
  EXPECT_EQ(Text(B3::kLeftUpper), "350");
  EXPECT_EQ(Text(B3::kOutletRight), "280");
  EXPECT_EQ(test.Lines("Bunki3.ini"), saved);
}

TEST_F(TukiDialogTest, OptionsAndTheSizeListRewriteAtOnce) {
  Open();
  ASSERT_EQ(test.Lines("DrawName.ini").at(0).substr(0, 3), "TT_");
  EXPECT_EQ(dialog->FindControl(TukiDialog::kAngles)->Items().size(), 8u);
  const size_t hopperRecords = test.Lines("DrawData.txt").size();
  ASSERT_TRUE(dialog->UserClick(TukiDialog::kNoHopper));
  ASSERT_TRUE(dialog->UserClick(TukiDialog::kRound));
  auto saved = test.Lines("Tuki.ini");
  EXPECT_EQ(saved[8], "2");
  EXPECT_EQ(saved[11], "1");
  EXPECT_NE(test.Lines("DrawData.txt").size(), hopperRecords);
  const std::string sum = NameSum();
  ASSERT_TRUE(dialog->UserSelect(TukiDialog::kSizes,
                                 dialog->FindControl(TukiDialog::kSizes)->FindExact("600")));
  EXPECT_EQ(Text(TukiDialog::kWidth), "600");
  EXPECT_EQ(test.Lines("Tuki.ini")[4], "600");
  EXPECT_NE(NameSum(), sum);
  // The shape does not enter the name.
  const std::string widthSum = NameSum();
  ASSERT_TRUE(dialog->UserClick(TukiDialog::kSquare));
  EXPECT_EQ(test.Lines("Tuki.ini")[11], "0");
  EXPECT_EQ(NameSum(), widthSum);
}

}  // namespace
}  // namespace tavelin
