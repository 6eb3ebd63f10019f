// The pipe part attributes: layer, line type and colour of the solid part,
// the hidden part and the centre line for each of the 22 part categories,
// edited one category at a time and kept in "TugiteSet.ini".
#pragma once

#include <array>
#include <string>
#include <vector>

#include "framework/toolkit/dialog.hpp"

namespace tavelin {

class PipeAttrDialog : public ui::Dialog {
 public:
  explicit PipeAttrDialog(ui::AppContext& app);

  static constexpr int kCategoryList = 1200;
  static constexpr int kHeading = 1201;
  // Layer and type-colour edits of the solid part, hidden part and centre line.
  static constexpr int kSolidLayer = 1210;
  static constexpr int kSolidTypeColour = 1211;
  static constexpr int kHiddenLayer = 1212;
  static constexpr int kHiddenTypeColour = 1213;
  static constexpr int kCentreLayer = 1214;
  static constexpr int kCentreTypeColour = 1215;
  static constexpr int kFirstLineTypeName = 1221;  // 1221 to 1231: names 1 to 11

  static constexpr int kCategories = 22;

  // Categories whose fields are shown but cannot be edited.
  static bool IsLocked(int category);

  // The message for three type-colour texts, by precedence over all three
  // (empty when they pass).
  static std::string TypeColourMessage(const std::array<std::string, 3>& typeColours);
  // True when a layer name holds "-", "." or ",".
  static bool LayerRefused(const std::string& layer);

  int ShownCategory() const { return shown_; }
  const std::vector<std::string>& StoredLines() const { return lines_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

 private:
  enum class Check { kPass, kTypeColour, kLayer };

  void Show(int category);
  // Validates the fields of the category shown, reporting the first failure.
  Check Validate();
  void StoreShown();
  void OnCategoryPicked();
  void SaveAndClose(int result);

  std::vector<std::string> lines_;
  std::vector<std::string> names_;
  int shown_ = 0;
  bool loaded_ = false;  // every file was read when the dialog opened
};

}  // namespace tavelin
