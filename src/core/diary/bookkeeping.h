// The bookkeeping that carries one diary row into the other ledgers and
// takes it back out again: cash holdings, margin positions, the stock
// master's buy and sell totals and the account summary.
//
// Every operation that changes a holding or a position recomputes the
// summary (holdings totals first, then the account figures with the
// realised amount it books) and marks the holdings unsaved (the summary's
// stored figures are saved with them); position operations also mark the
// positions unsaved, stock totals the stock master. Each undo takes back
// exactly what its row booked, so recording and removing a row leaves every
// ledger as it was.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/books.h"
#include "core/records/amount.h"
#include "core/records/ledger_table.h"

namespace tomvik::core {

// a x b / c, truncated toward zero, without overflow of the product; 0 when
// c is 0; saturated when the result leaves the 64-bit range.
Amount MulDiv(Amount a, Amount b, Amount c);

// The stock code of a diary row: the first four bytes of its 銘柄 column.
std::string StockCodeOf(const LedgerRow& diaryRow);

// The first holding whose key begins with the code: 0 when there is none,
// its index + 1 when its side character is `side`, else -(index + 1).
long FindHolding(const Books& books, char side, std::string_view code);

// Opens a holding from a cash buy or sell row (or a delivery take) with the
// given unit and market price texts. Returns the new holding's index.
std::size_t OpenHolding(Books& books, const LedgerRow& diaryRow, std::string_view unitText, std::string_view priceText);

struct HoldingChange {
  std::string costText;              // the cost of the shares closed; "" when shares were added
  Amount realised = 0;               // booked to the realised result
  std::optional<std::size_t> index;  // the holding, unless it was removed
};
// Adds the row to the holding (same side, or a delivery take), or closes
// the row's shares of it at their proportional cost (other side). Closing
// more shares than a provisional holding gave back takes the rest from the
// holding it will be merged into, at that holding's proportional cost.
HoldingChange ApplyToHolding(Books& books, std::size_t holdingIndex, const LedgerRow& diaryRow);

struct PositionOpened {
  std::string sequence;  // "001", "002", ...
  std::size_t index;     // of the new position
};
// Opens a margin position from a kind 25 or 26 row dated `dateText`: the
// day counter goes up by one and labels the position and the day header.
PositionOpened OpenPosition(Books& books, const LedgerRow& diaryRow, std::string_view dateText,
                            std::string_view unitText, int& dayCounter);

// Adds to the stock master's buy and sell totals of the code; a code
// without a row gets one from Code.txt. Returns the row's index.
std::size_t AddToStockTotals(Books& books, std::string_view code, Amount buy, Amount sell);

// What an undo did besides the ledgers.
struct UndoResult {
  bool provisionalHolding = false;  // a holding under code "0000" waits for MergeProvisionalHolding
  bool holdingRestored = false;     // a holding was re-created from the row
  bool stockTotalsChanged = false;
  std::optional<std::size_t> positionIndex;  // the position put back (margin rows)
};

// Takes back the effect of a row whose second kind digit is 0, 1 or 2
// (headers, plans, cash trades, cash registrations, cash movements): a
// header's flat charge and a cash movement's net amount go back out of the
// realised result; an opening trade's shares and amount come out of the
// holding of its code and side (one with negative figures when there is
// none); a closing trade's shares come back at their cost (保有) in a
// provisional holding, and its result (from 金額 and 保有) and its stock
// totals are taken back.
UndoResult UndoCashRow(Books& books, const LedgerRow& diaryRow, std::string_view unitText);
// Adds a holding made from the row under the given code (not selected), and
// takes the row's profit back out of the realised result.
std::size_t RestoreHolding(Books& books, const LedgerRow& diaryRow, std::string_view code, std::string_view unitText);
// Folds a holding under code "0000" into the holding of its real code.
void MergeProvisionalHolding(Books& books);
// Takes back the effect of a row whose second kind digit is 5 to 8 (new
// positions, settlements, margin registrations): a new position's shares
// and amount come out of its position; a settlement puts its shares and
// their opening cost back into the position (re-created when it was closed)
// and takes back its stock totals, its realised result and, for a
// delivery, its change of the bought holding.
UndoResult UndoMarginRow(Books& books, const LedgerRow& diaryRow, std::string_view unitText);

// Settlement: the position loses n shares and `cost` of its total, the
// opening cost its diary row books (保有 for a repayment, 金額 for a
// delivery, both position total x n / position shares); `profit` is booked
// to the realised result.
void ReducePosition(Books& books, std::size_t positionIndex, Amount n, Amount cost, Amount profit);
// Delivery take: the row's shares and amount go into the bought holding of
// the code, or open one with the unit and market price texts.
HoldingChange TakeDelivery(Books& books, const LedgerRow& diaryRow27, std::string_view code, std::string_view unitText,
                           std::string_view marketText);
// Delivery give: the bought holding of the code loses n shares and `cost`
// of its total, the 保有 its diary row books. No summary recomputation (the
// ReducePosition that follows does it). False, with nothing changed, when
// the code has no bought holding.
bool GiveDelivery(Books& books, std::string_view code, Amount n, Amount cost);

// Recomputes average, rate and result of a holding from its total, shares
// and market price; then the summary.
void RevalueHolding(Books& books, std::size_t index);
// Recomputes rate and result of a position from its unit price, shares,
// total and market price; then the summary.
void RevaluePosition(Books& books, std::size_t index);

}  // namespace tomvik::core
