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

using K = Bunki3Dialog;

// "Bunki3.ini", line by line.
const SettingsDeclaration kSettings{
    .file = "Bunki3.ini",
    .lines = {
        NumberLine("T1", "上 T1", "mm", K::kLeftUpper),
        NumberLine("Wb", "分岐巾", "mm", K::kBranch, kDescribed | kRequired),
        NumberLine("U", "上部吹出巾", "mm", K::kOutlet, kDescribed),
        NumberLine("rotation", "角度", "°", K::kRotation),
        NumberLine("Wm", "主ダクト巾", "mm", K::kMain, kDescribed | kRequired),
        NumberLine("Wl", "左", "mm", K::kMainLeft, kDescribed),
        NumberLine("Wc", "中", "mm", K::kMainMiddle, kDescribed),
        NumberLine("Wr", "右", "mm", K::kMainRight, kDescribed),
        NumberLine("Ht", "高さ Ht", "mm", K::kOutletHeight, kDescribed),
        {.column = "ratio", .label = "分割比", .kind = ParamKind::kText, .control = K::kRatio},
        NumberLine("f", "内R", "", K::kRadiusFactor, kDescribed),
        NumberLine("Ul", "左 Ul", "mm", K::kOutletLeft),
        NumberLine("Ur", "右 Ur", "mm", K::kOutletRight),
        NumberLine("T2", "下 T2", "mm", K::kLeftLower),
        NumberLine("T", "左分岐巾", "mm", K::kLeft, kDescribed),
        FlagLine("mirror", "左右反転", K::kMirror, ApplyRule::kExact),
        FlagLine("current_layer", "現在のレイヤに作図", K::kCurrentLayer, ApplyRule::kExact),
        // Either base radio; the inner corner first, as it wins when both are set.
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kBaseInnerCorner, "内角"}, {"0", K::kBaseCentre, "中心"}}},
        NumberLine("A", "直管長", "mm", K::kEndRun, kDescribed),
    }};

}  // namespace

Bunki3Dialog::Bunki3Dialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto editing = [this] { ShowEditing(); };
  std::vector<ui::MessageEntry> entries = {
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
      {EventKind::kEditChange, kLeft, [this] { OnHalves(kLeftSides); }},
      {EventKind::kEditChange, kOutlet, [this] { OnHalves(kOutletSides); }},
      {EventKind::kEditChange, kBranch, editing},
      {EventKind::kEditChange, kMainLeft, editing},
      {EventKind::kEditChange, kMainMiddle, editing},
      {EventKind::kEditChange, kMainRight, editing},
      {EventKind::kEditChange, kOutletHeight, editing},
      {EventKind::kEditChange, kRadiusFactor, editing},
      {EventKind::kEditChange, kEndRun, editing},
  };
  // The two sides of the left duct and of the outlet, each typed against its width.
  for (ui::MessageEntry& entry : LinkedPairEntries({kLeftSides, kOutletSides}, editing)) {
    entries.push_back(std::move(entry));
  }
  SetMessageMap(std::move(entries));
}

void Bunki3Dialog::LoadControls() {
  // Without a settings file (or past its end) the controls keep what they show.
  ApplyStoredLines(LoadDeclaredSettings());
  FillListsFrom("KiokuSize.ini", {kBranchSizes, kLeftSizes, kOutletSizes, kMainSizes});
}

const SettingsDeclaration* Bunki3Dialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& Bunki3Dialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void Bunki3Dialog::ApplyStoredLines(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  if (n > 3) rotation_ = ToDouble(lines[3]);
  // The base line is read as a number: "0" (or any text that is no number)
  // checks the centre, "1" the inner corner.
  if (n > 17) {
    const int base = ToInt(lines[17]);
    if (base == 0) CheckRadio(kBaseCentre);
    if (base == 1) CheckRadio(kBaseInnerCorner);
  }
}

Bunki3Input Bunki3Dialog::ReadInput() {
  auto number = [this](int id) { return Number(id); };
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
  Division division = DivideByRatio(Number(kMain), ItemText(kRatio), 3, true);
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

void Bunki3Dialog::OnHalves(const LinkedPair& sides) {
  // The saved halves stand while the dialog fills its controls: the width is
  // read after them, and halving it then would lose the saved split.
  if (!Ready()) return;
  SplitInHalves(sides);
  ShowEditing();
}

}  // namespace tavelin
