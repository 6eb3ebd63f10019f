#include "blockbuilder/dxf_writer.hpp"

#include <dxflib/dl_writer.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

#include "blockbuilder/thumbnail.hpp"
#include "framework/codepage.hpp"
#include "framework/text.hpp"

namespace tavelin::blockbuilder {
namespace {

constexpr const char* kLineEnd = "\r\n";

// dxflib's writer interface over a byte buffer, so that the file is written
// whole, through a temporary file and a rename, only once it is complete.
class DxfBuffer : public DL_Writer {
 public:
  DxfBuffer() : DL_Writer(DL_Codes::AC1015) { bytes_.reserve(64 * 1024); }

  void dxfReal(int gc, double value) const override {
    Code(gc);
    bytes_ += DxfReal(value);
    bytes_ += kLineEnd;
  }
  void dxfInt(int gc, int value) const override {
    Code(gc);
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    bytes_.append(buffer, result.ptr);
    bytes_ += kLineEnd;
  }
  void dxfHex(int gc, int value) const override {
    Code(gc);
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<unsigned>(value), 16);
    for (char* c = buffer; c != result.ptr; ++c) {
      if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
    }
    bytes_.append(buffer, result.ptr);
    bytes_ += kLineEnd;
  }
  void dxfString(int gc, const char* value) const override { dxfString(gc, std::string(value)); }
  // `value` is already in the file's code page.
  void dxfString(int gc, const std::string& value) const override {
    Code(gc);
    bytes_ += value;
    bytes_ += kLineEnd;
  }

  std::string Take() { return std::move(bytes_); }

 private:
  void Code(int gc) const {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%3d", gc);
    bytes_ += buffer;
    bytes_ += kLineEnd;
  }

  mutable std::string bytes_;
};

struct Box {
  double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
  void Add(double x, double y) {
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
  }
  bool Empty() const { return minX > maxX; }
};

bool AngleWithin(double angle, double start, double end) {
  return start <= end ? angle >= start && angle <= end : angle >= start || angle <= end;
}

Box Extents(const Tables& tables) {
  Box box;
  constexpr double kRadian = 3.14159265358979323846 / 180.0;
  for (const PlacedEntity& e : tables.entities) {
    switch (e.kind) {
      case EntityKind::kLine:
        box.Add(e.v[0], e.v[1]);
        box.Add(e.v[2], e.v[3]);
        break;
      case EntityKind::kCircle:
        box.Add(e.v[0] - e.v[2], e.v[1] - e.v[2]);
        box.Add(e.v[0] + e.v[2], e.v[1] + e.v[2]);
        break;
      case EntityKind::kArc: {
        const double cx = e.v[0], cy = e.v[1], r = e.v[2];
        box.Add(cx + r * std::cos(e.v[3] * kRadian), cy + r * std::sin(e.v[3] * kRadian));
        box.Add(cx + r * std::cos(e.v[4] * kRadian), cy + r * std::sin(e.v[4] * kRadian));
        for (int quadrant = 0; quadrant < 4; ++quadrant) {
          const double angle = 90.0 * quadrant;
          if (!AngleWithin(angle, e.v[3], e.v[4])) continue;
          box.Add(cx + r * std::cos(angle * kRadian), cy + r * std::sin(angle * kRadian));
        }
        break;
      }
    }
  }
  if (box.Empty()) box.Add(0.0, 0.0);
  return box;
}

// Every handle of the file, given out before anything is written so that
// $HANDSEED in the header can name the next free one.
struct Handles {
  int next = 1;
  int New() { return next++; }
};

class Writer {
 public:
  explicit Writer(const Tables& tables) : tables_(tables), extents_(Extents(tables)) {
    rootDictionary_ = handles_.New();
    groupDictionary_ = handles_.New();
    layoutDictionary_ = handles_.New();
    for (int& table : tableHandles_) table = handles_.New();
    activeViewport_ = handles_.New();
    for (int& lineType : standardLineTypes_) lineType = handles_.New();
    for (size_t i = 0; i < tables_.lineTypes.size(); ++i)
      lineTypeHandles_.push_back(handles_.New());
    for (size_t i = 0; i < tables_.layers.size(); ++i) layerHandles_.push_back(handles_.New());
    textStyle_ = handles_.New();
    application_ = handles_.New();
    ownApplication_ = handles_.New();
    dimensionStyle_ = handles_.New();
    for (Space& space : spaces_) {
      space.record = handles_.New();
      space.begin = handles_.New();
      space.end = handles_.New();
      space.layout = handles_.New();
    }
    firstEntity_ = handles_.New();
    handles_.next = firstEntity_ + static_cast<int>(tables_.entities.size());
  }

  std::string Write() {
    Header();
    w_.section("CLASSES");
    w_.sectionEnd();
    SymbolTables();
    Blocks();
    Entities();
    Objects();
    Thumbnail();
    w_.dxfEOF();
    return w_.Take();
  }

 private:
  enum TableIndex {
    kVport,
    kLtype,
    kLayer,
    kStyle,
    kView,
    kUcs,
    kAppid,
    kDimstyle,
    kBlockRecord,
    kTableCount
  };
  struct Space {
    const char* block;
    const char* layoutName;
    int record = 0, begin = 0, end = 0, layout = 0;
  };

  const std::string& Text(const std::string& utf8) {
    auto found = encoded_.find(utf8);
    if (found == encoded_.end()) found = encoded_.emplace(utf8, Utf8ToCp932(utf8)).first;
    return found->second;
  }

  void Point(int gc, double x, double y) { w_.coord(gc, x, y, 0.0); }

  void Header() {
    w_.sectionHeader();
    w_.dxfString(9, "$ACADVER");
    w_.dxfString(1, "AC1015");
    w_.dxfString(9, "$DWGCODEPAGE");
    w_.dxfString(3, "ANSI_932");
    w_.dxfString(9, "$INSBASE");
    Point(10, 0.0, 0.0);
    w_.dxfString(9, "$EXTMIN");
    Point(10, extents_.minX, extents_.minY);
    w_.dxfString(9, "$EXTMAX");
    Point(10, extents_.maxX, extents_.maxY);
    w_.dxfString(9, "$INSUNITS");
    w_.dxfInt(70, 4);  // millimetres
    w_.dxfString(9, "$MEASUREMENT");
    w_.dxfInt(70, 1);  // metric
    w_.dxfString(9, "$HANDSEED");
    w_.dxfHex(5, handles_.next);
    w_.sectionEnd();
  }

  void TableHead(const char* name, TableIndex index, int count) {
    w_.dxfString(0, "TABLE");
    w_.dxfString(2, name);
    w_.dxfHex(5, tableHandles_[index]);
    w_.dxfHex(330, 0);
    w_.subClass("AcDbSymbolTable");
    w_.dxfInt(70, count);
  }

  void RecordHead(const char* type, int handle, TableIndex owner, const char* subclass) {
    w_.dxfString(0, type);
    w_.dxfHex(5, handle);
    w_.dxfHex(330, tableHandles_[owner]);
    w_.subClass("AcDbSymbolTableRecord");
    w_.subClass(subclass);
  }

  void LineType(int handle, const std::string& name, const std::string& description,
                const std::vector<double>& pattern) {
    RecordHead("LTYPE", handle, kLtype, "AcDbLinetypeTableRecord");
    w_.dxfString(2, Text(name));
    w_.dxfInt(70, 0);
    w_.dxfString(3, Text(description));
    w_.dxfInt(72, 65);
    w_.dxfInt(73, static_cast<int>(pattern.size()));
    double total = 0.0;
    for (double element : pattern) total += std::fabs(element);
    // 6.35 + 3.175 is 9.524999999999999 in binary; the file says 9.525.
    w_.dxfReal(40, std::round(total * 1e9) / 1e9);
    for (double element : pattern) {
      w_.dxfReal(49, element);
      w_.dxfInt(74, 0);
    }
  }

  void SymbolTables() {
    w_.sectionTables();

    // The active viewport shows the whole block.
    const double width = extents_.maxX - extents_.minX;
    const double height = extents_.maxY - extents_.minY;
    TableHead("VPORT", kVport, 1);
    RecordHead("VPORT", activeViewport_, kVport, "AcDbViewportTableRecord");
    w_.dxfString(2, "*Active");
    w_.dxfInt(70, 0);
    Point(10, 0.0, 0.0);
    Point(11, 1.0, 1.0);
    Point(12, (extents_.minX + extents_.maxX) / 2.0, (extents_.minY + extents_.maxY) / 2.0);
    Point(13, 0.0, 0.0);
    Point(14, 10.0, 10.0);
    Point(15, 10.0, 10.0);
    w_.coord(16, 0.0, 0.0, 1.0);
    w_.coord(17, 0.0, 0.0, 0.0);
    w_.dxfReal(40, std::max({height * 1.1, width * 1.1 / 1.5, 1.0}));
    w_.dxfReal(41, 1.5);
    w_.dxfReal(42, 50.0);
    w_.dxfReal(43, 0.0);
    w_.dxfReal(44, 0.0);
    w_.dxfReal(50, 0.0);
    w_.dxfReal(51, 0.0);
    w_.dxfInt(71, 0);
    w_.dxfInt(72, 100);
    w_.dxfInt(73, 1);
    w_.dxfInt(74, 3);
    w_.dxfInt(75, 0);
    w_.dxfInt(76, 0);
    w_.dxfInt(77, 0);
    w_.dxfInt(78, 0);
    w_.dxfInt(281, 0);
    w_.dxfInt(65, 1);
    w_.dxfReal(146, 0.0);
    w_.tableEnd();

    TableHead("LTYPE", kLtype, static_cast<int>(3 + tables_.lineTypes.size()));
    LineType(standardLineTypes_[0], kByBlock, "", {});
    LineType(standardLineTypes_[1], kByLayer, "", {});
    LineType(standardLineTypes_[2], kContinuous, "Solid line", {});
    for (size_t i = 0; i < tables_.lineTypes.size(); ++i) {
      const LineTypeEntry& entry = tables_.lineTypes[i];
      LineType(lineTypeHandles_[i], entry.name, entry.description, entry.pattern);
    }
    w_.tableEnd();

    TableHead("LAYER", kLayer, static_cast<int>(tables_.layers.size()));
    for (size_t i = 0; i < tables_.layers.size(); ++i) {
      const LayerEntry& layer = tables_.layers[i];
      RecordHead("LAYER", layerHandles_[i], kLayer, "AcDbLayerTableRecord");
      w_.dxfString(2, Text(layer.name));
      w_.dxfInt(70, 0);
      w_.dxfInt(62, layer.colour);
      w_.dxfString(6, Text(layer.lineType));
      w_.dxfInt(370, -3);  // default line weight
    }
    w_.tableEnd();

    TableHead("STYLE", kStyle, 1);
    RecordHead("STYLE", textStyle_, kStyle, "AcDbTextStyleTableRecord");
    w_.dxfString(2, "Standard");
    w_.dxfInt(70, 0);
    w_.dxfReal(40, 0.0);
    w_.dxfReal(41, 1.0);
    w_.dxfReal(50, 0.0);
    w_.dxfInt(71, 0);
    w_.dxfReal(42, 2.5);
    w_.dxfString(3, "txt");
    w_.dxfString(4, "");
    w_.tableEnd();

    TableHead("VIEW", kView, 0);
    w_.tableEnd();
    TableHead("UCS", kUcs, 0);
    w_.tableEnd();

    TableHead("APPID", kAppid, 2);
    RecordHead("APPID", application_, kAppid, "AcDbRegAppTableRecord");
    w_.dxfString(2, "ACAD");
    w_.dxfInt(70, 0);
    RecordHead("APPID", ownApplication_, kAppid, "AcDbRegAppTableRecord");
    w_.dxfString(2, kBlockAppName);
    w_.dxfInt(70, 0);
    w_.tableEnd();

    TableHead("DIMSTYLE", kDimstyle, 1);
    w_.subClass("AcDbDimStyleTable");
    w_.dxfString(0, "DIMSTYLE");
    w_.dxfHex(105, dimensionStyle_);  // dimension styles keep their handle in 105
    w_.dxfHex(330, tableHandles_[kDimstyle]);
    w_.subClass("AcDbSymbolTableRecord");
    w_.subClass("AcDbDimStyleTableRecord");
    w_.dxfString(2, "Standard");
    w_.dxfInt(70, 0);
    w_.tableEnd();

    TableHead("BLOCK_RECORD", kBlockRecord, 2);
    for (const Space& space : spaces_) {
      RecordHead("BLOCK_RECORD", space.record, kBlockRecord, "AcDbBlockTableRecord");
      w_.dxfString(2, space.block);
      w_.dxfHex(340, space.layout);
    }
    w_.tableEnd();

    w_.sectionEnd();
  }

  void Blocks() {
    w_.sectionBlocks();
    for (const Space& space : spaces_) {
      const bool paper = &space == &spaces_[1];
      w_.dxfString(0, "BLOCK");
      w_.dxfHex(5, space.begin);
      w_.dxfHex(330, space.record);
      w_.subClass("AcDbEntity");
      if (paper) w_.dxfInt(67, 1);
      w_.dxfString(8, "0");
      w_.subClass("AcDbBlockBegin");
      w_.dxfString(2, space.block);
      w_.dxfInt(70, 0);
      Point(10, 0.0, 0.0);
      w_.dxfString(3, space.block);
      w_.dxfString(1, "");
      if (!paper && tables_.data.Present()) {
        w_.dxfString(4, Text(CutToCp932Bytes(tables_.data.description, kMaxXdataString)));
      }
      w_.dxfString(0, "ENDBLK");
      w_.dxfHex(5, space.end);
      w_.dxfHex(330, space.record);
      w_.subClass("AcDbEntity");
      if (paper) w_.dxfInt(67, 1);
      w_.dxfString(8, "0");
      w_.subClass("AcDbBlockEnd");
    }
    w_.sectionEnd();
  }

  void Entities() {
    w_.sectionEntities();
    int handle = firstEntity_;
    for (const PlacedEntity& e : tables_.entities) {
      const char* type = e.kind == EntityKind::kLine  ? "LINE"
                         : e.kind == EntityKind::kArc ? "ARC"
                                                      : "CIRCLE";
      w_.dxfString(0, type);
      w_.dxfHex(5, handle++);
      w_.dxfHex(330, spaces_[0].record);
      w_.subClass("AcDbEntity");
      w_.dxfString(8, Text(e.layer));
      // BYLAYER is what a missing line type or colour means: CAD programs
      // leave both out then, and some readers (LibreOffice, GDAL) draw an
      // entity that names "ByLayer" solid instead of with its layer's dashes.
      if (e.lineType != kByLayer) w_.dxfString(6, Text(e.lineType));
      if (e.colour != kByLayerColour) w_.dxfInt(62, e.colour);
      if (e.kind == EntityKind::kLine) {
        w_.subClass("AcDbLine");
        Point(10, e.v[0], e.v[1]);
        Point(11, e.v[2], e.v[3]);
        if (&e == &tables_.entities.front()) Xdata();
        continue;
      }
      w_.subClass("AcDbCircle");
      Point(10, e.v[0], e.v[1]);
      w_.dxfReal(40, e.v[2]);
      w_.coord(210, 0.0, 0.0, 1.0);  // counter-clockwise seen from above
      if (e.kind == EntityKind::kArc) {
        w_.subClass("AcDbArc");
        w_.dxfReal(50, e.v[3]);
        w_.dxfReal(51, e.v[4]);
      }
      if (&e == &tables_.entities.front()) Xdata();
    }
    w_.sectionEnd();
  }

  void Xdata() {
    if (!tables_.data.Present()) return;
    w_.dxfString(1001, kBlockAppName);
    for (const auto& [code, value] : ToXdata(tables_.data)) {
      if (code == 1070) {
        w_.dxfInt(1070, ToInt(value));
      } else {
        w_.dxfString(code, Text(value));
      }
    }
  }

  // The preview picture, in lines of at most 127 bytes as hexadecimal digits.
  void Thumbnail() {
    const std::string bitmap = ThumbnailBitmap(tables_);
    w_.section("THUMBNAILIMAGE");
    w_.dxfInt(90, static_cast<int>(bitmap.size()));
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (size_t start = 0; start < bitmap.size(); start += 127) {
      std::string hex;
      for (size_t i = start; i < std::min(bitmap.size(), start + 127); ++i) {
        const unsigned char byte = static_cast<unsigned char>(bitmap[i]);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
      }
      w_.dxfString(310, hex);
    }
    w_.sectionEnd();
  }

  void Dictionary(int handle, int owner, const std::vector<std::pair<const char*, int>>& entries) {
    w_.dxfString(0, "DICTIONARY");
    w_.dxfHex(5, handle);
    w_.dxfHex(330, owner);
    w_.subClass("AcDbDictionary");
    w_.dxfInt(281, 1);
    for (const auto& [name, entry] : entries) {
      w_.dxfString(3, name);
      w_.dxfHex(350, entry);
    }
  }

  void Objects() {
    w_.sectionObjects();
    Dictionary(rootDictionary_, 0,
               {{"ACAD_GROUP", groupDictionary_}, {"ACAD_LAYOUT", layoutDictionary_}});
    Dictionary(groupDictionary_, rootDictionary_, {});
    Dictionary(
        layoutDictionary_, rootDictionary_,
        {{spaces_[0].layoutName, spaces_[0].layout}, {spaces_[1].layoutName, spaces_[1].layout}});
    for (int tab = 0; tab < 2; ++tab) {
      const Space& space = spaces_[tab];
      w_.dxfString(0, "LAYOUT");
      w_.dxfHex(5, space.layout);
      w_.dxfHex(330, layoutDictionary_);
      w_.subClass("AcDbPlotSettings");
      w_.dxfString(1, "");
      w_.dxfString(4, "");
      w_.dxfString(6, "");
      for (int gc = 40; gc <= 49; ++gc) w_.dxfReal(gc, 0.0);
      w_.dxfReal(140, 0.0);
      w_.dxfReal(141, 0.0);
      w_.dxfReal(142, 1.0);
      w_.dxfReal(143, 1.0);
      w_.dxfInt(70, tab == 0 ? 1024 : 0);
      w_.dxfInt(72, 1);  // millimetres
      w_.dxfInt(73, 0);
      w_.dxfInt(74, 5);
      w_.dxfString(7, "");
      w_.dxfInt(75, 16);
      w_.dxfReal(147, 1.0);
      w_.dxfReal(148, 0.0);
      w_.dxfReal(149, 0.0);
      w_.subClass("AcDbLayout");
      w_.dxfString(1, space.layoutName);
      w_.dxfInt(70, 1);
      w_.dxfInt(71, tab);
      Point(10, 0.0, 0.0);
      Point(11, 420.0, 297.0);
      w_.coord(12, 0.0, 0.0, 0.0);
      w_.coord(14, extents_.minX, extents_.minY, 0.0);
      w_.coord(15, extents_.maxX, extents_.maxY, 0.0);
      w_.dxfReal(146, 0.0);
      w_.coord(13, 0.0, 0.0, 0.0);
      w_.coord(16, 1.0, 0.0, 0.0);
      w_.coord(17, 0.0, 1.0, 0.0);
      w_.dxfInt(76, 0);
      w_.dxfHex(330, space.record);
    }
    w_.sectionEnd();
  }

  const Tables& tables_;
  Box extents_;
  DxfBuffer w_;
  Handles handles_;
  std::map<std::string, std::string> encoded_;
  int rootDictionary_ = 0, groupDictionary_ = 0, layoutDictionary_ = 0;
  int tableHandles_[kTableCount] = {};
  int activeViewport_ = 0;
  int standardLineTypes_[3] = {};  // ByBlock, ByLayer, Continuous
  std::vector<int> lineTypeHandles_;
  std::vector<int> layerHandles_;
  int textStyle_ = 0, application_ = 0, ownApplication_ = 0, dimensionStyle_ = 0;
  Space spaces_[2] = {{"*Model_Space", "Model"}, {"*Paper_Space", "Layout1"}};
  int firstEntity_ = 0;
};

}  // namespace

std::string DxfReal(double value) {
  if (value == 0.0 || !std::isfinite(value)) return "0.0";  // no "-0.0"
  char buffer[512];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (result.ec != std::errc()) {
    result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
  }
  std::string text(buffer, result.ptr);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

std::string WriteDxf(const Tables& tables) { return Writer(tables).Write(); }

void BlockExtents(const Tables& tables, double box[4]) {
  const Box extents = Extents(tables);
  box[0] = extents.minX;
  box[1] = extents.minY;
  box[2] = extents.maxX;
  box[3] = extents.maxY;
}

}  // namespace tavelin::blockbuilder
