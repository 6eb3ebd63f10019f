// The dash patterns of the common CAD line types, so that a block carries a
// real definition of every line type it names.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin::blockbuilder {

// The pattern of a known line type in millimetres (dash > 0, gap < 0, dot 0),
// matched without regard to case: CONTINUOUS (empty pattern), HIDDEN, CENTER,
// DASHED, DOT, PHANTOM, DASHDOT, DIVIDE, BORDER and their "2" (half) and "X2"
// (double) variants. Nothing for any other name.
std::optional<std::vector<double>> StandardPattern(std::string_view name);

// A picture of a pattern for the line type's description: "__ . __ ".
std::string PatternSketch(const std::vector<double>& pattern);

}  // namespace tavelin::blockbuilder
