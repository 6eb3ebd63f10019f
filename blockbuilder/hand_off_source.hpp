// Where the builder reads its hand-off files: an info folder on disk (the
// program, a job folder), or a job's files held in memory (the batch, whose
// builder runs in its own process and needs no folder between the two).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin::blockbuilder {

// The files of a job as they go on disk (CP932 with CR LF): name, bytes.
using JobFiles = std::vector<std::pair<std::string, std::string>>;

class HandOffSource {
 public:
  explicit HandOffSource(const InfoFolder& info) : info_(&info) {}
  explicit HandOffSource(const JobFiles& files) : files_(&files) {}

  // The folder, when the files are on disk.
  const InfoFolder* Folder() const { return info_; }
  // The bytes of the file in memory named `name` without regard to case;
  // null when there is none (or the files are on disk).
  const std::string* Find(std::string_view name) const {
    if (!files_) return nullptr;
    for (const auto& [file, bytes] : *files_) {
      if (EqualsIgnoreCase(file, name)) return &bytes;
    }
    return nullptr;
  }

 private:
  const InfoFolder* info_ = nullptr;
  const JobFiles* files_ = nullptr;
};

}  // namespace tavelin::blockbuilder
