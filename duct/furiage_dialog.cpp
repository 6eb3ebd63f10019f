#include "duct/furiage_dialog.hpp"

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kBlockPrefix = "FAG_";

const GeneratorSetup kSetup{.layout = "Furiage",
                            .statusId = FuriageDialog::kStatusLine,
                            .previewId = FuriageDialog::kPreview,
                            .schematicId = FuriageDialog::kSchematic,
                            .schematicFile = FuriageDialog::kSchematicFile,
                            .schematicCapacity = 100,
                            .schematicScale = 5.0,
                            .schematicOriginX = 80.0,
                            .schematicOriginY = 45.0,
                            .okButtonId = FuriageDialog::kOkButton};

// The preview keeps the duct in place while the base point moves.
constexpr double kPreviewNumerator = 120.0;
constexpr double kPreviewFraction = 0.25;

const char* const kAngleChoices[] = {"15", "30", "45", "60"};

// The base radios in the order of their stored numbers 1 to 10.
constexpr int kBases[] = {1160, 1161, 1162, 1163, 1164, 1165, 1170, 1171, 1172, 1173};

using K = FuriageDialog;

// "Furiage.ini", line by line. Each radio of a pair, and each check box,
// follows its own value, so a value of neither clears them; the base point
// checks the radio of its value and leaves the others.
const SettingsDeclaration kSettings{
    "Furiage.ini",
    {
        NumberLine("W", "W", "mm", K::kWidth, kDescribed | kRequired),
        NumberLine("H", "H", "mm", K::kHeight, kDescribed | kRequired),
        NumberLine("F", "F", "mm", K::kRaise, kDescribed | kRequired),
        NumberLine("T", "T", "mm", K::kMargin, kDescribed),
        NumberLine("LL", "全長", "mm", K::kLength, kDescribed),
        NumberLine("R1", "R1", "mm", K::kLowerStart, kDescribed),
        NumberLine("R2", "R2", "mm", K::kUpperStart, kDescribed),
        NumberLine("A", "A", "°", K::kAngle, kDescribed),
        {.column = "mode",
         .label = "作図基準",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kAngleGiven, "角度指定"}, {"2", K::kLengthGiven, "全長指定"}},
         .apply = ApplyRule::kExact},
        {.column = "radius_factor",
         .label = "基準内R",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kHalfRadius, "0.5R"}, {"2", K::kFullRadius, "1.0R"}},
         .apply = ApplyRule::kExact},
        FlagLine("upper_flange", "上フランジ作図有", K::kUpperFlange, ApplyRule::kExact),
        FlagLine("lower_flange", "下フランジ作図有", K::kLowerFlange, ApplyRule::kExact),
        FlagLine("hidden_lines", "隠れ線作図有", K::kHiddenLines, ApplyRule::kExact),
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", kBases[0]},
                    {"2", kBases[1]},
                    {"3", kBases[2]},
                    {"4", kBases[3]},
                    {"5", kBases[4]},
                    {"6", kBases[5]},
                    {"7", kBases[6]},
                    {"8", kBases[7]},
                    {"9", kBases[8]},
                    {"10", kBases[9]}}},
        {.column = "view",
         .label = "平面・側面",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kPlan, "平面"}, {"2", K::kSide, "側面"}},
         .apply = ApplyRule::kExact},
    }};

}  // namespace

FuriageDialog::FuriageDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
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
      SelectionInto(kAngles, kAngle),
      SelectionInto(kWidths, kWidth),
      SelectionInto(kHeights, kHeight),
  });
}

void FuriageDialog::LoadControls() {
  FillCombos();
  // Without a settings file (or past its end) the controls keep what they show.
  LoadDeclaredSettings();
}

const SettingsDeclaration* FuriageDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& FuriageDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void FuriageDialog::FillCombos() {
  FillListsFrom("KiokuSize.ini", {kWidths, kHeights});
  FillList(kAngles, kAngleChoices);
}

FuriageInput FuriageDialog::ReadInput() {
  FuriageInput in;
  in.mode = IsChecked(kAngleGiven)    ? FuriageMode::kAngle
            : IsChecked(kLengthGiven) ? FuriageMode::kLength
                                      : FuriageMode::kNone;
  in.w = Number(kWidth);
  in.h = Number(kHeight);
  in.f = Number(kRaise);
  in.r1 = Number(kLowerStart);
  in.r2 = Number(kUpperStart);
  in.t = Number(kMargin);
  in.angle = Number(kAngle);
  in.length = Number(kLength);
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
