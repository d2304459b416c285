// Splitting file contents into lines and joining lines with CR LF.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace tomvik::core {

// Lines split at CR LF, CR or LF. A final line break ends the last line; it
// does not start an empty one.
std::vector<std::string> SplitLines(std::string_view content);

// The same lines handed one at a time to `take`, as views into the content.
template <typename Take>
void ForEachLine(std::string_view content, Take&& take) {
  const char* const begin = content.data();
  const char* const end = begin + content.size();
  const char* start = begin;
  for (const char* at = begin; at < end;) {
    const char c = *at;
    if (c == '\r' || c == '\n') {
      take(std::string_view(start, static_cast<std::size_t>(at - start)));
      if (c == '\r' && at + 1 < end && at[1] == '\n') ++at;
      start = ++at;
    } else {
      ++at;
    }
  }
  if (start < end) take(std::string_view(start, static_cast<std::size_t>(end - start)));
}

// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// The first `count` bytes of a text, or all of it when it is shorter.
inline std::string_view Head(std::string_view text, std::size_t count) {
  return text.substr(0, std::min(count, text.size()));
}
// The text from byte `from` on, or empty when it is shorter.
inline std::string_view From(std::string_view text, std::size_t from) {
  return from < text.size() ? text.substr(from) : std::string_view();
}
// `count` bytes from byte `from`, as far as the text reaches.
inline std::string_view Mid(std::string_view text, std::size_t from, std::size_t count) {
  return Head(From(text, from), count);
}

// Cuts the text before the next "," off the front of `rest` (the "," goes
// too). Without a "," the piece is empty and `rest` stays whole, so the last
// field of a record takes whatever remains.
std::string TakeCommaField(std::string_view& rest);

}  // namespace tomvik::core
