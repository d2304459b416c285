// What every fuzz target shares: the input as bytes, and a property that
// fails as a crash, so that libFuzzer keeps the input that broke it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace tomvik::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

// The records of a ledger file as a sorted list: each line that does not
// begin with a blank, with the comment lines that follow it; empty lines do
// not count.
inline std::vector<std::string> Records(std::string_view file) {
  std::vector<std::string> records;
  std::size_t start = 0;
  while (start < file.size()) {
    std::size_t end = file.find('\n', start);
    if (end == std::string_view::npos) end = file.size();
    const std::string_view line = file.substr(start, end - start);
    start = end + 1;
    if (line.empty() || line == "\r") continue;
    if (line.front() == ' ' && !records.empty()) {
      records.back() += '\n';
      records.back() += line;
    } else {
      records.emplace_back(line);
    }
  }
  std::sort(records.begin(), records.end());
  return records;
}

// Saving what was read loses no record and settles: the second save (of
// the first save's file, read again) has as many records as the first, and
// a third save gives the bytes of the second. A record may change once: a
// row of a hand-edited file whose fields are too short for the places its
// key and kind are read from gets them anew from the line the first save
// wrote; and rows may then sort differently.
template <typename Save>
void RequireSavesSettle(std::string_view input, Save save) {
  const std::string first = save(input);
  const std::string second = save(first);
  Require(Records(second).size() == Records(first).size(), "a second save keeps every record of the first");
  Require(save(second) == second, "a third save gives the bytes of the second");
}

}  // namespace tomvik::fuzz
