#include "framework/block_entities.hpp"

namespace tavelin::blockbuilder {

void BuildLog::Add(std::string message) {
  if (lines_.size() >= kMaxLines) {
    ++dropped_;
    return;
  }
  lines_.push_back(std::move(message));
}

std::vector<std::string> BuildLog::Lines() const {
  std::vector<std::string> lines = lines_;
  if (dropped_ > 0) lines.push_back("ほか " + std::to_string(dropped_) + " 件の記録を省略しました");
  return lines;
}

std::string Quote(std::string_view text) {
  constexpr size_t kLimit = 40;
  std::string quoted = "\"";
  if (text.size() <= kLimit) {
    quoted += text;
  } else {
    // Cut at a character boundary of the UTF-8 text.
    size_t cut = kLimit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    quoted += text.substr(0, cut);
    quoted += "…";
  }
  for (char& c : quoted) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return quoted + "\"";
}

}  // namespace tavelin::blockbuilder
