// "角形制気口+ボックス作図": a square air register in a plenum box: the
// register's size, the box margin around it, an optional lining with
// hatching, the register's symbol and two base points.
#pragma once

#include <string>
#include <vector>

#include "duct/kakubox_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class KakuboxDialog : public GeneratorDialog {
 public:
  explicit KakuboxDialog(ui::AppContext& app);

  static constexpr int kRegisterWidth = 1182;  // Wr
  static constexpr int kRegisterDepth = 1191;  // Dr
  static constexpr int kWidthSizes = 1190;
  static constexpr int kDepthSizes = 1193;
  static constexpr int kMargin = 1192;    // A, combo with an edit field
  static constexpr int kLining = 1194;    // T, combo with an edit field
  static constexpr int kBoxWidth = 1196;  // X, shown
  static constexpr int kBoxDepth = 1195;  // Y, shown
  static constexpr int kLined = 1001;
  static constexpr int kCross = 1185;  // register types, shown as pictures
  static constexpr int kDiagonal = 1186;
  static constexpr int kHalfDiagonal = 1187;
  static constexpr int kBaseCentre = 1188;
  static constexpr int kBaseCorner = 1189;
  static constexpr int kUpdate = 1013;
  static constexpr int kOkButton = 1005;
  static constexpr int kStatusLine = 1020;
  static constexpr int kSchematic = 1004;
  static constexpr int kPreview = 1007;

  // Read as "Kakubox.ini", written as "KakuBox.ini": one file.
  static constexpr const char* kSettingsFile = "KakuBox.ini";
  // "KakuBox.ini", line by line.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  // The box stays in place while the base point moves.
  void DrawPreviewIn(Canvas& canvas, const PixelRect& client) override;
  // The schematic, and the symbol of each register type beside its radio.
  void DrawSchematicIn(Canvas& anchor, const PixelRect& anchorClient) override;
};

}  // namespace tavelin
