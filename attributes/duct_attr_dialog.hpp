// "角ダクト属性設定": the six attribute settings of the square-duct lines
// (layer and type-colour per line kind), their memos and the common duct
// values, edited all at once and stored in "DakutoSubSet.ini", "Memo.ini" and
// "KyotuSet.ini".
//
// Control ids (layout DuctAttr):
//   2000 + 10 * k + s   layer edit of setting s (1..6), line kind k (0..6)
//   2100 + 10 * k + s   type-colour edit of the same cell
//   2200 + s            memo edit of setting s
//   2300 + n            name label of line type n (1..11)
//   2401, 2402, 2404    angle width, flange-joint projection width, hatching
//                       width ("KyotuSet.ini" lines 1, 2, 4)
//   2403                the third common value (line 3), a hidden edit
//   2                   "OK", the cancel action
// Line kinds: 0 duct body, 1 angle-width line, 2 flange joint line, 3 hidden
// line, 4 fixture line, 5 hatching line, 6 centre line.
#pragma once

#include "framework/toolkit/dialog.hpp"

namespace tavelin {

class DuctAttrDialog : public ui::Dialog {
 public:
  explicit DuctAttrDialog(ui::AppContext& app);

  static constexpr int kSettings = 6;
  static constexpr int kLineKinds = 7;
  static constexpr int kLayerBase = 2000;
  static constexpr int kTypeColourBase = 2100;
  static constexpr int kMemoBase = 2200;
  static constexpr int kLineTypeNameBase = 2300;
  static constexpr int kAngleWidth = 2401;
  static constexpr int kFlangeWidth = 2402;
  static constexpr int kThirdValue = 2403;
  static constexpr int kHatchingWidth = 2404;

  static constexpr int LayerId(int setting, int kind) { return kLayerBase + 10 * kind + setting; }
  static constexpr int TypeColourId(int setting, int kind) {
    return kTypeColourBase + 10 * kind + setting;
  }

  static constexpr double kMinHatchingWidth = 30.0;
  static constexpr const char* kHatchingMessage = "ハッチング幅は30以上にしてください。";

 protected:
  void OnInitDialog() override;
  // Enter does what "OK" does: a lost edit is worse than an extra save.
  void OnOK() override { SaveAndClose(); }
  void OnCancel() override { SaveAndClose(); }

 private:
  // Closes after a save that wrote; a refused save leaves every field as typed.
  void SaveAndClose();
  // Runs the checks in their order (hatching width, type-colour numbers, a
  // comma in a type-colour text, layer names); shows the first refusal, or
  // writes the three files. True when written.
  bool Save();

  // Set once every file has been read into the fields; until then the fields
  // do not hold the stored settings and must not be written back.
  bool loaded_ = false;
};

}  // namespace tavelin
