#include "cli/csv.hpp"

namespace tavelin {

bool ValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 9;
    if (extra == 9 || (extra > 0 && c < 0xC2)) return false;
    for (size_t k = 1; k <= extra; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
        return false;
    }
    i += extra + 1;
  }
  return true;
}

bool ParseCsv(std::string_view text, std::vector<std::vector<std::string>>& rows,
              std::string& error) {
  rows.clear();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<std::string> row;
  std::string field;
  bool quoted = false, any = false;
  size_t i = 0;
  auto endRow = [&] {
    row.push_back(std::move(field));
    field.clear();
    rows.push_back(std::move(row));
    row.clear();
    any = false;
  };
  while (i < text.size()) {
    const char c = text[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          field += '"';
          i += 2;
          continue;
        }
        quoted = false;
      } else {
        field += c;
      }
      ++i;
      continue;
    }
    if (c == '"' && field.empty()) {
      quoted = true;
      any = true;
    } else if (c == ',') {
      row.push_back(std::move(field));
      field.clear();
      any = true;
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      // CR LF: the LF ends the row.
    } else if (c == '\n') {
      endRow();
    } else {
      field += c;
      any = true;
    }
    ++i;
  }
  if (quoted) {
    error = "引用符 \" が閉じていません";
    return false;
  }
  if (any || !field.empty() || !row.empty()) endRow();
  return true;
}

}  // namespace tavelin
