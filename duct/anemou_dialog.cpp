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

// Lines 1 to 7 of "AnemoU.ini".
constexpr int kEdits[] = {
    AnemoUDialog::kBody, AnemoUDialog::kStubLength, AnemoUDialog::kStored,  AnemoUDialog::kNeck,
    AnemoUDialog::kFace, AnemoUDialog::kStubWidth,  AnemoUDialog::kRotation};

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
      {EventKind::kSelChange, kAngles,
       [this] {
         if (CopySelection(kAngles, kRotation)) Rebuild(true);
       }},
  });
}

void AnemoUDialog::LoadControls() {
  Item(kSize).ResetContent();
  for (const char* size : kSizes) Item(kSize).AddString(size);
  Item(kAngles).ResetContent();
  for (const char* angle : kAngleTexts) Item(kAngles).AddString(angle);
  if (!Info().Exists(kSettingsFile)) return;
  const std::vector<std::string> lines = Info().ReadLines(kSettingsFile, 11);
  for (size_t i = 0; i < std::size(kEdits); ++i) SetItemText(kEdits[i], lines[i]);
  SetItemText(kSize, lines[7]);
  ApplyRadioText(lines[8], {kRoundFace, kSquareFace});
  ApplyCheckText(lines[9], kMirror);
  ApplyCheckText(lines[10], kCurrentLayer);
}

std::vector<std::string> AnemoUDialog::SettingsLines() {
  std::vector<std::string> lines;
  for (int id : kEdits) lines.push_back(ItemText(id));
  lines.push_back(ItemText(kSize));
  lines.push_back(RadioText({kRoundFace, kSquareFace}));
  lines.push_back(CheckText(kMirror));
  lines.push_back(CheckText(kCurrentLayer));
  return lines;
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
  in.body = ToDouble(ItemText(kBody));
  in.stubLength = ToDouble(ItemText(kStubLength));
  in.neck = ToDouble(ItemText(kNeck));
  in.face = ToDouble(ItemText(kFace));
  in.stubWidth = ToDouble(ItemText(kStubWidth));
  in.angle = ToDouble(ItemText(kRotation));
  in.mirror = IsChecked(kMirror);
  if (IsChecked(kRoundFace)) in.anemostat = AnemoUFace::kRound;
  if (IsChecked(kSquareFace)) in.anemostat = AnemoUFace::kSquare;
  BuildAnemoU(list, in, Common());
}

std::string AnemoUDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName("AU_", settings, {Common().k1, Common().k2, Common().k3}, random);
}

}  // namespace tavelin
