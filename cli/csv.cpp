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

CsvReader::CsvReader(std::string_view text) : text_(text) {
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
}

bool CsvReader::Next(std::vector<std::string>& row, size_t maxFields) {
  row.clear();
  dropped_.clear();
  if (!error_.empty()) return false;
  std::string field;
  bool quoted = false, any = false, fieldStarted = false;
  // A field beyond `maxFields` is read but not kept.
  auto add = [&](char c) {
    // A field read past keeps only enough to be named.
    if (row.size() < maxFields || field.size() < 64) field += c;
    fieldStarted = true;
  };
  auto endField = [&] {
    if (row.size() >= maxFields && dropped_.empty()) dropped_ = field;
    if (row.size() < maxFields) row.push_back(std::move(field));
    field.clear();
    fieldStarted = false;
  };
  while (at_ < text_.size()) {
    const char c = text_[at_];
    if (quoted) {
      if (c == '"') {
        if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
          add('"');
          at_ += 2;
          continue;
        }
        quoted = false;
      } else {
        add(c);
      }
      ++at_;
      continue;
    }
    ++at_;
    if (c == '"' && !fieldStarted) {
      quoted = true;
      any = true;
    } else if (c == ',') {
      endField();
      any = true;
    } else if (c == '\r' && at_ < text_.size() && text_[at_] == '\n') {
      // CR LF: the LF ends the row.
    } else if (c == '\n') {
      endField();
      return true;
    } else {
      add(c);
      any = true;
    }
  }
  if (quoted) {
    error_ = "引用符 \" が閉じていません";
    row.clear();
    return false;
  }
  if (!any && !fieldStarted && row.empty()) return false;
  endField();
  return true;
}

bool ParseCsv(std::string_view text, std::vector<std::vector<std::string>>& rows,
              std::string& error) {
  rows.clear();
  CsvReader reader(text);
  std::vector<std::string> row;
  while (reader.Next(row)) rows.push_back(row);
  error = reader.Error();
  return error.empty();
}

}  // namespace tavelin
