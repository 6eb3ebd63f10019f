#include "duct/erbo_dialog.hpp"

#include <algorithm>

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kBlockPrefix = "ER_";

const GeneratorSetup kSetup{"Erbo", ErboDialog::kStatusLine, ErboDialog::kPreview,
                            ErboDialog::kSchematic, "Erbo.tec", 100, 7.0, 110.0, 100.0};

const char* const kAngleChoices[] = {"15", "30", "45", "60", "75", "90"};

// Lines 1 to 8 of "Erbo.ini", in file order.
constexpr int kFirstEdits[] = {
    ErboDialog::kInletWidth,   ErboDialog::kRadius,  ErboDialog::kOutletWidth, ErboDialog::kRadius2,
    ErboDialog::kOutletLength, ErboDialog::kStored9, ErboDialog::kStoredAngle, ErboDialog::kAngle};

}  // namespace

ErboDialog::ErboDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto editing = [this] { ShowEditing(); };
  SetMessageMap({
      {EventKind::kSelChange, kInletSizes, [this] { OnInletSize(); }},
      {EventKind::kSelChange, kOutletSizes, [this] { OnOutletSize(); }},
      {EventKind::kSelChange, kStoredAngles, [this] { OnStoredAngle(); }},
      {EventKind::kSelChange, kAngles, [this] { OnAngleChoice(); }},
      {EventKind::kClick, kHalfRadius, [this] { OnRadiusRadio(0.5); }},
      {EventKind::kClick, kFullRadius, [this] { OnRadiusRadio(1.0); }},
      {EventKind::kClick, kMirror, update},
      {EventKind::kClick, kBaseOuter, update},
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseInner, update},
      {EventKind::kClick, kOuterSharp, update},
      {EventKind::kClick, kInnerSharp, update},
      {EventKind::kClick, kTurn, update},
      {EventKind::kClick, kNormal90, [this] { OnNormal90(); }},
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      {EventKind::kSetFocus, kRadius, [this] { focusMarker_ = 1; }},
      {EventKind::kSetFocus, kRadius2, [this] { focusMarker_ = 2; }},
      {EventKind::kEditChange, kRadius, [this] { OnRadiusChange(); }},
      {EventKind::kEditChange, kRadius2, [this] { OnRadius2Change(); }},
      {EventKind::kEditChange, kOutletLength, editing},
      {EventKind::kEditChange, kStored9, editing},
      {EventKind::kEditChange, kAngle, editing},
  });
}

void ErboDialog::LoadControls() {
  focusMarker_ = 0;
  // Without a settings file (or past its end) the controls keep what they show.
  if (Info().Exists(kSettingsFile)) ApplySettings(Info().ReadToEnd(kSettingsFile, kSettingsLines));
  FillCombos();
}

void ErboDialog::ApplySettings(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i < std::size(kFirstEdits) && i < n; ++i)
    SetItemText(kFirstEdits[i], lines[i]);
  if (n > 12) SetItemText(kInletLength, lines[12]);
  if (n > 8) ApplyRadioText(lines[8], {kBaseOuter, kBaseCentre, kBaseInner});
  if (n > 9) ApplyRadioText(lines[9], {kHalfRadius, kFullRadius});
  auto applyCheck = [&](size_t line, int id) {
    if (n > line) ApplyCheckText(lines[line], id);
  };
  applyCheck(10, kMirror);
  applyCheck(11, kCurrentLayer);
  applyCheck(13, kOuterSharp);
  applyCheck(14, kInnerSharp);
  // The next update sets the rotation from the quarter-turn box again.
  if (n > 6) List().rotation = ToDouble(lines[6]);
}

void ErboDialog::FillCombos() {
  FillListsFrom("KiokuSize.ini", {kInletSizes, kOutletSizes});
  FillListsFrom("KiokuDeg.ini", {kStoredAngles});
  Item(kAngles).ResetContent();
  for (const char* angle : kAngleChoices) Item(kAngles).AddString(angle);
}

std::vector<std::string> ErboDialog::SettingsLines() {
  std::vector<std::string> lines;
  for (int id : kFirstEdits) lines.push_back(ItemText(id));
  lines.push_back(RadioText({kBaseOuter, kBaseCentre, kBaseInner}));
  lines.push_back(RadioText({kHalfRadius, kFullRadius}));
  lines.push_back(CheckText(kMirror));
  lines.push_back(CheckText(kCurrentLayer));
  lines.push_back(ItemText(kInletLength));
  lines.push_back(CheckText(kOuterSharp));
  lines.push_back(CheckText(kInnerSharp));
  return lines;
}

ElbowInput ErboDialog::ReadInput() {
  ElbowInput in;
  in.w1 = ToDouble(ItemText(kInletWidth));
  in.w2 = ToDouble(ItemText(kOutletWidth));
  in.r = ToDouble(ItemText(kRadius));
  in.rInlet = ToDouble(ItemText(kRadius2));
  in.l1 = ToDouble(ItemText(kOutletLength));
  in.l2 = ToDouble(ItemText(kInletLength));
  in.angle = ToDouble(ItemText(kAngle));
  // The texts decide, not the numbers: "500" and "500.0" make a reducing elbow.
  in.sameWidthText = ItemText(kInletWidth) == ItemText(kOutletWidth);
  switch (CheckedOf({kBaseOuter, kBaseCentre, kBaseInner})) {
    case kBaseOuter:
      in.base = ElbowBase::kOuterCorner;
      break;
    case kBaseCentre:
      in.base = ElbowBase::kCentreLines;
      break;
    case kBaseInner:
      in.base = ElbowBase::kInnerCorner;
      break;
    default:
      in.base = ElbowBase::kNone;
      break;
  }
  in.mirror = IsChecked(kMirror);
  in.turned = IsChecked(kTurn);
  in.outerSharp = IsChecked(kOuterSharp);
  in.innerSharp = IsChecked(kInnerSharp);
  in.k1 = Common().k1;
  in.k2 = Common().k2;
  in.k3 = Common().k3;
  return in;
}

void ErboDialog::BuildRecords(RecordList& list) {
  ElbowInput input = ReadInput();
  lastBuild_ = BuildElbow(list, input);
  previewNumerator_ = ElbowPreviewNumerator(input.turned, input.angle);
}

std::string ErboDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName(kBlockPrefix, settings, {Common().k1, Common().k2, Common().k3}, random);
}

std::string ErboDialog::EmptyDrawingMessage() {
  return "この寸法ではエルボを作図できません。\n元管の直管長を長くするか、巾・角度を見直して"
         "表示更新をクリックしてください。";
}

bool ErboDialog::CheckInput() {
  if (ToDouble(ItemText(kOutletWidth)) > ToDouble(ItemText(kInletWidth))) {
    MessageBox("先管巾は元管巾以下にしてください。", "入力確認");
    return false;
  }
  return true;
}

double ErboDialog::RadiusFactor() {
  if (IsChecked(kHalfRadius)) return 0.5;
  // "1.0R", and also when neither radio is set: the usual standard radius.
  return 1.0;
}

void ErboDialog::SetStandardRadius(double factor) {
  std::string radius = IntegerText(ToDouble(ItemText(kInletWidth)) * factor);
  SetItemText(kRadius, radius);
  SetItemText(kRadius2, radius);
}

void ErboDialog::OnInletSize() {
  const ui::Control& sizes = Item(kInletSizes);
  if (sizes.CurSel() < 0) return;
  std::string size = sizes.ItemText(sizes.CurSel());
  SetItemText(kInletWidth, size);
  SetItemText(kOutletWidth, size);
  focusMarker_ = 0;
  SetStandardRadius(RadiusFactor());
  Rebuild(true);
}

void ErboDialog::OnOutletSize() {
  if (CopySelection(kOutletSizes, kOutletWidth)) Rebuild(true);
}

void ErboDialog::OnStoredAngle() {
  if (CopySelection(kStoredAngles, kStoredAngle)) Rebuild(true);
}

void ErboDialog::OnAngleChoice() {
  if (CopySelection(kAngles, kAngle)) Rebuild(true);
}

void ErboDialog::OnRadiusRadio(double factor) {
  focusMarker_ = 0;
  SetStandardRadius(factor);
  Rebuild(true);
}

void ErboDialog::OnNormal90() {
  SetItemText(kOutletWidth, ItemText(kInletWidth));
  SetItemText(kAngle, "90");
  SetChecked(kMirror, false);
  SetChecked(kTurn, false);
  focusMarker_ = 0;
  SetStandardRadius(RadiusFactor());
  Rebuild(true);
}

void ErboDialog::OnRadiusChange() {
  if (focusMarker_ != 1) return;
  SetItemText(kRadius2, ItemText(kRadius));
  ShowEditing();
}

void ErboDialog::OnRadius2Change() {
  if (focusMarker_ != 2) return;
  SetItemText(kRadius, ItemText(kRadius2));
  ShowEditing();
}

}  // namespace tavelin
