// "アネモ+ユニネック": a ceiling anemostat fed through a round neck unit,
// with a straight stub of duct leaving its body. The neck size fills the
// main dimensions from the anemostat size file.
#pragma once

#include <string>
#include <vector>

#include "duct/anemou_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class AnemoUDialog : public GeneratorDialog {
 public:
  explicit AnemoUDialog(ui::AppContext& app);

  static constexpr int kBody = 1002;        // P
  static constexpr int kStubLength = 1003;  // B
  static constexpr int kStored = 1005;      // hidden, only stored
  static constexpr int kNeck = 1006;        // D
  static constexpr int kRotation = 1009;    // hidden
  static constexpr int kFace = 1010;        // A
  static constexpr int kStubWidth = 1011;   // H
  static constexpr int kSize = 1110;
  static constexpr int kAngles = 1111;  // hidden
  static constexpr int kRoundFace = 1112;
  static constexpr int kSquareFace = 1113;
  static constexpr int kMirror = 1020;        // hidden
  static constexpr int kCurrentLayer = 1114;  // hidden, only stored
  static constexpr int kUpdate = 1013;
  static constexpr int kPreview = 1007;
  static constexpr int kSchematic = 1004;
  static constexpr int kStatusLine = 1024;

  static constexpr const char* kSettingsFile = "AnemoU.ini";
  static constexpr const char* kSizeFile = "AnemoSyoki.ini";

  // The eleven lines of "AnemoU.ini".
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  double PreviewNumerator() override { return List().rotation != 0.0 ? 50.0 : 60.0; }

 private:
  void LookUpSize(const std::string& size);
  void OnFace();
};

}  // namespace tavelin
