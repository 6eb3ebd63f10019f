#include "duct/smagari_dialog.hpp"

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

const GeneratorSetup kSetup{"Smagari",
                            SmagariDialog::kStatusLine,
                            SmagariDialog::kPreview,
                            SmagariDialog::kSchematic,
                            "Smagari.tec",
                            100,
                            7.5,
                            100.0,
                            80.0};

const char* const kAngleChoices[] = {"0", "45", "90", "135", "180", "225", "270", "315"};

using K = SmagariDialog;

// "Smagari.ini", line by line.
const SettingsDeclaration kSettings{
    "Smagari.ini",
    {
        NumberLine("W", "W", "mm", K::kWidth, kDescribed | kRequired),
        NumberLine("S", "S", "mm", K::kOffset, kDescribed | kRequired),
        NumberLine("R", "R", "mm", K::kRadius, kDescribed),
        NumberLine("rotation", "角度", "°", K::kAngle),
        NumberLine("Lt", "Lt", "mm", K::kUpperStub, kDescribed),
        NumberLine("A", "A", "mm", K::kLength, kDescribed),
        {.column = "stored7", .label = "保存値", .kind = ParamKind::kText, .control = K::kStored},
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kBaseLeft}, {"2", K::kBaseCentre}, {"3", K::kBaseRight}}},
        FlagLine("mirror", "左右反転", K::kMirror),
        FlagLine("current_layer", "現在のレイヤに作図", K::kCurrentLayer),
        NumberLine("Lb", "Lb", "mm", K::kLowerStub, kDescribed),
    }};

}  // namespace

SmagariDialog::SmagariDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto editing = [this] { ShowEditing(); };
  // Typing in a stub recomputes A; while the dialog fills its controls the
  // saved A stands (a longer A, with a gap between the bends, is the user's).
  auto length = [this] {
    if (Ready()) SetShortestLength();
  };
  SetMessageMap({
      {EventKind::kClick, kBaseLeft, update},
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseRight, update},
      {EventKind::kClick, kMirror, update},
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      {EventKind::kClick, kShortest, [this] { OnShortest(); }},
      SelectionInto(kSizes, kWidth),
      SelectionInto(kAngles, kAngle),
      {EventKind::kEditChange, kUpperStub, length},
      {EventKind::kEditChange, kLowerStub, length},
      {EventKind::kEditChange, kWidth, editing},
      {EventKind::kEditChange, kOffset, editing},
      {EventKind::kEditChange, kRadius, editing},
      {EventKind::kEditChange, kLength, editing},
  });
}

void SmagariDialog::LoadControls() {
  // Without a settings file (or past its end) the controls keep what they show.
  LoadDeclaredSettings();
  FillListsFrom("KiokuSize.ini", {kSizes});
  FillList(kAngles, kAngleChoices);
}

const SettingsDeclaration* SmagariDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& SmagariDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void SmagariDialog::BuildRecords(RecordList& list) {
  auto number = [this](int id) { return Number(id); };
  SmagariInput in;
  in.w = number(kWidth);
  in.s = number(kOffset);
  in.r = number(kRadius);
  in.lt = number(kUpperStub);
  in.a = number(kLength);
  in.lb = number(kLowerStub);
  switch (CheckedOf({kBaseLeft, kBaseCentre, kBaseRight})) {
    case kBaseLeft:
      in.base = 1;
      break;
    case kBaseRight:
      in.base = 3;
      break;
    default:
      in.base = 2;
      break;
  }
  in.mirror = IsChecked(kMirror);
  BuildSmagari(list, in, Common());
}

std::string SmagariDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName("SK_", settings, {Common().k1, Common().k2, Common().k3}, random);
}

std::string SmagariDialog::EmptyDrawingMessage() {
  return "この寸法ではS字管を作図できません。\n寸法を見直して表示更新をクリックしてください。";
}

bool SmagariDialog::SetShortestLength() {
  std::optional<double> run = ShortestBendRun(Number(kWidth), Number(kRadius), Number(kOffset));
  if (!run) return false;
  const int whole = ToInt(IntegerText(*run));
  const double length = Number(kUpperStub) + Number(kLowerStub) + whole;
  SetItemText(kLength, IntegerText(length));
  return true;
}

void SmagariDialog::OnShortest() {
  if (!SetShortestLength()) {
    RefuseValue(kOffset,
                "このオフセットでは2つの曲がりが接するS字管になりません。\n"
                "オフセットは0以上、巾＋2×Rの2倍以下にしてください。",
                "入力確認");
    return;
  }
  Rebuild(true);
}

}  // namespace tavelin
