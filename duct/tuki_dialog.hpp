// The butt-joined branch generator "突付け分岐枝管": the joint end, the far
// end, the width, the hopper and the square or round end, the base point; a
// live preview, and the block builder on OK.
#pragma once

#include <string>
#include <vector>

#include "duct/tuki_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class TukiDialog : public GeneratorDialog {
 public:
  explicit TukiDialog(ui::AppContext& app);

  // Edits.
  static constexpr int kStored = 1004;       // hidden, only stored
  static constexpr int kJointEnd = 1005;     // A
  static constexpr int kHopperDepth = 1006;  // B
  static constexpr int kHopperWidth = 1009;  // C
  static constexpr int kWidth = 1010;        // W
  static constexpr int kFarEnd = 1011;       // E
  static constexpr int kAngle = 1014;        // hidden, the angle text
  // Combos.
  static constexpr int kSizes = 1067;
  static constexpr int kAngles = 1065;  // hidden
  // Radios and check boxes.
  static constexpr int kSquare = 1107;    // "角-角"
  static constexpr int kRound = 1108;     // "角-丸"
  static constexpr int kHopper = 1070;    // "有"
  static constexpr int kNoHopper = 1039;  // "無"
  static constexpr int kBaseCentre = 1040;
  static constexpr int kBaseSide = 1066;
  static constexpr int kMirror = 1069;        // hidden
  static constexpr int kCurrentLayer = 1068;  // hidden, only stored
  // Buttons and statics.
  static constexpr int kUpdate = 1013;
  static constexpr int kStatusLine = 1024;
  static constexpr int kSchematic = 1002;
  static constexpr int kPreview = 1007;

  static constexpr const char* kSettingsFile = "Tuki.ini";
  static constexpr size_t kSettingsLines = 12;

  // "Tuki.ini", line by line.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  double PreviewNumerator() override { return 70.0; }
  std::string EmptyDrawingMessage() override;
};

}  // namespace tavelin
