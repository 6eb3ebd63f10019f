#include "duct/erbo_dialog.hpp"

#include <algorithm>

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kBlockPrefix = "ER_";
constexpr size_t kSchematicCapacity = 100;
constexpr size_t kListCapacity = 1000;

const char* const kAngleChoices[] = {"15", "30", "45", "60", "75", "90"};

// Lines 1 to 8 of "Erbo.ini", in file order.
constexpr int kFirstEdits[] = {
    ErboDialog::kInletWidth,   ErboDialog::kRadius,  ErboDialog::kOutletWidth, ErboDialog::kRadius2,
    ErboDialog::kOutletLength, ErboDialog::kStored9, ErboDialog::kStoredAngle, ErboDialog::kAngle};

}  // namespace

ErboDialog::ErboDialog(ui::AppContext& app) : Dialog(app, "Erbo") {
  using ui::EventKind;
  auto update = [this] { Update(true); };
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

void ErboDialog::OnInitDialog() {
  schematic_.clear();
  schematic_ = ParseSchematic(Info().ReadToEnd(kSchematicFile, kSchematicCapacity));
  ShowEditing();
  focusMarker_ = 0;
  list_.LoadAttributes(Info());
  common_ = CommonValues::Load(Info());
  // Without a settings file (or past its end) the controls keep what they show.
  if (Info().Exists(kSettingsFile)) ApplySettings(Info().ReadToEnd(kSettingsFile, kSettingsLines));
  FillCombos();
  ready_ = true;
  Update(true);
}

void ErboDialog::ApplySettings(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i < std::size(kFirstEdits) && i < n; ++i)
    SetItemText(kFirstEdits[i], lines[i]);
  if (n > 12) SetItemText(kInletLength, lines[12]);
  if (n > 8) {
    if (lines[8] == "1") CheckRadio(kBaseOuter);
    if (lines[8] == "2") CheckRadio(kBaseCentre);
    if (lines[8] == "3") CheckRadio(kBaseInner);
  }
  if (n > 9) {
    if (lines[9] == "1") CheckRadio(kHalfRadius);
    if (lines[9] == "2") CheckRadio(kFullRadius);
  }
  auto applyCheck = [&](size_t line, int id) {
    if (n <= line) return;
    if (lines[line] == "0") SetChecked(id, false);
    if (lines[line] == "1") SetChecked(id, true);
  };
  applyCheck(10, kMirror);
  applyCheck(11, kCurrentLayer);
  applyCheck(13, kOuterSharp);
  applyCheck(14, kInnerSharp);
  // The next update sets the rotation from the quarter-turn box again.
  if (n > 6) list_.rotation = ToDouble(lines[6]);
}

void ErboDialog::FillCombos() {
  for (int id : {kInletSizes, kOutletSizes, kStoredAngles, kAngles}) Item(id).ResetContent();
  if (Info().Exists("KiokuSize.ini")) {
    for (const std::string& size : Info().ReadToEnd("KiokuSize.ini", kListCapacity)) {
      Item(kInletSizes).AddString(size);
      Item(kOutletSizes).AddString(size);
    }
  }
  if (Info().Exists("KiokuDeg.ini")) {
    for (const std::string& angle : Info().ReadToEnd("KiokuDeg.ini", kListCapacity)) {
      Item(kStoredAngles).AddString(angle);
    }
  }
  for (const char* angle : kAngleChoices) Item(kAngles).AddString(angle);
}

std::vector<std::string> ErboDialog::Settings() {
  auto flag = [this](int id) { return std::string(IsChecked(id) ? "1" : "0"); };
  std::string base;
  switch (CheckedOf({kBaseOuter, kBaseCentre, kBaseInner})) {
    case kBaseOuter:
      base = "1";
      break;
    case kBaseCentre:
      base = "2";
      break;
    case kBaseInner:
      base = "3";
      break;
    default:
      break;
  }
  std::string factor;
  switch (CheckedOf({kHalfRadius, kFullRadius})) {
    case kHalfRadius:
      factor = "1";
      break;
    case kFullRadius:
      factor = "2";
      break;
    default:
      break;
  }
  std::vector<std::string> lines;
  for (int id : kFirstEdits) lines.push_back(ItemText(id));
  lines.push_back(base);
  lines.push_back(factor);
  lines.push_back(flag(kMirror));
  lines.push_back(flag(kCurrentLayer));
  lines.push_back(ItemText(kInletLength));
  lines.push_back(flag(kOuterSharp));
  lines.push_back(flag(kInnerSharp));
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
  in.k1 = common_.k1;
  in.k2 = common_.k2;
  in.k3 = common_.k3;
  return in;
}

void ErboDialog::Update(bool write) {
  // A repaint leaves the status line alone, so the note shown after OK stays
  // until the user changes something.
  if (write) ShowEditing();
  ElbowInput input = ReadInput();
  lastBuild_ = BuildElbow(list_, input);
  previewNumerator_ = ElbowPreviewNumerator(input.turned, input.angle);
  Invalidate();
  if (!write || !ready_) return;
  std::vector<std::string> settings = Settings();
  std::string name =
      BlockName(kBlockPrefix, settings, {common_.k1, common_.k2, common_.k3}, App().random->Next());
  WriteHandOff(Info(), list_, kSettingsFile, settings, name);
  handedOff_ = list_.Count() > 0;
}

void ErboDialog::OnPaint(Canvas& canvas) {
  {
    OffsetCanvas anchor = ControlCanvas(canvas, kSchematic);
    DrawSchematic(anchor, ClientRectOf(kSchematic), schematic_, kSchematicOriginX,
                  kSchematicOriginY, kSchematicScale,
                  [](const SchematicLine& line) { return SchematicStylePen(line.style); });
  }
  Update(false);
  OffsetCanvas preview = ControlCanvas(canvas, kPreview);
  PixelRect client = ClientRectOf(kPreview);
  preview.SetClip(&client);
  DrawPreview(preview, client, list_, previewNumerator_);
  preview.SetClip(nullptr);
}

void ErboDialog::OnOK() {
  if (!ready_) {
    MessageBox("必要なファイルを読み込めなかったため、作図できません。", "確認");
    return;
  }
  if (!handedOff_) {
    // Starting the builder on an empty drawing would announce a block that never comes.
    MessageBox(
        "この寸法ではエルボを作図できません。\n元管の直管長を長くするか、巾・角度を見直して"
        "表示更新をクリックしてください。",
        "入力確認");
    return;
  }
  if (App().launcher) App().launcher->Start();
  SetItemText(kStatusLine, kStatusPlaced);
}

void ErboDialog::ShowEditing() { SetItemText(kStatusLine, kStatusEditing); }

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
  Update(true);
}

void ErboDialog::OnOutletSize() {
  const ui::Control& sizes = Item(kOutletSizes);
  if (sizes.CurSel() < 0) return;
  SetItemText(kOutletWidth, sizes.ItemText(sizes.CurSel()));
  Update(true);
}

void ErboDialog::OnStoredAngle() {
  const ui::Control& angles = Item(kStoredAngles);
  if (angles.CurSel() < 0) return;
  SetItemText(kStoredAngle, angles.ItemText(angles.CurSel()));
  Update(true);
}

void ErboDialog::OnAngleChoice() {
  const ui::Control& angles = Item(kAngles);
  if (angles.CurSel() < 0) return;
  SetItemText(kAngle, angles.ItemText(angles.CurSel()));
  Update(true);
}

void ErboDialog::OnRadiusRadio(double factor) {
  focusMarker_ = 0;
  SetStandardRadius(factor);
  Update(true);
}

void ErboDialog::OnNormal90() {
  SetItemText(kOutletWidth, ItemText(kInletWidth));
  SetItemText(kAngle, "90");
  SetChecked(kMirror, false);
  SetChecked(kTurn, false);
  focusMarker_ = 0;
  SetStandardRadius(RadiusFactor());
  Update(true);
}

void ErboDialog::OnUpdateButton() {
  if (ToDouble(ItemText(kOutletWidth)) > ToDouble(ItemText(kInletWidth))) {
    MessageBox("先管巾は元管巾以下にしてください。", "入力確認");
    return;
  }
  Update(true);
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
