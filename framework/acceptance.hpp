// What the block builder accepts, checked before it is started: the same
// name and record readers it uses, run on the hand-off a dialog is about to
// give it. A dialog that passes this check is never told "ready" for a block
// that is refused or drawn with records missing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavelin {

// Bytes of a block name, leaving room in a file name for ".dxf" and the
// temporary suffix used while writing.
inline constexpr size_t kMaxBlockNameBytes = 200;

// Why `name` cannot be a block file name, or "" when it can. A name must not
// be empty, start with ".", hold "/", "\", control characters or characters
// that could not be read, or be longer than kMaxBlockNameBytes.
std::string RefusedBlockName(std::string_view name);

// Why the builder would not draw these records whole under this name, in
// words for the user (what to change), or "" when it would. Every record must
// be read (no coordinate that is not a finite number within the builder's
// limit, no arc without a radius), and at least one must be drawn. "CK", the
// straight duct, is checked with `chokuLines`, the lines of "Choku.ini".
std::string RefusedHandOff(const std::vector<std::string>& records, std::string_view blockName,
                           const std::vector<std::string>& chokuLines = {});

}  // namespace tavelin
