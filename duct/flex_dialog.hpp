// "フレキダクト作図": a round flexible duct, plain metal or insulated, laid
// as an L-shaped bend or an S-shaped offset, with optional bellows lines.
// The length and leg checks speak in message boxes when the dialog opens and
// when the user confirms a change; a repaint runs the same checks silently,
// so the repaint after a message box never raises it again.
#pragma once

#include <string>
#include <vector>

#include "duct/flex_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class FlexDialog : public GeneratorDialog {
 public:
  explicit FlexDialog(ui::AppContext& app);

  static constexpr int kMetal = 1136;
  static constexpr int kInsulated = 1137;
  static constexpr int kLShape = 1138;
  static constexpr int kSShape = 1139;
  static constexpr int kDiameter = 1008;      // D, combo with an edit field
  static constexpr int kLength = 1012;        // L, combo with an edit field
  static constexpr int kRadiusFactor = 1130;  // Rf, combo with an edit field
  static constexpr int kAngle = 1146;         // ANG
  static constexpr int kFirstLeg = 1147;      // A
  static constexpr int kOffset = 1142;        // Sv
  static constexpr int kBellows = 1140;
  static constexpr int kMetalPitch = 1141;      // P1
  static constexpr int kInsulatedPitch = 1150;  // P2
  static constexpr int kBaseCentre = 1148;
  static constexpr int kBaseSide = 1149;
  static constexpr int kDiameterShown = 1145;
  static constexpr int kUpdate = 1013;
  static constexpr int kOkButton = 1005;
  static constexpr int kStatusLine = 1020;
  static constexpr int kSchematic = 1004;
  static constexpr int kPreview = 1007;

  static constexpr const char* kSettingsFile = "Flex.ini";

  // What the last build came to.
  FlexOutcome LastOutcome() const { return lastOutcome_; }
  // "Flex.ini", line by line.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  // Empty while the checks before drawing stop the update: nothing is written then.
  std::string SettingsFile() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  // OK's checks: every stop says why.
  bool CheckInput() override;
  std::string EmptyDrawingMessage() override;
  // "確認" for the messages "表示更新" shows under that caption too.
  std::string EmptyDrawingCaption() override;
  int EmptyDrawingField() override { return RefusedField(lastOutcome_); }
  void DrawPreviewIn(Canvas& canvas, const PixelRect& client) override;

 private:
  FlexInput ReadInput();
  // A confirmed change: the checks with their messages, then the rebuild.
  void Update();
  // The message of a geometry check that failed, if any.
  void ShowOutcome(FlexOutcome outcome);
  // A length or leg refusal with the limit the other values set.
  std::string LimitMessage(FlexOutcome outcome);
  // The field a refusal names; 0 for none.
  int RefusedField(FlexOutcome outcome);

  FlexOutcome lastOutcome_ = FlexOutcome::kNothing;
};

}  // namespace tavelin
