// Reading a broker's trade history file (SBI証券 約定履歴, 楽天証券 国内株式
// 取引履歴, マネックス証券 取引履歴) into the trades this program books.
//
// The broker and the header row are recognised by their captions, not by
// line numbers; lines before the header (titles, conditions, notes) are
// passed over. The file may be CP932 or UTF-8 (with or without a byte order
// mark). Every line after the header that is not read as a trade is
// reported with its number and the reason, so nothing is dropped unseen.
// Trades come out in date order, oldest first, whichever way the file lists
// them; fills of one day keep their order.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/amount.h"

namespace tomvik::core {

enum class Broker { Sbi, Rakuten, Monex };

enum class TradeAction {
  CashBuy,       // 現物買: kind 21 (31 when it closes a sold holding)
  CashSell,      // 現物売: kind 32
  MarginBuy,     // 信用新規買: 25
  MarginSell,    // 信用新規売: 26
  RepaySell,     // 信用返済売 (closes buy positions): 36
  RepayBuy,      // 信用返済買 (closes sell positions): 35
  DeliveryTake,  // 現引: 27
  DeliveryGive,  // 現渡: 38
};
bool IsSettlement(TradeAction action);
bool IsBuyAction(TradeAction action);

// Prices keep four decimals: 798.3 yen is 7,983,000.
inline constexpr int kPriceDecimals = 4;
inline constexpr Amount kPriceScale = 10000;

struct ImportedTrade {
  std::size_t line = 0;  // 1-based line of the file
  std::string date;      // "yyyy/mm/dd"
  TradeAction action = TradeAction::CashBuy;
  std::string code;    // four characters
  std::string name;    // CP932
  std::string market;  // CP932; empty when the file has no market
  Amount quantity = 0;
  Amount price = 0;  // scaled by kPriceScale
  Amount charge = 0;
  Amount tax = 0;
  // The broker's settled amount (cash trades, deliveries) or its net result
  // (repayments), as the file gives it.
  std::optional<Amount> brokerAmount;
  std::optional<Amount> brokerResult;
  // The position a repayment or delivery closes, where the file names it.
  std::string openDate;
  std::optional<Amount> openPrice;  // scaled
  // Doubtful, but read: a character could not be decoded or kept in CP932,
  // or a price had more decimals than are kept.
  bool textReplaced = false;
  bool priceRounded = false;
};

enum class LineProblem {
  NotATrade,    // a row of another kind (funds, MRF, dividends, transfers …)
  Damaged,      // an open quote, or fewer fields than the header
  BadDate,      // the trade date cannot be read
  BadCode,      // the stock code is not four letters or digits
  BadQuantity,  // no whole number of shares above 0
  BadPrice,     // no price above 0 where the trade needs one
  BadNumber,    // a charge, tax or amount that cannot be read
};

struct SkippedLine {
  std::size_t line = 0;
  LineProblem problem = LineProblem::Damaged;
  std::string detail;  // CP932: the kind text or the field that failed
  std::string text;    // CP932: the line, cut to a readable length
};

struct TradeHistory {
  std::optional<Broker> broker;  // nothing: no header row was found
  bool utf8 = false;
  std::size_t headerLine = 0;
  std::vector<ImportedTrade> trades;
  std::vector<SkippedLine> skipped;
};

TradeHistory ReadTradeHistory(std::string_view bytes);

}  // namespace tomvik::core
