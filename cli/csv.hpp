// Reading a CSV list: its rows and fields, and whether its bytes are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavelin {

// The rows of a CSV text (RFC 4180: fields in double quotes may hold ",",
// line ends and "" for a quote; LF or CR LF; a UTF-8 byte-order mark is
// skipped). False with `error` set for a quote left open.
bool ParseCsv(std::string_view text, std::vector<std::vector<std::string>>& rows,
              std::string& error);

// The same rows one at a time, so that a long list never lives in memory
// as a whole.
class CsvReader {
 public:
  explicit CsvReader(std::string_view text);
  // The next row, of at most `maxFields` fields (the further fields of the
  // row are read past, not kept). False at the end, or for a quote left open
  // (Error() says so).
  bool Next(std::vector<std::string>& row, size_t maxFields = static_cast<size_t>(-1));
  const std::string& Error() const { return error_; }
  // The first field of the last row that was read past and not kept, when it
  // held any text (a cell past the columns the caller wanted).
  const std::string& DroppedField() const { return dropped_; }

 private:
  std::string_view text_;
  size_t at_ = 0;
  std::string error_;
  std::string dropped_;
};

// Whether `text` is well-formed UTF-8 (a spreadsheet may save in CP932).
bool ValidUtf8(std::string_view text);

}  // namespace tavelin
