// The preview picture a DXF file may carry in its THUMBNAILIMAGE section: a
// device-independent bitmap (BITMAPINFOHEADER, palette, bottom-up rows,
// without the file header) of the block's entities, black on white, fitted
// with a margin. Programs that open or list DXF files show it.
#pragma once

#include <string>

#include "blockbuilder/tables.hpp"

namespace tavelin::blockbuilder {

inline constexpr int kThumbnailWidth = 180;
inline constexpr int kThumbnailHeight = 120;

// The bitmap's bytes: one bit a pixel, palette white (0) and black (1).
std::string ThumbnailBitmap(const Tables& tables, int width = kThumbnailWidth,
                            int height = kThumbnailHeight);

}  // namespace tavelin::blockbuilder
