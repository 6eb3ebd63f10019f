// The elbow generator "エルボ：一般両エルボ": inlet and outlet widths, the
// inner radius, straight lengths and the elbow angle, with sharp or rounded
// corners, the base point, mirror and a quarter turn; a live preview, and
// the block builder on OK.
#pragma once

#include <string>
#include <vector>

#include "duct/erbo_geometry.hpp"
#include "framework/preview.hpp"
#include "framework/record_list.hpp"
#include "framework/toolkit/dialog.hpp"

namespace tavelin {

class ErboDialog : public ui::Dialog {
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
  static constexpr const char* kSchematicFile = "Erbo.tec";
  static constexpr int kSettingsLines = 15;
  static constexpr double kSchematicScale = 7.0;
  static constexpr double kSchematicOriginX = 110.0;
  static constexpr double kSchematicOriginY = 100.0;

  // The records of the last build.
  const RecordList& Records() const { return list_; }
  const RecordList* PreviewRecords() const override { return &list_; }
  const ElbowResult& LastBuild() const { return lastBuild_; }
  // Which of R (1) or R' (2) is followed by the other while typing; 0 for none.
  int FocusMarker() const { return focusMarker_; }
  // The fifteen lines of "Erbo.ini" for the controls as they stand.
  std::vector<std::string> Settings();

 protected:
  void OnInitDialog() override;
  void OnPaint(Canvas& canvas) override;
  void OnOK() override;

 private:
  void ApplySettings(const std::vector<std::string>& lines);
  void FillCombos();
  // Builds the records from the controls; with `write` also writes the
  // settings, the hand-off files and a fresh block name.
  void Update(bool write);
  ElbowInput ReadInput();
  // W1 times the factor of the checked radius radio, as an integer text, into R and R'.
  void SetStandardRadius(double factor);
  double RadiusFactor();
  void ShowEditing();

  void OnInletSize();
  void OnOutletSize();
  void OnStoredAngle();
  void OnAngleChoice();
  void OnRadiusRadio(double factor);
  void OnNormal90();
  void OnUpdateButton();
  void OnRadiusChange();
  void OnRadius2Change();

  RecordList list_;
  CommonValues common_;
  std::vector<SchematicLine> schematic_;
  ElbowResult lastBuild_;
  double previewNumerator_ = 65.0;
  // The hand-off files written last hold a drawing (not an empty list).
  bool handedOff_ = false;
  int focusMarker_ = 0;
  // Set once the dialog has read everything it needs; until then nothing is
  // written, so an unreadable file never leads to lost settings.
  bool ready_ = false;
};

}  // namespace tavelin
