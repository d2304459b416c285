// Multi-line comments kept on one line of a file.
//
// "%" is written "%%" and every line break "%n". A CR LF pair is one line
// break; so is a lone CR or a lone LF, which therefore reads back as CR LF and
// can never split a stored line. UnescapeText is the exact inverse for every
// text whose line breaks are CR LF pairs.
#pragma once

#include <string>
#include <string_view>

namespace tomvik::core {

std::string EscapeText(std::string_view text);
std::string UnescapeText(std::string_view text);

// The text with every lone CR or lone LF turned into CR LF.
std::string NormaliseLineBreaks(std::string_view text);

}  // namespace tomvik::core
