#include "core/holdings/sale.h"

#include "core/diary/bookkeeping.h"
#include "core/records/cp932_literals.h"
#include "core/records/diary_file.h"
#include "core/records/hold_file.h"

namespace tomvik::core {

Amount SaleProceeds(Amount price, Amount quantity, Amount charge, Amount tax) {
  return SatSub(SatSub(SatMul(price, quantity), charge), tax);
}

bool CanSell(const Books& books, std::size_t holdingIndex) {
  if (holdingIndex >= books.holdings.size()) return false;
  const LedgerRow& holding = books.holdings[holdingIndex];
  return holding.key.size() > kHoldingSideAt && holding.key[kHoldingSideAt] == kBoughtSide &&
         ParseAmount(holding.cell(HoldCol::Shares)) > 0;
}

std::optional<Recorded> SellHolding(Books& books, std::size_t holdingIndex, const SaleEntry& entry) {
  if (!CanSell(books, holdingIndex)) return std::nullopt;
  const Amount proceeds = SaleProceeds(ParseAmount(entry.priceText), ParseAmount(entry.quantityText),
                                       ParseAmount(entry.chargeText), ParseAmount(entry.taxText));
  LedgerRow row;
  row.key = entry.date + "32" + entry.code;
  row.cells.assign(DiaryCol::Count, std::string());
  row.cells[DiaryCol::Kind] = std::string(sjis::kSell);
  row.cells[DiaryCol::Stock] = entry.code + " " + entry.name;
  row.cells[DiaryCol::Exchange] = entry.exchange;
  row.cells[DiaryCol::Price] = entry.priceText;
  row.cells[DiaryCol::Quantity] = entry.quantityText;
  row.cells[DiaryCol::Charge] = entry.chargeText;
  row.cells[DiaryCol::Tax] = entry.taxText;
  row.cells[DiaryCol::Amount] = FormatAmount(proceeds);
  row.cells[DiaryCol::Comment] = entry.comment;

  Recorded recorded;
  recorded.otherLedgers = true;
  recorded.holdingKey = books.holdings[holdingIndex].key;
  recorded.stockCode = entry.code;
  // The holding gives up the shares at their proportional cost.
  const HoldingChange change = ApplyToHolding(books, holdingIndex, row);
  const Amount cost = ParseAmount(change.costText);
  row.cells[DiaryCol::Cost] = change.costText;
  row.cells[DiaryCol::Profit] = FormatAmount(SatSub(proceeds, cost));
  AddToStockTotals(books, entry.code, cost, proceeds);
  recorded.index = books.diary.insert(std::move(row));
  RecomputeDay(books.diary, recorded.index);
  books.unsaved.diary = true;
  return recorded;
}

}  // namespace tomvik::core
