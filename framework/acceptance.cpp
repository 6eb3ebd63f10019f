#include "framework/acceptance.hpp"

#include "framework/draw_records.hpp"
#include "framework/straight_duct_drawing.hpp"

namespace tavelin {
namespace {

constexpr const char* kChangeValues = "寸法を見直して、もう一度OKをクリックしてください。";

}  // namespace

std::string RefusedBlockName(std::string_view name) {
  if (name.empty()) return "ブロック名が空です";
  if (name.front() == '.') return "ブロック名が「.」で始まっています";
  if (name.size() > kMaxBlockNameBytes) return "ブロック名が長すぎます";
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c == '/' || c == '\\') return "ブロック名に「/」か「\\」があります";
    if (c < 0x20 || c == 0x7F) return "ブロック名に制御文字があります";
    // C1 control characters (U+0080 to U+009F) and U+FFFD, the mark of bytes
    // that were not CP932.
    if (c == 0xC2 && i + 1 < name.size() && static_cast<unsigned char>(name[i + 1]) < 0xA0) {
      return "ブロック名に制御文字があります";
    }
    if (name.substr(i, 3) == "\xEF\xBF\xBD") return "ブロック名に読めない文字があります";
  }
  return {};
}

std::string RefusedHandOff(const std::vector<std::string>& records, std::string_view blockName,
                           const std::vector<std::string>& chokuLines) {
  using namespace blockbuilder;
  if (std::string reason = RefusedBlockName(blockName); !reason.empty()) {
    // A name grows with the values it sums: too long means values too large.
    if (blockName.size() > kMaxBlockNameBytes) {
      return std::string("寸法の値が大きすぎるため、ブロック名を作れません。\n") + kChangeValues;
    }
    return reason + "。\n" + kChangeValues;
  }
  size_t drawn = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    BuildLog log;
    const ParsedRecord record = ParseRecord(records[i], static_cast<int>(i + 1), log);
    switch (record.kind) {
      case RecordKind::kEntity:
        ++drawn;
        break;
      case RecordKind::kStraightDuct: {
        // The builder draws the straight duct from its settings, with any
        // attributes: only the values decide whether it can.
        std::vector<Entity> entities;
        if (!DrawStraightDuct(ReadStraightDuct(chokuLines, log), DuctStyle{}, entities, log)) {
          const std::vector<std::string> lines = log.Lines();
          return (lines.empty() ? std::string("直管を作図できません") : lines.back()) + "。\n" +
                 "ピッチ・サイズ・全長を見直して、もう一度OKをクリックしてください。";
        }
        drawn += entities.size();
        break;
      }
      case RecordKind::kSkipped:
        return std::string("この寸法では計算できない線があります（値が大きすぎるか、角度・巾の組み合わせで"
                           "形になりません）。\n") +
               kChangeValues;
      case RecordKind::kExtents:
      case RecordKind::kBlank:
        break;
    }
  }
  if (drawn == 0) {
    return std::string("この寸法では作図できる線がありません。\n") + kChangeValues;
  }
  return {};
}

}  // namespace tavelin
