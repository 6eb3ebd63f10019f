#include "duct/anemob_dialog.hpp"

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kSizes[] = {"#12.5", "#15",   "#20", "#25", "#30",
                                  "#35",   "#37.5", "#40", "#45"};
constexpr const char* kAngleTexts[] = {"0", "45", "90", "135", "180", "225", "270", "315"};

const GeneratorSetup kSetup{"AnemoB",
                            AnemoBDialog::kStatus,
                            AnemoBDialog::kPreview,
                            AnemoBDialog::kSchematic,
                            AnemoBDialog::kSchematicFile,
                            AnemoBDialog::kSchematicCapacity,
                            5.5,
                            150.0,
                            80.0,
                            AnemoBDialog::kRecordCapacity};

// Pixels for the larger extent of the fitting in the preview.
constexpr double kPreviewNumerator = 80.0;
constexpr double kTurnedPreviewNumerator = 70.0;

using K = AnemoBDialog;

// "AnemoB.ini", line by line.
const SettingsDeclaration kSettings{
    .file = "AnemoB.ini",
    .lines =
        {
            NumberLine("W", "ボックス寸法", "mm", K::kBoxSize, kDescribed | kRequired),
            NumberLine("B", "接続ダクト長", "mm", K::kDuctLength, kDescribed),
            {.column = "stored",
             .label = "保存値",
             .kind = ParamKind::kText,
             .control = K::kStored},
            NumberLine("D", "ダクト径", "mm", K::kNeck, kDescribed | kRequired),
            NumberLine("A", "アネモ面寸法", "mm", K::kFace, kDescribed | kRequired),
            NumberLine("H", "接続ダクト巾", "mm", K::kDuctWidth, kDescribed),
            NumberLine("rotation", "角度", "°", K::kRotation),
            NumberLine("L", "羽子板形の長さ", "mm", K::kPaddleLength, kDescribed),
            NumberLine("c", "ネックとボックス側面の間隔", "mm", K::kClearance),
            NumberLine("T", "内貼り厚", "mm", K::kLining, kDescribed),
            {.column = "size",
             .label = "サイズ",
             .kind = ParamKind::kText,
             .control = K::kSize,
             .described = true},
            {.column = "shape",
             .label = "形状",
             .kind = ParamKind::kChoice,
             .values = {{"1", K::kPaddle, "羽子板形ボックス"},
                        {"2", K::kSquareDuct, "ボックス+角ダクト"},
                        {"3", K::kRoundDuct, "ボックス+丸ダクト"}},
             .described = true},
            FlagLine("steps", "段差書込み有", K::kStepLines),
            FlagLine("lined", "内貼り有", K::kLined),
            FlagLine("mirror", "左右反転", K::kMirror),
            FlagLine("current_layer", "現在のレイヤに作図", K::kCurrentLayer),
            {.column = "anemostat",
             .label = "アネモ",
             .kind = ParamKind::kChoice,
             .values = {{"1", K::kSquareFace, "角アネモ"}, {"2", K::kRoundFace, "丸アネモ"}},
             .described = true},
        },
    .padShortFile = true};

}  // namespace

AnemoBDialog::AnemoBDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto rebuild = [this] { Rebuild(true); };
  SetMessageMap({
      {EventKind::kSelChange, kSize,
       [this] {
         ui::Control& size = Item(kSize);
         LookUpSize(size.ItemText(size.CurSel()));
       }},
      {EventKind::kClick, kPaddle, [this] { OnShapeOrFace(); }},
      {EventKind::kClick, kSquareDuct, [this] { OnShapeOrFace(); }},
      {EventKind::kClick, kSquareFace, [this] { OnShapeOrFace(); }},
      {EventKind::kClick, kRoundFace, [this] { OnShapeOrFace(); }},
      {EventKind::kClick, kRoundDuct, rebuild},
      {EventKind::kClick, kBoxRoundDuct, rebuild},
      {EventKind::kClick, kMirror, rebuild},
      {EventKind::kClick, kStepLines, rebuild},
      {EventKind::kClick, kLined, rebuild},
      {EventKind::kClick, kUpdate, rebuild},
      SelectionInto(kAngles, kRotation),
      {EventKind::kSetFocus, kBoxSize, [this] { linked_ = Linked::kBoxSize; }},
      {EventKind::kSetFocus, kNeck, [this] { linked_ = Linked::kNeck; }},
      {EventKind::kSetFocus, kClearance, [this] { linked_ = Linked::kClearance; }},
      {EventKind::kEditChange, kBoxSize, [this] { OnBoxOrNeckChanged(Linked::kBoxSize); }},
      {EventKind::kEditChange, kNeck, [this] { OnBoxOrNeckChanged(Linked::kNeck); }},
      {EventKind::kEditChange, kClearance, [this] { OnClearanceChanged(); }},
  });
}

void AnemoBDialog::LoadControls() {
  linked_ = Linked::kNone;
  FillList(kSize, kSizes);
  FillList(kAngles, kAngleTexts);
  LoadSettings();
}

void AnemoBDialog::LoadSettings() {
  // A short file reads as empty lines; a missing one fails the opening like
  // any file that cannot be read, before anything is written.
  ApplyDeclaredSettings(Info().ReadLines(kSettings.file, kSettings.LineCount()));
}

const SettingsDeclaration* AnemoBDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& AnemoBDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void AnemoBDialog::LookUpSize(const std::string& size) {
  for (const std::string& line : Info().ReadToEnd(kSizeFile, 1000)) {
    if (Field(line, ',', 1) != size) continue;
    SetItemText(kNeck, Field(line, ',', 2));
    SetItemText(kFace, Field(line, ',', IsChecked(kSquareFace) ? 5 : 4));
    break;
  }
  // Found or not, the box follows the clearance and the neck.
  RecomputeBoxSize();
  Rebuild(true);
}

void AnemoBDialog::OnShapeOrFace() {
  const std::string size = ItemText(kSize);
  // Without a size there is nothing to look up, but the new shape or face is
  // still applied, so the hand-off never lags behind the preview.
  if (size.empty()) {
    Rebuild(true);
    return;
  }
  LookUpSize(size);
}

void AnemoBDialog::RecomputeBoxSize() {
  SetItemText(kBoxSize, IntegerText(2.0 * Number(kClearance) + Number(kNeck)));
}

void AnemoBDialog::OnBoxOrNeckChanged(Linked which) {
  if (linked_ != which) return;
  SetItemText(kClearance, IntegerText((Number(kBoxSize) - Number(kNeck)) * 0.5));
  SetItemText(kStatus, kStatusEditing);
}

void AnemoBDialog::OnClearanceChanged() {
  if (linked_ != Linked::kClearance) return;
  RecomputeBoxSize();
  SetItemText(kStatus, kStatusEditing);
}

AnemoBValues AnemoBDialog::ReadValues() {
  AnemoBValues v;
  v.boxSize = Number(kBoxSize);
  v.ductLength = Number(kDuctLength);
  v.paddleLength = Number(kPaddleLength);
  v.neck = Number(kNeck);
  v.face = Number(kFace);
  v.ductWidth = Number(kDuctWidth);
  v.lining = Number(kLining);
  if (IsChecked(kPaddle))
    v.shape = AnemoBShape::kPaddle;
  else if (IsChecked(kSquareDuct))
    v.shape = AnemoBShape::kSquareDuct;
  else if (IsChecked(kRoundDuct))
    v.shape = AnemoBShape::kRoundDuct;
  if (IsChecked(kSquareFace))
    v.anemostat = AnemostatFace::kSquare;
  else if (IsChecked(kRoundFace))
    v.anemostat = AnemostatFace::kRound;
  v.stepLines = IsChecked(kStepLines);
  v.lined = IsChecked(kLined);
  return v;
}

void AnemoBDialog::BuildRecords(RecordList& list) {
  list.baseX = 0.0;
  list.baseY = 0.0;
  list.rotation = Number(kRotation);
  list.mirror = IsChecked(kMirror) ? 1 : 0;
  BuildAnemoBRecords(list, ReadValues(), Common());
}

double AnemoBDialog::PreviewNumerator() {
  return Records().rotation != 0.0 ? kTurnedPreviewNumerator : kPreviewNumerator;
}

std::string AnemoBDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  const CommonValues& k = Common();
  return BlockName("AB_", settings, {k.k1, k.k2, k.k3, k.k4}, random);
}

}  // namespace tavelin
