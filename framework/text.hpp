// Text conversions with the semantics of the C run-time: a leading number is
// taken and the rest ignored, anything else is 0. Formatting never depends on
// the user's locale, so a decimal comma can never reach a file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavelin {

// "  12.5abc" -> 12.5, "abc" -> 0, "-3e2" -> -300, "+.5" -> 0.5.
double ToDouble(std::string_view text);

// "  42px" -> 42, "-7" -> -7, "x" -> 0; values beyond int saturate.
int ToInt(std::string_view text);

// "%f": six decimals, "." as the decimal point.
std::string FormatF(double value);

// "%d".
std::string FormatD(int value);

// The integer text of a number: "%f", converted back to an integer (the
// fraction cut toward zero) and written with "%d". 177.5 -> "177".
std::string IntegerText(double value);

// Token t (from 1) of a text split at "-": the last field when the text has
// fewer; token 0 is the empty text.
std::string Token(std::string_view text, int t);

// Everything after the first "-"; `found` is false when the text has none.
struct AfterDash {
  bool found = false;
  std::string rest;
};
AfterDash TextAfterFirstDash(std::string_view text);

// Splits at every occurrence of `separator`; "a,,b," gives {"a", "", "b", ""}.
std::vector<std::string> Split(std::string_view text, char separator);

// Field n (from 1) of a text split at `separator`; empty when missing.
std::string Field(std::string_view text, char separator, int n);

// Case-insensitive comparison of ASCII file names (other bytes compare as is).
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// `text` as a JSON string, quotes included: quotes, backslashes and control
// characters escaped, other bytes (UTF-8) as they are.
std::string JsonString(const std::string& text);

}  // namespace tavelin
