// The batch's report: each row's outcome, the progress while rows run, and
// the summary at the end, as text or as one JSON object.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/batch.hpp"
#include "cli/catalogue.hpp"

namespace tavelin {

struct RowResult {
  int row = 0;  // as a spreadsheet numbers it: the header is row 1
  std::string stem;
  bool written = false;
  std::string blockName;
  std::string reason;
  std::vector<std::string> warnings;
  CatalogueEntry entry;
};

// One row done: a bar on a terminal, else one line a row.
void Progress(const BatchOptions& options, std::ostream& err, size_t done, size_t total,
              const RowResult& row);

// The summary of every row: the counts, each refused row with its reason and
// each warning; with options.json one JSON object. `catalogueError` is empty
// when the catalogue page was written.
void WriteSummary(const BatchOptions& options, std::ostream& out,
                  const std::vector<RowResult>& results, size_t written, size_t refused,
                  double seconds, const std::filesystem::path& blocks,
                  const std::string& catalogueError);

}  // namespace tavelin
