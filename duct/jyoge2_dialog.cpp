#include "duct/jyoge2_dialog.hpp"

#include <cmath>

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

// Up to 20 elbows of at most 28 records each, and the extents record.
const GeneratorSetup kSetup{"Jyoge2",
                            JyogeDialog::kStatusLine,
                            JyogeDialog::kPreview,
                            JyogeDialog::kSchematic,
                            "Jyoge2.tec",
                            100,
                            8.0,
                            129.0,
                            86.0,
                            600};

// No size of a drawing reaches this far (ten kilometres); a larger one is a
// slip of the keyboard, and would make a block name of hundreds of digits.
constexpr double kLargestSize = 1.0e7;

// The sizes the user types, with the names their fields carry.
struct SizeField {
  int id;
  const char* name;
};
constexpr SizeField kSizeFields[] = {
    {JyogeDialog::kWidth, "巾"},   {JyogeDialog::kHeight, "高さ"},   {JyogeDialog::kSectionX, "X"},
    {JyogeDialog::kSectionY, "Y"}, {JyogeDialog::kOffsetP, "P"},     {JyogeDialog::kOffsetQ, "Q"},
    {JyogeDialog::kStraight, "E"}, {Jyoge2Dialog::kPitch, "ピッチ"},
};

using J = JyogeDialog;
using K = Jyoge2Dialog;

// "Jyoge2.ini": the sixteen lines of the single elbow's "Jyoge.ini", then
// the count, the pitch and the order of the run.
const SettingsDeclaration kSettings{
    "Jyoge2.ini",
    {
        NumberLine("X", "断面X", "mm", J::kSectionX, kDescribed | kRequired),
        NumberLine("Y", "断面Y", "mm", J::kSectionY, kDescribed | kRequired),
        NumberLine("L", "L（表示更新で計算）", "mm", J::kLength),
        {.column = "stored4", .label = "保存値", .kind = ParamKind::kText, .control = J::kStored19},
        NumberLine("W", "W", "mm", J::kWidth, kDescribed | kRequired),
        NumberLine("P", "P", "mm", J::kOffsetP, kDescribed),
        NumberLine("Q", "Q", "mm", J::kOffsetQ, kDescribed),
        NumberLine("rotation", "角度", "°", J::kAngle),
        NumberLine("E", "E", "mm", J::kStraight, kDescribed),
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", J::kBaseCentre, "中心"},
                    {"2", J::kBaseUpperLeft, "左上"},
                    {"3", J::kBaseUpperRight, "右上"},
                    {"4", J::kBaseLowerLeft, "左下"},
                    {"5", J::kBaseLowerRight, "右下"}}},
        {.column = "turn",
         .label = "1個目",
         .kind = ParamKind::kChoice,
         .values = {{"1", J::kUp, "上がり"}, {"2", J::kDown, "下がり"}},
         .described = true},
        {.column = "symbol",
         .label = "断面記号",
         .kind = ParamKind::kChoice,
         .values = {{"1", J::kSymbolCross, "×"},
                    {"2", J::kSymbolDiagonal, "／"},
                    {"3", J::kSymbolHalf, "半"}}},
        {.column = "radius_factor",
         .label = "基準内R",
         .kind = ParamKind::kChoice,
         .values = {{"1", J::kHalfRadius, "0.5R"}, {"2", J::kFullRadius, "1R"}}},
        FlagLine("mirror", "左右反転", J::kMirror),
        FlagLine("current_layer", "現在のレイヤに作図", J::kCurrentLayer),
        NumberLine("H", "H", "mm", J::kHeight, kDescribed | kRequired),
        {.column = "count",
         .label = "個数",
         .kind = ParamKind::kInteger,
         .control = K::kCount,
         .min = 1,
         .max = kMaxRunElbows,
         .rangeMessage = "個数は1から20までの整数を入力してください。",
         .described = true,
         .required = true},
        NumberLine("pitch", "ピッチ", "mm", K::kPitch, kDescribed),
        {.column = "order",
         .label = "並び",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kSameWay, "同方向"}, {"2", K::kAlternate, "交互"}},
         .described = true},
    }};

}  // namespace

Jyoge2Dialog::Jyoge2Dialog(ui::AppContext& app) : JyogeDialog(app, kSetup) {
  using ui::EventKind;
  std::vector<ui::MessageEntry> entries = ElbowMessages();
  entries.push_back({EventKind::kClick, kSameWay, [this] { OnConfirmedChange(); }});
  entries.push_back({EventKind::kClick, kAlternate, [this] { OnConfirmedChange(); }});
  entries.push_back({EventKind::kEditChange, kCount, [this] { ShowEditing(); }});
  entries.push_back({EventKind::kEditChange, kPitch, [this] { ShowEditing(); }});
  SetMessageMap(std::move(entries));
}

void Jyoge2Dialog::LoadControls() {
  // The lists first, then the nineteen lines (without a settings file, or
  // past its end, the controls keep what they show).
  LoadElbowControls({});
  LoadDeclaredSettings();
  opening_ = true;
}

const SettingsDeclaration* Jyoge2Dialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& Jyoge2Dialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

std::string Jyoge2Dialog::SettingsFile() {
  return Refusal().empty() ? std::string(kSettings.file) : std::string();
}

std::vector<std::string> Jyoge2Dialog::SettingsLines() { return DeclaredSettingsLines(); }

ElbowRunInput Jyoge2Dialog::ReadRun() {
  ElbowRunInput run;
  run.first = ReadElbow();
  const double count = Number(kCount);
  run.count = count >= 1.0 && count <= kMaxRunElbows ? static_cast<int>(count) : 0;
  run.pitch = Number(kPitch);
  // Without an order chosen the elbows all turn the same way.
  run.order = IsChecked(kAlternate) ? ElbowRunOrder::kAlternating : ElbowRunOrder::kSame;
  return run;
}

void Jyoge2Dialog::BuildRecords(RecordList& list) {
  int field = 0;
  const std::string refusal = Refusal(&field);
  if (opening_ && Writing()) {
    // Stored values that make no run say so once, as a confirmed change would.
    opening_ = false;
    if (!refusal.empty()) RefuseValue(field, refusal, "入力確認");
  }
  // The preview shows what OK would hand off: nothing while refused.
  if (BuildUpDownElbowRun(list, ReadRun(), Common()) && !refusal.empty()) list.Clear();
}

std::string Jyoge2Dialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  const char* prefix = IsChecked(kAlternate) ? "ERS_" : "ERL_";
  return BlockName(prefix, settings, {Common().k1, Common().k2, Common().k3}, random);
}

std::string Jyoge2Dialog::Refusal(int* field) {
  int unused = 0;
  int& at = field ? *field : unused;
  const double count = Number(kCount);
  if (!(count >= 1.0 && count <= kMaxRunElbows) || count != std::floor(count)) {
    at = kCount;
    return "個数は1から20までの整数を入力してください。";
  }
  // Absurd sizes are named in their own field, before anything is worked
  // out from them.
  for (const SizeField& size : kSizeFields) {
    const double v = Number(size.id);
    if (std::fabs(v) <= kLargestSize) continue;
    const std::string name = size.name;
    at = size.id;
    if (v < 0.0) {
      return name + "の値が小さすぎます。\n" + name + "は" + IntegerText(-kLargestSize) +
             "以上にしてください。";
    }
    return name + "の値が大きすぎます。\n" + name + "は" + IntegerText(kLargestSize) +
           "以下にしてください。";
  }
  const ElbowRunInput run = ReadRun();
  const double minimum = MinimumRunPitch(run.first.shape, Common());
  if (run.count > 1 && !(run.pitch >= minimum)) {
    at = kPitch;
    // A pitch the elbows need beyond the largest one accepted is no advice.
    if (!(minimum <= kLargestSize)) {
      return "エルボが大きすぎるため、ピッチ" + IntegerText(kLargestSize) +
             "以下では重なります。\n寸法を見直してください。";
    }
    return "ピッチが短く、エルボが重なります。\nピッチは" + IntegerText(std::ceil(minimum)) +
           "以上にしてください。";
  }
  return {};
}

bool Jyoge2Dialog::CheckInput() {
  int field = 0;
  const std::string refusal = Refusal(&field);
  if (refusal.empty()) return true;
  RefuseValue(field, refusal, "入力確認");
  return false;
}

void Jyoge2Dialog::DrawPreviewIn(Canvas& canvas, const PixelRect& client) {
  DrawOffsetPreview(canvas, client, List(), 125.0, 0.2);
}

std::string Jyoge2Dialog::EmptyDrawingMessage() {
  return "この寸法では連続エルボを作図できません。\n上がり・下がりを選び、個数・ピッチ・寸法を"
         "見直して表示更新をクリックしてください。";
}

}  // namespace tavelin
