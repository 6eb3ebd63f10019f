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

void ChokuDialog::LoadSettings() {
  const std::vector<std::string> lines = Info().ReadLines("Choku.ini", 10);
  SetItemText(kPitch, lines[0]);
  SetItemText(kSize, lines[1]);
  SetItemText(kLength, lines[7]);
  SetChecked(kBaseLeft, lines[2] == "1");
  SetChecked(kBaseMiddle, lines[2] == "2");
  SetChecked(kBaseRight, lines[2] == "3");
  SetChecked(kLeftJoint, lines[3] == "1");
  SetChecked(kRightJoint, lines[4] == "1");
  SetChecked(kDuctLinesOnly, lines[5] == "1");
  SetChecked(kJointsOnly, lines[5] == "2");
  SetChecked(kBoth, lines[5] == "3");
  SetChecked(kFixed45, lines[6] == "1");

  ui::Control& sizes = Item(kSizeList);
  sizes.ResetContent();
  for (const std::string& size : Info().ReadToEnd("KiokuSize.ini", kSizeListCapacity)) {
    sizes.AddString(size);
  }
}

std::vector<std::string> ChokuDialog::Settings() {
  auto radio = [this](int first, int second, int third) -> std::string {
    const int checked = CheckedOf({first, second, third});
    if (checked == first) return "1";
    if (checked == second) return "2";
    if (checked == third) return "3";
    return "";
  };
  auto check = [this](int id) -> std::string { return IsChecked(id) ? "1" : "0"; };
  return {ItemText(kPitch),  ItemText(kSize),    radio(kBaseLeft, kBaseMiddle, kBaseRight),
          check(kLeftJoint), check(kRightJoint), radio(kDuctLinesOnly, kJointsOnly, kBoth),
          check(kFixed45),   ItemText(kLength)};
}

std::string ChokuDialog::BlockName() {
  std::string name = "ChokuKan";
  for (const std::string& value : Settings()) name += value;
  return name;
}

void ChokuDialog::WriteHandOff() {
  const std::vector<std::string> settings = Settings();
  Info().WriteLines("Choku.ini", settings);
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
