// An abstract drawing surface in integer pixels. Dialog models paint through
// it; the Qt host draws it with QPainter and tests record it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavelin {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class PenStyle { kSolid, kDot, kDashDot };

struct Pen {
  PenStyle style = PenStyle::kSolid;
  Rgb colour;
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void SelectPen(const Pen& pen) = 0;
  virtual void MoveTo(int x, int y) = 0;
  // A line from the current position to (x, y), which becomes the current position.
  virtual void LineTo(int x, int y) = 0;
  // A counter-clockwise elliptic arc inside `box` from the ray towards
  // (x1, y1) to the ray towards (x2, y2); equal points give the whole ellipse.
  virtual void Arc(const PixelRect& box, int x1, int y1, int x2, int y2) = 0;
  virtual void FillRect(const PixelRect& rect, Rgb colour) = 0;
  virtual void Text(int x, int y, const std::string& text, Rgb colour) = 0;
  // Limits drawing to `rect` (in this canvas's coordinates); nullptr lifts it.
  virtual void SetClip(const PixelRect* rect) = 0;
};

// A canvas that moves everything by (dx, dy) into another canvas: the client
// area of a control inside the dialog's client area.
class OffsetCanvas : public Canvas {
 public:
  OffsetCanvas(Canvas& target, int dx, int dy) : target_(target), dx_(dx), dy_(dy) {}
  void SelectPen(const Pen& pen) override { target_.SelectPen(pen); }
  void MoveTo(int x, int y) override { target_.MoveTo(x + dx_, y + dy_); }
  void LineTo(int x, int y) override { target_.LineTo(x + dx_, y + dy_); }
  void Arc(const PixelRect& box, int x1, int y1, int x2, int y2) override {
    target_.Arc(Shift(box), x1 + dx_, y1 + dy_, x2 + dx_, y2 + dy_);
  }
  void FillRect(const PixelRect& rect, Rgb colour) override { target_.FillRect(Shift(rect), colour); }
  void Text(int x, int y, const std::string& text, Rgb colour) override {
    target_.Text(x + dx_, y + dy_, text, colour);
  }
  void SetClip(const PixelRect* rect) override {
    if (!rect) return target_.SetClip(nullptr);
    PixelRect shifted = Shift(*rect);
    target_.SetClip(&shifted);
  }

 private:
  PixelRect Shift(const PixelRect& r) const {
    return {r.left + dx_, r.top + dy_, r.right + dx_, r.bottom + dy_};
  }
  Canvas& target_;
  int dx_, dy_;
};

// Keeps every call as a line of text ("pen 0 0,0,0", "move 1 2", "line 3 4",
// "arc l t r b x1 y1 x2 y2", "fill l t r b r,g,b", "text x y ...", "clip ...").
class RecordingCanvas : public Canvas {
 public:
  void SelectPen(const Pen& pen) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Arc(const PixelRect& box, int x1, int y1, int x2, int y2) override;
  void FillRect(const PixelRect& rect, Rgb colour) override;
  void Text(int x, int y, const std::string& text, Rgb colour) override;
  void SetClip(const PixelRect* rect) override;

  std::vector<std::string> calls;
  Pen pen;  // the pen selected last
};

class NullCanvas : public Canvas {
 public:
  void SelectPen(const Pen&) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Arc(const PixelRect&, int, int, int, int) override {}
  void FillRect(const PixelRect&, Rgb) override {}
  void Text(int, int, const std::string&, Rgb) override {}
  void SetClip(const PixelRect*) override {}
};

}  // namespace tavelin
