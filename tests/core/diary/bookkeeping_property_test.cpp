// Random cash trading over a few stocks, checked after every step against
// the figures the live diary rows alone imply: whatever order rows are
// recorded, changed and deleted in, the holdings, the stock totals and the
// realised result never lose or gain a yen.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/diary/bookkeeping.h"
#include "core/diary/bookkeeping_fixture.h"
#include "core/diary/trade_kinds.h"
#include "core/records/code_file.h"
#include "core/records/diary_file.h"
#include "core/records/hold_file.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::core::test {
namespace {

const std::vector<std::string> kCodes = {"1111", "2222", "3333"};
constexpr Amount kStartRealised = 123'456;

struct StockTotals {
  Amount buy = 0;
  Amount sell = 0;
  bool operator==(const StockTotals&) const = default;
};

class RandomTrading : public BookkeepingTest, public ::testing::WithParamInterface<unsigned> {
 protected:
  RandomTrading() : random(GetParam()) {
    books.figures.realised = FormatAmount(kStartRealised);
    // 1111 is in the stock list, 2222 only in the file, 3333 nowhere.
    LedgerRow listed = MakeStockRow("1111");
    listed.cells[StockCol::BuyTotal] = "1,000";
    listed.cells[StockCol::SellTotal] = "2,500";
    RecomputeStockDerived(listed);
    books.stocks.insert(std::move(listed));
    WriteBytes(folder / "Code.txt", "[2222]\r\nN=x\r\nU=100\r\nB=5,000\r\nS=4,000\r\n\r\n");
    startTotals = {{"1111", {1'000, 2'500}}, {"2222", {5'000, 4'000}}, {"3333", {0, 0}}};
  }

  Amount Uniform(Amount low, Amount high) { return std::uniform_int_distribution<Amount>(low, high)(random); }
  const std::string& AnyCode() { return kCodes[static_cast<std::size_t>(Uniform(0, 2))]; }

  Amount HeldShares(const std::string& code) const {
    const auto index = books.holdings.find(code + "1");
    return index ? ParseAmount(books.holdings[*index].cell(HoldCol::Shares)) : 0;
  }

  LedgerRow Buy(const std::string& code) {
    const Amount price = Uniform(100, 5'000);
    const Amount quantity = Uniform(1, 30) * 100;
    return RecordCashTrade(books, code, true, price, quantity, price * quantity + Uniform(0, 1'500));
  }

  // A sell of at most `limit` shares, now and then all of them.
  LedgerRow Sell(const std::string& code, Amount limit, std::string_view lookupCode = {}) {
    const Amount price = Uniform(100, 5'000);
    const Amount quantity = Uniform(0, 3) == 0 ? limit : Uniform(1, limit);
    return RecordCashTrade(books, code, false, price, quantity, price * quantity - Uniform(0, 1'500), lookupCode);
  }

  void Delete(std::size_t at) {
    const LedgerRow row = live[at];
    live.erase(live.begin() + static_cast<std::ptrdiff_t>(at));
    const bool held = books.holdings.find(StockCodeOf(row) + "1").has_value();
    const UndoResult undo = DeleteCashRow(books, row);
    if (undo.holdingRestored) ++owedAfterSellOff;
    if (undo.provisionalHolding && !held) ++restoredAfterSellOff;
  }

  // Changing a row: its effect undone, the changed trade recorded again
  // (matched against the provisional holding when the undo made one).
  bool Update(std::size_t at) {
    const LedgerRow old = live[at];
    const std::string code = StockCodeOf(old);
    const bool buy = KindSideOf(old.key) == '1';
    const Amount limit = HeldShares(code) + ParseAmount(old.cell(DiaryCol::Quantity));
    if (!buy && limit < 1) return false;
    const UndoResult undo = UndoCashRow(books, old, kUnit);
    live[at] = buy ? Buy(code) : Sell(code, limit, undo.provisionalHolding ? kNoStockCode : std::string_view{});
    MergeProvisionalHolding(books);
    return true;
  }

  void Step() {
    const Amount choice = Uniform(0, 99);
    if (choice < 65 || live.empty()) {
      const std::string& code = AnyCode();
      const Amount held = HeldShares(code);
      live.push_back(choice >= 40 && held > 0 ? Sell(code, held) : Buy(code));
    } else if (choice < 82) {
      Update(static_cast<std::size_t>(Uniform(0, static_cast<Amount>(live.size()) - 1)));
    } else {
      Delete(static_cast<std::size_t>(Uniform(0, static_cast<Amount>(live.size()) - 1)));
    }
  }

  // The ledgers must hold exactly what the live rows imply.
  void CheckAgainstLiveRows(const char* when) {
    SCOPED_TRACE(when);
    std::map<std::string, Amount> shares;
    std::map<std::string, Amount> totals;
    std::map<std::string, StockTotals> stockTotals = startTotals;
    Amount realised = kStartRealised;
    for (const LedgerRow& row : live) {
      const std::string code = StockCodeOf(row);
      const Amount quantity = ParseAmount(row.cell(DiaryCol::Quantity));
      const Amount amount = ParseAmount(row.cell(DiaryCol::Amount));
      if (KindClassOf(row.key) == '2') {
        shares[code] += quantity;
        totals[code] += amount;
      } else {
        const Amount cost = ParseAmount(row.cell(DiaryCol::Cost));
        shares[code] -= quantity;
        totals[code] -= cost;
        realised += amount - cost;
        stockTotals[code].buy += cost;
        stockTotals[code].sell += amount;
      }
    }

    std::vector<std::string> expectedKeys;
    Amount holdingsTotal = 0;
    for (const std::string& code : kCodes) {
      // A holding without shares is removed; the yen it still carried wait
      // aside until an undo brings shares of it back. Holding and yen aside
      // together are always what the live rows imply.
      const auto found = books.heldAside.find(code + "1");
      const Amount aside = found == books.heldAside.end() ? 0 : found->second;
      if (aside != 0) ++asideSeen;
      if (shares[code] == 0) {
        EXPECT_EQ(aside, totals[code]) << code;
        continue;
      }
      holdingsTotal += totals[code] - aside;
      expectedKeys.push_back(code + "1");
      const LedgerRow& holding = Holding(code + "1");
      EXPECT_EQ(ParseAmount(holding.cell(HoldCol::Shares)), shares[code]) << code;
      EXPECT_EQ(ParseAmount(holding.cell(HoldCol::Total)) + aside, totals[code]) << code;
      EXPECT_EQ(ParseAmount(holding.cell(HoldCol::Average)),
                shares[code] > 0 ? (totals[code] - aside) / shares[code] : 0);
      if (shares[code] < 0) ++owedSeen;
    }
    std::vector<std::string> keys;
    for (const LedgerRow& row : books.holdings) keys.push_back(row.key);
    EXPECT_EQ(keys, expectedKeys);
    EXPECT_EQ(books.summary.holdingsTotal, holdingsTotal);
    EXPECT_EQ(ParseAmount(books.figures.realised), realised);

    for (const std::string& code : kCodes) {
      const auto index = books.stocks.find(code);
      const StockTotals actual = index ? StockTotals{ParseAmount(books.stocks[*index].cell(StockCol::BuyTotal)),
                                                     ParseAmount(books.stocks[*index].cell(StockCol::SellTotal))}
                                       : startTotals[code];
      EXPECT_EQ(actual, stockTotals[code]) << code;
      if (index) {
        EXPECT_EQ(ParseAmount(books.stocks[*index].cell(StockCol::Result)), actual.sell - actual.buy) << code;
      }
    }
  }

  std::mt19937 random;
  std::vector<LedgerRow> live;
  std::map<std::string, StockTotals> startTotals;
  int owedAfterSellOff = 0;      // opening buys deleted after their holding was gone
  int restoredAfterSellOff = 0;  // closing rows deleted after their holding was gone
  int owedSeen = 0;              // steps with negative shares held
  int asideSeen = 0;             // steps with yen set aside
};

TEST_P(RandomTrading, RecordingChangingAndDeletingNeverLosesAYen) {
  for (int step = 0; step < 600 && !HasFailure(); ++step) {
    Step();
    CheckAgainstLiveRows("trading");
  }
  std::shuffle(live.begin(), live.end(), random);
  while (!live.empty() && !HasFailure()) {
    Delete(live.size() - 1);
    CheckAgainstLiveRows("deleting");
  }

  EXPECT_TRUE(books.holdings.empty());
  EXPECT_TRUE(books.heldAside.empty());
  EXPECT_EQ(books.figures.realised, "123,456");
  for (const std::string& code : kCodes) {
    const auto index = books.stocks.find(code);
    ASSERT_TRUE(index.has_value()) << code;
    EXPECT_EQ(ParseAmount(books.stocks[*index].cell(StockCol::BuyTotal)), startTotals[code].buy) << code;
    EXPECT_EQ(ParseAmount(books.stocks[*index].cell(StockCol::SellTotal)), startTotals[code].sell) << code;
  }
  // The run went through the awkward orders, not only the easy ones.
  EXPECT_GT(owedAfterSellOff, 0);
  EXPECT_GT(restoredAfterSellOff, 0);
  EXPECT_GT(owedSeen, 0);
  EXPECT_GT(asideSeen, 0);
}

INSTANTIATE_TEST_SUITE_P(FixedSeeds, RandomTrading, ::testing::Values(1u, 20110315u, 4242u));

}  // namespace
}  // namespace tomvik::core::test
