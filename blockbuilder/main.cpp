// tavelin-blockbuilder, installed as ROOT/exes/Forvane: turns the hand-off
// files of ROOT/info into ROOT/blocks/<block name>.dxf. Exit status 0 when a
// block was written, 1 when not (the reason is in ROOT/blocks/builder.log).
#include <cstdio>

#include "blockbuilder/builder.hpp"
#include "framework/info_folder.hpp"

int main() {
  const std::filesystem::path root = tavelin::DefaultRoot();
  const tavelin::blockbuilder::BuildResult result = tavelin::blockbuilder::BuildBlock(root);
  if (!result.written) {
    std::fprintf(stderr, "tavelin-blockbuilder: no block written; see %s\n",
                 (root / "blocks" / "builder.log").c_str());
    return 1;
  }
  return 0;
}
