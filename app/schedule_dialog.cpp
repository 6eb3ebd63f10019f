#include "app/schedule_dialog.hpp"

#include "app/dialog_registry.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace fs = std::filesystem;
namespace {

std::string Joined(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) {
    std::string cell = cells[i];
    // A cell keeps to its column.
    for (char& c : cell) {
      if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    line += (i ? "\t" : "") + cell;
  }
  return line;
}

}  // namespace

ScheduleDialog::ScheduleDialog(ui::AppContext& app) : Dialog(app, "Schedule") {
  using ui::EventKind;
  SetMessageMap({
      {EventKind::kClick, kChoose, [this] { Choose(); }},
      {EventKind::kClick, kRead, [this] { Read(); }},
      {EventKind::kClick, kSave, [this] { Save(); }},
  });
}

void ScheduleDialog::OnInitDialog() {
  Item(kTable).SetText(Joined(schedule::ScheduleColumns()));
  Show();
  SetItemText(kStatus, "図面（DXF）を選んでください");
}

void ScheduleDialog::Choose() {
  if (!App().ui) return;
  const std::string typed = ItemText(kDrawing);
  const std::optional<fs::path> chosen = App().ui->ChooseFile(
      this, "図面を開く", "DXF 図面 (*.dxf *.DXF);;すべてのファイル (*)", false,
      typed.empty() ? Info().Root() : fs::path(typed));
  if (!chosen) return;
  SetItemText(kDrawing, chosen->string());
  Read();
}

void ScheduleDialog::Read() {
  const std::string file = ItemText(kDrawing);
  if (file.empty()) {
    MessageBox("図面のファイルを選んでください。", "確認");
    return;
  }
  schedule_ = {};
  read_ = false;
  const schedule::Drawing drawing = schedule::ReadDrawing(file);
  if (!drawing.ok) {
    Show();
    SetItemText(kStatus, "読めませんでした");
    MessageBox(drawing.error + "\n" + file, "確認");
    return;
  }
  const schedule::ScheduleSources sources{
      schedule::BlockFolderLookup(Info().Root() / "blocks"),
      [](std::string_view name) { return DeclarationOfFile(name); }};
  schedule_ = schedule::BuildSchedule(drawing, sources);
  read_ = true;
  Show();
}

void ScheduleDialog::Show() {
  ui::Control& table = Item(kTable);
  table.ResetContent();
  for (const schedule::ScheduleRow& row : schedule_.rows) {
    table.AddString(Joined(schedule::ScheduleCells(row)));
  }
  EnableItem(kSave, read_);
  if (read_) {
    long long fittings = 0, others = 0;
    for (const schedule::ScheduleRow& row : schedule_.rows) {
      (row.section == schedule::Section::kOther ? others : fittings) += row.count;
    }
    std::string status = std::to_string(schedule_.rows.size()) + " 行（Tavelin の部材 " +
                         std::to_string(fittings) + " 個、その他のブロック " +
                         std::to_string(others) + " 個）";
    if (!schedule_.warnings.empty()) status += "　注意: " + schedule_.warnings.front();
    SetItemText(kStatus, status);
  }
  Invalidate();
}

void ScheduleDialog::Save() {
  if (!read_ || !App().ui) return;
  fs::path suggested(ItemText(kDrawing));
  suggested.replace_extension(".csv");
  const std::optional<fs::path> chosen = App().ui->ChooseFile(
      this, "数量表を CSV で保存", "CSV (*.csv)", true, suggested);
  if (!chosen) return;
  fs::path target = *chosen;
  if (target.extension().empty()) target += ".csv";
  try {
    WriteFileAtomically(target, schedule::ScheduleCsv(schedule_));
  } catch (const FileError& error) {
    MessageBox(std::string("保存できませんでした。\n") + error.what(), "Error");
    return;
  }
  SetItemText(kStatus, "保存しました: " + target.string());
}

}  // namespace tavelin
