// The short duct and reducer generator "短管・片落管": a square large end and
// a square or round small end, each with a straight stretch, joined by a
// taper; the small end may sit off the centre line. The length follows the
// size step through the size-change coefficient, or is typed with the
// coefficient 0.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "duct/oti_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class OtiDialog : public GeneratorDialog {
 public:
  explicit OtiDialog(ui::AppContext& app);

  // Edits.
  static constexpr int kLargeWidth = 1010;  // W1
  static constexpr int kSmallWidth = 1011;  // W2 (the diameter of a round end)
  static constexpr int kOffsetP = 1006;     // small end's negative-x side
  static constexpr int kOffsetQ = 1014;     // small end's positive-x side
  // P + Q = W2: typing one sets the other.
  static constexpr LinkedPair kOffsets{kOffsetP, kOffsetQ, kSmallWidth};
  static constexpr int kStored15 = 1015;     // hidden, only stored
  static constexpr int kStraight = 1016;     // S
  static constexpr int kStoredAngle = 1017;  // hidden, receives the hidden angle list
  static constexpr int kLength = 1018;       // L
  static constexpr int kCoefficient = 1019;  // k
  // Combos.
  static constexpr int kLargeSizes = 1036;
  static constexpr int kSmallSizes = 1105;
  static constexpr int kStoredAngles = 1106;  // hidden
  static constexpr int kCoefficients = 1037;
  // Radios and check boxes.
  static constexpr int kSquareToSquare = 1107;
  static constexpr int kSquareToRound = 1108;
  static constexpr int kBaseLargeCentre = 1103;
  static constexpr int kBaseLargeCorner = 1104;
  static constexpr int kBaseSmallCentre = 1101;
  static constexpr int kBaseSmallCorner = 1102;
  static constexpr int kMirror = 1020;        // hidden
  static constexpr int kCurrentLayer = 1109;  // hidden, only stored
  // Buttons and statics.
  static constexpr int kUpdate = 1013;
  static constexpr int kStatusLine = 1024;
  static constexpr int kSchematic = 1009;
  static constexpr int kPreview = 1007;

  static constexpr const char* kSettingsFile = "Oti.ini";
  static constexpr int kSettingsLines = 13;

  // Which offset edit the user entered last: 0 none, 1 P, 2 Q.
  int FocusMode() const { return LinkFocus(); }

  // The thirteen lines of "Oti.ini".
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  double PreviewNumerator() override { return 70.0; }
  std::string EmptyDrawingMessage() override;
  // The taper against the standard's limits: the taper runs between the two
  // straight stretches S.
  std::vector<std::string> DesignWarnings() override;

 private:
  void FillCombos();
  // A round end is always centred: its offsets P and Q, as texts.
  std::pair<std::string, std::string> CentredOffsets();
  void OnSmallWidthChange();
};

}  // namespace tavelin
