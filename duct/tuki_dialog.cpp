#include "duct/tuki_dialog.hpp"

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

const GeneratorSetup kSetup{"Tuki",
                            TukiDialog::kStatusLine,
                            TukiDialog::kPreview,
                            TukiDialog::kSchematic,
                            "Tuki.tec",
                            100,
                            6.5,
                            115.0,
                            120.0};

const char* const kAngleChoices[] = {"0", "45", "90", "135", "180", "225", "270", "315"};

// Lines 1 to 7 of "Tuki.ini", in file order.
constexpr int kEdits[] = {TukiDialog::kJointEnd,    TukiDialog::kHopperDepth, TukiDialog::kStored,
                          TukiDialog::kHopperWidth, TukiDialog::kWidth,       TukiDialog::kFarEnd,
                          TukiDialog::kAngle};

}  // namespace

TukiDialog::TukiDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  SetMessageMap({
      {EventKind::kClick, kSquare, update},
      {EventKind::kClick, kRound, update},
      {EventKind::kClick, kHopper, update},
      {EventKind::kClick, kNoHopper, update},
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseSide, update},
      {EventKind::kClick, kMirror, update},
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      {EventKind::kSelChange, kSizes,
       [this] {
         if (CopySelection(kSizes, kWidth)) Rebuild(true);
       }},
      {EventKind::kSelChange, kAngles,
       [this] {
         if (CopySelection(kAngles, kAngle)) Rebuild(true);
       }},
  });
}

void TukiDialog::LoadControls() {
  // Without a settings file (or past its end) the controls keep what they show.
  if (Info().Exists(kSettingsFile)) ApplySettings(Info().ReadToEnd(kSettingsFile, kSettingsLines));
  FillListsFrom("KiokuSize.ini", {kSizes});
  Item(kAngles).ResetContent();
  for (const char* angle : kAngleChoices) Item(kAngles).AddString(angle);
}

void TukiDialog::ApplySettings(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i < std::size(kEdits) && i < n; ++i) SetItemText(kEdits[i], lines[i]);
  if (n > 7) ApplyRadioText(lines[7], {kBaseCentre, kBaseSide});
  if (n > 8) ApplyRadioText(lines[8], {kHopper, kNoHopper});
  if (n > 9) ApplyCheckText(lines[9], kMirror);
  if (n > 10) ApplyCheckText(lines[10], kCurrentLayer);
  if (n > 11) {
    // Each shape radio is set exactly when the line names it.
    SetChecked(kSquare, lines[11] == "0");
    SetChecked(kRound, lines[11] == "1");
  }
}

std::vector<std::string> TukiDialog::SettingsLines() {
  std::vector<std::string> lines;
  for (int id : kEdits) lines.push_back(ItemText(id));
  lines.push_back(RadioText({kBaseCentre, kBaseSide}));
  lines.push_back(RadioText({kHopper, kNoHopper}));
  lines.push_back(CheckText(kMirror));
  lines.push_back(CheckText(kCurrentLayer));
  lines.push_back(IsChecked(kSquare) ? "0" : "1");
  return lines;
}

void TukiDialog::BuildRecords(RecordList& list) {
  auto number = [this](int id) { return ToDouble(ItemText(id)); };
  TukiInput in;
  in.a = number(kJointEnd);
  in.b = number(kHopperDepth);
  in.c = number(kHopperWidth);
  in.w = number(kWidth);
  in.e = number(kFarEnd);
  in.hopper = IsChecked(kHopper);
  // The end is round unless "角-角" is set, as the settings line records it.
  in.squareToRound = !IsChecked(kSquare);
  in.sideBase = IsChecked(kBaseSide);
  in.mirror = IsChecked(kMirror);
  BuildTuki(list, in, Common());
}

std::string TukiDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  // The shape (line 12) does not enter the name.
  std::vector<std::string> values(settings.begin(),
                                  settings.begin() + std::min<size_t>(11, settings.size()));
  return BlockName("TT_", values, {Common().k1, Common().k2, Common().k3}, random);
}

std::string TukiDialog::EmptyDrawingMessage() {
  return "この寸法では枝管を作図できません。\n寸法を見直して表示更新をクリックしてください。";
}

}  // namespace tavelin
