// The simulated ledger: rehearsed buys and sells of one stock, never saved.
//
// Each row is one rehearsed trade followed by the position it leaves (side,
// total, shares, average price, rate and unrealised result at the trade's
// price); the last row therefore always describes the current position, and
// the side of that position follows from it: none for an empty list or a
// last row without shares, long when its "保有" cell reads "買", short
// otherwise. Trades that run against the position close part of it: the
// cost taken out is the position's total in proportion to the shares sold,
// and the difference to the trade's amount is realised. A closing trade is
// cut to the shares held, so a position never flips side in one trade.
//
// The first row may be a position taken over from another tab (the
// start-row box): it cannot be taken back, and starting over keeps it.
// Every figure is 64-bit and saturating, and nothing divides by zero.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/holdings/ledger_edits.h"
#include "core/records/amount.h"
#include "core/records/ledger_table.h"

namespace tomvik::core {

// Cells of a simulation row; the key is empty, so rows keep their order.
namespace SimCol {
inline constexpr std::size_t Spacer = 0;         // always empty
inline constexpr std::size_t Side = 1;           // 取引: "買" or "売"
inline constexpr std::size_t Price = 2;          // 単価, as entered
inline constexpr std::size_t Quantity = 3;       // 数量, as entered
inline constexpr std::size_t Charge = 4;         // 手数料, as entered
inline constexpr std::size_t Amount = 5;         // 売買金額
inline constexpr std::size_t HeldCost = 6;       // 保有金額: cost a closing takes out
inline constexpr std::size_t Realised = 7;       // 売買損益 of a closing
inline constexpr std::size_t Separator = 8;      // always empty
inline constexpr std::size_t Position = 9;       // 保有: "買", "売" or "計"
inline constexpr std::size_t Total = 10;         // 総額 (on "計": the realised sum)
inline constexpr std::size_t Shares = 11;        // 株数
inline constexpr std::size_t Average = 12;       // 平均単価
inline constexpr std::size_t Rate = 13;          // 騰落率
inline constexpr std::size_t Unrealised = 14;    // 含み損益
inline constexpr std::size_t EndSeparator = 15;  // always empty
inline constexpr std::size_t Count = 16;
}  // namespace SimCol

// "計": the position of a row after which nothing is held.
inline constexpr std::string_view kSimClosedMark = "\x8C\x76";

enum class SimSide { None, Long, Short };

// The side of the position the rows end in.
SimSide SideOf(const LedgerTable& rows);

// A rehearsed trade as the panel holds it.
struct SimTrade {
  bool buy = true;
  std::string price;     // unit price text
  std::string quantity;  // quantity text
  std::string charge;    // charge text
  // A position taken over from another tab enters with its own total
  // instead of price x quantity and charge.
  std::optional<Amount> heldTotal = std::nullopt;
};

// What the panel shows for a trade before it is recorded.
struct SimPreview {
  SimSide side = SimSide::None;    // the position's side before the trade
  bool closing = false;            // the trade runs against the position
  Amount quantity = 0;             // the quantity, cut to the position when closing
  bool quantityCut = false;        // the quantity field must show the cut quantity
  Amount amount = 0;               // 売買金額
  std::optional<Amount> heldCost;  // cost taken out (closing only)
  std::optional<Amount> realised;  // realised result (closing only)
  Amount total = 0;                // position total after the trade
  Amount shares = 0;               // position shares after the trade
  Amount average = 0;              // 平均単価 shown
  Amount unrealised = 0;           // 含み損益 shown
  std::string rate = "0.00%";      // the change rate of the price against the average
  // The price against the average in the position's favour; 0 while the
  // position has no direction.
  Amount difference = 0;
  RateLook look = RateLook::Neutral;
};
SimPreview PreviewSimTrade(const LedgerTable& rows, const SimTrade& trade);

// What a take-back did.
enum class SimTakeBack { Nothing, RowsRemain, Emptied };

// The ledger with the state of its start-row box and of 取消/クリア.
class SimLedger {
 public:
  const LedgerTable& rows() const { return rows_; }
  SimSide side() const { return SideOf(rows_); }
  SimPreview preview(const SimTrade& trade) const { return PreviewSimTrade(rows_, trade); }

  // The first row is a taken-over position.
  bool startRowTicked() const { return startRowTicked_; }
  bool startRowEnabled() const { return startRowEnabled_; }
  // 取消 and クリア may be pressed.
  bool undoEnabled() const { return undoEnabled_; }

  // 売買取引: appends the trade's row. Nothing is recorded when the price
  // reads 0 or no shares would change hands; then it returns false.
  bool record(const SimTrade& trade);
  // 取消: removes the last row, never a taken-over position.
  SimTakeBack takeBack();
  // クリア: every row but a taken-over position goes.
  void clear();
  // A new stock or a new take-over: no rows, no taken-over position.
  void empty();
  // The user unticked the start-row box: the first row becomes an
  // ordinary one, and the box stays off until the next take-over.
  void untickStartRow();

  // A take-over records each held position as a taken-over row.
  bool recordTakenOver(const SimTrade& trade);
  // After the take-over: when nothing was taken over, the box is off.
  void endTakeOver();

 private:
  LedgerTable rows_;
  bool startRowTicked_ = false;
  bool startRowEnabled_ = false;
  bool undoEnabled_ = false;
};

}  // namespace tomvik::core
