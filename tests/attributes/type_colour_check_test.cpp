#include "attributes/type_colour_check.hpp"

#include <gtest/gtest.h>

namespace tavelin::attributes {
namespace {

using Code = TypeColourCode;

TEST(TypeColourCheck, EachTextEndsOnItsLastFailingCheck) {
  struct Case {
    const char* text;
    Code code;
  };
  const Case cases[] = {
      {"11-255", Code::kNone},
      {"1-1", Code::kNone},
      {"2-7-junk", Code::kNone},
      {"12-255", Code::kTypeOver},
      {"11-256", Code::kColourOver},
      {"0-7", Code::kTypeZero},
      {"", Code::kColourZero},
      {"0-256", Code::kColourOver},
      {"12-0", Code::kColourZero},
      {"12-abc", Code::kColourZero},
      {"5", Code::kNone},
      {"12", Code::kTypeOver},
      {"300", Code::kColourOver},
      {"-3-5", Code::kTypeZero},
      {"1--5", Code::kColourZero},
      {" 3- 9", Code::kNone},
      {"99999999999-1", Code::kTypeOver},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LastFailingCheck({c.text}), c.code) << '"' << c.text << '"';
  }
}

TEST(TypeColourCheck, TheLastFailingTextWinsWhateverItsCheck) {
  EXPECT_EQ(LastFailingCheck({"1-256", "0-7"}), Code::kTypeZero);
  EXPECT_EQ(LastFailingCheck({"0-7", "1-256"}), Code::kColourOver);
  // A passing text after a failing one does not clear the code.
  EXPECT_EQ(LastFailingCheck({"12-7", "1-0", "1-7"}), Code::kColourZero);
  EXPECT_EQ(MessageOf(LastFailingCheck({"1-256", "12-1"})), "線種番号に12以上は入力できません。");
  EXPECT_EQ(MessageOf(Code::kNone), "");
}

TEST(TypeColourCheck, LayerNamesRefuseOnlyDashDotAndComma) {
  for (const char* bad : {"A-B", "A.B", "A,B", "-", "."})
    EXPECT_TRUE(IsRefusedLayerName(bad)) << bad;
  for (const char* good : {"", "DUCT_A", "空調 ダクト", "ダクト－１", "ダクト，１"}) {
    EXPECT_FALSE(IsRefusedLayerName(good)) << good;
  }
}

TEST(TypeColourCheck, StoredLinesSplitAndJoin) {
  AttributeEntry entry = SplitAttributeLine("DUCT-2-7-x");
  EXPECT_EQ(entry.layer, "DUCT");
  EXPECT_EQ(entry.typeColour, "2-7-x");
  EXPECT_EQ(JoinAttributeLine(entry), "DUCT-2-7-x");
  EXPECT_EQ(SplitAttributeLine("LONE").typeColour, "Error");
  EXPECT_EQ(SplitAttributeLine("LONE").layer, "LONE");
  EXPECT_EQ(SplitAttributeLine("-1-4").layer, "");
  EXPECT_EQ(SplitAttributeLine("").typeColour, "Error");
}

TEST(TypeColourCheck, LayerNamesAreCheckedOnlyWhenTypeColoursPass) {
  EXPECT_EQ(RefusalOfEntries({{"A.B", "1-7"}, {"OK", "1-300"}}), kColourOverMessage);
  EXPECT_EQ(RefusalOfEntries({{"A.B", "1-7"}, {"OK", "1-3"}}), kLayerNameMessage);
  EXPECT_FALSE(RefusalOfEntries({{"", "11-255"}, {"OK", "1-1"}}).has_value());
  // A comma is refused only where asked, after the numbers and before the layers.
  EXPECT_FALSE(RefusalOfEntries({{"OK", "1,7"}}).has_value());
  EXPECT_EQ(RefusalOfEntries({{"A.B", "1-7,2"}}, true), kTypeColourCommaMessage);
  EXPECT_EQ(RefusalOfEntries({{"OK", "1,7"}, {"OK", "0-7"}}, true), kTypeZeroMessage);
}

}  // namespace
}  // namespace tavelin::attributes
