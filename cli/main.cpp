// tavelin-cli: the program without a display, for automation and tests.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_commands.hpp"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return tavelin::RunCommandLine(argv[0], args, std::cout, std::cerr);
}
