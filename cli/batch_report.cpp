#include "cli/batch_report.hpp"

#include <cstdio>
#include <ostream>

#include "framework/text.hpp"

namespace tavelin {

void Progress(const BatchOptions& options, std::ostream& err, size_t done, size_t total,
              const RowResult& row) {
  if (options.terminal) {
    constexpr int kWidth = 30;
    const int filled = total ? static_cast<int>(done * kWidth / total) : kWidth;
    err << "\r[" << std::string(static_cast<size_t>(filled), '#')
        << std::string(static_cast<size_t>(kWidth - filled), '.') << "] " << done << "/" << total;
    if (done == total) err << "\n";
    err.flush();
    return;
  }
  err << done << "/" << total << " 行 " << row.row << " " << row.stem << ": "
      << (row.written ? "作成 " + row.blockName : "拒否") << "\n";
}

void WriteSummary(const BatchOptions& options, std::ostream& out,
                  const std::vector<RowResult>& results, size_t written, size_t refused,
                  double seconds, const std::filesystem::path& blocks,
                  const std::string& catalogueError) {
  char secondsText[32];
  std::snprintf(secondsText, sizeof secondsText, "%.2f", seconds);

  if (options.json) {
    out << "{\"rows\":" << results.size() << ",\"written\":" << written
        << ",\"refused\":" << refused << ",\"seconds\":" << secondsText
        << ",\"out\":" << JsonString(blocks.string()) << ",\"catalogue\":"
        << (catalogueError.empty() ? JsonString((blocks / "index.html").string()) : "null")
        << ",\"results\":[";
    for (size_t i = 0; i < results.size(); ++i) {
      const RowResult& row = results[i];
      out << (i ? "," : "") << "\n{\"row\":" << row.row << ",\"stem\":" << JsonString(row.stem)
          << ",\"status\":" << (row.written ? "\"written\"" : "\"refused\"");
      if (row.written) {
        out << ",\"block\":" << JsonString(row.blockName)
            << ",\"file\":" << JsonString((blocks / (row.blockName + ".dxf")).string());
      } else {
        out << ",\"reason\":" << JsonString(row.reason);
      }
      out << ",\"warnings\":[";
      for (size_t w = 0; w < row.warnings.size(); ++w)
        out << (w ? "," : "") << JsonString(row.warnings[w]);
      out << "]}";
    }
    out << "\n]}\n";
  } else {
    out << "rows: " << results.size() << ", written: " << written << ", refused: " << refused
        << " (" << secondsText << " s) into " << blocks.string() << "\n";
    for (const RowResult& row : results) {
      if (!row.written)
        out << "refused: row " << row.row << " " << row.stem << ": " << row.reason << "\n";
    }
    for (const RowResult& row : results) {
      for (const std::string& warning : row.warnings) {
        out << "warning: row " << row.row << " " << row.stem
            << (row.blockName.empty() ? "" : " " + row.blockName) << ": " << warning << "\n";
      }
    }
    if (catalogueError.empty()) out << "catalogue: " << (blocks / "index.html").string() << "\n";
  }
}
}  // namespace tavelin
