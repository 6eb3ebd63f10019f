#include "duct/smagari_dialog.hpp"

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

const GeneratorSetup kSetup{"Smagari",
                            SmagariDialog::kStatusLine,
                            SmagariDialog::kPreview,
                            SmagariDialog::kSchematic,
                            "Smagari.tec",
                            100,
                            7.5,
                            100.0,
                            80.0};

const char* const kAngleChoices[] = {"0", "45", "90", "135", "180", "225", "270", "315"};

// Lines 1 to 7 of "Smagari.ini", in file order.
constexpr int kEdits[] = {SmagariDialog::kWidth, SmagariDialog::kOffset,    SmagariDialog::kRadius,
                          SmagariDialog::kAngle, SmagariDialog::kUpperStub, SmagariDialog::kLength,
                          SmagariDialog::kStored};

}  // namespace

SmagariDialog::SmagariDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto editing = [this] { ShowEditing(); };
  // Typing in a stub recomputes A; while the dialog fills its controls the
  // saved A stands (a longer A, with a gap between the bends, is the user's).
  auto length = [this] {
    if (Ready()) SetShortestLength();
  };
  SetMessageMap({
      {EventKind::kClick, kBaseLeft, update},
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseRight, update},
      {EventKind::kClick, kMirror, update},
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      {EventKind::kClick, kShortest, [this] { OnShortest(); }},
      {EventKind::kSelChange, kSizes,
       [this] {
         if (CopySelection(kSizes, kWidth)) Rebuild(true);
       }},
      {EventKind::kSelChange, kAngles,
       [this] {
         if (CopySelection(kAngles, kAngle)) Rebuild(true);
       }},
      {EventKind::kEditChange, kUpperStub, length},
      {EventKind::kEditChange, kLowerStub, length},
      {EventKind::kEditChange, kWidth, editing},
      {EventKind::kEditChange, kOffset, editing},
      {EventKind::kEditChange, kRadius, editing},
      {EventKind::kEditChange, kLength, editing},
  });
}

void SmagariDialog::LoadControls() {
  // Without a settings file (or past its end) the controls keep what they show.
  if (Info().Exists(kSettingsFile)) ApplySettings(Info().ReadToEnd(kSettingsFile, kSettingsLines));
  FillListsFrom("KiokuSize.ini", {kSizes});
  Item(kAngles).ResetContent();
  for (const char* angle : kAngleChoices) Item(kAngles).AddString(angle);
}

void SmagariDialog::ApplySettings(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i < std::size(kEdits) && i < n; ++i) SetItemText(kEdits[i], lines[i]);
  if (n > 10) SetItemText(kLowerStub, lines[10]);
  if (n > 7) ApplyRadioText(lines[7], {kBaseLeft, kBaseCentre, kBaseRight});
  if (n > 8) ApplyCheckText(lines[8], kMirror);
  if (n > 9) ApplyCheckText(lines[9], kCurrentLayer);
}

std::vector<std::string> SmagariDialog::SettingsLines() {
  std::vector<std::string> lines;
  for (int id : kEdits) lines.push_back(ItemText(id));
  lines.push_back(RadioText({kBaseLeft, kBaseCentre, kBaseRight}));
  lines.push_back(CheckText(kMirror));
  lines.push_back(CheckText(kCurrentLayer));
  lines.push_back(ItemText(kLowerStub));
  return lines;
}

void SmagariDialog::BuildRecords(RecordList& list) {
  auto number = [this](int id) { return ToDouble(ItemText(id)); };
  SmagariInput in;
  in.w = number(kWidth);
  in.s = number(kOffset);
  in.r = number(kRadius);
  in.lt = number(kUpperStub);
  in.a = number(kLength);
  in.lb = number(kLowerStub);
  switch (CheckedOf({kBaseLeft, kBaseCentre, kBaseRight})) {
    case kBaseLeft:
      in.base = 1;
      break;
    case kBaseRight:
      in.base = 3;
      break;
    default:
      in.base = 2;
      break;
  }
  in.mirror = IsChecked(kMirror);
  BuildSmagari(list, in, Common());
}

std::string SmagariDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName("SK_", settings, {Common().k1, Common().k2, Common().k3}, random);
}

std::string SmagariDialog::EmptyDrawingMessage() {
  return "この寸法ではS字管を作図できません。\n寸法を見直して表示更新をクリックしてください。";
}

bool SmagariDialog::SetShortestLength() {
  std::optional<double> run = ShortestBendRun(
      ToDouble(ItemText(kWidth)), ToDouble(ItemText(kRadius)), ToDouble(ItemText(kOffset)));
  if (!run) return false;
  const int whole = ToInt(IntegerText(*run));
  const double length = ToDouble(ItemText(kUpperStub)) + ToDouble(ItemText(kLowerStub)) + whole;
  SetItemText(kLength, IntegerText(length));
  return true;
}

void SmagariDialog::OnShortest() {
  if (!SetShortestLength()) {
    MessageBox(
        "このオフセットでは2つの曲がりが接するS字管になりません。\n"
        "オフセットは0以上、巾＋2×Rの2倍以下にしてください。",
        "入力確認");
    return;
  }
  Rebuild(true);
}

}  // namespace tavelin
