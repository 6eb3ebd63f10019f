#include "duct/jyoge_dialog.hpp"

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

const GeneratorSetup kSetup{"Jyoge",
                            JyogeDialog::kStatusLine,
                            JyogeDialog::kPreview,
                            JyogeDialog::kSchematic,
                            "Jyoge.tec",
                            100,
                            8.0,
                            129.0,
                            86.0};

const char* const kAngleChoices[] = {"0", "45", "90", "135", "180", "225", "270", "315"};

using K = JyogeDialog;

// "Jyoge.ini", line by line; the run of elbows stores the same sixteen lines first.
const SettingsDeclaration kSettings{
    .file = "Jyoge.ini",
    .lines = {
        NumberLine("X", "X", "mm", K::kSectionX, kDescribed | kRequired),
        NumberLine("Y", "Y", "mm", K::kSectionY, kDescribed | kRequired),
        NumberLine("L", "L", "mm", K::kLength, kDescribed),
        {.column = "stored", .label = "保存値", .kind = ParamKind::kText, .control = K::kStored19},
        NumberLine("W", "巾", "mm", K::kWidth, kDescribed | kRequired),
        NumberLine("P", "P", "mm", K::kOffsetP, kDescribed),
        NumberLine("Q", "Q", "mm", K::kOffsetQ, kDescribed),
        NumberLine("rotation", "角度", "°", K::kAngle),
        NumberLine("E", "E", "mm", K::kStraight, kDescribed),
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kBaseCentre, "中心"},
                    {"2", K::kBaseUpperLeft, "左上"},
                    {"3", K::kBaseUpperRight, "右上"},
                    {"4", K::kBaseLowerLeft, "左下"},
                    {"5", K::kBaseLowerRight, "右下"}}},
        {.column = "turn",
         .label = "上がり・下がり",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kUp, "上がり"}, {"2", K::kDown, "下がり"}},
         .described = true},
        {.column = "symbol",
         .label = "断面記号",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kSymbolCross, "交差"},
                    {"2", K::kSymbolDiagonal, "斜線"},
                    {"3", K::kSymbolHalf, "半分"}},
         .described = true},
        {.column = "radius_factor",
         .label = "内R",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kHalfRadius, "0.5R"}, {"2", K::kFullRadius, "1R"}},
         .described = true},
        FlagLine("mirror", "左右反転", K::kMirror),
        FlagLine("current_layer", "現在のレイヤに作図", K::kCurrentLayer),
        NumberLine("H", "高さ", "mm", K::kHeight, kDescribed | kRequired),
    }};

// The base-point radios in the order of the settings file, and the symbols.
const std::initializer_list<int> kBases = {
    JyogeDialog::kBaseCentre, JyogeDialog::kBaseUpperLeft, JyogeDialog::kBaseUpperRight,
    JyogeDialog::kBaseLowerLeft, JyogeDialog::kBaseLowerRight};
const std::initializer_list<int> kSymbols = {
    JyogeDialog::kSymbolCross, JyogeDialog::kSymbolDiagonal, JyogeDialog::kSymbolHalf};

}  // namespace

JyogeDialog::JyogeDialog(ui::AppContext& app) : JyogeDialog(app, kSetup) {}

JyogeDialog::JyogeDialog(ui::AppContext& app, const GeneratorSetup& setup)
    : GeneratorDialog(app, setup) {
  SetMessageMap(ElbowMessages());
}

std::vector<ui::MessageEntry> JyogeDialog::ElbowMessages() {
  using ui::EventKind;
  auto update = [this] { OnConfirmedChange(); };
  auto editing = [this] { ShowEditing(); };
  std::vector<ui::MessageEntry> entries = {
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      {EventKind::kSelChange, kAngles, [this] { OnSelection(kAngles, {kAngle}); }},
      {EventKind::kSelChange, kXSizes, [this] { OnSelection(kXSizes, {kSectionX}); }},
      {EventKind::kSelChange, kYSizes, [this] { OnSelection(kYSizes, {kSectionY}); }},
      {EventKind::kSelChange, kWidthSizes,
       [this] {
         OnSelection(kWidthSizes, {kWidth, kSectionY});
       }},
      {EventKind::kSelChange, kHeightSizes,
       [this] {
         OnSelection(kHeightSizes, {kHeight, kSectionX});
       }},
      {EventKind::kEditChange, kWidth, [this] { SplitInHalves(kOffsets); }},
      {EventKind::kEditChange, kSectionX, editing},
      {EventKind::kEditChange, kSectionY, editing},
      {EventKind::kEditChange, kLength, editing},
      {EventKind::kEditChange, kStored19, editing},
      {EventKind::kEditChange, kStraight, editing},
      {EventKind::kClick, kMirror, update},
  };
  for (ui::MessageEntry& entry : LinkedPairEntries({kOffsets})) entries.push_back(std::move(entry));
  for (int id : {kBaseCentre, kBaseUpperLeft, kBaseLowerLeft, kBaseLowerRight, kBaseUpperRight, kUp,
                 kDown, kSymbolCross, kSymbolDiagonal, kSymbolHalf, kHalfRadius, kFullRadius}) {
    entries.push_back({EventKind::kClick, id, update});
  }
  return entries;
}

const SettingsDeclaration* JyogeDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& JyogeDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

const SettingsDeclaration& JyogeDialog::ElbowSettings() { return kSettings; }

void JyogeDialog::LoadControls() {
  // Without a settings file (or past its end) the controls keep what they show.
  std::vector<std::string> lines;
  if (Info().Exists(kSettings.file))
    lines = Info().ReadToEnd(kSettings.file, kSettings.LineCount());
  LoadElbowControls(lines);
}

void JyogeDialog::LoadElbowControls(const std::vector<std::string>& lines) {
  FillListsFrom("KiokuSize.ini", {kXSizes, kYSizes, kWidthSizes, kHeightSizes});
  FillList(kAngles, kAngleChoices);
  // Only the elbow's own lines, whatever file a derived dialog declares.
  ApplyDeclaredLines(kSettings, lines, Controls());
}

std::vector<std::string> JyogeDialog::SettingsLines() {
  return DeclaredLines(kSettings, Controls());
}

UpDownElbowInput JyogeDialog::ReadElbow() {
  // 1R also when neither radius radio is set: the usual elbow.
  const double r = IsChecked(kHalfRadius) ? 0.5 : 1.0;
  const double length = UpDownElbowLength(Number(kHeight), Number(kSectionX), r, Number(kStraight));
  // The length drawn is the one shown, as integer text.
  const std::string lengthText = Derive(kLength, IntegerText(length));

  UpDownElbowInput in;
  UpDownElbowShape& s = in.shape;
  s.x = Number(kSectionX);
  s.y = Number(kSectionY);
  s.l = ToDouble(lengthText);
  s.e = Number(kStraight);
  s.p = Number(kOffsetP);
  s.q = Number(kOffsetQ);
  s.turn = IsChecked(kUp) ? ElbowTurn::kUp : IsChecked(kDown) ? ElbowTurn::kDown : ElbowTurn::kNone;
  s.symbol = static_cast<SectionSymbol>(ToInt(RadioText(kSymbols)));
  in.base = static_cast<UpDownBase>(ToInt(RadioText(kBases)));
  in.mirror = IsChecked(kMirror);
  in.rotation = Number(kAngle);
  return in;
}

void JyogeDialog::BuildRecords(RecordList& list) { BuildUpDownElbow(list, ReadElbow(), Common()); }

std::string JyogeDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  const char* prefix = "Z_";
  switch (CheckedOf(kSymbols)) {
    case kSymbolCross:
      prefix = "EU_";
      break;
    case kSymbolDiagonal:
      prefix = "ES_";
      break;
    case kSymbolHalf:
      prefix = "ED_";
      break;
    default:
      break;
  }
  return BlockName(prefix, settings, {Common().k1, Common().k2, Common().k3}, random);
}

void JyogeDialog::DrawPreviewIn(Canvas& canvas, const PixelRect& client) {
  // The fitting stays in place while the base point moves.
  DrawOffsetPreview(canvas, client, List(), 110.0, 0.5);
}

std::string JyogeDialog::EmptyDrawingMessage() {
  return "この寸法ではエルボを作図できません。\n上がり・下がりを選び、寸法を見直して"
         "表示更新をクリックしてください。";
}

void JyogeDialog::OnSelection(int combo, std::initializer_list<int> edits) {
  const ui::Control& list = Item(combo);
  if (list.CurSel() < 0) return;
  const std::string text = list.ItemText(list.CurSel());
  for (int id : edits) SetItemText(id, text);
  OnConfirmedChange();
}

}  // namespace tavelin
