#include "core/margin/settlement.h"

#include <gtest/gtest.h>

#include "core/diary/bookkeeping_fixture.h"
#include "core/diary/recording.h"
#include "core/diary/registration.h"
#include "core/holdings/ledger_edits.h"
#include "core/records/code_file.h"
#include "core/records/diary_file.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"

namespace tomvik::core::test {
namespace {

constexpr std::string_view kSettleDate = "2011/03/22";

class SettlementTest : public BookkeepingTest {
 protected:
  SettlementTest() {
    books.diary.insert(MakeDayHeader(kSettleDate));
    books.diary.insert(MakeDayEnd(kSettleDate));
  }
  // A position of 1234 opened on 2011/03/15, typed in.
  std::size_t Position(bool buy, const char* total, const char* shares, const char* market = "450") {
    PositionEntry e;
    e.code = "1234";
    e.buy = buy;
    e.openDate = "2011/03/15";
    e.name = Sjis("見本電機");
    e.exchange = Sjis("東証１部");
    e.unit = "100";
    e.total = total;
    e.shares = shares;
    e.market = market;
    return AddPositionRow(books, e);
  }
  SettlementEntry Settle(SettlementMethod method, const char* price, const char* quantity, const char* charge = "",
                         const char* tax = "") {
    return SettlementEntry{std::string(kSettleDate),
                           method,
                           "1234",
                           Sjis("見本電機"),
                           Sjis("東証１部"),
                           "100",
                           "470",
                           price,
                           quantity,
                           charge,
                           tax,
                           ""};
  }
  std::vector<std::string> Cells(std::size_t index) { return Utf8Cells(books.diary[index].cells); }
};

TEST_F(SettlementTest, SellingToRepayHalfOfABuyPosition) {
  const std::size_t at = Position(true, "450,000", "1,000");
  AddToStockTotals(books, "1234", 0, 0);
  const LedgerSnapshot before = SnapshotOf(books);
  const SettlementBasis basis = *PrepareSettlement(books, at);
  const SettlementFigures figures = ComputeSettlement(basis, SettlementMethod::SellRepay, 480, 500, 500, 100);
  EXPECT_EQ(figures.amount, 239'400);
  EXPECT_EQ(figures.quantityLimit, 1'000);

  const auto settled = SettlePosition(books, at, Settle(SettlementMethod::SellRepay, "480", "500", "500", "100"));
  ASSERT_TRUE(settled);
  EXPECT_EQ(books.diary[settled->index].key, "2011/03/223612342011/03/15001");
  EXPECT_EQ(Cells(settled->index), (std::vector<std::string>{"", "返売", "1234 見本電機", "東証１部", "480", "500",
                                                             "500", "100", "239,400", "225,000", "14,400", ""}));
  EXPECT_EQ(books.positions[0].cell(LoanCol::Shares), "500");
  EXPECT_EQ(books.positions[0].cell(LoanCol::Total), "225,000");
  EXPECT_EQ(books.figures.realised, "14,400");
  EXPECT_EQ(books.stocks[0].cell(StockCol::BuyTotal), "225,000");
  EXPECT_EQ(books.stocks[0].cell(StockCol::SellTotal), "239,400");

  DeleteDiaryRow(books, settled->index, "100");
  EXPECT_EQ(SnapshotOf(books), before);
}

TEST_F(SettlementTest, BuyingBackAWholeSellPositionRemovesIt) {
  const std::size_t at = Position(false, "450,000", "1,000");
  AddToStockTotals(books, "1234", 0, 0);
  const LedgerSnapshot before = SnapshotOf(books);
  const auto settled = SettlePosition(books, at, Settle(SettlementMethod::BuyRepay, "430", "1,000", "500", "0"));
  ASSERT_TRUE(settled);
  EXPECT_EQ(Cells(settled->index), (std::vector<std::string>{"", "返買", "1234 見本電機", "東証１部", "430", "1,000",
                                                             "500", "0", "430,500", "450,000", "19,500", ""}));
  EXPECT_TRUE(books.positions.empty());
  EXPECT_EQ(books.figures.realised, "19,500");
  DeleteDiaryRow(books, settled->index, "100");
  EXPECT_EQ(SnapshotOf(books), before);
}

TEST_F(SettlementTest, TakingDeliveryGrowsOrOpensTheBoughtHolding) {
  const std::size_t at = Position(true, "450,000", "1,000");
  const LedgerSnapshot before = SnapshotOf(books);
  const SettlementBasis basis = *PrepareSettlement(books, at);
  const SettlementFigures figures = ComputeSettlement(basis, SettlementMethod::DeliveryTake, 999, 300, 500, 100);
  EXPECT_EQ(figures.price, 450);
  EXPECT_EQ(figures.amount, 135'000);

  // No holding yet: one is opened with the panel's unit and market price.
  const auto taken = SettlePosition(books, at, Settle(SettlementMethod::DeliveryTake, "450", "300", "500", "100"));
  ASSERT_TRUE(taken);
  EXPECT_EQ(Cells(taken->index), (std::vector<std::string>{"", "現引", "1234 見本電機", "東証１部", "450", "300", "",
                                                           "", "135,000", "", "", ""}));
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "300");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "135,000");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Market), "470");
  EXPECT_EQ(books.positions[0].cell(LoanCol::Shares), "700");
  EXPECT_EQ(books.positions[0].cell(LoanCol::Total), "315,000");
  EXPECT_EQ(books.figures.realised, "0");

  // With a holding: it grows.
  const auto again = SettlePosition(books, 0, Settle(SettlementMethod::DeliveryTake, "450", "300"));
  ASSERT_TRUE(again);
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "600");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "270,000");

  DeleteDiaryRow(books, again->index, "100");
  DeleteDiaryRow(books, *books.diary.find(books.diary[taken->index].key), "100");
  EXPECT_EQ(SnapshotOf(books), before);
}

TEST_F(SettlementTest, HandingOverSharesIsLimitedToTheBoughtHolding) {
  const std::size_t at = Position(false, "450,000", "1,000");
  // No bought holding: 現渡し is not offered.
  EXPECT_FALSE(PrepareSettlement(books, at)->canGive);
  EXPECT_FALSE(CanSettle(books, at, SettlementMethod::DeliveryGive));
  EXPECT_FALSE(SettlePosition(books, at, Settle(SettlementMethod::DeliveryGive, "400", "600")));

  RecordCashTrade(books, "1234", true, 400, 600, 240'000);
  AddToStockTotals(books, "1234", 0, 0);
  const LedgerSnapshot before = SnapshotOf(books);
  const SettlementBasis basis = *PrepareSettlement(books, *books.positions.find("123462011/03/15001"));
  EXPECT_TRUE(basis.canGive);
  const SettlementFigures figures = ComputeSettlement(basis, SettlementMethod::DeliveryGive, 0, 1'000, 0, 0);
  EXPECT_EQ(figures.quantity, std::optional<Amount>(600));
  EXPECT_EQ(figures.quantityLimit, 600);
  EXPECT_EQ(figures.price, 400);
  EXPECT_EQ(figures.amount, 240'000);

  const auto given = SettlePosition(books, 0, Settle(SettlementMethod::DeliveryGive, "400", "1,000"));
  ASSERT_TRUE(given);
  // 金額: the opening proceeds of the 600 shares; 保有: the holding's cost of them.
  EXPECT_EQ(Cells(given->index), (std::vector<std::string>{"", "現渡", "1234 見本電機", "東証１部", "450", "600", "",
                                                           "", "270,000", "240,000", "30,000", ""}));
  EXPECT_FALSE(books.holdings.find("12341"));
  EXPECT_EQ(books.positions[0].cell(LoanCol::Shares), "400");
  EXPECT_EQ(books.positions[0].cell(LoanCol::Total), "180,000");
  EXPECT_EQ(books.figures.realised, "30,000");
  DeleteDiaryRow(books, given->index, "100");
  EXPECT_EQ(SnapshotOf(books), before);
}

TEST_F(SettlementTest, APositionWithoutSharesCannotBeSettled) {
  const std::size_t at = Position(true, "0", "0");
  for (SettlementMethod method : {SettlementMethod::SellRepay, SettlementMethod::DeliveryTake}) {
    EXPECT_FALSE(CanSettle(books, at, method));
    EXPECT_FALSE(SettlePosition(books, at, Settle(method, "450", "100")));
  }
  // A buy position is not bought back.
  EXPECT_FALSE(CanSettle(books, Position(true, "450,000", "1,000"), SettlementMethod::BuyRepay));
}

TEST(Registration, GreyedGivesOneSummedRowPerStockAndSide) {
  Books books;
  const auto add = [&books](const char* code, bool buy, const char* date, const char* total, const char* shares,
                            const char* market) {
    PositionEntry e;
    e.code = code;
    e.buy = buy;
    e.openDate = date;
    e.name = "x";
    e.total = total;
    e.shares = shares;
    e.market = market;
    AddPositionRow(books, e);
  };
  add("1234", true, "2011/03/01", "100,000", "100", "1,100");
  add("1234", true, "2011/03/02", "200,000", "200", "1,000");
  add("1234", true, "2011/03/03", "300,000", "300", "1,000");
  add("1234", false, "2011/03/03", "50,000", "50", "900");
  const std::vector<Registration> runs = RegistrationsOfPositions(books.positions, true, true);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_TRUE(runs[0].buy);
  EXPECT_EQ(runs[0].shares, "600");
  EXPECT_EQ(runs[0].total, "600,000");
  EXPECT_EQ(runs[0].market, "1,100");  // the run's first
  EXPECT_EQ(runs[0].amount, 110'000 + 200'000 + 300'000);
  EXPECT_EQ(runs[0].profit, "10,000");
  EXPECT_FALSE(runs[1].buy);
  EXPECT_EQ(RegistrationsOfPositions(books.positions, false, true).size(), 4u);

  books.diary.insert(MakeDayHeader("2011/03/22"));
  books.diary.insert(MakeDayEnd("2011/03/22"));
  const auto last = WriteRegistrations(books, "2011/03/22", runs, true);
  ASSERT_TRUE(last);
  EXPECT_EQ(books.diary[1].key, "2011/03/22551234");
  EXPECT_EQ(Utf8Cells(books.diary[1].cells), (std::vector<std::string>{"", "買建", "1234 x", "", "1,100", "600", "", "",
                                                                       "610,000", "600,000", "10,000", ""}));
  EXPECT_EQ(books.diary[*last].key, "2011/03/22561234");
  EXPECT_EQ(books.diary[0].cell(DiaryCol::Kind), "2");
  EXPECT_TRUE(books.positions.size() == 4u);  // no ledger changes
  EXPECT_FALSE(WriteRegistrations(books, "2011/03/22", {}, true));
}

}  // namespace
}  // namespace tomvik::core::test
