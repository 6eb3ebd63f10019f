// "tavelin-cli batch": a list of fittings in a CSV file becomes a folder of
// blocks. Each row names a generator by its settings-file stem and values for
// its settings lines (the columns its declaration names, cli/batch_columns.hpp);
// the generator opens headless on them as in "generate",
// OK's own checks apply, and the block builder runs in-process into the
// output folder. A catalogue page with one picture per block goes beside them.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/csv.hpp"

namespace tavelin {

struct BatchOptions {
  std::filesystem::path root;
  std::filesystem::path csv;
  std::filesystem::path out;  // empty: ROOT/blocks
  // Where each row's settings start: the installed default data (a folder
  // holding info/), so that the same list always gives the same blocks; with
  // fromStored, what the dialogs of the root last stored. The attribute sets,
  // layers and memos are always the root's.
  std::filesystem::path defaults;
  bool fromStored = false;
  bool json = false;
  // Progress: a bar when standard error is a terminal, else plain lines.
  bool terminal = false;
};

// Runs the batch; the summary goes to `out` (JSON with options.json), the
// progress to `err`. Returns 0 when every row wrote its block, 3 when any
// row was refused, 2 when the CSV cannot be used at all.
int RunBatch(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tavelin
