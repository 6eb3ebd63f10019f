// "内貼り付ボックス": a rectangular box lined inside, with its width, depth
// and lining thickness, four base points, and hatching over the box.
#pragma once

#include <string>
#include <vector>

#include "duct/ubox_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class UboxDialog : public GeneratorDialog {
 public:
  explicit UboxDialog(ui::AppContext& app);

  static constexpr int kWidth = 1004;   // X
  static constexpr int kLining = 1005;  // T
  static constexpr int kDepth = 1006;   // Y
  static constexpr int kAngle = 1008;   // hidden
  static constexpr int kWidthSizes = 1095;
  static constexpr int kDepthSizes = 1025;
  static constexpr int kBaseCentre = 1096;
  static constexpr int kBaseLowerSide = 1097;
  static constexpr int kBaseCorner = 1098;
  static constexpr int kBaseLeftSide = 1099;
  static constexpr int kMirror = 1020;        // hidden
  static constexpr int kCurrentLayer = 1100;  // hidden, only stored
  static constexpr int kUpdate = 1013;
  static constexpr int kStatusLine = 1024;
  static constexpr int kSchematic = 1009;
  static constexpr int kPreview = 1007;

  static constexpr const char* kSettingsFile = "Ubox.ini";
  // "Ubox.ini", line by line.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  double PreviewNumerator() override { return List().rotation != 0.0 ? 60.0 : 70.0; }
  // Each line with the pen of element tag + 1, dotted or chain by its style.
  Pen SchematicPen(const SchematicLine& line) override;

 private:
  void OnWidthChange();
};

}  // namespace tavelin
