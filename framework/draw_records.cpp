#include "framework/draw_records.hpp"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "framework/text.hpp"

namespace tavelin::blockbuilder {
namespace {

constexpr int kDefaultColour = 7;

std::string_view Trim(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Where(int lineNumber) {
  return "DrawData.txt " + std::to_string(lineNumber) + "行目: ";
}

// Reads `count` coordinates from fields[first...]; logs and returns false on
// the first one that is not a usable number.
bool ReadCoordinates(const std::vector<std::string>& fields, size_t first, size_t count,
                     double* out, int lineNumber, BuildLog& log) {
  for (size_t i = 0; i < count; ++i) {
    const std::string& field = fields[first + i];
    if (!ParseNumber(field, &out[i])) {
      log.Add(Where(lineNumber) + std::to_string(first + i + 1) + "番目の値 " + Quote(field) +
              " が数値でないため読み飛ばしました");
      return false;
    }
    if (std::fabs(out[i]) > kCoordinateLimit) {
      log.Add(Where(lineNumber) + std::to_string(first + i + 1) + "番目の値 " + Quote(field) +
              " が大きすぎるため読み飛ばしました");
      return false;
    }
  }
  return true;
}

}  // namespace

bool ParseNumber(std::string_view text, double* value) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  // from_chars takes "inf" and "nan" too; a record never holds them.
  char first = text.front() == '-' && text.size() > 1 ? text[1] : text.front();
  if (!(first >= '0' && first <= '9') && first != '.') return false;
  double parsed = 0.0;
  auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  if (!std::isfinite(parsed)) return false;
  *value = parsed;
  return true;
}

bool ParseColour(std::string_view text, int* colour) {
  const int parsed = ToInt(Trim(text));
  if (parsed < 1 || parsed > 255) return false;
  *colour = parsed;
  return true;
}

int ColourOrDefault(std::string_view text, std::string_view where, BuildLog& log) {
  int colour = kDefaultColour;
  if (!ParseColour(text, &colour)) {
    log.Add(std::string(where) + "色番号 " + Quote(text) +
            " が1〜255の整数でないため色7で作図しました");
    colour = kDefaultColour;
  }
  return colour;
}

double NormalizeAngle(double degrees) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0.0) a += 360.0;
  // fmod of a tiny negative angle may round up to exactly 360.
  if (a >= 360.0) a -= 360.0;
  return a;
}

ParsedRecord ParseRecord(std::string_view line, int lineNumber, BuildLog& log) {
  ParsedRecord parsed;
  line = Trim(line);
  if (line.empty()) {
    parsed.kind = RecordKind::kBlank;
    return parsed;
  }
  std::vector<std::string> fields = Split(line, ',');
  // Every record ends with a ",", which is no field of its own: a record that
  // lacks its layer must not pass for one with an empty layer name.
  if (fields.size() > 1 && fields.back().empty()) fields.pop_back();
  std::string_view kindText = Trim(fields[0]);
  if (kindText == "CK") {
    parsed.kind = RecordKind::kStraightDuct;
    return parsed;
  }
  int kind = 0;
  auto result = std::from_chars(kindText.data(), kindText.data() + kindText.size(), kind);
  bool integer = !kindText.empty() && result.ec == std::errc() &&
                 result.ptr == kindText.data() + kindText.size();
  if (integer && kind == 50) {
    parsed.kind = RecordKind::kExtents;
    return parsed;
  }
  if (!integer || (kind != 1 && kind != 2)) {
    log.Add(Where(lineNumber) + "種別 " + Quote(kindText) +
            " は線でも円弧でもないため読み飛ばしました");
    return parsed;
  }
  const size_t needed = kind == 1 ? 9 : 10;
  if (fields.size() < needed) {
    log.Add(Where(lineNumber) + (kind == 1 ? "線" : "円弧") + "の記録の項目が " +
            std::to_string(fields.size()) + " 個しかない(" + std::to_string(needed) +
            " 個必要)ため読み飛ばしました");
    return parsed;
  }
  Entity& entity = parsed.entity;
  if (kind == 1) {
    if (!ReadCoordinates(fields, 3, 4, entity.v, lineNumber, log)) return parsed;
    entity.kind = EntityKind::kLine;
  } else {
    if (!ReadCoordinates(fields, 3, 5, entity.v, lineNumber, log)) return parsed;
    if (!(entity.v[2] > 0.0)) {
      log.Add(Where(lineNumber) + "円弧の半径 " + Quote(fields[5]) +
              " が正でないため読み飛ばしました");
      return parsed;
    }
    const double start = entity.v[3];
    const double end = entity.v[4];
    const double from = NormalizeAngle(start);
    const double to = NormalizeAngle(end);
    // 0 to 360 (and any sweep of whole turns) is the full circle; equal
    // angles are a full circle too, as the preview draws them.
    const double gap = std::fabs(from - to);
    if (start == end || gap < 1e-9 || std::fabs(gap - 360.0) < 1e-9) {
      entity.kind = EntityKind::kCircle;
      entity.v[3] = entity.v[4] = 0.0;
    } else {
      entity.kind = EntityKind::kArc;
      entity.v[3] = from;
      entity.v[4] = to;
    }
  }
  // The colour is field 3; the line type and the layer are the last two fields.
  entity.attributes.colour = ColourOrDefault(fields[2], Where(lineNumber), log);
  entity.attributes.lineType = std::string(Trim(fields[needed - 2]));
  entity.attributes.layer = std::string(Trim(fields[needed - 1]));
  parsed.kind = RecordKind::kEntity;
  return parsed;
}

}  // namespace tavelin::blockbuilder
