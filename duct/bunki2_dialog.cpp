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

using K = Bunki2Dialog;

// "Bunki2.ini", line by line.
const SettingsDeclaration kSettings{
    .file = "Bunki2.ini",
    .lines = {
        NumberLine("T1", "上 T1", "mm", K::kLeftUpper),
        NumberLine("Wb", "分岐巾", "mm", K::kBranch, kDescribed | kRequired),
        NumberLine("rotation", "角度", "°", K::kRotation),
        NumberLine("Wm", "主ダクト巾", "mm", K::kMain, kDescribed | kRequired),
        NumberLine("Wl", "左 Wl", "mm", K::kMainLeft, kDescribed),
        NumberLine("Wr", "右 Wr", "mm", K::kMainRight, kDescribed),
        {.column = "ratio", .label = "分割比", .kind = ParamKind::kText, .control = K::kRatio},
        NumberLine("f", "内R", "", K::kRadiusFactor, kDescribed),
        NumberLine("T2", "下 T2", "mm", K::kLeftLower),
        NumberLine("T", "左分岐巾", "mm", K::kLeft, kDescribed),
        NumberLine("A", "直管長", "mm", K::kEndRun, kDescribed),
        FlagLine("mirror", "左右反転", K::kMirror, ApplyRule::kExact),
        FlagLine("current_layer", "現在のレイヤに作図", K::kCurrentLayer, ApplyRule::kExact),
        // Either base radio; the inner corner first, as it wins when both are set.
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kBaseInnerCorner, "内角"}, {"0", K::kBaseCentre, "中心"}}},
        {.column = "form",
         .label = "種類",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kTwoWay, "２方向"},
                    {"2", K::kBothWays, "双方向"},
                    {"3", K::kTee, "T方向"}},
         .described = true},
        NumberLine("U", "上部吹出巾", "mm", K::kOutlet, kDescribed),
        NumberLine("Ul", "左 Ul", "mm", K::kOutletLeft),
        NumberLine("Ur", "右 Ur", "mm", K::kOutletRight),
        NumberLine("Ht", "高さ Ht", "mm", K::kOutletHeight, kDescribed),
    }};

}  // namespace

Bunki2Dialog::Bunki2Dialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto editing = [this] { ShowEditing(); };
  std::vector<ui::MessageEntry> entries = {
      {EventKind::kClick, kTwoWay, [this] { OnType(BranchType::kTwoWay); }},
      {EventKind::kClick, kBothWays, [this] { OnType(BranchType::kBothWays); }},
      {EventKind::kClick, kTee, [this] { OnType(BranchType::kTee); }},
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseInnerCorner, update},
      {EventKind::kClick, kMirror, update},
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      {EventKind::kClick, kSet, [this] { OnSet(); }},
      SelectionInto(kBranchSizes, kBranch),
      SelectionInto(kLeftSizes, kLeft),
      SelectionInto(kOutletSizes, kOutlet),
      SelectionInto(kMainSizes, kMain),
      {EventKind::kEditChange, kLeft, [this] { OnLeftWidth(); }},
      {EventKind::kEditChange, kOutlet, [this] { OnOutletWidth(); }},
      {EventKind::kEditChange, kBranch, editing},
      {EventKind::kEditChange, kMain, editing},
      {EventKind::kEditChange, kMainLeft, editing},
      {EventKind::kEditChange, kMainRight, editing},
      {EventKind::kEditChange, kStored10, editing},
      {EventKind::kEditChange, kOutletHeight, editing},
      {EventKind::kEditChange, kRadiusFactor, editing},
  };
  // The two sides of the left duct and of the outlet, each typed against its width.
  for (ui::MessageEntry& entry : LinkedPairEntries({kLeftSides, kOutletSides}, editing)) {
    entries.push_back(std::move(entry));
  }
  SetMessageMap(std::move(entries));
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
  // Without a settings file (or past its end) the controls keep what they show.
  ApplyStoredLines(LoadDeclaredSettings());
  FillListsFrom("KiokuSize.ini", {kBranchSizes, kLeftSizes, kOutletSizes, kMainSizes});
  EnableForType();
}

const SettingsDeclaration* Bunki2Dialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& Bunki2Dialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void Bunki2Dialog::ApplyStoredLines(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  if (n > 2) rotation_ = ToDouble(lines[2]);
  // The base line is read as a number: "0" (or any text that is no number)
  // checks the centre, "1" the inner corner.
  if (n > 13) {
    const int base = ToInt(lines[13]);
    if (base == 0) CheckRadio(kBaseCentre);
    if (base == 1) CheckRadio(kBaseInnerCorner);
  }
  // The T's left branch is split again from the stored widths.
  if (n > 14 && lines[14] == "3") SplitLeftForTee();
}

std::vector<std::string> Bunki2Dialog::SettingsLines() {
  std::vector<std::string> lines = DeclaredSettingsLines();
  // An empty rotation is stored as the rotation in use.
  if (lines[2].empty()) lines[2] = FormatF(rotation_);
  return lines;
}

Bunki2Input Bunki2Dialog::ReadInput() {
  auto number = [this](int id) { return Number(id); };
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
  const double half = Number(kBranch) / 2.0;
  SetItemText(kLeftUpper, IntegerText(half));
  SetItemText(kLeftLower, IntegerText(Number(kLeft) - half));
}

void Bunki2Dialog::OnType(BranchType type) {
  EnableForType();
  if (type == BranchType::kTee) SplitLeftForTee();
  Rebuild(true);
}

void Bunki2Dialog::OnSet() {
  Division division = DivideByRatio(Number(kMain), ItemText(kRatio), 2, false);
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
    SplitInHalves(kLeftSides);
  }
  ShowEditing();
}

void Bunki2Dialog::OnOutletWidth() {
  if (!Ready()) return;
  SplitInHalves(kOutletSides);
  ShowEditing();
}

}  // namespace tavelin
