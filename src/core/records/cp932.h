// Conversion between CP932 (Shift-JIS as Windows writes it) and UTF-8, and
// byte helpers for CP932 texts.
//
// Core keeps every text as CP932 bytes; conversion happens only where a text
// meets the display. Nothing is lost silently: a character that CP932 cannot
// hold becomes "?", a byte that is not CP932 becomes U+FFFD, and the result
// tells that it happened.
#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

namespace tomvik::core {

struct Converted {
  std::string text;
  bool replaced = false;  // some character could not be converted
};

// Owns the two iconv conversion descriptors; one per thread of use.
class Cp932Codec {
 public:
  Cp932Codec();
  ~Cp932Codec();
  Cp932Codec(const Cp932Codec&) = delete;
  Cp932Codec& operator=(const Cp932Codec&) = delete;

  Converted ToUtf8(std::string_view cp932) const;
  Converted FromUtf8(std::string_view utf8) const;

 private:
  iconv_t toUtf8_;
  iconv_t fromUtf8_;
};

// The calling thread's own codec, opened at its first use: opening iconv
// costs far more than a short conversion. Each conversion starts from a
// reset state, so one call never affects the next.
const Cp932Codec& ThreadCodec();

// Conversions with the thread's codec.
Converted Cp932ToUtf8(std::string_view cp932);
Converted Utf8ToCp932(std::string_view utf8);

// True for the first byte of a double-byte CP932 character.
constexpr bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The longest prefix of at most maxBytes bytes that does not split a
// double-byte character.
std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes);

}  // namespace tomvik::core
