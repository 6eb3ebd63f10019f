#include "duct/updown_dialog.hpp"

#include "duct/furiage_geometry.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kBlockPrefix = "UPD_";

const GeneratorSetup kSetup{"Updown",
                            UpdownDialog::kStatusLine,
                            UpdownDialog::kPreview,
                            UpdownDialog::kSchematic,
                            UpdownDialog::kSchematicFile,
                            100,
                            5.5,
                            65.0,
                            85.0};

// The preview keeps the duct in place while the base point moves.
constexpr double kPreviewNumerator = 160.0;
constexpr double kPreviewFraction = 0.125;

constexpr const char* kOutOfRange =
    "この寸法ではアップダウンを作図できません。寸法を見直してください。";

// Lines 1 to 9 of "Updown.ini", in file order.
constexpr int kEdits[] = {
    UpdownDialog::kEndWidth, UpdownDialog::kMiddleWidth,  UpdownDialog::kEndHeight,
    UpdownDialog::kRise,     UpdownDialog::kMiddleHeight, UpdownDialog::kOffset,
    UpdownDialog::kMiddle,   UpdownDialog::kStraight1,    UpdownDialog::kStraight2};

constexpr int kBases[] = {1160, 1161, 1162, 1163};

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
      {EventKind::kClick, kOkButton, [this] { OnOK(); }},
  });
}

void UpdownDialog::LoadControls() {
  FillCombos();
  // Without a settings file (or past its end) the controls keep what they show.
  if (Info().Exists(kSettingsFile)) ApplySettings(Info().ReadToEnd(kSettingsFile, kSettingsLines));
  opening_ = true;
}

void UpdownDialog::FillCombos() {
  FillListsFrom("KiokuSize.ini", {kMiddleWidths, kEndWidths, kEndHeights, kMiddleHeights});
}

void UpdownDialog::ApplySettings(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i < std::size(kEdits) && i < n; ++i) SetItemText(kEdits[i], lines[i]);
  // Each radio follows its own value, so a value of none clears the group.
  auto group = [&](size_t line, std::initializer_list<int> radios) {
    if (n <= line) return;
    int k = 1;
    for (int id : radios) SetChecked(id, lines[line] == FormatD(k++));
  };
  group(9, {kLower, kUpper});
  group(10, {kBoth, kOne});
  if (n > 11) SetChecked(kMidFlange, lines[11] == "1");
  group(12, {kBases[0], kBases[1], kBases[2], kBases[3]});
}

std::vector<std::string> UpdownDialog::SettingsLines() {
  std::vector<std::string> lines;
  for (int id : kEdits) lines.push_back(ItemText(id));
  lines.push_back(RadioText({kLower, kUpper}));
  lines.push_back(RadioText({kBoth, kOne}));
  lines.push_back(CheckText(kMidFlange));
  lines.push_back(RadioText({kBases[0], kBases[1], kBases[2], kBases[3]}));
  return lines;
}

UpdownInput UpdownDialog::ReadInput() {
  UpdownInput in;
  in.w1 = ToDouble(ItemText(kEndWidth));
  in.w2 = ToDouble(ItemText(kMiddleWidth));
  in.of = in.w2 == in.w1 ? 0.0 : ToDouble(ItemText(kOffset));
  in.h1 = ToDouble(ItemText(kEndHeight));
  in.h2 = ToDouble(ItemText(kMiddleHeight));
  in.v = ToDouble(ItemText(kRise));
  in.s1 = ToDouble(ItemText(kStraight1));
  in.s2 = ToDouble(ItemText(kStraight2));
  in.m = ToDouble(ItemText(kMiddle));
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
  if (ToDouble(ItemText(kMiddleWidth)) != ToDouble(ItemText(kEndWidth))) return;
  if (!Writing() && FocusedId() == kOffset) return;
  if (ItemText(kOffset) != "0") SetItemText(kOffset, "0");
}

bool UpdownDialog::CheckInput() {
  // Equal widths put the middle part in line with the end ducts.
  if (ToDouble(ItemText(kMiddleWidth)) == ToDouble(ItemText(kEndWidth))) SetItemText(kOffset, "0");
  const std::string refusal = Refusal();
  if (refusal.empty()) return true;
  MessageBox(refusal, "入力確認");
  return false;
}

std::string UpdownDialog::SettingsFile() { return Refusal().empty() ? kSettingsFile : ""; }

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
  SetItemText(kRunText, OneDecimalText(lastBuild_.run));
  SetItemText(kTotalText, OneDecimalText(lastBuild_.total));
}

std::string UpdownDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName(kBlockPrefix, settings, {Common().k1, Common().k2, Common().k3}, random);
}

void UpdownDialog::DrawPreviewIn(Canvas& canvas, const PixelRect& client) {
  DrawOffsetPreview(canvas, client, Records(), kPreviewNumerator, kPreviewFraction);
}

void UpdownDialog::OnWidthChoice(int combo, int edit) {
  if (!CopySelection(combo, edit)) return;
  const double w1 = ToDouble(ItemText(kEndWidth));
  const double w2 = ToDouble(ItemText(kMiddleWidth));
  // A wider middle part is centred on the end ducts; a narrower one keeps its offset.
  if (w1 < w2) SetItemText(kOffset, OneDecimalText((w2 - w1) * 0.5));
  OnUpdateButton();
}

}  // namespace tavelin
