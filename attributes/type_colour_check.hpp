// The checks shared by the attribute dialogs. An attribute entry is a layer
// name and a type-colour text ("line type number-colour number", e.g. "2-7");
// the attribute files store it as one line, layer + "-" + type-colour.
//
// The messages and the single checks are common to every attribute dialog;
// which message wins when several entries fail is each dialog's own rule
// (the square-duct and line dialogs use LastFailingCheck below).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin::attributes {

inline constexpr int kLineTypeCount = 11;  // line types 1 to 11 (SenSyu.ini)
inline constexpr int kMaxColour = 255;     // palette colours 1 to 255

inline constexpr const char* kCheckCaption = "入力確認";
inline constexpr const char* kTypeZeroMessage = "線種番号に0は入力できません。";
inline constexpr const char* kTypeOverMessage = "線種番号に12以上は入力できません。";
inline constexpr const char* kColourZeroMessage = "線色番号に0・または文字は入力できません。";
inline constexpr const char* kColourOverMessage = "線色番号に256以上は入力できません。";
inline constexpr const char* kLayerNameMessage =
    "レイヤ名にハイフォン・カンマ・ドットが\n含まれていますので登録できません。";
// A comma passes the number checks ("1,7" reads as type 1, colour 1) but
// would split the comma-separated records the colour is copied into.
inline constexpr const char* kTypeColourCommaMessage = "種-色にカンマ（,）は入力できません。";
// Shown in the type-colour field of a stored line that holds no "-".
inline constexpr const char* kMissingTypeColour = "Error";

// The two numbers of a type-colour text: the integer values of tokens 1 and
// 2 (split at "-"); text that does not start with a number counts as 0, and
// a text without "-" gives the same number twice.
struct TypeColour {
  int type = 0;
  int colour = 0;
};
TypeColour ReadTypeColour(std::string_view text);

// Everything wrong with one type-colour text; several faults can hold at once.
struct TypeColourFaults {
  bool typeZero = false;    // line type 0, or no number
  bool typeOver = false;    // line type 12 or more
  bool colourZero = false;  // colour 0, or no number
  bool colourOver = false;  // colour 256 or more
  bool Any() const { return typeZero || typeOver || colourZero || colourOver; }
};
TypeColourFaults CheckTypeColour(std::string_view text);

// The checks numbered in the order the square-duct and line dialogs run them.
enum class TypeColourCode {
  kNone = 0,
  kTypeZero = 1,
  kTypeOver = 2,
  kColourZero = 3,
  kColourOver = 4
};

// The message of `code`; empty for kNone.
std::string MessageOf(TypeColourCode code);

// Runs the four checks (type 0, type over 11, colour 0, colour over 255) on
// every text in order; each failing check overwrites the code, so the result
// is the last failing check of the last failing text (kNone when all pass).
TypeColourCode LastFailingCheck(const std::vector<std::string>& typeColours);

// A layer name with "-", "." or "," cannot be stored ("-" separates the
// fields of a line; the others are refused as well). An empty name is fine.
bool IsRefusedLayerName(std::string_view layer);
bool AnyRefusedLayerName(const std::vector<std::string>& layers);

// One attribute entry as the dialogs edit it.
struct AttributeEntry {
  std::string layer;
  std::string typeColour;
};

// A stored line opened for editing: token 1 is the layer, everything after
// the first "-" the type-colour text, or "Error" when the line has no "-".
AttributeEntry SplitAttributeLine(std::string_view line);
// The stored line: layer + "-" + type-colour, both as typed.
std::string JoinAttributeLine(const AttributeEntry& entry);

// The square-duct and line dialogs' checks of their entries: first the
// type-colour texts (LastFailingCheck), then, when `refuseCommas` is set, a
// comma in any type-colour text, then the layer names; each stage runs only
// when the one before passed. The message to show, or nothing when the
// entries may be stored.
std::optional<std::string> RefusalOfEntries(const std::vector<AttributeEntry>& entries,
                                            bool refuseCommas = false);

// The same checks, with the field that failed: the entry (the last failing
// type-colour text, else the first with a comma, else the first refused
// layer name) and whether its layer or its type-colour is at fault.
struct Refusal {
  std::string message;
  size_t entry = 0;
  bool layer = false;
};
std::optional<Refusal> FindRefusal(const std::vector<AttributeEntry>& entries,
                                   bool refuseCommas = false);

}  // namespace tavelin::attributes
