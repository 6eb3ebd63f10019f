// The three-way branch generator "割込分岐：三方向": the main duct with its
// three-part division, the reference branch, the left branch and the top
// outlet, the inner radius factor and the straight run at the arc ends, the
// base point; a live preview, and the block builder on OK.
#pragma once

#include <string>
#include <vector>

#include "duct/bunki3_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class Bunki3Dialog : public GeneratorDialog {
 public:
  explicit Bunki3Dialog(ui::AppContext& app);

  // Edits.
  static constexpr int kLeftUpper = 1002;     // T1
  static constexpr int kBranch = 1003;        // Wb
  static constexpr int kOutlet = 1005;        // U
  static constexpr int kRotation = 1006;      // hidden: the rotation angle
  static constexpr int kMain = 1007;          // Wm
  static constexpr int kMainLeft = 1008;      // Wl
  static constexpr int kMainMiddle = 1009;    // Wc
  static constexpr int kMainRight = 1010;     // Wr
  static constexpr int kOutletHeight = 1011;  // Ht
  static constexpr int kRatio = 1012;         // division ratio "a-b-c"
  static constexpr int kRadiusFactor = 1014;  // f
  static constexpr int kOutletLeft = 1017;    // Ul
  static constexpr int kOutletRight = 1018;   // Ur
  static constexpr int kLeftLower = 1019;     // T2
  static constexpr int kLeft = 1020;          // T
  static constexpr int kEndRun = 1022;        // A
  // Each side pair against its width: typing one side sets the other.
  static constexpr LinkedPair kLeftSides{kLeftUpper, kLeftLower, kLeft};
  static constexpr LinkedPair kOutletSides{kOutletLeft, kOutletRight, kOutlet};
  // Combos.
  static constexpr int kBranchSizes = 1025;
  static constexpr int kLeftSizes = 1035;
  static constexpr int kOutletSizes = 1036;
  static constexpr int kMainSizes = 1037;
  // Radios, check boxes, buttons and statics.
  static constexpr int kBaseCentre = 1038;
  static constexpr int kBaseInnerCorner = 1039;
  static constexpr int kMirror = 1001;        // hidden
  static constexpr int kCurrentLayer = 1021;  // hidden, only stored
  static constexpr int kSet = 1013;
  static constexpr int kUpdate = 1016;
  static constexpr int kStatusLine = 1024;
  static constexpr int kSchematic = 1004;
  static constexpr int kPreview = 1015;

  static constexpr const char* kSettingsFile = "Bunki3.ini";
  static constexpr size_t kSettingsLines = 19;

  // Which field of a linked pair (T1/T2, Ul/Ur) the other follows: 1 the
  // first, 2 the second, 0 none.
  int FocusMarker() const { return LinkFocus(); }

  // "Bunki3.ini", line by line.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  double PreviewNumerator() override;
  std::string EmptyDrawingMessage() override;

 private:
  // What the declaration cannot set from the lines read: the rotation and
  // the base point read as a number.
  void ApplyStoredLines(const std::vector<std::string>& lines);
  // Divides the main duct by the ratio and updates; `ask` shows the message
  // of a ratio that sums to 0 (typing in the width does not).
  void Divide(bool ask);
  void OnSize(int combo, int edit);
  void OnMainWidth();
  void OnHalves(const LinkedPair& sides);
  Bunki3Input ReadInput();

  double rotation_ = 0.0;
};

}  // namespace tavelin
