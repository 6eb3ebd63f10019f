// The raised duct generator "振り上げダクト作図": a square duct raised between
// two bends, drawn in plan, either from the bend angle or from the overall
// length (the angle is then searched); flanges and hidden lines of the bends
// on request, six base points at the ends.
#pragma once

#include <string>
#include <vector>

#include "duct/furiage_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class FuriageDialog : public GeneratorDialog {
 public:
  explicit FuriageDialog(ui::AppContext& app);

  // Edits.
  static constexpr int kWidth = 1154;       // W
  static constexpr int kHeight = 1155;      // H
  static constexpr int kRaise = 1159;       // F
  static constexpr int kLowerStart = 1156;  // R1
  static constexpr int kUpperStart = 1158;  // R2
  static constexpr int kMargin = 1157;      // T
  static constexpr int kAngle = 1166;       // A
  static constexpr int kLength = 1167;      // LL
  // Combos.
  static constexpr int kWidths = 1012;
  static constexpr int kHeights = 1130;
  static constexpr int kAngles = 1008;
  // Radios and check boxes.
  static constexpr int kAngleGiven = 1000;
  static constexpr int kLengthGiven = 1001;
  static constexpr int kHalfRadius = 1149;
  static constexpr int kFullRadius = 1150;
  static constexpr int kUpperFlange = 1151;
  static constexpr int kLowerFlange = 1152;
  static constexpr int kHiddenLines = 1153;
  static constexpr int kBase1 = 1160;       // to 1165, on the schematic
  static constexpr int kStoredBase1 = 1170; // to 1173, hidden, only stored
  static constexpr int kPlan = 1168;        // hidden, only stored
  static constexpr int kSide = 1169;
  // Buttons and statics.
  static constexpr int kUpdate = 1013;
  static constexpr int kOkButton = 1005;
  static constexpr int kStatusLine = 1020;
  static constexpr int kSchematic = 1004;
  static constexpr int kPreview = 1007;

  static constexpr const char* kSettingsFile = "Furiage.ini";
  static constexpr const char* kSchematicFile = "Furiage.tec";
  static constexpr int kSettingsLines = 15;

  const FuriageResult& LastBuild() const { return lastBuild_; }
  // "Furiage.ini", line by line.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  void DrawPreviewIn(Canvas& canvas, const PixelRect& client) override;
  std::string EmptyDrawingMessage() override;

 private:
  void FillCombos();
  FuriageInput ReadInput();

  FuriageResult lastBuild_;
};

}  // namespace tavelin
