// "tavelin-cli batch": a list of fittings in a CSV file becomes a folder of
// blocks. Each row names a generator by its settings-file stem and values for
// its settings lines; the generator opens headless on them as in "generate",
// OK's own checks apply, and the block builder runs in-process into the
// output folder. A catalogue page with one picture per block goes beside them.
#pragma once

#include <filesystem>
#include <iosfwd>
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

 private:
  std::string_view text_;
  size_t at_ = 0;
  std::string error_;
};

// A settings line a batch column may name.
struct SettingsLineName {
  std::string_view name;     // the column header, matched without regard to case
  int line;                  // 1-based line of the settings file
  std::string_view meaning;  // for the documentation
  bool dimension = true;     // shown with the block in the catalogue
};

// The named lines of a generator's settings file ("Erbo" -> W1, R, ...);
// `variant` picks the damper type file ("VD" ... "FD+"). Empty for a
// generator without names: its columns are line numbers only.
const std::vector<SettingsLineName>& SettingsLineNames(std::string_view stem,
                                                       std::string_view variant = {});

struct BatchOptions {
  std::filesystem::path root;
  std::filesystem::path csv;
  std::filesystem::path out;  // empty: ROOT/blocks
  bool json = false;
  // Progress: a bar when standard error is a terminal, else plain lines.
  bool terminal = false;
};

// Runs the batch; the summary goes to `out` (JSON with options.json), the
// progress to `err`. Returns 0 when every row wrote its block, 3 when any
// row was refused, 2 when the CSV cannot be used at all.
int RunBatch(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tavelin
