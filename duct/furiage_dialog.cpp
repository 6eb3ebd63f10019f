#include "duct/furiage_dialog.hpp"

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kBlockPrefix = "FAG_";
constexpr size_t kSchematicCapacity = 100;
constexpr size_t kListCapacity = 1000;
constexpr double kSchematicScale = 5.0;
constexpr double kSchematicOriginX = 80.0;
constexpr double kSchematicOriginY = 45.0;
constexpr double kPreviewNumerator = 120.0;
constexpr double kPreviewFraction = 0.25;

const char* const kAngleChoices[] = {"15", "30", "45", "60"};

// Lines 1 to 8 of "Furiage.ini", in file order.
constexpr int kEdits[] = {FuriageDialog::kWidth,      FuriageDialog::kHeight,
                          FuriageDialog::kRaise,      FuriageDialog::kMargin,
                          FuriageDialog::kLength,     FuriageDialog::kLowerStart,
                          FuriageDialog::kUpperStart, FuriageDialog::kAngle};

// The base radios in the order of their stored numbers 1 to 10.
constexpr int kBases[] = {1160, 1161, 1162, 1163, 1164, 1165, 1170, 1171, 1172, 1173};

}  // namespace

FuriageDialog::FuriageDialog(ui::AppContext& app) : Dialog(app, "Furiage") {
  using ui::EventKind;
  auto update = [this] { Update(true); };
  SetMessageMap({
      {EventKind::kClick, kUpdate, update},
      {EventKind::kClick, kAngleGiven, update},
      {EventKind::kClick, kLengthGiven, update},
      {EventKind::kClick, kHalfRadius, update},
      {EventKind::kClick, kFullRadius, update},
      {EventKind::kClick, kUpperFlange, update},
      {EventKind::kClick, kLowerFlange, update},
      {EventKind::kClick, kHiddenLines, update},
      {EventKind::kClick, kBases[0], update},
      {EventKind::kClick, kBases[1], update},
      {EventKind::kClick, kBases[2], update},
      {EventKind::kClick, kBases[3], update},
      {EventKind::kClick, kBases[4], update},
      {EventKind::kClick, kBases[5], update},
      {EventKind::kSelChange, kAngles, [this] { CopyChoice(kAngles, kAngle); }},
      {EventKind::kSelChange, kWidths, [this] { CopyChoice(kWidths, kWidth); }},
      {EventKind::kSelChange, kHeights, [this] { CopyChoice(kHeights, kHeight); }},
      {EventKind::kClick, kOkButton, [this] { StartBuilder(); }},
  });
}

void FuriageDialog::OnInitDialog() {
  list_.mirror = 0;
  schematic_ = ParseSchematic(Info().ReadToEnd(kSchematicFile, kSchematicCapacity));
  FillCombos();
  // Without a settings file (or past its end) the controls keep what they show.
  if (Info().Exists(kSettingsFile)) ApplySettings(Info().ReadToEnd(kSettingsFile, kSettingsLines));
  SetItemText(kStatusLine, kStatusEditing);
  list_.LoadAttributes(Info());
  common_ = CommonValues::Load(Info());
  ready_ = true;
  Update(true);
}

void FuriageDialog::FillCombos() {
  for (int id : {kAngles, kWidths, kHeights}) Item(id).ResetContent();
  for (const char* angle : kAngleChoices) Item(kAngles).AddString(angle);
  if (!Info().Exists("KiokuSize.ini")) return;
  for (const std::string& size : Info().ReadToEnd("KiokuSize.ini", kListCapacity)) {
    Item(kWidths).AddString(size);
    Item(kHeights).AddString(size);
  }
}

void FuriageDialog::ApplySettings(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i < std::size(kEdits) && i < n; ++i) SetItemText(kEdits[i], lines[i]);
  auto pair = [&](size_t line, int first, int second) {
    if (n <= line) return;
    SetChecked(first, lines[line] == "1");
    SetChecked(second, lines[line] == "2");
  };
  pair(8, kAngleGiven, kLengthGiven);
  pair(9, kHalfRadius, kFullRadius);
  for (size_t line = 10; line <= 12 && line < n; ++line)
    SetChecked(kUpperFlange + static_cast<int>(line - 10), lines[line] == "1");
  if (n > 13) {
    for (int b = 0; b < 10; ++b) {
      if (lines[13] == FormatD(b + 1)) SetChecked(kBases[b], true);
    }
  }
  pair(14, kPlan, kSide);
}

std::vector<std::string> FuriageDialog::Settings() {
  auto flag = [this](int id) { return std::string(IsChecked(id) ? "1" : "0"); };
  auto pair = [this](int first, int second) {
    if (IsChecked(first)) return std::string("1");
    if (IsChecked(second)) return std::string("2");
    return std::string();
  };
  std::string base;
  for (int b = 0; b < 10; ++b) {
    if (IsChecked(kBases[b])) {
      base = FormatD(b + 1);
      break;
    }
  }
  std::vector<std::string> lines;
  for (int id : kEdits) lines.push_back(ItemText(id));
  lines.push_back(pair(kAngleGiven, kLengthGiven));
  lines.push_back(pair(kHalfRadius, kFullRadius));
  lines.push_back(flag(kUpperFlange));
  lines.push_back(flag(kLowerFlange));
  lines.push_back(flag(kHiddenLines));
  lines.push_back(base);
  lines.push_back(pair(kPlan, kSide));
  return lines;
}

FuriageInput FuriageDialog::ReadInput() {
  FuriageInput in;
  in.mode = IsChecked(kAngleGiven)    ? FuriageMode::kAngle
            : IsChecked(kLengthGiven) ? FuriageMode::kLength
                                      : FuriageMode::kNone;
  in.w = ToDouble(ItemText(kWidth));
  in.h = ToDouble(ItemText(kHeight));
  in.f = ToDouble(ItemText(kRaise));
  in.r1 = ToDouble(ItemText(kLowerStart));
  in.r2 = ToDouble(ItemText(kUpperStart));
  in.t = ToDouble(ItemText(kMargin));
  in.angle = ToDouble(ItemText(kAngle));
  in.length = ToDouble(ItemText(kLength));
  // "1.0R" only when it is the one set; otherwise the half radius.
  in.factor = IsChecked(kFullRadius) && !IsChecked(kHalfRadius) ? 1.0 : 0.5;
  in.upper = IsChecked(kUpperFlange);
  in.lower = IsChecked(kLowerFlange);
  in.hidden = IsChecked(kHiddenLines);
  in.base = 0;
  for (int b = 0; b < 10; ++b) {
    if (IsChecked(kBases[b])) {
      in.base = b + 1;
      break;
    }
  }
  return in;
}

void FuriageDialog::Update(bool write) {
  lastBuild_ = BuildFuriage(list_, ReadInput(), common_);
  // Only a confirmed update rewrites the angle and length edits: a repaint
  // comes at any time, also while the user is typing the length to search.
  if (write && lastBuild_.searched) {
    SetItemText(kLength, lastBuild_.targetText);
    SetItemText(kAngle, lastBuild_.angleText);
  }
  if (write && lastBuild_.built) SetItemText(kLength, lastBuild_.lengthText);
  Invalidate();
  if (write && ready_) {
    std::vector<std::string> settings = Settings();
    std::string name = BlockName(kBlockPrefix, settings, {common_.k1, common_.k2, common_.k3},
                                 App().random->Next());
    WriteHandOff(Info(), list_, kSettingsFile, settings, name);
    handedOff_ = lastBuild_.built;
  }
  if (write) SetItemText(kStatusLine, kStatusEditing);
}

void FuriageDialog::CopyChoice(int combo, int edit) {
  const ui::Control& list = Item(combo);
  if (list.CurSel() < 0) return;
  SetItemText(edit, list.ItemText(list.CurSel()));
  Update(true);
}

void FuriageDialog::OnPaint(Canvas& canvas) {
  {
    OffsetCanvas anchor = ControlCanvas(canvas, kSchematic);
    DrawSchematic(anchor, ClientRectOf(kSchematic), schematic_, kSchematicOriginX,
                  kSchematicOriginY, kSchematicScale,
                  [](const SchematicLine& line) { return SchematicStylePen(line.style); });
  }
  Update(false);
  OffsetCanvas preview = ControlCanvas(canvas, kPreview);
  PixelRect client = ClientRectOf(kPreview);
  preview.SetClip(&client);
  DrawOffsetPreview(preview, client, list_, kPreviewNumerator, kPreviewFraction);
  preview.SetClip(nullptr);
}

void FuriageDialog::StartBuilder() {
  if (!ready_) {
    MessageBox("必要なファイルを読み込めなかったため、作図できません。", "確認");
    return;
  }
  // The block is made from the values shown, typed ones included.
  Update(true);
  if (!handedOff_) {
    MessageBox(
        "この寸法では振り上げダクトを作図できません。\n作図基準を選び、角度・振り高・全長を"
        "見直して表示更新をクリックしてください。",
        "入力確認");
    return;
  }
  if (App().launcher) App().launcher->Start();
  SetItemText(kStatusLine, kStatusPlaced);
}

void FuriageDialog::OnOK() { StartBuilder(); }

}  // namespace tavelin
