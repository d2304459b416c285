#include "core/records/code_file.h"
#include "core/records/escape.h"

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

std::vector<std::string> Codes(const LedgerTable& rows) {
  std::vector<std::string> codes;
  for (const LedgerRow& row : rows) codes.push_back(row.key);
  return codes;
}

TEST(CodeFile, FixtureLoadsEveryEntryWithDerivedResultAndRate) {
  const LedgerTable rows = ParseStockMaster(Fixture("Code.txt"), false);
  ASSERT_EQ(Codes(rows), (std::vector<std::string>{"1234", "4321", "5678", "9984"}));
  EXPECT_EQ(Utf8Cells(rows[0].cells), (Cells{"見本電機", "東証１部", "100", "763,050", "428,950", "-334,100",
                                             "-43.78481%", "主力銘柄\r\n100%子会社"}));
  EXPECT_TRUE(rows[0].mark);
  // "F=0": the mark is off; a missing "S=" reads as "0".
  EXPECT_EQ(Utf8Cells(rows[1].cells),
            (Cells{"見本化学", "ジャスダック", "1000", "400,000", "0", "-400,000", "-100.00000%", ""}));
  EXPECT_FALSE(rows[1].mark);
  // Sells without any buy total have no rate.
  EXPECT_EQ(Utf8Cells(rows[2].cells),
            (Cells{"東京商事", "東証２部", "1000", "0", "1,248,425", "1,248,425", std::string(kNoRateText), ""}));
  EXPECT_TRUE(rows[2].mark);
  EXPECT_EQ(Utf8Cells(rows[3].cells), (Cells{"ソフトバンク", "東証１部", "100", "0", "0", "0", "0.00000%", ""}));

  // With the filter only the marked entries are read.
  EXPECT_EQ(Codes(ParseStockMaster(Fixture("Code.txt"), true)), (std::vector<std::string>{"1234", "5678", "9984"}));
}

TEST(CodeFile, WholeFileSavesBackByteForByte) {
  const std::string original = Fixture("Code.txt");
  const LedgerTable rows = ParseStockMaster(original, false);
  EXPECT_TRUE(SameBytes("Code.txt", original, SerialiseStockMaster(rows)));

  TempFolder folder;
  // Lines before any section belong to no entry and go.
  test::WriteBytes(folder / "Code.txt", "old\r\nN=x\r\n");
  ASSERT_FALSE(SaveStockMasterWhole(folder.path(), rows, {}).has_value());
  EXPECT_TRUE(SameBytes("Code.txt-saved", original, test::ReadBytes(folder / "Code.txt")));
  // An empty list keeps every section nobody deleted ...
  ASSERT_FALSE(SaveStockMasterWhole(folder.path(), LedgerTable{}, {}).has_value());
  EXPECT_TRUE(SameBytes("Code.txt-kept", original, test::ReadBytes(folder / "Code.txt")));
  // ... and leaves an empty file once every entry was deleted.
  ASSERT_FALSE(SaveStockMasterWhole(folder.path(), LedgerTable{}, {"1234", "4321", "5678", "9984"}).has_value());
  EXPECT_EQ(test::ReadBytes(folder / "Code.txt"), "");
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"Code.txt"}));
}

TEST(CodeFile, WholeFileKeepsTheSectionsWithoutAnEntryAsTheyStand) {
  // 7777 was written by another panel's lookup; 4321 was deleted; the others
  // are entries of the list, 5555 under a longer header.
  const std::string file = Sjis(
      "[1234]\r\nN=old name\r\n\r\n"
      "[7777]\r\nN=見本新規\r\nE=\r\nU=100\r\n [9999]\r\n\r\n"  // an indented "[" starts no section
      "[4321]\r\nN=gone\r\n\r\n"
      "[55555]\r\nN=covered\r\n\r\n"
      "[12]\nX=odd key\nN=lf only\n"  // code "12]", kept with its LF line ends
      "[8888]\r\nU=1000");            // no final line end
  LedgerTable rows;
  LedgerRow renamed = MakeStockRow("1234");
  renamed.cells[StockCol::Name] = "new name";
  rows.insert(renamed);
  rows.insert(MakeStockRow("5555"));
  const std::string saved = SerialiseStockMasterKeeping(rows, file, {"4321"});
  EXPECT_EQ(Utf8(saved),
            "[1234]\r\nN=new name\r\nE=\r\nU=\r\n\r\n"
            "[5555]\r\nN=\r\nE=\r\nU=\r\n\r\n"
            "[7777]\r\nN=見本新規\r\nE=\r\nU=100\r\n [9999]\r\n\r\n"
            "[12]\nX=odd key\nN=lf only\n"
            "[8888]\r\nU=1000");
  // Read back, the kept sections are entries again.
  EXPECT_EQ(Codes(ParseStockMaster(saved, false)), (std::vector<std::string>{"1234", "12]", "5555", "7777", "8888"}));
  // Saving the list read back with nothing deleted changes nothing.
  EXPECT_EQ(SerialiseStockMasterKeeping(ParseStockMaster(saved, false), saved, {}),
            SerialiseStockMaster(ParseStockMaster(saved, false)));
  // Without a file there is nothing to keep.
  EXPECT_EQ(SerialiseStockMasterKeeping(rows, "", {}), SerialiseStockMaster(rows));
}

TEST(CodeFile, WholeFileWritesOnlyTheKeysThatAreNeeded) {
  LedgerTable rows;
  rows.insert(MakeStockRow("1111"));
  LedgerRow full = MakeStockRow("2222");
  full.cells[StockCol::Name] = Sjis("名前");
  full.cells[StockCol::Exchange] = "X";
  full.cells[StockCol::Unit] = "1000";
  full.cells[StockCol::BuyTotal] = "00";  // only exactly "0" is left out
  full.cells[StockCol::SellTotal] = "abc";
  full.cells[StockCol::Comment] = "50%\r\nok";
  full.mark = false;
  rows.insert(full);
  EXPECT_EQ(Utf8(SerialiseStockMaster(rows)),
            "[1111]\r\nN=\r\nE=\r\nU=\r\n\r\n"  // five lines for a new entry
            "[2222]\r\nN=名前\r\nE=X\r\nU=1000\r\nB=00\r\nS=abc\r\nC=50%%%nok\r\nF=0\r\n\r\n");
  // Read back: totals as text, unreadable ones count as 0 in the result.
  const LedgerTable back = ParseStockMaster(SerialiseStockMaster(rows), false);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[1].cell(StockCol::BuyTotal), "00");
  EXPECT_EQ(back[1].cell(StockCol::SellTotal), "abc");
  EXPECT_EQ(back[1].cell(StockCol::Result), "0");
  EXPECT_EQ(back[1].cell(StockCol::Rate), "0.00000%");  // a zero result has rate 0 whatever the buy total
  EXPECT_EQ(back[1].cell(StockCol::Comment), "50%\r\nok");
  EXPECT_FALSE(back[1].mark);
  // Lone breaks and runs of "%" are escaped as every other comment is; a
  // comment made only of breaks takes twice its length.
  for (const std::string comment : {"\r", "\n\n\n", "%%\r\r\n\n%", "a\rb\nc"}) {
    LedgerTable one;
    LedgerRow row = MakeStockRow("3333");
    row.cells[StockCol::Comment] = comment;
    one.insert(row);
    EXPECT_EQ(SerialiseStockMaster(one), "[3333]\r\nN=\r\nE=\r\nU=\r\nC=" + EscapeText(comment) + "\r\n\r\n");
  }
}

TEST(CodeFile, ReadingFallBacks) {
  const std::string file = Sjis(
      "N=before any header\r\n"
      "[12]\r\n"               // two digits: the code is "12]"
      "F=\r\nF=1\r\nF=00\r\n"  // only exactly "F=0" turns the mark off
      "[3333]\r\n"
      "N=first\r\nN=second\r\n"  // the later line wins
      " N=blank first\r\nX=unknown\r\n;comment\r\n"
      "Nname without equals\r\n"  // the second character is dropped unchecked
      "B=1,000\r\nS=1,500\r\n"
      "F=0\r\nF=2\r\n"  // the later line wins here too
      "[4\r\n"          // a short header
      "[55555555]\r\n"  // only four characters after "["
      "C=%%n%n%\r\n");
  const LedgerTable rows = ParseStockMaster(file, false);
  ASSERT_EQ(Codes(rows), (std::vector<std::string>{"12]", "3333", "4", "5555"}));
  EXPECT_TRUE(rows[0].mark);
  EXPECT_EQ(rows[0].cell(StockCol::Name), "");
  EXPECT_EQ(rows[1].cell(StockCol::Name), "ame without equals");
  EXPECT_EQ(rows[1].cell(StockCol::Result), "500");
  EXPECT_EQ(rows[1].cell(StockCol::Rate), "+50.00000%");
  EXPECT_TRUE(rows[1].mark);
  EXPECT_EQ(rows[3].cell(StockCol::Comment), "%n\r\n%");
  // Invalid CP932 and random bytes.
  EXPECT_EQ(ParseStockMaster("[\x81\xFF\x80]\r\nN=\xFD\r\n", false)[0].cell(StockCol::Name), "\xFD");
  const std::string fixture = Fixture("Code.txt");
  for (std::size_t size = 0; size <= fixture.size(); ++size) {
    const LedgerTable cut = ParseStockMaster(std::string_view(fixture).substr(0, size), false);
    for (const LedgerRow& row : cut) EXPECT_EQ(row.cells.size(), StockCol::Count);
    (void)SerialiseStockMaster(cut);
  }
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::string bytes = test::RandomBytes(4096, seed);
    for (std::size_t i = 0; i < bytes.size(); i += 5) bytes[i] = "[\r\nNCF"[(i / 5) % 6];
    (void)SerialiseStockMaster(ParseStockMaster(bytes, true));
    IniFile ini = IniFile::Parse(bytes);
    ApplyStockMasterInPlace(ini, ParseStockMaster(bytes, false));
  }
  EXPECT_TRUE(ParseStockMaster("", false).empty());
}

TEST(CodeFile, InPlaceSaveRewritesOnlyTheListedSections) {
  TempFolder folder;
  test::WriteBytes(folder / "Code.txt", Fixture("Code.txt"));
  StockMasterLoad load = LoadStockMaster(folder.path(), true);
  ASSERT_EQ(Codes(load.rows), (std::vector<std::string>{"1234", "5678", "9984"}));
  LedgerTable& rows = load.rows;
  // 1234: sells undone and the comment cleared: keys S and C go.
  rows.setCell(0, StockCol::SellTotal, "0");
  rows.setCell(0, StockCol::Comment, "");
  // 5678: a buy total appears and the mark goes off.
  rows.setCell(1, StockCol::BuyTotal, "1,101,050");
  rows.setMark(1, false);
  // 9984 is deleted from the list while the filter is on: its section stays.
  rows.erase(2);
  // A new entry gets a section at the end.
  LedgerRow added = MakeStockRow("7777");
  added.cells[StockCol::Name] = Sjis("見本新規");
  added.cells[StockCol::Exchange] = Sjis("マザーズ");
  added.cells[StockCol::Unit] = "100";
  rows.insert(added);

  ASSERT_FALSE(SaveStockMasterInPlace(folder.path(), rows).has_value());
  EXPECT_TRUE(SameBytes("Code_inplace.txt", Fixture("Code_inplace.txt"), test::ReadBytes(folder / "Code.txt")));
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"Code.txt"}));

  // Saving the unchanged list again changes nothing.
  ASSERT_FALSE(SaveStockMasterInPlace(folder.path(), rows).has_value());
  EXPECT_TRUE(SameBytes("Code_inplace.txt-again", Fixture("Code_inplace.txt"), test::ReadBytes(folder / "Code.txt")));

  // A changed comment: key C is deleted and written again.
  rows.setCell(0, StockCol::Comment, "a\r\nb");
  IniFile ini = IniFile::Parse(Fixture("Code.txt"));
  ApplyStockMasterInPlace(ini, rows);
  EXPECT_EQ(ini.readString("1234", "C", ""), "a%nb");
  EXPECT_EQ(ini.readString("4321", "F", ""), "0");
}

TEST(CodeFile, InPlaceSaveOnAMissingFileWritesTheSections) {
  TempFolder folder;
  LedgerTable rows;
  rows.insert(MakeStockRow("1234"));
  ASSERT_FALSE(SaveStockMasterInPlace(folder.path(), rows).has_value());
  EXPECT_EQ(test::ReadBytes(folder / "Code.txt"), "[1234]\r\nN=\r\nE=\r\nU=\r\n\r\n");
}

TEST(CodeFile, SingleKeysAreReadAndWrittenInPlace) {
  TempFolder folder;
  const std::string original = Fixture("Code.txt");
  test::WriteBytes(folder / "Code.txt", original);
  // Reading: raw values, case-insensitive key names, the default when missing.
  EXPECT_EQ(Utf8(ReadStockKey(folder.path(), "1234", "N")), "見本電機");
  EXPECT_EQ(Utf8(ReadStockKey(folder.path(), "1234", "c")), "主力銘柄%n100%%子会社");
  EXPECT_EQ(ReadStockKey(folder.path(), "1234", "B"), "763,050");
  EXPECT_EQ(ReadStockKey(folder.path(), "5678", "B"), "");
  EXPECT_EQ(ReadStockKey(folder.path(), "0000", "N", "none"), "none");
  EXPECT_EQ(ReadStockKey(folder / "missing", "1234", "N"), "");

  // An existing key is replaced where it stands; nothing else changes.
  ASSERT_FALSE(WriteStockKey(folder.path(), "5678", "U", "500").has_value());
  std::string expected = original;
  expected.replace(expected.find("U=1000\r\nS=1,248,425"), 6, "U=500");
  EXPECT_TRUE(SameBytes("Code.txt-key", expected, test::ReadBytes(folder / "Code.txt")));

  // A missing key goes to the end of its section, before the empty line.
  ASSERT_FALSE(WriteStockKey(folder.path(), "9984", "B", "1,000").has_value());
  expected.replace(expected.rfind("U=100\r\n\r\n"), 9, "U=100\r\nB=1,000\r\n\r\n");
  EXPECT_TRUE(SameBytes("Code.txt-newkey", expected, test::ReadBytes(folder / "Code.txt")));

  // A missing section goes to the end of the file.
  ASSERT_FALSE(WriteStockKey(folder.path(), "8888", "N", Sjis("新銘柄")).has_value());
  expected += Sjis("[8888]\r\nN=新銘柄\r\n\r\n");
  EXPECT_TRUE(SameBytes("Code.txt-newsection", expected, test::ReadBytes(folder / "Code.txt")));

  // Deleting removes that line only; deleting a missing key leaves the file alone.
  ASSERT_FALSE(DeleteStockKey(folder.path(), "1234", "s").has_value());
  expected.erase(expected.find("S=428,950\r\n"), 11);
  EXPECT_TRUE(SameBytes("Code.txt-deleted", expected, test::ReadBytes(folder / "Code.txt")));
  ASSERT_FALSE(DeleteStockKey(folder.path(), "1234", "S").has_value());
  ASSERT_FALSE(DeleteStockKey(folder.path(), "0000", "N").has_value());
  EXPECT_TRUE(SameBytes("Code.txt-deleted-again", expected, test::ReadBytes(folder / "Code.txt")));
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"Code.txt"}));

  // Several keys in one rewrite, in order.
  ASSERT_FALSE(WriteStockKeys(folder.path(), "8888", {{"E", "X"}, {"U", "100"}}).has_value());
  EXPECT_EQ(test::ReadBytes(folder / "Code.txt").substr(expected.size() - 2), "E=X\r\nU=100\r\n\r\n");
}

TEST(CodeFile, SingleKeysHaveNoLengthLimitAndCreateAMissingFile) {
  TempFolder folder;
  EXPECT_FALSE(DeleteStockKey(folder.path(), "1234", "N").has_value());
  EXPECT_TRUE(folder.entries().empty());
  const std::string longText(5000, 'x');
  ASSERT_FALSE(WriteStockKey(folder.path(), "1234", "C", longText).has_value());
  EXPECT_EQ(test::ReadBytes(folder / "Code.txt"), "[1234]\r\nC=" + longText + "\r\n\r\n");
  EXPECT_EQ(ReadStockKey(folder.path(), "1234", "C"), longText);
  // Values are raw bytes: blanks and "=" are kept.
  ASSERT_FALSE(WriteStockKey(folder.path(), "1234", "N", " a=b ").has_value());
  EXPECT_EQ(ReadStockKey(folder.path(), "1234", "N"), " a=b ");
  EXPECT_EQ(ParseStockMaster(test::ReadBytes(folder / "Code.txt"), false)[0].cell(StockCol::Name), " a=b ");
}

TEST(CodeFile, SingleKeyWritesReportAnUnreadableFile) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "Code.txt");
  EXPECT_TRUE(WriteStockKey(folder.path(), "1234", "N", "x").has_value());
  EXPECT_TRUE(DeleteStockKey(folder.path(), "1234", "N").has_value());
  EXPECT_TRUE(SaveStockMasterInPlace(folder.path(), LedgerTable{}).has_value());
  EXPECT_TRUE(SaveStockMasterWhole(folder.path(), LedgerTable{}, {}).has_value());
  EXPECT_EQ(ReadStockKey(folder.path(), "1234", "N", "fallback"), "fallback");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Code.txt"));
}

TEST(CodeFile, BooksLoadAndSaveByTheFilter) {
  TempFolder folder;
  test::WriteBytes(folder / "Code.txt", Fixture("Code.txt"));
  Books books;
  books.folder = folder.path();
  books.stockFilter = true;
  books.unsaved.stocks = true;
  ASSERT_FALSE(LoadStocksInto(books).has_value());
  EXPECT_EQ(Codes(books.stocks), (std::vector<std::string>{"1234", "5678", "9984"}));
  EXPECT_FALSE(books.unsaved.stocks);
  // With the filter on, saving keeps the unmarked entry's section, and the
  // section of an entry deleted from the list too.
  books.stocks.erase(0);
  books.droppedStockCodes.insert("1234");
  books.unsaved.stocks = true;
  ASSERT_FALSE(SaveLedger(books, Ledger::Stocks).has_value());
  EXPECT_FALSE(books.unsaved.stocks);
  EXPECT_TRUE(books.droppedStockCodes.empty());
  EXPECT_EQ(test::ReadBytes(folder / "Code.txt"), Fixture("Code.txt"));
  // With the filter off, the file is the list, then the sections it lacks.
  books.stockFilter = false;
  books.stocks.erase(1);
  books.droppedStockCodes.insert("9984");
  ASSERT_FALSE(SaveStocks(books).has_value());
  EXPECT_TRUE(books.droppedStockCodes.empty());
  EXPECT_EQ(Codes(ParseStockMaster(test::ReadBytes(folder / "Code.txt"), false)),
            (std::vector<std::string>{"1234", "4321", "5678"}));
  EXPECT_EQ(test::ReadBytes(folder / "Code.txt").substr(0, 6), "[5678]");
  // Reading drops what was deleted since the last save.
  books.droppedStockCodes.insert("5678");
  ASSERT_FALSE(LoadStocksInto(books).has_value());
  EXPECT_TRUE(books.droppedStockCodes.empty());
  // A missing file leaves the list as it is.
  std::filesystem::remove(folder / "Code.txt");
  ASSERT_FALSE(LoadStocksInto(books).has_value());
  EXPECT_EQ(books.stocks.size(), 3u);
}

}  // namespace
}  // namespace tomvik::core
