// Recording, changing and deleting diary rows from what the entry panel
// holds, with every yen followed into the other ledgers.
#include <gtest/gtest.h>

#include <map>

#include "core/diary/bookkeeping_fixture.h"
#include "core/diary/recording.h"
#include "core/records/code_file.h"
#include "core/records/cp932_literals.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"

namespace tomvik::core::test {
namespace {

class RecordingTest : public BookkeepingTest {
 protected:
  DiaryEntry Note(std::string charge = {}) {
    DiaryEntry e;
    e.mode = DiaryEntry::Mode::Note;
    e.date = std::string(kDate);
    e.comment = Sjis("相場の日記");
    e.chargeText = std::move(charge);
    e.chargeEnabled = !e.chargeText.empty();
    return e;
  }
  DiaryEntry Trade(std::string code, bool buy, std::string price, std::string quantity, std::string amount) {
    DiaryEntry e;
    e.mode = DiaryEntry::Mode::Trade;
    e.date = std::string(kDate);
    e.buy = buy;
    e.code = std::move(code);
    e.name = Sjis("見本電機");
    e.exchange = Sjis("東証１部");
    e.unitText = "100";
    e.priceText = std::move(price);
    e.quantityText = std::move(quantity);
    e.amountText = std::move(amount);
    e.chargeEnabled = true;
    e.chargeText = "0";
    e.taxText = "0";
    return e;
  }
  std::size_t Add(const DiaryEntry& entry) {
    const auto recorded = AddDiaryRow(books, entry, dayCounter);
    EXPECT_TRUE(recorded.has_value());
    return recorded ? recorded->index : 0;
  }
  const LedgerRow& Header() { return books.diary[*FindDayHeader(books.diary, kDate)]; }
  const LedgerRow& Stock(std::string_view code) {
    const auto index = books.stocks.find(code);
    EXPECT_TRUE(index.has_value()) << code;
    return index ? books.stocks[*index] : kNoRow;
  }

  int dayCounter = 0;
};

TEST_F(RecordingTest, ADayNoteOpensTheDayAndItsFlatChargeLowersTheResult) {
  const std::size_t index = Add(Note("1,050"));
  ASSERT_EQ(books.diary.size(), 2u);
  const LedgerRow& header = books.diary[index];
  EXPECT_EQ(header.key, "2011/03/1500");
  EXPECT_EQ(header.cell(DiaryCol::Date), "2011/03/15(" + std::string(sjis::kTuesday) + ")");
  EXPECT_EQ(header.cell(DiaryCol::Charge), "1,050");
  EXPECT_EQ(header.cell(DiaryCol::Profit), "-1,050");
  EXPECT_EQ(header.cell(DiaryCol::Comment), Sjis("相場の日記"));
  EXPECT_EQ(books.diary[1].key, "2011/03/159");
  EXPECT_EQ(books.figures.realised, "-1,050");
  EXPECT_TRUE(books.unsaved.diary);
  EXPECT_TRUE(books.unsaved.holdings);
  // A day has one header.
  EXPECT_FALSE(AddDiaryRow(books, Note(), dayCounter));
  // A charge of 0, or one under a disabled field, is no flat charge.
  DiaryEntry zero = Note("0");
  zero.date = "2011/03/16";
  Add(zero);
  EXPECT_EQ(books.diary[*FindDayHeader(books.diary, "2011/03/16")].cell(DiaryCol::Charge), "");
  EXPECT_EQ(books.figures.realised, "-1,050");
}

TEST_F(RecordingTest, ABuyThenTwoSalesCarryEveryYenIntoHoldingsStockTotalsAndTheDay) {
  Add(Note());
  const std::size_t buy = Add(Trade("1234", true, "1,234", "1,000", "1,234,567"));
  EXPECT_EQ(books.diary[buy].key, "2011/03/15211234");
  EXPECT_EQ(books.diary[buy].cell(DiaryCol::Kind), std::string(sjis::kBuy));
  EXPECT_EQ(books.diary[buy].cell(DiaryCol::Stock), "1234 " + Sjis("見本電機"));
  EXPECT_EQ(books.diary[buy].cell(DiaryCol::Cost), "");
  EXPECT_EQ(books.diary[buy].cell(DiaryCol::Profit), "");
  EXPECT_EQ(books.diary[buy].cell(DiaryCol::Charge), "");  // a charge of 0 is left out
  EXPECT_EQ(Holding("12341").cell(HoldCol::Average), "1,234");

  DiaryEntry sale = Trade("1234", false, "1,334", "300", "400,000");
  sale.comment = Sjis("半分利食い");
  const std::size_t sold = Add(sale);
  const LedgerRow& row = books.diary[sold];
  EXPECT_EQ(row.key, "2011/03/15321234");
  EXPECT_EQ(row.cell(DiaryCol::Cost), "370,370");
  EXPECT_EQ(row.cell(DiaryCol::Profit), "29,630");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "700");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "864,197");
  EXPECT_EQ(Stock("1234").cell(StockCol::BuyTotal), "370,370");
  EXPECT_EQ(Stock("1234").cell(StockCol::SellTotal), "400,000");
  EXPECT_EQ(books.figures.realised, "29,630");
  EXPECT_EQ(Header().cell(DiaryCol::Kind), "2");
  EXPECT_EQ(Header().cell(DiaryCol::Amount), "1,634,567");
  EXPECT_EQ(Header().cell(DiaryCol::Profit), "29,630");

  Add(Trade("1234", false, "1,300", "700", "910,000"));
  EXPECT_FALSE(books.holdings.find("12341"));
  EXPECT_EQ(Stock("1234").cell(StockCol::BuyTotal), "1,234,567");
  EXPECT_EQ(Stock("1234").cell(StockCol::SellTotal), "1,310,000");
  EXPECT_EQ(books.figures.realised, "75,433");
  EXPECT_EQ(Header().cell(DiaryCol::Profit), "75,433");
}

TEST_F(RecordingTest, ChangingOnlyTheCommentLeavesEveryLedgerAlone) {
  Add(Note());
  Add(Trade("1234", true, "1,234", "1,000", "1,234,567"));
  const std::size_t sold = Add(Trade("1234", false, "1,334", "300", "400,000"));
  const LedgerSnapshot before = SnapshotOf(books);
  const std::string key = books.diary[sold].key;
  DiaryEntry changed = Trade("1234", false, "9,999", "999", "9,999,999");  // not taken: only the text was edited
  changed.comment = Sjis("コメントだけ");
  ASSERT_TRUE(UpdateDiaryRow(books, sold, changed, false, dayCounter));
  EXPECT_EQ(SnapshotOf(books), before);
  EXPECT_EQ(books.diary[sold].key, key);
  EXPECT_EQ(books.diary[sold].cell(DiaryCol::Amount), "400,000");
  EXPECT_EQ(books.diary[sold].cell(DiaryCol::Comment), Sjis("コメントだけ"));
}

TEST_F(RecordingTest, ChangingASaleRebooksItAndDeletingItGivesEverythingBack) {
  Add(Note());
  Add(Trade("1234", true, "1,234", "1,000", "1,234,567"));
  const LedgerSnapshot bought = SnapshotOf(books);
  const std::size_t sold = Add(Trade("1234", false, "1,334", "300", "400,000"));

  // The sale becomes a sale of everything: the holding goes. The changed
  // sale closes its shares of the 300 its undo gave back, at their cost
  // (370,370 x 1,000 / 300); the yen the holding is left with are set aside.
  const auto updated =
      UpdateDiaryRow(books, sold, Trade("1234", false, "1,300", "1,000", "1,300,000"), true, dayCounter);
  ASSERT_TRUE(updated);
  EXPECT_EQ(books.diary[updated->index].cell(DiaryCol::Cost), "1,234,566");
  EXPECT_EQ(books.diary[updated->index].cell(DiaryCol::Profit), "65,434");
  EXPECT_FALSE(books.holdings.find("12341"));
  EXPECT_FALSE(books.holdings.find("00001"));
  EXPECT_FALSE(books.holdings.find("00002"));
  EXPECT_EQ(books.heldAside, (std::map<std::string, Amount>{{"12341", 1}}));
  EXPECT_EQ(books.figures.realised, "65,434");
  EXPECT_EQ(Stock("1234").cell(StockCol::SellTotal), "1,300,000");

  // Deleted, the holding comes back whole under its code, with its yen.
  DeleteDiaryRow(books, updated->index, "100");
  EXPECT_TRUE(books.heldAside.empty());
  // Its market price is the deleted sale's price, as the row is all there is.
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "1,234,567");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "1,000");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Average), "1,234");
  EXPECT_EQ(books.holdings.size(), bought.holdings.size());
  EXPECT_EQ(books.figures.realised, "0");
  EXPECT_EQ(Stock("1234").cell(StockCol::BuyTotal), "0");
  EXPECT_EQ(Stock("1234").cell(StockCol::SellTotal), "0");
  EXPECT_EQ(Header().cell(DiaryCol::Kind), "1");
  EXPECT_EQ(Header().cell(DiaryCol::Profit), "");

  // A code without a stock refuses the change with nothing touched.
  const LedgerSnapshot now = SnapshotOf(books);
  EXPECT_FALSE(UpdateDiaryRow(books, 1, Trade("0000", true, "1", "1", "1"), true, dayCounter));
  EXPECT_EQ(SnapshotOf(books), now);
}

TEST_F(RecordingTest, ASaleMovedToAnotherStockLeavesTheFirstStockWhole) {
  Add(Note());
  Add(Trade("1234", true, "1,000", "1,000", "1,000,000"));
  Add(Trade("5678", true, "2,000", "1,000", "2,000,000"));
  const std::size_t sold = Add(Trade("1234", false, "1,100", "300", "330,000"));
  const auto moved = UpdateDiaryRow(books, sold, Trade("5678", false, "2,100", "300", "630,000"), true, dayCounter);
  ASSERT_TRUE(moved);
  EXPECT_EQ(books.diary[moved->index].key, "2011/03/15325678");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "1,000");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "1,000,000");
  EXPECT_EQ(Holding("56781").cell(HoldCol::Shares), "700");
  EXPECT_EQ(Holding("56781").cell(HoldCol::Total), "1,400,000");
  EXPECT_EQ(books.figures.realised, "30,000");
  EXPECT_EQ(Stock("1234").cell(StockCol::SellTotal), "0");
  EXPECT_EQ(Stock("5678").cell(StockCol::SellTotal), "630,000");
}

TEST_F(RecordingTest, CashMovementsMoveTheResultByTheirNetAmount) {
  Add(Note());
  DiaryEntry out;
  out.mode = DiaryEntry::Mode::CashMovement;
  out.date = std::string(kDate);
  out.deposit = false;
  out.chargeText = "105";
  out.taxText = "0";
  out.inOutText = "10,000";
  out.amountText = "-10,105";
  const std::size_t index = Add(out);
  const LedgerRow& row = books.diary[index];
  EXPECT_EQ(row.key, "2011/03/1572");
  EXPECT_EQ(row.cell(DiaryCol::Kind), std::string(sjis::kOut));
  EXPECT_EQ(row.cell(DiaryCol::Stock), "");
  EXPECT_EQ(row.cell(DiaryCol::Amount), "10,000");
  EXPECT_EQ(row.cell(DiaryCol::Profit), "-10,105");
  EXPECT_EQ(books.figures.realised, "-10,105");
  EXPECT_EQ(Header().cell(DiaryCol::Profit), "-10,105");
  EXPECT_EQ(Header().cell(DiaryCol::Amount), "");  // no turnover
  DeleteDiaryRow(books, index, "");
  EXPECT_EQ(books.figures.realised, "0");
  EXPECT_EQ(Header().cell(DiaryCol::Kind), "");
}

TEST_F(RecordingTest, TheThirdMarginPositionOfADayIsLabelled003Everywhere) {
  Add(Note());
  DiaryEntry margin = Trade("1234", true, "3,600", "1,000", "3,600,000");
  margin.type = DiaryEntry::Type::Margin;
  Add(margin);
  Add(margin);
  const std::size_t third = Add(margin);
  EXPECT_EQ(dayCounter, 3);
  EXPECT_EQ(books.diary[third].key, "2011/03/15251234003");
  EXPECT_EQ(Header().key, "2011/03/150003");
  EXPECT_TRUE(books.positions.find("123452011/03/15003"));
  EXPECT_TRUE(books.unsaved.positions);
  // Deleting it takes exactly that position's shares back out.
  DeleteDiaryRow(books, third, "100");
  EXPECT_FALSE(books.positions.find("123452011/03/15003"));
  EXPECT_TRUE(books.positions.find("123452011/03/15002"));
}

TEST_F(RecordingTest, PlansAndRegistrationsTouchNoOtherLedger) {
  Add(Note());
  const LedgerSnapshot before = SnapshotOf(books);
  DiaryEntry plan = Trade("1234", false, "1,000", "100", "100,000");
  plan.type = DiaryEntry::Type::Plan;
  EXPECT_EQ(books.diary[Add(plan)].key, "2011/03/15121234");
  DiaryEntry keep = Trade("1234", true, "1,000", "100", "100,000");
  keep.registration = true;
  keep.registrationBuy = true;
  keep.registrationText = "95,000";
  const std::size_t registered = Add(keep);
  EXPECT_EQ(books.diary[registered].key, "2011/03/15511234");
  EXPECT_EQ(books.diary[registered].cell(DiaryCol::Cost), "95,000");
  EXPECT_EQ(books.diary[registered].cell(DiaryCol::Profit), "5,000");
  keep.type = DiaryEntry::Type::Margin;
  keep.registrationBuy = false;
  EXPECT_EQ(books.diary[Add(keep)].cell(DiaryCol::Profit), "-5,000");
  EXPECT_EQ(SnapshotOf(books), before);
  EXPECT_EQ(Header().cell(DiaryCol::Kind), "3");
  EXPECT_EQ(Header().cell(DiaryCol::Amount), "");
}

}  // namespace
}  // namespace tomvik::core::test
