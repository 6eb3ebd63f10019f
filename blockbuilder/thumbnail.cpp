#include "blockbuilder/thumbnail.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "blockbuilder/dxf_writer.hpp"

namespace tavelin::blockbuilder {
namespace {

constexpr double kRadian = 3.14159265358979323846 / 180.0;
constexpr int kMargin = 6;

class Raster {
 public:
  Raster(int width, int height) : width_(width), height_(height), rowBytes_(((width + 31) / 32) * 4),
                                  bits_(static_cast<size_t>(rowBytes_) * height, 0) {}

  // Row 0 is the bottom row, as the bitmap stores it.
  void Set(int x, int y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    bits_[static_cast<size_t>(y) * rowBytes_ + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  }

  void Line(double x1, double y1, double x2, double y2) {
    const double steps = std::ceil(std::max(std::fabs(x2 - x1), std::fabs(y2 - y1)));
    if (!std::isfinite(steps) || steps > 4.0 * (width_ + height_)) return;
    for (int i = 0; i <= static_cast<int>(steps); ++i) {
      const double t = steps > 0 ? i / steps : 0.0;
      Set(static_cast<int>(std::lround(x1 + (x2 - x1) * t)),
          static_cast<int>(std::lround(y1 + (y2 - y1) * t)));
    }
  }

  const std::vector<std::uint8_t>& Bits() const { return bits_; }
  int RowBytes() const { return rowBytes_; }

 private:
  int width_, height_, rowBytes_;
  std::vector<std::uint8_t> bits_;
};

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string ThumbnailBitmap(const Tables& tables, int width, int height) {
  Raster raster(width, height);
  double box[4];
  BlockExtents(tables, box);
  const double spanX = std::max(box[2] - box[0], 1e-9), spanY = std::max(box[3] - box[1], 1e-9);
  const double scale = std::min((width - 2 * kMargin) / spanX, (height - 2 * kMargin) / spanY);
  const double offsetX = (width - spanX * scale) / 2.0, offsetY = (height - spanY * scale) / 2.0;
  auto X = [&](double x) { return offsetX + (x - box[0]) * scale; };
  auto Y = [&](double y) { return offsetY + (y - box[1]) * scale; };
  if (std::isfinite(scale) && scale > 0.0) {
    for (const PlacedEntity& e : tables.entities) {
      if (e.kind == EntityKind::kLine) {
        raster.Line(X(e.v[0]), Y(e.v[1]), X(e.v[2]), Y(e.v[3]));
        continue;
      }
      // Arcs and circles as chords of at most about two pixels.
      const double start = e.kind == EntityKind::kArc ? e.v[3] : 0.0;
      double sweep = e.kind == EntityKind::kArc ? e.v[4] - e.v[3] : 360.0;
      if (sweep <= 0.0) sweep += 360.0;
      const double radius = e.v[2] * scale;
      const int pieces = std::clamp(static_cast<int>(radius * sweep * kRadian / 2.0) + 1, 1, 720);
      auto at = [&](int i, double& x, double& y) {
        const double a = (start + sweep * i / pieces) * kRadian;
        x = X(e.v[0] + e.v[2] * std::cos(a));
        y = Y(e.v[1] + e.v[2] * std::sin(a));
      };
      double x0, y0, x1, y1;
      at(0, x0, y0);
      for (int i = 1; i <= pieces; ++i) {
        at(i, x1, y1);
        raster.Line(x0, y0, x1, y1);
        x0 = x1, y0 = y1;
      }
    }
  }
  std::string dib;
  const std::uint32_t imageBytes = static_cast<std::uint32_t>(raster.Bits().size());
  PutLittleEndian(dib, 40, 4);  // BITMAPINFOHEADER
  PutLittleEndian(dib, static_cast<std::uint32_t>(width), 4);
  PutLittleEndian(dib, static_cast<std::uint32_t>(height), 4);
  PutLittleEndian(dib, 1, 2);  // planes
  PutLittleEndian(dib, 1, 2);  // bits a pixel
  PutLittleEndian(dib, 0, 4);  // no compression
  PutLittleEndian(dib, imageBytes, 4);
  PutLittleEndian(dib, 3780, 4);  // 96 dpi
  PutLittleEndian(dib, 3780, 4);
  PutLittleEndian(dib, 2, 4);  // colours used
  PutLittleEndian(dib, 0, 4);
  PutLittleEndian(dib, 0x00FFFFFF, 4);  // white (blue, green, red, 0)
  PutLittleEndian(dib, 0x00000000, 4);  // black
  dib.append(raster.Bits().begin(), raster.Bits().end());
  return dib;
}

}  // namespace tavelin::blockbuilder
