#include "duct/oti_dialog.hpp"

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

// Lines 1 to 9 of "Oti.ini", in file order.
constexpr int kEdits[] = {OtiDialog::kLargeWidth,  OtiDialog::kSmallWidth, OtiDialog::kOffsetP,
                          OtiDialog::kOffsetQ,     OtiDialog::kStored15,   OtiDialog::kStraight,
                          OtiDialog::kStoredAngle, OtiDialog::kLength,     OtiDialog::kCoefficient};

}  // namespace

OtiDialog::OtiDialog(ui::AppContext& app) : GeneratorDialog(app, kSetup) {
  using ui::EventKind;
  auto update = [this] { Rebuild(true); };
  auto editing = [this] { ShowEditing(); };
  SetMessageMap({
      {EventKind::kClick, kUpdate, [this] { OnUpdateButton(); }},
      {EventKind::kClick, kSquareToSquare, update},
      {EventKind::kClick, kSquareToRound, update},
      {EventKind::kClick, kBaseLargeCentre, update},
      {EventKind::kClick, kBaseLargeCorner, update},
      {EventKind::kClick, kBaseSmallCentre, update},
      {EventKind::kClick, kBaseSmallCorner, update},
      {EventKind::kSelChange, kSmallSizes, [this] { OnSelection(kSmallSizes, kSmallWidth); }},
      {EventKind::kSelChange, kStoredAngles, [this] { OnSelection(kStoredAngles, kStoredAngle); }},
      {EventKind::kSelChange, kLargeSizes, [this] { OnSelection(kLargeSizes, kLargeWidth); }},
      {EventKind::kSelChange, kCoefficients, [this] { OnSelection(kCoefficients, kCoefficient); }},
      {EventKind::kSetFocus, kOffsetP, [this] { focusMode_ = 1; }},
      {EventKind::kSetFocus, kOffsetQ, [this] { focusMode_ = 2; }},
      {EventKind::kEditChange, kSmallWidth, [this] { OnSmallWidthChange(); }},
      {EventKind::kEditChange, kOffsetP, [this] { OnOffsetPChange(); }},
      {EventKind::kEditChange, kOffsetQ, [this] { OnOffsetQChange(); }},
      {EventKind::kEditChange, kLargeWidth, editing},
      {EventKind::kEditChange, kStored15, editing},
      {EventKind::kEditChange, kStraight, editing},
      {EventKind::kEditChange, kLength, editing},
      {EventKind::kEditChange, kCoefficient, editing},
  });
}

void OtiDialog::LoadControls() {
  focusMode_ = 0;
  // Without a settings file (or past its end) the controls keep what they show.
  if (Info().Exists(kSettingsFile)) ApplySettings(Info().ReadToEnd(kSettingsFile, kSettingsLines));
  FillCombos();
}

void OtiDialog::ApplySettings(const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i < std::size(kEdits) && i < n; ++i) SetItemText(kEdits[i], lines[i]);
  if (n > 9) ApplyRadioText(lines[9], {kSquareToSquare, kSquareToRound});
  if (n > 10) {
    ApplyRadioText(lines[10],
                   {kBaseLargeCentre, kBaseLargeCorner, kBaseSmallCentre, kBaseSmallCorner});
  }
  if (n > 11) ApplyCheckText(lines[11], kMirror);
  if (n > 12) ApplyCheckText(lines[12], kCurrentLayer);
}

void OtiDialog::FillCombos() {
  FillListsFrom("KiokuSize.ini", {kSmallSizes, kLargeSizes});
  Item(kStoredAngles).ResetContent();
  for (const char* angle : kAngleChoices) Item(kStoredAngles).AddString(angle);
  Item(kCoefficients).ResetContent();
  for (const char* k : kCoefficientChoices) Item(kCoefficients).AddString(k);
}

std::vector<std::string> OtiDialog::SettingsLines() {
  std::vector<std::string> lines;
  for (int id : kEdits) lines.push_back(ItemText(id));
  lines.push_back(RadioText({kSquareToSquare, kSquareToRound}));
  lines.push_back(
      RadioText({kBaseLargeCentre, kBaseLargeCorner, kBaseSmallCentre, kBaseSmallCorner}));
  lines.push_back(CheckText(kMirror));
  lines.push_back(CheckText(kCurrentLayer));
  return lines;
}

void OtiDialog::Put(int id, const std::string& text) {
  if (ItemText(id) != text) SetItemText(id, text);
}

void OtiDialog::CentreSmallEnd() {
  const double w2 = ToDouble(ItemText(kSmallWidth));
  const std::string half = IntegerText(w2 * 0.5);
  if (focusMode_ != 2) {
    Put(kOffsetP, half);
    Put(kOffsetQ, half);
    return;
  }
  // After Q was entered last, P follows Q at every update, also when Q's text
  // did not change and so sent no change: an odd W2 gives P one more than Q.
  Put(kOffsetQ, half);
  Put(kOffsetP, IntegerText(w2 - ToDouble(ItemText(kOffsetQ))));
}

void OtiDialog::BuildRecords(RecordList& list) {
  ReducerInput in;
  switch (CheckedOf({kSquareToSquare, kSquareToRound})) {
    case kSquareToSquare:
      in.shape = ReducerShape::kSquare;
      break;
    case kSquareToRound:
      in.shape = ReducerShape::kRound;
      // A round end is always centred.
      CentreSmallEnd();
      break;
    default:
      in.shape = ReducerShape::kNone;
      break;
  }
  in.w1 = ToDouble(ItemText(kLargeWidth));
  in.w2 = ToDouble(ItemText(kSmallWidth));
  in.p = ToDouble(ItemText(kOffsetP));
  in.q = ToDouble(ItemText(kOffsetQ));
  in.s = ToDouble(ItemText(kStraight));
  const double k = ToDouble(ItemText(kCoefficient));
  if (in.shape != ReducerShape::kNone && k != 0.0) {
    // The length shown is the one drawn: it goes through the edit as integer text.
    Put(kLength, IntegerText(ReducerLength(in.w1, in.w2, k, in.s)));
  }
  in.l = ToDouble(ItemText(kLength));
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

void OtiDialog::OnSelection(int combo, int edit) {
  if (CopySelection(combo, edit)) Rebuild(true);
}

void OtiDialog::OnSmallWidthChange() {
  const std::string half = IntegerText(ToDouble(ItemText(kSmallWidth)) * 0.5);
  SetItemText(kOffsetP, half);
  SetItemText(kOffsetQ, half);
  ShowEditing();
}

void OtiDialog::OnOffsetPChange() {
  if (focusMode_ != 1) return;
  SetItemText(kOffsetQ,
              IntegerText(ToDouble(ItemText(kSmallWidth)) - ToDouble(ItemText(kOffsetP))));
  ShowEditing();
}

void OtiDialog::OnOffsetQChange() {
  if (focusMode_ != 2) return;
  SetItemText(kOffsetP,
              IntegerText(ToDouble(ItemText(kSmallWidth)) - ToDouble(ItemText(kOffsetQ))));
  ShowEditing();
}

std::vector<std::string> OtiDialog::DesignWarnings() {
  const double straights = 2.0 * ToDouble(ItemText(kStraight));
  const double taper = ToDouble(ItemText(kLength)) - straights;
  return NonEmpty({DrawnReducerTaperWarning(ToDouble(ItemText(kLargeWidth)),
                                            ToDouble(ItemText(kOffsetP)),
                                            ToDouble(ItemText(kOffsetQ)), taper, straights)});
}

}  // namespace tavelin
