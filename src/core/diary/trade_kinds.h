// The two-digit kind codes of diary rows and what their digits mean.
//
// First digit, the class: 0 day header, 1 plan, 2 opening trade, 3 closing
// trade, 5 registration, 7 cash movement, 9 day end marker. Second digit,
// the side: 1 cash buy or deposit, 2 cash sell or withdrawal, 5 margin buy,
// 6 margin sell, 7 delivery take, 8 delivery give.
#pragma once

#include <string>
#include <string_view>

namespace tomvik::core {

// Second digits 1, 5 and 7 are the buy side.
constexpr bool IsBuySide(char side) { return side == '1' || side == '5' || side == '7'; }
// Second digits 1 and 2 are cash trades; the others margin trades.
constexpr bool IsCashSide(char side) { return side == '1' || side == '2'; }

// The text of the 取引 column for a kind code ("21" gives 買).
std::string KindText(std::string_view code);

// The kind digits of a diary row key, '\0' where the key is too short.
char KindClassOf(std::string_view key);
char KindSideOf(std::string_view key);

}  // namespace tomvik::core
