#include "cli/schedule_report.hpp"

#include "cli/catalogue.hpp"

namespace tavelin {

std::string ScheduleHtml(const schedule::Schedule& schedule, const schedule::Drawing& drawing,
                         const std::string& drawingName) {
  const std::vector<std::string>& columns = schedule::ScheduleColumns();
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>継手数量表 " + HtmlEscape(drawingName) + "</title>\n<style>\n"
      "body{font-family:sans-serif;margin:16px;background:#f4f4f4;color:#222}\n"
      "h1{font-size:20px}\ntable{border-collapse:collapse;background:#fff}\n"
      "th,td{border:1px solid #ccc;padding:4px 6px;font-size:12px;vertical-align:middle}\n"
      "th{background:#e8e8e8}\ntd.n{text-align:right}\ntd.pic svg{display:block;background:#1e1e1e}\n"
      "td.src{max-width:220px;color:#555}\n.warn{color:#b00000}\n"
      "</style>\n</head>\n<body>\n<h1>継手数量表 " + HtmlEscape(drawingName) + "（配置 " +
      std::to_string(schedule.placements) + " 個）</h1>\n";
  for (const std::string& warning : schedule.warnings) {
    html += "<p class=\"warn\">" + HtmlEscape(warning) + "</p>\n";
  }
  html += "<table>\n<tr><th>図</th>";
  for (const std::string& column : columns) html += "<th>" + HtmlEscape(column) + "</th>";
  html += "</tr>\n";
  for (const schedule::ScheduleRow& row : schedule.rows) {
    html += "<tr><td class=\"pic\">";
    const schedule::DrawingBlock* block =
        row.blocks.empty() ? nullptr : drawing.Find(row.blocks.front());
    if (block && !block->entities.empty()) html += BlockSvg(block->entities, 120, 90);
    html += "</td>";
    const std::vector<std::string> cells = schedule::ScheduleCells(row);
    for (size_t i = 0; i < cells.size(); ++i) {
      const bool number = i >= 4 && i <= 8;
      html += std::string(number ? "<td class=\"n\">" : i == 9 ? "<td class=\"src\">" : "<td>") +
              HtmlEscape(cells[i]) + "</td>";
    }
    html += "</tr>\n";
  }
  html += "</table>\n</body>\n</html>\n";
  return html;
}

std::string ScheduleText(const schedule::Schedule& schedule) {
  std::string text;
  for (const schedule::ScheduleRow& row : schedule.rows) {
    const std::vector<std::string> cells = schedule::ScheduleCells(row);
    text += cells[0] + "\t" + cells[1] + "\t" + cells[2] + "\t" + cells[3] + "\t" + cells[4];
    if (row.section == schedule::Section::kStraightDuct) {
      text += "\t" + cells[5] + " m\t継手 " + cells[6];
    }
    if (row.thicknessMm) text += "\t板厚 " + cells[7] + " mm";
    if (row.sheetAreaM2) text += "\t板面積 " + cells[8] + " m²";
    text += "\n";
  }
  for (const std::string& warning : schedule.warnings) text += "warning: " + warning + "\n";
  text += "placements: " + std::to_string(schedule.placements) + ", rows: " +
          std::to_string(schedule.rows.size()) + "\n";
  return text;
}

}  // namespace tavelin
