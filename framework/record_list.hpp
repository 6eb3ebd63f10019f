// The drawing records of one fitting: the extents record in slot 0, then one
// text line per line segment or arc, each transformed by the base offset, the
// left-right mirror and the rotation, and carrying its element's attributes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "framework/geometry.hpp"

namespace tavelin {

class InfoFolder;

// Duct line elements, in the order of "DakutoSet.ini".
enum Element : int {
  kDuctBody = 1,
  kAngleWidth = 2,
  kFlangeJoint = 3,
  kHiddenLine = 4,
  kFixtureLine = 5,
  kHatchingLine = 6,
  kCentreLine = 7,
};

// Record styles (second field): 1 solid, 2 and 3 dotted, 5 chain.
enum Style : int { kSolid = 1, kDotted = 2, kChain = 5 };

struct ElementAttributes {
  std::string layer;
  std::string lineType;
  std::string colour;
};

// The common duct values K1 to K4 of "KyotuSet.ini".
struct CommonValues {
  double k1 = 0.0;  // angle width
  double k2 = 0.0;  // flange joint projection
  double k3 = 0.0;  // third value
  double k4 = 0.0;  // hatching width
  static CommonValues Load(const InfoFolder& info);
};

// How RotatePoint turns a point.
enum class RotateMode { kRaw = 0, kDialogAngle = 1, kExplicitAngle = 2 };

class RecordList {
 public:
  static constexpr size_t kDefaultCapacity = 100;

  explicit RecordList(size_t capacity = kDefaultCapacity);

  // Reads the seven lines of "DakutoSet.ini" into the element attributes.
  void LoadAttributes(const InfoFolder& info);
  void SetAttributes(int element, ElementAttributes attributes);
  const ElementAttributes& Attributes(int element) const;

  // Empties the list and its counters (the transformation stays).
  void Clear();
  // Writes the extents record into slot 0 and sets the count to 1.
  void SetExtents(double e1, double e2, double e3, double e4);

  // Each returns false, adding nothing, once the list is full.
  bool AddLineRecord(int kind, int style, int element, double x1, double y1, double x2, double y2);
  bool AddArcRecord(int kind, int style, int element, double cx, double cy, double r,
                    double start, double end);

  // A line or an arc record (kind 1 or 2) in `style` for `element`: the
  // shorthand every generator draws with.
  bool Line(int style, int element, double x1, double y1, double x2, double y2) {
    return AddLineRecord(1, style, element, x1, y1, x2, y2);
  }
  bool Arc(int style, int element, double cx, double cy, double r, double start, double end) {
    return AddArcRecord(2, style, element, cx, cy, r, start, end);
  }

  Point RotatePoint(double x, double y, RotateMode mode, double angle) const;

  size_t Capacity() const { return records_.size(); }
  size_t Count() const { return count_; }
  bool Full() const { return count_ >= records_.size(); }
  // True once an add was refused because the list was full.
  bool Overflowed() const { return overflowed_; }
  const std::string& Record(size_t k) const { return records_[k]; }
  int ElementOf(size_t k) const { return elements_[k]; }
  // Slots 0 to count - 1.
  std::vector<std::string> Records() const;

  // Transformation applied to every record.
  double baseX = 0.0;
  double baseY = 0.0;
  int mirror = 0;
  double rotation = 0.0;
  // Added to the y of every line point (not to arcs); only the reducing elbow sets it.
  double extraY = 0.0;

  int hatchCount = 0;
  int auxCounter1 = 0;
  int auxCounter2 = 0;

 private:
  Point TransformLinePoint(double x, double y) const;
  bool Reserve();

  std::vector<std::string> records_;
  std::vector<int> elements_;
  size_t count_ = 0;
  bool overflowed_ = false;
  std::array<ElementAttributes, 11> attributes_;
};

}  // namespace tavelin
