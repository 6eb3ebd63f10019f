#include "cli/catalogue.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

#include "framework/info_folder.hpp"

namespace tavelin {
namespace {

using blockbuilder::Entity;
using blockbuilder::EntityKind;

constexpr double kPi = 3.14159265358979323846;

std::string Hex(int r, int g, int b) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", r & 255, g & 255, b & 255);
  return text;
}

// Coordinates for SVG: plain decimals with at most three places.
std::string Num(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.3f", value);
  std::string s(text);
  // "%f" follows the C locale here: the program never sets another.
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

struct Box {
  double x0 = std::numeric_limits<double>::infinity(), y0 = x0;
  double x1 = -x0, y1 = -x0;
  void Add(double x, double y) {
    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
  }
  bool Empty() const { return !(x0 <= x1 && y0 <= y1); }
};

// Whether the counter-clockwise arc from `start` to `end` (degrees in [0, 360)) passes `angle`.
bool ArcPasses(double start, double end, double angle) {
  double span = end - start;
  if (span <= 0) span += 360.0;
  double at = angle - start;
  if (at < 0) at += 360.0;
  return at <= span;
}

void AddEntity(Box& box, const Entity& e) {
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
      for (double a : {e.v[3], e.v[4]})
        box.Add(cx + r * std::cos(a * kPi / 180), cy + r * std::sin(a * kPi / 180));
      for (int q = 0; q < 4; ++q) {
        if (ArcPasses(e.v[3], e.v[4], q * 90.0)) {
          box.Add(cx + r * std::cos(q * kPi / 2), cy + r * std::sin(q * kPi / 2));
        }
      }
      break;
    }
  }
}

}  // namespace

std::string AciColour(int index) {
  static const int kBasic[10][3] = {{0, 0, 0},       {255, 0, 0},    {255, 255, 0}, {0, 255, 0},
                                    {0, 255, 255},   {0, 0, 255},    {255, 0, 255}, {255, 255, 255},
                                    {128, 128, 128}, {192, 192, 192}};
  if (index >= 0 && index <= 9) return Hex(kBasic[index][0], kBasic[index][1], kBasic[index][2]);
  if (index >= 250 && index <= 255) {
    static const int kGreys[6] = {51, 80, 105, 130, 190, 255};
    const int g = kGreys[index - 250];
    return Hex(g, g, g);
  }
  if (index < 10 || index > 255) return Hex(255, 255, 255);
  // 10 to 249: 24 hues 15 degrees apart, each in five shades of full and of
  // half saturation.
  const double hue = ((index - 10) / 10) * 15.0;
  const int shade = index % 10;
  static const double kValue[5] = {1.0, 0.8, 0.6, 0.5, 0.3};
  const double value = kValue[shade / 2];
  const double saturation = shade % 2 == 0 ? 1.0 : 0.5;
  const double c = value * saturation;
  const double h = hue / 60.0;
  const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  if (h < 1)
    r = c, g = x;
  else if (h < 2)
    r = x, g = c;
  else if (h < 3)
    g = c, b = x;
  else if (h < 4)
    g = x, b = c;
  else if (h < 5)
    r = x, b = c;
  else
    r = c, b = x;
  const double m = value - c;
  return Hex(static_cast<int>(std::lround((r + m) * 255)),
             static_cast<int>(std::lround((g + m) * 255)),
             static_cast<int>(std::lround((b + m) * 255)));
}

std::string BlockSvg(const std::vector<Entity>& entities, int pixelWidth, int pixelHeight) {
  Box box;
  for (const Entity& e : entities) AddEntity(box, e);
  if (box.Empty()) box.Add(0, 0);
  // A margin of 5 % of the larger side, so that lines on the edge stay whole.
  const double margin = std::max({box.x1 - box.x0, box.y1 - box.y0, 1.0}) * 0.05;
  const double x0 = box.x0 - margin, width = box.x1 - box.x0 + 2 * margin;
  const double top = -(box.y1 + margin), height = box.y1 - box.y0 + 2 * margin;
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    std::to_string(pixelWidth) + "\" height=\"" + std::to_string(pixelHeight) +
                    "\" viewBox=\"" + Num(x0) + " " + Num(top) + " " + Num(width) + " " +
                    Num(height) +
                    "\" preserveAspectRatio=\"xMidYMid meet\">"
                    "<g fill=\"none\" stroke-width=\"1.2\" vector-effect=\"non-scaling-stroke\">";
  // The drawing's y points up; the picture's down: every y is negated.
  for (const Entity& e : entities) {
    const std::string stroke =
        " stroke=\"" + AciColour(e.attributes.colour) + "\" vector-effect=\"non-scaling-stroke\"/>";
    switch (e.kind) {
      case EntityKind::kLine:
        svg += "<line x1=\"" + Num(e.v[0]) + "\" y1=\"" + Num(-e.v[1]) + "\" x2=\"" + Num(e.v[2]) +
               "\" y2=\"" + Num(-e.v[3]) + "\"" + stroke;
        break;
      case EntityKind::kCircle:
        svg += "<circle cx=\"" + Num(e.v[0]) + "\" cy=\"" + Num(-e.v[1]) + "\" r=\"" + Num(e.v[2]) +
               "\"" + stroke;
        break;
      case EntityKind::kArc: {
        const double cx = e.v[0], cy = e.v[1], r = e.v[2];
        double span = e.v[4] - e.v[3];
        if (span <= 0) span += 360.0;
        const double a0 = e.v[3] * kPi / 180, a1 = e.v[4] * kPi / 180;
        // Counter-clockwise with y up is the negative sweep once y is negated.
        svg += "<path d=\"M" + Num(cx + r * std::cos(a0)) + " " + Num(-(cy + r * std::sin(a0))) +
               " A" + Num(r) + " " + Num(r) + " 0 " + (span > 180 ? "1" : "0") + " 0 " +
               Num(cx + r * std::cos(a1)) + " " + Num(-(cy + r * std::sin(a1))) + "\"" + stroke;
        break;
      }
    }
  }
  svg += "</g></svg>";
  return svg;
}

std::string HtmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string UrlPathEscape(const std::string& name) {
  std::string out;
  for (unsigned char c : name) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

namespace {

// "W1=400 R=200 S=2 / 0": each value whole on its line ("S=2 / 0" is one),
// the line breaking only between values.
std::string UnbrokenValues(const std::string& text) {
  std::vector<std::string> groups;
  bool joinNext = false;
  size_t at = 0;
  while (at < text.size()) {
    size_t space = text.find(' ', at);
    if (space == std::string::npos) space = text.size();
    const std::string word = text.substr(at, space - at);
    at = space + 1;
    if (word.empty()) continue;
    if (word == "/" && !groups.empty()) {
      groups.back() += " /";
      joinNext = true;
    } else if (joinNext) {
      groups.back() += " " + word;
      joinNext = false;
    } else {
      groups.push_back(word);
    }
  }
  std::string html;
  for (const std::string& group : groups) {
    html += (html.empty() ? "" : " ") + std::string("<span class=\"v\">") + HtmlEscape(group) +
            "</span>";
  }
  return html;
}

std::string CatalogueHead(size_t count, const std::vector<RefusedRow>& refused) {
  std::string title = "ブロック一覧（" + std::to_string(count) + " 個";
  if (!refused.empty()) title += "、作成できなかった行 " + std::to_string(refused.size());
  title += "）";
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>ブロック一覧</title>\n<style>\n"
      "body{font-family:sans-serif;margin:16px;background:#f4f4f4;color:#222}\n"
      "h1{font-size:20px}\nh2{font-size:16px}\n"
      ".grid{display:flex;flex-wrap:wrap;gap:12px}\n"
      "figure{margin:0;width:232px;background:#fff;border:1px solid #ccc;padding:6px}\n"
      "figure svg{display:block;background:#1e1e1e}\n"
      "figcaption{font-size:12px;margin-top:4px}\n"
      ".name{font-weight:bold;word-break:break-all}\n.v{white-space:nowrap}\n"
      ".warn{color:#b00000}\n.note{color:#225}\n"
      ".refused{background:#fff;border:1px solid #d99;padding:6px 12px;margin-bottom:12px}\n"
      ".refused li{margin:2px 0}\n"
      "</style>\n</head>\n<body>\n<h1>" +
      title + "</h1>\n";
  if (!refused.empty()) {
    html += "<div class=\"refused\"><h2>作成できなかった行</h2>\n<ul>\n";
    for (const RefusedRow& row : refused) {
      html += "<li id=\"row" + std::to_string(row.row) + "\"><span class=\"v\">行 " +
              std::to_string(row.row) + "</span> " + HtmlEscape(row.stem) +
              "：<span class=\"warn\">" + HtmlEscape(row.reason) + "</span>";
      if (!row.note.empty()) html += " <span class=\"note\">" + HtmlEscape(row.note) + "</span>";
      html += "</li>\n";
    }
    html += "</ul></div>\n";
  }
  html += "<div class=\"grid\">\n";
  return html;
}

std::string CatalogueFigure(const CatalogueEntry& entry) {
  const std::string link = UrlPathEscape(entry.blockName + ".dxf");
  std::string html = "<figure id=\"" + HtmlEscape(UrlPathEscape(entry.blockName)) +
                     "\"><a href=\"" + link + "\">" + BlockSvg(entry.entities) +
                     "</a>\n<figcaption><a class=\"name\" href=\"" + link + "\">" +
                     HtmlEscape(entry.blockName) + "</a><br>" + HtmlEscape(entry.generator) +
                     "<br>" + UnbrokenValues(entry.dimensions);
  if (!entry.note.empty()) html += "<br><span class=\"note\">" + HtmlEscape(entry.note) + "</span>";
  for (const std::string& warning : entry.warnings) {
    html += "<br><span class=\"warn\">" + HtmlEscape(warning) + "</span>";
  }
  html += "</figcaption></figure>\n";
  return html;
}

const char* const kCatalogueTail = "</div>\n</body>\n</html>\n";

// All of `bytes` to `fd`; false with errno set when it cannot.
bool WriteAll(int fd, const char* bytes, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

CatalogueWriter::CatalogueWriter(std::filesystem::path folder) : folder_(std::move(folder)) {}

CatalogueWriter::~CatalogueWriter() {
  if (figures_ >= 0) {
    ::close(figures_);
    ::unlink(figuresPath_.c_str());
  }
}

size_t CatalogueWriter::Add(const CatalogueEntry& entry) {
  // The figures wait in a file beside the page, named as a temporary file of
  // this process: a later write into the folder removes it should the batch be killed.
  if (figures_ < 0 && error_.empty()) {
    figuresPath_ = folder_ / ("index.html.figures.tmp" + std::to_string(::getpid()) + "_0");
    figures_ = ::open(figuresPath_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (figures_ < 0) error_ = std::strerror(errno);
  }
  const std::string html = CatalogueFigure(entry);
  if (error_.empty() && !WriteAll(figures_, html.data(), html.size())) error_ = std::strerror(errno);
  figureSizes_.push_back(html.size());
  return figureSizes_.size() - 1;
}

void CatalogueWriter::Drop(size_t figure) {
  if (figure < figureSizes_.size()) dropped_.push_back(figure);
}

void CatalogueWriter::Finish(const std::vector<RefusedRow>& refused) {
  const std::filesystem::path page = folder_ / "index.html";
  if (!error_.empty()) throw FileError(page, error_, FileOperation::kWrite);
  std::sort(dropped_.begin(), dropped_.end());
  dropped_.erase(std::unique(dropped_.begin(), dropped_.end()), dropped_.end());
  std::filesystem::path temp = page;
  temp += ".tmp" + std::to_string(::getpid()) + "_0";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw FileError(page, std::strerror(errno), FileOperation::kWrite);
  auto fail = [&](int error) {
    ::close(fd);
    ::unlink(temp.c_str());
    throw FileError(page, std::strerror(error), FileOperation::kWrite);
  };
  const std::string head = CatalogueHead(figureSizes_.size() - dropped_.size(), refused);
  if (!WriteAll(fd, head.data(), head.size())) fail(errno);
  // The figures in their order, a piece at a time, without the dropped ones.
  std::vector<char> buffer(1 << 16);
  off_t at = 0;
  size_t nextDropped = 0;
  for (size_t i = 0; i < figureSizes_.size(); ++i) {
    const size_t size = figureSizes_[i];
    const bool keep = nextDropped == dropped_.size() || dropped_[nextDropped] != i;
    if (!keep) ++nextDropped;
    for (size_t done = 0; keep && done < size;) {
      const size_t want = std::min(buffer.size(), size - done);
      const ssize_t got = ::pread(figures_, buffer.data(), want, at + static_cast<off_t>(done));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) fail(got < 0 ? errno : EIO);
      if (!WriteAll(fd, buffer.data(), static_cast<size_t>(got))) fail(errno);
      done += static_cast<size_t>(got);
    }
    at += static_cast<off_t>(size);
  }
  if (!WriteAll(fd, kCatalogueTail, std::strlen(kCatalogueTail))) fail(errno);
  // The page reaches the disk before its name points at it.
  if (::fsync(fd) != 0) fail(errno);
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    throw FileError(page, std::strerror(error), FileOperation::kWrite);
  }
  if (::rename(temp.c_str(), page.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    throw FileError(page, std::strerror(error), FileOperation::kWrite);
  }
}

void WriteCatalogue(const std::filesystem::path& folder,
                    const std::vector<CatalogueEntry>& entries,
                    const std::vector<RefusedRow>& refused) {
  CatalogueWriter writer(folder);
  for (const CatalogueEntry& entry : entries) writer.Add(entry);
  writer.Finish(refused);
}

}  // namespace tavelin
