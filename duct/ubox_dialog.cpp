#include "duct/ubox_dialog.hpp"

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

// The hatch of a large box against a narrow hatching width takes up to 200
// records; the list holds them all with the outline and the lining.
const GeneratorSetup kSetup{"Ubox",
                            UboxDialog::kStatusLine,
                            UboxDialog::kPreview,
                            UboxDialog::kSchematic,
                            "Ubox.tec",
                            100,
                            4.5,
                            110.0,
                            120.0,
                            500};

using K = UboxDialog;

// "Ubox.ini", line by line; a short file reads as empty lines.
const SettingsDeclaration kSettings{
    "Ubox.ini",
    {
        NumberLine("X", "巾 X", "mm", K::kWidth, kDescribed | kRequired),
        NumberLine("Y", "奥行 Y", "mm", K::kDepth, kDescribed | kRequired),
        NumberLine("T", "内貼り厚 T", "mm", K::kLining, kDescribed),
        NumberLine("rotation", "角度", "°", K::kAngle),
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kBaseCentre},
                    {"2", K::kBaseLowerSide},
                    {"3", K::kBaseCorner},
                    {"4", K::kBaseLeftSide}}},
        FlagLine("mirror", "左右反転", K::kMirror),
        FlagLine("current_layer", "現在のレイヤに作図", K::kCurrentLayer),
    },
    true};

}  // namespace

UboxDialog::UboxDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  SetMessageMap({
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseLowerSide, update},
      {EventKind::kClick, kBaseCorner, update},
      {EventKind::kClick, kBaseLeftSide, update},
      {EventKind::kClick, kMirror, update},
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      SelectionInto(kWidthSizes, kWidth),
      SelectionInto(kDepthSizes, kDepth),
      {EventKind::kEditChange, kWidth, [this] { OnWidthChange(); }},
  });
}

void UboxDialog::LoadControls() {
  const std::vector<std::string> lines = LoadDeclaredSettings();
  // The record list turns by the stored angle.
  if (lines.size() > 3) List().rotation = ToDouble(lines[3]);
  FillListsFrom("KiokuSize.ini", {kWidthSizes, kDepthSizes});
}

const SettingsDeclaration* UboxDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& UboxDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void UboxDialog::OnWidthChange() {
  // Typing the width redraws at once, unless the angle field is empty.
  const std::string angle = ItemText(kAngle);
  if (angle.empty()) return;
  List().rotation = ToDouble(angle);
  Rebuild(true);
}

void UboxDialog::BuildRecords(RecordList& list) {
  UboxInput in;
  in.width = Number(kWidth);
  in.depth = Number(kDepth);
  in.lining = Number(kLining);
  in.angle = Number(kAngle);
  const std::string base = RadioText({kBaseCentre, kBaseLowerSide, kBaseCorner, kBaseLeftSide});
  in.base = base.empty() ? 1 : ToInt(base);
  in.mirror = IsChecked(kMirror);
  BuildUbox(list, in, Common());
}

std::string UboxDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName("UB_", settings, {Common().k4}, random);
}

Pen UboxDialog::SchematicPen(const SchematicLine& line) {
  const Pen* pen = ElementPen(line.tag + 1);
  return SchematicStylePen(line.style, pen ? *pen : pens::kBlack);
}

}  // namespace tavelin
