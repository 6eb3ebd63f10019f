#include "pipe/part_catalogue.hpp"

#include <map>

#include "framework/text.hpp"

namespace tavelin::pipe {
namespace {

constexpr CategoryInfo kCategories[kCategoryCount] = {
    {2, 'E', "TS_", "TS", "13"},  {2, 'E', "DV_", "DV", "14"},  {1, 'K', "MD_", "MD1", "09"},
    {1, 'K', "MD_", "MD2", "10"}, {1, 'K', "DR_", "DR", "07"},  {1, 'K', "YO_", "YT", "02"},
    {1, 'K', "NE_", "NJ", "01"},  {3, 'D', "DO_", "DK", "17"},  {1, 'K', "KO_", "KT", "03"},
    {5, 'S', "NI_", "ST", "21"},  {5, 'S', "MO_", "MO", "20"},  {1, 'K', "FK_", "FT", "06"},
    {4, 'T', "C1_", "CK", "11"},  {4, 'T', "C2_", "CK", "11"},  {4, 'T', "C1_", "CS", "12"},
    {4, 'T', "C2_", "CS", "12"},  {1, 'K', "BC_", "SDB", "22"}, {1, 'K', "FC_", "CB", "22"},
    {1, 'K', "BF_", "BB", "22"},  {1, 'K', "CL_", "SB", "22"},  {1, 'K', "FJ_", "FS", "24"},
    {0, 'M', "SD_", "MDK", "25"},
};

constexpr int kFlexibleJoints = 20;
constexpr int kExpansionJointClassification = 4;

using Captions = std::array<std::string, 6>;

const Captions& CaptionsOf(int category) {
  static const Captions kNone = {"-", "-", "-", "-", "-", "-"};
  static const std::map<int, Captions> kTable = {
      {0, {"エルボ", "ティ－ズ", "ソケット・フランジ", "-", "-", "-"}},
      {1, {"エルボ", "45度エルボ・ＬＴ", "ＤＴ・Ｙ", "ソケット", "-", "-"}},
      {2, {"エルボ", "45度エルボ・ＴＹ", "ＳＴ・Ｙ", "ソケット", "-", "-"}},
      {5,
       {"ロングエルボ", "ショートエルボ", "ティーズ・レジュ－サ－", "5K・10Kフランジ",
        "20Kフランジ", "-"}},
      {6, {"エルボ", "ティ－ズ", "ソケット", "補助部材・フランジ", "-", "-"}},
      {7, {"エルボ", "ティ－ズ", "ソケット", "-", "-", "-"}},
      {8, {"エルボ", "ティ－ズ・ソケット", "-", "-", "-", "-"}},
      {9, {"エルボ", "ティ－ズ・ソケット", "水栓継手", "-", "-", "-"}},
      {10, {"エルボ", "片ソケットエルボ", "ティ－ズ・ソケット", "鋼管接続継手", "水栓継手", "-"}},
      {11, {"エルボ", "ティ－ズ・レジュ－サ－", "-", "-", "-", "-"}},
      {12,
       {"90°長曲管,短曲管", "両受け90°長曲管", "45°曲管", "90°Ｙ管,（TY,WTY）長ＴＹ",
        "Ｔ管（ST）,Ｙ管（Y）", "直管"}},
      {13,
       {"鉛管接続LTY,LY管", "90°L曲管,L管,GS,ソケット,COT", "塩ビ管用VST(1)", "塩ビ管用VST(2)",
        "CO付90°長曲管（台付）", "CO付90°両受長曲管（台付）"}},
      {16,
       {"ゲート弁(JIS-5K/10K)", "グローブ弁(JIS-5K/10K)", "チェッキ弁･Ｙ形ストレーナー", "ボール弁",
        "-", "-"}},
      {17,
       {"ゲート弁(JIS-5K/10K)", "グローブ弁・チェッキ弁(JIS-10K)", "Ｙ形ストレーナー(JIS-10K)", "-",
        "-", "-"}},
      {18, {"ADC製/702Z-21", "FCD製/700G-2M", "バタチェッキ/903C/901C", "-", "-", "-"}},
      {19, {"減圧弁(VENN)", "安全弁(VENN)", "電動弁(YAMATAKE)", "定水位弁(FMバルブ)", "-", "-"}},
      {20,
       {"SUSユニオン型フレキ", "SUSフランジ型フレキ", "合成ゴム製フレキ", "伸縮継手", "-", "-"}},
      {21,
       {"1.0Rベンド(90度/45度)", "1.5Rベンド(90度/45度)", "T管・45度Y管", "ダンパー類・補助部材",
        "-", "-"}},
  };
  // Categories that share their captions with another one.
  static const std::map<int, int> kSameAs = {{3, 2}, {4, 2}, {14, 12}, {15, 13}};
  if (auto same = kSameAs.find(category); same != kSameAs.end()) category = same->second;
  auto it = kTable.find(category);
  return it == kTable.end() ? kNone : it->second;
}

// Nominal size -> code, per material class.
const std::map<int, int>& SizeTable(int materialClass) {
  static const std::map<int, int> kTables[6] = {
      {{100, 1},
       {125, 2},
       {150, 3},
       {175, 4},
       {200, 5},
       {225, 6},
       {250, 7},
       {275, 8},
       {300, 9},
       {325, 10},
       {350, 11},
       {375, 12},
       {400, 13},
       {450, 14},
       {500, 15}},
      {{10, 2},   {15, 3},   {20, 5},   {25, 6},   {32, 7},   {40, 8},   {50, 9},
       {65, 10},  {80, 11},  {100, 12}, {125, 13}, {150, 14}, {200, 15}, {250, 16},
       {300, 17}, {350, 18}, {400, 19}, {450, 20}, {500, 21}, {550, 22}, {600, 23}},
      {{13, 3},
       {16, 4},
       {20, 5},
       {25, 6},
       {30, 7},
       {40, 8},
       {50, 9},
       {65, 10},
       {75, 11},
       {100, 12},
       {125, 13},
       {150, 14},
       {200, 15},
       {250, 16},
       {300, 17},
       {350, 18},
       {400, 19}},
      {{8, 1},
       {10, 2},
       {15, 3},
       {18, 4},
       {20, 5},
       {25, 6},
       {32, 7},
       {40, 8},
       {50, 9},
       {65, 10},
       {80, 11},
       {100, 12},
       {125, 13},
       {150, 14}},
      {{40, 8},
       {50, 9},
       {65, 10},
       {75, 11},
       {100, 12},
       {125, 13},
       {150, 14},
       {200, 15},
       {250, 16},
       {300, 17}},
      {{13, 3}, {20, 5}, {25, 6}, {30, 7}, {40, 8}, {50, 9}, {60, 10}},
  };
  static const std::map<int, int> kEmpty;
  return materialClass >= 0 && materialClass < 6 ? kTables[materialClass] : kEmpty;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

const CategoryInfo* Category(int category) {
  if (category < 0 || category >= kCategoryCount) return nullptr;
  return &kCategories[category];
}

std::string CategoryNumber(int category, int classification) {
  const CategoryInfo* info = Category(category);
  if (!info) return {};
  if (category == kFlexibleJoints && classification == kExpansionJointClassification) return "05";
  return info->number;
}

const char* SizeTableFile(int materialClass) {
  static const char* const kFiles[6] = {"Gaikei_Maru.ini",   "Gaikei_Koukan.ini", "Gaikei_Enbi.ini",
                                        "Gaikei_Doukan.ini", "Gaikei_cip.ini",    "Gaikei_sus.ini"};
  return materialClass >= 0 && materialClass < 6 ? kFiles[materialClass] : "";
}

std::array<std::string, 6> ClassificationCaptions(int category) { return CaptionsOf(category); }

std::string SizeCode(int materialClass, std::string_view sizeText) {
  std::string_view text = Trimmed(sizeText);
  if (text.empty() || text.size() > 6) return {};
  for (char c : text) {
    if (c < '0' || c > '9') return {};
  }
  const auto& table = SizeTable(materialClass);
  auto it = table.find(ToInt(text));
  if (it == table.end()) return {};
  std::string code = FormatD(it->second);
  return code.size() < 2 ? "0" + code : code;
}

std::string CatalogueKey(int category, int classification) {
  return FormatD(category + 1) + "-" + FormatD(classification);
}

std::string SheetFileName(int category, int classification) {
  if (classification == 0) return "waku.tec";
  const CategoryInfo* info = Category(category);
  return std::string(info ? info->sheetPrefix : "") + "Sheet" + FormatD(classification) + ".tec";
}

std::string SheetLineFor(const std::vector<std::string>& lines, std::string_view key) {
  std::string found;
  for (const std::string& line : lines) {
    if (!key.empty() && line.rfind(key, 0) == 0) found = line;
  }
  return found;
}

std::string NameLineFor(const std::vector<std::string>& lines, std::string_view key) {
  for (const std::string& line : lines) {
    if (line.substr(0, line.find(':')) == key) return line;
  }
  return {};
}

std::string FieldAfterKey(std::string_view line, int n) {
  std::vector<std::string> fields = Split(line, ':');
  // fields[0] is the key.
  if (fields.size() < 2 || n < 1) return {};
  size_t index = static_cast<size_t>(n);
  return index < fields.size() ? fields[index] : fields.back();
}

std::string PartCode(std::string_view field, int cell) {
  if (cell == 0) return std::string(field) + "Waku.tec";
  if (field.size() < 2) return {};
  char last = field.back();
  if (last >= 'a' && last <= 'z') last = static_cast<char>(last - 'a' + 'A');
  if (last < 'A' || last > 'Z') return {};
  int number = last - 'A' + 1;
  std::string digits = FormatD(number);
  if (digits.size() < 2) digits = "0" + digits;
  return std::string(field.substr(0, 3)) + digits;
}

std::string RotationSuffix(int degrees) {
  if (degrees < 0 || degrees >= 360 || degrees % 45 != 0) return {};
  return std::string("_") + static_cast<char>('A' + degrees / 45);
}

std::string DigitsAsLetters(std::string_view digits) {
  static const char kLetters[] = "PSTLNQMKZU";
  std::string letters;
  for (char d : digits) {
    if (d >= '0' && d <= '9') letters += kLetters[d - '0'];
  }
  return letters;
}

bool IsSafeName(std::string_view text) {
  if (text.empty() || text.find("..") != std::string_view::npos) return false;
  for (char c : text) {
    if (c <= ' ' || c > '~') return false;
    if (std::string_view("/\\:*?\"<>|,").find(c) != std::string_view::npos) return false;
  }
  return true;
}

PartNames BuildPartNames(int category, int classification, std::string_view mainSize,
                         std::string_view branchSize, std::string_view partCode, int rotation) {
  PartNames names;
  const CategoryInfo* info = Category(category);
  if (!info) return names;
  const std::string s1 = SizeCode(info->materialClass, mainSize);
  const std::string s2 = SizeCode(info->materialClass, branchSize);
  const std::string number = CategoryNumber(category, classification);
  // A code that could leave the part folder (or break the block name) is no code.
  const std::string code = IsSafeName(partCode) ? std::string(partCode) : std::string();
  names.folder = info->folder;
  names.stem = std::string(1, info->letter) + s1 + s2 + number + code + RotationSuffix(rotation);
  if (!code.empty()) {
    names.fileName =
        std::string(1, info->letter) + DigitsAsLetters(s1 + s2 + number) + code + ".ajc";
  }
  return names;
}

}  // namespace tavelin::pipe
