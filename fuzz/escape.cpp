// The escaping of multi-line comments: any text escapes to one line, and
// that line unescapes to the text with its line breaks as CR LF.
#include "core/records/escape.h"
#include "fuzz_check.h"

using namespace tomvik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::Bytes(data, size);
  const std::string escaped = core::EscapeText(input);
  fuzz::Require(escaped.find_first_of("\r\n") == std::string::npos, "an escaped text is one line");
  fuzz::Require(core::UnescapeText(escaped) == core::NormaliseLineBreaks(input),
                "unescaping gives the text back, line breaks as CR LF");
  // What a hand-edited file holds unescapes without a fault, and the
  // result escapes to one line again.
  const std::string unescaped = core::UnescapeText(input);
  fuzz::Require(core::UnescapeText(core::EscapeText(unescaped)) == core::NormaliseLineBreaks(unescaped),
                "an unescaped text escapes and unescapes to itself");
  return 0;
}
