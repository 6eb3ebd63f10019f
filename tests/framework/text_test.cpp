#include <gtest/gtest.h>

#include <cstdio>

#include <clocale>
#include <cmath>

#include "framework/codepage.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

TEST(Conversions, LeadingNumberIsTakenAndTheRestIgnored) {
  EXPECT_DOUBLE_EQ(ToDouble("12.5abc"), 12.5);
  EXPECT_DOUBLE_EQ(ToDouble("  -3.25 mm"), -3.25);
  EXPECT_DOUBLE_EQ(ToDouble("+.5"), 0.5);
  EXPECT_DOUBLE_EQ(ToDouble("1e3x"), 1000.0);
  EXPECT_DOUBLE_EQ(ToDouble("2e"), 2.0);  // a bare exponent mark is not part of the number
  EXPECT_DOUBLE_EQ(ToDouble("abc"), 0.0);
  EXPECT_DOUBLE_EQ(ToDouble(""), 0.0);
  EXPECT_DOUBLE_EQ(ToDouble("-"), 0.0);
  EXPECT_DOUBLE_EQ(ToDouble("#25"), 0.0);
  EXPECT_EQ(ToDouble("1e999"), HUGE_VAL);
  EXPECT_EQ(ToDouble("-1e999"), -HUGE_VAL);
  EXPECT_EQ(ToDouble("1e-999"), 0.0);
  // Exponents beyond a long, which overflowed the magnitude.
  EXPECT_EQ(ToDouble("189.74e99999999999999999999"), HUGE_VAL);
  EXPECT_EQ(ToDouble("1e-99999999999999999999"), 0.0);
  EXPECT_EQ(ToInt("42px"), 42);
  EXPECT_EQ(ToInt(" -7"), -7);
  EXPECT_EQ(ToInt("12.9"), 12);
  EXPECT_EQ(ToInt("x1"), 0);
  EXPECT_EQ(ToInt("99999999999"), 2147483647);
  EXPECT_EQ(ToInt("-99999999999"), -2147483647 - 1);
}

TEST(Conversions, GarbageNeverThrowsAndGivesZero) {
  for (const char* garbage : {"\xff\xfe", "..", "--5", "e5", "nan", "inf", "\t\n", "１２"}) {
    EXPECT_EQ(ToDouble(garbage), 0.0) << garbage;
    EXPECT_EQ(ToInt(garbage), 0) << garbage;
  }
}

TEST(Conversions, FormattingIgnoresTheUsersLocale) {
  // A locale with a decimal comma (the set-up installs locales-all) must not
  // reach the files.
  const char* previous = std::setlocale(LC_ALL, nullptr);
  std::string saved = previous ? previous : "C";
  const bool switched = std::setlocale(LC_ALL, "de_DE.UTF-8") ||
                        std::setlocale(LC_ALL, "fr_FR.UTF-8") ||
                        std::setlocale(LC_ALL, "de_DE.utf8");
  ASSERT_TRUE(switched) << "no locale with a decimal comma is installed (Debian: locales-all)";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  EXPECT_STREQ(probe, "1,5");  // the switch took effect for the C run-time
  EXPECT_EQ(FormatF(1820.5), "1820.500000");
  EXPECT_EQ(FormatF(-0.0000004), "-0.000000");
  EXPECT_EQ(FormatF(100), "100.000000");
  EXPECT_DOUBLE_EQ(ToDouble("3.75"), 3.75);
  EXPECT_DOUBLE_EQ(ToDouble("3,75"), 3.0);
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(Conversions, IntegerTextCutsTowardZero) {
  EXPECT_EQ(IntegerText(0.5 * 355), "177");
  EXPECT_EQ(IntegerText(-12.9), "-12");
  EXPECT_EQ(IntegerText(150.0), "150");
  EXPECT_EQ(FormatD(-3), "-3");
}

TEST(Tokens, FieldsSplitAtDashWithTheLastRepeated) {
  EXPECT_EQ(Token("DUCT-2-7", 1), "DUCT");
  EXPECT_EQ(Token("DUCT-2-7", 2), "2");
  EXPECT_EQ(Token("DUCT-2-7", 3), "7");
  EXPECT_EQ(Token("DUCT-2-7", 5), "7");
  EXPECT_EQ(Token("LONE", 1), "LONE");
  EXPECT_EQ(Token("LONE", 3), "LONE");
  EXPECT_EQ(Token("-5", 1), "");
  EXPECT_EQ(Token("-5", 2), "5");
  EXPECT_EQ(Token("a--b", 2), "");
  EXPECT_EQ(Token("a-b", 0), "");
  EXPECT_EQ(Token("", 2), "");
}

TEST(Tokens, TextAfterTheFirstDash) {
  EXPECT_EQ(TextAfterFirstDash("DUCT-2-7").rest, "2-7");
  EXPECT_TRUE(TextAfterFirstDash("A-").found);
  EXPECT_EQ(TextAfterFirstDash("A-").rest, "");
  EXPECT_FALSE(TextAfterFirstDash("NODASH").found);
}

TEST(Tokens, SplitKeepsEmptyFields) {
  auto fields = Split("1,,3,", ',');
  ASSERT_EQ(fields.size(), 4u);
  EXPECT_EQ(fields[1], "");
  EXPECT_EQ(fields[3], "");
  EXPECT_EQ(Field("a,b,c", ',', 2), "b");
  EXPECT_EQ(Field("a,b,c", ',', 4), "");
}

TEST(CodePage, JapaneseSurvivesTheRoundTrip) {
  const std::string text = "空調ダクト-CONTINUOUS-4 ｱﾝｸﾞﾙ ①";
  std::string bytes = Utf8ToCp932(text);
  EXPECT_NE(bytes, text);
  EXPECT_EQ(bytes.substr(0, 2), "\x8b\xf3");  // 空 in Shift-JIS
  EXPECT_EQ(Cp932ToUtf8(bytes), text);
}

TEST(CodePage, UnmappableAndBrokenInputIsReplacedNotLost) {
  EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x98\x80z"), "a?z");  // an emoji has no CP932 form
  std::string broken = Cp932ToUtf8("A\x82");            // a lead byte without its trail
  EXPECT_EQ(broken.substr(0, 1), "A");
  EXPECT_NE(broken.find("\xEF\xBF\xBD"), std::string::npos);
}

}  // namespace
}  // namespace tavelin
