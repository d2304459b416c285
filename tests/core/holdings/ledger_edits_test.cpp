// Direct edits of holdings and positions from their panels: the figures a
// panel shows, the keys of added rows, rewriting and deleting, and the
// summary and Save flags that follow every edit.
#include <gtest/gtest.h>

#include <string>

#include "core/books.h"
#include "core/diary/entry_amounts.h"
#include "core/holdings/ledger_edits.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"
#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::Sjis;

TEST(PanelFigures, BoughtHoldingGainsAtAHigherMarketPrice) {
  const PanelFigures f = ComputePanelFigures(true, 412000, 1000, 430);
  EXPECT_EQ(f.average, 412);
  EXPECT_EQ(f.profit, 18000);
  EXPECT_EQ(f.difference, 18);
  EXPECT_EQ(f.rate, "+4.37%");
  EXPECT_EQ(RateLookOf(f), RateLook::Gain);
}

TEST(PanelFigures, SoldSideGainsWhenThePriceFalls) {
  const PanelFigures sold = ComputePanelFigures(false, 500000, 1000, 450);
  EXPECT_EQ(sold.average, 500);
  EXPECT_EQ(sold.profit, 50000);
  EXPECT_EQ(sold.rate, "+10.00%");
  EXPECT_EQ(RateLookOf(sold), RateLook::Gain);

  const PanelFigures sell = ComputePanelFigures(false, 450000, 1000, 430);
  EXPECT_EQ(sell.average, 450);
  EXPECT_EQ(sell.profit, 20000);
  EXPECT_EQ(sell.rate, "+4.44%");

  const PanelFigures loss = ComputePanelFigures(true, 412000, 1000, 400);
  EXPECT_EQ(loss.profit, -12000);
  EXPECT_EQ(RateLookOf(loss), RateLook::Loss);
}

TEST(PanelFigures, NoSharesOrNoChangeLookNeutral) {
  const PanelFigures none = ComputePanelFigures(true, 412000, 0, 430);
  EXPECT_EQ(none.average, 0);
  EXPECT_EQ(none.profit, -412000);
  EXPECT_EQ(none.rate, "0.00%");
  EXPECT_EQ(RateLookOf(none), RateLook::Neutral);
  EXPECT_EQ(RateLookOf(ComputePanelFigures(true, 412000, 1000, 412)), RateLook::Neutral);
  // An average below 1 is neutral whatever the market price.
  EXPECT_EQ(RateLookOf(ComputePanelFigures(true, 500, 1000, 430)), RateLook::Neutral);
  // Typed figures at the ends of the range saturate instead of overflowing.
  const PanelFigures huge = ComputePanelFigures(true, 0, 9223372036854775807, 9223372036854775807);
  EXPECT_EQ(huge.profit, 9223372036854775807);
}

TEST(PanelFigures, LotStepAndRounding) {
  EXPECT_EQ(UnitStep(""), 1);
  EXPECT_EQ(UnitStep("100"), 100);
  // A plain integer: separators make it unreadable.
  EXPECT_EQ(UnitStep("1,000"), 1);
  EXPECT_EQ(UnitStep("abc"), 1);
  EXPECT_EQ(UnitStep("0"), 1);
  EXPECT_EQ(UnitStep("-100"), 1);
  EXPECT_EQ(RoundDownToStep(250, 100), 200);
  EXPECT_EQ(RoundDownToStep(-250, 100), -200);
  EXPECT_EQ(RoundDownToStep(250, 0), 250);
  EXPECT_EQ(AdditionalBuyTotal(412000, 1000, 1500, 430), 412000 + 500 * 430);
  EXPECT_EQ(AdditionalBuyTotal(412000, 1000, 1000, 430), 412000);
}

HoldingEntry Holding(const std::string& code, bool buy, const std::string& total, const std::string& shares) {
  HoldingEntry e;
  e.code = code;
  e.buy = buy;
  e.name = Sjis("見本電機");
  e.exchange = Sjis("東証１部");
  e.unit = "100";
  e.total = total;
  e.shares = shares;
  e.market = "430";
  return e;
}

TEST(HoldingEdits, AddUpdateDeleteKeepTheListSortedAndTheSummaryCurrent) {
  Books books;
  books.figures = {"1,000,000", "0"};
  HoldingEntry first = Holding("5678", true, "100,000", "100");
  first.comment = "a\r\nb";
  EXPECT_EQ(AddHoldingRow(books, first), 0u);
  const std::size_t added = AddHoldingRow(books, Holding("1234", true, "412,000", "1,000"));
  EXPECT_EQ(added, 0u);
  ASSERT_EQ(books.holdings.size(), 2u);
  const LedgerRow& row = books.holdings[0];
  EXPECT_EQ(row.key, "12341");
  EXPECT_EQ(row.cells, (std::vector<std::string>{"", Sjis("買"), Sjis("1234 見本電機"), Sjis("東証１部"), "100",
                                                 "412,000", "1,000", "412", "430", "+4.37%", "18,000", ""}));
  EXPECT_EQ(books.holdings[1].cell(HoldCol::Comment), "a\r\nb");
  EXPECT_TRUE(books.unsaved.holdings);
  EXPECT_FALSE(books.unsaved.positions);
  EXPECT_EQ(books.summary.holdingsTotal, 512000);
  EXPECT_EQ(books.summary.available, 488000);

  // Update: the side moves the row to its key; the reserved cell and, when
  // no comment is given, the comment stay.
  books.holdings.setCell(1, HoldCol::Reserved, "x");
  HoldingEntry sold = Holding("5678", false, "100,000", "100");
  EXPECT_EQ(UpdateHoldingRow(books, 1, sold), 1u);
  EXPECT_EQ(books.holdings[1].key, "56782");
  EXPECT_EQ(books.holdings[1].cell(HoldCol::Reserved), "x");
  EXPECT_EQ(books.holdings[1].cell(HoldCol::Kind), Sjis("売"));
  EXPECT_EQ(books.holdings[1].cell(HoldCol::Comment), "a\r\nb");
  EXPECT_EQ(books.holdings[1].cell(HoldCol::Rate), "+57.00%");
  HoldingEntry renamed = Holding("0001", true, "100,000", "100");
  renamed.comment = "";
  EXPECT_EQ(UpdateHoldingRow(books, 1, renamed), 0u);
  EXPECT_EQ(books.holdings[0].key, "00011");
  EXPECT_EQ(books.holdings[0].cell(HoldCol::Comment), "");

  ASSERT_TRUE(FirstHoldingOf(books, "1234"));
  EXPECT_EQ(*FirstHoldingOf(books, "1234"), 1u);
  EXPECT_FALSE(FirstHoldingOf(books, "9999"));

  books.unsaved.holdings = false;
  DeleteHoldingRow(books, 0);
  ASSERT_EQ(books.holdings.size(), 1u);
  EXPECT_TRUE(books.unsaved.holdings);
  EXPECT_EQ(books.summary.holdingsTotal, 412000);
  EXPECT_EQ(books.summary.unrealised, 18000);
}

PositionEntry Position(const std::string& code, bool buy, const std::string& date) {
  PositionEntry e;
  e.code = code;
  e.buy = buy;
  e.openDate = date;
  e.name = Sjis("見本電機");
  e.exchange = Sjis("東証１部");
  e.unit = "1,000";
  e.total = buy ? "412,000" : "450,000";
  e.shares = "1,000";
  e.market = "430";
  return e;
}

TEST(LedgerEdits, UpdateKeepsTheStockTextsOfARowWhoseCodeTheStockMasterLacks) {
  Books books;
  HoldingEntry typed = Holding("7777", true, "412,000", "1,000");
  typed.name = Sjis("未登録商事");
  AddHoldingRow(books, typed);
  // Opened again, the panel finds nothing for 7777: name, exchange and unit
  // are empty. A new market price is stored; the row's stock stays.
  HoldingEntry opened = Holding("7777", true, "412,000", "1,000");
  opened.name = opened.exchange = opened.unit = "";
  opened.stockKnown = false;
  opened.market = "500";
  UpdateHoldingRow(books, 0, opened);
  EXPECT_EQ(books.holdings[0].cells,
            (std::vector<std::string>{"", Sjis("買"), Sjis("7777 未登録商事"), Sjis("東証１部"), "100", "412,000",
                                      "1,000", "412", "500", "+21.36%", "88,000", ""}));
  // Typed over with another code, the row takes what the panel shows.
  opened.code = "8888";
  UpdateHoldingRow(books, 0, opened);
  EXPECT_EQ(books.holdings[0].cell(HoldCol::Stock), "8888 ");

  AddPositionRow(books, Position("7777", true, "2011/01/05"));
  PositionEntry position = Position("7777", true, "");
  position.name = position.exchange = position.unit = "";
  position.stockKnown = false;
  UpdatePositionRow(books, 0, position);
  EXPECT_EQ(books.positions[0].cell(LoanCol::Stock), Sjis("7777 見本電機"));
  EXPECT_EQ(books.positions[0].cell(LoanCol::Unit), "1,000");
}

TEST(PositionEdits, AddedPositionsTakeTheSmallestFreeNumber) {
  Books books;
  const PositionEntry buy = Position("1234", true, "2011/01/05");
  AddPositionRow(books, buy);
  AddPositionRow(books, buy);
  ASSERT_EQ(books.positions.size(), 2u);
  EXPECT_EQ(books.positions[0].key, "123452011/01/05001");
  EXPECT_EQ(books.positions[1].key, "123452011/01/05002");
  EXPECT_EQ(books.positions[0].cells,
            (std::vector<std::string>{"", Sjis("買建"), "2011/01/05", Sjis("1234 見本電機"), Sjis("東証１部"), "1,000",
                                      "412,000", "1,000", "412", "430", "+4.37%", "18,000", ""}));
  DeletePositionRow(books, 0);
  EXPECT_EQ(books.positions[AddPositionRow(books, buy)].key, "123452011/01/05001");
  // Another side or date counts from 001 of its own.
  EXPECT_EQ(books.positions[AddPositionRow(books, Position("1234", false, "2011/01/05"))].key, "123462011/01/05001");
  EXPECT_EQ(books.positions[AddPositionRow(books, Position("1234", true, "2011/01/06"))].key, "123452011/01/06001");
  EXPECT_TRUE(books.unsaved.positions);
  EXPECT_FALSE(books.unsaved.holdings);
  EXPECT_EQ(books.summary.buyPositions, 3 * 412000);
  EXPECT_EQ(books.summary.sellPositions, 450000);
  EXPECT_EQ(books.summary.unrealised, 3 * 18000 + 20000);
}

TEST(PositionEdits, UpdateKeepsKeyAndDateUnlessCodeOrSideChange) {
  Books books;
  AddPositionRow(books, Position("1234", true, "2011/01/05"));
  AddPositionRow(books, Position("1234", true, "2011/01/05"));
  books.unsaved = {};
  PositionEntry typed = Position("1234", true, "2099/12/31");  // the open date is not taken
  typed.market = "440";
  typed.comment = "memo";
  EXPECT_EQ(UpdatePositionRow(books, 1, typed), 1u);
  const LedgerRow& row = books.positions[1];
  EXPECT_EQ(row.key, "123452011/01/05002");
  EXPECT_EQ(row.cell(LoanCol::OpenDate), "2011/01/05");
  EXPECT_EQ(row.cell(LoanCol::Market), "440");
  EXPECT_EQ(row.cell(LoanCol::Rate), "+6.80%");
  EXPECT_EQ(row.cell(LoanCol::Comment), "memo");
  EXPECT_TRUE(books.unsaved.positions);
  EXPECT_TRUE(books.unsaved.holdings);

  // Typed over as a sell position: it goes to the sell key of its date.
  PositionEntry sell = Position("1234", false, "");
  const std::size_t moved = UpdatePositionRow(books, 0, sell);
  EXPECT_EQ(books.positions[moved].key, "123462011/01/05001");
  EXPECT_EQ(books.positions[moved].cell(LoanCol::Kind), Sjis("売建"));
  EXPECT_EQ(books.positions[moved].cell(LoanCol::Comment), "");
  EXPECT_EQ(books.summary.sellPositions, 450000);
}

TEST(PositionEdits, MarketPriceOfACodeReachesBothSidesAndNoOtherStock) {
  Books books;
  AddPositionRow(books, Position("1234", true, "2011/01/05"));
  AddPositionRow(books, Position("1234", false, "2011/01/07"));
  AddPositionRow(books, Position("5678", true, "2011/01/05"));
  books.unsaved = {};
  ApplyMarketPriceToCode(books, "1234", "500");
  ASSERT_EQ(books.positions.size(), 3u);
  EXPECT_EQ(books.positions[0].cell(LoanCol::Market), "500");
  EXPECT_EQ(books.positions[0].cell(LoanCol::Profit), "88,000");
  EXPECT_EQ(books.positions[0].cell(LoanCol::Rate), "+21.36%");
  EXPECT_EQ(books.positions[1].cell(LoanCol::Market), "500");
  EXPECT_EQ(books.positions[1].cell(LoanCol::Profit), "-50,000");
  EXPECT_EQ(books.positions[1].cell(LoanCol::Rate), "-11.11%");
  EXPECT_EQ(books.positions[2].cell(LoanCol::Market), "430");
  EXPECT_EQ(books.positions[2].cell(LoanCol::Profit), "18,000");
  EXPECT_EQ(books.summary.unrealised, 88000 - 50000 + 18000);
  EXPECT_TRUE(books.unsaved.positions);
  EXPECT_TRUE(books.unsaved.holdings);
}

}  // namespace
}  // namespace tomvik::core
