// What a holding or a position is worth: its average price and the result
// its shares would realise at the market price.
#pragma once

#include "core/records/amount.h"

namespace tomvik::core {

// Average price of a total over shares; 0 unless there are shares to divide by.
inline Amount AverageOf(Amount total, Amount shares) { return shares > 0 ? total / shares : 0; }

// Unrealised result: market value less cost for the buy side, the reverse
// for the sell side.
inline Amount ValuationOf(bool buy, Amount market, Amount shares, Amount total) {
  const Amount value = SatMul(market, shares);
  return buy ? SatSub(value, total) : SatSub(total, value);
}

}  // namespace tomvik::core
