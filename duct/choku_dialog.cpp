#include "duct/choku_dialog.hpp"

#include <optional>

#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr size_t kSizeListCapacity = 1000;
// Schematic tags of the optional parts: the left and the right end joint.
constexpr int kLeftJointTag = 2;
constexpr int kRightJointTag = 3;

using K = ChokuDialog;

// The schematic only: the origin (175, 90) of static 1006 at 5 pixels a unit.
constexpr GeneratorSetup kSetup{.layout = "Choku",
                                .statusId = K::kStatusLine,
                                .schematicId = K::kSchematicAnchor,
                                .schematicFile = "Choku.tec",
                                .schematicCapacity = 100,
                                .schematicScale = 5.0,
                                .schematicOriginX = 175.0,
                                .schematicOriginY = 90.0,
                                .writeAtOpening = false,
                                .randomName = false};

// "Choku.ini", line by line. Each radio and box is set exactly when its line
// holds its value; a short file reads as empty lines.
const SettingsDeclaration kSettings{
    .file = "Choku.ini",
    .lines =
        {
            NumberLine("pitch", "ピッチ", "mm", K::kPitch, kDescribed),
            // A size typed as "600x150" is kept as typed.
            {.column = "size",
             .label = "サイズ",
             .kind = ParamKind::kSize,
             .control = K::kSize,
             .described = true,
             .required = true},
            {.column = "base",
             .label = "基準点",
             .kind = ParamKind::kChoice,
             .values = {{"1", K::kBaseLeft, "左端"},
                        {"2", K::kBaseMiddle, "中央"},
                        {"3", K::kBaseRight, "右端"}},
             .apply = ApplyRule::kExact},
            FlagLine("left_joint", "左の継手を作図", K::kLeftJoint, ApplyRule::kExact),
            FlagLine("right_joint", "右の継手を作図", K::kRightJoint, ApplyRule::kExact),
            {.column = "drawing",
             .label = "作図",
             .kind = ParamKind::kChoice,
             .values = {{"1", K::kDuctLinesOnly, "ダクト線のみ作図"},
                        {"2", K::kJointsOnly, "フランジのみ割込み作図"},
                        {"3", K::kBoth, "両方作図"}},
             .apply = ApplyRule::kExact},
            FlagLine("fixed45", "45°固定", K::kFixed45, ApplyRule::kExact),
            NumberLine("length", "全長", "mm", K::kLength, kDescribed | kRequired),
        },
    .padShortFile = true};

}  // namespace

ChokuDialog::ChokuDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto write = [this] { Rebuild(true); };
  auto editing = [this] { ShowEditing(); };
  SetMessageMap({
      {EventKind::kClick, kBaseLeft, write},
      {EventKind::kClick, kBaseMiddle, write},
      {EventKind::kClick, kBaseRight, write},
      {EventKind::kClick, kDuctLinesOnly, write},
      {EventKind::kClick, kJointsOnly, write},
      {EventKind::kClick, kBoth, write},
      {EventKind::kClick, kCurrentLayer, write},
      {EventKind::kClick, kFixed45, write},
      {EventKind::kClick, kUpdate, write},
      // The schematic shows or hides the end joint at once (the rebuild redraws).
      {EventKind::kClick, kLeftJoint, write},
      {EventKind::kClick, kRightJoint, write},
      SelectionInto(kSizeList, kSize),
      {EventKind::kEditChange, kSize, editing},
      {EventKind::kEditChange, kLength, editing},
      {EventKind::kEditChange, kSpareEdit, editing},
      {EventKind::kEditChange, kPitch, editing},
  });
}

void ChokuDialog::LoadControls() {
  // A missing file fails the opening like any file that cannot be read.
  ApplyDeclaredSettings(Info().ReadLines(kSettings.file, kSettings.LineCount()));
  ui::Control& sizes = Item(kSizeList);
  sizes.ResetContent();
  for (const std::string& size : Info().ReadToEnd("KiokuSize.ini", kSizeListCapacity)) {
    sizes.AddString(size);
  }
}

const SettingsDeclaration* ChokuDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& ChokuDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

std::string ChokuDialog::RefusedNameCharacter() {
  for (const std::string& value : Settings()) {
    if (std::string c = CadRefusedCharacter(value); !c.empty()) return c;
  }
  return {};
}

std::string ChokuDialog::BlockName() {
  std::string name = "ChokuKan";
  for (const std::string& value : Settings()) name += value;
  return name;
}

std::vector<std::string> ChokuDialog::DesignWarnings() {
  std::optional<DuctSection> section = ParseDuctSection(ItemText(kSize));
  if (!section) return {};
  std::string warning = AspectRatioWarning(*section);
  if (warning.empty()) return {};
  return {warning};
}

bool ChokuDialog::ReadyForBlock() {
  if (ItemText(kLength).empty()) {
    RefuseValue(kLength, "全長を入力してください。", "入力確認");
    return false;
  }
  // The block name becomes the block's file name and a block of the CAD
  // drawing: "/" and "\" would name folders, "*", "," and the like are not
  // accepted in a block name. The user hears of it here, before anything is
  // written, rather than being told the block is ready.
  if (std::string c = RefusedNameCharacter(); !c.empty()) {
    MessageBox("ピッチ・サイズ・全長に「" + c + "」は使えません（ブロック名になります）。\n「" + c +
                   "」をほかの文字に変えてください。",
               "入力確認");
    return false;
  }
  return true;
}

Pen ChokuDialog::SchematicPen(const SchematicLine& line) {
  // An end joint left out is painted in the dialog's face, except for its
  // dotted and chain lines.
  Pen pen = pens::kBlack;
  if (!IsChecked(kLeftJoint) && line.tag == kLeftJointTag) pen = pens::kBackground;
  if (!IsChecked(kRightJoint) && line.tag == kRightJointTag) pen = pens::kBackground;
  return SchematicStylePen(line.style, pen);
}

}  // namespace tavelin
