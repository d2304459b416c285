// The recently-used lists of the combo boxes (charges, stock lines): newest
// first, each entry once, at most a given number of entries.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tomvik::core {

inline constexpr std::size_t kRecentChargeCount = 10;
inline constexpr std::size_t kRecentStockCount = 30;

// What a combo box must do after its list changed.
struct RecentPush {
  bool changed = false;      // the list changed
  bool selectFirst = false;  // the combo's selection becomes item 0
};

// Puts the text first. An empty text changes nothing. A text already in the
// list moves to the front (the list keeps its length and item 0 is selected);
// a new one is inserted and the list trimmed to `max` entries.
RecentPush PushRecentValue(std::vector<std::string>& items, std::size_t max, std::string_view text);

// The same for stock lines "code name": an existing line is found by its
// first four bytes being the code; the new line is code + nameWithBlank.
RecentPush PushRecentStock(std::vector<std::string>& items, std::size_t max, std::string_view code,
                           std::string_view nameWithBlank);

}  // namespace tomvik::core
