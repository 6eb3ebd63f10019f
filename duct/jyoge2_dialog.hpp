// The run of up/down elbows "エルボ上下：連続": the single up/down elbow's
// controls, plus the number of elbows, the pitch between their section
// centres and whether they all turn the same way or up and down in turn.
#pragma once

#include <string>
#include <vector>

#include "duct/jyoge2_geometry.hpp"
#include "duct/jyoge_dialog.hpp"

namespace tavelin {

class Jyoge2Dialog : public JyogeDialog {
 public:
  explicit Jyoge2Dialog(ui::AppContext& app);

  static constexpr int kCount = 1090;
  static constexpr int kPitch = 1091;
  static constexpr int kSameWay = 1092;    // "同方向"
  static constexpr int kAlternate = 1093;  // "交互"

  static constexpr const char* kSettingsFile = "Jyoge2.ini";
  static constexpr int kSettingsLines = 19;

  // "Jyoge2.ini", line by line: the sixteen lines of the single elbow, then
  // the count, the pitch and the order.
  const SettingsDeclaration* Declaration() override;
  static const std::vector<const SettingsDeclaration*>& Declarations();

 protected:
  void LoadControls() override;
  // The declared file, empty while the values are refused: nothing is
  // written then, and the hand-off files keep the last run that was valid.
  std::string SettingsFile() override;
  // The declared lines (not the single elbow's).
  std::vector<std::string> SettingsLines() override;
  void BuildRecords(RecordList& list) override;
  // "ERL_" for elbows all turning the same way, "ERS_" for alternating ones.
  std::string MakeBlockName(const std::vector<std::string>& settings, int random) override;
  // The count must be a whole number from 1 to 20, no size may be absurdly
  // large and the pitch must leave room for each elbow.
  bool CheckInput() override;
  // Every change is checked as "表示更新" is: a refused one says why and
  // writes nothing.
  void OnConfirmedChange() override { OnUpdateButton(); }
  // The row runs to the right of the first elbow: its section sits near the
  // preview's left side.
  void DrawPreviewIn(Canvas& canvas, const PixelRect& client) override;
  std::string EmptyDrawingMessage() override;

 private:
  ElbowRunInput ReadRun();
  // Why the controls make no run; empty when they make one.
  // Why the values make no run (empty when they do); `field` gets the
  // field at fault.
  std::string Refusal(int* field = nullptr);

  bool opening_ = false;  // the opening's update is still to come
};

}  // namespace tavelin
