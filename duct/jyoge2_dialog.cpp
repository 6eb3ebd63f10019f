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

}  // namespace

Jyoge2Dialog::Jyoge2Dialog(ui::AppContext& app) : JyogeDialog(app, kSetup) {
  using ui::EventKind;
  std::vector<ui::MessageEntry> entries = ElbowMessages();
  entries.push_back({EventKind::kClick, kSameWay, [this] { Rebuild(true); }});
  entries.push_back({EventKind::kClick, kAlternate, [this] { Rebuild(true); }});
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
}

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
  BuildUpDownElbowRun(list, ReadRun(), Common());
}

std::string Jyoge2Dialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  const char* prefix = IsChecked(kAlternate) ? "ERS_" : "ERL_";
  return BlockName(prefix, settings, {Common().k1, Common().k2, Common().k3}, random);
}

bool Jyoge2Dialog::CheckInput() {
  const double count = ToDouble(ItemText(kCount));
  if (!(count >= 1.0 && count <= kMaxRunElbows) || count != std::floor(count)) {
    MessageBox("個数は1から20までの整数を入力してください。", "入力確認");
    return false;
  }
  const ElbowRunInput run = ReadRun();
  const double minimum = MinimumRunPitch(run.first.shape, Common());
  if (run.count > 1 && !(run.pitch >= minimum)) {
    MessageBox("ピッチが短く、エルボが重なります。\nピッチは" + IntegerText(std::ceil(minimum)) +
                   "以上にしてください。",
               "入力確認");
    return false;
  }
  return true;
}

void Jyoge2Dialog::DrawPreviewIn(Canvas& canvas, const PixelRect& client) {
  DrawOffsetPreview(canvas, client, List(), 125.0, 0.2);
}

std::string Jyoge2Dialog::EmptyDrawingMessage() {
  return "この寸法では連続エルボを作図できません。\n上がり・下がりを選び、個数・ピッチ・寸法を"
         "見直して表示更新をクリックしてください。";
}

}  // namespace tavelin
