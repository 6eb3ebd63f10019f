#include "duct/choku_dialog.hpp"

#include <optional>

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr size_t kSchematicCapacity = 100;
constexpr size_t kSizeListCapacity = 1000;
// Schematic tags of the optional parts: the left and the right end joint.
constexpr int kLeftJointTag = 2;
constexpr int kRightJointTag = 3;

using K = ChokuDialog;

// "Choku.ini", line by line. Each radio and box is set exactly when its line
// holds its value; a short file reads as empty lines.
const SettingsDeclaration kSettings{
    .file = "Choku.ini",
    .lines =
        {
            {.column = "pitch",
             .label = "ピッチ",
             .unit = "mm",
             .control = K::kPitch,
             .described = true},
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
            {.column = "left_joint",
             .label = "左の継手を作図",
             .kind = ParamKind::kFlag,
             .control = K::kLeftJoint,
             .apply = ApplyRule::kExact},
            {.column = "right_joint",
             .label = "右の継手を作図",
             .kind = ParamKind::kFlag,
             .control = K::kRightJoint,
             .apply = ApplyRule::kExact},
            {.column = "drawing",
             .label = "作図",
             .kind = ParamKind::kChoice,
             .values = {{"1", K::kDuctLinesOnly, "ダクト線のみ作図"},
                        {"2", K::kJointsOnly, "フランジのみ割込み作図"},
                        {"3", K::kBoth, "両方作図"}},
             .apply = ApplyRule::kExact},
            {.column = "fixed45",
             .label = "45°固定",
             .kind = ParamKind::kFlag,
             .control = K::kFixed45,
             .apply = ApplyRule::kExact},
            {.column = "length",
             .label = "全長",
             .unit = "mm",
             .control = K::kLength,
             .described = true,
             .required = true},
        },
    .padShortFile = true};

}  // namespace

ChokuDialog::ChokuDialog(ui::AppContext& app) : Dialog(app, "Choku") {
  using ui::EventKind;
  auto write = [this] { WriteHandOff(); };
  auto redrawAndWrite = [this] {
    Invalidate();
    WriteHandOff();
  };
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
      {EventKind::kClick, kLeftJoint, redrawAndWrite},
      {EventKind::kClick, kRightJoint, redrawAndWrite},
      {EventKind::kSelChange, kSizeList, [this] { OnSizeChosen(); }},
      {EventKind::kEditChange, kSize, editing},
      {EventKind::kEditChange, kLength, editing},
      {EventKind::kEditChange, kSpareEdit, editing},
      {EventKind::kEditChange, kPitch, editing},
  });
}

void ChokuDialog::OnInitDialog() {
  schematic_ = ParseSchematic(Info().ReadToEnd("Choku.tec", kSchematicCapacity));
  ShowEditing();
  LoadSettings();
  attributes_ = AttributeTexts::Capture(Info());
  ShowDesignWarnings();
}

size_t ChokuDialog::SettingsLineCount(std::string_view fileName) {
  return EqualsIgnoreCase(fileName, "Choku.ini") ? Settings().size() : 0;
}

std::string ChokuDialog::RefusedNameCharacter() {
  for (const std::string& value : Settings()) {
    if (std::string c = CadRefusedCharacter(value); !c.empty()) return c;
  }
  return {};
}

const SettingsDeclaration* ChokuDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& ChokuDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

DeclaredControls ChokuDialog::SettingsControls() {
  DeclaredControls controls;
  controls.text = [this](int id) { return ItemText(id); };
  controls.setText = [this](int id, std::string text) { SetItemText(id, std::move(text)); };
  controls.checked = [this](int id) { return IsChecked(id); };
  controls.setChecked = [this](int id, bool on) { SetChecked(id, on); };
  controls.checkRadio = [this](int id) { CheckRadio(id); };
  return controls;
}

void ChokuDialog::LoadSettings() {
  // A missing file fails the opening like any file that cannot be read.
  ApplyDeclaredLines(kSettings, Info().ReadLines(kSettings.file, kSettings.LineCount()),
                     SettingsControls());

  ui::Control& sizes = Item(kSizeList);
  sizes.ResetContent();
  for (const std::string& size : Info().ReadToEnd("KiokuSize.ini", kSizeListCapacity)) {
    sizes.AddString(size);
  }
}

std::vector<std::string> ChokuDialog::Settings() {
  return DeclaredLines(kSettings, SettingsControls());
}

std::string ChokuDialog::TypedDimensions() { return DescribeTypedValues(kSettings, Settings()); }

std::string ChokuDialog::BlockName() {
  std::string name = "ChokuKan";
  for (const std::string& value : Settings()) name += value;
  return name;
}

void ChokuDialog::WriteHandOff() {
  const std::vector<std::string> settings = Settings();
  Info().WriteLines(kSettings.file, settings);
  WriteDrawData(Info(), {"CK"});
  WriteDrawName(Info(), BlockName());
  ShowDesignWarnings();
}

void ChokuDialog::ShowDesignWarnings() {
  if (FindControl(kDesignWarningLine)) {
    SetItemText(kDesignWarningLine, JoinWarnings(DesignWarnings()));
  }
}

std::vector<std::string> ChokuDialog::DesignWarnings() {
  std::optional<DuctSection> section = ParseDuctSection(ItemText(kSize));
  if (!section) return {};
  std::string warning = AspectRatioWarning(*section);
  if (warning.empty()) return {};
  return {warning};
}

void ChokuDialog::OnSizeChosen() {
  ui::Control& sizes = Item(kSizeList);
  if (sizes.CurSel() < 0) return;
  SetItemText(kSize, sizes.ItemText(sizes.CurSel()));
  WriteHandOff();
}

void ChokuDialog::ShowEditing() { SetItemText(kStatusLine, kStatusEditing); }

void ChokuDialog::OnOK() {
  if (ItemText(kLength).empty()) {
    MessageBox("全長を入力してください。", "入力確認");
    return;
  }
  // The block name becomes the block's file name and a block of the CAD
  // drawing: "/" and "\" would name folders, "*", "," and the like are not
  // accepted in a block name. The user hears of it here, before anything is
  // written, rather than being told the block is ready.
  if (std::string c = RefusedNameCharacter(); !c.empty()) {
    MessageBox("ピッチ・サイズ・全長に「" + c + "」は使えません（ブロック名になります）。\n「" + c +
                   "」をほかの文字に変えてください。",
               "入力確認");
    return;
  }
  WriteHandOff();
  Fitting fitting;
  SetFittingKind(fitting, "ChokuDialog");
  fitting.files.push_back({"Choku.ini", Settings()});
  fitting.typedDimensions = TypedDimensions();
  fitting.records = {"CK"};
  // The straight duct's name has no random number; another fitting holding
  // it gives way to the name with the next number after it.
  fitting.blockName = BlockName();
  fitting.nameBase = fitting.blockName;
  fitting.attributes = attributes_;
  HandFittingToBuilder(*this, App(), fitting, kStatusLine);
}

void ChokuDialog::OnPaint(Canvas& canvas) {
  OffsetCanvas anchor = ControlCanvas(canvas, kSchematicAnchor);
  const bool left = IsChecked(kLeftJoint);
  const bool right = IsChecked(kRightJoint);
  DrawSchematic(anchor, ClientRectOf(kSchematicAnchor), schematic_, 175.0, 90.0, 5.0,
                [left, right](const SchematicLine& line) {
                  Pen pen = pens::kBlack;
                  if (!left && line.tag == kLeftJointTag) pen = pens::kBackground;
                  if (!right && line.tag == kRightJointTag) pen = pens::kBackground;
                  return SchematicStylePen(line.style, pen);
                });
}

}  // namespace tavelin
