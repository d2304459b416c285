#include "core/records/hold_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/books.h"
#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::Fixture;
using test::SameBytes;
using test::Sjis;
using test::TempFolder;
using test::Utf8;
using test::Utf8Cells;
using Cells = std::vector<std::string>;

TEST(HoldFile, FixtureLoadsTheAccountLineAndEveryHolding) {
  const HoldingsData data = ParseHoldings(Fixture("Hold.txt"));
  ASSERT_TRUE(data.figures.has_value());
  EXPECT_EQ(data.figures->totalInvestment, "5,000,000");
  EXPECT_EQ(data.figures->realised, "-125,000");
  ASSERT_EQ(data.rows.size(), 4u);
  EXPECT_EQ(data.rows[0].key, "12341");
  EXPECT_EQ(data.rows[1].key, "12342");
  EXPECT_EQ(data.rows[2].key, "43211");
  EXPECT_EQ(data.rows[3].key, "99841");
  EXPECT_EQ(Utf8Cells(data.rows[0].cells), (Cells{"", "買", "1234 見本電機", "東証１部", "100", "412,000", "100",
                                                  "4,120", "4,300", "+4.37%", "18,000", "長期保有\r\n配当狙い 3.5%"}));
  // A sold holding's rate runs the other way.
  EXPECT_EQ(Utf8Cells(data.rows[1].cells), (Cells{"", "売", "1234 見本電機", "東証１部", "100", "430,000", "100",
                                                  "4,300", "4,100", "+4.65%", "20,000", ""}));
  // Empty amounts stay empty; the rate against no average is 0.00%.
  EXPECT_EQ(Utf8Cells(data.rows[2].cells),
            (Cells{"", "買", "4321 見本化学", "ジャスダック", "", "", "", "", "", "0.00%", "", ""}));
  EXPECT_EQ(Utf8Cells(data.rows[3].cells), (Cells{"", "買", "9984 ソフトバンク", "東証１部", "100", "250,000", "100",
                                                  "2,500", "2,400", "-4.00%", "-10,000", "～①ｱ"}));
}

TEST(HoldFile, FixtureSavesBackByteForByte) {
  const std::string original = Fixture("Hold.txt");
  const HoldingsData data = ParseHoldings(original);
  EXPECT_TRUE(SameBytes("Hold.txt", original, SerialiseHoldings(data.rows, *data.figures)));

  TempFolder folder;
  ASSERT_FALSE(SaveHoldings(folder.path(), data.rows, *data.figures).has_value());
  EXPECT_TRUE(SameBytes("Hold.txt-saved", original, test::ReadBytes(folder / "Hold.txt")));
  const HoldingsLoad load = LoadHoldings(folder.path());
  EXPECT_EQ(load.status, ReadStatus::Loaded);
  EXPECT_EQ(load.data.rows.size(), 4u);
}

TEST(HoldFile, RecordLinesAreWrittenFromTheRowsTexts) {
  LedgerTable rows;
  rows.insert(LedgerRow{"12342",
                        {"", Sjis("売"), Sjis("1234 見本電機"), Sjis("東証１部"), "1,000", "4,300,000", "1,000",
                         "4,300", "", "+9.99%", "-1,234", "50%\r\nok"}});
  rows.insert(LedgerRow{
      "12341", {"", Sjis("買"), Sjis("1234 見,本"), "", "100", "412,000", "100", "4,120", "4,300", "", "18,000", ""}});
  // The rate is never written; a comma inside the stock text is not escaped.
  EXPECT_EQ(Utf8(SerialiseHoldings(rows, {"1,000,000", ""})),
            "=1000000,\r\n"
            "-買,1234 見,本,,100,412000,100,4120,4300,18000\r\n \r\n"
            "+売,1234 見本電機,東証１部,1000,4300000,1000,4300,,-1234\r\n 50%%%nok\r\n");
  EXPECT_EQ(SerialiseHoldings(LedgerTable{}, {"", ""}), "=,\r\n");
}

TEST(HoldFile, AccountLineFallBacks) {
  const struct {
    const char* line;
    const char* total;
    const char* realised;
  } cases[] = {
      {"=,", "", ""},                // two empty figures
      {"=123", "", "123"},           // no comma: the realised figure takes the rest
      {"xabc,1,234", "0", "1,234"},  // the first byte is dropped whatever it is; unreadable is 0
      {"=-5,+7", "-5", "7"},
      {"=", "", ""},
  };
  for (const auto& c : cases) {
    const HoldingsData data = ParseHoldings(std::string(c.line) + "\r\n");
    ASSERT_TRUE(data.figures.has_value()) << c.line;
    EXPECT_EQ(data.figures->totalInvestment, c.total) << c.line;
    EXPECT_EQ(data.figures->realised, c.realised) << c.line;
    EXPECT_TRUE(data.rows.empty());
  }
  // An empty file has no account line: the figures shown stay.
  EXPECT_FALSE(ParseHoldings("").figures.has_value());
}

TEST(HoldFile, MalformedRecordsAndCommentsFallBack) {
  const std::string file = Sjis(
                               "=1,2\r\n"
                               " comment before any record\r\n"
                               "-買,1234 見本電機,東証１部,abc,1.5,,,,1,234\r\n"  // the last field takes the rest
                               " first\r\n second\r\n"
                               "+買,5678 A,X,100\r\n"  // too few fields, no comment line
                               "\r\n"
                               "-\r\n") +             // a marker alone
                           "*\x81\r\n \x80\xFF\r\n";  // stray bytes and invalid CP932
  const HoldingsData data = ParseHoldings(file);
  ASSERT_EQ(data.rows.size(), 4u);
  // The marker alone: a key of no code, every field empty.
  EXPECT_EQ(data.rows[0].key, "1");
  EXPECT_EQ(data.rows[0].cells, (Cells{"", "", "", "", "", "", "", "", "", "0.00%", "", ""}));
  EXPECT_EQ(Utf8Cells(data.rows[1].cells),
            (Cells{"", "買", "1234 見本電機", "東証１部", "0", "15", "", "", "", "0.00%", "1,234", "first", "second"}));
  // "*\x81": a sold key of no code, a kind of one byte, the comment kept as bytes.
  EXPECT_EQ(data.rows[2].key, "2");
  EXPECT_EQ(data.rows[2].cell(HoldCol::Kind), "\x81");
  EXPECT_EQ(data.rows[2].cell(HoldCol::Comment), "\x80\xFF");
  // The sign decides the side; with too few commas the last field takes the rest.
  EXPECT_EQ(data.rows[3].key, "56782");
  EXPECT_EQ(Utf8Cells(data.rows[3].cells), (Cells{"", "買", "5678 A", "X", "", "", "", "", "", "0.00%", "100", ""}));

  // Saved again: the second comment line is gone, every row has its comment line.
  const std::string saved = SerialiseHoldings(data.rows, *data.figures);
  EXPECT_EQ(saved.substr(0, 20), "=1,2\r\n-,,,,,,,,\r\n \r\n");
  EXPECT_NE(saved.find(Sjis("\r\n-買,1234 見本電機,東証１部,0,15,,,,1234\r\n first\r\n") + "+\x81,"),
            std::string::npos);
  EXPECT_NE(saved.find(Sjis("\r\n+買,5678 A,X,,,,,,100\r\n \r\n")), std::string::npos);
  EXPECT_EQ(saved.find("second"), std::string::npos);
  EXPECT_EQ(saved.find("before"), std::string::npos);
}

TEST(HoldFile, BrokenFilesLoadWithoutCrashing) {
  const std::string fixture = Fixture("Hold.txt");
  for (std::size_t size = 0; size <= fixture.size(); ++size) {
    const HoldingsData data = ParseHoldings(std::string_view(fixture).substr(0, size));
    for (const LedgerRow& row : data.rows) EXPECT_GE(row.cells.size(), HoldCol::Count);
    (void)ParseHoldings(SerialiseHoldings(data.rows, data.figures.value_or(AccountFigures{})));
  }
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::string bytes = test::RandomBytes(4096, seed);
    for (std::size_t i = 0; i < bytes.size(); i += 5) bytes[i] = " \r\n,-+"[(i / 5) % 6];
    const HoldingsData data = ParseHoldings(bytes);
    (void)ParseHoldings(SerialiseHoldings(data.rows, data.figures.value_or(AccountFigures{})));
  }
}

TEST(HoldFile, BooksLoadKeepsTheFiguresOfAnEmptyOrMissingFile) {
  TempFolder folder;
  Books books;
  books.folder = folder.path();
  books.figures = {"7", "8"};
  books.holdings.insert(LedgerRow{"12341", {}});

  // Missing: nothing changes.
  ASSERT_FALSE(LoadHoldingsInto(books).has_value());
  EXPECT_EQ(books.holdings.size(), 1u);
  EXPECT_EQ(books.figures.totalInvestment, "7");

  // Empty: the list is emptied, the figures stay.
  test::WriteBytes(folder / "Hold.txt", "");
  ASSERT_FALSE(LoadHoldingsInto(books).has_value());
  EXPECT_TRUE(books.holdings.empty());
  EXPECT_EQ(books.figures.totalInvestment, "7");
  EXPECT_EQ(books.figures.realised, "8");

  // The account line alone: no rows, both figures.
  test::WriteBytes(folder / "Hold.txt", "=100,-20\r\n");
  ASSERT_FALSE(LoadHoldingsInto(books).has_value());
  EXPECT_TRUE(books.holdings.empty());
  EXPECT_EQ(books.figures.totalInvestment, "100");
  EXPECT_EQ(books.figures.realised, "-20");

  // A save writes the figures shown and clears the flag.
  books.unsaved.holdings = true;
  books.figures = {"1,500", ""};
  ASSERT_FALSE(SaveHoldingsOf(books).has_value());
  EXPECT_FALSE(books.unsaved.holdings);
  EXPECT_EQ(test::ReadBytes(folder / "Hold.txt"), "=1500,\r\n");

  // A file that cannot be read is reported; the ledger stays.
  std::filesystem::remove(folder / "Hold.txt");
  std::filesystem::create_directory(folder / "Hold.txt");
  books.holdings.insert(LedgerRow{"12341", {}});
  EXPECT_TRUE(LoadHoldingsInto(books).has_value());
  EXPECT_EQ(books.holdings.size(), 1u);
  books.unsaved.holdings = true;
  EXPECT_TRUE(SaveLedger(books, Ledger::Holdings).has_value());
  EXPECT_TRUE(books.unsaved.holdings);
}

}  // namespace
}  // namespace tomvik::core
