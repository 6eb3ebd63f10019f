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

constexpr int kEdits[] = {UboxDialog::kWidth, UboxDialog::kDepth, UboxDialog::kLining,
                          UboxDialog::kAngle};

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
      {EventKind::kSelChange, kWidthSizes,
       [this] {
         if (CopySelection(kWidthSizes, kWidth)) Rebuild(true);
       }},
      {EventKind::kSelChange, kDepthSizes,
       [this] {
         if (CopySelection(kDepthSizes, kDepth)) Rebuild(true);
       }},
      {EventKind::kEditChange, kWidth, [this] { OnWidthChange(); }},
  });
}

void UboxDialog::LoadControls() {
  if (Info().Exists(kSettingsFile)) {
    const std::vector<std::string> lines = Info().ReadLines(kSettingsFile, 7);
    for (size_t i = 0; i < std::size(kEdits); ++i) SetItemText(kEdits[i], lines[i]);
    ApplyRadioText(lines[4], {kBaseCentre, kBaseLowerSide, kBaseCorner, kBaseLeftSide});
    ApplyCheckText(lines[5], kMirror);
    ApplyCheckText(lines[6], kCurrentLayer);
    List().rotation = ToDouble(lines[3]);
  }
  FillListsFrom("KiokuSize.ini", {kWidthSizes, kDepthSizes});
}

std::vector<std::string> UboxDialog::SettingsLines() {
  std::vector<std::string> lines;
  for (int id : kEdits) lines.push_back(ItemText(id));
  lines.push_back(RadioText({kBaseCentre, kBaseLowerSide, kBaseCorner, kBaseLeftSide}));
  lines.push_back(CheckText(kMirror));
  lines.push_back(CheckText(kCurrentLayer));
  return lines;
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
  in.width = ToDouble(ItemText(kWidth));
  in.depth = ToDouble(ItemText(kDepth));
  in.lining = ToDouble(ItemText(kLining));
  in.angle = ToDouble(ItemText(kAngle));
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
