#include "duct/anemou_dialog.hpp"

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

const GeneratorSetup kSetup{"AnemoU",
                            AnemoUDialog::kStatusLine,
                            AnemoUDialog::kPreview,
                            AnemoUDialog::kSchematic,
                            "AnemoU.tec",
                            100,
                            5.5,
                            150.0,
                            80.0};

const char* const kSizes[] = {"#12.5", "#15", "#20", "#25", "#30", "#35", "#37.5", "#40", "#45"};
const char* const kAngleTexts[] = {"0", "45", "90", "135", "180", "225", "270", "315"};

using K = AnemoUDialog;

// "AnemoU.ini", line by line.
const SettingsDeclaration kSettings{
    .file = "AnemoU.ini",
    .lines =
        {
            NumberLine("P", "本体径", "mm", K::kBody, kDescribed | kRequired),
            NumberLine("B", "接続ダクト長", "mm", K::kStubLength, kDescribed),
            {.column = "stored",
             .label = "保存値",
             .kind = ParamKind::kText,
             .control = K::kStored},
            NumberLine("D", "ネック径", "mm", K::kNeck, kDescribed | kRequired),
            NumberLine("A", "アネモ面寸法", "mm", K::kFace, kDescribed | kRequired),
            NumberLine("H", "接続ダクト巾", "mm", K::kStubWidth, kDescribed),
            NumberLine("rotation", "角度", "°", K::kRotation),
            {.column = "size",
             .label = "サイズ",
             .kind = ParamKind::kText,
             .control = K::kSize,
             .described = true},
            {.column = "anemostat",
             .label = "アネモ",
             .kind = ParamKind::kChoice,
             .values = {{"1", K::kRoundFace, "丸アネモ"}, {"2", K::kSquareFace, "角アネモ"}},
             .described = true},
            FlagLine("mirror", "左右反転", K::kMirror),
            FlagLine("current_layer", "現在のレイヤに作図", K::kCurrentLayer),
        },
    .padShortFile = true};

}  // namespace

AnemoUDialog::AnemoUDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  SetMessageMap({
      {EventKind::kSelChange, kSize,
       [this] {
         const ui::Control& size = Item(kSize);
         if (size.CurSel() >= 0) LookUpSize(size.ItemText(size.CurSel()));
       }},
      {EventKind::kClick, kRoundFace, [this] { OnFace(); }},
      {EventKind::kClick, kSquareFace, [this] { OnFace(); }},
      {EventKind::kClick, kMirror, update},
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      SelectionInto(kAngles, kRotation),
  });
}

void AnemoUDialog::LoadControls() {
  FillList(kSize, kSizes);
  FillList(kAngles, kAngleTexts);
  // Without a settings file the controls keep what the layout gives them.
  LoadDeclaredSettings();
}

const SettingsDeclaration* AnemoUDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& AnemoUDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void AnemoUDialog::LookUpSize(const std::string& size) {
  // A size the file does not list leaves the dimensions as they are.
  if (std::optional<AnemoSize> found = FindAnemoSize(Info().ReadToEnd(kSizeFile, 1000), size)) {
    SetItemText(kNeck, found->neck);
    SetItemText(kStubWidth, found->neck);
    SetItemText(kBody, found->body);
    if (IsChecked(kRoundFace)) SetItemText(kFace, found->roundFace);
    if (IsChecked(kSquareFace)) SetItemText(kFace, found->squareFace);
  }
  Rebuild(true);
}

void AnemoUDialog::OnFace() {
  const std::string size = ItemText(kSize);
  if (!size.empty()) LookUpSize(size);
}

void AnemoUDialog::BuildRecords(RecordList& list) {
  AnemoUInput in;
  in.body = Number(kBody);
  in.stubLength = Number(kStubLength);
  in.neck = Number(kNeck);
  in.face = Number(kFace);
  in.stubWidth = Number(kStubWidth);
  in.angle = Number(kRotation);
  in.mirror = IsChecked(kMirror);
  if (IsChecked(kRoundFace)) in.anemostat = AnemoUFace::kRound;
  if (IsChecked(kSquareFace)) in.anemostat = AnemoUFace::kSquare;
  BuildAnemoU(list, in, Common());
}

std::string AnemoUDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName("AU_", settings, {Common().k1, Common().k2, Common().k3}, random);
}

}  // namespace tavelin
