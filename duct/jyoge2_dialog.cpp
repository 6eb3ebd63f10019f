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
  std::vector<std::string> lines;
  if (Info().Exists(kSettingsFile)) lines = Info().ReadToEnd(kSettingsFile, kSettingsLines);
  LoadElbowControls(lines);
  const size_t n = lines.size();
  if (n > 16) SetItemText(kCount, lines[16]);
  if (n > 17) SetItemText(kPitch, lines[17]);
  if (n > 18) ApplyRadioText(lines[18], {kSameWay, kAlternate});
  opening_ = true;
}

std::string Jyoge2Dialog::SettingsFile() { return Refusal().empty() ? kSettingsFile : ""; }

std::vector<std::string> Jyoge2Dialog::SettingsLines() {
  std::vector<std::string> lines = JyogeDialog::SettingsLines();
  lines.push_back(ItemText(kCount));
  lines.push_back(ItemText(kPitch));
  lines.push_back(RadioText({kSameWay, kAlternate}));
  return lines;
}

ElbowRunInput Jyoge2Dialog::ReadRun() {
  ElbowRunInput run;
  run.first = ReadElbow();
  const double count = ToDouble(ItemText(kCount));
  run.count = count >= 1.0 && count <= kMaxRunElbows ? static_cast<int>(count) : 0;
  run.pitch = ToDouble(ItemText(kPitch));
  // Without an order chosen the elbows all turn the same way.
  run.order = IsChecked(kAlternate) ? ElbowRunOrder::kAlternating : ElbowRunOrder::kSame;
  return run;
}

void Jyoge2Dialog::BuildRecords(RecordList& list) {
  const std::string refusal = Refusal();
  if (opening_ && Writing()) {
    // Stored values that make no run say so once, as a confirmed change would.
    opening_ = false;
    if (!refusal.empty()) MessageBox(refusal, "入力確認");
  }
  // The preview shows what OK would hand off: nothing while refused.
  if (BuildUpDownElbowRun(list, ReadRun(), Common()) && !refusal.empty()) list.Clear();
}

std::string Jyoge2Dialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  const char* prefix = IsChecked(kAlternate) ? "ERS_" : "ERL_";
  return BlockName(prefix, settings, {Common().k1, Common().k2, Common().k3}, random);
}

std::string Jyoge2Dialog::Refusal() {
  const double count = ToDouble(ItemText(kCount));
  if (!(count >= 1.0 && count <= kMaxRunElbows) || count != std::floor(count)) {
    return "個数は1から20までの整数を入力してください。";
  }
  // Absurd sizes are named in their own field, before anything is worked
  // out from them.
  for (const SizeField& field : kSizeFields) {
    const double v = ToDouble(ItemText(field.id));
    if (std::fabs(v) <= kLargestSize) continue;
    const std::string name = field.name;
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
  const std::string refusal = Refusal();
  if (refusal.empty()) return true;
  MessageBox(refusal, "入力確認");
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
