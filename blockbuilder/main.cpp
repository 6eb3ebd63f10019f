// tavelin-blockbuilder, installed as ROOT/exes/Forvane: turns the hand-off
// files into ROOT/blocks/<block name>.dxf.
//
//   Forvane                 reads the hand-off files of ROOT/info
//   Forvane --job JOBROOT   reads JOBROOT/info, the snapshot a dialog took at
//                           OK, and removes that job folder afterwards
//
// Exit status 0 when a block was written (its path on standard output), 1
// when not: the reasons go to standard error and to ROOT/blocks/builder.log.
// A name held by another fitting's block gives kExitNameTaken and keeps the
// job folder, for its dialog to start again under the next name.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "blockbuilder/builder.hpp"
#include "framework/build_job.hpp"
#include "framework/info_folder.hpp"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  // The dialog that started us may be gone; its pipe then must not kill us.
  std::signal(SIGPIPE, SIG_IGN);
  const fs::path root = tavelin::DefaultRoot();
  fs::path input = root;
  bool job = false;
  if (argc == 3 && std::strcmp(argv[1], "--job") == 0) {
    input = argv[2];
    job = true;
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: %s [--job JOBROOT]\n", argv[0]);
    return 2;
  }
  const tavelin::blockbuilder::BuildResult result = tavelin::blockbuilder::BuildBlock(root, input);
  // A job folder is ours once we are started on it; anything else is left alone.
  if (job && !result.nameTaken && tavelin::IsJobFolderOf(root, input)) {
    std::error_code ignored;
    fs::remove_all(input, ignored);
  }
  if (!result.written) {
    // The line that stopped the build comes last in the log; it goes first
    // here, as the reason the dialog shows, then the notes before it.
    if (result.logLines.empty()) {
      std::fprintf(stderr, "ブロックは作成しませんでした\n");
    } else {
      std::fprintf(stderr, "%s\n", result.logLines.back().c_str());
      for (size_t i = 0; i + 1 < result.logLines.size(); ++i) {
        std::fprintf(stderr, "%s\n", result.logLines[i].c_str());
      }
    }
  }
  if (!result.logged) {
    std::fprintf(stderr, "%s を書けません\n", (root / "blocks" / "builder.log").c_str());
  }
  if (result.nameTaken) return tavelin::kExitNameTaken;
  if (!result.written) return 1;
  std::printf("%s\n", result.file.c_str());
  return 0;
}
