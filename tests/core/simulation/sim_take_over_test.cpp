// Opening a simulation from another tab, and the simulated summary that
// replaces the real holding of the stock by the simulated position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/books.h"
#include "core/holdings/account_summary.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"
#include "core/simulation/sim_ledger.h"
#include "core/simulation/sim_summary.h"
#include "core/simulation/sim_take_over.h"
#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::Utf8;

SimSource HoldingSource(const char* total, const char* shares, const char* market) {
  SimSource source;
  source.kind = SimSource::Kind::Holding;
  source.code = "1234";
  source.buy = true;
  source.total = total;
  source.quantity = shares;
  source.price = market;
  return source;
}

void AddPosition(LedgerTable& positions, const std::string& key, const char* total, const char* shares) {
  LedgerRow row;
  row.key = key;
  row.cells.resize(LoanCol::Count);
  row.cells[LoanCol::Total] = total;
  row.cells[LoanCol::Shares] = shares;
  positions.insert(row);
}

// Records the plan's positions as a take-over does.
SimLedger Recorded(const SimTakeOverPlan& plan) {
  SimLedger ledger;
  for (const SimTrade& trade : plan.positions) ledger.recordTakenOver(trade);
  ledger.endTakeOver();
  return ledger;
}

TEST(SimTakeOver, AHoldingBecomesTheFirstRowAtItsOwnTotal) {
  const SimTakeOverPlan plan = PlanSimTakeOver(HoldingSource("501,050", "1,000", "520"), {}, "1,050", false);
  ASSERT_EQ(plan.positions.size(), 1u);
  EXPECT_EQ(plan.positions[0].price, "500");
  EXPECT_EQ(plan.positions[0].quantity, "1,000");
  EXPECT_TRUE(plan.setsSide);
  EXPECT_TRUE(plan.buy);
  EXPECT_EQ(plan.price, "520");
  EXPECT_EQ(plan.quantity, "0");

  const SimLedger ledger = Recorded(plan);
  ASSERT_EQ(ledger.rows().size(), 1u);
  EXPECT_EQ(ledger.rows()[0].cell(SimCol::Amount), "501,050");
  EXPECT_EQ(ledger.rows()[0].cell(SimCol::Total), "501,050");
  EXPECT_EQ(ledger.rows()[0].cell(SimCol::Shares), "1,000");
  EXPECT_TRUE(ledger.startRowTicked());

  // A holding without shares gives the price 0: nothing is taken over.
  const SimTakeOverPlan empty = PlanSimTakeOver(HoldingSource("0", "0", "520"), {}, "1,050", false);
  EXPECT_EQ(empty.positions[0].price, "0");
  EXPECT_FALSE(Recorded(empty).startRowTicked());
}

TEST(SimTakeOver, ShiftAddsTheMarginPositionsOfTheSameStockAndSide) {
  LedgerTable positions;
  AddPosition(positions,
              "12345"
              "2011/03/01"
              "001",
              "300,000", "500");
  AddPosition(positions,
              "12346"
              "2011/03/01"
              "001",
              "900,000", "1,000");  // the other side
  AddPosition(positions,
              "43215"
              "2011/03/01"
              "001",
              "800,000", "1,000");  // another stock
  AddPosition(positions,
              "12345"
              "2011/03/02"
              "001",
              "250,100", "300");

  const SimTakeOverPlan without = PlanSimTakeOver(HoldingSource("501,050", "1,000", "520"), positions, "1,050", false);
  EXPECT_EQ(without.positions.size(), 1u);

  const SimTakeOverPlan plan = PlanSimTakeOver(HoldingSource("501,050", "1,000", "520"), positions, "1,050", true);
  ASSERT_EQ(plan.positions.size(), 3u);
  EXPECT_EQ(plan.positions[1].price, "600");
  EXPECT_EQ(plan.positions[1].quantity, "500");
  EXPECT_EQ(plan.positions[2].price, "833");
  const SimLedger ledger = Recorded(plan);
  ASSERT_EQ(ledger.rows().size(), 3u);
  // Each position adds exactly its own total.
  EXPECT_EQ(ledger.rows()[1].cell(SimCol::Amount), "300,000");
  EXPECT_EQ(ledger.rows()[2].cell(SimCol::Total), "1,051,150");
  EXPECT_EQ(ledger.rows()[2].cell(SimCol::Shares), "1,800");
  EXPECT_TRUE(ledger.undoEnabled());

  // From the margin tab with Shift: the positions alone, on the panel's side.
  SimSource margin = HoldingSource("900,000", "1,000", "880");
  margin.kind = SimSource::Kind::Position;
  margin.buy = false;
  const SimTakeOverPlan sells = PlanSimTakeOver(margin, positions, "1,050", true);
  ASSERT_EQ(sells.positions.size(), 1u);
  EXPECT_EQ(sells.positions[0].price, "900");
  EXPECT_FALSE(sells.buy);
  EXPECT_EQ(Utf8(Recorded(sells).rows()[0].cell(SimCol::Position)), "売");
  // Without Shift the panel's position, priced with the charge.
  const SimTakeOverPlan panel = PlanSimTakeOver(margin, positions, "1,050", false);
  ASSERT_EQ(panel.positions.size(), 1u);
  EXPECT_EQ(panel.positions[0].price, "898");
  EXPECT_EQ(panel.price, "880");
}

TEST(SimTakeOver, TheDiaryHandsOverItsTradeAndTheStockMasterOnlyTheStock) {
  SimSource diary;
  diary.kind = SimSource::Kind::Trade;
  diary.buy = false;
  diary.price = "1,234";
  diary.quantity = "300";
  const SimTakeOverPlan trade = PlanSimTakeOver(diary, {}, "1,050", true);
  EXPECT_TRUE(trade.positions.empty());
  EXPECT_TRUE(trade.setsSide);
  EXPECT_FALSE(trade.buy);
  EXPECT_EQ(trade.price, "1,234");
  EXPECT_EQ(trade.quantity, "300");

  SimSource stock;
  const SimTakeOverPlan only = PlanSimTakeOver(stock, {}, "1,050", true);
  EXPECT_TRUE(only.positions.empty());
  EXPECT_FALSE(only.setsSide);
  EXPECT_FALSE(only.price);
  EXPECT_FALSE(only.quantity);
}

Books AccountWithHolding() {
  Books books;
  books.figures = {"1,000,000", "-50,000"};
  LedgerRow held;
  held.key = "12341";
  held.cells.resize(HoldCol::Count);
  held.cells[HoldCol::Total] = "501,050";
  held.cells[HoldCol::Profit] = "18,950";
  books.holdings.insert(held);
  LedgerRow other = held;
  other.key = "43211";
  other.cells[HoldCol::Total] = "200,000";
  other.cells[HoldCol::Profit] = "-10,000";
  books.holdings.insert(other);
  RecomputeSummary(books);
  return books;
}

TEST(SimSummary, StartingOverTakesTheStocksHoldingOutOfTheUnrealisedResult) {
  const Books books = AccountWithHolding();
  ASSERT_EQ(books.summary.balance, 958950);
  const SimSummaryReset reset = ResetSimSummary(books, "1234");
  EXPECT_EQ(reset.base.realised, -50000);
  EXPECT_EQ(reset.base.unrealised, -10000);
  EXPECT_EQ(reset.base.holdings, 200000);
  // The figures are the real ones, the unrealised result without the holding.
  EXPECT_EQ(reset.figures.invested, "1,000,000");
  EXPECT_EQ(reset.figures.realised, "-50,000");
  EXPECT_EQ(reset.figures.balance, "958,950");
  EXPECT_EQ(reset.figures.holdings, "701,050");
  EXPECT_EQ(reset.figures.available, "248,950");
  EXPECT_EQ(reset.figures.unrealised, "-10,000");

  // A stock without a holding, or no stock, keeps the whole real summary.
  for (const char* code : {"5555", "0000"}) {
    const SimSummaryReset plain = ResetSimSummary(books, code);
    EXPECT_EQ(plain.base.unrealised, 8950) << code;
    EXPECT_EQ(plain.base.holdings, 701050) << code;
  }
}

TEST(SimSummary, TradesReplaceTheHoldingByTheSimulatedPosition) {
  const Books books = AccountWithHolding();
  const SimSummaryBase base = ResetSimSummary(books, "1234").base;
  SimLedger ledger;
  SimTrade held{true, "500", "1,000", "1,050", Amount{501050}};
  ledger.recordTakenOver(held);
  ledger.record({false, "600", "400", "1,050"});

  // Realised 38,530; the position 300,630 for 600 shares, unrealised 59,370.
  SimSummaryFigures f = UpdateSimSummary(base, ledger.rows(), false);
  EXPECT_EQ(f.invested, "1,000,000");
  EXPECT_EQ(f.realised, "-11,470");
  EXPECT_EQ(f.realisedValue, -11470);
  EXPECT_EQ(f.unrealised, "49,370");
  EXPECT_EQ(f.holdings, "500,630");
  EXPECT_EQ(f.available, "487,900");
  EXPECT_EQ(f.balance, "988,530");
  EXPECT_EQ(UpdateSimSummary(base, ledger.rows(), true).balance, "1,037,900");
  EXPECT_EQ(BalanceWithUnrealised(988530, 49370, true), 1037900);
  EXPECT_EQ(BalanceWithUnrealised(1037900, 49370, false), 988530);

  // Selling the rest leaves nothing held of the stock.
  ledger.record({false, "600", "600", "1,050"});
  f = UpdateSimSummary(base, ledger.rows(), false);
  EXPECT_EQ(f.realised, FormatAmount(Amount{-50000 + 38530 + 58320}));
  EXPECT_EQ(f.unrealised, "-10,000");
  EXPECT_EQ(f.holdings, "200,000");
  EXPECT_EQ(f.availableValue, 1000000 - 50000 + 38530 + 58320 - 200000);
}

}  // namespace
}  // namespace tomvik::core
