#include "core/records/recent_list.h"

#include <algorithm>

namespace tomvik::core {
namespace {

template <typename Matches>
RecentPush Push(std::vector<std::string>& items, std::size_t max, std::string line, Matches matches) {
  const auto found = std::find_if(items.begin(), items.end(), matches);
  if (found == items.end()) {
    items.insert(items.begin(), std::move(line));
    if (items.size() > max) items.erase(items.begin() + static_cast<std::ptrdiff_t>(max));
    return {true, false};
  }
  const auto at = found - items.begin();
  items.insert(items.begin(), std::move(line));
  items.erase(items.begin() + at + 1);
  return {true, true};
}

}  // namespace

RecentPush PushRecentValue(std::vector<std::string>& items, std::size_t max, std::string_view text) {
  if (text.empty()) return {};
  return Push(items, max, std::string(text), [&](const std::string& item) { return item == text; });
}

RecentPush PushRecentStock(std::vector<std::string>& items, std::size_t max, std::string_view code,
                           std::string_view nameWithBlank) {
  std::string line = std::string(code) + std::string(nameWithBlank);
  return Push(items, max, std::move(line),
              [&](const std::string& item) { return std::string_view(item).substr(0, 4) == code; });
}

}  // namespace tomvik::core
