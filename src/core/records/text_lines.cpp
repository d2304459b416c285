#include "core/records/text_lines.h"

namespace tomvik::core {

std::vector<std::string> SplitLines(std::string_view content) {
  std::vector<std::string> lines;
  ForEachLine(content, [&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (const auto& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::string TakeCommaField(std::string_view& rest) {
  const auto comma = rest.find(',');
  if (comma == std::string_view::npos) return std::string();
  std::string piece(rest.substr(0, comma));
  rest.remove_prefix(comma + 1);
  return piece;
}

}  // namespace tomvik::core
