// Helpers for the bookkeeping tests: diary rows as the recorder writes them,
// a snapshot of every ledger for before/after comparisons, and books on a
// fresh folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/books.h"
#include "core/diary/bookkeeping.h"
#include "core/records/amount.h"
#include "core/records/diary_file.h"
#include "core/records/ledger_table.h"
#include "core/test_support.h"

namespace tomvik::core::test {

inline constexpr std::string_view kDate = "2011/03/15";

struct TradeFigures {
  std::string price;
  std::string quantity;
  std::string amount;
  std::string cost = {};    // 保有
  std::string profit = {};  // 損益
};

// A trade row of the date with key date + kind + code + suffix and the
// stock text "code name".
inline LedgerRow TradeRow(std::string_view kind, std::string_view code, const TradeFigures& figures,
                          std::string_view suffix = {}, std::string_view date = kDate) {
  LedgerRow row;
  row.key = std::string(date) + std::string(kind) + std::string(code) + std::string(suffix);
  row.cells.resize(DiaryCol::Count);
  row.cells[DiaryCol::Stock] = std::string(code) + " " + Sjis("見本電機");
  row.cells[DiaryCol::Exchange] = Sjis("東証１部");
  row.cells[DiaryCol::Price] = figures.price;
  row.cells[DiaryCol::Quantity] = figures.quantity;
  row.cells[DiaryCol::Amount] = figures.amount;
  row.cells[DiaryCol::Cost] = figures.cost;
  row.cells[DiaryCol::Profit] = figures.profit;
  return row;
}

using RowTexts = std::vector<std::pair<std::string, std::vector<std::string>>>;

inline RowTexts TextsOf(const LedgerTable& table) {
  RowTexts rows;
  for (const LedgerRow& row : table) {
    std::vector<std::string> cells = row.cells;
    // Trailing empty cells say nothing; rows built in different ways compare alike.
    while (!cells.empty() && cells.back().empty()) cells.pop_back();
    rows.emplace_back(row.key, std::move(cells));
  }
  return rows;
}

// Every ledger the bookkeeping touches, as texts.
struct LedgerSnapshot {
  RowTexts holdings;
  RowTexts positions;
  RowTexts stocks;
  std::string realised;
  Amount holdingsTotal = 0;
  Amount unrealised = 0;
  Amount buyPositions = 0;
  Amount sellPositions = 0;
  Amount balance = 0;

  bool operator==(const LedgerSnapshot&) const = default;
};

inline LedgerSnapshot SnapshotOf(const Books& books) {
  return LedgerSnapshot{TextsOf(books.holdings),    TextsOf(books.positions),    TextsOf(books.stocks),
                        books.figures.realised,     books.summary.holdingsTotal, books.summary.unrealised,
                        books.summary.buyPositions, books.summary.sellPositions, books.summary.balance};
}

inline void PrintTo(const LedgerSnapshot& s, std::ostream* out) {
  auto print = [out](const char* name, const RowTexts& rows) {
    *out << name << ":";
    for (const auto& [key, cells] : rows) {
      *out << " [" << key;
      for (const std::string& cell : cells) *out << "|" << cell;
      *out << "]";
    }
    *out << "\n";
  };
  print("holdings", s.holdings);
  print("positions", s.positions);
  print("stocks", s.stocks);
  *out << "realised " << s.realised << ", held " << s.holdingsTotal << ", unrealised " << s.unrealised << ", buy "
       << s.buyPositions << ", sell " << s.sellPositions << ", balance " << s.balance;
}

inline constexpr std::string_view kUnit = "100";

// Records a cash trade as the diary does: a trade opens a holding or adds to
// the holding of its side, or closes shares of the other side's holding and
// books their cost, result and stock totals. While an update matches the
// trade against the provisional holding, `lookupCode` is "0000".
inline LedgerRow RecordCashTrade(Books& books, std::string_view code, bool buy, Amount price, Amount quantity,
                                 Amount amount, std::string_view lookupCode = {}) {
  const char side = buy ? '1' : '2';
  const long found = FindHolding(books, side, lookupCode.empty() ? code : lookupCode);
  LedgerRow row = TradeRow(std::string(1, found < 0 ? '3' : '2') + side, code,
                           {FormatAmount(price), FormatAmount(quantity), FormatAmount(amount)});
  if (found == 0) {
    OpenHolding(books, row, kUnit, row.cell(DiaryCol::Price));
  } else if (found > 0) {
    ApplyToHolding(books, static_cast<std::size_t>(found - 1), row);
  } else {
    const HoldingChange change = ApplyToHolding(books, static_cast<std::size_t>(-found - 1), row);
    const Amount cost = ParseAmount(change.costText);
    row.setCell(DiaryCol::Cost, change.costText);
    row.setCell(DiaryCol::Profit, FormatAmount(buy ? cost - amount : amount - cost));
    AddToStockTotals(books, code, buy ? amount : cost, buy ? cost : amount);
  }
  return row;
}

// Deleting a cash row: its effect undone, a provisional holding merged.
inline UndoResult DeleteCashRow(Books& books, const LedgerRow& row) {
  const UndoResult result = UndoCashRow(books, row, kUnit);
  MergeProvisionalHolding(books);
  return result;
}

class BookkeepingTest : public ::testing::Test {
 protected:
  BookkeepingTest() {
    books.folder = folder.path();
    books.figures = {"1,000,000", "0"};
  }

  Amount Realised() const { return ParseAmount(books.figures.realised); }
  const LedgerRow& Holding(std::string_view key) const {
    const auto index = books.holdings.find(key);
    EXPECT_TRUE(index.has_value()) << "no holding " << key;
    return index ? books.holdings[*index] : kNoRow;
  }
  const LedgerRow& Position(std::string_view key) const {
    const auto index = books.positions.find(key);
    EXPECT_TRUE(index.has_value()) << "no position " << key;
    return index ? books.positions[*index] : kNoRow;
  }

  TempFolder folder;
  Books books;
  inline static const LedgerRow kNoRow{};
};

}  // namespace tomvik::core::test
