// The S-bend generator "S字管": the width, the sideways offset, the inner
// radius, the two stubs and the overall length with its shortest value, the
// base point and mirror; a live preview, and the block builder on OK.
#pragma once

#include <string>
#include <vector>

#include "duct/smagari_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class SmagariDialog : public GeneratorDialog {
 public:
  explicit SmagariDialog(ui::AppContext& app);

  // Edits.
  static constexpr int kWidth = 1002;      // W
  static constexpr int kOffset = 1003;     // S
  static constexpr int kRadius = 1004;     // R
  static constexpr int kAngle = 1005;      // hidden, the angle text
  static constexpr int kUpperStub = 1009;  // Lt
  static constexpr int kLength = 1010;     // A
  static constexpr int kStored = 1011;     // hidden, only stored
  static constexpr int kLowerStub = 1014;  // Lb
  // Combos.
  static constexpr int kSizes = 1093;
  static constexpr int kAngles = 1094;  // hidden
  // Radios and check boxes.
  static constexpr int kBaseLeft = 1092;
  static constexpr int kBaseCentre = 1039;
  static constexpr int kBaseRight = 1040;
  static constexpr int kMirror = 1090;
  static constexpr int kCurrentLayer = 1091;  // only stored
  // Buttons and statics.
  static constexpr int kShortest = 1016;
  static constexpr int kUpdate = 1013;
  static constexpr int kStatusLine = 1024;
  static constexpr int kSchematic = 1006;
  static constexpr int kPreview = 1007;

  static constexpr const char* kSettingsFile = "Smagari.ini";
  static constexpr size_t kSettingsLines = 11;

  // "Smagari.ini", line by line.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  double PreviewNumerator() override { return 65.0; }
  std::string EmptyDrawingMessage() override;

 private:
  // Writes the shortest overall length into A; false (A unchanged) when no
  // S-bend with touching bends exists.
  bool SetShortestLength();
  void OnShortest();
};

}  // namespace tavelin
