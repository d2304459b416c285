#include "core/records/cp932.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace tomvik::core {
namespace {

// Bytes to skip at a character iconv refused: a whole well-formed UTF-8
// sequence (a character CP932 cannot hold), or one stray byte, so that the
// valid text after a broken sequence is kept.
std::size_t Utf8SkipLength(std::string_view rest) {
  const auto c = static_cast<unsigned char>(rest.front());
  std::size_t length = 1;
  if (c >= 0xF0 && c <= 0xF4)
    length = 4;
  else if (c >= 0xE0 && c <= 0xEF)
    length = 3;
  else if (c >= 0xC2 && c <= 0xDF)
    length = 2;
  if (length > rest.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(rest[i]);
    if (next < 0x80 || next > 0xBF) return 1;
  }
  return length;
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
      const std::size_t n = std::min(inLeft, skip(std::string_view(in, inLeft)));
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

Cp932Codec::Cp932Codec() : toUtf8_(iconv_open("UTF-8", "CP932")), fromUtf8_(iconv_open("CP932", "UTF-8")) {
  if (toUtf8_ == reinterpret_cast<iconv_t>(-1) || fromUtf8_ == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error("iconv has no CP932 conversion");
  }
}

Cp932Codec::~Cp932Codec() {
  iconv_close(toUtf8_);
  iconv_close(fromUtf8_);
}

Converted Cp932Codec::ToUtf8(std::string_view cp932) const {
  return Run(toUtf8_, cp932, "\xEF\xBF\xBD", [](std::string_view) { return std::size_t{1}; });
}

Converted Cp932Codec::FromUtf8(std::string_view utf8) const { return Run(fromUtf8_, utf8, "?", Utf8SkipLength); }

const Cp932Codec& ThreadCodec() {
  thread_local const Cp932Codec codec;
  return codec;
}

Converted Cp932ToUtf8(std::string_view cp932) { return ThreadCodec().ToUtf8(cp932); }

Converted Utf8ToCp932(std::string_view utf8) { return ThreadCodec().FromUtf8(utf8); }

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
