// The commands of tavelin-cli: init, generate and run.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tavelin {

// Runs the command line `args` (without the program name); returns the exit
// status. `program` is the path the program was started as.
int RunCommandLine(const std::string& program, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err);

}  // namespace tavelin
