// The pieces of a broker's CSV line: fields, the texts in them and the
// numbers they write.
//
// Every function here works on UTF-8 text (the reader decodes CP932 files
// first). Numbers come as brokers write them: with or without "," between
// thousands, quoted or not, with decimals, "-" or "--" for an empty field,
// "▲" or "△" for a minus.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/amount.h"

namespace tomvik::core {

// Splits one CSV record at its commas. A field may stand in double quotes,
// where "," is text and "" is one quote. Nothing when a quote is left open.
std::optional<std::vector<std::string>> SplitCsvRecord(std::string_view line);

// Blanks (also the ideographic space) cut off both ends.
std::string_view TrimBlanks(std::string_view text);

// A column caption reduced to what tells it apart: full-width letters,
// digits, brackets and slashes made ASCII, "・" made "/", blanks removed,
// and every bracketed part ("[円]", "(株/口)") dropped.
std::string CaptionBase(std::string_view caption);
// Full-width ASCII made ASCII and the ends trimmed (kind texts, numbers).
std::string NarrowText(std::string_view text);

// A number field: empty ("", "-", "--"), a value, or unreadable.
struct NumberField {
  enum class State { Empty, Value, Unreadable } state = State::Empty;
  Amount value = 0;           // scaled by 10^decimals
  bool lostDecimals = false;  // more decimals than kept (rounded half away from zero)

  bool empty() const { return state == State::Empty; }
  bool ok() const { return state == State::Value; }
};
// Reads a number, scaled by 10^decimals (decimals 0 to 6).
NumberField ReadNumber(std::string_view text, int decimals);

// "2025/5/16", "2025/05/16" or "2025-05-16" as "2025/05/16"; nothing for
// anything else or an impossible date.
std::optional<std::string> ReadDate(std::string_view text);

}  // namespace tomvik::core
