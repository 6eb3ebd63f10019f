#include "duct/bunki2_dialog.hpp"

#include "duct/branch_common.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

const GeneratorSetup kSetup{"Bunki2",
                            Bunki2Dialog::kStatusLine,
                            Bunki2Dialog::kPreview,
                            Bunki2Dialog::kSchematic,
                            "2bunki.tec",
                            100,
                            7.0,
                            150.0,
                            140.0};

// Lines 1 to 10 of "Bunki2.ini", in file order.
constexpr int kFirstEdits[] = {Bunki2Dialog::kLeftUpper, Bunki2Dialog::kBranch,
                               Bunki2Dialog::kRotation,  Bunki2Dialog::kMain,
                               Bunki2Dialog::kMainLeft,  Bunki2Dialog::kMainRight,
                               Bunki2Dialog::kRatio,     Bunki2Dialog::kRadiusFactor,
                               Bunki2Dialog::kLeftLower, Bunki2Dialog::kLeft};
// Lines 16 to 19.
constexpr int kOutletEdits[] = {Bunki2Dialog::kOutlet, Bunki2Dialog::kOutletLeft,
                                Bunki2Dialog::kOutletRight, Bunki2Dialog::kOutletHeight};

}  // namespace

Bunki2Dialog::Bunki2Dialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto editing = [this] { ShowEditing(); };
  auto size = [this](int combo, int edit) {
    return [this, combo, edit] {
      if (CopySelection(combo, edit)) Rebuild(true);
    };
  };
  SetMessageMap({
      {EventKind::kClick, kTwoWay, [this] { OnType(BranchType::kTwoWay); }},
      {EventKind::kClick, kBothWays, [this] { OnType(BranchType::kBothWays); }},
      {EventKind::kClick, kTee, [this] { OnType(BranchType::kTee); }},
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseInnerCorner, update},
      {EventKind::kClick, kMirror, update},
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      {EventKind::kClick, kSet, [this] { OnSet(); }},
      {EventKind::kSelChange, kBranchSizes, size(kBranchSizes, kBranch)},
      {EventKind::kSelChange, kLeftSizes, size(kLeftSizes, kLeft)},
      {EventKind::kSelChange, kOutletSizes, size(kOutletSizes, kOutlet)},
      {EventKind::kSelChange, kMainSizes, size(kMainSizes, kMain)},
      {EventKind::kEditChange, kLeft, [this] { OnLeftWidth(); }},
      {EventKind::kEditChange, kLeftUpper, [this] { OnLinked(kLeftUpper, kLeftLower, kLeft, 1); }},
      {EventKind::kEditChange, kLeftLower, [this] { OnLinked(kLeftLower, kLeftUpper, kLeft, 2); }},
      {EventKind::kEditChange, kOutlet, [this] { OnOutletWidth(); }},
      {EventKind::kEditChange, kOutletLeft,
       [this] { OnLinked(kOutletLeft, kOutletRight, kOutlet, 1); }},
      {EventKind::kEditChange, kOutletRight,
       [this] { OnLinked(kOutletRight, kOutletLeft, kOutlet, 2); }},
      {EventKind::kSetFocus, kLeftUpper, [this] { focusMarker_ = 1; }},
      {EventKind::kSetFocus, kOutletLeft, [this] { focusMarker_ = 1; }},
      {EventKind::kSetFocus, kLeftLower, [this] { focusMarker_ = 2; }},
      {EventKind::kSetFocus, kOutletRight, [this] { focusMarker_ = 2; }},
      {EventKind::kEditChange, kBranch, editing},
      {EventKind::kEditChange, kMain, editing},
      {EventKind::kEditChange, kMainLeft, editing},
      {EventKind::kEditChange, kMainRight, editing},
      {EventKind::kEditChange, kStored10, editing},
      {EventKind::kEditChange, kOutletHeight, editing},
      {EventKind::kEditChange, kRadiusFactor, editing},
  });
}

BranchType Bunki2Dialog::Type() {
  switch (CheckedOf({kTwoWay, kBothWays, kTee})) {
    case kTwoWay:
      return BranchType::kTwoWay;
    case kBothWays:
      return BranchType::kBothWays;
    case kTee:
      return BranchType::kTee;
    default:
      return BranchType::kNone;
  }
}

void Bunki2Dialog::LoadControls() {
  focusMarker_ = 0;
  // Without a settings file (or past its end) the controls keep what they show.
  if (Info().Exists(kSettingsFile)) ApplySettings(Info().ReadToEnd(kSettingsFile, kSettingsLines));
  FillListsFrom("KiokuSize.ini", {kBranchSizes, kLeftSizes, kOutletSizes, kMainSizes});
  EnableForType();
}

void Bunki2Dialog::ApplySettings(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i < std::size(kFirstEdits) && i < n; ++i)
    SetItemText(kFirstEdits[i], lines[i]);
  for (size_t i = 0; i < std::size(kOutletEdits) && 15 + i < n; ++i)
    SetItemText(kOutletEdits[i], lines[15 + i]);
  if (n > 10) SetItemText(kEndRun, lines[10]);
  if (n > 11) SetChecked(kMirror, lines[11] == "1");
  if (n > 12) SetChecked(kCurrentLayer, lines[12] == "1");
  if (n > 2) rotation_ = ToDouble(lines[2]);
  if (n > 13) {
    const int base = ToInt(lines[13]);
    if (base == 0) CheckRadio(kBaseCentre);
    if (base == 1) CheckRadio(kBaseInnerCorner);
  }
  if (n > 14) {
    ApplyRadioText(lines[14], {kTwoWay, kBothWays, kTee});
    if (lines[14] == "3") SplitLeftForTee();
  }
}

std::vector<std::string> Bunki2Dialog::SettingsLines() {
  std::vector<std::string> lines;
  for (int id : kFirstEdits) lines.push_back(ItemText(id));
  if (lines[2].empty()) lines[2] = FormatF(rotation_);
  lines.push_back(ItemText(kEndRun));
  lines.push_back(CheckText(kMirror));
  lines.push_back(CheckText(kCurrentLayer));
  std::string base;
  if (IsChecked(kBaseCentre)) base = "0";
  if (IsChecked(kBaseInnerCorner)) base = "1";
  lines.push_back(base);
  lines.push_back(RadioText({kTwoWay, kBothWays, kTee}));
  for (int id : kOutletEdits) lines.push_back(ItemText(id));
  return lines;
}

Bunki2Input Bunki2Dialog::ReadInput() {
  auto number = [this](int id) { return ToDouble(ItemText(id)); };
  Bunki2Input in;
  in.type = Type();
  in.wm = number(kMain);
  in.wl = number(kMainLeft);
  in.wr = number(kMainRight);
  in.wb = number(kBranch);
  in.f = number(kRadiusFactor);
  in.a = number(kEndRun);
  in.t = number(kLeft);
  in.t1 = number(kLeftUpper);
  in.t2 = number(kLeftLower);
  in.u = number(kOutlet);
  in.ul = number(kOutletLeft);
  in.ur = number(kOutletRight);
  in.ht = number(kOutletHeight);
  in.innerCornerBase = IsChecked(kBaseInnerCorner);
  in.mirror = IsChecked(kMirror);
  in.rotation = rotation_;
  return in;
}

void Bunki2Dialog::BuildRecords(RecordList& list) { BuildBunki2(list, ReadInput(), Common()); }

std::string Bunki2Dialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  const char* prefix = "Z_";
  switch (Type()) {
    case BranchType::kTwoWay:
      prefix = "NI_";
      break;
    case BranchType::kBothWays:
      prefix = "SO_";
      break;
    case BranchType::kTee:
      prefix = "TH_";
      break;
    case BranchType::kNone:
      break;
  }
  // The left branch width (line 10) does not enter the name.
  std::vector<std::string> values = settings;
  if (values.size() > 9) values.erase(values.begin() + 9);
  return BlockName(prefix, values, {Common().k1, Common().k2, Common().k3}, random);
}

double Bunki2Dialog::PreviewNumerator() {
  return BranchPreviewNumerator(IsChecked(kBaseInnerCorner), rotation_);
}

std::string Bunki2Dialog::EmptyDrawingMessage() {
  if (Type() == BranchType::kNone) return "２方向・双方向・T方向のどれかを選択してください。";
  return "この寸法では分岐を作図できません。\n寸法を見直して表示更新をクリックしてください。";
}

void Bunki2Dialog::EnableForType() {
  const BranchType type = Type();
  if (type == BranchType::kNone) return;
  const bool leftBranch = type != BranchType::kTwoWay;
  for (int id : {kLeftSizes, kLeftUpper, kLeftLower, kLeft}) EnableItem(id, leftBranch);
  for (int id : {kOutletSizes, kOutlet, kOutletLeft, kOutletRight}) EnableItem(id, !leftBranch);
}

void Bunki2Dialog::SplitLeftForTee() {
  const double half = ToDouble(ItemText(kBranch)) / 2.0;
  SetItemText(kLeftUpper, IntegerText(half));
  SetItemText(kLeftLower, IntegerText(ToDouble(ItemText(kLeft)) - half));
}

void Bunki2Dialog::OnType(BranchType type) {
  EnableForType();
  if (type == BranchType::kTee) SplitLeftForTee();
  Rebuild(true);
}

void Bunki2Dialog::OnSet() {
  Division division = DivideByRatio(ToDouble(ItemText(kMain)), ItemText(kRatio), 2, false);
  if (division.outcome == Division::kNothing) return;
  if (division.outcome == Division::kZeroSum) {
    MessageBox(ZeroRatioMessage(2), kCheckCaption);
    return;
  }
  SetItemText(kMainLeft, division.parts[0]);
  SetItemText(kMainRight, division.parts[1]);
  Rebuild(true);
}

void Bunki2Dialog::OnLeftWidth() {
  // The saved halves stand while the dialog fills its controls: the width is
  // read after them, and halving it then would lose the saved split.
  if (!Ready()) return;
  const BranchType type = Type();
  if (type == BranchType::kTwoWay || type == BranchType::kTee) {
    SplitLeftForTee();
  } else if (type == BranchType::kBothWays) {
    const std::string half = IntegerText(ToDouble(ItemText(kLeft)) / 2.0);
    SetItemText(kLeftUpper, half);
    SetItemText(kLeftLower, half);
  }
  ShowEditing();
}

void Bunki2Dialog::OnLinked(int changed, int other, int total, int marker) {
  if (focusMarker_ != marker) return;
  SetItemText(other, IntegerText(ToDouble(ItemText(total)) - ToDouble(ItemText(changed))));
  ShowEditing();
}

void Bunki2Dialog::OnOutletWidth() {
  if (!Ready()) return;
  const std::string half = IntegerText(ToDouble(ItemText(kOutlet)) / 2.0);
  SetItemText(kOutletLeft, half);
  SetItemText(kOutletRight, half);
  ShowEditing();
}

}  // namespace tavelin
