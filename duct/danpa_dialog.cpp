#include "duct/danpa_dialog.hpp"

#include <optional>

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

const GeneratorSetup kSetup{.layout = "Danpa",
                            .statusId = DanpaDialog::kStatus,
                            .previewId = DanpaDialog::kPreview,
                            .schematicId = DanpaDialog::kSchematic,
                            .schematicFile = "Danpa.tec",
                            .schematicCapacity = DanpaDialog::kSchematicCapacity,
                            .schematicScale = 4.0,
                            .schematicOriginX = 70.0,
                            .schematicOriginY = 145.0,
                            .recordCapacity = DanpaDialog::kRecordCapacity,
                            .okButtonId = DanpaDialog::kOkButton};

// The preview keeps the fitting in place while the base point moves.
constexpr double kPreviewNumerator = 80.0;
constexpr double kPreviewFraction = 0.5;

constexpr int kLongType = 5;  // FD+

using K = DanpaDialog;

// The lines of a type file: L1, L2 (and L3 for FD+), W, A, D, S, the base
// point, and for FD and FD+ the hatching.
SettingsDeclaration TypeFileDeclaration(std::string_view file, bool longPiece, bool hatch) {
  SettingsDeclaration decl{file, {}};
  decl.lines.push_back(NumberLine("L1", "始点から軸まで", "mm", K::kL1, kDescribed | kRequired));
  decl.lines.push_back(NumberLine("L2", longPiece ? "軸から継手まで" : "軸から終点まで", "mm",
                                  K::kL2, kDescribed | kRequired));
  if (longPiece) {
    decl.lines.push_back(NumberLine("L3", "追加の直管長", "mm", K::kL3, kDescribed));
  }
  decl.lines.push_back(NumberLine("W", "羽枠の巾", "mm", K::kW, kDescribed | kRequired));
  decl.lines.push_back(NumberLine("A", "操作部の寸法", "mm", K::kA));
  // A size typed as "600x150" is kept as typed.
  decl.lines.push_back({.column = "D",
                        .label = "ダクト巾",
                        .unit = "mm",
                        .kind = ParamKind::kSize,
                        .control = K::kD,
                        .described = true,
                        .required = true});
  decl.lines.push_back(NumberLine("S", "羽隙間", "mm", K::kS));
  // The base radios form one group; a type uses the first four, FD+ all six.
  ParamDecl base{.column = "base",
                 .label = "配置基点",
                 .kind = ParamKind::kChoice,
                 .noneText = "0",
                 .apply = ApplyRule::kExact};
  // Named by their column in the dialog (the point each stands for depends on the type).
  const char* const meanings[] = {"左・中心", "左・下端", "中・中心",
                                  "中・下端", "右・中心", "右・下端"};
  const char* const texts[] = {"1", "2", "3", "4", "5", "6"};
  for (int r = 0; r < (longPiece ? 6 : 4); ++r) {
    base.values.push_back({texts[r], K::kBaseRadios[r], meanings[r]});
  }
  decl.lines.push_back(std::move(base));
  if (hatch) {
    decl.lines.push_back(FlagLine("hatch", "FDハッチング有り", K::kHatch, ApplyRule::kExact));
  }
  return decl;
}

struct TypeInfo {
  const char* prefix;
  SettingsDeclaration settings;
};

const TypeInfo kTypes[] = {
    {"DPV_", TypeFileDeclaration("Danpa_VD.ini", false, false)},
    {"DPM_", TypeFileDeclaration("Danpa_MD.ini", false, false)},
    {"DPC_", TypeFileDeclaration("Danpa_CD.ini", false, false)},
    {"DPF_", TypeFileDeclaration("Danpa_FD.ini", false, true)},
    {"DPFT_", TypeFileDeclaration("Danpa_FT.ini", true, true)},
};

// "Danpa.ini": the type last drawn, "0" for none.
const SettingsDeclaration kTypeChoice{"Danpa.ini",
                                      {{.column = "type",
                                        .label = "種類",
                                        .kind = ParamKind::kChoice,
                                        .values = {{"1", K::kTypeVd, "VD"},
                                                   {"2", K::kTypeVd + 1, "MD"},
                                                   {"3", K::kTypeVd + 2, "CD"},
                                                   {"4", K::kTypeVd + 3, "FD"},
                                                   {"5", K::kTypeVd + 4, "FD+"}},
                                        .noneText = "0",
                                        .described = true,
                                        .required = true}}};

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
  return ValidType(type) ? std::string(kTypes[type - 1].settings.file) : std::string();
}

const SettingsDeclaration* DanpaDialog::TypeDeclaration(int type) {
  return ValidType(type) ? &kTypes[type - 1].settings : nullptr;
}

const SettingsDeclaration* DanpaDialog::Declaration() { return TypeDeclaration(CheckedType()); }

const std::vector<const SettingsDeclaration*>& DanpaDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {
      &kTypes[0].settings, &kTypes[1].settings, &kTypes[2].settings,
      &kTypes[3].settings, &kTypes[4].settings, &kTypeChoice};
  return kAll;
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
      SelectionInto(kSizes, kD),
      {EventKind::kClick, kUpdate, update},
      {EventKind::kClick, kBaseRadios[0], update},
      {EventKind::kClick, kBaseRadios[1], update},
      {EventKind::kClick, kBaseRadios[2], update},
      {EventKind::kClick, kBaseRadios[3], update},
      {EventKind::kClick, kBaseRadios[4], update},
      {EventKind::kClick, kBaseRadios[5], update},
      {EventKind::kClick, kHatch, update},
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
  // The line is read as a number ("3 " is CD), as it always was.
  if (!Info().Exists(kTypeChoice.file)) return;
  const int type = ToInt(Info().ReadLine(kTypeChoice.file));
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
  const SettingsDeclaration* decl = TypeDeclaration(type);
  if (!decl) return;
  // A short file leaves the controls of its missing lines as they are; a
  // missing one is reported.
  const std::vector<std::string> lines = Info().ReadToEnd(decl->file, decl->LineCount());
  ApplyDeclaredLines(*decl, lines, Controls());
  // The base radios form one group: a radio this type cannot use is cleared
  // too, so no two of them are ever checked at once.
  if (type != kLongType && lines.size() > 6) {
    SetChecked(kBaseRadios[4], false);
    SetChecked(kBaseRadios[5], false);
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
  v.l1 = Number(kL1);
  v.l2 = Number(kL2);
  v.l3 = Number(kL3);
  v.w = Number(kW);
  v.a = Number(kA);
  v.s = Number(kS);
  v.d = Number(kD);
  v.base = CheckedBase();
  v.hatch = IsChecked(kHatch);
  return v;
}

std::vector<std::string> DanpaDialog::TypeFileValues(int type) {
  // Without a type the lines are those of VD (no L3, no hatching).
  const SettingsDeclaration* decl = TypeDeclaration(type);
  return DeclaredLines(decl ? *decl : kTypes[0].settings, Controls());
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
  return {{std::string(kTypeChoice.file), DeclaredLines(kTypeChoice, Controls())}};
}

size_t DanpaDialog::SettingsLineCount(std::string_view fileName) {
  for (const SettingsDeclaration* decl : Declarations()) {
    if (EqualsIgnoreCase(fileName, decl->file)) return decl->LineCount();
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
