// The main dialog: one button per fitting dialog, the pipe buttons, and the
// six attribute switches that choose the active attribute set.
#pragma once

#include <string>
#include <vector>

#include "framework/toolkit/dialog.hpp"

namespace tavelin {

class MainDialog : public ui::Dialog {
 public:
  explicit MainDialog(ui::AppContext& app);

  static constexpr int kFirstSwitch = 1386;
  static constexpr int kByLayer = 1392;
  static constexpr int kStatusLine = 1330;
  // Added below the classic controls: opens the block browser.
  static constexpr int kBlockBrowser = 1030;

  // Resolves set n (1 to 6; 0: the set of "Sentaku.ini") into "DakutoSet.ini".
  void SwitchAttributes(int n);
  // Status line and ByLayer from "Memo.ini", "Sentaku.ini" and "ByLayer.ini".
  void Refresh();

 protected:
  void OnInitDialog() override;

 private:
  // Writes `code` to "Command.ini" (when not negative), then runs `className` modally.
  void OpenDialog(int code, const char* className);
  void OnByLayer();
  void ShowStatus(const std::vector<std::string>& memos, int n);
};

}  // namespace tavelin
