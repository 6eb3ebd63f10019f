// Writes a block as a DXF file of release 2000 (AC1015) through dxflib's
// group-code writer: the insertion base at the origin, millimetres, CP932
// text announced by $DWGCODEPAGE ANSI_932, the symbol tables of the block, its
// entities in model space, and the objects section with every owner handle in
// place, so that readers find nothing to repair, and last its preview
// picture (THUMBNAILIMAGE). The block's own data
// (tables.data) goes as extended data on the first entity, under the
// application registered in the APPID table, and its description also on
// the model-space block.
#pragma once

#include <string>

#include "blockbuilder/tables.hpp"

namespace tavelin::blockbuilder {

// The extents of the block's entities: min x, min y, max x, max y (all 0
// for a block without entities).
void BlockExtents(const Tables& tables, double box[4]);

// The bytes of the DXF file (CP932, CR LF line ends).
std::string WriteDxf(const Tables& tables);

// A DXF real: locale-independent, shortest round-trip digits, never in
// exponent form, always with a decimal point ("1820.0", "-0.5").
std::string DxfReal(double value);

}  // namespace tavelin::blockbuilder
