// The duct up-down generator "ダクトアップダウン": a square duct stepping up or
// down by a small rise in an S-shaped offset and back, with a middle part of
// its own width and sideways offset; the run of each offset follows from the
// heights and the rise.
#pragma once

#include <string>
#include <vector>

#include "duct/updown_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class UpdownDialog : public GeneratorDialog {
 public:
  explicit UpdownDialog(ui::AppContext& app);

  // Edits: the plan, then the side.
  static constexpr int kEndWidth = 1176;      // W1
  static constexpr int kMiddleWidth = 1181;   // W2
  static constexpr int kOffset = 1188;        // OF
  static constexpr int kEndHeight = 1173;     // H1
  static constexpr int kMiddleHeight = 1175;  // H2
  static constexpr int kRise = 1172;          // V
  static constexpr int kStraight1 = 1170;     // S1
  static constexpr int kStraight2 = 1171;     // S2
  static constexpr int kMiddle = 1182;        // M
  // Statics showing the computed run and total length.
  static constexpr int kRunText = 1183;
  static constexpr int kTotalText = 1187;
  // Combos.
  static constexpr int kMiddleWidths = 1184;
  static constexpr int kEndWidths = 1185;
  static constexpr int kEndHeights = 1186;
  static constexpr int kMiddleHeights = 1189;
  // Radios and the check box.
  static constexpr int kLower = 1177;  // "下側"
  static constexpr int kUpper = 1178;  // "上側"
  static constexpr int kBoth = 1180;   // "両側"
  static constexpr int kOne = 1179;    // "片側"
  static constexpr int kMidFlange = 1001;
  static constexpr int kBase1 = 1160;  // to 1163, on the schematic
  // Buttons and statics.
  static constexpr int kUpdate = 1013;
  static constexpr int kOkButton = 1005;
  static constexpr int kStatusLine = 1020;
  static constexpr int kSchematic = 1004;
  static constexpr int kPreview = 1007;

  static constexpr const char* kSettingsFile = "Updown.ini";
  static constexpr const char* kSchematicFile = "Updown.tec";
  static constexpr int kSettingsLines = 13;

  static constexpr const char* kNegativeOffset = "オフセット値にマイナスは入力できません。";
  static constexpr const char* kRiseTooLarge =
      "振り寸法Vがダクト高さH1・H2に対して大きすぎるため、作図できません。\n"
      "Vを小さくするか高さを見直してください。";
  static constexpr const char* kRiseTooSmall =
      "振り寸法Vがダクト高さH1・H2の差に対して小さすぎるため、作図できません。\n"
      "Vを大きくするか高さを見直してください。";

  const UpdownResult& LastBuild() const { return lastBuild_; }
  // "Updown.ini", line by line.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  // Empty while the values are refused: nothing is written then, and the
  // hand-off files keep the last fitting.
  std::string SettingsFile() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  // A negative offset, a rise the heights cannot take, values out of range.
  bool CheckInput() override;
  void DrawPreviewIn(Canvas& canvas, const PixelRect& client) override;

 private:
  void FillCombos();
  // The values of the controls; equal widths count as no offset.
  UpdownInput ReadInput();
  // Why the values make no fitting; empty when they make one.
  std::string Refusal();
  void OnWidthChoice(int combo, int edit);
  // Equal widths put the middle part in line with the end ducts: edit 1188
  // shows "0" from the next confirmed change; the drawing uses 0 at once.
  void ApplyEqualWidths();

  bool opening_ = false;  // the opening's update is still to come

  UpdownResult lastBuild_;
};

}  // namespace tavelin
