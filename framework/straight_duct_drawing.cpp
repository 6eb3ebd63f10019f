#include "framework/straight_duct_drawing.hpp"

#include <cmath>

#include "framework/draw_records.hpp"
#include "framework/text.hpp"

namespace tavelin::blockbuilder {
namespace {

const std::string& LineOf(const std::vector<std::string>& lines, size_t n) {
  static const std::string kEmpty;
  return n >= 1 && n <= lines.size() ? lines[n - 1] : kEmpty;
}

EntityAttributes AttributesOf(const std::string& line, int element, BuildLog& log) {
  EntityAttributes attributes;
  attributes.layer = Token(line, 1);
  attributes.lineType = Token(line, 2);
  attributes.colour =
      ColourOrDefault(Token(line, 3), "DakutoSet.ini " + std::to_string(element) + "行目: ", log);
  return attributes;
}

Entity Line(const EntityAttributes& attributes, double x1, double y1, double x2, double y2) {
  Entity entity;
  entity.kind = EntityKind::kLine;
  entity.v[0] = x1;
  entity.v[1] = y1;
  entity.v[2] = x2;
  entity.v[3] = y2;
  entity.attributes = attributes;
  return entity;
}

// Why a length or a size cannot be drawn, naming the field. A value beyond
// the drawing's extent is called too large, not printed with its hundreds of digits.
std::string Undrawable(const std::string& field, double value) {
  if (value > kCoordinateLimit) {
    return "直管: " + field + "が大きすぎるため作図できません（上限 " +
           FormatD(static_cast<int>(kCoordinateLimit)) + "）";
  }
  if (value < -kCoordinateLimit) return "直管: " + field + "が0以下のため作図できません";
  return "直管: " + field + " " + FormatF(value) + " では作図できません";
}

}  // namespace

StraightDuct ReadStraightDuct(const std::vector<std::string>& lines, BuildLog& log) {
  StraightDuct duct;
  duct.pitch = ToDouble(LineOf(lines, 1));
  duct.size = ToDouble(LineOf(lines, 2));
  const std::string& base = LineOf(lines, 3);
  if (base == "1" || base == "2" || base == "3") {
    duct.basePoint = static_cast<BasePoint>(ToInt(base));
  } else {
    log.Add("Choku.ini 3行目: 基準点 " + Quote(base) + " が1〜3でないため左端を基準点にしました");
  }
  duct.leftJoint = LineOf(lines, 4) == "1";
  duct.rightJoint = LineOf(lines, 5) == "1";
  const std::string& drawing = LineOf(lines, 6);
  if (drawing == "1" || drawing == "2" || drawing == "3") {
    duct.drawing = static_cast<DuctDrawing>(ToInt(drawing));
  } else {
    log.Add("Choku.ini 6行目: 作図設定 " + Quote(drawing) + " が1〜3でないため両方作図しました");
  }
  duct.fixed45 = LineOf(lines, 7) == "1";
  duct.length = ToDouble(LineOf(lines, 8));
  return duct;
}

DuctStyle ReadDuctStyle(const std::vector<std::string>& dakutoSet,
                        const std::vector<std::string>& kyotuSet, BuildLog& log) {
  DuctStyle style;
  style.body = AttributesOf(LineOf(dakutoSet, 1), 1, log);
  style.angleWidth = AttributesOf(LineOf(dakutoSet, 2), 2, log);
  style.flangeJoint = AttributesOf(LineOf(dakutoSet, 3), 3, log);
  style.k1 = ToDouble(LineOf(kyotuSet, 1));
  style.k2 = ToDouble(LineOf(kyotuSet, 2));
  return style;
}

bool DrawStraightDuct(const StraightDuct& duct, const DuctStyle& style, std::vector<Entity>& out,
                      BuildLog& log) {
  const double length = duct.length;
  const double half = duct.size / 2.0;
  if (!std::isfinite(length) || length <= 0.0 || length > kCoordinateLimit) {
    log.Add(Undrawable("全長", length));
    return false;
  }
  if (!std::isfinite(duct.size) || duct.size <= 0.0 || duct.size > kCoordinateLimit) {
    log.Add(Undrawable("サイズ", duct.size));
    return false;
  }
  const double k1 = std::isfinite(style.k1) ? style.k1 : 0.0;
  const double k2 =
      std::isfinite(style.k2) && std::fabs(style.k2) <= kCoordinateLimit ? style.k2 : 0.0;

  // Joint positions from the left end, and whether each is an end joint.
  struct Joint {
    double x;
    int side;  // -1 left end, +1 right end, 0 between two pieces
  };
  std::vector<Joint> joints;
  if (duct.drawing != DuctDrawing::kDuctLinesOnly) {
    if (duct.leftJoint) joints.push_back({0.0, -1});
    if (duct.pitch > 0.0 && std::isfinite(duct.pitch)) {
      if (length / duct.pitch > kMaxJoints) {
        log.Add("直管: ピッチ " + FormatF(duct.pitch) + " では継手が " +
                std::to_string(kMaxJoints) + " を超えるため作図できません");
        return false;
      }
      // A joint closer than a micrometre to the right end is the end itself.
      for (int k = 1;; ++k) {
        const double x = duct.pitch * k;
        if (x >= length - 1e-6) break;
        joints.push_back({x, 0});
      }
    } else {
      log.Add("直管: ピッチ " + FormatF(duct.pitch) + " が正でないため途中の継手は作図しません");
    }
    if (duct.rightJoint) joints.push_back({length, +1});
  }
  if (duct.fixed45) log.Add("直管: 45°固定は作図に影響しません");

  const double baseX = duct.basePoint == BasePoint::kMiddle     ? length / 2.0
                       : duct.basePoint == BasePoint::kRightEnd ? length
                                                                : 0.0;
  if (duct.drawing != DuctDrawing::kJointsOnly) {
    out.push_back(Line(style.body, -baseX, half, length - baseX, half));
    out.push_back(Line(style.body, -baseX, -half, length - baseX, -half));
  }
  for (const Joint& joint : joints) {
    const double x = joint.x - baseX;
    out.push_back(Line(style.flangeJoint, x, half + k2, x, -half - k2));
    if (k1 <= 0.0) continue;  // no angle width, no angle line
    // The angle lies inside the piece it belongs to: left of a right end
    // joint, right of a left end joint, on both sides between two pieces.
    if (joint.side >= 0) out.push_back(Line(style.angleWidth, x - k1, half, x - k1, -half));
    if (joint.side <= 0) out.push_back(Line(style.angleWidth, x + k1, half, x + k1, -half));
  }
  return true;
}

}  // namespace tavelin::blockbuilder
