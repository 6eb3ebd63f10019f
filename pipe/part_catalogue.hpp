// The fixed tables of the part menu (material, sheet prefix, folder and
// number of each pipe part category, the classification captions and the
// size codes) and the recipes that turn a choice into the names of a part:
// its block name stem and the file that holds its drawing.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin::pipe {

inline constexpr int kCategoryCount = 22;

struct CategoryInfo {
  int materialClass;        // 0 to 5: selects the size table and the size codes
  char letter;              // first letter of every name
  const char* sheetPrefix;  // "TS_": TS_Sheet1.tec ... TS_Sheet6.tec
  const char* folder;       // folder of the part files under the root
  const char* number;       // two digits in every name (see CategoryNumber)
};

// The row of category c (0 to 21); nullptr for any other index.
const CategoryInfo* Category(int category);

// The two-digit number of a category; the flexible joints (20) use "05" for
// their fourth classification (expansion joints) and "24" otherwise.
std::string CategoryNumber(int category, int classification);

// The size table file of a material class ("Gaikei_Koukan.ini" for 1).
const char* SizeTableFile(int materialClass);

// The captions of the six classification radios; "-" marks an unused button.
std::array<std::string, 6> ClassificationCaptions(int category);

// The two-digit code of a nominal size in a material class's table; empty
// for a size the table does not list (or a text that is not a whole number).
std::string SizeCode(int materialClass, std::string_view sizeText);

// "<category + 1>-<classification>": the key of the sheet and name lines.
std::string CatalogueKey(int category, int classification);

// The sheet picture of a choice: "waku.tec" while no classification is
// picked, else the category's prefix + "Sheet<n>.tec".
std::string SheetFileName(int category, int classification);

// The last line of SheetName.ini that begins with `key` (empty when none).
std::string SheetLineFor(const std::vector<std::string>& lines, std::string_view key);
// The first line of BuzaiName.ini whose text before the first ":" is `key`.
std::string NameLineFor(const std::vector<std::string>& lines, std::string_view key);
// Field n (from 1) after the key of a ":"-separated line; the last field when
// the line has fewer. Field 1 is the sheet field, field c + 1 is cell c.
std::string FieldAfterKey(std::string_view line, int n);

// The part code of a cell from its sheet field: the first three characters
// and the two-digit number of the last letter ("L10A" -> "L1001", Z -> 26).
// For cell 0 (a click outside the cells) the field followed by "Waku.tec".
// Empty when the field holds no usable code.
std::string PartCode(std::string_view field, int cell);

// "_A" for 0 degrees, "_B" for 45 ... "_H" for 315; empty for other angles.
std::string RotationSuffix(int degrees);

// Each digit as a letter: 0 P, 1 S, 2 T, 3 L, 4 N, 5 Q, 6 M, 7 K, 8 Z, 9 U.
std::string DigitsAsLetters(std::string_view digits);

// True when `text` can be part of a file name inside the root: printable
// ASCII without separators, wildcards or "..".
bool IsSafeName(std::string_view text);

// The names of one choice.
struct PartNames {
  std::string stem;      // letter + size codes + number + part code + rotation suffix
  std::string fileName;  // letter + coded digits + part code + ".ajc"; empty when no code
  std::string folder;    // folder of the category under the root
};

PartNames BuildPartNames(int category, int classification, std::string_view mainSize,
                         std::string_view branchSize, std::string_view partCode, int rotation);

}  // namespace tavelin::pipe
