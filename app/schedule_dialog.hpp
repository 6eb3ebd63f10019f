// "継手数量表": the fittings of a drawing counted (schedule/schedule.hpp) and
// shown as a table, one row per kind, dimensions and attribute set, with the
// straight ducts' lengths and sheets; the table can be saved as CSV. Blocks
// that lost their data in another CAD program are found by name in the
// root's block folder.
#pragma once

#include <filesystem>

#include "framework/toolkit/dialog.hpp"
#include "schedule/schedule.hpp"

namespace tavelin {

class ScheduleDialog : public ui::Dialog {
 public:
  explicit ScheduleDialog(ui::AppContext& app);

  static constexpr int kDrawing = 3101;
  static constexpr int kChoose = 3102;
  static constexpr int kRead = 3103;
  static constexpr int kTable = 3104;
  static constexpr int kSave = 3105;
  static constexpr int kStatus = 3106;

  const schedule::Schedule& Current() const { return schedule_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override { Read(); }

 private:
  void Choose();
  void Read();
  void Save();
  void Show();

  schedule::Schedule schedule_;
  bool read_ = false;
};

}  // namespace tavelin
