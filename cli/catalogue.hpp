// The picture catalogue of a block folder: index.html with one SVG picture
// per block, drawn from the block's own entities in their colour indices,
// with its name, generator and dimensions and a link to its DXF file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "framework/block_entities.hpp"

namespace tavelin {

// The RGB of a colour index 1 to 255 as "#rrggbb" (7 is white: the pictures
// have the dark ground of a CAD drawing area).
std::string AciColour(int index);

// An SVG picture of `entities`, y up, fitted to its extents with a margin.
std::string BlockSvg(const std::vector<blockbuilder::Entity>& entities, int pixelWidth = 220,
                     int pixelHeight = 180);

struct CatalogueEntry {
  std::string blockName;
  std::string generator;   // caption of the generator
  std::string dimensions;  // "W1=400 R=200 ..."
  std::vector<std::string> warnings;
  std::string note;  // the list's own words for the row ("note", "備考")
  std::vector<blockbuilder::Entity> entities;
};

// A row of the list that gave no block, as a spreadsheet numbers it.
struct RefusedRow {
  int row = 0;
  std::string stem;
  std::string reason;
  std::string note;
};

// Writes `folder`/index.html, linking each block's "<name>.dxf" relatively,
// after the rows that gave no block with their reasons. Throws FileError
// when it cannot be written.
void WriteCatalogue(const std::filesystem::path& folder,
                    const std::vector<CatalogueEntry>& entries,
                    const std::vector<RefusedRow>& refused = {});

// index.html written a block at a time, so that a batch of any size keeps no
// pictures: each figure goes to a temporary file beside the page as its block
// is written, and Finish puts the page together whole (a temporary file and a
// rename, as every file). The temporary file goes with the writer.
class CatalogueWriter {
 public:
  explicit CatalogueWriter(std::filesystem::path folder);
  ~CatalogueWriter();
  CatalogueWriter(const CatalogueWriter&) = delete;
  CatalogueWriter& operator=(const CatalogueWriter&) = delete;

  // Adds the block's figure; returns its number.
  size_t Add(const CatalogueEntry& entry);
  // Leaves figure `figure` out of the page (a later block took its name).
  void Drop(size_t figure);
  // Writes `folder`/index.html, the rows that gave no block first. Throws FileError.
  void Finish(const std::vector<RefusedRow>& refused = {});

 private:
  std::filesystem::path folder_;
  std::filesystem::path figuresPath_;
  int figures_ = -1;
  std::string error_;  // why the figures could not be kept
  std::vector<size_t> figureSizes_;
  std::vector<size_t> dropped_;
};

// `text` with & < > " escaped for HTML; a file name percent-encoded for a URL.
std::string HtmlEscape(const std::string& text);
std::string UrlPathEscape(const std::string& name);

}  // namespace tavelin
