// "ダンパー作図": a straight piece of square duct with a damper on it. Five
// damper types share the dialog; each keeps its own settings file, so
// switching the type brings back the values last used for it.
#pragma once

#include <string>
#include <vector>

#include "duct/danpa_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class DanpaDialog : public GeneratorDialog {
 public:
  explicit DanpaDialog(ui::AppContext& app);

  // Control identifiers.
  static constexpr int kTypeVd = 1198;  // 1198 to 1202: VD, MD, CD, FD, FD+
  static constexpr int kL1 = 1208;
  static constexpr int kL2 = 1209;
  static constexpr int kL3 = 1212;
  static constexpr int kW = 1210;
  static constexpr int kA = 1211;
  static constexpr int kS = 1213;
  static constexpr int kD = 1154;
  static constexpr int kSizes = 1008;
  static constexpr int kBaseRadios[6] = {1203, 1204, 1205, 1206, 1207, 1214};
  static constexpr int kHatch = 1001;
  static constexpr int kUpdate = 1013;
  static constexpr int kOkButton = 1005;
  static constexpr int kStatus = 1020;
  static constexpr int kSchematic = 1004;
  static constexpr int kPreview = 1007;
  static constexpr int kLabelL2 = 1216;
  static constexpr int kLabelL3 = 1217;
  static constexpr int kLabelW = 1218;
  static constexpr int kLabelS = 1221;

  static constexpr size_t kRecordCapacity = 500;
  static constexpr size_t kSchematicCapacity = 400;

  // The settings file of type 1 to 5 ("Danpa_VD.ini" ...); empty for others.
  static std::string TypeFile(int type);
  // The declared settings file of type 1 to 5; null for others.
  static const SettingsDeclaration* TypeDeclaration(int type);
  // The block-name prefix of type 1 to 5.
  static std::string TypePrefix(int type);

  // The type whose schematic is shown (0: none).
  int SelectedType() const { return type_; }
  // The lines of the checked type's settings file as the controls hold them.
  std::vector<std::string> TypeFileValues(int type);

  // The aspect ratio of a duct size typed as "600x150".
  std::vector<std::string> DesignWarnings() override;
  // The type files' line counts, and "Danpa.ini"'s one line.
  size_t SettingsLineCount(std::string_view fileName) override;
  // The checked type's own settings file; none without a type.
  const SettingsDeclaration* Declaration() override;
  // The five type files and "Danpa.ini", the type choice.
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  std::vector<std::string> SettingsLines() override { return TypeFileValues(CheckedType()); }
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  bool ReadyForBlock() override;
  // The type choice "Danpa.ini", written after the hand-off, so that a failed
  // hand-off never leaves the type changed.
  std::vector<SettingsFileLines> OtherSettings() override;
  void DrawPreviewIn(Canvas& canvas, const PixelRect& client) override;
  void DrawSchematicIn(Canvas& anchor, const PixelRect& anchorClient) override;

 private:
  void RestoreType();
  void SwitchType(int type);
  void ApplyTypeFile(int type);
  void ArrangeLabels(int type);
  int CheckedType();
  int CheckedBase();
  DanpaValues ReadValues(int type);

  int type_ = 0;
};

}  // namespace tavelin
