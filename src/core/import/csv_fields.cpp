#include "core/import/csv_fields.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "core/records/date.h"

namespace tomvik::core {

namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";  // U+3000
constexpr std::string_view kMinusMarks[] = {
    "\xE2\x96\xB2",  // ▲
    "\xE2\x96\xB3",  // △
    "\xE2\x88\x92",  // − (minus sign)
};

// The code point at the front of the text and its length in bytes; a byte
// that does not start a well-formed sequence stands for itself.
std::pair<char32_t, std::size_t> NextCodePoint(std::string_view text) {
  const auto c = static_cast<unsigned char>(text[0]);
  std::size_t length = 1;
  char32_t value = c;
  if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    value = c & 0x07;
  } else if (c >= 0xE0) {
    length = 3;
    value = c & 0x0F;
  } else if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
    value = c & 0x1F;
  } else {
    return {value, 1};
  }
  if (length > text.size()) return {c, 1};
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return {c, 1};
    value = (value << 6) | (next & 0x3F);
  }
  return {value, length};
}

// Full-width ASCII (U+FF01 to U+FF5E) and the ideographic space become
// ASCII; the middle dots become "/"; tortoise-shell brackets become "[" "]".
std::string Narrow(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const auto [cp, length] = NextCodePoint(text);
    if (cp >= 0xFF01 && cp <= 0xFF5E) {
      out += static_cast<char>(cp - 0xFF01 + 0x21);
    } else if (cp == 0x3000) {
      out += ' ';
    } else if (cp == 0x30FB || cp == 0xFF65) {
      out += '/';
    } else if (cp == 0x3014) {
      out += '[';
    } else if (cp == 0x3015) {
      out += ']';
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return out;
}

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<std::vector<std::string>> SplitCsvRecord(std::string_view line) {
  std::vector<std::string> fields;
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.push_back(std::move(field));
      field.clear();
    } else {
      field += c;
    }
  }
  if (quoted) return std::nullopt;
  fields.push_back(std::move(field));
  return fields;
}

std::string_view TrimBlanks(std::string_view text) {
  for (;;) {
    if (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
      text.remove_prefix(1);
    } else if (text.starts_with(kIdeographicSpace)) {
      text.remove_prefix(kIdeographicSpace.size());
    } else {
      break;
    }
  }
  for (;;) {
    if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
      text.remove_suffix(1);
    } else if (text.ends_with(kIdeographicSpace)) {
      text.remove_suffix(kIdeographicSpace.size());
    } else {
      break;
    }
  }
  return text;
}

std::string NarrowText(std::string_view text) { return std::string(TrimBlanks(Narrow(TrimBlanks(text)))); }

std::string CaptionBase(std::string_view caption) {
  const std::string narrow = Narrow(caption);
  std::string out;
  int depth = 0;
  for (char c : narrow) {
    if (c == '(' || c == '[') {
      ++depth;
    } else if ((c == ')' || c == ']') && depth > 0) {
      --depth;
    } else if (depth == 0 && c != ' ' && c != '\t') {
      out += c;
    }
  }
  return out;
}

NumberField ReadNumber(std::string_view text, int decimals) {
  NumberField field;
  std::string narrow = NarrowText(text);
  if (narrow.empty() || narrow == "-" || narrow == "--") return field;
  field.state = NumberField::State::Unreadable;
  bool negative = false;
  std::string_view rest = narrow;
  if (rest.front() == '-' || rest.front() == '+') {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  } else {
    for (std::string_view mark : kMinusMarks) {
      if (rest.starts_with(mark)) {
        negative = true;
        rest.remove_prefix(mark.size());
        break;
      }
    }
  }
  // Digits with optional "," between them, then an optional fraction.
  __extension__ typedef __int128 Wide;
  Wide whole = 0;
  bool anyDigit = false;
  std::size_t i = 0;
  for (; i < rest.size(); ++i) {
    const char c = rest[i];
    if (IsAsciiDigit(c)) {
      whole = whole * 10 + (c - '0');
      anyDigit = true;
      if (whole > Wide(1) << 80) return field;
    } else if (c == ',' && anyDigit && i + 1 < rest.size() && IsAsciiDigit(rest[i + 1])) {
      continue;
    } else {
      break;
    }
  }
  Wide fraction = 0;
  int kept = 0;
  bool roundUp = false;  // the first digit dropped is 5 or more
  bool dropped = false;
  bool lost = false;
  if (i < rest.size() && rest[i] == '.') {
    ++i;
    bool fractionDigit = false;
    for (; i < rest.size() && IsAsciiDigit(rest[i]); ++i) {
      fractionDigit = true;
      if (kept < decimals) {
        fraction = fraction * 10 + (rest[i] - '0');
        ++kept;
      } else {
        if (!dropped) roundUp = rest[i] >= '5';
        dropped = true;
        if (rest[i] != '0') lost = true;
      }
    }
    if (!fractionDigit) return field;
  }
  if (!anyDigit || i != rest.size() || decimals < 0 || decimals > 6) return field;
  Wide scale = 1;
  for (int d = 0; d < decimals; ++d) scale *= 10;
  for (int d = kept; d < decimals; ++d) fraction *= 10;
  Wide value = whole * scale + fraction + (roundUp ? 1 : 0);
  if (negative) value = -value;
  if (value > Wide(INT64_MAX) || value < -Wide(INT64_MAX)) return field;
  field.state = NumberField::State::Value;
  field.value = static_cast<Amount>(value);
  field.lostDecimals = lost;
  return field;
}

std::optional<std::string> ReadDate(std::string_view text) {
  const std::string narrow = NarrowText(text);
  int parts[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int part = 0;
  for (char c : narrow) {
    if (IsAsciiDigit(c)) {
      if (digits[part] >= 4) return std::nullopt;
      parts[part] = parts[part] * 10 + (c - '0');
      ++digits[part];
    } else if ((c == '/' || c == '-') && part < 2 && digits[part] > 0) {
      ++part;
    } else {
      return std::nullopt;
    }
  }
  if (part != 2 || digits[0] != 4 || digits[1] == 0 || digits[1] > 2 || digits[2] == 0 || digits[2] > 2) {
    return std::nullopt;
  }
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", parts[0], parts[1], parts[2]);
  if (!ParseDateText(buffer)) return std::nullopt;
  return std::string(buffer);
}

}  // namespace tomvik::core
