#include "duct/serbo_dialog.hpp"

#include "duct/radio_picture.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

// The hatch of a large box takes two records per hatch line where the box
// turns its corner; the list holds them all.
const GeneratorSetup kSetup{"S_Erbo",
                            SErboDialog::kStatusLine,
                            SErboDialog::kPreview,
                            SErboDialog::kSchematic,
                            "S_Erbo.tec",
                            100,
                            7.0,
                            110.0,
                            80.0,
                            500};

using K = SErboDialog;

// "S_Erbo.ini", line by line.
const SettingsDeclaration kSettings{
    .file = "S_Erbo.ini",
    .lines =
        {
            NumberLine("W", "巾", "mm", K::kWidth, kDescribed | kRequired),
            NumberLine("B", "ボックス長", "mm", K::kBoxLength, kDescribed | kRequired),
            NumberLine("rotation", "角度", "°", K::kAngle),
            NumberLine("C", "直管長", "mm", K::kStubLength, kDescribed),
            {.column = "stored",
             .label = "保存値",
             .kind = ParamKind::kText,
             .control = K::kStored},
            NumberLine("T", "厚", "mm", K::kWall, kDescribed),
            {.column = "base",
             .label = "基準点",
             .kind = ParamKind::kChoice,
             .values = {{"1", K::kBaseOuter, "外角"},
                        {"2", K::kBaseCentre, "中心"},
                        {"3", K::kBaseInner, "内角"}}},
            {.column = "corner",
             .label = "角の形",
             .kind = ParamKind::kChoice,
             .values = {{"1", K::kSquare, "角"},
                        {"2", K::kRounded, "丸"},
                        {"3", K::kChamfered, "面取り"},
                        {"4", K::kHalfChamfer, "半面取り"}},
             .described = true},
            FlagLine("mirror", "左右反転", K::kMirror),
            FlagLine("current_layer", "現在のレイヤに作図", K::kCurrentLayer),
            FlagLine("hatch", "ハッチング有り", K::kHatch),
        },
    .padShortFile = true};

// The box's outline around the corner, in a square of 20 units.
std::vector<SchematicLine> CornerPicture(SErboShape shape) {
  std::vector<SchematicLine> figure = {PictureLine(10, 18, 2, 18), PictureLine(2, 18, 2, 2),
                                       PictureLine(2, 2, 18, 2), PictureLine(18, 2, 18, 10)};
  switch (shape) {
    case SErboShape::kSquare:
      figure.push_back(PictureLine(18, 10, 10, 10));
      figure.push_back(PictureLine(10, 10, 10, 18));
      break;
    case SErboShape::kRounded:
      figure.push_back(PictureArc(18, 18, 8, 90, 180));
      break;
    case SErboShape::kChamfered:
      figure.push_back(PictureLine(18, 10, 10, 18));
      break;
    case SErboShape::kHalfChamfer:
      figure.push_back(PictureLine(18, 10, 14, 10));
      figure.push_back(PictureLine(14, 10, 10, 14));
      figure.push_back(PictureLine(10, 14, 10, 18));
      break;
    case SErboShape::kNone:
      break;
  }
  return figure;
}

}  // namespace

SErboDialog::SErboDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  SetMessageMap({
      {EventKind::kClick, kSquare, update},
      {EventKind::kClick, kRounded, update},
      {EventKind::kClick, kChamfered, update},
      {EventKind::kClick, kHalfChamfer, update},
      {EventKind::kClick, kBaseOuter, update},
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseInner, update},
      {EventKind::kClick, kMirror, update},
      {EventKind::kClick, kHatch, update},
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      SelectionInto(kSizes, kWidth),
      SelectionInto(kAngles, kAngle),
      {EventKind::kEditChange, kAngle, [this] { OnAngleChange(); }},
  });
}

void SErboDialog::LoadControls() {
  // Without a settings file the controls keep what they show; a short one
  // reads as empty lines.
  LoadDeclaredSettings();
  FillListsFrom("KiokuSize.ini", {kSizes});
}

const SettingsDeclaration* SErboDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& SErboDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void SErboDialog::OnAngleChange() {
  // An angle typed (or chosen) redraws at once; an empty field waits.
  const std::string angle = ItemText(kAngle);
  if (angle.empty()) return;
  List().rotation = ToDouble(angle);
  Rebuild(true);
}

void SErboDialog::BuildRecords(RecordList& list) {
  SErboInput in;
  in.width = Number(kWidth);
  in.boxLength = Number(kBoxLength);
  in.stubLength = Number(kStubLength);
  in.wall = Number(kWall);
  in.angle = Number(kAngle);
  const std::string shape = RadioText({kSquare, kRounded, kChamfered, kHalfChamfer});
  in.shape = static_cast<SErboShape>(shape.empty() ? 0 : ToInt(shape));
  const std::string base = RadioText({kBaseOuter, kBaseCentre, kBaseInner});
  in.base = static_cast<SErboBase>(base.empty() ? 0 : ToInt(base));
  in.mirror = IsChecked(kMirror);
  in.hatch = IsChecked(kHatch);
  BuildSErbo(list, in, Common());
}

std::string SErboDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName("SE_", settings, {Common().k1, Common().k2, Common().k3, Common().k4}, random);
}

void SErboDialog::DrawSchematicIn(Canvas& anchor, const PixelRect& anchorClient) {
  GeneratorDialog::DrawSchematicIn(anchor, anchorClient);
  const PixelRect origin = Item(kSchematic).Rect();
  const std::pair<int, SErboShape> radios[] = {{kSquare, SErboShape::kSquare},
                                               {kRounded, SErboShape::kRounded},
                                               {kChamfered, SErboShape::kChamfered},
                                               {kHalfChamfer, SErboShape::kHalfChamfer}};
  for (const auto& [id, shape] : radios) {
    const PixelRect r = Item(id).Rect();
    // Above its radio's button, centred on it.
    const int side = 30;
    const int centre = r.left + r.Height() / 2;
    DrawRadioPicture(anchor, centre - side / 2 - origin.left, r.top - side - 3 - origin.top, side,
                     CornerPicture(shape));
  }
}

}  // namespace tavelin
