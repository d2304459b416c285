// Random diaries of cash buys and sales, changed and deleted in any order:
// when every row is gone, no holding is left and the stock totals and the
// realised result are back where they started, to the yen.
#include <gtest/gtest.h>

#include <random>

#include "core/diary/bookkeeping_fixture.h"
#include "core/diary/recording.h"
#include "core/diary/trade_kinds.h"
#include "core/records/code_file.h"
#include "core/records/hold_file.h"

namespace tomvik::core::test {
namespace {

class RecordingProperty : public BookkeepingTest, public ::testing::WithParamInterface<unsigned> {
 protected:
  DiaryEntry Trade(const std::string& code, bool buy, Amount price, Amount quantity) {
    DiaryEntry e;
    e.mode = DiaryEntry::Mode::Trade;
    e.date = std::string(kDate);
    e.code = code;
    e.buy = buy;
    e.unitText = "100";
    e.priceText = FormatAmount(price);
    e.quantityText = FormatAmount(quantity);
    // A charge makes the amounts odd, so that every division leaves a remainder.
    e.amountText = FormatAmount(price * quantity + (buy ? 525 : -525));
    return e;
  }
  Amount Held(const std::string& code) {
    const auto index = books.holdings.find(code + "1");
    return index ? ParseAmount(books.holdings[*index].cell(HoldCol::Shares)) : 0;
  }
  std::vector<std::size_t> TradeRows() {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < books.diary.size(); ++i) {
      if (!IsDayHeaderKey(books.diary[i].key) && !IsDayEndKey(books.diary[i].key)) rows.push_back(i);
    }
    return rows;
  }
  std::string CodeOfRow(std::size_t i) { return books.diary[i].key.substr(DiaryKey::Code, 4); }
  Amount QuantityOfRow(std::size_t i) { return ParseAmount(books.diary[i].cell(DiaryCol::Quantity)); }
  bool IsSale(std::size_t i) { return KindSideOf(books.diary[i].key) == '2'; }
  Amount StockTotal(std::size_t column) {
    Amount sum = 0;
    for (const LedgerRow& row : books.stocks) sum += ParseAmount(row.cell(column));
    return sum;
  }

  int counter = 0;
};

TEST_P(RecordingProperty, EveryRowTakenBackLeavesTheLedgersAsTheyStarted) {
  std::mt19937 random(GetParam());
  auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const std::string codes[] = {"1111", "2222", "3333"};
  DiaryEntry note;
  note.date = std::string(kDate);
  ASSERT_TRUE(AddDiaryRow(books, note, counter));

  int sales = 0;
  int updates = 0;
  int deletes = 0;
  for (int step = 0; step < 400; ++step) {
    const std::string& code = codes[pick(3)];
    const Amount price = 100 + pick(900);
    const int op = pick(10);
    const auto trades = TradeRows();
    if (op < 4 || trades.empty()) {
      ASSERT_TRUE(AddDiaryRow(books, Trade(code, true, price, 100 * (1 + pick(10))), counter));
    } else if (op < 7) {
      const Amount held = Held(code);
      if (held <= 0) continue;
      ASSERT_TRUE(AddDiaryRow(books, Trade(code, false, price, 1 + pick(static_cast<int>(held))), counter));
      ++sales;
    } else if (op < 9) {
      // A row is changed: a buy to another quantity, a sale within what it
      // may close once its own shares are back.
      const std::size_t row = trades[static_cast<std::size_t>(pick(static_cast<int>(trades.size())))];
      const std::string rowCode = CodeOfRow(row);
      if (IsSale(row)) {
        const Amount available = Held(rowCode) + QuantityOfRow(row);
        if (available <= 0) continue;
        ASSERT_TRUE(UpdateDiaryRow(books, row, Trade(rowCode, false, price, 1 + pick(static_cast<int>(available))),
                                   true, counter));
      } else {
        ASSERT_TRUE(UpdateDiaryRow(books, row, Trade(rowCode, true, price, 100 * (1 + pick(10))), true, counter));
      }
      ++updates;
    } else {
      DeleteDiaryRow(books, trades[static_cast<std::size_t>(pick(static_cast<int>(trades.size())))], "100");
      ++deletes;
    }
    // Every yen of a code is either held or realised: the realised result is
    // the sum of the stock results.
    ASSERT_EQ(ParseAmount(books.figures.realised), StockTotal(StockCol::SellTotal) - StockTotal(StockCol::BuyTotal))
        << "step " << step;
  }
  EXPECT_GT(sales, 50);
  EXPECT_GT(updates, 20);
  EXPECT_GT(deletes, 10);

  for (auto trades = TradeRows(); !trades.empty(); trades = TradeRows()) {
    DeleteDiaryRow(books, trades[static_cast<std::size_t>(pick(static_cast<int>(trades.size())))], "100");
  }
  EXPECT_TRUE(books.holdings.empty()) << books.holdings[0].key << " " << books.holdings[0].cell(HoldCol::Shares) << " "
                                      << books.holdings[0].cell(HoldCol::Total);
  EXPECT_EQ(books.figures.realised, "0");
  EXPECT_EQ(StockTotal(StockCol::BuyTotal), 0);
  EXPECT_EQ(StockTotal(StockCol::SellTotal), 0);
  EXPECT_EQ(books.summary.holdingsTotal, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RecordingProperty, ::testing::Values(1u, 7u, 2011u));

}  // namespace
}  // namespace tomvik::core::test
