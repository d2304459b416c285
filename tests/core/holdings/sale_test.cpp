#include "core/holdings/sale.h"

#include <gtest/gtest.h>

#include "core/diary/bookkeeping_fixture.h"
#include "core/diary/recording.h"
#include "core/records/code_file.h"
#include "core/records/diary_file.h"
#include "core/records/hold_file.h"

namespace tomvik::core::test {
namespace {

class SaleTest : public BookkeepingTest {
 protected:
  SaleTest() {
    books.diary.insert(MakeDayHeader(kDate));
    books.diary.insert(MakeDayEnd(kDate));
    RecordCashTrade(books, "1234", true, 1'234, 1'000, 1'234'567);
  }
  SaleEntry Sale(const char* price, const char* quantity, const char* charge = "525", const char* tax = "0") {
    return SaleEntry{std::string(kDate), "1234", Sjis("見本電機"), Sjis("東証１部"), price, quantity, charge, tax,
                     Sjis("利食い")};
  }
};

TEST_F(SaleTest, ThreeHundredOfAThousandAtFourteenHundred) {
  AddToStockTotals(books, "1234", 0, 0);
  const LedgerSnapshot before = SnapshotOf(books);
  EXPECT_EQ(SaleProceeds(1'400, 300, 525, 0), 419'475);
  const auto sold = SellHolding(books, 0, Sale("1,400", "300"));
  ASSERT_TRUE(sold);
  const LedgerRow& row = books.diary[sold->index];
  EXPECT_EQ(row.key, "2011/03/15321234");
  EXPECT_EQ(Utf8Cells(row.cells), (std::vector<std::string>{"", "売", "1234 見本電機", "東証１部", "1,400", "300",
                                                            "525", "0", "419,475", "370,370", "49,105", "利食い"}));
  EXPECT_EQ(Holding("12341").cell(HoldCol::Shares), "700");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Total), "864,197");
  EXPECT_EQ(Holding("12341").cell(HoldCol::Average), "1,234");
  EXPECT_EQ(books.figures.realised, "49,105");
  EXPECT_EQ(books.stocks[0].cell(StockCol::BuyTotal), "370,370");
  EXPECT_EQ(books.stocks[0].cell(StockCol::SellTotal), "419,475");
  EXPECT_EQ(books.diary[0].cell(DiaryCol::Profit), "49,105");  // the day's result
  EXPECT_EQ(sold->holdingKey, std::optional<std::string>("12341"));

  // Deleted from the diary, the sale leaves every ledger as it was.
  DeleteDiaryRow(books, sold->index, "100");
  EXPECT_EQ(SnapshotOf(books), before);
}

TEST_F(SaleTest, SellingEverythingRemovesTheHoldingAndNothingIsSoldOfAnEmptyOrSoldHolding) {
  ASSERT_TRUE(SellHolding(books, 0, Sale("1,300", "1,000")));
  EXPECT_TRUE(books.holdings.empty());
  EXPECT_TRUE(books.heldAside.empty());

  // A holding without shares, or a sold holding, offers nothing to sell.
  RecordCashTrade(books, "5678", false, 100, 100, 10'000);  // a sold holding
  LedgerRow empty = books.holdings[0];
  empty.key = "99991";
  empty.setCell(HoldCol::Shares, "0");
  books.holdings.insert(empty);
  const LedgerSnapshot now = SnapshotOf(books);
  const std::size_t rows = books.diary.size();
  EXPECT_FALSE(CanSell(books, *books.holdings.find("56782")));
  EXPECT_FALSE(SellHolding(books, *books.holdings.find("56782"), Sale("100", "100")));
  EXPECT_FALSE(SellHolding(books, *books.holdings.find("99991"), Sale("100", "100")));
  EXPECT_FALSE(SellHolding(books, 99, Sale("100", "100")));
  EXPECT_EQ(SnapshotOf(books), now);
  EXPECT_EQ(books.diary.size(), rows);
}

}  // namespace
}  // namespace tomvik::core::test
