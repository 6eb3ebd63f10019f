#include "duct/updown_dialog.hpp"

#include "duct/furiage_geometry.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kBlockPrefix = "UPD_";
constexpr size_t kSchematicCapacity = 100;
constexpr size_t kListCapacity = 1000;
constexpr double kSchematicScale = 5.5;
constexpr double kSchematicOriginX = 65.0;
constexpr double kSchematicOriginY = 85.0;
constexpr double kPreviewNumerator = 160.0;
constexpr double kPreviewFraction = 0.125;

// Lines 1 to 9 of "Updown.ini", in file order.
constexpr int kEdits[] = {UpdownDialog::kEndWidth,   UpdownDialog::kMiddleWidth,
                          UpdownDialog::kEndHeight,  UpdownDialog::kRise,
                          UpdownDialog::kMiddleHeight, UpdownDialog::kOffset,
                          UpdownDialog::kMiddle,     UpdownDialog::kStraight1,
                          UpdownDialog::kStraight2};

constexpr int kBases[] = {1160, 1161, 1162, 1163};

}  // namespace

UpdownDialog::UpdownDialog(ui::AppContext& app) : Dialog(app, "Updown") {
  using ui::EventKind;
  auto update = [this] { Update(true, true); };
  auto editing = [this] { SetItemText(kStatusLine, kStatusEditing); };
  SetMessageMap({
      {EventKind::kSelChange, kMiddleWidths, [this] { OnWidthChoice(kMiddleWidths, kMiddleWidth); }},
      {EventKind::kSelChange, kEndWidths, [this] { OnWidthChoice(kEndWidths, kEndWidth); }},
      {EventKind::kSelChange, kEndHeights, [this] { OnHeightChoice(kEndHeights, kEndHeight); }},
      {EventKind::kSelChange, kMiddleHeights,
       [this] { OnHeightChoice(kMiddleHeights, kMiddleHeight); }},
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
      {EventKind::kClick, kOkButton, [this] { StartBuilder(); }},
  });
}

void UpdownDialog::OnInitDialog() {
  schematic_ = ParseSchematic(Info().ReadToEnd(kSchematicFile, kSchematicCapacity));
  FillCombos();
  if (Info().Exists(kSettingsFile)) ApplySettings(Info().ReadToEnd(kSettingsFile, kSettingsLines));
  SetItemText(kStatusLine, kStatusEditing);
  list_.LoadAttributes(Info());
  common_ = CommonValues::Load(Info());
  ready_ = true;
  Update(true, true);
}

void UpdownDialog::FillCombos() {
  const int combos[] = {kMiddleWidths, kEndWidths, kEndHeights, kMiddleHeights};
  for (int id : combos) Item(id).ResetContent();
  if (!Info().Exists("KiokuSize.ini")) return;
  for (const std::string& size : Info().ReadToEnd("KiokuSize.ini", kListCapacity)) {
    for (int id : combos) Item(id).AddString(size);
  }
}

void UpdownDialog::ApplySettings(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i < std::size(kEdits) && i < n; ++i) SetItemText(kEdits[i], lines[i]);
  auto pair = [&](size_t line, int first, int second) {
    if (n <= line) return;
    SetChecked(first, lines[line] == "1");
    SetChecked(second, lines[line] == "2");
  };
  pair(9, kLower, kUpper);
  pair(10, kBoth, kOne);
  if (n > 11) SetChecked(kMidFlange, lines[11] == "1");
  if (n > 12) {
    for (int b = 0; b < 4; ++b) SetChecked(kBases[b], lines[12] == FormatD(b + 1));
  }
}

std::vector<std::string> UpdownDialog::Settings() {
  auto pair = [this](int first, int second) {
    if (IsChecked(first)) return std::string("1");
    if (IsChecked(second)) return std::string("2");
    return std::string();
  };
  std::string base;
  for (int b = 0; b < 4; ++b) {
    if (IsChecked(kBases[b])) {
      base = FormatD(b + 1);
      break;
    }
  }
  std::vector<std::string> lines;
  for (int id : kEdits) lines.push_back(ItemText(id));
  lines.push_back(pair(kLower, kUpper));
  lines.push_back(pair(kBoth, kOne));
  lines.push_back(IsChecked(kMidFlange) ? "1" : "0");
  lines.push_back(base);
  return lines;
}

UpdownInput UpdownDialog::ReadInput() {
  UpdownInput in;
  in.w1 = ToDouble(ItemText(kEndWidth));
  in.w2 = ToDouble(ItemText(kMiddleWidth));
  in.of = ToDouble(ItemText(kOffset));
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
  in.base = 0;
  for (int b = 0; b < 4; ++b) {
    if (IsChecked(kBases[b])) in.base = b + 1;
  }
  return in;
}

void UpdownDialog::Update(bool write, bool interactive) {
  list_.Clear();
  Invalidate();
  UpdownInput input = ReadInput();
  // Equal widths put the middle part in line with the end ducts; the edit
  // shows it after a confirmed update, a repaint leaves what is being typed.
  if (input.w2 == input.w1) {
    input.of = 0.0;
    if (write) SetItemText(kOffset, "0");
  }
  if (input.of < 0.0) {
    // The hand-off files keep the last fitting; OK refuses until it is mended.
    handedOff_ = false;
    if (interactive) MessageBox(kNegativeOffset, "入力確認");
    return;
  }
  lastBuild_ = BuildUpdown(list_, input, common_);
  if (lastBuild_.outcome != UpdownOutcome::kBuilt) {
    handedOff_ = false;
    if (!interactive) return;
    if (lastBuild_.outcome == UpdownOutcome::kRiseTooLarge) {
      MessageBox(kRiseTooLarge, "入力確認");
    } else {
      MessageBox("この寸法ではアップダウンを作図できません。寸法を見直してください。", "入力確認");
    }
    return;
  }
  SetItemText(kRunText, OneDecimalText(lastBuild_.run));
  SetItemText(kTotalText, OneDecimalText(lastBuild_.total));
  if (write && ready_) {
    std::vector<std::string> settings = Settings();
    std::string name = BlockName(kBlockPrefix, settings, {common_.k1, common_.k2, common_.k3},
                                 App().random->Next());
    WriteHandOff(Info(), list_, kSettingsFile, settings, name);
    handedOff_ = true;
  }
  if (write) SetItemText(kStatusLine, kStatusEditing);
}

void UpdownDialog::OnWidthChoice(int combo, int edit) {
  const ui::Control& list = Item(combo);
  if (list.CurSel() < 0) return;
  SetItemText(edit, list.ItemText(list.CurSel()));
  const double w1 = ToDouble(ItemText(kEndWidth));
  const double w2 = ToDouble(ItemText(kMiddleWidth));
  // A wider middle part is centred on the end ducts; a narrower one keeps its offset.
  if (w1 < w2) SetItemText(kOffset, OneDecimalText((w2 - w1) * 0.5));
  Update(true, true);
}

void UpdownDialog::OnHeightChoice(int combo, int edit) {
  const ui::Control& list = Item(combo);
  if (list.CurSel() < 0) return;
  SetItemText(edit, list.ItemText(list.CurSel()));
  Update(true, true);
}

void UpdownDialog::OnPaint(Canvas& canvas) {
  {
    OffsetCanvas anchor = ControlCanvas(canvas, kSchematic);
    DrawSchematic(anchor, ClientRectOf(kSchematic), schematic_, kSchematicOriginX,
                  kSchematicOriginY, kSchematicScale,
                  [](const SchematicLine& line) { return SchematicStylePen(line.style); });
  }
  // A repaint never repeats a message: the refusal was told when it happened.
  Update(false, false);
  OffsetCanvas preview = ControlCanvas(canvas, kPreview);
  PixelRect client = ClientRectOf(kPreview);
  preview.SetClip(&client);
  DrawOffsetPreview(preview, client, list_, kPreviewNumerator, kPreviewFraction);
  preview.SetClip(nullptr);
}

void UpdownDialog::StartBuilder() {
  if (!ready_) {
    MessageBox("必要なファイルを読み込めなかったため、作図できません。", "確認");
    return;
  }
  // The values shown are refused again, with their message, before anything starts.
  Update(true, true);
  if (!handedOff_) return;
  if (App().launcher) App().launcher->Start();
  SetItemText(kStatusLine, kStatusPlaced);
}

void UpdownDialog::OnOK() { StartBuilder(); }

}  // namespace tavelin
