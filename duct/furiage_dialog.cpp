#include "duct/furiage_dialog.hpp"

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kBlockPrefix = "FAG_";

const GeneratorSetup kSetup{"Furiage", FuriageDialog::kStatusLine, FuriageDialog::kPreview,
                            FuriageDialog::kSchematic, FuriageDialog::kSchematicFile, 100, 5.0,
                            80.0, 45.0};

// The preview keeps the duct in place while the base point moves.
constexpr double kPreviewNumerator = 120.0;
constexpr double kPreviewFraction = 0.25;

const char* const kAngleChoices[] = {"15", "30", "45", "60"};

// Lines 1 to 8 of "Furiage.ini", in file order.
constexpr int kEdits[] = {FuriageDialog::kWidth,      FuriageDialog::kHeight,
                          FuriageDialog::kRaise,      FuriageDialog::kMargin,
                          FuriageDialog::kLength,     FuriageDialog::kLowerStart,
                          FuriageDialog::kUpperStart, FuriageDialog::kAngle};

// The base radios in the order of their stored numbers 1 to 10.
constexpr int kBases[] = {1160, 1161, 1162, 1163, 1164, 1165, 1170, 1171, 1172, 1173};

}  // namespace

FuriageDialog::FuriageDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto copy = [this](int combo, int edit) {
    return [this, combo, edit] {
      if (CopySelection(combo, edit)) Rebuild(true);
    };
  };
  SetMessageMap({
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      {EventKind::kClick, kAngleGiven, update},
      {EventKind::kClick, kLengthGiven, update},
      {EventKind::kClick, kHalfRadius, update},
      {EventKind::kClick, kFullRadius, update},
      {EventKind::kClick, kUpperFlange, update},
      {EventKind::kClick, kLowerFlange, update},
      {EventKind::kClick, kHiddenLines, update},
      {EventKind::kClick, kBases[0], update},
      {EventKind::kClick, kBases[1], update},
      {EventKind::kClick, kBases[2], update},
      {EventKind::kClick, kBases[3], update},
      {EventKind::kClick, kBases[4], update},
      {EventKind::kClick, kBases[5], update},
      {EventKind::kSelChange, kAngles, copy(kAngles, kAngle)},
      {EventKind::kSelChange, kWidths, copy(kWidths, kWidth)},
      {EventKind::kSelChange, kHeights, copy(kHeights, kHeight)},
      {EventKind::kClick, kOkButton, [this] { OnOK(); }},
  });
}

void FuriageDialog::LoadControls() {
  FillCombos();
  // Without a settings file (or past its end) the controls keep what they show.
  if (Info().Exists(kSettingsFile)) ApplySettings(Info().ReadToEnd(kSettingsFile, kSettingsLines));
}

void FuriageDialog::FillCombos() {
  FillListsFrom("KiokuSize.ini", {kWidths, kHeights});
  Item(kAngles).ResetContent();
  for (const char* angle : kAngleChoices) Item(kAngles).AddString(angle);
}

void FuriageDialog::ApplySettings(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i < std::size(kEdits) && i < n; ++i) SetItemText(kEdits[i], lines[i]);
  // Each radio of a pair follows its own value, so a value of neither clears both.
  auto pair = [&](size_t line, int first, int second) {
    if (n <= line) return;
    SetChecked(first, lines[line] == "1");
    SetChecked(second, lines[line] == "2");
  };
  pair(8, kAngleGiven, kLengthGiven);
  pair(9, kHalfRadius, kFullRadius);
  for (size_t line = 10; line <= 12 && line < n; ++line)
    SetChecked(kUpperFlange + static_cast<int>(line - 10), lines[line] == "1");
  if (n > 13) {
    for (int b = 0; b < 10; ++b) {
      if (lines[13] == FormatD(b + 1)) CheckRadio(kBases[b]);
    }
  }
  pair(14, kPlan, kSide);
}

std::vector<std::string> FuriageDialog::SettingsLines() {
  std::vector<std::string> lines;
  for (int id : kEdits) lines.push_back(ItemText(id));
  lines.push_back(RadioText({kAngleGiven, kLengthGiven}));
  lines.push_back(RadioText({kHalfRadius, kFullRadius}));
  lines.push_back(CheckText(kUpperFlange));
  lines.push_back(CheckText(kLowerFlange));
  lines.push_back(CheckText(kHiddenLines));
  lines.push_back(RadioText({kBases[0], kBases[1], kBases[2], kBases[3], kBases[4], kBases[5],
                             kBases[6], kBases[7], kBases[8], kBases[9]}));
  lines.push_back(RadioText({kPlan, kSide}));
  return lines;
}

FuriageInput FuriageDialog::ReadInput() {
  FuriageInput in;
  in.mode = IsChecked(kAngleGiven)    ? FuriageMode::kAngle
            : IsChecked(kLengthGiven) ? FuriageMode::kLength
                                      : FuriageMode::kNone;
  in.w = ToDouble(ItemText(kWidth));
  in.h = ToDouble(ItemText(kHeight));
  in.f = ToDouble(ItemText(kRaise));
  in.r1 = ToDouble(ItemText(kLowerStart));
  in.r2 = ToDouble(ItemText(kUpperStart));
  in.t = ToDouble(ItemText(kMargin));
  in.angle = ToDouble(ItemText(kAngle));
  in.length = ToDouble(ItemText(kLength));
  // "1.0R" only when it is the one set; otherwise the half radius.
  in.factor = IsChecked(kFullRadius) && !IsChecked(kHalfRadius) ? 1.0 : 0.5;
  in.upper = IsChecked(kUpperFlange);
  in.lower = IsChecked(kLowerFlange);
  in.hidden = IsChecked(kHiddenLines);
  in.base = ToInt(RadioText({kBases[0], kBases[1], kBases[2], kBases[3], kBases[4], kBases[5],
                             kBases[6], kBases[7], kBases[8], kBases[9]}));
  return in;
}

void FuriageDialog::BuildRecords(RecordList& list) {
  lastBuild_ = BuildFuriage(list, ReadInput(), Common());
  // Only a confirmed change shows the found angle and the length in their
  // edits: a repaint comes at any time, also while a length is being typed.
  if (!Writing()) return;
  if (lastBuild_.searched) {
    SetItemText(kLength, lastBuild_.targetText);
    SetItemText(kAngle, lastBuild_.angleText);
  }
  if (lastBuild_.built) SetItemText(kLength, lastBuild_.lengthText);
}

std::string FuriageDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName(kBlockPrefix, settings, {Common().k1, Common().k2, Common().k3}, random);
}

void FuriageDialog::DrawPreviewIn(Canvas& canvas, const PixelRect& client) {
  DrawOffsetPreview(canvas, client, Records(), kPreviewNumerator, kPreviewFraction);
}

std::string FuriageDialog::EmptyDrawingMessage() {
  return "この寸法では振り上げダクトを作図できません。\n作図基準を選び、角度・振り高・全長を"
         "見直して表示更新をクリックしてください。";
}

}  // namespace tavelin
