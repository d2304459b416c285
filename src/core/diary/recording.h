// Recording, changing and deleting diary rows: what the entry panel holds
// becomes a row of the shown month, and the row's effect is carried into
// the holdings, the margin positions, the stock totals and the account
// summary at once. Changing or deleting a row first takes its old effect
// back out; every change leaves the day's header summed again.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/books.h"
#include "core/diary/bookkeeping.h"

namespace tomvik::core {

// The panel's contents, as texts of the fields (CP932).
struct DiaryEntry {
  enum class Mode { Note, Trade, CashMovement };
  enum class Type { Cash = 0, Margin = 1, Plan = 2 };

  Mode mode = Mode::Note;
  std::string date;  // "yyyy/mm/dd"
  std::string comment;
  std::string chargeText;
  bool chargeEnabled = false;  // the charge field takes part (not under the flat-rate box)
  std::string taxText;
  std::string amountText;  // MemoPrice: the trade amount, or the net cash movement
  // Cash movement.
  bool deposit = true;
  std::string inOutText;
  // Trade.
  Type type = Type::Cash;
  bool buy = true;
  bool registration = false;  // 保有 / 建玉 ticked
  bool registrationBuy = true;
  std::string registrationText;  // MemoHoldPrice
  std::string code;              // four digits, blanks already "0"
  std::string name;
  std::string exchange;
  std::string unitText;
  std::string priceText;
  std::string quantityText;
};

// A trade that closes shares from the holdings or margin tab (a sale, a
// settlement), as that tab's panel gives it.
struct ClosingTrade {
  std::string date;  // "yyyy/mm/dd"; the day exists in the shown month
  std::string code;  // four characters
  std::string name;
  std::string exchange;
  std::string unitText;    // for a holding a delivery opens
  std::string marketText;  // likewise
  std::string priceText;
  std::string quantityText;
  std::string chargeText;
  std::string taxText;
  std::string comment;  // CR LF line breaks
};

struct Recorded {
  std::size_t index = 0;      // the row, in the diary
  bool otherLedgers = false;  // holdings or positions changed
  bool tradeBranch = false;   // a trade's figures were rewritten (it is loaded back)
  // The rows the trade opened or changed, by key, to be shown in their lists.
  std::optional<std::string> holdingKey;
  std::optional<std::string> positionKey;
  std::optional<std::string> stockCode;
  // Taking an old row back re-created a holding from it.
  bool holdingRestored = false;
};

// Adds the entry's row (a note adds the day header with its end marker).
// Nothing when a note's day already has a header.
std::optional<Recorded> AddDiaryRow(Books& books, const DiaryEntry& entry, int& dayCounter);

// Rewrites the row at `index`. When only the comment was edited, nothing
// but the comment changes. A trade entry without a stock code changes
// nothing and gives nothing.
std::optional<Recorded> UpdateDiaryRow(Books& books, std::size_t index, const DiaryEntry& entry, bool tradeFieldsEdited,
                                       int& dayCounter);

// Deletes the row at `index` (a header with its end marker) after taking
// its effect back out. Tells what the undo did besides the ledgers.
UndoResult DeleteDiaryRow(Books& books, std::size_t index, const std::string& unitText);

// Gives the date a day header (with its end marker) unless it has one.
// True when it was added.
bool EnsureDayHeader(Books& books, const std::string& dateText);

}  // namespace tomvik::core
