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

// Whether `text` is well-formed UTF-8 (a spreadsheet may save in CP932).
bool ValidUtf8(std::string_view text);

}  // namespace tavelin
