// A writer for the killed-writer test: hands off the two versions found in
// ROOT/versions/ in turn, as a generator's confirmed change does (one group
// queued to the writer thread), and writes a byte into the pipe FD once each
// group is on the disk. Runs until killed.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "framework/background_flush.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"

namespace {

std::vector<std::string> Version(const std::filesystem::path& root, int v, const char* name) {
  return tavelin::ReadTextLines(root / "versions" / (std::to_string(v) + "_" + name), 100000);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: threaded_writer ROOT FD\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const int done = std::atoi(argv[2]);
  try {
    const tavelin::InfoFolder info(root);
    for (int round = 1;; ++round) {
      const int v = round % 2;
      tavelin::WriteHandOff(info, Version(root, v, "DrawData.txt"), "Erbo.ini",
                            Version(root, v, "Erbo.ini"), Version(root, v, "DrawName.ini").at(0),
                            {{"Sentaku.ini", Version(root, v, "Sentaku.ini")}});
      tavelin::FinishQueuedWrites();
      if (::write(done, "w", 1) != 1) return 4;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "threaded_writer: %s\n", error.what());
    return 3;
  }
}
