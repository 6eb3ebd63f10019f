#include "duct/tuki_dialog.hpp"

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

const GeneratorSetup kSetup{"Tuki",
                            TukiDialog::kStatusLine,
                            TukiDialog::kPreview,
                            TukiDialog::kSchematic,
                            "Tuki.tec",
                            100,
                            6.5,
                            115.0,
                            120.0};

const char* const kAngleChoices[] = {"0", "45", "90", "135", "180", "225", "270", "315"};

using K = TukiDialog;

// "Tuki.ini", line by line.
const SettingsDeclaration kSettings{
    "Tuki.ini",
    {
        NumberLine("A", "接合端", "mm", K::kJointEnd, kDescribed | kRequired),
        NumberLine("B", "ホッパー深さ", "mm", K::kHopperDepth, kDescribed),
        {.column = "stored", .label = "保存値", .kind = ParamKind::kText, .control = K::kStored},
        NumberLine("C", "ホッパー幅", "mm", K::kHopperWidth, kDescribed),
        NumberLine("W", "巾", "mm", K::kWidth, kDescribed | kRequired),
        NumberLine("E", "終端", "mm", K::kFarEnd, kDescribed),
        NumberLine("rotation", "角度", "°", K::kAngle),
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kBaseCentre, "中心"}, {"2", K::kBaseSide, "側面"}}},
        {.column = "hopper",
         .label = "ホッパー",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kHopper, "有"}, {"2", K::kNoHopper, "無"}},
         .described = true},
        FlagLine("mirror", "左右反転", K::kMirror),
        FlagLine("current_layer", "現在のレイヤに作図", K::kCurrentLayer),
        // The end is round unless "角-角" is set: without it the line says "1".
        {.column = "shape",
         .label = "形状",
         .kind = ParamKind::kChoice,
         .values = {{"0", K::kSquare, "角-角"}, {"1", K::kRound, "角-丸"}},
         .noneText = "1",
         .apply = ApplyRule::kExact,
         .described = true},
    }};

}  // namespace

TukiDialog::TukiDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  SetMessageMap({
      {EventKind::kClick, kSquare, update},
      {EventKind::kClick, kRound, update},
      {EventKind::kClick, kHopper, update},
      {EventKind::kClick, kNoHopper, update},
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseSide, update},
      {EventKind::kClick, kMirror, update},
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      SelectionInto(kSizes, kWidth),
      SelectionInto(kAngles, kAngle),
  });
}

void TukiDialog::LoadControls() {
  // Without a settings file (or past its end) the controls keep what they show.
  LoadDeclaredSettings();
  FillListsFrom("KiokuSize.ini", {kSizes});
  FillList(kAngles, kAngleChoices);
}

const SettingsDeclaration* TukiDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& TukiDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void TukiDialog::BuildRecords(RecordList& list) {
  auto number = [this](int id) { return Number(id); };
  TukiInput in;
  in.a = number(kJointEnd);
  in.b = number(kHopperDepth);
  in.c = number(kHopperWidth);
  in.w = number(kWidth);
  in.e = number(kFarEnd);
  in.hopper = IsChecked(kHopper);
  // The end is round unless "角-角" is set, as the settings line records it.
  in.squareToRound = !IsChecked(kSquare);
  in.sideBase = IsChecked(kBaseSide);
  in.mirror = IsChecked(kMirror);
  BuildTuki(list, in, Common());
}

std::string TukiDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  // The shape (line 12) does not enter the name.
  std::vector<std::string> values(settings.begin(),
                                  settings.begin() + std::min<size_t>(11, settings.size()));
  return BlockName("TT_", values, {Common().k1, Common().k2, Common().k3}, random);
}

std::string TukiDialog::EmptyDrawingMessage() {
  return "この寸法では枝管を作図できません。\n寸法を見直して表示更新をクリックしてください。";
}

}  // namespace tavelin
