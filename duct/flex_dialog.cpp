#include "duct/flex_dialog.hpp"

#include <cmath>

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

// Up to some hundred bellows lines besides the outline.
const GeneratorSetup kSetup{.layout = "Flex",
                            .statusId = FlexDialog::kStatusLine,
                            .previewId = FlexDialog::kPreview,
                            .schematicId = FlexDialog::kSchematic,
                            .schematicFile = "Flex.tec",
                            .schematicCapacity = 100,
                            .schematicScale = 7.5,
                            .schematicOriginX = 150.0,
                            .schematicOriginY = 80.0,
                            .recordCapacity = 500,
                            .okButtonId = FlexDialog::kOkButton};

const char* const kDiameters[] = {"100", "125", "150", "175", "200", "225", "250", "275",
                                  "300", "325", "350", "375", "400", "450", "500"};
const char* const kLengths[] = {"500", "1000", "1500", "2000"};
const char* const kRadiusFactors[] = {"1.0", "1.5", "2.0", "2.5"};

constexpr const char* kCaption = "確認";
constexpr const char* kRadiusMessage = "中心曲率半径は1.0以下は入力できません。";
constexpr const char* kLengthMessage = "Ｌが適正ではありません。";
constexpr const char* kFirstLegMessage = "Ａが適正ではありません。";
constexpr const char* kBeyondMessage =
    "値が大きすぎるか、ジャバラ線のピッチが小さすぎるため作図できません。";

using K = FlexDialog;

// "Flex.ini", line by line. Each radio and the check box is set or cleared
// by its own value; the base line says "1" for the centre radio and "0"
// otherwise.
const SettingsDeclaration kSettings{
    "Flex.ini",
    {
        NumberLine("D", "呼径", "mm", K::kDiameter, kDescribed | kRequired),
        NumberLine("L", "Ｌ", "mm", K::kLength, kDescribed | kRequired),
        {.column = "Rf",
         .label = "中心曲率半径",
         .control = K::kRadiusFactor,
         .min = 1.0,  // 1.0 itself is accepted, and is the list's first factor
         .rangeMessage = kRadiusMessage,
         .described = true},
        NumberLine("P1", "金属フレキピッチ", "mm", K::kMetalPitch),
        NumberLine("Sv", "S形オフセット", "mm", K::kOffset, kDescribed),
        NumberLine("ANG", "角度", "°", K::kAngle, kDescribed),
        {.column = "kind",
         .label = "金属フレキ・保温付フレキ",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kMetal, "金属フレキ"}, {"2", K::kInsulated, "保温付フレキ"}},
         .apply = ApplyRule::kExact,
         .described = true},
        {.column = "shape",
         .label = "Ｌ形・Ｓ形",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kLShape, "Ｌ形"}, {"2", K::kSShape, "Ｓ形"}},
         .apply = ApplyRule::kExact,
         .described = true},
        FlagLine("bellows", "ジャバラ線有", K::kBellows, ApplyRule::kExact),
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kBaseCentre, "中心"}, {"0", K::kBaseSide, "側"}},
         .noneText = "0",
         .apply = ApplyRule::kExact},
        NumberLine("A", "A", "mm", K::kFirstLeg, kDescribed),
        NumberLine("P2", "保温フレキピッチ", "mm", K::kInsulatedPitch),
    }};

}  // namespace

FlexDialog::FlexDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Update(); };
  auto editing = [this] { ShowEditing(); };
  SetMessageMap({
      {EventKind::kClick, kUpdate, update},
      {EventKind::kClick, kBellows, update},
      {EventKind::kClick, kLShape, update},
      {EventKind::kClick, kSShape, update},
      {EventKind::kClick, kMetal, update},
      {EventKind::kClick, kInsulated, update},
      {EventKind::kClick, kBaseCentre, update},
      {EventKind::kClick, kBaseSide, update},
      {EventKind::kEditChange, kMetalPitch, editing},
      {EventKind::kEditChange, kOffset, editing},
      {EventKind::kEditChange, kAngle, editing},
      {EventKind::kEditChange, kFirstLeg, editing},
      {EventKind::kEditChange, kInsulatedPitch, editing},
  });
}

void FlexDialog::LoadControls() {
  List().mirror = 0;
  FillList(kDiameter, kDiameters);
  FillList(kLength, kLengths);
  FillList(kRadiusFactor, kRadiusFactors);
  if (!Info().Exists(kSettings.file)) return;
  // A short file leaves the controls of its missing lines as they are.
  LoadDeclaredSettings();
  // The opening's update speaks like a confirmed change: stored values that
  // cannot be drawn say so once, before the first picture.
  const FlexInput in = ReadInput();
  if (FlexPrecheck(in) == FlexOutcome::kRadiusTooSmall) {
    RefuseValue(kRadiusFactor, kRadiusMessage, kCaption);
    return;
  }
  RecordList scratch(Setup().recordCapacity);
  ShowOutcome(BuildFlex(scratch, in));
}

const SettingsDeclaration* FlexDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& FlexDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

std::string FlexDialog::SettingsFile() {
  return FlexPrecheck(ReadInput()) == FlexOutcome::kDrawn ? std::string(kSettings.file)
                                                          : std::string();
}

FlexInput FlexDialog::ReadInput() {
  FlexInput in;
  in.kind = IsChecked(kMetal)       ? FlexKind::kMetal
            : IsChecked(kInsulated) ? FlexKind::kInsulated
                                    : FlexKind::kNone;
  in.shape = IsChecked(kLShape)   ? FlexShape::kL
             : IsChecked(kSShape) ? FlexShape::kS
                                  : FlexShape::kNone;
  in.diameter = Number(kDiameter);
  in.length = Number(kLength);
  in.radiusFactor = Number(kRadiusFactor);
  in.angle = Number(kAngle);
  in.firstLeg = Number(kFirstLeg);
  in.offset = Number(kOffset);
  in.bellows = IsChecked(kBellows);
  in.metalPitch = Number(kMetalPitch);
  in.insulatedPitch = Number(kInsulatedPitch);
  in.sideBase = IsChecked(kBaseSide);
  return in;
}

void FlexDialog::BuildRecords(RecordList& list) {
  const FlexInput in = ReadInput();
  if (FlexPrecheck(in) == FlexOutcome::kDrawn && Writing()) {
    Derive(kDiameterShown, ItemText(kDiameter));
    // A and the angle belong to the L, the offset to the S.
    if (in.shape != FlexShape::kNone) {
      const bool l = in.shape == FlexShape::kL;
      EnableItem(kFirstLeg, l);
      EnableItem(kAngle, l);
      EnableItem(kOffset, !l);
    }
  }
  lastOutcome_ = BuildFlex(list, in);
}

void FlexDialog::Update() {
  const FlexOutcome pre = FlexPrecheck(ReadInput());
  if (pre == FlexOutcome::kRadiusTooSmall) {
    RefuseValue(kRadiusFactor, kRadiusMessage, kCaption);
    return;
  }
  // No length, no diameter or an angle out of range: nothing happens.
  if (pre != FlexOutcome::kDrawn) return;
  Rebuild(true);
  ShowOutcome(lastOutcome_);
}

void FlexDialog::ShowOutcome(FlexOutcome outcome) {
  switch (outcome) {
    case FlexOutcome::kLengthWrong:
    case FlexOutcome::kFirstLegWrong:
      RefuseValue(RefusedField(outcome), LimitMessage(outcome), kCaption);
      break;
    case FlexOutcome::kBeyondDrawing:
      MessageBox(kBeyondMessage, kCaption);
      break;
    default:
      break;
  }
}

std::string FlexDialog::LimitMessage(FlexOutcome outcome) {
  const FlexInput in = ReadInput();
  if (outcome == FlexOutcome::kLengthWrong) {
    return std::string(kLengthMessage) + "\nＬは" +
           IntegerText(std::ceil(FlexShortestLength(in))) + "以上にしてください。";
  }
  return std::string(kFirstLegMessage) + "\nＡは" +
         IntegerText(std::ceil(FlexShortestFirstLeg(in))) + "以上にしてください。";
}

int FlexDialog::RefusedField(FlexOutcome outcome) {
  switch (outcome) {
    case FlexOutcome::kRadiusTooSmall:
      return kRadiusFactor;
    case FlexOutcome::kLengthWrong:
      return kLength;
    case FlexOutcome::kFirstLegWrong:
      return kFirstLeg;
    case FlexOutcome::kNoRoom:
      return kOffset;
    case FlexOutcome::kNothing: {
      // The first of the values the drawing waits for.
      const FlexInput in = ReadInput();
      if (in.diameter == 0.0) return kDiameter;
      if (in.length == 0.0) return kLength;
      return in.shape == FlexShape::kL ? kAngle : 0;
    }
    default:
      return 0;
  }
}

bool FlexDialog::CheckInput() {
  const FlexOutcome pre = FlexPrecheck(ReadInput());
  switch (pre) {
    case FlexOutcome::kDrawn:
      return true;
    case FlexOutcome::kRadiusTooSmall:
      RefuseValue(kRadiusFactor, kRadiusMessage, kCaption);
      return false;
    case FlexOutcome::kBeyondDrawing:
      MessageBox(kBeyondMessage, kCaption);
      return false;
    default:
      RefuseValue(RefusedField(pre), "呼径・Ｌ・角度（0より大きく180未満）を入力してください。",
                  kCaption);
      return false;
  }
}

std::string FlexDialog::EmptyDrawingMessage() {
  switch (lastOutcome_) {
    case FlexOutcome::kLengthWrong:
    case FlexOutcome::kFirstLegWrong:
      return LimitMessage(lastOutcome_);
    case FlexOutcome::kNoRoom:
      return "Ｓ形のオフセットがＬに対して大きすぎるため作図できません。";
    case FlexOutcome::kBeyondDrawing:
      return kBeyondMessage;
    default:
      return "種類と形状を選択してください。";
  }
}

std::string FlexDialog::EmptyDrawingCaption() {
  // The texts "表示更新" shows too keep its caption; those only OK says keep OK's.
  switch (lastOutcome_) {
    case FlexOutcome::kLengthWrong:
    case FlexOutcome::kFirstLegWrong:
    case FlexOutcome::kBeyondDrawing:
      return kCaption;
    default:
      return "入力確認";
  }
}

std::string FlexDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName("FKD_", settings, {}, random);
}

void FlexDialog::DrawPreviewIn(Canvas& canvas, const PixelRect& client) {
  // The drawing is centred on its extents, (e1 / 2, -|e4 - e2| / 2), and
  // its larger extent takes 110 pixels.
  double e[4] = {0, 0, 0, 0};
  const bool known = ReadExtents(List(), e);
  const double size = std::max(e[0] + e[2], e[1] + e[3]);
  const double w = known && size > 0.0 ? 2000.0 / size * 2.75 : 0.0;
  DrawShiftedPreview(canvas, client, List(), w, Pixel(0.01 * e[0]),
                     Pixel(0.01 * std::fabs(e[3] - e[1])), 0.5);
}

}  // namespace tavelin
