// The elbow generator "エルボ：一般両エルボ": inlet and outlet widths, the
// inner radius, straight lengths and the elbow angle, with sharp or rounded
// corners, the base point, mirror and a quarter turn; a live preview, and
// the block builder on OK.
#pragma once

#include <string>
#include <vector>

#include "duct/erbo_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class ErboDialog : public GeneratorDialog {
 public:
  explicit ErboDialog(ui::AppContext& app);

  // Edits.
  static constexpr int kInletWidth = 1003;    // W1
  static constexpr int kRadius = 1005;        // R
  static constexpr int kOutletWidth = 1006;   // W2
  static constexpr int kRadius2 = 1007;       // R', kept equal to R
  static constexpr int kOutletLength = 1008;  // L1
  static constexpr int kStored9 = 1009;       // hidden, only stored
  static constexpr int kStoredAngle = 1010;   // hidden, receives the hidden angle list
  static constexpr int kAngle = 1011;         // A
  static constexpr int kInletLength = 1012;   // L2
  // Combos.
  static constexpr int kInletSizes = 1025;
  static constexpr int kOutletSizes = 1026;
  static constexpr int kStoredAngles = 1027;  // hidden
  static constexpr int kAngles = 1028;
  // Radios and check boxes.
  static constexpr int kBaseOuter = 1055;
  static constexpr int kBaseCentre = 1056;
  static constexpr int kBaseInner = 1057;
  static constexpr int kHalfRadius = 1041;  // "0.5R"
  static constexpr int kFullRadius = 1042;  // "1.0R"
  static constexpr int kMirror = 1054;
  static constexpr int kTurn = 1023;
  static constexpr int kOuterSharp = 1016;
  static constexpr int kInnerSharp = 1017;
  static constexpr int kCurrentLayer = 1022;  // hidden, only stored
  // Buttons and statics.
  static constexpr int kUpdate = 1013;
  static constexpr int kNormal90 = 1128;
  static constexpr int kStatusLine = 1020;
  static constexpr int kSchematic = 1004;
  static constexpr int kPreview = 1015;

  static constexpr const char* kSettingsFile = "Erbo.ini";
  static constexpr int kSettingsLines = 15;

  const ElbowResult& LastBuild() const { return lastBuild_; }
  // Which of R (1) or R' (2) is followed by the other while typing; 0 for none.
  int FocusMarker() const { return focusMarker_; }
  // The inner radius against the inlet width (a sharp inner corner has none),
  // and the aspect ratio of a width typed as "600x150".
  std::vector<std::string> DesignWarnings() override;
  // "Erbo.ini", line by line.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  // The outlet may not be wider than the inlet.
  bool CheckInput() override;
  double PreviewNumerator() override { return previewNumerator_; }
  std::string EmptyDrawingMessage() override;

 private:
  void FillCombos();
  ElbowInput ReadInput();
  // W1 times the factor of the checked radius radio, as an integer text, into R and R'.
  void SetStandardRadius(double factor);
  double RadiusFactor();

  void OnInletSize();
  void OnRadiusRadio(double factor);
  void OnNormal90();
  void OnRadiusChange();
  void OnRadius2Change();

  ElbowResult lastBuild_;
  double previewNumerator_ = 65.0;
  int focusMarker_ = 0;
};

}  // namespace tavelin
