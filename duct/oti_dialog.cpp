#include "duct/oti_dialog.hpp"

#include <tuple>

#include "framework/design_rules.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr const char* kBlockPrefix = "TK_";

const GeneratorSetup kSetup{"Oti",
                            OtiDialog::kStatusLine,
                            OtiDialog::kPreview,
                            OtiDialog::kSchematic,
                            "Oti.tec",
                            100,
                            6.0,
                            100.0,
                            150.0};

const char* const kAngleChoices[] = {"0", "45", "90", "135", "180", "225", "270", "315"};
const char* const kCoefficientChoices[] = {"2", "1", "0"};

using K = OtiDialog;

// "Oti.ini", line by line.
const SettingsDeclaration kSettings{
    .file = "Oti.ini",
    .lines = {
        NumberLine("W1", "W1", "mm", K::kLargeWidth, kDescribed | kRequired),
        NumberLine("W2", "W2", "mm", K::kSmallWidth, kDescribed | kRequired),
        NumberLine("P", "P", "mm", K::kOffsetP, kDescribed),
        NumberLine("Q", "Q", "mm", K::kOffsetQ, kDescribed),
        {.column = "stored", .label = "保存値", .kind = ParamKind::kText, .control = K::kStored15},
        NumberLine("S", "S", "mm", K::kStraight, kDescribed),
        {.column = "stored_angle",
         .label = "記憶角度",
         .kind = ParamKind::kText,
         .control = K::kStoredAngle},
        NumberLine("L", "L", "mm", K::kLength, kDescribed),
        NumberLine("k", "大小ダクト係数", "", K::kCoefficient),
        {.column = "shape",
         .label = "形状",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kSquareToSquare, "角-角"}, {"2", K::kSquareToRound, "角-丸"}},
         .described = true},
        {.column = "base",
         .label = "基準点",
         .kind = ParamKind::kChoice,
         .values = {{"1", K::kBaseLargeCentre, "大側中心"},
                    {"2", K::kBaseLargeCorner, "大側角"},
                    {"3", K::kBaseSmallCentre, "小側中心"},
                    {"4", K::kBaseSmallCorner, "小側角"}}},
        FlagLine("mirror", "左右反転", K::kMirror),
        FlagLine("current_layer", "現在のレイヤに作図", K::kCurrentLayer),
    }};

}  // namespace

OtiDialog::OtiDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto editing = [this] { ShowEditing(); };
  std::vector<ui::MessageEntry> entries = {
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      {EventKind::kClick, kSquareToSquare, update},
      {EventKind::kClick, kSquareToRound, update},
      {EventKind::kClick, kBaseLargeCentre, update},
      {EventKind::kClick, kBaseLargeCorner, update},
      {EventKind::kClick, kBaseSmallCentre, update},
      {EventKind::kClick, kBaseSmallCorner, update},
      SelectionInto(kSmallSizes, kSmallWidth),
      SelectionInto(kStoredAngles, kStoredAngle),
      SelectionInto(kLargeSizes, kLargeWidth),
      SelectionInto(kCoefficients, kCoefficient),
      {EventKind::kEditChange, kSmallWidth, [this] { OnSmallWidthChange(); }},
      {EventKind::kEditChange, kLargeWidth, editing},
      {EventKind::kEditChange, kStored15, editing},
      {EventKind::kEditChange, kStraight, editing},
      {EventKind::kEditChange, kLength, editing},
      {EventKind::kEditChange, kCoefficient, editing},
  };
  for (ui::MessageEntry& entry : LinkedPairEntries({kOffsets}, editing)) {
    entries.push_back(std::move(entry));
  }
  SetMessageMap(std::move(entries));
}

void OtiDialog::LoadControls() {
  // Without a settings file (or past its end) the controls keep what they show.
  LoadDeclaredSettings();
  FillCombos();
}

const SettingsDeclaration* OtiDialog::Declaration() { return &kSettings; }

const std::vector<const SettingsDeclaration*>& OtiDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kSettings};
  return kAll;
}

void OtiDialog::FillCombos() {
  FillListsFrom("KiokuSize.ini", {kSmallSizes, kLargeSizes});
  FillList(kStoredAngles, kAngleChoices);
  FillList(kCoefficients, kCoefficientChoices);
}

std::pair<std::string, std::string> OtiDialog::CentredOffsets() {
  const double w2 = Number(kSmallWidth);
  const std::string half = IntegerText(w2 * 0.5);
  // After Q was entered last, P follows Q: an odd W2 gives P one more than Q.
  if (LinkFocus() == 2) return {IntegerText(w2 - ToDouble(half)), half};
  return {half, half};
}

void OtiDialog::BuildRecords(RecordList& list) {
  ReducerInput in;
  std::string p = ItemText(kOffsetP), q = ItemText(kOffsetQ);
  switch (CheckedOf({kSquareToSquare, kSquareToRound})) {
    case kSquareToSquare:
      in.shape = ReducerShape::kSquare;
      break;
    case kSquareToRound:
      in.shape = ReducerShape::kRound;
      std::tie(p, q) = CentredOffsets();
      Derive(kOffsetQ, q);
      Derive(kOffsetP, p);
      break;
    default:
      in.shape = ReducerShape::kNone;
      break;
  }
  in.w1 = Number(kLargeWidth);
  in.w2 = Number(kSmallWidth);
  in.p = ToDouble(p);
  in.q = ToDouble(q);
  in.s = Number(kStraight);
  const double k = Number(kCoefficient);
  std::string length = ItemText(kLength);
  if (in.shape != ReducerShape::kNone && k != 0.0) {
    // The length shown is the one drawn: it goes through the edit as integer text.
    length = Derive(kLength, IntegerText(ReducerLength(in.w1, in.w2, k, in.s)));
  }
  in.l = ToDouble(length);
  switch (CheckedOf({kBaseLargeCentre, kBaseLargeCorner, kBaseSmallCentre, kBaseSmallCorner})) {
    case kBaseLargeCentre:
      in.base = ReducerBase::kLargeCentre;
      break;
    case kBaseLargeCorner:
      in.base = ReducerBase::kLargeCorner;
      break;
    case kBaseSmallCentre:
      in.base = ReducerBase::kSmallCentre;
      break;
    case kBaseSmallCorner:
      in.base = ReducerBase::kSmallCorner;
      break;
    default:
      in.base = ReducerBase::kNone;
      break;
  }
  in.mirror = IsChecked(kMirror);
  BuildReducer(list, in, Common());
}

std::string OtiDialog::MakeBlockName(const std::vector<std::string>& settings, int random) {
  return BlockName(kBlockPrefix, settings, {Common().k1, Common().k2, Common().k3}, random);
}

std::string OtiDialog::EmptyDrawingMessage() {
  return "この寸法では短管・片落管を作図できません。\n形状を選び、巾・長さを見直して"
         "表示更新をクリックしてください。";
}

void OtiDialog::OnSmallWidthChange() {
  SplitInHalves(kOffsets);
  ShowEditing();
}

std::vector<std::string> OtiDialog::DesignWarnings() {
  const double straights = 2.0 * Number(kStraight);
  const double taper = Number(kLength) - straights;
  LengthAdvice advice;
  if (const double k = Number(kCoefficient); k != 0.0) {
    // The length follows the coefficient: a typed length counts only with
    // the coefficient 0.
    const double w1 = Number(kLargeWidth), w2 = Number(kSmallWidth), s = Number(kStraight);
    advice = [w1, w2, s](double shortest) {
      const std::string typed = "大小ダクト係数を 0 にして長さを " + Decimal(shortest) + " 以上";
      const double k = CoefficientForLength(w1, w2, s, shortest);
      if (k == 0.0) return typed + "にすれば不要です（長さは係数が 0 のときだけ入力どおりです）。";
      return "大小ダクト係数を " + Decimal(k) + " にすれば長さが " +
             Decimal(ReducerLength(w1, w2, k, s)) + " になり不要です（または" + typed + "に）。";
    };
  }
  return NonEmpty({DrawnReducerTaperWarning(Number(kLargeWidth), Number(kOffsetP), Number(kOffsetQ),
                                            taper, straights, advice)});
}

}  // namespace tavelin
