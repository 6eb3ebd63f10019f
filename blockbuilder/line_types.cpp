#include "blockbuilder/line_types.hpp"

#include <cctype>
#include <cmath>

namespace tavelin::blockbuilder {
namespace {

struct Known {
  const char* name;
  std::vector<double> pattern;
};

const std::vector<Known>& BaseTypes() {
  static const std::vector<Known> kTypes = {
      {"HIDDEN", {6.35, -3.175}},
      {"DASHED", {12.7, -6.35}},
      {"CENTER", {31.75, -6.35, 6.35, -6.35}},
      {"PHANTOM", {31.75, -6.35, 6.35, -6.35, 6.35, -6.35}},
      {"DOT", {0.0, -6.35}},
      {"DASHDOT", {12.7, -6.35, 0.0, -6.35}},
      {"DIVIDE", {12.7, -6.35, 0.0, -6.35, 0.0, -6.35}},
      {"BORDER", {12.7, -6.35, 12.7, -6.35, 0.0, -6.35}},
  };
  return kTypes;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace

std::optional<std::vector<double>> StandardPattern(std::string_view name) {
  const std::string upper = Upper(name);
  if (upper == "CONTINUOUS") return std::vector<double>{};
  // The half-size centre line keeps a longer dash than a plain halving gives.
  if (upper == "CENTER2") return std::vector<double>{19.05, -3.175, 3.175, -3.175};
  for (const Known& known : BaseTypes()) {
    const std::string base = known.name;
    if (upper.rfind(base, 0) != 0) continue;
    const std::string suffix = upper.substr(base.size());
    double factor = 0.0;
    if (suffix.empty()) factor = 1.0;
    if (suffix == "2") factor = 0.5;
    if (suffix == "X2") factor = 2.0;
    if (factor == 0.0) continue;  // "DASHDOT" must not be taken for "DASHED" + something
    std::vector<double> pattern = known.pattern;
    for (double& element : pattern) element *= factor;
    return pattern;
  }
  return std::nullopt;
}

std::string PatternSketch(const std::vector<double>& pattern) {
  std::string sketch;
  for (double element : pattern) {
    if (element > 0.0) {
      sketch += element > 20.0 ? "____" : "__";
    } else if (element == 0.0) {
      sketch += ".";
    } else {
      sketch += " ";
    }
  }
  // Twice round, so the rhythm is visible.
  return sketch.empty() ? "Solid line" : sketch + sketch;
}

}  // namespace tavelin::blockbuilder
