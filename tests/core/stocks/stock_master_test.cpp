#include "core/stocks/stock_master.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>
#include <vector>

#include "core/books.h"
#include "core/records/code_file.h"
#include "core/stocks/stock_lookup.h"
#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::Fixture;
using test::Sjis;
using test::TempFolder;

std::vector<std::string> Codes(const LedgerTable& rows) {
  std::vector<std::string> codes;
  for (const LedgerRow& row : rows) codes.push_back(row.key);
  return codes;
}

class StockMaster : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(folder_ / "Code.txt", Fixture("Code.txt"));
    books_.folder = folder_.path();
    ASSERT_FALSE(LoadStocksInto(books_).has_value());
  }
  std::string file() const { return test::ReadBytes(folder_ / "Code.txt"); }

  TempFolder folder_;
  Books books_;
};

TEST_F(StockMaster, EditsFollowThePanelAndLeaveTheListChanged) {
  ToggleStockMark(books_, 0);
  EXPECT_FALSE(books_.stocks[0].mark);
  EXPECT_TRUE(books_.unsaved.stocks);
  ToggleStockMark(books_, 0);
  EXPECT_TRUE(books_.stocks[0].mark);

  // Update: the panel's texts, the shown result, the rate from both.
  books_.unsaved.stocks = false;
  StockFields fields{"1234", Sjis("新社名"), "X", "1000", "1,000", "800", "-200", "a\r\nb"};
  EXPECT_EQ(UpdateStock(books_, 0, fields), 0u);
  EXPECT_EQ(test::Utf8Cells(books_.stocks[0].cells),
            (std::vector<std::string>{"新社名", "X", "1000", "1,000", "800", "-200", "-20.00000%", "a\r\nb"}));
  EXPECT_TRUE(books_.unsaved.stocks);
  EXPECT_TRUE(books_.droppedStockCodes.empty());

  // A new code moves the entry and leaves the old code to be dropped.
  fields.code = "9999";
  EXPECT_EQ(UpdateStock(books_, 0, fields), 3u);
  EXPECT_EQ(Codes(books_.stocks), (std::vector<std::string>{"4321", "5678", "9984", "9999"}));
  EXPECT_EQ(books_.droppedStockCodes, (std::set<std::string>{"1234"}));

  // Add: marked, sorted into place, a second entry for a code that exists.
  fields.code = "5678";
  EXPECT_EQ(AddStock(books_, fields), 2u);
  EXPECT_EQ(Codes(books_.stocks), (std::vector<std::string>{"4321", "5678", "5678", "9984", "9999"}));
  EXPECT_TRUE(books_.stocks[2].mark);
  EXPECT_EQ(books_.stocks[2].cells.size(), StockCol::Count);

  DeleteStock(books_, 3);
  EXPECT_EQ(Codes(books_.stocks), (std::vector<std::string>{"4321", "5678", "5678", "9999"}));
  EXPECT_EQ(books_.droppedStockCodes, (std::set<std::string>{"1234", "9984"}));

  // Unreadable totals count as 0; the result saturates instead of wrapping.
  EXPECT_EQ(StockResultOf("1,000", "abc"), -1000);
  EXPECT_EQ(StockResultOf("", "1,500"), 1500);
  EXPECT_EQ(StockResultOf("-9223372036854775807", "9223372036854775807"), std::numeric_limits<Amount>::max());
}

TEST_F(StockMaster, WholeFileSaveKeepsTheStocksOtherPanelsWroteAndDropsTheDeletedOnes) {
  // Another panel's lookup stores a stock that has no entry yet.
  ASSERT_FALSE(StoreStockFields(books_, "7777", {Sjis("見本新規"), Sjis("マザーズ"), "100"}).has_value());
  EXPECT_EQ(books_.stocks.size(), 4u);
  // The user deletes 9984 and 4321 and gives 5678 another code.
  DeleteStock(books_, 3);
  DeleteStock(books_, 1);
  StockFields fields{"5679", Sjis("東京商事"), Sjis("東証２部"), "1000", "0", "1,248,425", "1,248,425", ""};
  UpdateStock(books_, 1, fields);
  // ... but then types 4321 on another panel again: its section stays.
  ASSERT_FALSE(StoreStockFields(books_, "4321", {Sjis("見本化学"), "", "500"}).has_value());

  ASSERT_FALSE(SaveStocks(books_).has_value());
  EXPECT_FALSE(books_.unsaved.stocks);
  EXPECT_TRUE(books_.droppedStockCodes.empty());
  const std::string fixture = Fixture("Code.txt");
  const std::string first = fixture.substr(0, fixture.find("[4321]"));  // 1234, unchanged
  EXPECT_TRUE(test::SameBytes("Code.txt-whole",
                              first + Sjis("[5679]\r\nN=東京商事\r\nE=東証２部\r\nU=1000\r\nS=1,248,425\r\n\r\n"
                                           "[4321]\r\nN=見本化学\r\nE=\r\nU=500\r\nB=400,000\r\nF=0\r\n\r\n"
                                           "[7777]\r\nN=見本新規\r\nE=マザーズ\r\nU=100\r\n\r\n"),
                              file()));

  // Read back, every kept section is an entry again.
  ASSERT_FALSE(LoadStocksInto(books_).has_value());
  EXPECT_EQ(Codes(books_.stocks), (std::vector<std::string>{"1234", "4321", "5679", "7777"}));
}

TEST_F(StockMaster, AFailedSaveKeepsTheDeletionsForTheNextTry) {
  DeleteStock(books_, 0);
  std::filesystem::remove(folder_ / "Code.txt");
  std::filesystem::create_directory(folder_ / "Code.txt");
  EXPECT_TRUE(SaveStocks(books_).has_value());
  EXPECT_TRUE(books_.unsaved.stocks);
  EXPECT_EQ(books_.droppedStockCodes, (std::set<std::string>{"1234"}));
}

}  // namespace
}  // namespace tomvik::core
