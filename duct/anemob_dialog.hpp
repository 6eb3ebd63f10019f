// "アネモ+ボックス": a square plenum box with a ceiling anemostat and the duct
// that feeds it. The neck size fills the main dimensions from the size file;
// every confirmed change rebuilds the records, the preview and the hand-off.
#pragma once

#include <string>
#include <vector>

#include "duct/anemob_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class AnemoBDialog : public GeneratorDialog {
 public:
  explicit AnemoBDialog(ui::AppContext& app);

  // Control identifiers.
  static constexpr int kBoxSize = 1005;       // W
  static constexpr int kDuctLength = 1006;    // B
  static constexpr int kPaddleLength = 1016;  // L
  static constexpr int kNeck = 1011;          // D
  static constexpr int kClearance = 1017;     // c = (W - D) / 2
  static constexpr int kFace = 1014;          // A
  static constexpr int kDuctWidth = 1015;     // H
  static constexpr int kLining = 1018;        // T
  static constexpr int kStored = 1010;        // hidden, stored only
  static constexpr int kRotation = 1009;      // hidden
  static constexpr int kSize = 1115;
  static constexpr int kAngles = 1116;  // hidden
  static constexpr int kPaddle = 1118;
  static constexpr int kSquareDuct = 1119;
  static constexpr int kRoundDuct = 1120;
  static constexpr int kBoxRoundDuct = 1117;  // hidden, no geometry
  static constexpr int kSquareFace = 1042;
  static constexpr int kRoundFace = 1043;
  static constexpr int kStepLines = 1022;
  static constexpr int kLined = 1023;
  static constexpr int kMirror = 1020;        // hidden
  static constexpr int kCurrentLayer = 1121;  // hidden
  static constexpr int kUpdate = 1013;
  static constexpr int kPreview = 1007;
  static constexpr int kSchematic = 1004;
  static constexpr int kStatus = 1024;

  static constexpr const char* kSettingsFile = "AnemoB.ini";
  static constexpr const char* kSizeFile = "AnemoSyoki.ini";
  static constexpr const char* kSchematicFile = "AnemoB.tec";
  // Room for the whole hatching of any box (at most 400 hatch records) with
  // the outline, the neck and the anemostat, so none of them is ever dropped.
  static constexpr size_t kRecordCapacity = 500;
  static constexpr size_t kSchematicCapacity = 100;

  // The 17 values of "AnemoB.ini" as the controls hold them now.
  std::vector<std::string> SettingsValues() { return SettingsLines(); }
  // "AnemoB.ini", line by line.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  std::string EditingStatus() override { return "設定後OKクリック"; }
  double PreviewNumerator() override;

 private:
  enum class Linked { kNone, kBoxSize, kNeck, kClearance };

  void LoadSettings();
  void LookUpSize(const std::string& size);
  void OnShapeOrFace();
  void OnBoxOrNeckChanged(Linked which);
  void OnClearanceChanged();
  void RecomputeBoxSize();
  AnemoBValues ReadValues();

  Linked linked_ = Linked::kNone;
};

}  // namespace tavelin
