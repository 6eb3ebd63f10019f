#include "duct/updown_dialog.hpp"

#include "duct/furiage_geometry.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kBlockPrefix = "UPD_";

const GeneratorSetup kSetup{.layout = "Updown",
                            .statusId = UpdownDialog::kStatusLine,
                            .previewId = UpdownDialog::kPreview,
                            .schematicId = UpdownDialog::kSchematic,
                            .schematicFile = UpdownDialog::kSchematicFile,
                            .schematicCapacity = 100,
                            .schematicScale = 5.5,
                            .schematicOriginX = 65.0,
                            .schematicOriginY = 85.0,
                            .okButtonId = UpdownDialog::kOkButton};

// The preview keeps the duct in place while the base point moves.
constexpr double kPreviewNumerator = 160.0;
constexpr double kPreviewFraction = 0.125;

constexpr const char* kOutOfRange =
    "この寸法ではアップダウンを作図できません。寸法を見直してください。";

constexpr int kBases[] = {1160, 1161, 1162, 1163};

using K = UpdownDialog;

// "Updown.ini", line by line. Each radio, and the check box, follows its own
// value, so a value of none clears its group.
const SettingsDeclaration kSettings{
    "Updown.ini",
    {
        NumberLine("W1", "W1", "mm", K::kEndWidth, kDescribed | kRequired),
        NumberLine("W2", "W2", "mm", K::kMiddleWidth, kDescribed),
        NumberLine("H1", "H1", "mm", K::kEndHeight, kDescribed | kRequired),
        NumberLine("V", "V", "mm", K::kRise, kDescribed | kRequired),
        NumberLine("H2", "H2", "mm", K::kMiddleHeight, kDescribed),
        NumberLine("OF", "OF", "mm", K::kOffset, kDescribed),
        NumberLine("M", "M", "mm", K::kMiddle, kDescribed),
        NumberLine("S1", "S1", "mm", K::kStraight1, kDescribed),
        NumberLine("S2", "S2", "mm", K::kStraight2, kDescribed),
        {.column = "side",
         .label = "下側・上側",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kLower, "下側"}, {"2", K::kUpper, "上側"}},
         .apply = ApplyRule::kExact},
        {.column = "sides",
         .label = "両側・片側",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kBoth, "両側"}, {"2", K::kOne, "片側"}},
         .apply = ApplyRule::kExact},
        FlagLine("mid_flange", "中間フランジ有り", K::kMidFlange, ApplyRule::kExact),
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", kBases[0]}, {"2", kBases[1]}, {"3", kBases[2]}, {"4", kBases[3]}},
         .apply = ApplyRule::kExact},
    }};

}  // namespace

UpdownDialog::UpdownDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  // Every confirmed change is checked as "表示更新" is.
  auto update = [this] { OnUpdateButton(); };
  auto height = [this](int combo, int edit) {
    return [this, combo, edit] {
      if (CopySelection(combo, edit)) OnUpdateButton();
    };
  };
  auto editing = [this] { ShowEditing(); };
  SetMessageMap({
      {EventKind::kSelChange, kMiddleWidths,
       [this] { OnWidthChoice(kMiddleWidths, kMiddleWidth); }},
      {EventKind::kSelChange, kEndWidths, [this] { OnWidthChoice(kEndWidths, kEndWidth); }},
      {EventKind::kSelChange, kEndHeights, height(kEndHeights, kEndHeight)},
      {EventKind::kSelChange, kMiddleHeights, height(kMiddleHeights, kMiddleHeight)},
      {EventKind::kClick, kUpdate, update},
      {EventKind::kClick, kLower, update},
      {EventKind::kClick, kUpper, update},
      {EventKind::kClick, kBoth, update},
      {EventKind::kClick, kOne, update},
      {EventKind::kClick, kMidFlange, update},
      {EventKind::kClick, kBases[0], update},
      {EventKind::kClick, kBases[1], update},
      {EventKind::kClick, kBases[2], update},
      {EventKind::kClick, kBases[3], update},
      {EventKind::kEditChange, kStraight1, editing},
      {EventKind::kEditChange, kStraight2, editing},
      {EventKind::kEditChange, kRise, editing},
      {EventKind::kEditChange, kEndHeight, editing},
      {EventKind::kEditChange, kMiddleHeight, editing},
      {EventKind::kEditChange, kEndWidth, editing},
      {EventKind::kEditChange, kMiddleWidth, editing},
      {EventKind::kEditChange, kMiddle, editing},
      {EventKind::kEditChange, kOffset, editing},
  });
}

void UpdownDialog::LoadControls() {
  FillCombos();
  // Without a settings file (or past its end) the controls keep what they show.
  LoadDeclaredSettings();
  opening_ = true;
}

const SettingsDeclaration* UpdownDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& UpdownDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void UpdownDialog::FillCombos() {
  FillListsFrom("KiokuSize.ini", {kMiddleWidths, kEndWidths, kEndHeights, kMiddleHeights});
}

UpdownInput UpdownDialog::ReadInput() {
  UpdownInput in;
  in.w1 = Number(kEndWidth);
  in.w2 = Number(kMiddleWidth);
  in.of = in.w2 == in.w1 ? 0.0 : Number(kOffset);
  in.h1 = Number(kEndHeight);
  in.h2 = Number(kMiddleHeight);
  in.v = Number(kRise);
  in.s1 = Number(kStraight1);
  in.s2 = Number(kStraight2);
  in.m = Number(kMiddle);
  // The solid and hidden bend lines follow "上側" only when it is the one set.
  in.lower = !IsChecked(kUpper) || IsChecked(kLower);
  in.bothSides = !IsChecked(kOne);
  in.midFlange = IsChecked(kMidFlange);
  in.base = ToInt(RadioText({kBases[0], kBases[1], kBases[2], kBases[3]}));
  return in;
}

std::string UpdownDialog::Refusal() {
  const UpdownInput in = ReadInput();
  if (in.of < 0.0) return kNegativeOffset;
  switch (CheckUpdown(in, Common())) {
    case UpdownOutcome::kBuilt:
      return {};
    case UpdownOutcome::kRiseTooLarge:
      return kRiseTooLarge;
    case UpdownOutcome::kRiseTooSmall:
      return kRiseTooSmall;
    case UpdownOutcome::kOutOfRange:
      return kOutOfRange;
  }
  return kOutOfRange;
}

void UpdownDialog::ApplyEqualWidths() {
  if (Number(kMiddleWidth) != Number(kEndWidth)) return;
  Derive(kOffset, "0");
}

bool UpdownDialog::CheckInput() {
  // Equal widths put the middle part in line with the end ducts.
  if (Number(kMiddleWidth) == Number(kEndWidth)) SetItemText(kOffset, "0");
  const std::string refusal = Refusal();
  if (refusal.empty()) return true;
  // The field at fault takes the focus: the offset, or the rise V that the
  // heights cannot take.
  int field = 0;
  if (refusal == kNegativeOffset) field = kOffset;
  if (refusal == kRiseTooLarge || refusal == kRiseTooSmall) field = kRise;
  RefuseValue(field, refusal, "入力確認");
  return false;
}

std::string UpdownDialog::SettingsFile() {
  return Refusal().empty() ? std::string(kSettings.file) : std::string();
}

void UpdownDialog::BuildRecords(RecordList& list) {
  // Every update, the opening's and a repaint's too, keeps the edit, the
  // settings file and the block name in step with the drawing.
  ApplyEqualWidths();
  if (opening_ && Writing()) {
    // Stored values that make no fitting say so once, as a confirmed change would.
    opening_ = false;
    if (const std::string refusal = Refusal(); !refusal.empty()) MessageBox(refusal, "入力確認");
  }
  const UpdownInput in = ReadInput();
  if (in.of < 0.0) {
    list.Clear();
    return;
  }
  lastBuild_ = BuildUpdown(list, in, Common());
  if (lastBuild_.outcome != UpdownOutcome::kBuilt) return;
  Derive(kRunText, OneDecimalText(lastBuild_.run));
  Derive(kTotalText, OneDecimalText(lastBuild_.total));
}

std::string UpdownDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName(kBlockPrefix, settings, {Common().k1, Common().k2, Common().k3}, random);
}

void UpdownDialog::DrawPreviewIn(Canvas& canvas, const PixelRect& client) {
  DrawOffsetPreview(canvas, client, Records(), kPreviewNumerator, kPreviewFraction);
}

void UpdownDialog::OnWidthChoice(int combo, int edit) {
  if (!CopySelection(combo, edit)) return;
  const double w1 = Number(kEndWidth);
  const double w2 = Number(kMiddleWidth);
  // A wider middle part is centred on the end ducts; a narrower one keeps its offset.
  if (w1 < w2) SetItemText(kOffset, OneDecimalText((w2 - w1) * 0.5));
  OnUpdateButton();
}

}  // namespace tavelin
