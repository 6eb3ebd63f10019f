// The single up/down elbow generator "エルボ上下：単独": the plan of a duct
// ending in an elbow that turns up or down, with the section of the vertical
// part, its flange outline and a section symbol. The run of up/down elbows
// (Jyoge2Dialog) is built on the same controls.
#pragma once

#include <string>
#include <vector>

#include "duct/jyoge_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class JyogeDialog : public GeneratorDialog {
 public:
  explicit JyogeDialog(ui::AppContext& app);

  // Edits.
  static constexpr int kSectionX = 1016;  // X
  static constexpr int kSectionY = 1017;  // Y
  static constexpr int kLength = 1018;    // L, worked out at every update
  static constexpr int kStored19 = 1019;  // hidden, only stored
  static constexpr int kWidth = 1023;     // W
  static constexpr int kHeight = 1021;    // H
  static constexpr int kOffsetP = 1026;   // duct's negative-y side
  static constexpr int kOffsetQ = 1012;   // duct's positive-y side
  // P + Q = W: typing one sets the other, a new width halves them.
  static constexpr LinkedPair kOffsets{kOffsetP, kOffsetQ, kWidth};
  static constexpr int kAngle = 1027;     // hidden, the rotation
  static constexpr int kStraight = 1028;  // E
  // Combos.
  static constexpr int kXSizes = 1035;
  static constexpr int kYSizes = 1036;
  static constexpr int kWidthSizes = 1037;   // W and Y
  static constexpr int kHeightSizes = 1040;  // H and X
  static constexpr int kAngles = 1025;       // hidden
  // Radios and check boxes.
  static constexpr int kUp = 1076;
  static constexpr int kDown = 1077;
  static constexpr int kSymbolCross = 1078;
  static constexpr int kSymbolDiagonal = 1079;
  static constexpr int kSymbolHalf = 1080;
  static constexpr int kHalfRadius = 1082;  // "0.5R"
  static constexpr int kFullRadius = 1083;  // "1R"
  static constexpr int kBaseCentre = 1071;
  static constexpr int kBaseUpperLeft = 1072;
  static constexpr int kBaseUpperRight = 1075;
  static constexpr int kBaseLowerLeft = 1073;
  static constexpr int kBaseLowerRight = 1074;
  static constexpr int kMirror = 1020;        // hidden
  static constexpr int kCurrentLayer = 1081;  // hidden, only stored
  // Buttons and statics.
  static constexpr int kUpdate = 1013;
  static constexpr int kStatusLine = 1024;
  static constexpr int kSchematic = 1014;
  static constexpr int kPreview = 1015;

  static constexpr const char* kSettingsFile = "Jyoge.ini";
  static constexpr int kSettingsLines = 16;

  // Which offset edit the user entered last: 0 none, 1 P, 2 Q.
  int FocusMode() const { return LinkFocus(); }
  // "Jyoge.ini", line by line.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();
  // The sixteen lines of the single elbow, which a dialog built on the same
  // controls stores first in its own file.
  static const SettingsDeclaration& ElbowSettings();

 protected:
  // For a dialog built on the same controls, with its own layout and schematic.
  JyogeDialog(ui::AppContext& app, const GeneratorSetup& setup);
  // The message map of the shared controls.
  std::vector<ui::MessageEntry> ElbowMessages();

  void LoadControls() override;
  // The sixteen lines of the single elbow (ElbowSettings()), also for a
  // dialog built on the same controls that declares a longer file.
  std::vector<std::string> SettingsLines() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  void DrawPreviewIn(Canvas& canvas, const PixelRect& client) override;
  std::string EmptyDrawingMessage() override;

  // A confirmed change (a radio, a check box, a list choice): rebuilds with
  // write-out; a dialog that validates every change checks first.
  virtual void OnConfirmedChange() { Rebuild(true); }

  // Fills the lists and applies the first sixteen lines of `lines` as
  // ElbowSettings() declares them.
  void LoadElbowControls(const std::vector<std::string>& lines);
  // Works L out into its edit and reads the elbow from the controls.
  UpDownElbowInput ReadElbow();

 private:
  void OnSelection(int combo, std::initializer_list<int> edits);
};

}  // namespace tavelin
