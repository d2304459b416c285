#include "core/records/loan_file.h"

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

TEST(LoanFile, FixtureLoadsEveryPositionWithOpenDateAndRate) {
  const LedgerTable rows = ParsePositions(Fixture("Loan.txt"));
  ASSERT_EQ(rows.size(), 3u);
  // Same stock, side and open date: told apart by the sequence number, in that order.
  EXPECT_EQ(rows[0].key, "123452011/01/05001");
  EXPECT_EQ(rows[1].key, "123452011/01/05002");
  EXPECT_EQ(rows[2].key, "567862011/02/10001");
  EXPECT_EQ(Utf8Cells(rows[0].cells), (Cells{"", "買建", "2011/01/05", "1234 見本電機", "東証１部", "1,000", "412,000",
                                             "1,000", "412", "430", "+4.37%", "18,000", "信用買い\r\n期日は半年後"}));
  EXPECT_EQ(Utf8Cells(rows[1].cells), (Cells{"", "買建", "2011/01/05", "1234 見本電機", "東証１部", "1,000", "415,000",
                                             "1,000", "415", "430", "+3.61%", "15,000", ""}));
  // A sell position: "+売" reads as 売建, its rate runs the other way.
  EXPECT_EQ(Utf8Cells(rows[2].cells), (Cells{"", "売建", "2011/02/10", "5678 東京商事", "東証２部", "1,000",
                                             "1,300,000", "1,000", "1,300", "1,250", "+3.85%", "50,000", ""}));
}

TEST(LoanFile, FixtureSavesBackByteForByte) {
  const std::string original = Fixture("Loan.txt");
  const LedgerTable rows = ParsePositions(original);
  EXPECT_TRUE(SameBytes("Loan.txt", original, SerialisePositions(rows)));

  TempFolder folder;
  test::WriteBytes(folder / "Loan.txt", "old");
  ASSERT_FALSE(SavePositions(folder.path(), rows).has_value());
  EXPECT_TRUE(SameBytes("Loan.txt-saved", original, test::ReadBytes(folder / "Loan.txt")));
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"Loan.txt"}));
}

TEST(LoanFile, RecordLinesTakeMarkerFromTheKeyAndNeverWriteDateOrRate) {
  LedgerTable rows;
  rows.insert(LedgerRow{"567862011/02/10001",
                        {"", Sjis("売建"), "2011/02/10", Sjis("5678 東京商事"), Sjis("東証２部"), "1,000", "1,300,000",
                         "1,000", "1,300", "", "+3.85%", "-50,000", Sjis("100%\r\n返済")}});
  rows.insert(LedgerRow{"123452011/01/05001",
                        {"", Sjis("買建"), "ignored", Sjis("1234 見本電機"), "", "", "", "", "", "", "", "", ""}});
  EXPECT_EQ(Utf8(SerialisePositions(rows)),
            "-買,123452011/01/05001,1234 見本電機,,,,,,,\r\n \r\n"
            "+売,567862011/02/10001,5678 東京商事,東証２部,1000,1300000,1000,1300,,-50000\r\n 100%%%n返済\r\n");
  EXPECT_EQ(SerialisePositions(LedgerTable{}), "");
  // The open date comes back from the key, the rate is recomputed.
  const LedgerTable back = ParsePositions(SerialisePositions(rows));
  EXPECT_EQ(back[0].cell(LoanCol::OpenDate), "2011/01/05");
  EXPECT_EQ(back[0].cell(LoanCol::Rate), "0.00%");
  EXPECT_EQ(back[1].cell(LoanCol::Rate), "+100.00%");  // a sell position against an empty market price
}

TEST(LoanFile, MalformedLinesFallBack) {
  const std::string file = Sjis(
                               " comment before any record\r\n"
                               "-買,12345\r\n"                                              // no comma after the key
                               "+売,567862011/02/10001,5678 東京商事,東証２部,x,1,234\r\n"  // too few fields
                               " one\r\n two\r\n"
                               "\r\n") +
                           "?\x81\r\n";  // stray bytes: the kind is one byte and "建"
  const LedgerTable rows = ParsePositions(file);
  ASSERT_EQ(rows.size(), 3u);
  // Sorted by key: "" first.
  EXPECT_EQ(rows[0].key, "");
  EXPECT_EQ(rows[0].cell(LoanCol::Kind), Sjis("買建"));
  EXPECT_EQ(rows[0].cell(LoanCol::Profit), "12,345");  // the whole rest is the last field
  EXPECT_EQ(rows[1].key, "");
  EXPECT_EQ(rows[1].cell(LoanCol::Kind), "\x81" + Sjis("建"));
  EXPECT_EQ(rows[1].cells.size(), LoanCol::Count);
  EXPECT_EQ(Utf8Cells(rows[2].cells), (Cells{"", "売建", "2011/02/10", "5678 東京商事", "東証２部", "0", "1", "", "",
                                             "", "0.00%", "234", "one", "two"}));
  const std::string saved = Utf8(SerialisePositions(rows));
  EXPECT_EQ(saved.find("two"), std::string::npos);
  EXPECT_EQ(saved.find("before"), std::string::npos);
}

TEST(LoanFile, BrokenFilesLoadWithoutCrashing) {
  const std::string fixture = Fixture("Loan.txt");
  for (std::size_t size = 0; size <= fixture.size(); ++size) {
    const LedgerTable rows = ParsePositions(std::string_view(fixture).substr(0, size));
    for (const LedgerRow& row : rows) EXPECT_GE(row.cells.size(), LoanCol::Count);
    (void)ParsePositions(SerialisePositions(rows));
  }
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::string bytes = test::RandomBytes(4096, seed);
    for (std::size_t i = 0; i < bytes.size(); i += 5) bytes[i] = " \r\n,-+"[(i / 5) % 6];
    (void)ParsePositions(SerialisePositions(ParsePositions(bytes)));
  }
  EXPECT_TRUE(ParsePositions("").empty());
}

TEST(LoanFile, BooksLoadAndSave) {
  TempFolder folder;
  Books books;
  books.folder = folder.path();
  books.positions.insert(LedgerRow{"x", {}});
  // Missing: the list stays.
  ASSERT_FALSE(LoadPositionsInto(books).has_value());
  EXPECT_EQ(books.positions.size(), 1u);
  // Empty: the list is emptied.
  test::WriteBytes(folder / "Loan.txt", "");
  ASSERT_FALSE(LoadPositionsInto(books).has_value());
  EXPECT_TRUE(books.positions.empty());

  test::WriteBytes(folder / "Loan.txt", Fixture("Loan.txt"));
  ASSERT_FALSE(LoadPositionsInto(books).has_value());
  EXPECT_EQ(books.positions.size(), 3u);
  books.unsaved.positions = true;
  ASSERT_FALSE(SaveLedger(books, Ledger::Positions).has_value());
  EXPECT_FALSE(books.unsaved.positions);
  EXPECT_EQ(test::ReadBytes(folder / "Loan.txt"), Fixture("Loan.txt"));
}

}  // namespace
}  // namespace tomvik::core
