#include "duct/kakubox_dialog.hpp"

#include "duct/radio_picture.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

// A lined box takes up to 200 hatch records besides its 17 lines.
const GeneratorSetup kSetup{"Kakubox",
                            KakuboxDialog::kStatusLine,
                            KakuboxDialog::kPreview,
                            KakuboxDialog::kSchematic,
                            "Kakubox.tec",
                            100,
                            4.0,
                            155.0,
                            175.0,
                            500};

const char* const kMargins[] = {"50", "75", "100", "125", "150"};
const char* const kLinings[] = {"25", "30", "40", "50"};

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
      {EventKind::kClick, kOkButton, [this] { OnOK(); }},
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseCorner, update},
      {EventKind::kClick, kCross, update},
      {EventKind::kClick, kDiagonal, update},
      {EventKind::kClick, kHalfDiagonal, update},
      {EventKind::kClick, kLined, update},
      {EventKind::kSelChange, kWidthSizes,
       [this] {
         if (CopySelection(kWidthSizes, kRegisterWidth)) Rebuild(true);
       }},
      {EventKind::kSelChange, kDepthSizes,
       [this] {
         if (CopySelection(kDepthSizes, kRegisterDepth)) Rebuild(true);
       }},
      // A margin or lining from its list, or a typed size, waits for the next update.
      {EventKind::kSelChange, kMargin, editing},
      {EventKind::kSelChange, kLining, editing},
      {EventKind::kEditChange, kRegisterWidth, editing},
      {EventKind::kEditChange, kRegisterDepth, editing},
  });
}

void KakuboxDialog::LoadControls() {
  FillListsFrom("KiokuSize.ini", {kWidthSizes, kDepthSizes});
  Item(kMargin).ResetContent();
  for (const char* margin : kMargins) Item(kMargin).AddString(margin);
  Item(kLining).ResetContent();
  for (const char* lining : kLinings) Item(kLining).AddString(lining);
  if (!Info().Exists(kSettingsFile)) return;
  const std::vector<std::string> lines = Info().ReadLines(kSettingsFile, 7);
  const int texts[] = {kRegisterWidth, kRegisterDepth, kMargin, kLining};
  for (int i = 0; i < 4; ++i) SetItemText(texts[i], lines[i]);
  // Each option is on exactly when its line holds its value.
  SetChecked(kLined, lines[4] == "1");
  const int types[] = {kCross, kDiagonal, kHalfDiagonal};
  for (int i = 0; i < 3; ++i) SetChecked(types[i], lines[5] == std::to_string(i + 1));
  SetChecked(kBaseCentre, lines[6] == "1");
  SetChecked(kBaseCorner, lines[6] == "2");
}

std::vector<std::string> KakuboxDialog::SettingsLines() {
  return {ItemText(kRegisterWidth),
          ItemText(kRegisterDepth),
          ItemText(kMargin),
          ItemText(kLining),
          CheckText(kLined),
          RadioText({kCross, kDiagonal, kHalfDiagonal}),
          RadioText({kBaseCentre, kBaseCorner})};
}

void KakuboxDialog::BuildRecords(RecordList& list) {
  KakuboxInput in;
  in.registerWidth = ToDouble(ItemText(kRegisterWidth));
  in.registerDepth = ToDouble(ItemText(kRegisterDepth));
  in.margin = ToDouble(ItemText(kMargin));
  in.lining = ToDouble(ItemText(kLining));
  in.lined = IsChecked(kLined);
  const std::string type = RadioText({kCross, kDiagonal, kHalfDiagonal});
  in.type = static_cast<RegisterType>(type.empty() ? 0 : ToInt(type));
  in.base = IsChecked(kBaseCorner) ? 2 : 1;
  BuildKakubox(list, in, Common());
  // Shown on every build, repaints included; a text that stays is not set again.
  for (const auto& [id, size] :
       {std::pair{kBoxWidth, KakuboxWidth(in)}, std::pair{kBoxDepth, KakuboxDepth(in)}}) {
    const std::string text = IntegerText(size);
    if (ItemText(id) != text) SetItemText(id, text);
  }
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
