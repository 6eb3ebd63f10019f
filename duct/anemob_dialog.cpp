#include "duct/anemob_dialog.hpp"

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kStatusRebuilt = "設定後OKクリック";

constexpr const char* kSizes[] = {"#12.5", "#15",   "#20", "#25", "#30",
                                  "#35",   "#37.5", "#40", "#45"};
constexpr const char* kAngleTexts[] = {"0", "45", "90", "135", "180", "225", "270", "315"};

// The schematic's scale and origin inside the anchor static.
constexpr double kSchematicScale = 5.5;
constexpr double kSchematicOriginX = 150.0;
constexpr double kSchematicOriginY = 80.0;

// Pixels for the larger extent of the fitting in the preview.
constexpr double kPreviewNumerator = 80.0;
constexpr double kTurnedPreviewNumerator = 70.0;

const char* CheckText(bool checked) { return checked ? "1" : "0"; }

}  // namespace

AnemoBDialog::AnemoBDialog(ui::AppContext& app) : Dialog(app, "AnemoB") {
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
      {EventKind::kSelChange, kAngles,
       [this] {
         ui::Control& angles = Item(kAngles);
         SetItemText(kRotation, angles.ItemText(angles.CurSel()));
         Rebuild(true);
       }},
      {EventKind::kSetFocus, kBoxSize, [this] { linked_ = Linked::kBoxSize; }},
      {EventKind::kSetFocus, kNeck, [this] { linked_ = Linked::kNeck; }},
      {EventKind::kSetFocus, kClearance, [this] { linked_ = Linked::kClearance; }},
      {EventKind::kEditChange, kBoxSize, [this] { OnBoxOrNeckChanged(Linked::kBoxSize); }},
      {EventKind::kEditChange, kNeck, [this] { OnBoxOrNeckChanged(Linked::kNeck); }},
      {EventKind::kEditChange, kClearance, [this] { OnClearanceChanged(); }},
  });
}

void AnemoBDialog::OnInitDialog() {
  schematic_ = ParseSchematic(Info().ReadToEnd(kSchematicFile, kSchematicCapacity));
  SetItemText(kStatus, kStatusEditing);
  linked_ = Linked::kNone;
  list_.LoadAttributes(Info());
  common_ = CommonValues::Load(Info());
  ui::Control& sizes = Item(kSize);
  sizes.ResetContent();
  for (const char* size : kSizes) sizes.AddString(size);
  ui::Control& angles = Item(kAngles);
  angles.ResetContent();
  for (const char* angle : kAngleTexts) angles.AddString(angle);
  LoadSettings();
  Rebuild(true);
}

void AnemoBDialog::LoadSettings() {
  const std::vector<std::string> lines = Info().ReadLines(kSettingsFile, 17);
  const int edits[] = {kBoxSize,   kDuctLength, kStored,       kNeck,      kFace,
                       kDuctWidth, kRotation,   kPaddleLength, kClearance, kLining};
  for (int i = 0; i < 10; ++i) SetItemText(edits[i], lines[i]);
  SetItemText(kSize, lines[10]);
  if (lines[11] == "1") CheckRadio(kPaddle);
  if (lines[11] == "2") CheckRadio(kSquareDuct);
  if (lines[11] == "3") CheckRadio(kRoundDuct);
  const int boxes[] = {kStepLines, kLined, kMirror, kCurrentLayer};
  for (int i = 0; i < 4; ++i) {
    // Any other text leaves the box as it is.
    if (lines[12 + i] == "1") SetChecked(boxes[i], true);
    if (lines[12 + i] == "0") SetChecked(boxes[i], false);
  }
  if (lines[16] == "1") CheckRadio(kSquareFace);
  if (lines[16] == "2") CheckRadio(kRoundFace);
}

std::vector<std::string> AnemoBDialog::SettingsValues() {
  std::string shape;
  if (IsChecked(kPaddle))
    shape = "1";
  else if (IsChecked(kSquareDuct))
    shape = "2";
  else if (IsChecked(kRoundDuct))
    shape = "3";
  std::string face;
  if (IsChecked(kSquareFace))
    face = "1";
  else if (IsChecked(kRoundFace))
    face = "2";
  return {
      ItemText(kBoxSize),
      ItemText(kDuctLength),
      ItemText(kStored),
      ItemText(kNeck),
      ItemText(kFace),
      ItemText(kDuctWidth),
      ItemText(kRotation),
      ItemText(kPaddleLength),
      ItemText(kClearance),
      ItemText(kLining),
      ItemText(kSize),
      shape,
      CheckText(IsChecked(kStepLines)),
      CheckText(IsChecked(kLined)),
      CheckText(IsChecked(kMirror)),
      CheckText(IsChecked(kCurrentLayer)),
      face,
  };
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
  SetItemText(kBoxSize,
              IntegerText(2.0 * ToDouble(ItemText(kClearance)) + ToDouble(ItemText(kNeck))));
}

void AnemoBDialog::OnBoxOrNeckChanged(Linked which) {
  if (linked_ != which) return;
  SetItemText(kClearance,
              IntegerText((ToDouble(ItemText(kBoxSize)) - ToDouble(ItemText(kNeck))) * 0.5));
  SetItemText(kStatus, kStatusEditing);
}

void AnemoBDialog::OnClearanceChanged() {
  if (linked_ != Linked::kClearance) return;
  RecomputeBoxSize();
  SetItemText(kStatus, kStatusEditing);
}

AnemoBValues AnemoBDialog::ReadValues() {
  AnemoBValues v;
  v.boxSize = ToDouble(ItemText(kBoxSize));
  v.ductLength = ToDouble(ItemText(kDuctLength));
  v.paddleLength = ToDouble(ItemText(kPaddleLength));
  v.neck = ToDouble(ItemText(kNeck));
  v.face = ToDouble(ItemText(kFace));
  v.ductWidth = ToDouble(ItemText(kDuctWidth));
  v.lining = ToDouble(ItemText(kLining));
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

void AnemoBDialog::Rebuild(bool write, Canvas* canvas) {
  // The status line changes only on a confirmed change: a mere repaint must
  // not wipe the confirmation that OK left there.
  if (write) SetItemText(kStatus, kStatusRebuilt);
  list_.baseX = 0.0;
  list_.baseY = 0.0;
  list_.rotation = ToDouble(ItemText(kRotation));
  list_.mirror = IsChecked(kMirror) ? 1 : 0;
  BuildAnemoBRecords(list_, ReadValues(), common_);
  if (canvas) {
    OffsetCanvas preview = ControlCanvas(*canvas, kPreview);
    const PixelRect client = ClientRectOf(kPreview);
    preview.SetClip(&client);
    DrawPreview(preview, client, list_,
                list_.rotation != 0.0 ? kTurnedPreviewNumerator : kPreviewNumerator);
    preview.SetClip(nullptr);
  }
  if (write) {
    const std::vector<std::string> values = SettingsValues();
    const std::string name = BlockName(
        "AB_", values, {common_.k1, common_.k2, common_.k3, common_.k4}, App().random->Next());
    WriteHandOff(Info(), list_, kSettingsFile, values, name);
    Invalidate();
  }
}

void AnemoBDialog::OnPaint(Canvas& canvas) {
  OffsetCanvas anchor = ControlCanvas(canvas, kSchematic);
  DrawSchematic(anchor, ClientRectOf(kSchematic), schematic_, kSchematicOriginX, kSchematicOriginY,
                kSchematicScale,
                [](const SchematicLine& line) { return SchematicStylePen(line.style); });
  Rebuild(false, &canvas);
}

void AnemoBDialog::OnOK() {
  if (App().launcher) App().launcher->Start();
  SetItemText(kStatus, kStatusPlaced);
}

}  // namespace tavelin
