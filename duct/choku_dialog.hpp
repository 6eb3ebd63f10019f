// The straight duct dialog "直管作図". It computes no geometry: it keeps the
// pitch, size, overall length and the drawing options in "Choku.ini", hands
// the block builder the single drawing-data line "CK", and names the block
// after the stored values. The block builder draws the duct from them.
#pragma once

#include <string>
#include <vector>

#include "framework/design_rules.hpp"
#include "framework/fitting.hpp"
#include "framework/preview.hpp"
#include "framework/settings_declaration.hpp"
#include "framework/toolkit/dialog.hpp"

namespace tavelin {

class ChokuDialog : public ui::Dialog, public DesignRuleSource, public FittingDialog {
 public:
  explicit ChokuDialog(ui::AppContext& app);

  static constexpr int kPitch = 1011;
  static constexpr int kSize = 1007;
  static constexpr int kSizeList = 1126;
  static constexpr int kBaseLeft = 1122;  // base point at the left end, middle, right end
  static constexpr int kBaseMiddle = 1123;
  static constexpr int kBaseRight = 1124;
  static constexpr int kLeftJoint = 1022;   // "作図有" under the left end joint (tag 2)
  static constexpr int kRightJoint = 1023;  // and under the right end joint (tag 3)
  static constexpr int kDuctLinesOnly = 1127;
  static constexpr int kJointsOnly = 1128;
  static constexpr int kBoth = 1129;
  static constexpr int kFixed45 = 1016;
  static constexpr int kLength = 1009;
  static constexpr int kSpareEdit = 1010;
  static constexpr int kCurrentLayer = 1125;
  static constexpr int kUpdate = 1013;
  static constexpr int kSchematicAnchor = 1006;
  static constexpr int kStatusLine = 1020;

  // The eight values of "Choku.ini", as the controls hold them now.
  std::vector<std::string> Settings();
  // "Choku.ini", line by line.
  static const SettingsDeclaration* Declaration();
  static const std::vector<const SettingsDeclaration*>& Declarations();
  // The typed dimensions the block's description names: "pitch=1820 size=600x300 length=3000".
  std::string TypedDimensions();
  // "ChokuKan" followed by the eight values, without separators.
  std::string BlockName();
  // The aspect ratio of a size typed as "600x150"; shown under the status
  // line whenever the hand-off files are written.
  std::vector<std::string> DesignWarnings() override;
  // The eight lines of "Choku.ini".
  size_t SettingsLineCount(std::string_view fileName) override;
  // The block name becomes a block of a CAD drawing: a value holding a
  // character no CAD program accepts there is refused at OK with a message
  // naming it; "" when every value is fine.
  std::string RefusedNameCharacter();

 protected:
  void OnInitDialog() override;
  void OnPaint(Canvas& canvas) override;
  void OnOK() override;
  // The headless generate writes the hand-off files once, as a click would.
  void OnGenerate() override { WriteHandOff(); }

 private:
  void LoadSettings();
  DeclaredControls SettingsControls();
  // "Choku.ini", then "DrawData.txt" ("CK"), then "DrawName.ini".
  void WriteHandOff();
  void OnSizeChosen();
  void ShowEditing();
  void ShowDesignWarnings();

  std::vector<SchematicLine> schematic_;
  // The attribute files as the dialog read them at opening.
  AttributeTexts attributes_;
};

}  // namespace tavelin
