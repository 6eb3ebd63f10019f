#include "framework/text.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tavelin {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double ToDouble(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const size_t mantissa = i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      end = j;
    }
  }
  double value = 0.0;
  std::string_view number = text.substr(mantissa, end - mantissa);
  std::string buffer(number);
  if (!buffer.empty() && buffer[0] == '.') buffer.insert(buffer.begin(), '0');
  auto result = std::from_chars(buffer.data(), buffer.data() + buffer.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Overflow gives a huge value, underflow zero, as the run-time does. The
    // magnitude is the count of integer digits (after leading zeros) plus the
    // exponent.
    long magnitude = 0;
    size_t k = 0;
    while (k < buffer.size() && (buffer[k] == '0')) ++k;
    while (k < buffer.size() && IsDigit(buffer[k])) ++k, ++magnitude;
    if (size_t e = buffer.find_first_of("eE"); e != std::string::npos) {
      // strtol saturates; any exponent beyond this decides alone.
      magnitude += std::clamp(std::strtol(buffer.c_str() + e + 1, nullptr, 10), -100000000L,
                              100000000L);
    }
    value = magnitude > 0 ? HUGE_VAL : 0.0;
  }
  return negative ? -value : value;
}

int ToInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  while (i < text.size() && IsDigit(text[i])) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    ++i;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string FormatF(double value) {
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  if (result.ec != std::errc()) return "0.000000";
  return std::string(buffer, result.ptr);
}

std::string FormatD(int value) { return std::to_string(value); }

std::string IntegerText(double value) { return FormatD(ToInt(FormatF(value))); }

std::string Token(std::string_view text, int t) {
  if (t <= 0) return {};
  std::string_view rest = text;
  std::string_view token;
  for (int k = 0; k < t; ++k) {
    size_t dash = rest.find('-');
    if (dash == std::string_view::npos) {
      token = rest;
      break;
    }
    token = rest.substr(0, dash);
    rest = rest.substr(dash + 1);
  }
  return std::string(token);
}

AfterDash TextAfterFirstDash(std::string_view text) {
  size_t dash = text.find('-');
  if (dash == std::string_view::npos) return {};
  return {true, std::string(text.substr(dash + 1))};
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> fields;
  size_t begin = 0;
  while (true) {
    size_t at = text.find(separator, begin);
    if (at == std::string_view::npos) {
      fields.emplace_back(text.substr(begin));
      return fields;
    }
    fields.emplace_back(text.substr(begin, at - begin));
    begin = at + 1;
  }
}

std::string Field(std::string_view text, char separator, int n) {
  if (n <= 0) return {};
  auto fields = Split(text, separator);
  if (static_cast<size_t>(n) > fields.size()) return {};
  return fields[n - 1];
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x < 0x80) x = static_cast<unsigned char>(std::tolower(x));
    if (y < 0x80) y = static_cast<unsigned char>(std::tolower(y));
    if (x != y) return false;
  }
  return true;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\u%04x", c);
          out += hex;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

}  // namespace tavelin
