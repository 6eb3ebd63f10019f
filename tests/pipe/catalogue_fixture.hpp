// A small part catalogue written into a test root: the category names and
// attributes, a few size tables, sheet and name lines, sheets and part files.
#pragma once

#include <string>
#include <vector>

#include "tests/support/test_root.hpp"

namespace tavelin::testing {

// Writes the category names, TugiteSet.ini (category c: layers "S<c>",
// "H<c>", "C<c>" with line types 1, 2, 5 and colours 7, 8, 1), the size
// tables, SheetName.ini, BuzaiName.ini, waku.tec and TS_Sheet1.tec.
void WriteCatalogue(TestApp& app);

// Writes ROOT/<folder>/<name> as CP932 with CR LF line ends.
void WritePartFile(TestApp& app, const std::string& folder, const std::string& name,
                   const std::vector<std::string>& lines);

// One line of a sheet: the 5 x 4 grid edges in sheet units, written with six
// decimals as a catalogue would.
std::vector<std::string> GridSheet();

}  // namespace tavelin::testing
