// The block builder's inputs: the first line of the input is "DrawName.ini",
// the rest "DrawData.txt"; every record is parsed on its own, then the block
// is built from them in an installed root and must stay inside its folder.
#include <filesystem>
#include <set>

#include "blockbuilder/builder.hpp"
#include "framework/draw_records.hpp"
#include "fuzz/fuzz_root.hpp"

using namespace tavelin;
using namespace tavelin::blockbuilder;
namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::InputText(data, size);
  const size_t end = text.find('\n');
  const std::string_view name = end == std::string_view::npos ? text : text.substr(0, end);
  const std::string_view records =
      end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

  BuildLog log;
  (void)RefusedBlockName(name);
  int lineNumber = 0;
  for (const std::string& line : fuzz::InputLines(data, size)) {
    (void)ParseRecord(line, ++lineNumber, log);
  }

  fuzz::FuzzRoot& root = fuzz::FuzzRoot::Get();
  root.Restore();
  root.Put("DrawName.ini", name);
  root.Put("DrawData.txt", records);
  BuildLog buildLog;
  const BuildResult result = BuildBlock(root.Root(), root.Root(), buildLog);
  if (result.written) {
    // The block lies directly in ROOT/blocks, never anywhere else.
    const fs::path blocks = fs::weakly_canonical(root.Root() / "blocks");
    if (fs::weakly_canonical(result.file).parent_path() != blocks) std::abort();
  }
  // Nothing new appears in the root beside its folders.
  static std::set<fs::path> installed;
  std::set<fs::path> now;
  for (const auto& entry : fs::directory_iterator(root.Root())) now.insert(entry.path());
  if (installed.empty()) installed = now;
  if (now != installed) std::abort();
  return 0;
}
