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

// `text` with & < > " escaped for HTML; a file name percent-encoded for a URL.
std::string HtmlEscape(const std::string& text);
std::string UrlPathEscape(const std::string& name);

}  // namespace tavelin
