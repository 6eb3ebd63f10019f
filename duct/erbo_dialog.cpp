#include "duct/erbo_dialog.hpp"

#include <algorithm>

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kBlockPrefix = "ER_";

const GeneratorSetup kSetup{"Erbo",
                            ErboDialog::kStatusLine,
                            ErboDialog::kPreview,
                            ErboDialog::kSchematic,
                            "Erbo.tec",
                            100,
                            7.0,
                            110.0,
                            100.0};

const char* const kAngleChoices[] = {"15", "30", "45", "60", "75", "90"};

using K = ErboDialog;

// "Erbo.ini", line by line.
const SettingsDeclaration kSettings{
    "Erbo.ini",
    {
        {.column = "W1",
         .label = "元管巾",
         .unit = "mm",
         .kind = ParamKind::kSize,
         .control = K::kInletWidth,
         .described = true,
         .required = true},
        NumberLine("R", "内R", "mm", K::kRadius, kDescribed),
        {.column = "W2",
         .label = "先管巾",
         .unit = "mm",
         .kind = ParamKind::kSize,
         .control = K::kOutletWidth,
         .described = true,
         .required = true},
        NumberLine("R2", "内R'（元管側）", "mm", K::kRadius2),
        NumberLine("L1", "先管直管長", "mm", K::kOutletLength, kDescribed),
        {.column = "stored9", .label = "保存値", .kind = ParamKind::kText, .control = K::kStored9},
        {.column = "stored_angle",
         .label = "記憶角度",
         .kind = ParamKind::kText,
         .control = K::kStoredAngle},
        NumberLine("A", "角度", "°", K::kAngle, kDescribed | kRequired),
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kBaseOuter, "外角"},
                    {"2", K::kBaseCentre, "中心"},
                    {"3", K::kBaseInner, "内角"}}},
        {.column = "radius_factor",
         .label = "基準内R",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kHalfRadius, "0.5R"}, {"2", K::kFullRadius, "1.0R"}}},
        FlagLine("mirror", "左右反転", K::kMirror),
        FlagLine("current_layer", "現在のレイヤに作図", K::kCurrentLayer),
        NumberLine("L2", "元管直管長", "mm", K::kInletLength, kDescribed),
        FlagLine("outer_sharp", "外角", K::kOuterSharp),
        FlagLine("inner_sharp", "内角", K::kInnerSharp),
    }};

}  // namespace

ErboDialog::ErboDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto editing = [this] { ShowEditing(); };
  SetMessageMap({
      {EventKind::kSelChange, kInletSizes, [this] { OnInletSize(); }},
      SelectionInto(kOutletSizes, kOutletWidth),
      SelectionInto(kStoredAngles, kStoredAngle),
      SelectionInto(kAngles, kAngle),
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
  const std::vector<std::string> lines = LoadDeclaredSettings();
  // The next update sets the rotation from the quarter-turn box again.
  if (lines.size() > 6) List().rotation = ToDouble(lines[6]);
  FillCombos();
}

const SettingsDeclaration* ErboDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& ErboDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void ErboDialog::FillCombos() {
  FillListsFrom("KiokuSize.ini", {kInletSizes, kOutletSizes});
  FillListsFrom("KiokuDeg.ini", {kStoredAngles});
  FillList(kAngles, kAngleChoices);
}

ElbowInput ErboDialog::ReadInput() {
  ElbowInput in;
  in.w1 = Number(kInletWidth);
  in.w2 = Number(kOutletWidth);
  in.r = Number(kRadius);
  in.rInlet = Number(kRadius2);
  in.l1 = Number(kOutletLength);
  in.l2 = Number(kInletLength);
  in.angle = Number(kAngle);
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

std::vector<std::string> ErboDialog::DesignWarnings() {
  std::vector<std::string> warnings;
  const std::string inlet = ItemText(kInletWidth);
  const std::string outlet = ItemText(kOutletWidth);
  const double radius = IsChecked(kInnerSharp) ? 0.0 : Number(kRadius);
  warnings.push_back(ElbowRadiusWarning(ToDouble(inlet), radius));
  if (auto section = ParseDuctSection(inlet))
    warnings.push_back(AspectRatioWarning(*section, "元管"));
  if (auto section = ParseDuctSection(outlet); section && outlet != inlet) {
    warnings.push_back(AspectRatioWarning(*section, "先管"));
  }
  std::erase(warnings, std::string());
  return warnings;
}

bool ErboDialog::CheckInput() {
  if (Number(kOutletWidth) > Number(kInletWidth)) {
    RefuseValue(kOutletWidth, "先管巾は元管巾以下にしてください。", "入力確認");
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
  std::string radius = IntegerText(Number(kInletWidth) * factor);
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
