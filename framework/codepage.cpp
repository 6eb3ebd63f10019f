#include "framework/codepage.hpp"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace tavelin {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts `input`; a sequence the target cannot take (or an invalid input
  // sequence of `skip` bytes) is replaced by `replacement`.
  std::string Convert(std::string_view input, std::string_view replacement, bool utf8Input) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    std::string output;
    output.reserve(input.size() * 3 / 2 + 8);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[512];
    while (inLeft > 0) {
      char* out = buffer;
      size_t outLeft = sizeof buffer;
      size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
      output.append(buffer, out - buffer);
      if (result != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: skip one character of input and emit the replacement.
      size_t skip = 1;
      if (utf8Input) {
        unsigned char lead = static_cast<unsigned char>(*in);
        skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (skip > inLeft) skip = inLeft;
      }
      in += skip;
      inLeft -= skip;
      output.append(replacement);
    }
    return output;
  }

 private:
  iconv_t handle_;
};

}  // namespace

std::string Utf8ToCp932(std::string_view utf8) {
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(utf8);
  thread_local Converter converter("CP932", "UTF-8");
  return converter.Convert(utf8, "?", true);
}

std::string Cp932ToUtf8(std::string_view cp932) {
  bool ascii = true;
  for (char c : cp932) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(cp932);
  thread_local Converter converter("UTF-8", "CP932");
  return converter.Convert(cp932, "\xEF\xBF\xBD", false);
}

}  // namespace tavelin
