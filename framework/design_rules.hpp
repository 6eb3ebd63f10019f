// Design-rule warnings from the public building standard for mechanical works
// (国土交通省「公共建築工事標準仕様書（機械設備工事編）」, square ducts, 2.2.1).
// They never block anything: a generator shows them under its status line,
// and the batch lists them per row. Each text is Japanese, cites the clause
// and, where one exists, says the fix (the smallest compliant radius, the
// shortest reducer length).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin {

// A generator that can say which design rules its fitting breaks.
class DesignRuleSource {
 public:
  virtual ~DesignRuleSource() = default;
  // The warnings for the controls as they stand; empty when none applies.
  virtual std::vector<std::string> DesignWarnings() = 0;
};

// The id of the warning line a generator's layout may carry under its status line.
inline constexpr int kDesignWarningLine = 1990;

// Limits of the standard.
inline constexpr double kMaxAspectRatio = 4.0;         // long side / short side, "in principle"
inline constexpr double kMinInnerRadiusFactor = 0.5;   // inner radius / width, else guide vanes
inline constexpr double kMaxWideningTaperDeg = 15.0;   // widening, else straighteners
inline constexpr double kMaxNarrowingTaperDeg = 30.0;  // narrowing

// A size typed as width and height: "600x150", "600X150", "600×150" or
// "600*150" (blanks allowed around the numbers). Nothing for a size that
// names one side only ("600"), or a side that is not a positive number.
struct DuctSection {
  double width = 0.0;
  double height = 0.0;
};
std::optional<DuctSection> ParseDuctSection(std::string_view sizeText);

// "" when the section's long side is at most 4 times its short side; else
// the warning, with the smallest short side that meets the rule. `what`
// names the duct in the text ("ダクト", "元管").
std::string AspectRatioWarning(const DuctSection& section, std::string_view what = "ダクト");

// The smallest whole-millimetre inner radius the rule allows for `width`.
double SmallestInnerRadius(double width);
// "" when the elbow's inner radius is at least half its width (a sharp
// inner corner has radius 0); else the warning with the smallest radius.
std::string ElbowRadiusWarning(double width, double innerRadius);

// A reducer from `inletWidth` to `outletWidth` (in the direction of the air)
// over `length`. Concentric: both sides slope by half the change; one-sided
// (eccentric): one side takes the whole change.
struct Reducer {
  double inletWidth = 0.0;
  double outletWidth = 0.0;
  double length = 0.0;
  bool oneSided = false;
};
// The angle in degrees of the steeper side against the duct axis (90 for a
// step with no length, 0 when the widths are equal).
double TaperAngle(const Reducer& reducer);
// The shortest whole-millimetre length that keeps the taper within its
// limit (15 degrees widening, 30 narrowing); 0 for equal widths.
double ShortestReducerLength(const Reducer& reducer);
// How a warning's advice reaches the shortest length (straights included):
// the sentence after "整流板が必要です…。". Empty: "長さを N 以上にすれば不要です。"
using LengthAdvice = std::function<std::string(double shortestLength)>;
// "" when the taper is within its limit; else the warning with that length,
// plus `straights` when the length the user types also holds straight parts.
std::string ReducerTaperWarning(const Reducer& reducer, double straights = 0.0,
                                const LengthAdvice& advice = {});

// The reducer generator's fitting, whose drawing does not say which way the
// air flows: the large end `largeWidth` wide about the centre line, the small
// end's sides `p` and `q` off it (towards negative and positive x), joined
// over a taper `length` long. The steeper side is checked: above 30 degrees
// it warns for either way, above 15 for use as a widening (air from the
// small end), each with the shortest length that meets it.
std::string DrawnReducerTaperWarning(double largeWidth, double p, double q, double length,
                                     double straights = 0.0, const LengthAdvice& advice = {});

// A number in a warning: at most two decimals, without trailing zeros, "."
// whatever the locale (a ratio of 4.007 must not read as the limit 4 it exceeds).
std::string Decimal(double value);

// The warnings that are not empty.
std::vector<std::string> NonEmpty(std::vector<std::string> warnings);

// Warnings joined for one line of the dialog, "" for none.
std::string JoinWarnings(const std::vector<std::string>& warnings);

}  // namespace tavelin
