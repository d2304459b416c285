#include "core/records/text_lines.h"

namespace tomvik::core {

std::vector<std::string> SplitLines(std::string_view content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < content.size()) {
    const char c = content[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(content.substr(start, i - start));
      if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
      ++i;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < content.size()) lines.emplace_back(content.substr(start));
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
