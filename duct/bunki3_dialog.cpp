#include "duct/bunki3_dialog.hpp"

#include "duct/branch_common.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

const GeneratorSetup kSetup{"Bunki3",
                            Bunki3Dialog::kStatusLine,
                            Bunki3Dialog::kPreview,
                            Bunki3Dialog::kSchematic,
                            "3bunki.tec",
                            100,
                            7.0,
                            150.0,
                            125.0};

// Lines 1 to 15 of "Bunki3.ini", in file order.
constexpr int kFirstEdits[] = {
    Bunki3Dialog::kLeftUpper,   Bunki3Dialog::kBranch,       Bunki3Dialog::kOutlet,
    Bunki3Dialog::kRotation,    Bunki3Dialog::kMain,         Bunki3Dialog::kMainLeft,
    Bunki3Dialog::kMainMiddle,  Bunki3Dialog::kMainRight,    Bunki3Dialog::kOutletHeight,
    Bunki3Dialog::kRatio,       Bunki3Dialog::kRadiusFactor, Bunki3Dialog::kOutletLeft,
    Bunki3Dialog::kOutletRight, Bunki3Dialog::kLeftLower,    Bunki3Dialog::kLeft};

}  // namespace

Bunki3Dialog::Bunki3Dialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto editing = [this] { ShowEditing(); };
  SetMessageMap({
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseInnerCorner, update},
      {EventKind::kClick, kMirror, update},
      {EventKind::kClick, kSet, [this] { Divide(true); }},
      {EventKind::kSelChange, kBranchSizes, [this] { OnSize(kBranchSizes, kBranch); }},
      {EventKind::kSelChange, kLeftSizes, [this] { OnSize(kLeftSizes, kLeft); }},
      {EventKind::kSelChange, kOutletSizes, [this] { OnSize(kOutletSizes, kOutlet); }},
      {EventKind::kSelChange, kMainSizes, [this] { OnSize(kMainSizes, kMain); }},
      {EventKind::kEditChange, kMain, [this] { OnMainWidth(); }},
      {EventKind::kEditChange, kLeft, [this] { OnHalves(kLeft, kLeftUpper, kLeftLower); }},
      {EventKind::kEditChange, kLeftUpper, [this] { OnLinked(kLeftUpper, kLeftLower, kLeft, 1); }},
      {EventKind::kEditChange, kLeftLower, [this] { OnLinked(kLeftLower, kLeftUpper, kLeft, 2); }},
      {EventKind::kEditChange, kOutlet, [this] { OnHalves(kOutlet, kOutletLeft, kOutletRight); }},
      {EventKind::kEditChange, kOutletLeft,
       [this] { OnLinked(kOutletLeft, kOutletRight, kOutlet, 1); }},
      {EventKind::kEditChange, kOutletRight,
       [this] { OnLinked(kOutletRight, kOutletLeft, kOutlet, 2); }},
      {EventKind::kSetFocus, kLeftUpper, [this] { focusMarker_ = 1; }},
      {EventKind::kSetFocus, kOutletLeft, [this] { focusMarker_ = 1; }},
      {EventKind::kSetFocus, kLeftLower, [this] { focusMarker_ = 2; }},
      {EventKind::kSetFocus, kOutletRight, [this] { focusMarker_ = 2; }},
      {EventKind::kEditChange, kBranch, editing},
      {EventKind::kEditChange, kMainLeft, editing},
      {EventKind::kEditChange, kMainMiddle, editing},
      {EventKind::kEditChange, kMainRight, editing},
      {EventKind::kEditChange, kOutletHeight, editing},
      {EventKind::kEditChange, kRadiusFactor, editing},
      {EventKind::kEditChange, kEndRun, editing},
  });
}

void Bunki3Dialog::LoadControls() {
  focusMarker_ = 0;
  // Without a settings file (or past its end) the controls keep what they show.
  if (Info().Exists(kSettingsFile)) ApplySettings(Info().ReadToEnd(kSettingsFile, kSettingsLines));
  FillListsFrom("KiokuSize.ini", {kBranchSizes, kLeftSizes, kOutletSizes, kMainSizes});
}

void Bunki3Dialog::ApplySettings(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i < std::size(kFirstEdits) && i < n; ++i)
    SetItemText(kFirstEdits[i], lines[i]);
  if (n > 18) SetItemText(kEndRun, lines[18]);
  if (n > 15) SetChecked(kMirror, lines[15] == "1");
  if (n > 16) SetChecked(kCurrentLayer, lines[16] == "1");
  if (n > 3) rotation_ = ToDouble(lines[3]);
  if (n > 17) {
    const int base = ToInt(lines[17]);
    if (base == 0) CheckRadio(kBaseCentre);
    if (base == 1) CheckRadio(kBaseInnerCorner);
  }
}

std::vector<std::string> Bunki3Dialog::SettingsLines() {
  std::vector<std::string> lines;
  for (int id : kFirstEdits) lines.push_back(ItemText(id));
  lines.push_back(CheckText(kMirror));
  lines.push_back(CheckText(kCurrentLayer));
  std::string base;
  if (IsChecked(kBaseCentre)) base = "0";
  if (IsChecked(kBaseInnerCorner)) base = "1";
  lines.push_back(base);
  lines.push_back(ItemText(kEndRun));
  return lines;
}

Bunki3Input Bunki3Dialog::ReadInput() {
  auto number = [this](int id) { return ToDouble(ItemText(id)); };
  Bunki3Input in;
  in.wm = number(kMain);
  in.wl = number(kMainLeft);
  in.wr = number(kMainRight);
  in.wb = number(kBranch);
  in.f = number(kRadiusFactor);
  in.a = number(kEndRun);
  in.t = number(kLeft);
  in.t1 = number(kLeftUpper);
  in.t2 = number(kLeftLower);
  in.ul = number(kOutletLeft);
  in.ur = number(kOutletRight);
  in.ht = number(kOutletHeight);
  in.innerCornerBase = IsChecked(kBaseInnerCorner);
  in.mirror = IsChecked(kMirror);
  in.rotation = rotation_;
  return in;
}

void Bunki3Dialog::BuildRecords(RecordList& list) { BuildBunki3(list, ReadInput(), Common()); }

std::string Bunki3Dialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName("SN_", settings, {Common().k1, Common().k2, Common().k3}, random);
}

double Bunki3Dialog::PreviewNumerator() {
  return BranchPreviewNumerator(IsChecked(kBaseInnerCorner), rotation_);
}

std::string Bunki3Dialog::EmptyDrawingMessage() {
  return "この寸法では三方向分岐を作図できません。\n寸法を見直して表示更新をクリックしてください。";
}

void Bunki3Dialog::Divide(bool ask) {
  Division division = DivideByRatio(ToDouble(ItemText(kMain)), ItemText(kRatio), 3, true);
  if (division.outcome == Division::kNothing) return;
  if (division.outcome == Division::kZeroSum) {
    if (ask) MessageBox(ZeroRatioMessage(3), kCheckCaption);
    return;
  }
  SetItemText(kMainLeft, division.parts[0]);
  SetItemText(kMainMiddle, division.parts[1]);
  SetItemText(kMainRight, division.parts[2]);
  Rebuild(true);
}

void Bunki3Dialog::OnSize(int combo, int edit) {
  if (!CopySelection(combo, edit)) return;
  Divide(true);
}

void Bunki3Dialog::OnMainWidth() {
  ShowEditing();
  // While the dialog fills its controls the saved parts stand.
  if (Ready()) Divide(false);
}

void Bunki3Dialog::OnHalves(int total, int first, int second) {
  // The saved halves stand while the dialog fills its controls: the width is
  // read after them, and halving it then would lose the saved split.
  if (!Ready()) return;
  const std::string half = IntegerText(ToDouble(ItemText(total)) / 2.0);
  SetItemText(first, half);
  SetItemText(second, half);
  ShowEditing();
}

void Bunki3Dialog::OnLinked(int changed, int other, int total, int marker) {
  if (focusMarker_ != marker) return;
  SetItemText(other, IntegerText(ToDouble(ItemText(total)) - ToDouble(ItemText(changed))));
  ShowEditing();
}

}  // namespace tavelin
