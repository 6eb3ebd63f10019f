// Conversion between the UTF-8 text held in memory and the CP932 (Shift-JIS)
// bytes of the info folder.
#pragma once

#include <string>
#include <string_view>

namespace tavelin {

// Characters without a CP932 form become "?".
std::string Utf8ToCp932(std::string_view utf8);

// Bytes that are not valid CP932 become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

}  // namespace tavelin
