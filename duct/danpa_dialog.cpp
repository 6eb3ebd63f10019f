#include "duct/danpa_dialog.hpp"

#include <optional>

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kTypeSelection = "Danpa.ini";

const GeneratorSetup kSetup{"Danpa",
                            DanpaDialog::kStatus,
                            DanpaDialog::kPreview,
                            DanpaDialog::kSchematic,
                            "Danpa.tec",
                            DanpaDialog::kSchematicCapacity,
                            4.0,
                            70.0,
                            145.0,
                            DanpaDialog::kRecordCapacity};

// The preview keeps the fitting in place while the base point moves.
constexpr double kPreviewNumerator = 80.0;
constexpr double kPreviewFraction = 0.5;

constexpr int kLongType = 5;  // FD+

struct TypeInfo {
  const char* file;
  const char* prefix;
  int lines;
};

constexpr TypeInfo kTypes[] = {
    {"Danpa_VD.ini", "DPV_", 7}, {"Danpa_MD.ini", "DPM_", 7},  {"Danpa_CD.ini", "DPC_", 7},
    {"Danpa_FD.ini", "DPF_", 8}, {"Danpa_FT.ini", "DPFT_", 9},
};

bool ValidType(int type) { return type >= 1 && type <= 5; }

// Where the labels over the schematic go for each type, in pixels.
struct LabelPlaces {
  int l2x, l2y;
  int wx, wy;
  int sx, sy;
};

LabelPlaces PlacesFor(int type) {
  switch (type) {
    case 3:
      return {165, 32, 165, 58, 220, 100};
    case 4:
      return {165, 32, 147, 58, 220, 100};
    case 5:
      return {165, 32, 147, 58, 270, 100};
    default:
      return {155, 32, 148, 60, 220, 100};
  }
}

constexpr int kL2Width = 20, kLabelHeight = 12, kNarrowWidth = 15;

}  // namespace

std::string DanpaDialog::TypeFile(int type) {
  return ValidType(type) ? kTypes[type - 1].file : std::string();
}

std::string DanpaDialog::TypePrefix(int type) {
  return ValidType(type) ? kTypes[type - 1].prefix : std::string();
}

DanpaDialog::DanpaDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto switchTo = [this](int type) { return [this, type] { SwitchType(type); }; };
  SetMessageMap({
      {EventKind::kClick, kTypeVd, switchTo(1)},
      {EventKind::kClick, kTypeVd + 1, switchTo(2)},
      {EventKind::kClick, kTypeVd + 2, switchTo(3)},
      {EventKind::kClick, kTypeVd + 3, switchTo(4)},
      {EventKind::kClick, kTypeVd + 4, switchTo(5)},
      {EventKind::kSelChange, kSizes,
       [this] {
         if (CopySelection(kSizes, kD)) Rebuild(true);
       }},
      {EventKind::kClick, kUpdate, update},
      {EventKind::kClick, kBaseRadios[0], update},
      {EventKind::kClick, kBaseRadios[1], update},
      {EventKind::kClick, kBaseRadios[2], update},
      {EventKind::kClick, kBaseRadios[3], update},
      {EventKind::kClick, kBaseRadios[4], update},
      {EventKind::kClick, kBaseRadios[5], update},
      {EventKind::kClick, kHatch, update},
      {EventKind::kClick, kOkButton, [this] { OnOK(); }},
  });
}

void DanpaDialog::LoadControls() {
  FillListsFrom("KiokuSize.ini", {kSizes});
  // A type file that cannot be read is reported; the next change recreates
  // it from the controls.
  MarkReady();
  RestoreType();
  ArrangeLabels(type_);
}

void DanpaDialog::RestoreType() {
  type_ = 0;
  // A missing selection file or a number outside 1 to 5 selects no type: the
  // dialog opens empty and waits for the user to pick one.
  if (!Info().Exists(kTypeSelection)) return;
  const int type = ToInt(Info().ReadLine(kTypeSelection));
  if (!ValidType(type)) return;
  CheckRadio(kTypeVd + type - 1);
  type_ = type;
  ApplyTypeFile(type);
}

void DanpaDialog::SwitchType(int type) {
  ArrangeLabels(type);
  type_ = type;
  Invalidate();  // the schematic shows the new type
  ApplyTypeFile(type);
  Rebuild(true);
}

void DanpaDialog::ApplyTypeFile(int type) {
  if (!ValidType(type)) return;
  const std::vector<std::string> lines =
      Info().ReadToEnd(TypeFile(type), static_cast<size_t>(kTypes[type - 1].lines));
  // A short file leaves the controls of its missing lines as they are.
  auto apply = [&](const std::vector<int>& edits, int radios) {
    for (size_t i = 0; i < edits.size() && i < lines.size(); ++i) SetItemText(edits[i], lines[i]);
    const size_t baseLine = edits.size();
    if (lines.size() > baseLine) {
      // The base radios form one group: a radio this type cannot use is
      // cleared too, so no two of them are ever checked at once.
      for (int r = 0; r < 6; ++r) {
        SetChecked(kBaseRadios[r], r < radios && lines[baseLine] == FormatD(r + 1));
      }
    }
    if (lines.size() > baseLine + 1) SetChecked(kHatch, lines[baseLine + 1] == "1");
  };
  if (type == kLongType) {
    apply({kL1, kL2, kL3, kW, kA, kD, kS}, 6);
  } else {
    apply({kL1, kL2, kW, kA, kD, kS}, 4);
  }
}

void DanpaDialog::ArrangeLabels(int type) {
  const bool longPiece = type == kLongType;
  EnableItem(kBaseRadios[4], longPiece);
  EnableItem(kBaseRadios[5], longPiece);
  EnableItem(kL3, longPiece);
  const LabelPlaces p = PlacesFor(type);
  Item(kLabelL2).Move({p.l2x, p.l2y, p.l2x + kL2Width, p.l2y + kLabelHeight});
  SetItemText(kLabelL3, longPiece ? "L3" : "");
  Item(kLabelW).Move({p.wx, p.wy, p.wx + kNarrowWidth, p.wy + kLabelHeight});
  Item(kLabelS).Move({p.sx, p.sy, p.sx + kNarrowWidth, p.sy + kLabelHeight});
}

int DanpaDialog::CheckedType() {
  for (int type = 1; type <= 5; ++type) {
    if (IsChecked(kTypeVd + type - 1)) return type;
  }
  return 0;
}

int DanpaDialog::CheckedBase() {
  for (int r = 0; r < 6; ++r) {
    if (IsChecked(kBaseRadios[r])) return r + 1;
  }
  return 0;
}

DanpaValues DanpaDialog::ReadValues(int type) {
  DanpaValues v;
  v.type = static_cast<DamperType>(type);
  v.l1 = ToDouble(ItemText(kL1));
  v.l2 = ToDouble(ItemText(kL2));
  v.l3 = ToDouble(ItemText(kL3));
  v.w = ToDouble(ItemText(kW));
  v.a = ToDouble(ItemText(kA));
  v.s = ToDouble(ItemText(kS));
  v.d = ToDouble(ItemText(kD));
  v.base = CheckedBase();
  v.hatch = IsChecked(kHatch);
  return v;
}

std::vector<std::string> DanpaDialog::TypeFileValues(int type) {
  const std::string hatch = IsChecked(kHatch) ? "1" : "0";
  const int base = CheckedBase();
  if (type == kLongType) {
    return {ItemText(kL1), ItemText(kL2), ItemText(kL3), ItemText(kW), ItemText(kA),
            ItemText(kD),  ItemText(kS),  FormatD(base), hatch};
  }
  std::vector<std::string> values = {ItemText(kL1),
                                     ItemText(kL2),
                                     ItemText(kW),
                                     ItemText(kA),
                                     ItemText(kD),
                                     ItemText(kS),
                                     FormatD(base >= 1 && base <= 4 ? base : 0)};
  if (type == 4) values.push_back(hatch);
  return values;
}

void DanpaDialog::BuildRecords(RecordList& list) {
  BuildDanpaRecords(list, ReadValues(CheckedType()), Common());
}

std::string DanpaDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  // The hatching width of FD and FD+ weighs as much as the angle width.
  const int type = CheckedType();
  const CommonValues& k = Common();
  std::vector<CommonTerm> terms = {{k.k1, 0.1}, {k.k2, 0.2}, {k.k3, 0.3}};
  if (type >= 4) terms.push_back({k.k4, 0.1});
  return WeightedBlockName(TypePrefix(type), settings, terms, random);
}

std::vector<SettingsFileLines> DanpaDialog::OtherSettings() {
  return {{kTypeSelection, {FormatD(CheckedType())}}};
}

size_t DanpaDialog::SettingsLineCount(std::string_view fileName) {
  if (EqualsIgnoreCase(fileName, kTypeSelection)) return 1;
  for (const TypeInfo& type : kTypes) {
    if (EqualsIgnoreCase(fileName, type.file)) return static_cast<size_t>(type.lines);
  }
  return 0;
}

bool DanpaDialog::ReadyForBlock() {
  if (ValidType(CheckedType())) return true;
  MessageBox("ダンパーの種類を選択してください。", "確認");
  return false;
}

void DanpaDialog::DrawPreviewIn(Canvas& canvas, const PixelRect& client) {
  DrawOffsetPreview(canvas, client, Records(), kPreviewNumerator, kPreviewFraction);
}

void DanpaDialog::DrawSchematicIn(Canvas& anchor, const PixelRect& anchorClient) {
  const GeneratorSetup& setup = Setup();
  // Every figure in the dialog face's grey, then the chosen type's in its pens.
  DrawSchematic(anchor, anchorClient, Schematic(), setup.schematicOriginX, setup.schematicOriginY,
                setup.schematicScale, [](const SchematicLine&) { return pens::kBackground; });
  for (const SchematicLine& line : Schematic()) {
    if (line.tag != type_) continue;
    anchor.SelectPen(SchematicStylePen(line.style));
    DrawSchematicLine(anchor, line, setup.schematicOriginX, setup.schematicOriginY,
                      setup.schematicScale);
  }
}

std::vector<std::string> DanpaDialog::DesignWarnings() {
  std::optional<DuctSection> section = ParseDuctSection(ItemText(kD));
  if (!section) return {};
  std::string warning = AspectRatioWarning(*section);
  if (warning.empty()) return {};
  return {warning};
}

}  // namespace tavelin
