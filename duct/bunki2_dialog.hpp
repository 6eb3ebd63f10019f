// The branch generator "割込分岐：２方向・双方向・T方向": the type, the main duct
// with its division, the reference branch, the left branch and the top outlet,
// the inner radius factor and the straight run at the arc ends, the base
// point; a live preview, and the block builder on OK.
#pragma once

#include <string>
#include <vector>

#include "duct/bunki2_geometry.hpp"
#include "framework/generator_dialog.hpp"

namespace tavelin {

class Bunki2Dialog : public GeneratorDialog {
 public:
  explicit Bunki2Dialog(ui::AppContext& app);

  // Type radios.
  static constexpr int kTwoWay = 1040;    // "２方向"
  static constexpr int kBothWays = 1041;  // "双方向"
  static constexpr int kTee = 1042;       // "T方向"
  // Edits.
  static constexpr int kLeftUpper = 1002;     // T1
  static constexpr int kBranch = 1003;        // Wb
  static constexpr int kRotation = 1005;      // hidden: the rotation angle
  static constexpr int kMain = 1006;          // Wm
  static constexpr int kMainLeft = 1007;      // Wl
  static constexpr int kMainRight = 1008;     // Wr
  static constexpr int kOutlet = 1009;        // U
  static constexpr int kStored10 = 1010;      // hidden, no role
  static constexpr int kOutletHeight = 1011;  // Ht
  static constexpr int kRatio = 1012;         // division ratio "a-b"
  static constexpr int kRadiusFactor = 1014;  // f
  static constexpr int kLeftLower = 1018;     // T2
  static constexpr int kLeft = 1019;          // T
  static constexpr int kOutletRight = 1020;   // Ur
  static constexpr int kEndRun = 1022;        // A
  static constexpr int kOutletLeft = 1044;    // Ul
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
  static constexpr int kUpdate = 1128;
  static constexpr int kStatusLine = 1024;
  static constexpr int kSchematic = 1004;
  static constexpr int kPreview = 1015;

  static constexpr const char* kSettingsFile = "Bunki2.ini";
  static constexpr size_t kSettingsLines = 19;

  // Which field of a linked pair (T1/T2, Ul/Ur) the other follows: 1 the
  // first, 2 the second, 0 none.
  int FocusMarker() const { return LinkFocus(); }
  BranchType Type();

  // "Bunki2.ini", line by line.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  // The declared lines, with the rotation in use when its edit is empty.
  std::vector<std::string> SettingsLines() override;
  void BuildRecords(RecordList& list) override;
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  double PreviewNumerator() override;
  std::string EmptyDrawingMessage() override;

 private:
  // What the declaration cannot set from the lines read: the rotation and
  // the base point read as a number.
  void ApplyStoredLines(const std::vector<std::string>& lines);
  void EnableForType();
  // The T's left branch: T1 = half the reference branch, T2 = the rest of T.
  void SplitLeftForTee();
  void OnType(BranchType type);
  void OnSet();
  void OnLeftWidth();
  void OnOutletWidth();
  Bunki2Input ReadInput();

  double rotation_ = 0.0;
};

}  // namespace tavelin
