// What the harnesses share: the input read as the info folder reads a file,
// and an installation root with the default data and the part catalogue on a
// memory file system, put back as installed before every input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "framework/toolkit/app_context.hpp"

namespace tavelin::fuzz {

// The input written to a file and read back through ReadTextLines: the size
// bound, the line ends and the code page conversion all apply. A refused
// input (too large) gives no lines.
std::vector<std::string> InputLines(const uint8_t* data, size_t size);

// The input as text (bytes unchanged).
inline std::string_view InputText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

class FuzzRoot {
 public:
  // The one root of this process, installed on first use.
  static FuzzRoot& Get();

  const std::filesystem::path& Root() const { return root_; }
  // A context whose host prints nowhere, whose launcher only counts, with a
  // fresh random sequence and the program's dialog factory.
  ui::AppContext& App() { return *app_; }
  // Removes what the last input added and rewrites what it changed.
  void Restore();
  // Replaces one file of the info folder with raw bytes.
  void Put(std::string_view name, std::string_view bytes);

 private:
  FuzzRoot();
  struct Saved {
    std::string bytes;
    std::filesystem::file_time_type time;
  };
  std::filesystem::path root_;
  std::map<std::filesystem::path, Saved> installed_;
  std::unique_ptr<ui::AppContext> app_;
};

}  // namespace tavelin::fuzz
