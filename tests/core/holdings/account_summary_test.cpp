// The account summary: the holdings totals from the two lists, then the
// balance and the amount available from the stored figures.
#include <gtest/gtest.h>

#include <string>

#include "core/books.h"
#include "core/holdings/account_summary.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"

namespace tomvik::core {
namespace {

void AddHolding(Books& books, const std::string& key, const std::string& total, const std::string& profit) {
  LedgerRow row;
  row.key = key;
  row.cells.resize(HoldCol::Count);
  row.cells[HoldCol::Total] = total;
  row.cells[HoldCol::Profit] = profit;
  books.holdings.insert(row);
}

void AddPosition(Books& books, const std::string& key, const std::string& total, const std::string& profit) {
  LedgerRow row;
  row.key = key;
  row.cells.resize(LoanCol::Count);
  row.cells[LoanCol::Total] = total;
  row.cells[LoanCol::Profit] = profit;
  books.positions.insert(row);
}

TEST(AccountSummary, EmptyLedgersLeaveTheBalanceAvailable) {
  Books books;
  books.figures = {"1,000,000", "-50,000"};
  RecomputeSummary(books);
  EXPECT_EQ(books.summary.holdingsTotal, 0);
  EXPECT_EQ(books.summary.unrealised, 0);
  EXPECT_EQ(books.summary.buyPositions, 0);
  EXPECT_EQ(books.summary.sellPositions, 0);
  EXPECT_EQ(books.summary.balance, 950000);
  EXPECT_EQ(books.summary.available, books.summary.balance);
}

TEST(AccountSummary, SumsHoldingsAndPositionsBySide) {
  Books books;
  AddHolding(books, "12341", "412,000", "18,000");
  AddHolding(books, "56782", "100,000", "-3,000");
  AddPosition(books, "123452011/01/05001", "450,000", "20,000");
  AddPosition(books, "123462011/01/05001", "300,000", "-1,000");
  AddPosition(books, "567852011/02/01001", "50,000", "");
  RecomputeHoldingTotals(books);
  EXPECT_EQ(books.summary.holdingsTotal, 512000);
  // Unrealised results of holdings and of positions alike.
  EXPECT_EQ(books.summary.unrealised, 18000 - 3000 + 20000 - 1000);
  EXPECT_EQ(books.summary.buyPositions, 500000);
  EXPECT_EQ(books.summary.sellPositions, 300000);
}

TEST(AccountSummary, AvailableGoesNegativeAndTheAddBoxMovesOnlyTheBalance) {
  Books books;
  books.figures = {"1,000,000", "-50,000"};
  AddHolding(books, "12341", "980,000", "20,000");
  books.includeUnrealised = false;
  RecomputeSummary(books);
  EXPECT_EQ(books.summary.holdingsTotal, 980000);
  EXPECT_EQ(books.summary.available, -30000);  // shown in red
  EXPECT_EQ(books.summary.balance, 950000);

  books.includeUnrealised = true;
  RecomputeAccountFigures(books, 0);
  EXPECT_EQ(books.summary.balance, 970000);
  EXPECT_EQ(books.summary.available, -30000);

  books.includeUnrealised = false;
  RecomputeAccountFigures(books, 0);
  EXPECT_EQ(books.summary.balance, 950000);
}

TEST(AccountSummary, RealisedTextIsRewrittenOnlyForANonZeroAmount) {
  Books books;
  // A text as typed, not in display form: nothing realised keeps it.
  books.figures = {"", "-1234"};
  RecomputeSummary(books, 0);
  EXPECT_EQ(books.figures.realised, "-1234");
  EXPECT_EQ(books.figures.totalInvestment, "");
  // An empty total investment counts 0.
  EXPECT_EQ(books.summary.balance, -1234);

  RecomputeSummary(books, 2234);
  EXPECT_EQ(books.figures.realised, "1,000");
  EXPECT_EQ(books.summary.balance, 1000);

  // Back to exactly 0: the text follows, it does not stay behind.
  RecomputeSummary(books, -1000);
  EXPECT_EQ(books.figures.realised, "0");
  EXPECT_EQ(books.summary.balance, 0);
}

TEST(AccountSummary, FiguresBeyondThirtyTwoBitsAreNotWrapped) {
  Books books;
  books.figures = {"3,000,000,000", "0"};
  AddHolding(books, "12341", "2,500,000,000", "0");
  RecomputeSummary(books);
  EXPECT_EQ(books.summary.holdingsTotal, 2500000000);
  EXPECT_EQ(books.summary.available, 500000000);
  // Saturation instead of overflow at the ends of the range.
  books.figures = {"9223372036854775807", "0"};
  RecomputeSummary(books, 9223372036854775807);
  EXPECT_EQ(books.summary.balance, 9223372036854775807);
}

}  // namespace
}  // namespace tomvik::core
