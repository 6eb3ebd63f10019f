#include "duct/kakubox_dialog.hpp"

#include "duct/radio_picture.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

// A lined box takes up to 200 hatch records besides its 17 lines.
const GeneratorSetup kSetup{.layout = "Kakubox",
                            .statusId = KakuboxDialog::kStatusLine,
                            .previewId = KakuboxDialog::kPreview,
                            .schematicId = KakuboxDialog::kSchematic,
                            .schematicFile = "Kakubox.tec",
                            .schematicCapacity = 100,
                            .schematicScale = 4.0,
                            .schematicOriginX = 155.0,
                            .schematicOriginY = 175.0,
                            .recordCapacity = 500,
                            .okButtonId = KakuboxDialog::kOkButton};

const char* const kMargins[] = {"50", "75", "100", "125", "150"};
const char* const kLinings[] = {"25", "30", "40", "50"};

using K = KakuboxDialog;

// "KakuBox.ini" (read back as "Kakubox.ini", the same file), line by line; a
// short file reads as empty lines, and each option is on exactly when its
// line holds its value.
const SettingsDeclaration kSettings{
    "KakuBox.ini",
    {
        NumberLine("Wr", "Wr", "mm", K::kRegisterWidth, kDescribed | kRequired),
        NumberLine("Dr", "Dr", "mm", K::kRegisterDepth, kDescribed | kRequired),
        NumberLine("A", "ボックス余巾 A", "mm", K::kMargin, kDescribed),
        NumberLine("T", "内貼り厚", "mm", K::kLining, kDescribed),
        FlagLine("lined", "内貼り有り", K::kLined, ApplyRule::kExact),
        {.column = "register",
         .label = "制気口の種類",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kCross}, {"2", K::kDiagonal}, {"3", K::kHalfDiagonal}},
         .apply = ApplyRule::kExact,
         .described = true},
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kBaseCentre, "中心"}, {"2", K::kBaseCorner, "角"}},
         .apply = ApplyRule::kExact},
    },
    true};

// The register face with its symbol, in a square of 20 units.
std::vector<SchematicLine> RegisterPicture(RegisterType type) {
  std::vector<SchematicLine> figure = {PictureLine(2, 4, 18, 4), PictureLine(18, 4, 18, 16),
                                       PictureLine(18, 16, 2, 16), PictureLine(2, 16, 2, 4),
                                       PictureLine(2, 16, 18, 4)};
  if (type == RegisterType::kCross) figure.push_back(PictureLine(2, 4, 18, 16));
  if (type == RegisterType::kHalfDiagonal) figure.push_back(PictureLine(10, 10, 18, 16));
  return figure;
}

}  // namespace

KakuboxDialog::KakuboxDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto editing = [this] { ShowEditing(); };
  SetMessageMap({
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseCorner, update},
      {EventKind::kClick, kCross, update},
      {EventKind::kClick, kDiagonal, update},
      {EventKind::kClick, kHalfDiagonal, update},
      {EventKind::kClick, kLined, update},
      SelectionInto(kWidthSizes, kRegisterWidth),
      SelectionInto(kDepthSizes, kRegisterDepth),
      // A margin or lining from its list, or a typed size, waits for the next update.
      {EventKind::kSelChange, kMargin, editing},
      {EventKind::kSelChange, kLining, editing},
      {EventKind::kEditChange, kRegisterWidth, editing},
      {EventKind::kEditChange, kRegisterDepth, editing},
  });
}

void KakuboxDialog::LoadControls() {
  FillListsFrom("KiokuSize.ini", {kWidthSizes, kDepthSizes});
  FillList(kMargin, kMargins);
  FillList(kLining, kLinings);
  LoadDeclaredSettings();
}

const SettingsDeclaration* KakuboxDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& KakuboxDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void KakuboxDialog::BuildRecords(RecordList& list) {
  KakuboxInput in;
  in.registerWidth = Number(kRegisterWidth);
  in.registerDepth = Number(kRegisterDepth);
  in.margin = Number(kMargin);
  in.lining = Number(kLining);
  in.lined = IsChecked(kLined);
  const std::string type = RadioText({kCross, kDiagonal, kHalfDiagonal});
  in.type = static_cast<RegisterType>(type.empty() ? 0 : ToInt(type));
  in.base = IsChecked(kBaseCorner) ? 2 : 1;
  BuildKakubox(list, in, Common());
  Derive(kBoxWidth, IntegerText(KakuboxWidth(in)));
  Derive(kBoxDepth, IntegerText(KakuboxDepth(in)));
}

std::string KakuboxDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName("KBX_", settings, {Common().k4}, random);
}

void KakuboxDialog::DrawPreviewIn(Canvas& canvas, const PixelRect& client) {
  DrawOffsetPreview(canvas, client, List(), 80.0, 0.5);
}

void KakuboxDialog::DrawSchematicIn(Canvas& anchor, const PixelRect& anchorClient) {
  GeneratorDialog::DrawSchematicIn(anchor, anchorClient);
  const PixelRect origin = Item(kSchematic).Rect();
  const std::pair<int, RegisterType> radios[] = {{kCross, RegisterType::kCross},
                                                 {kDiagonal, RegisterType::kDiagonal},
                                                 {kHalfDiagonal, RegisterType::kHalfDiagonal}};
  for (const auto& [id, type] : radios) {
    const PixelRect r = Item(id).Rect();
    const int side = 2 * r.Height() + 8;
    DrawRadioPicture(anchor, r.right + 2 - origin.left, (r.top + r.bottom - side) / 2 - origin.top,
                     side, RegisterPicture(type));
  }
}

}  // namespace tavelin
