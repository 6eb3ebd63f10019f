// The data a block carries about itself: which generator drew it, with which
// settings, and a description in words, gathered from the hand-off folder.
#pragma once

#include <string>

#include "blockbuilder/hand_off_source.hpp"
#include "blockbuilder/tables.hpp"
#include "framework/block_file.hpp"

namespace tavelin {
class InfoFolder;
}

namespace tavelin::blockbuilder {

// Reads "Fitting.ini" of a job written from a fitting: the dialog, every
// settings file and the description's head and memo. Without it (a build on
// the info folder itself), "Command.ini" (the dialog), the generator's
// "<stem>.ini" and the active attribute set's memo ("Sentaku.ini",
// "Memo.ini"). A missing or unknown dialog gives no data; a settings file
// with a line too long for extended data is left out. Each is logged.
BlockData ReadBlockData(const InfoFolder& info, const Tables& tables, BuildLog& log);
// The same from a job's files wherever they are.
BlockData ReadBlockData(const HandOffSource& info, const Tables& tables, BuildLog& log);

// "一般両エルボ 外形 612 × 540 mm 属性【標準】 レイヤ DUCT, DUCT-H": `fitting`
// is the fitting's name and, when typed, its dimensions.
std::string DescribeBlock(std::string_view fitting, const Tables& tables, const std::string& memo);

}  // namespace tavelin::blockbuilder
