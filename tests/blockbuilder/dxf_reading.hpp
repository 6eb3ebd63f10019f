// Test helpers: a temporary root with hand-off files, and a DXF file read back
// with dxflib's reader (the reader of several CAD programs), names in UTF-8.
#pragma once

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "framework/codepage.hpp"
#include "framework/info_folder.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin::blockbuilder::testing {

struct ReadEntity {
  std::string type;  // LINE, ARC, CIRCLE
  std::vector<double> v;
  std::string layer;
  int colour = 0;
  std::string lineType;
};

struct ReadLayer {
  int colour = 0;
  std::string lineType;
};

struct ReadDrawing {
  bool ok = false;
  std::vector<ReadEntity> entities;
  std::map<std::string, ReadLayer> layers;
  std::map<std::string, std::vector<double>> lineTypes;  // upper-case name -> dashes
  std::map<std::string, std::string> strings;            // header string variables
  std::map<std::string, int> ints;                       // header integer variables
};

class Collector : public DL_CreationAdapter {
 public:
  explicit Collector(ReadDrawing& out) : out_(out) {}
  void addLayer(const DL_LayerData& data) override {
    out_.layers[Cp932ToUtf8(data.name)] = {attributes.getColor(),
                                           Cp932ToUtf8(attributes.getLinetype())};
  }
  // dxflib hands over the dashes of a line type before the line type itself.
  void addLinetype(const DL_LinetypeData& data) override {
    out_.lineTypes[Upper(Cp932ToUtf8(data.name))] = std::move(dashes_);
    dashes_.clear();
  }
  void addLinetypeDash(double length) override { dashes_.push_back(length); }
  void addLine(const DL_LineData& d) override { Add("LINE", {d.x1, d.y1, d.x2, d.y2}); }
  void addArc(const DL_ArcData& d) override {
    Add("ARC", {d.cx, d.cy, d.radius, d.angle1, d.angle2});
  }
  void addCircle(const DL_CircleData& d) override { Add("CIRCLE", {d.cx, d.cy, d.radius}); }
  void setVariableString(const std::string& key, const std::string& value, int) override {
    out_.strings[key] = value;
  }
  void setVariableInt(const std::string& key, int value, int) override { out_.ints[key] = value; }

 private:
  static std::string Upper(std::string s) {
    for (char& c : s) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
  }
  void Add(const char* type, std::vector<double> v) {
    out_.entities.push_back({type, std::move(v), Cp932ToUtf8(attributes.getLayer()),
                             attributes.getColor(), Cp932ToUtf8(attributes.getLinetype())});
  }
  ReadDrawing& out_;
  std::vector<double> dashes_;
};

inline ReadDrawing ReadDxf(const std::filesystem::path& file) {
  ReadDrawing drawing;
  Collector collector(drawing);
  DL_Dxf dxf;
  drawing.ok = dxf.in(file.string(), &collector);
  return drawing;
}

inline std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A root with the default info folder and the given hand-off files.
class BuilderRoot {
 public:
  BuilderRoot() : info_(dir_.Path()) {
    std::filesystem::create_directories(dir_.Path() / "info");
    for (const auto& entry :
         std::filesystem::directory_iterator(tavelin::testing::SourceDataDir() / "info")) {
      std::filesystem::copy_file(entry.path(), dir_.Path() / "info" / entry.path().filename());
    }
    Write("Command.ini", {"4"});
  }
  const std::filesystem::path& Root() const { return dir_.Path(); }
  const InfoFolder& Info() const { return info_; }
  void Write(const std::string& name, const std::vector<std::string>& lines) const {
    info_.WriteLines(name, lines);
  }
  void WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_.Path() / "info" / name, std::ios::binary | std::ios::trunc) << bytes;
  }
  std::filesystem::path Block(const std::string& name) const {
    return dir_.Path() / "blocks" / (name + ".dxf");
  }
  std::string Log() const { return FileBytes(dir_.Path() / "blocks" / "builder.log"); }
  // Every file in the blocks folder but the log.
  std::vector<std::string> BlockFiles() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir_.Path() / "blocks", ec), end; !ec && it != end;
         ++it) {
      if (it->path().filename() != "builder.log") names.push_back(it->path().filename().string());
    }
    return names;
  }

 private:
  tavelin::testing::TempDir dir_;
  InfoFolder info_;
};

}  // namespace tavelin::blockbuilder::testing
