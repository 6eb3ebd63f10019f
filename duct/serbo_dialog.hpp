// "消音付エルボ": a 90-degree square-duct elbow wrapped in a silencer box,
// with its width, box length, stub length and wall thickness, four corner
// shapes of the box, three base points and optional hatching.
#pragma once

#include <string>
#include <vector>

#include "duct/serbo_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class SErboDialog : public GeneratorDialog {
 public:
  explicit SErboDialog(ui::AppContext& app);

  static constexpr int kWidth = 1005;       // W
  static constexpr int kBoxLength = 1003;   // B
  static constexpr int kStubLength = 1010;  // C
  static constexpr int kWall = 1014;        // T
  static constexpr int kAngle = 1009;       // hidden
  static constexpr int kStored = 1011;      // hidden, only stored
  static constexpr int kSizes = 1064;
  static constexpr int kAngles = 1063;  // hidden
  static constexpr int kSquare = 1058;  // corner shapes, shown as pictures
  static constexpr int kRounded = 1059;
  static constexpr int kChamfered = 1060;
  static constexpr int kHalfChamfer = 1061;
  static constexpr int kBaseOuter = 1041;
  static constexpr int kBaseCentre = 1042;
  static constexpr int kBaseInner = 1043;
  static constexpr int kHatch = 1022;
  static constexpr int kMirror = 1020;        // hidden
  static constexpr int kCurrentLayer = 1062;  // hidden, only stored
  static constexpr int kUpdate = 1013;
  static constexpr int kStatusLine = 1024;
  static constexpr int kSchematic = 1004;
  static constexpr int kPreview = 1007;

  static constexpr const char* kSettingsFile = "S_Erbo.ini";

  // The eleven lines of "S_Erbo.ini".
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  double PreviewNumerator() override { return List().rotation != 0.0 ? 50.0 : 70.0; }
  // The schematic, and each corner shape above its radio.
  void DrawSchematicIn(Canvas& anchor, const PixelRect& anchorClient) override;

 private:
  void OnAngleChange();
};

}  // namespace tavelin
