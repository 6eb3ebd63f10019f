#include "framework/design_rules.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tavelin {

std::string Decimal(double value) {
  char buffer[64];
  auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  if (ec != std::errc()) return "?";
  std::string text(buffer, end);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

namespace {

constexpr const char* kClause = "（公共建築工事標準仕様書（機械設備工事編）2.2.1）";
constexpr double kPi = 3.14159265358979323846;
// Values typed in whole millimetres meet a limit exactly: only a real excess warns.
constexpr double kSlack = 1e-9;

// A millimetre length rounded up, tolerating the noise of a computation
// that should land on a whole number.
double CeilMillimetres(double value) { return std::ceil(value - 1e-7); }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool PositiveNumber(std::string_view text, double* value) {
  text = TrimBlanks(text);
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(*value) &&
         *value > 0.0;
}

}  // namespace

std::optional<DuctSection> ParseDuctSection(std::string_view sizeText) {
  static constexpr std::string_view kSeparators[] = {"×", "x", "X", "*", "＊"};
  for (std::string_view separator : kSeparators) {
    const size_t at = sizeText.find(separator);
    if (at == std::string_view::npos) continue;
    DuctSection section;
    if (!PositiveNumber(sizeText.substr(0, at), &section.width)) return std::nullopt;
    if (!PositiveNumber(sizeText.substr(at + separator.size()), &section.height)) {
      return std::nullopt;
    }
    return section;
  }
  return std::nullopt;
}

std::string AspectRatioWarning(const DuctSection& section, std::string_view what) {
  const double longSide = std::max(section.width, section.height);
  const double shortSide = std::min(section.width, section.height);
  if (!(shortSide > 0.0) || longSide <= kMaxAspectRatio * shortSide * (1.0 + kSlack)) return {};
  return "注意：" + std::string(what) + "の縦横比が " + Decimal(longSide / shortSide) +
         " で、原則の4を超えています" + kClause + "。短辺を " +
         Decimal(CeilMillimetres(longSide / kMaxAspectRatio)) + " 以上にしてください。";
}

double SmallestInnerRadius(double width) {
  return width > 0.0 ? CeilMillimetres(width * kMinInnerRadiusFactor) : 0.0;
}

std::string ElbowRadiusWarning(double width, double innerRadius) {
  if (!(width > 0.0) || !std::isfinite(width)) return {};
  const double radius = std::max(innerRadius, 0.0);
  if (radius >= width * kMinInnerRadiusFactor * (1.0 - kSlack)) return {};
  return "注意：内R " + Decimal(radius) + " が巾 " + Decimal(width) +
         " の1/2未満のため、案内羽根が必要です" + kClause + "。内Rを " +
         Decimal(SmallestInnerRadius(width)) + " 以上にすれば不要です。";
}

namespace {

double SideShift(const Reducer& reducer) {
  const double change = std::fabs(reducer.outletWidth - reducer.inletWidth);
  return reducer.oneSided ? change : change / 2.0;
}

double TaperLimit(const Reducer& reducer) {
  return reducer.outletWidth > reducer.inletWidth ? kMaxWideningTaperDeg : kMaxNarrowingTaperDeg;
}

}  // namespace

double TaperAngle(const Reducer& reducer) {
  const double shift = SideShift(reducer);
  if (shift == 0.0) return 0.0;
  if (!(reducer.length > 0.0)) return 90.0;
  return std::atan2(shift, reducer.length) * 180.0 / kPi;
}

double ShortestReducerLength(const Reducer& reducer) {
  const double shift = SideShift(reducer);
  if (shift == 0.0) return 0.0;
  return CeilMillimetres(shift / std::tan(TaperLimit(reducer) * kPi / 180.0));
}

std::string ReducerTaperWarning(const Reducer& reducer, double straights,
                                const LengthAdvice& advice) {
  const double shift = SideShift(reducer);
  if (!std::isfinite(shift) || shift == 0.0) return {};
  const double limit = TaperLimit(reducer);
  // Compared as lengths, so the shortest length itself never warns.
  if (reducer.length > 0.0 &&
      shift <= reducer.length * std::tan(limit * kPi / 180.0) * (1.0 + kSlack)) {
    return {};
  }
  const bool widening = reducer.outletWidth > reducer.inletWidth;
  const double shortest = ShortestReducerLength(reducer) + straights;
  return "注意：片落ちの" + std::string(widening ? "拡大" : "縮小") + "角度が " +
         Decimal(TaperAngle(reducer)) + "° で、" + Decimal(limit) +
         "° を超えるため整流板が必要です" + kClause + "。" +
         (advice ? advice(shortest)
                 : "長さを " + Decimal(shortest) + " 以上にすれば不要です。");
}

std::string DrawnReducerTaperWarning(double largeWidth, double p, double q, double length,
                                     double straights, const LengthAdvice& advice) {
  const double half = largeWidth / 2.0;
  const double shift = std::max(std::fabs(half - p), std::fabs(half - q));
  if (!std::isfinite(shift) || !std::isfinite(length)) return {};
  // The steeper side alone, as a one-sided reducer of that shift.
  if (std::string narrowing = ReducerTaperWarning({shift, 0.0, length, true}, straights, advice);
      !narrowing.empty()) {
    return narrowing;
  }
  std::string widening = ReducerTaperWarning({0.0, shift, length, true}, straights, advice);
  if (widening.empty()) return {};
  return "小さい側から流す場合の" + widening.substr(std::string("注意：").size());
}

std::vector<std::string> NonEmpty(std::vector<std::string> warnings) {
  std::erase(warnings, std::string());
  return warnings;
}

std::string JoinWarnings(const std::vector<std::string>& warnings) {
  std::string text;
  for (const std::string& warning : warnings) {
    if (warning.empty()) continue;
    if (!text.empty()) text += "\n";
    text += warning;
  }
  return text;
}

}  // namespace tavelin
