// Direct edits of the holdings and margin positions ledgers from their entry
// panels: opening figures of a typed or opened row, and adding, rewriting and
// deleting rows as the initial-setup mode and Update do.
//
// The panels hand over their field texts as they stand; derived cells (the
// rate of change) are computed here from them. Every edit recomputes the
// summary with nothing realised and marks the ledger it touched unsaved, so
// a panel never leaves the summary or the Save items behind.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/books.h"
#include "core/records/amount.h"
#include "core/records/ledger_table.h"

namespace tomvik::core {

// --- what a panel shows ---------------------------------------------------------

// Average (or unit) price, result and rate of a holding or position typed
// into a panel: average = total / shares (0 without shares); the result is
// market x shares - total for the buy side and the reverse for the sell
// side; the difference is market - average for the buy side and the
// reverse for the sell side.
struct PanelFigures {
  Amount average = 0;
  Amount profit = 0;
  Amount difference = 0;
  std::string rate;  // "+4.37%"
};
PanelFigures ComputePanelFigures(bool buy, Amount total, Amount shares, Amount market);

// How the rate panel looks: neutral without an average of at least 1 or
// without a difference, a gain in blue on light red, a loss in red on light
// blue.
enum class RateLook { Neutral, Gain, Loss };
RateLook RateLookOf(const PanelFigures& figures);

// The total tried out by the additional-buy check: the opened holding's
// total plus the shares beyond its own bought at the market price.
Amount AdditionalBuyTotal(Amount baseTotal, Amount baseShares, Amount shares, Amount market);

// --- holdings -----------------------------------------------------------------

// A holding as its panel gives it. `comment` holds CR LF line breaks;
// nothing means "keep the row's comment" (empty for a new row).
// Average, result and rate are worked out from total, shares and market
// price. `stockKnown` is false when the stock master has nothing for the
// code (the name, exchange and unit fields then show nothing): Update keeps
// the row's own stock texts.
struct HoldingEntry {
  std::string code;  // four characters
  bool buy = true;
  std::string name;
  std::string exchange;
  std::string unit;
  bool stockKnown = true;
  std::string total;
  std::string shares;
  std::string market;
  std::optional<std::string> comment;
};

// The holding's key: code + "1" (bought) or "2" (sold).
std::string HoldingKeyOf(std::string_view code, bool buy);
// The first holding whose key begins with the code, whichever its side.
std::optional<std::size_t> FirstHoldingOf(const Books& books, std::string_view code);

// Each returns the row's index after sorting.
std::size_t AddHoldingRow(Books& books, const HoldingEntry& entry);
// The key follows the entry's code and side; the reserved cell stays.
std::size_t UpdateHoldingRow(Books& books, std::size_t index, const HoldingEntry& entry);
void DeleteHoldingRow(Books& books, std::size_t index);

// --- margin positions -----------------------------------------------------------

struct PositionEntry {
  std::string code;  // four characters
  bool buy = true;
  std::string openDate;  // "yyyy/mm/dd": the date of an added position
  std::string name;
  std::string exchange;
  std::string unit;
  bool stockKnown = true;
  std::string total;
  std::string shares;
  std::string market;
  std::optional<std::string> comment;
};

// code + "5" (buy) or "6" (sell) + open date: the key without its number.
std::string PositionBaseKey(std::string_view code, bool buy, std::string_view openDate);
// The base key with the smallest three-digit number from "001" up that no
// position has yet.
std::string FreePositionKey(const LedgerTable& positions, std::string_view baseKey);
// The first position whose key begins with the code, whichever its side.
std::optional<std::size_t> FirstPositionOf(const Books& books, std::string_view code);

std::size_t AddPositionRow(Books& books, const PositionEntry& entry);
// Rewrites the position from the entry; its open date and number stay.
// A position typed over with another code or side moves to the key of
// that code and side (same open date, the smallest free number), so that
// its key never contradicts what it shows. The holdings are marked unsaved
// as well. Returns the new index.
std::size_t UpdatePositionRow(Books& books, std::size_t index, const PositionEntry& entry);
// Every position of the code, both sides, gets the market price text, and
// the result and rate that follow from it. Marks holdings and positions
// unsaved.
void ApplyMarketPriceToCode(Books& books, std::string_view code, std::string_view marketText);
void DeletePositionRow(Books& books, std::size_t index);

}  // namespace tomvik::core
