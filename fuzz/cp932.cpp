// The CP932 codec, both ways, on any bytes: no fault; whatever it gives is
// valid in the other encoding; and a text that CP932 holds goes through the
// file and back unchanged.
#include "core/records/cp932.h"
#include "fuzz_check.h"

using namespace tomvik;

namespace {

// Well-formed UTF-8 without surrogates or code points beyond U+10FFFF.
bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t code = 0;
    if (c < 0x80) {
      length = 1;
      code = c;
    } else if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      code = c & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const core::Cp932Codec codec;
  const std::string_view input = fuzz::Bytes(data, size);

  // The input as the bytes of a file.
  const core::Converted shown = codec.ToUtf8(input);
  fuzz::Require(IsUtf8(shown.text), "decoded text is UTF-8");
  if (!shown.replaced) {
    const core::Converted stored = codec.FromUtf8(shown.text);
    fuzz::Require(!stored.replaced, "a decoded text encodes without loss");
    fuzz::Require(codec.ToUtf8(stored.text).text == shown.text, "a decoded text comes back from the file unchanged");
  }

  // The input as a typed text.
  const core::Converted stored = codec.FromUtf8(input);
  const core::Converted reread = codec.ToUtf8(stored.text);
  fuzz::Require(!reread.replaced, "encoded bytes always decode");
  fuzz::Require(codec.FromUtf8(reread.text).text == stored.text, "stored bytes read and stored again stay the same");
  fuzz::Require(stored.text.size() <= input.size(), "no character takes more bytes in CP932 than in UTF-8");

  // The first N bytes of a text stay within N.
  const std::string_view cut = core::CutAtCharBoundary(input, input.size() / 2);
  fuzz::Require(cut.size() <= input.size() / 2 && input.substr(0, cut.size()) == cut, "a cut is a short prefix");
  return 0;
}
