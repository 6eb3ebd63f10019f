// "線属性設定": layer and type-colour of each of the thirteen pipe kinds of
// "HaikanName.ini", stored in "HaikanSet.ini".
//
// Control ids (layout LineAttr):
//   2300 + n   name label of line type n (1..11)
//   2500 + r   pipe name label of row r (1..13)
//   2520 + r   layer edit of row r
//   2540 + r   type-colour edit of row r
//   2          "OK", the cancel action
#pragma once

#include "framework/toolkit/dialog.hpp"

namespace tavelin {

class LineAttrDialog : public ui::Dialog {
 public:
  explicit LineAttrDialog(ui::AppContext& app);

  static constexpr int kRows = 13;
  static constexpr int kLineTypeNameBase = 2300;
  static constexpr int kPipeNameBase = 2500;
  static constexpr int kLayerBase = 2520;
  static constexpr int kTypeColourBase = 2540;

 protected:
  void OnInitDialog() override;
  // Enter does what "OK" does: a lost edit is worse than an extra save.
  void OnOK() override { SaveAndClose(); }
  void OnCancel() override { SaveAndClose(); }

 private:
  // Closes after a save that wrote; a refused save leaves every field as typed.
  void SaveAndClose();
  // Checks the type-colour texts, then the layer names; shows the refusal or
  // writes "HaikanSet.ini". True when written.
  bool Save();

  // Set once every file has been read into the fields (see SaveAndClose).
  bool loaded_ = false;
};

}  // namespace tavelin
