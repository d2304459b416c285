#include "core/records/cp932.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace tomvik::core {
namespace {

// Length of the UTF-8 sequence that starts with this byte (1 for a stray one).
std::size_t Utf8SequenceLength(unsigned char c) {
  if (c >= 0xF0 && c <= 0xF4) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC2 && c <= 0xDF) return 2;
  return 1;
}

// Runs iconv over the whole input. On a character it cannot convert it writes
// `replacement` and skips what `skip` says; a cut character at the end is
// replaced too and ends the conversion.
template <typename Skip>
Converted Run(iconv_t cd, std::string_view input, std::string_view replacement, Skip skip) {
  Converted result;
  result.text.reserve(input.size() * 2 + 8);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    result.text.append(buffer, static_cast<std::size_t>(out - buffer));
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    result.replaced = true;
    result.text += replacement;
    if (errno == EILSEQ) {
      const std::size_t n = std::min(inLeft, skip(static_cast<unsigned char>(*in)));
      in += n;
      inLeft -= n;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    } else {
      break;  // EINVAL: an incomplete character at the end
    }
  }
  return result;
}

}  // namespace

Cp932Codec::Cp932Codec()
    : toUtf8_(iconv_open("UTF-8", "CP932")), fromUtf8_(iconv_open("CP932", "UTF-8")) {
  if (toUtf8_ == reinterpret_cast<iconv_t>(-1) || fromUtf8_ == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error("iconv has no CP932 conversion");
  }
}

Cp932Codec::~Cp932Codec() {
  iconv_close(toUtf8_);
  iconv_close(fromUtf8_);
}

Converted Cp932Codec::ToUtf8(std::string_view cp932) const {
  return Run(toUtf8_, cp932, "\xEF\xBF\xBD", [](unsigned char) { return std::size_t{1}; });
}

Converted Cp932Codec::FromUtf8(std::string_view utf8) const {
  return Run(fromUtf8_, utf8, "?", Utf8SequenceLength);
}

Converted Cp932ToUtf8(std::string_view cp932) { return Cp932Codec().ToUtf8(cp932); }

Converted Utf8ToCp932(std::string_view utf8) { return Cp932Codec().FromUtf8(utf8); }

std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t i = 0;
  while (i < maxBytes) {
    const std::size_t width = IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + width > maxBytes) break;
    i += width;
  }
  return text.substr(0, i);
}

}  // namespace tomvik::core
