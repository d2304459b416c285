#include "core/diary/bookkeeping.h"

#include <gtest/gtest.h>

#include <map>

#include <limits>
#include <string>
#include <vector>

#include "core/diary/bookkeeping_fixture.h"
#include "core/holdings/ledger_edits.h"
#include "core/records/code_file.h"
#include "core/records/diary_file.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::core::test {
namespace {

constexpr Amount kMax = std::numeric_limits<Amount>::max();
constexpr Amount kMin = std::numeric_limits<Amount>::min();

std::vector<std::string> Keys(const LedgerTable& table) {
  std::vector<std::string> keys;
  for (const LedgerRow& row : table) keys.push_back(row.key);
  return keys;
}

TEST(MulDiv, ExactBeyondTheRangeOfTheProductAndTruncatedTowardZero) {
  EXPECT_EQ(MulDiv(1'234'567, 300, 1'000), 370'370);
  EXPECT_EQ(MulDiv(-7, 3, 2), -10);
  EXPECT_EQ(MulDiv(7, -3, 2), -10);
  EXPECT_EQ(MulDiv(4'000'000'000'000'000'000, 4, 8), 2'000'000'000'000'000'000);
  EXPECT_EQ(MulDiv(kMax, kMax, kMax), kMax);
  EXPECT_EQ(MulDiv(kMin, kMin, kMin), kMin);
  EXPECT_EQ(MulDiv(123, 456, 0), 0);
  EXPECT_EQ(MulDiv(kMax, 2, 1), kMax);
  EXPECT_EQ(MulDiv(kMin, 2, 1), kMin);
  EXPECT_EQ(MulDiv(kMin, -1, 1), kMax);
}

TEST_F(BookkeepingTest, FindHoldingTellsNoneSameSideAndOtherSideApart) {
  EXPECT_EQ(FindHolding(books, '1', "1234"), 0);
  OpenHolding(books, TradeRow("22", "5678", {"500", "100", "50,000"}), kUnit, "500");
  OpenHolding(books, TradeRow("21", "1234", {"500", "100", "50,000"}), kUnit, "500");
  ASSERT_EQ(Keys(books.holdings), (std::vector<std::string>{"12341", "56782"}));
  EXPECT_EQ(FindHolding(books, '1', "1234"), 1);
  EXPECT_EQ(FindHolding(books, '2', "1234"), -1);
  EXPECT_EQ(FindHolding(books, '2', "5678"), 2);
  EXPECT_EQ(FindHolding(books, '1', "5678"), -2);
  EXPECT_EQ(FindHolding(books, '1', "9999"), 0);
  EXPECT_EQ(StockCodeOf(TradeRow("21", "1234", {})), "1234");
}

TEST_F(BookkeepingTest, BuySellAndSellTheRestOfAHolding) {
  const LedgerRow buy = RecordCashTrade(books, "1234", true, 1'234, 1'000, 1'234'567);
  EXPECT_EQ(buy.key, "2011/03/15211234");
  EXPECT_TRUE(books.unsaved.holdings);
  const LedgerRow& opened = Holding("12341");
  EXPECT_EQ(opened.cell(HoldCol::Kind), Sjis("買"));
  EXPECT_EQ(opened.cell(HoldCol::Stock), "1234 " + Sjis("見本電機"));
  EXPECT_EQ(opened.cell(HoldCol::Exchange), Sjis("東証１部"));
  EXPECT_EQ(opened.cell(HoldCol::Unit), "100");
  EXPECT_EQ(opened.cell(HoldCol::Total), "1,234,567");
  EXPECT_EQ(opened.cell(HoldCol::Shares), "1,000");
  EXPECT_EQ(opened.cell(HoldCol::Average), "1,234");
  EXPECT_EQ(opened.cell(HoldCol::Market), "1,234");
  EXPECT_EQ(opened.cell(HoldCol::Rate), "0.00%");
  EXPECT_EQ(opened.cell(HoldCol::Profit), "-567");
  EXPECT_EQ(books.summary.holdingsTotal, 1'234'567);
  EXPECT_EQ(books.summary.unrealised, -567);
  EXPECT_EQ(books.figures.realised, "0");

  const LedgerRow sale = RecordCashTrade(books, "1234", false, 1'340, 300, 400'000);
  EXPECT_EQ(sale.key, "2011/03/15321234");
  EXPECT_EQ(sale.cell(DiaryCol::Cost), "370,370");
  EXPECT_EQ(sale.cell(DiaryCol::Profit), "29,630");
  const LedgerRow& kept = Holding("12341");
  EXPECT_EQ(kept.cell(HoldCol::Shares), "700");
  EXPECT_EQ(kept.cell(HoldCol::Total), "864,197");
  EXPECT_EQ(kept.cell(HoldCol::Average), "1,234");
  EXPECT_EQ(kept.cell(HoldCol::Profit), "-397");
  EXPECT_EQ(books.figures.realised, "29,630");
  EXPECT_EQ(books.summary.holdingsTotal, 864'197);
  EXPECT_EQ(books.summary.balance, 1'000'000 + 29'630 - 397);
  ASSERT_EQ(books.stocks.size(), 1u);
  EXPECT_EQ(books.stocks[0].key, "1234");
  EXPECT_EQ(books.stocks[0].cell(StockCol::BuyTotal), "370,370");
  EXPECT_EQ(books.stocks[0].cell(StockCol::SellTotal), "400,000");
  EXPECT_EQ(books.stocks[0].cell(StockCol::Result), "29,630");
  EXPECT_TRUE(books.unsaved.stocks);

  const LedgerRow rest = RecordCashTrade(books, "1234", false, 1'300, 700, 900'000);
  EXPECT_EQ(rest.cell(DiaryCol::Cost), "864,197");
  EXPECT_EQ(rest.cell(DiaryCol::Profit), "35,803");
  EXPECT_TRUE(books.holdings.empty());
  EXPECT_EQ(books.figures.realised, "65,433");
  EXPECT_EQ(books.summary.holdingsTotal, 0);
  EXPECT_EQ(books.stocks[0].cell(StockCol::BuyTotal), "1,234,567");
  EXPECT_EQ(books.stocks[0].cell(StockCol::SellTotal), "1,300,000");
}

TEST_F(BookkeepingTest, ApplyToHoldingReportsTheClosedCostAndWhetherTheHoldingRemains) {
  OpenHolding(books, TradeRow("21", "1234", {"1,234", "1,000", "1,234,567"}), kUnit, "1,234");
  const HoldingChange added = ApplyToHolding(books, 0, TradeRow("21", "1234", {"1,200", "500", "600,000"}));
  EXPECT_EQ(added.costText, "");
  EXPECT_EQ(added.realised, 0);
  EXPECT_EQ(added.index, std::optional<std::size_t>(0));
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "1,834,567");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Average), "1,223");

  const HoldingChange closed = ApplyToHolding(books, 0, TradeRow("32", "1234", {"1,300", "1,500", "1,950,000"}));
  EXPECT_EQ(closed.costText, "1,834,567");
  EXPECT_EQ(closed.realised, 115'433);
  EXPECT_FALSE(closed.index.has_value());
  EXPECT_TRUE(books.holdings.empty());
}

TEST_F(BookkeepingTest, DeletingAClosingRowGivesTheSharesBackAtTheirCost) {
  RecordCashTrade(books, "1234", true, 1'234, 1'000, 1'234'567);
  const LedgerSnapshot before = SnapshotOf(books);
  const LedgerRow sale = RecordCashTrade(books, "1234", false, 1'340, 300, 400'000);

  const UndoResult undo = UndoCashRow(books, sale, kUnit);
  EXPECT_TRUE(undo.provisionalHolding);
  EXPECT_TRUE(undo.stockTotalsChanged);
  ASSERT_EQ(Keys(books.holdings), (std::vector<std::string>{"00001", "12341"}));
  EXPECT_EQ(books.holdings[0].cell(HoldCol::Total), "370,370");
  EXPECT_EQ(books.holdings[0].cell(HoldCol::Shares), "300");
  EXPECT_EQ(books.figures.realised, "0");
  EXPECT_EQ(books.stocks[0].cell(StockCol::BuyTotal), "0");
  EXPECT_EQ(books.stocks[0].cell(StockCol::SellTotal), "0");
  EXPECT_EQ(books.stocks[0].cell(StockCol::Result), "0");

  MergeProvisionalHolding(books);
  LedgerSnapshot after = SnapshotOf(books);
  after.stocks.clear();  // the stock row made by the sale stays, at totals 0
  EXPECT_EQ(after, before);
}

TEST_F(BookkeepingTest, DeletingTheClosingRowsOfAHoldingThatIsGoneRestoresItUnderItsCode) {
  RecordCashTrade(books, "1234", true, 1'234, 1'000, 1'234'567);
  const LedgerSnapshot before = SnapshotOf(books);
  const LedgerRow first = RecordCashTrade(books, "1234", false, 1'340, 300, 400'000);
  const LedgerRow rest = RecordCashTrade(books, "1234", false, 1'300, 700, 900'000);
  ASSERT_TRUE(books.holdings.empty());

  DeleteCashRow(books, first);
  ASSERT_EQ(Keys(books.holdings), (std::vector<std::string>{"12341"}));
  const LedgerRow& restored = books.holdings[0];
  EXPECT_EQ(restored.cell(HoldCol::Stock), "1234 " + Sjis("見本電機"));
  EXPECT_EQ(restored.cell(HoldCol::Shares), "300");
  EXPECT_EQ(restored.cell(HoldCol::Total), "370,370");
  EXPECT_EQ(restored.cell(HoldCol::Average), "1,234");
  EXPECT_EQ(restored.cell(HoldCol::Market), "1,340");  // the price of the sale it came back from
  EXPECT_EQ(restored.cell(HoldCol::Unit), "100");
  EXPECT_EQ(books.figures.realised, "35,803");
  EXPECT_EQ(books.stocks[0].cell(StockCol::BuyTotal), "864,197");
  EXPECT_EQ(books.stocks[0].cell(StockCol::SellTotal), "900,000");

  DeleteCashRow(books, rest);
  ASSERT_EQ(Keys(books.holdings), (std::vector<std::string>{"12341"}));
  EXPECT_EQ(books.holdings[0].cell(HoldCol::Shares), "1,000");
  EXPECT_EQ(books.holdings[0].cell(HoldCol::Total), "1,234,567");
  EXPECT_EQ(books.holdings[0].cell(HoldCol::Average), "1,234");
  EXPECT_EQ(books.figures.realised, before.realised);
  EXPECT_EQ(books.summary.holdingsTotal, before.holdingsTotal);
  EXPECT_EQ(books.stocks[0].cell(StockCol::BuyTotal), "0");
  EXPECT_EQ(books.stocks[0].cell(StockCol::SellTotal), "0");
}

TEST_F(BookkeepingTest, ChangingASaleClosesTheSharesItGaveBackFirst) {
  RecordCashTrade(books, "1234", true, 1'234, 1'000, 1'234'567);
  LedgerRow sale = RecordCashTrade(books, "1234", false, 1'340, 300, 400'000);

  // The same quantity at another price keeps the cost of the shares.
  ASSERT_TRUE(UndoCashRow(books, sale, kUnit).provisionalHolding);
  sale = RecordCashTrade(books, "1234", false, 1'400, 300, 420'000, kNoStockCode);
  MergeProvisionalHolding(books);
  EXPECT_EQ(sale.cell(DiaryCol::Cost), "370,370");
  EXPECT_EQ(Keys(books.holdings), (std::vector<std::string>{"12341"}));
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "864,197");
  EXPECT_EQ(books.figures.realised, "49,630");

  // Fewer shares: their part of the cost given back.
  UndoCashRow(books, sale, kUnit);
  sale = RecordCashTrade(books, "1234", false, 1'400, 200, 280'000, kNoStockCode);
  MergeProvisionalHolding(books);
  EXPECT_EQ(sale.cell(DiaryCol::Cost), "246,913");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "987,654");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "800");

  // More shares: all of them closed of the 200 the undo gave back, at
  // their cost (246,913 x 500 / 200).
  UndoCashRow(books, sale, kUnit);
  sale = RecordCashTrade(books, "1234", false, 1'400, 500, 700'000, kNoStockCode);
  MergeProvisionalHolding(books);
  EXPECT_EQ(sale.cell(DiaryCol::Cost), "617,282");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "617,285");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "500");

  // All of them: the holding goes; the 3 yen it is left with wait aside.
  UndoCashRow(books, sale, kUnit);
  sale = RecordCashTrade(books, "1234", false, 1'400, 1'000, 1'400'000, kNoStockCode);
  MergeProvisionalHolding(books);
  EXPECT_EQ(sale.cell(DiaryCol::Cost), "1,234,564");
  EXPECT_TRUE(books.holdings.empty());
  EXPECT_EQ(books.heldAside, (std::map<std::string, Amount>{{"12341", 3}}));
  EXPECT_EQ(books.figures.realised, "165,436");
  EXPECT_EQ(books.stocks[0].cell(StockCol::BuyTotal), "1,234,564");
  EXPECT_EQ(books.stocks[0].cell(StockCol::SellTotal), "1,400,000");

  // Taken back, the holding is whole again.
  DeleteCashRow(books, sale);
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "1,234,567");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "1,000");
  EXPECT_TRUE(books.heldAside.empty());
}

TEST_F(BookkeepingTest, AChangedSaleAfterALaterBuyTakesTheCostOfTheSharesItGaveBack) {
  // Buy 1,000 for 1,000,000; sell 300; buy 400 for 600,000; the sale becomes
  // one of 500: its cost is 300,000 x 500 / 300, as average cost in date
  // order gives, and 900 shares are left at 1,100,000.
  RecordCashTrade(books, "1234", true, 1'000, 1'000, 1'000'000);
  LedgerRow sale = RecordCashTrade(books, "1234", false, 1'100, 300, 330'000);
  EXPECT_EQ(sale.cell(DiaryCol::Cost), "300,000");
  RecordCashTrade(books, "1234", true, 1'500, 400, 600'000);
  ASSERT_TRUE(UndoCashRow(books, sale, kUnit).provisionalHolding);
  sale = RecordCashTrade(books, "1234", false, 1'100, 500, 550'000, kNoStockCode);
  MergeProvisionalHolding(books);
  EXPECT_EQ(sale.cell(DiaryCol::Cost), "500,000");
  EXPECT_EQ(Keys(books.holdings), (std::vector<std::string>{"12341"}));
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "900");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "1,100,000");
  EXPECT_EQ(books.figures.realised, "50,000");
}

TEST_F(BookkeepingTest, DeletingAnOpeningBuyAfterItsHoldingWasSoldOffLeavesTheSharesOwed) {
  const LedgerRow buy = RecordCashTrade(books, "1234", true, 1'234, 1'000, 1'234'567);
  const LedgerRow sale = RecordCashTrade(books, "1234", false, 1'300, 1'000, 1'300'000);
  ASSERT_TRUE(books.holdings.empty());

  const UndoResult undo = DeleteCashRow(books, buy);
  EXPECT_TRUE(undo.holdingRestored);
  EXPECT_FALSE(undo.provisionalHolding);
  const LedgerRow& owed = Holding("12341");
  EXPECT_EQ(owed.cell(HoldCol::Shares), "-1,000");
  EXPECT_EQ(owed.cell(HoldCol::Total), "-1,234,567");
  EXPECT_EQ(owed.cell(HoldCol::Average), "0");
  EXPECT_EQ(owed.cell(HoldCol::Profit), "567");
  EXPECT_EQ(books.figures.realised, "65,433");  // the sale still stands
  EXPECT_EQ(books.summary.holdingsTotal, -1'234'567);

  DeleteCashRow(books, sale);
  EXPECT_TRUE(books.holdings.empty());
  EXPECT_EQ(books.figures.realised, "0");
  EXPECT_EQ(books.stocks[0].cell(StockCol::BuyTotal), "0");
}

TEST_F(BookkeepingTest, AHoldingWithNoSharesLeftIsRemovedAndAnUndoGivesItsYenBack) {
  // Two buys of 1,000 shares for 1,000,000 and 2,000,000; a sale of 1,000
  // takes half the cost. Deleting the first buy leaves no shares but 500,000
  // yen: the holding goes and its yen wait aside.
  const LedgerRow first = RecordCashTrade(books, "1234", true, 1'500, 1'000, 1'000'000);
  RecordCashTrade(books, "1234", true, 1'500, 1'000, 2'000'000);
  const LedgerRow sale = RecordCashTrade(books, "1234", false, 1'600, 1'000, 1'600'000);
  EXPECT_EQ(sale.cell(DiaryCol::Cost), "1,500,000");

  DeleteCashRow(books, first);
  EXPECT_TRUE(books.holdings.empty());
  EXPECT_EQ(books.heldAside, (std::map<std::string, Amount>{{"12341", 500'000}}));
  EXPECT_EQ(books.summary.holdingsTotal, 0);

  // A new buy is booked at what it cost, whatever waits aside.
  RecordCashTrade(books, "1234", true, 300, 100, 30'000);
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "30,000");

  // Deleting the sale brings its shares back, and the yen with them: the
  // second buy and the new one, exactly.
  DeleteCashRow(books, sale);
  EXPECT_EQ(Keys(books.holdings), (std::vector<std::string>{"12341"}));
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "2,030,000");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "1,100");
  EXPECT_TRUE(books.heldAside.empty());
  EXPECT_EQ(books.figures.realised, "0");
}

TEST_F(BookkeepingTest, UndoOfASoldHoldingTradeUsesTheHoldingOfItsSide) {
  // A bought holding sorts before the sold one of the same code; the undo
  // of the sell that opened the sold holding must still find that one.
  const LedgerRow shortSale = TradeRow("22", "1234", {"1,000", "500", "500,000"});
  OpenHolding(books, shortSale, kUnit, "1,000");
  const LedgerSnapshot soldOnly = SnapshotOf(books);
  const LedgerRow cover = RecordCashTrade(books, "1234", true, 900, 200, 180'000);
  EXPECT_EQ(cover.key, "2011/03/15311234");
  EXPECT_EQ(cover.cell(DiaryCol::Cost), "200,000");
  EXPECT_EQ(cover.cell(DiaryCol::Profit), "20,000");
  EXPECT_EQ(books.figures.realised, "20,000");
  OpenHolding(books, TradeRow("21", "1234", {"1,000", "100", "100,000"}), kUnit, "1,000");
  ASSERT_EQ(Keys(books.holdings), (std::vector<std::string>{"12341", "12342"}));

  const UndoResult undo = UndoCashRow(books, cover, kUnit);
  EXPECT_EQ(Keys(books.holdings), (std::vector<std::string>{"00002", "12341", "12342"}));
  EXPECT_TRUE(undo.provisionalHolding);
  MergeProvisionalHolding(books);
  ASSERT_EQ(Keys(books.holdings), (std::vector<std::string>{"12341", "12342"}));
  EXPECT_EQ(Holding("12342").cell(HoldCol::Total), "500,000");
  EXPECT_EQ(Holding("12342").cell(HoldCol::Shares), "500");
  EXPECT_EQ(books.figures.realised, "0");

  UndoCashRow(books, TradeRow("21", "1234", {"1,000", "100", "100,000"}), kUnit);
  EXPECT_EQ(TextsOf(books.holdings), soldOnly.holdings);
  UndoCashRow(books, shortSale, kUnit);
  EXPECT_TRUE(books.holdings.empty());
}

TEST_F(BookkeepingTest, HeadersCashMovementsPlansAndRegistrationsUndo) {
  books.figures.realised = "10,000";
  LedgerRow header = MakeDayHeader(kDate);
  header.setCell(DiaryCol::Charge, "1,050");
  UndoCashRow(books, header, kUnit);
  EXPECT_EQ(books.figures.realised, "11,050");
  EXPECT_TRUE(books.unsaved.holdings);

  LedgerRow withdrawal;
  withdrawal.key = std::string(kDate) + "72";
  withdrawal.cells.resize(DiaryCol::Count);
  withdrawal.cells[DiaryCol::Amount] = "10,000";
  withdrawal.cells[DiaryCol::Charge] = "105";
  withdrawal.cells[DiaryCol::Profit] = "-10,105";
  UndoCashRow(books, withdrawal, kUnit);
  EXPECT_EQ(books.figures.realised, "21,155");

  RecordCashTrade(books, "1234", true, 1'000, 100, 100'000);
  const LedgerSnapshot before = SnapshotOf(books);
  UndoCashRow(books, TradeRow("11", "1234", {"900", "100", "90,000"}), kUnit);
  UndoCashRow(books, TradeRow("51", "1234", {"900", "100", "90,000", "100,000", "-10,000"}), kUnit);
  UndoCashRow(books, MakeDayEnd(kDate), kUnit);
  UndoMarginRow(books, TradeRow("55", "1234", {"900", "100", "90,000", "100,000", "-10,000"}), kUnit);
  UndoCashRow(books, MakeDayHeader(kDate), kUnit);
  EXPECT_EQ(SnapshotOf(books), before);
}

TEST_F(BookkeepingTest, StockTotalsOfANewCodeStartFromTheStockMasterFile) {
  WriteBytes(folder / "Code.txt", Sjis("[1234]\r\nN=見本電機\r\nE=東証１部\r\nU=100\r\nB=1,000\r\nS=500\r\n"
                                       "C=一行目%n100%%\r\nF=0\r\n\r\n"));
  const std::size_t index = AddToStockTotals(books, "1234", 2'000, 3'000);
  ASSERT_EQ(index, 0u);
  const LedgerRow& row = books.stocks[0];
  EXPECT_EQ(row.key, "1234");
  EXPECT_EQ(row.cell(StockCol::Name), Sjis("見本電機"));
  EXPECT_EQ(row.cell(StockCol::Exchange), Sjis("東証１部"));
  EXPECT_EQ(row.cell(StockCol::Unit), "100");
  EXPECT_EQ(row.cell(StockCol::BuyTotal), "3,000");
  EXPECT_EQ(row.cell(StockCol::SellTotal), "3,500");
  EXPECT_EQ(row.cell(StockCol::Result), "500");
  EXPECT_EQ(row.cell(StockCol::Rate), "+16.66667%");
  EXPECT_EQ(row.cell(StockCol::Comment), Sjis("一行目\r\n100%"));
  EXPECT_TRUE(row.mark);
  EXPECT_TRUE(books.unsaved.stocks);

  // A row that is there already is added to; a code the file lacks starts empty.
  EXPECT_EQ(AddToStockTotals(books, "0500", 100, 0), 0u);
  EXPECT_EQ(AddToStockTotals(books, "1234", -3'000, -3'500), 1u);
  EXPECT_EQ(books.stocks[1].cell(StockCol::BuyTotal), "0");
  EXPECT_EQ(books.stocks[1].cell(StockCol::Rate), "0.00000%");
  EXPECT_EQ(books.stocks[0].cell(StockCol::Name), "");
  EXPECT_EQ(books.stocks[0].cell(StockCol::Result), "-100");
  EXPECT_EQ(books.stocks[0].cell(StockCol::Rate), "-100.00000%");
}

// --- margin positions --------------------------------------------------------

class PositionsTest : public BookkeepingTest {
 protected:
  PositionsTest() {
    books.diary.insert(MakeDayHeader(kDate));
    books.diary.insert(MakeDayEnd(kDate));
  }

  // Opens a position as the diary does and files its row under the key with
  // the sequence appended.
  LedgerRow Open(std::string_view kind, std::string_view code, const TradeFigures& figures) {
    LedgerRow row = TradeRow(kind, code, figures);
    const PositionOpened opened = OpenPosition(books, row, kDate, kUnit, dayCounter);
    row.key += opened.sequence;
    books.diary.insert(row);
    return row;
  }

  // The settlement row of a position, dated a few days later.
  static LedgerRow Settlement(std::string_view kind, std::string_view positionKey, const TradeFigures& figures) {
    return TradeRow(kind, positionKey.substr(0, 4), figures, positionKey.substr(5), "2011/03/22");
  }

  int dayCounter = 0;
};

TEST_F(PositionsTest, TheThirdPositionOfADayIsNumbered003Everywhere) {
  Open("26", "5678", {"300", "1,000", "299,500"});
  Open("25", "1234", {"700", "100", "70,300"});
  const LedgerRow third = Open("25", "1234", {"450", "1,000", "450,500"});
  EXPECT_EQ(dayCounter, 3);
  EXPECT_EQ(Keys(books.diary), (std::vector<std::string>{"2011/03/150003", "2011/03/15251234002", "2011/03/15251234003",
                                                         "2011/03/15265678001", "2011/03/159"}));
  EXPECT_EQ(third.key, "2011/03/15251234003");
  EXPECT_TRUE(books.unsaved.diary);
  EXPECT_TRUE(books.unsaved.positions);
  EXPECT_TRUE(books.unsaved.holdings);
  ASSERT_EQ(Keys(books.positions),
            (std::vector<std::string>{"123452011/03/15002", "123452011/03/15003", "567862011/03/15001"}));
  const LedgerRow& position = Position("123452011/03/15003");
  EXPECT_EQ(position.cell(LoanCol::Kind), Sjis("買建"));
  EXPECT_EQ(position.cell(LoanCol::OpenDate), "2011/03/15");
  EXPECT_EQ(position.cell(LoanCol::Stock), "1234 " + Sjis("見本電機"));
  EXPECT_EQ(position.cell(LoanCol::Unit), "100");
  EXPECT_EQ(position.cell(LoanCol::Total), "450,500");
  EXPECT_EQ(position.cell(LoanCol::Shares), "1,000");
  EXPECT_EQ(position.cell(LoanCol::Price), "450");
  EXPECT_EQ(position.cell(LoanCol::Market), "450");
  EXPECT_EQ(position.cell(LoanCol::Rate), "0.00%");
  EXPECT_EQ(position.cell(LoanCol::Profit), "-500");
  EXPECT_EQ(Position("567862011/03/15001").cell(LoanCol::Kind), Sjis("売建"));
  EXPECT_EQ(Position("567862011/03/15001").cell(LoanCol::Profit), "-500");
  EXPECT_EQ(books.summary.buyPositions, 520'800);
  EXPECT_EQ(books.summary.sellPositions, 299'500);
  EXPECT_EQ(books.summary.unrealised, -500 - 300 - 500);

  // The diary key names the position its deletion takes away.
  const UndoResult undo = UndoMarginRow(books, third, kUnit);
  EXPECT_FALSE(undo.positionIndex.has_value());
  EXPECT_EQ(Keys(books.positions), (std::vector<std::string>{"123452011/03/15002", "567862011/03/15001"}));
  EXPECT_EQ(books.summary.buyPositions, 70'300);
}

TEST_F(PositionsTest, ANewPositionPassesOverTheNumbersOfItsDayInUse) {
  // A position added in the initial-setup mode took 001 of the day.
  PositionEntry typed;
  typed.code = "1234";
  typed.openDate = std::string(kDate);
  typed.total = "100,000";
  typed.shares = "100";
  AddPositionRow(books, typed);
  ASSERT_EQ(Keys(books.positions), (std::vector<std::string>{"123452011/03/15001"}));

  const LedgerRow row = Open("25", "1234", {"450", "1,000", "450,000"});
  EXPECT_EQ(row.key, "2011/03/15251234002");
  EXPECT_EQ(dayCounter, 2);
  EXPECT_EQ(Keys(books.diary).front(), "2011/03/150002");
  EXPECT_EQ(Keys(books.positions), (std::vector<std::string>{"123452011/03/15001", "123452011/03/15002"}));
  // Another stock or side starts from the day counter as it stands.
  EXPECT_EQ(Open("26", "1234", {"450", "1,000", "450,000"}).key, "2011/03/15261234003");
}

TEST_F(PositionsTest, RepaymentBySellingAndItsUndo) {
  const LedgerRow opening = Open("25", "1234", {"450", "1,000", "450,000"});
  AddToStockTotals(books, "1234", 0, 0);
  const LedgerSnapshot before = SnapshotOf(books);

  const std::string key = "123452011/03/15001";
  const LedgerRow repay = Settlement("36", key, {"480", "500", "239,400", "225,000", "14,400"});
  EXPECT_EQ(repay.key,
            "2011/03/22361234"
            "2011/03/15001");
  ReducePosition(books, *books.positions.find(key), 500, 225'000, 14'400);
  AddToStockTotals(books, "1234", 225'000, 239'400);
  EXPECT_EQ(Position(key).cell(LoanCol::Shares), "500");
  EXPECT_EQ(Position(key).cell(LoanCol::Total), "225,000");
  EXPECT_EQ(books.figures.realised, "14,400");

  const UndoResult undo = UndoMarginRow(books, repay, kUnit);
  EXPECT_EQ(undo.positionIndex, books.positions.find(key));
  EXPECT_TRUE(undo.stockTotalsChanged);
  EXPECT_EQ(SnapshotOf(books), before);

  // The opening's undo deletes its position, also one whose total was
  // typed over since: no position without shares is left behind.
  books.positions.setCell(*books.positions.find(key), LoanCol::Total, "451,000");
  UndoMarginRow(books, opening, kUnit);
  EXPECT_TRUE(books.positions.empty());
  EXPECT_EQ(books.summary.buyPositions, 0);
}

TEST_F(PositionsTest, APartialSettlementTakesExactlyItsBookedCost) {
  Open("25", "1234", {"1,234", "1,000", "1,234,567"});
  AddToStockTotals(books, "1234", 0, 0);
  const LedgerSnapshot before = SnapshotOf(books);
  const std::string key = "123452011/03/15001";

  const LedgerRow repay = Settlement("36", key, {"1,300", "300", "390,000", "370,370", "19,630"});
  ReducePosition(books, 0, 300, 370'370, 19'630);
  AddToStockTotals(books, "1234", 370'370, 390'000);
  EXPECT_EQ(Position(key).cell(LoanCol::Total), "864,197");
  EXPECT_EQ(Position(key).cell(LoanCol::Shares), "700");

  UndoMarginRow(books, repay, kUnit);
  EXPECT_EQ(SnapshotOf(books), before);
}

TEST_F(PositionsTest, BuyingBackAWholeSellPositionAndItsUndo) {
  Open("26", "1234", {"450", "1,000", "450,000"});
  AddToStockTotals(books, "1234", 0, 0);
  const LedgerSnapshot before = SnapshotOf(books);
  const std::string key = "123462011/03/15001";

  const LedgerRow buyBack = Settlement("35", key, {"430", "1,000", "430,500", "450,000", "19,500"});
  ReducePosition(books, 0, 1'000, 450'000, 19'500);
  AddToStockTotals(books, "1234", 430'500, 450'000);
  EXPECT_TRUE(books.positions.empty());
  EXPECT_EQ(books.figures.realised, "19,500");

  const UndoResult undo = UndoMarginRow(books, buyBack, kUnit);
  EXPECT_EQ(undo.positionIndex, std::optional<std::size_t>(0));
  EXPECT_EQ(SnapshotOf(books), before);  // re-created at its unit price 450
}

TEST_F(PositionsTest, DeliveryTakeAndItsUndo) {
  Open("25", "1234", {"450", "1,000", "450,000"});
  const std::string key = "123452011/03/15001";
  const LedgerSnapshot before = SnapshotOf(books);

  const LedgerRow take = Settlement("27", key, {"450", "300", "135,000"});
  const HoldingChange change = TakeDelivery(books, take, "1234", kUnit, "460");
  ReducePosition(books, 0, 300, 135'000, 0);
  ASSERT_TRUE(change.index.has_value());
  const LedgerRow& holding = Holding("12341");
  EXPECT_EQ(holding.cell(HoldCol::Shares), "300");
  EXPECT_EQ(holding.cell(HoldCol::Total), "135,000");
  EXPECT_EQ(holding.cell(HoldCol::Average), "450");
  EXPECT_EQ(holding.cell(HoldCol::Market), "460");
  EXPECT_EQ(holding.cell(HoldCol::Profit), "3,000");
  EXPECT_EQ(Position(key).cell(LoanCol::Total), "315,000");
  EXPECT_EQ(books.figures.realised, "0");
  EXPECT_TRUE(books.stocks.empty());

  const UndoResult undo = UndoMarginRow(books, take, kUnit);
  EXPECT_FALSE(undo.stockTotalsChanged);
  EXPECT_EQ(SnapshotOf(books), before);

  // Into a bought holding that is there already.
  OpenHolding(books, TradeRow("21", "1234", {"1,234", "1,000", "1,234,567"}), kUnit, "1,234");
  const LedgerSnapshot withHolding = SnapshotOf(books);
  TakeDelivery(books, take, "1234", kUnit, "460");
  ReducePosition(books, 0, 300, 135'000, 0);
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "1,300");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "1,369,567");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Market), "1,234");
  UndoMarginRow(books, take, kUnit);
  EXPECT_EQ(SnapshotOf(books), withHolding);
}

TEST_F(PositionsTest, DeliveryGiveAndItsUndo) {
  Open("26", "1234", {"450", "1,000", "450,000"});
  OpenHolding(books, TradeRow("21", "1234", {"400", "600", "240,000"}), kUnit, "400");
  AddToStockTotals(books, "1234", 0, 0);
  const LedgerSnapshot before = SnapshotOf(books);
  const std::string key = "123462011/03/15001";

  // 金額 = the position's opening proceeds of 600 shares, 保有 = the cost of
  // the 600 held shares handed over.
  const LedgerRow give = Settlement("38", key, {"450", "600", "270,000", "240,000", "30,000"});
  EXPECT_TRUE(GiveDelivery(books, "1234", 600, 240'000));
  EXPECT_TRUE(books.holdings.empty());
  ReducePosition(books, 0, 600, 270'000, 30'000);
  AddToStockTotals(books, "1234", 240'000, 270'000);
  EXPECT_EQ(Position(key).cell(LoanCol::Shares), "400");
  EXPECT_EQ(Position(key).cell(LoanCol::Total), "180,000");
  EXPECT_EQ(books.figures.realised, "30,000");

  UndoMarginRow(books, give, kUnit);
  EXPECT_EQ(SnapshotOf(books), before);  // the holding comes back at its average 400
}

TEST_F(PositionsTest, APartialDeliveryGiveTakesExactlyItsBookedCost) {
  Open("26", "1234", {"1,300", "1,000", "1,300,000"});
  OpenHolding(books, TradeRow("21", "1234", {"1,234", "700", "864,197"}), kUnit, "1,250");
  AddToStockTotals(books, "1234", 0, 0);
  const LedgerSnapshot before = SnapshotOf(books);

  const LedgerRow give = Settlement("38", "123462011/03/15001", {"1,300", "300", "390,000", "370,370", "19,630"});
  GiveDelivery(books, "1234", 300, 370'370);
  ReducePosition(books, 0, 300, 390'000, 19'630);
  AddToStockTotals(books, "1234", 370'370, 390'000);
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "493,827");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "400");

  UndoMarginRow(books, give, kUnit);
  EXPECT_EQ(SnapshotOf(books), before);
  EXPECT_FALSE(GiveDelivery(books, "5678", 100, 1'000));
}

TEST_F(PositionsTest, RevaluingFollowsTheMarketPrice) {
  Open("26", "1234", {"450", "1,000", "450,000"});
  OpenHolding(books, TradeRow("21", "1234", {"400", "600", "240,000"}), kUnit, "400");
  books.positions.setCell(0, LoanCol::Market, "430");
  RevaluePosition(books, 0);
  EXPECT_EQ(books.positions[0].cell(LoanCol::Rate), "+4.44%");
  EXPECT_EQ(books.positions[0].cell(LoanCol::Profit), "20,000");
  books.holdings.setCell(0, HoldCol::Market, "380");
  RevalueHolding(books, 0);
  EXPECT_EQ(books.holdings[0].cell(HoldCol::Rate), "-5.00%");
  EXPECT_EQ(books.holdings[0].cell(HoldCol::Profit), "-12,000");
  EXPECT_EQ(books.summary.unrealised, 8'000);
}

}  // namespace
}  // namespace tomvik::core::test
