// Selling a bought holding straight from the holdings tab: the proceeds of
// the sale, and the kind 32 diary row that books it against the holding at
// the shares' proportional cost, into the realised result and the stock's
// buy and sell totals. Deleting the row from the diary takes exactly this
// back out.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/books.h"
#include "core/diary/recording.h"
#include "core/records/amount.h"

namespace tomvik::core {

// quantity x price - charge - tax.
Amount SaleProceeds(Amount price, Amount quantity, Amount charge, Amount tax);

struct SaleEntry {
  std::string date;  // "yyyy/mm/dd"; the day exists in the shown month
  std::string code;  // four characters
  std::string name;
  std::string exchange;
  std::string priceText;
  std::string quantityText;
  std::string chargeText;
  std::string taxText;
  std::string comment;  // CR LF line breaks
};

// Whether the holding at `index` can be sold: a bought holding with shares.
bool CanSell(const Books& books, std::size_t holdingIndex);

// Writes the sale into the diary and books it. Nothing, with nothing
// changed, when the holding cannot be sold.
std::optional<Recorded> SellHolding(Books& books, std::size_t holdingIndex, const SaleEntry& entry);

}  // namespace tomvik::core
