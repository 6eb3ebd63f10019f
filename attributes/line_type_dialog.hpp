// "線種登録": the names of line types 1 to 9 in "SenSyu.ini". "保存" stores
// them (lines 10 and 11 are kept as they are); "OK", Esc and the close box
// close without saving, as the dialog's note tells the user.
//
// Control ids (layout LineType):
//   2600 + n   name edit of line type n (1..9)
//   2610       "保存"
//   1          "OK", the accept action
#pragma once

#include "framework/toolkit/dialog.hpp"

namespace tavelin {

class LineTypeDialog : public ui::Dialog {
 public:
  explicit LineTypeDialog(ui::AppContext& app);

  static constexpr int kNames = 9;
  static constexpr int kNameBase = 2600;
  static constexpr int kSave = 2610;

  static constexpr const char* kBlankMessage = "空白は登録できません。";
  static constexpr const char* kSavedMessage = "保存しました。";
  static constexpr const char* kSavedCaption = "確認";

 protected:
  void OnInitDialog() override;

 private:
  void OnSave();
};

}  // namespace tavelin
