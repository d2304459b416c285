#include "core/records/diary_file.h"

#include <gtest/gtest.h>

#include <random>
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

std::vector<std::string> Keys(const LedgerTable& rows) {
  std::vector<std::string> keys;
  for (const LedgerRow& row : rows) keys.push_back(Utf8(row.key));
  return keys;
}

// The row with this key; fails the test when there is none.
const LedgerRow& RowOf(const LedgerTable& rows, std::string_view utf8Key) {
  static const LedgerRow kNone;
  const auto at = rows.find(Sjis(utf8Key));
  EXPECT_TRUE(at.has_value()) << "no row " << utf8Key;
  return at ? rows[*at] : kNone;
}

// The header's derived count, turnover and result.
std::vector<std::string> DaySummary(const LedgerTable& rows, std::string_view date) {
  const auto header = FindDayHeader(rows, date);
  if (!header) return {"no header"};
  const LedgerRow& row = rows[*header];
  return {row.cell(DiaryCol::Kind), row.cell(DiaryCol::Amount), row.cell(DiaryCol::Profit)};
}

// One trade line of a day, parsed: the trade row (row 1 after the header).
LedgerRow ParseOneTrade(const std::string& tradeLine) {
  const LedgerTable rows = ParseDiaryMonth(Sjis("[2011/03/01(火)]\r\n \r\n") + tradeLine + "\r\n \r\n");
  EXPECT_EQ(rows.size(), 3u);
  return rows.size() == 3 ? rows[1] : LedgerRow{};
}

TEST(DiaryFile, FixtureLoadsEveryKindWithItsKeyCellsAndDerivedProfit) {
  const LedgerTable rows = ParseDiaryMonth(Fixture("201103.txt"));
  EXPECT_EQ(Keys(rows), (std::vector<std::string>{
                            "2011/03/0100",
                            "2011/03/01111234",
                            "2011/03/01125678",
                            "2011/03/01211234",
                            "2011/03/01225678",
                            "2011/03/01519984",
                            "2011/03/01524321",
                            "2011/03/019",
                            "2011/03/150002",
                            "2011/03/15251234001",
                            "2011/03/15265678002",
                            "2011/03/152780582011/03/10001",
                            "2011/03/15315678",
                            "2011/03/15321234",
                            "2011/03/153567582011/03/08001",
                            "2011/03/153672032011/03/08002",
                            "2011/03/153894322011/03/10002",
                            "2011/03/15556501",
                            "2011/03/15566502",
                            "2011/03/1571,,,,",
                            "2011/03/1572,,,,",
                            "2011/03/159",
                            "2011/03/2200",
                            "2011/03/229",
                            "2011/03/310001",
                            "2011/03/31267203001",
                            "2011/03/3171,,,,",
                            "2011/03/319",
                        }));

  using Cells = std::vector<std::string>;
  // Day headers: date with weekday, derived count / turnover / result, flat charge, note.
  EXPECT_EQ(
      Utf8Cells(RowOf(rows, "2011/03/0100").cells),
      (Cells{"2011/03/01(火)", "6", "", "", "", "", "", "", "1,599,475", "", "", "相場は50%上昇\r\n%nは記号のまま"}));
  EXPECT_EQ(Utf8Cells(RowOf(rows, "2011/03/150002").cells),
            (Cells{"2011/03/15(火)", "12", "", "", "", "", "1,050", "", "9,150,000", "", "1,233,910", "信用取引の日"}));
  EXPECT_EQ(Utf8Cells(RowOf(rows, "2011/03/2200").cells),
            (Cells{"2011/03/22(火)", "", "", "", "", "", "525", "", "", "", "-525", "手数料のみの日"}));
  EXPECT_EQ(Utf8Cells(RowOf(rows, "2011/03/310001").cells),
            (Cells{"2011/03/31(木)", "2", "", "", "", "", "", "", "530,000", "", "200,000", ""}));

  // Trade rows: kind text by token, amounts in display form, profit derived from amount and cost.
  const struct {
    const char* key;
    Cells cells;
  } trades[] = {
      {"2011/03/01111234",
       {"", "予買", "1234 見本電機", "東証１部", "3,500", "100", "", "", "350,000", "", "", "押し目で買う予定"}},
      {"2011/03/01125678",
       {"", "予売", "5678 東京商事", "東証２部", "1,200", "1,000", "", "", "1,200,000", "", "", ""}},
      {"2011/03/01211234",
       {"", "買", "1234 見本電機", "東証１部", "3,500", "100", "1,050", "0", "351,050", "", "", ""}},
      {"2011/03/01225678",
       {"", "売", "5678 東京商事", "東証２部", "1,250", "1,000", "1,575", "0", "1,248,425", "", "", "～①ｱ"}},
      {"2011/03/01519984",
       {"", "買保", "9984 ソフトバンク", "東証１部", "2,500", "200", "", "", "500,000", "", "", ""}},
      {"2011/03/01524321", {"", "売保", "4321 見本化学", "ジャスダック", "800", "500", "", "", "400,000", "", "", ""}},
      {"2011/03/15251234001",
       {"", "信買", "1234 見本電機", "東証１部", "3,600", "1,000", "", "", "3,600,000", "", "", ""}},
      {"2011/03/15265678002",
       {"", "信売", "5678 東京商事", "東証２部", "1,300", "2,000", "", "", "2,600,000", "", "", ""}},
      // Delivery take: cost - amount, not negated.
      {"2011/03/152780582011/03/10001",
       {"", "現引", "8058 見本物産", "東証１部", "1,500", "1,000", "", "", "1,500,000", "1,480,000", "-20,000",
        "現引き"}},
      // Closing buy: -(amount - cost); closing sell: -(cost - amount).
      {"2011/03/15315678",
       {"", "買", "5678 東京商事", "東証２部", "1,100", "1,000", "1,050", "0", "1,101,050", "1,248,425", "147,375",
        ""}},
      {"2011/03/15321234",
       {"", "売", "1234 見本電機", "東証１部", "4,300", "100", "1,050", "0", "428,950", "351,050", "77,900",
        "利益確定\r\n目標達成 100%"}},
      {"2011/03/153567582011/03/08001",
       {"", "返買", "6758 見本精機", "東証１部", "900", "1,000", "", "", "900,000", "950,000", "50,000", ""}},
      {"2011/03/153672032011/03/08002",
       {"", "返売", "7203 見本自動車", "東証１部", "5,200", "100", "", "", "520,000", "500,000", "20,000", ""}},
      // Delivery give: -(cost - amount).
      {"2011/03/153894322011/03/10002",
       {"", "現渡", "9432 見本通信", "東証１部", "4,000", "100", "", "", "400,000", "410,000", "-10,000", ""}},
      {"2011/03/15556501", {"", "買建", "6501 見本電工", "東証１部", "700", "1,000", "", "", "700,000", "", "", ""}},
      {"2011/03/15566502", {"", "売建", "6502 見本重工", "東証１部", "400", "1,000", "", "", "400,000", "", "", ""}},
      // Cash movements without a cost: charge + tax + amount, negated for a withdrawal.
      {"2011/03/1571,,,,", {"", "入", "", "", "", "", "", "", "1,000,000", "", "1,000,000", "入金"}},
      {"2011/03/1572,,,,", {"", "出", "", "", "", "", "315", "", "50,000", "", "-50,315", ""}},
      {"2011/03/31267203001",
       {"", "信売", "7203 見本自動車", "東証１部", "5,300", "100", "", "", "530,000", "", "", ""}},
      {"2011/03/3171,,,,", {"", "入", "", "", "", "", "", "", "200,000", "", "200,000", ""}},
  };
  for (const auto& trade : trades) {
    EXPECT_EQ(Utf8Cells(RowOf(rows, trade.key).cells), trade.cells) << trade.key;
  }
  // End markers carry no cells.
  EXPECT_TRUE(RowOf(rows, "2011/03/159").cells.empty());
}

TEST(DiaryFile, FixtureSavesBackByteForByte) {
  const std::string original = Fixture("201103.txt");
  EXPECT_TRUE(SameBytes("201103.txt", original, SerialiseDiaryMonth(ParseDiaryMonth(original))));

  TempFolder folder;
  test::WriteBytes(folder / "201103.txt", original);
  const DiaryLoad load = LoadDiaryMonth(folder.path(), "2011/03");
  ASSERT_EQ(load.status, ReadStatus::Loaded);
  test::WriteBytes(folder / "201103.txt", "replaced");
  ASSERT_FALSE(SaveDiaryMonth(folder.path(), "2011/03", load.rows).has_value());
  EXPECT_TRUE(SameBytes("201103.txt-saved", original, test::ReadBytes(folder / "201103.txt")));
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"201103.txt"}));
}

TEST(DiaryFile, TokensOfEveryKindAreWrittenByTheWritersRules) {
  const struct {
    const char* kind;
    const char* text;
    const char* token;
  } cases[] = {
      {"11", "予買", "-予"}, {"12", "予売", "+予"}, {"21", "買", "-買"},   {"22", "売", "+売"},   {"31", "買", "-〆"},
      {"32", "売", "+〆"},   {"51", "買保", "-保"}, {"52", "売保", "+保"}, {"25", "信買", "-信"}, {"26", "信売", "+信"},
      {"35", "返買", "-返"}, {"36", "返売", "+返"}, {"27", "現引", "-現"}, {"38", "現渡", "+現"}, {"55", "買建", "-建"},
      {"56", "売建", "+建"}, {"71", "入", "*入"},   {"72", "出", "*出"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8(DiaryToken(c.kind[0], c.kind[1], Sjis(c.text))), c.token) << c.kind;
  }
  // A first-class-2 row with another kind text still gets the side's kanji.
  EXPECT_EQ(Utf8(DiaryToken('2', '1', "")), "-買");
  EXPECT_EQ(Utf8(DiaryToken('2', '2', Sjis("信売"))), "+売");
  // Digits of no kind: the writer's fall-backs.
  EXPECT_EQ(Utf8(DiaryToken('9', '1', "")), "-保");
  EXPECT_EQ(Utf8(DiaryToken('0', '0', "")), "+建");
  EXPECT_EQ(Utf8(DiaryToken('1', '8', "")), "+現");
}

TEST(DiaryFile, TokensReadBackByTheirKanjiAndSign) {
  const struct {
    const char* line;
    const char* key;   // after the date
    const char* kind;  // kind text
  } cases[] = {
      {"+買,1234 A,X,1,1,,,1,", "211234", "買"},  // 買 and 売 give 21 and 22 whatever the sign
      {"-売,1234 A,X,1,1,,,1,", "221234", "売"},
      {"x予,1234 A,X,1,1,,,1,", "121234", "予売"},  // any sign but "-" is the sell side
      {"-信,1234 A,X,1,1,,,1,", "251234", "信買"},  // a margin token with an empty suffix
      {"+現007,1234 A,X,1,1,,,1,", "381234007", "現渡"},
      {"*出,1234 A,X,,,,,100,", "721234", "出"},  // a cash movement keyed by what follows its token
  };
  for (const auto& c : cases) {
    const LedgerRow row = ParseOneTrade(Sjis(c.line));
    EXPECT_EQ(Utf8(row.key), std::string("2011/03/01") + c.key) << c.line;
    EXPECT_EQ(Utf8(row.cell(DiaryCol::Kind)), c.kind) << c.line;
  }
}

TEST(DiaryFile, HeaderLinesWithAndWithoutChargeAndCounter) {
  LedgerTable rows;
  rows.insert(MakeDayHeader("2011/03/15"));
  rows.insert(MakeDayEnd("2011/03/15"));
  EXPECT_EQ(Utf8(rows[0].key), "2011/03/1500");
  EXPECT_EQ(Utf8(rows[0].cell(DiaryCol::Date)), "2011/03/15(火)");
  EXPECT_EQ(rows[0].cells.size(), DiaryCol::Count);
  EXPECT_EQ(Utf8(SerialiseDiaryMonth(rows)), "[2011/03/15(火)]\r\n \r\n\r\n");

  rows.rekey(0, "2011/03/150001");
  EXPECT_EQ(Utf8(SerialiseDiaryMonth(rows)), "[2011/03/15(火)] (001)\r\n \r\n\r\n");
  rows.setCell(0, DiaryCol::Charge, "1,050");
  EXPECT_EQ(Utf8(SerialiseDiaryMonth(rows)), "[2011/03/15(火)] 1,050(001)\r\n \r\n\r\n");
  rows.rekey(0, "2011/03/1500");
  EXPECT_EQ(Utf8(SerialiseDiaryMonth(rows)), "[2011/03/15(火)] 1,050\r\n \r\n\r\n");
  // An empty counter is written like "0".
  rows.rekey(0, "2011/03/150");
  rows.setCell(0, DiaryCol::Charge, "");
  EXPECT_EQ(Utf8(SerialiseDiaryMonth(rows)), "[2011/03/15(火)]\r\n \r\n\r\n");

  // Reading: a "(" in the charge text starts the counter, which ends one byte before the line does.
  const LedgerTable odd = ParseDiaryMonth(Sjis("[2011/03/15(火)] 5(25)x\r\n[2011/03/16(水)] 300(xyz\r\n"));
  ASSERT_EQ(odd.size(), 4u);
  EXPECT_EQ(Utf8(odd[0].key), "2011/03/15025)");
  EXPECT_EQ(odd[0].cell(DiaryCol::Charge), "5");
  EXPECT_EQ(Utf8(odd[2].key), "2011/03/160xy");
  EXPECT_EQ(odd[2].cell(DiaryCol::Charge), "300");
  // A counter that is no number counts as 0.
  EXPECT_EQ(DayCounterValue(odd[2].key), 0);
  EXPECT_EQ(DayCounterValue("2011/03/150002"), 2);
  EXPECT_EQ(DayCounterValue("2011/03/1500"), 0);
  EXPECT_EQ(DayCounterText("2011/03/150013"), "013");
}

TEST(DiaryFile, KindTwentyOneExampleLineAndCashMovementKeys) {
  LedgerTable rows;
  rows.insert(MakeDayHeader("2011/03/15"));
  rows.insert(MakeDayEnd("2011/03/15"));
  LedgerRow trade;
  trade.key = "2011/03/15211234";
  trade.cells = {"", Sjis("買"), Sjis("1234 見本電機"), Sjis("東証１部"), "3,500", "100", "1,050", "0", "351,050", "",
                 "", "50%\r\nok"};
  rows.insert(trade);
  // A cash movement recorded since loading has only the date and the kind code.
  LedgerRow deposit;
  deposit.key = "2011/03/1571";
  deposit.cells = {"", Sjis("入"), "", "", "", "", "", "", "10,000", "", "10,000", ""};
  rows.insert(deposit);
  const std::string bytes = SerialiseDiaryMonth(rows);
  EXPECT_EQ(Utf8(bytes),
            "[2011/03/15(火)]\r\n \r\n-買,1234 見本電機,東証１部,3500,100,1050,0,351050,\r\n 50%%%nok\r\n"
            "*入,,,,,,,10000,\r\n \r\n\r\n");
  // After a reload the deposit carries the four bytes after its token part.
  const LedgerTable reloaded = ParseDiaryMonth(bytes);
  ASSERT_EQ(reloaded.size(), 4u);
  EXPECT_EQ(reloaded[2].key, "2011/03/1571,,,,");
  EXPECT_EQ(reloaded[1].cell(DiaryCol::Comment), "50%\r\nok");
  EXPECT_EQ(SerialiseDiaryMonth(reloaded), bytes);
}

TEST(DiaryFile, CommentsKeepPercentSignsAndLineBreaks) {
  LedgerTable rows;
  rows.insert(MakeDayHeader("2011/03/15"));
  rows.insert(MakeDayEnd("2011/03/15"));
  const std::string comment = Sjis("一行目 %n は文字\r\n二行目 100%\r\n\r\n%");
  rows.setCell(0, DiaryCol::Comment, comment);
  const std::string bytes = SerialiseDiaryMonth(rows);
  EXPECT_EQ(Utf8(bytes), "[2011/03/15(火)]\r\n 一行目 %%n は文字%n二行目 100%%%n%n%%\r\n\r\n");
  EXPECT_EQ(ParseDiaryMonth(bytes)[0].cell(DiaryCol::Comment), comment);
  // A lone CR or LF is stored as a line break too and comes back as CR LF.
  rows.setCell(0, DiaryCol::Comment, "a\rb\nc");
  const std::string lone = SerialiseDiaryMonth(rows);
  EXPECT_NE(lone.find(" a%nb%nc\r\n"), std::string::npos);
  EXPECT_EQ(ParseDiaryMonth(lone)[0].cell(DiaryCol::Comment), "a\r\nb\r\nc");
}

TEST(DiaryFile, DaySummaryCountsTurnoverAndResultOfEveryDay) {
  LedgerTable rows = ParseDiaryMonth(Fixture("201103.txt"));
  using Summary = std::vector<std::string>;
  EXPECT_EQ(DaySummary(rows, "2011/03/01"), (Summary{"6", "1,599,475", ""}));
  EXPECT_EQ(DaySummary(rows, "2011/03/15"), (Summary{"12", "9,150,000", "1,233,910"}));
  EXPECT_EQ(DaySummary(rows, "2011/03/22"), (Summary{"", "", "-525"}));
  EXPECT_EQ(DaySummary(rows, "2011/03/31"), (Summary{"2", "530,000", "200,000"}));

  // A change in one day, summed again from any of its rows, touches that day only.
  const std::size_t sell = *rows.find(Sjis("2011/03/15321234"));
  rows.setCell(sell, DiaryCol::Amount, "500,000");
  rows.setCell(sell, DiaryCol::Profit, "148,950");
  rows.setCell(*FindDayHeader(rows, "2011/03/01"), DiaryCol::Amount, "stale");
  RecomputeDay(rows, sell);
  EXPECT_EQ(DaySummary(rows, "2011/03/15"), (Summary{"12", "9,221,050", "1,304,960"}));
  EXPECT_EQ(DaySummary(rows, "2011/03/01"), (Summary{"6", "stale", ""}));
  // From the end marker and from the header the same day is found.
  rows.setCell(*FindDayHeader(rows, "2011/03/15"), DiaryCol::Charge, "");
  RecomputeDay(rows, *rows.find("2011/03/159"));
  EXPECT_EQ(DaySummary(rows, "2011/03/15"), (Summary{"12", "9,221,050", "1,306,010"}));
  RecomputeDay(rows, *FindDayHeader(rows, "2011/03/01"));
  EXPECT_EQ(DaySummary(rows, "2011/03/01"), (Summary{"6", "1,599,475", ""}));

  // Every day at once, after all headers were spoilt.
  for (const char* date : {"2011/03/01", "2011/03/15", "2011/03/22", "2011/03/31"}) {
    const std::size_t header = *FindDayHeader(rows, date);
    rows.setCell(header, DiaryCol::Kind, "x");
    rows.setCell(header, DiaryCol::Amount, "x");
    rows.setCell(header, DiaryCol::Profit, "x");
  }
  RecomputeAllDays(rows);
  EXPECT_EQ(DaySummary(rows, "2011/03/01"), (Summary{"6", "1,599,475", ""}));
  EXPECT_EQ(DaySummary(rows, "2011/03/15"), (Summary{"12", "9,221,050", "1,306,010"}));
  EXPECT_EQ(DaySummary(rows, "2011/03/22"), (Summary{"", "", "-525"}));
  EXPECT_EQ(DaySummary(rows, "2011/03/31"), (Summary{"2", "530,000", "200,000"}));
}

TEST(DiaryFile, DaySummaryOfAnEmptyDayAndOfRowsWithoutAHeader) {
  LedgerTable rows;
  rows.insert(MakeDayHeader("2011/03/15"));
  rows.insert(MakeDayEnd("2011/03/15"));
  rows.setCell(0, DiaryCol::Kind, "9");
  rows.setCell(0, DiaryCol::Charge, "-200");  // a negative flat charge adds to the result
  RecomputeDay(rows, 1);
  EXPECT_EQ(rows[0].cell(DiaryCol::Kind), "");
  EXPECT_EQ(rows[0].cell(DiaryCol::Amount), "");
  EXPECT_EQ(rows[0].cell(DiaryCol::Profit), "200");

  // Rows without any header above are left as they are.
  LedgerTable loose;
  loose.insert(LedgerRow{"2011/03/15321234", {"", "", "", "", "", "", "", "", "100", "", "5", ""}});
  loose.insert(LedgerRow{"2011/03/159", {}});
  RecomputeDay(loose, 0);
  RecomputeDay(loose, 1);
  RecomputeDay(loose, 7);  // beyond the list
  RecomputeAllDays(loose);
  EXPECT_EQ(loose[0].cells, (std::vector<std::string>{"", "", "", "", "", "", "", "", "100", "", "5", ""}));
  EXPECT_TRUE(loose[1].cells.empty());
}

TEST(DiaryFile, FindDayHeaderFindsOnlyTheDatesHeader) {
  const LedgerTable rows = ParseDiaryMonth(Fixture("201103.txt"));
  EXPECT_EQ(FindDayHeader(rows, "2011/03/01"), std::optional<std::size_t>(0));
  EXPECT_EQ(FindDayHeader(rows, "2011/03/15"), std::optional<std::size_t>(8));
  EXPECT_EQ(FindDayHeader(rows, "2011/03/31"), std::optional<std::size_t>(24));
  EXPECT_EQ(FindDayHeader(rows, "2011/03/16"), std::nullopt);
  EXPECT_EQ(FindDayHeader(rows, "2011/04/01"), std::nullopt);
  EXPECT_EQ(FindDayHeader(LedgerTable{}, "2011/03/01"), std::nullopt);
}

TEST(DiaryFile, FileNamesAndMonthKeys) {
  EXPECT_EQ(DiaryFileName("2011/03"), "201103.txt");
  EXPECT_EQ(DiaryFileName("1999/12"), "199912.txt");
  EXPECT_EQ(MonthKeyOf("2011/03/15"), "2011/03");
  EXPECT_TRUE(IsDayHeaderKey("2011/03/1500"));
  EXPECT_FALSE(IsDayHeaderKey("2011/03/15211234"));
  EXPECT_TRUE(IsDayEndKey("2011/03/159"));
  EXPECT_FALSE(IsDayEndKey("2011/03/1591"));
}

TEST(DiaryFile, SavingAMonthWithoutRowsRemovesItsFile) {
  TempFolder folder;
  test::WriteBytes(folder / "201103.txt", Fixture("201103.txt"));
  test::WriteBytes(folder / "201104.txt", "other month");
  EXPECT_FALSE(SaveDiaryMonth(folder.path(), "2011/03", LedgerTable{}).has_value());
  EXPECT_EQ(folder.entries(), (std::vector<std::string>{"201104.txt"}));
  // Saving it again, now that there is no file, is no error either.
  EXPECT_FALSE(SaveDiaryMonth(folder.path(), "2011/03", LedgerTable{}).has_value());
  const DiaryLoad load = LoadDiaryMonth(folder.path(), "2011/03");
  EXPECT_EQ(load.status, ReadStatus::Missing);
  EXPECT_TRUE(load.rows.empty());
  EXPECT_FALSE(load.error.has_value());
  EXPECT_EQ(SerialiseDiaryMonth(LedgerTable{}), "");
}

TEST(DiaryFile, ProfitIsDerivedOnLoadAndNeverStored) {
  const std::string file = Sjis(
      "[2011/03/15(火)]\r\n \r\n"
      "+〆,1234 見本電機,東証１部,4300,100,1050,0,428950,351050\r\n \r\n");
  LedgerTable rows = ParseDiaryMonth(file);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].cell(DiaryCol::Profit), "77,900");
  rows.setCell(1, DiaryCol::Profit, "999");
  EXPECT_EQ(SerialiseDiaryMonth(rows), file + "\r\n");
  // An empty cost leaves the profit of a closing trade empty.
  const LedgerRow noCost = ParseOneTrade(Sjis("+〆,1234 A,X,4300,100,,,430000,"));
  EXPECT_EQ(noCost.cell(DiaryCol::Cost), "");
  EXPECT_EQ(noCost.cell(DiaryCol::Profit), "");
  // Amounts far beyond 32 bits are derived without wrapping.
  const LedgerRow huge = ParseOneTrade("-\x81\x59,1,X,1,1,,,5000000000,1");
  EXPECT_EQ(huge.cell(DiaryCol::Profit), "-4,999,999,999");
}

TEST(DiaryFile, LinesThatDoNotFollowTheGrammarFallBack) {
  // Comments before any record are ignored; a record without its comment gets an empty one;
  // a second comment line stays on its row but is not written back.
  const std::string file = Sjis(
                               " lost comment\r\n"
                               "[2011/03/15(火)]\r\n"
                               "-買,1234 見本電機,東証１部,3500,100\r\n"  // too few fields: the rest is the cost
                               " first\r\n second\r\n"
                               "-買\r\n"                             // a token alone
                               "-株,4444 何か,X,1,2,3,4,5,6\r\n") +  // a token of no kind
                           "\x81\r\n";                               // a lone lead byte
  const LedgerTable rows = ParseDiaryMonth(file);
  // A token of no kind is read as the kind of the token it is written back
  // with (here "+建", 56), so that it keeps its place in its day.
  EXPECT_EQ(Keys(rows), (std::vector<std::string>{"2011/03/1500", "2011/03/1521,,,,", "2011/03/15211234",
                                                  "2011/03/1556,,,,", "2011/03/15564444", "2011/03/159"}));
  // The header had no comment line of its own.
  EXPECT_EQ(rows[0].cells.size(), DiaryCol::Count);
  EXPECT_EQ(rows[0].cell(DiaryCol::Comment), "");
  EXPECT_EQ(rows[0].cell(DiaryCol::Kind), "4");
  // The token alone: every field empty.
  EXPECT_EQ(Utf8Cells(rows[1].cells), (std::vector<std::string>{"", "買", "", "", "", "", "", "", "", "", "", ""}));
  EXPECT_EQ(Utf8Cells(rows[2].cells), (std::vector<std::string>{"", "買", "1234 見本電機", "東証１部", "3,500", "", "",
                                                                "", "", "100", "-100", "first", "second"}));
  EXPECT_EQ(Utf8Cells(rows[3].cells), (std::vector<std::string>{"", "売建", "", "", "", "", "", "", "", "", "", ""}));
  EXPECT_EQ(Utf8Cells(rows[4].cells),
            (std::vector<std::string>{"", "売建", "4444 何か", "X", "1", "2", "3", "4", "5", "6", "1", ""}));

  const std::string saved = Utf8(SerialiseDiaryMonth(rows));
  EXPECT_EQ(saved,
            "[2011/03/15(火)]\r\n \r\n"
            "-買,,,,,,,,\r\n \r\n"
            "-買,1234 見本電機,東証１部,3500,,,,,100\r\n first\r\n"
            "+建,,,,,,,,\r\n \r\n"
            "+建,4444 何か,X,1,2,3,4,5,6\r\n \r\n"
            "\r\n");
}

TEST(DiaryFile, ARowOfNoKindWhoseStockLooksLikeAKindIsReadAsTheKindItIsWrittenAs) {
  const std::string file = Sjis("[2011/03/15(火)]\r\n \r\n-株,0123 X,X,1,1,,,500,7\r\n \r\n");
  const LedgerTable rows = ParseDiaryMonth(file);
  ASSERT_EQ(rows.size(), 3u);
  // The bytes "01" at the kind's place give the token "-保": a registration
  // of a bought holding, not a day header.
  EXPECT_EQ(Utf8(rows[1].key), "2011/03/15510123");
  EXPECT_EQ(Utf8(rows[1].cell(DiaryCol::Kind)), "買保");
  EXPECT_EQ(rows[1].cell(DiaryCol::Amount), "500");
  EXPECT_EQ(rows[1].cell(DiaryCol::Profit), "493");
  EXPECT_EQ(rows[0].cell(DiaryCol::Kind), "1");
  EXPECT_EQ(Utf8(SerialiseDiaryMonth(rows)), "[2011/03/15(火)]\r\n \r\n-保,0123 X,X,1,1,,,500,7\r\n \r\n\r\n");
}

TEST(DiaryFile, TradeLinesBeforeAnyHeaderAndUnreadableAmounts) {
  const LedgerTable rows = ParseDiaryMonth(
      Sjis("-買,1234 A,X,abc,1.5,,,12a,\r\n \r\n[2011/03/15(火)]\r\n \r\n+予,5678 B,X,1,1,,,1,\r\n \r\n"));
  ASSERT_EQ(rows.size(), 4u);
  // A line before any day keeps its kind and stays before the first day.
  EXPECT_EQ(rows[0].key, std::string(10, '\0') + "211234");
  EXPECT_EQ(rows[0].cell(DiaryCol::Price), "0");
  EXPECT_EQ(rows[0].cell(DiaryCol::Quantity), "15");
  EXPECT_EQ(rows[0].cell(DiaryCol::Charge), "");
  EXPECT_EQ(rows[0].cell(DiaryCol::Amount), "0");
  EXPECT_EQ(Utf8(SerialiseDiaryMonth(rows)),
            "-買,1234 A,X,0,15,,,0,\r\n \r\n\r\n[2011/03/15(火)]\r\n \r\n+予,5678 B,X,1,1,,,1,\r\n \r\n\r\n");
}

TEST(DiaryFile, BrokenFilesLoadWithoutCrashing) {
  const std::string fixture = Fixture("201103.txt");
  // Every cut of the fixture: short lines, cut characters, missing comment lines.
  for (std::size_t size = 0; size <= fixture.size(); ++size) {
    const LedgerTable rows = ParseDiaryMonth(std::string_view(fixture).substr(0, size));
    const std::string saved = SerialiseDiaryMonth(rows);
    (void)ParseDiaryMonth(saved);
    for (const LedgerRow& row : rows) {
      if (!IsDayEndKey(row.key)) {
        EXPECT_GE(row.cells.size(), DiaryCol::Count) << "cut at " << size;
      }
    }
  }
  // Random bytes and random bytes with many line breaks and structure characters.
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::string bytes = test::RandomBytes(4096, seed);
    for (std::size_t i = 0; i < bytes.size(); i += 7) bytes[i] = "[ \r\n,(-*"[(i / 7) % 8];
    LedgerTable rows = ParseDiaryMonth(bytes);
    RecomputeAllDays(rows);
    for (std::size_t i = 0; i < rows.size(); ++i) RecomputeDay(rows, i);
    (void)ParseDiaryMonth(SerialiseDiaryMonth(rows));
  }
  EXPECT_TRUE(ParseDiaryMonth("").empty());
  EXPECT_TRUE(ParseDiaryMonth("\r\n\n\r").empty());
  // Invalid CP932 bytes are kept as they are.
  const LedgerTable invalid = ParseDiaryMonth("[2011/03/15(\xFF\xFF)]\r\n \x80\xA0\xFD\r\n");
  ASSERT_EQ(invalid.size(), 2u);
  EXPECT_EQ(invalid[0].cell(DiaryCol::Date), "2011/03/15(\xFF\xFF)");
  EXPECT_EQ(invalid[0].cell(DiaryCol::Comment), "\x80\xA0\xFD");
}

// What a damaged file loads as is written back in a form that loads to the
// same rows again: a second save equals the first, so no save makes a file
// grow or change further.
std::string SavedAgain(std::string_view bytes) { return SerialiseDiaryMonth(ParseDiaryMonth(bytes)); }

::testing::AssertionResult ReachesFixedPoint(std::string_view bytes) {
  const std::string first = SavedAgain(bytes);
  const std::string second = SavedAgain(first);
  if (first == second) return ::testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < first.size() && at < second.size() && first[at] == second[at]) ++at;
  const std::size_t from = at > 80 ? at - 80 : 0;
  return ::testing::AssertionFailure() << "the second save differs at byte " << at << ":\nfirst  ["
                                       << Utf8(first.substr(from, 160)) << "]\nsecond ["
                                       << Utf8(second.substr(from, 160)) << "]";
}

TEST(DiaryFile, DamagedFilesReachAFixedPointAfterOneSave) {
  // Short and broken day headers: no phantom row, no growing bracket.
  for (const char* header : {"[20", "[", "[2011/03/1", "[2011/03/15]", "[2011/03/15(", "[2011/03/15(火)",
                             "[2011/03/15(火)] 1,050(", "[2011/03/15(火)] (abc)", "[2011/03/15(火)]X"}) {
    const std::string file = Sjis(std::string(header) + "\r\n \r\n-買,1234 A,X,1,2,,,3,\r\n \r\n");
    EXPECT_TRUE(ReachesFixedPoint(file)) << header;
    const LedgerTable rows = ParseDiaryMonth(file);
    ASSERT_EQ(rows.size(), 3u) << header;  // header, trade, end marker
    EXPECT_TRUE(IsDayEndKey(rows[2].key)) << header;
  }
  // The three bytes "[20" stay one day without rows, save after save.
  const std::string once = SavedAgain("[20");
  EXPECT_EQ(ParseDiaryMonth(once).size(), 2u);
  EXPECT_EQ(SavedAgain(once), once);

  const std::string fixture = Fixture("201103.txt");
  for (std::size_t size = 0; size <= fixture.size(); ++size) {
    EXPECT_TRUE(ReachesFixedPoint(std::string_view(fixture).substr(0, size))) << "cut at " << size;
  }
  // The fixture with bytes dropped, doubled or replaced by the characters
  // the grammar looks at, and random bytes laid out like lines.
  std::mt19937 engine(20261208);
  const std::string structure = "[]( ,-+*\r\n\x81";
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = fixture;
    const int edits = 1 + static_cast<int>(engine() % 6);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
      const std::size_t at = engine() % bytes.size();
      switch (engine() % 3) {
        case 0: bytes.erase(at, 1 + engine() % 20); break;
        case 1: bytes.insert(at, 1, structure[engine() % structure.size()]); break;
        default: bytes[at] = structure[engine() % structure.size()]; break;
      }
    }
    ASSERT_TRUE(ReachesFixedPoint(bytes)) << "round " << round;
  }
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::string bytes = test::RandomBytes(512, seed);
    for (std::size_t i = 0; i < bytes.size(); i += 5) bytes[i] = structure[(i / 5 + seed) % structure.size()];
    ASSERT_TRUE(ReachesFixedPoint(bytes)) << "seed " << seed;
  }
}

TEST(DiaryFile, EmptyAndRandomFilesLoadFromDisk) {
  TempFolder folder;
  test::WriteBytes(folder / "201103.txt", "");
  DiaryLoad load = LoadDiaryMonth(folder.path(), "2011/03");
  EXPECT_EQ(load.status, ReadStatus::Loaded);
  EXPECT_TRUE(load.rows.empty());
  test::WriteBytes(folder / "201103.txt", test::RandomBytes(100000, 7));
  load = LoadDiaryMonth(folder.path(), "2011/03");
  EXPECT_EQ(load.status, ReadStatus::Loaded);
}

TEST(DiaryFile, BooksLoadAndSaveTheShownMonth) {
  TempFolder folder;
  test::WriteBytes(folder / "201103.txt", Fixture("201103.txt"));
  Books books;
  books.folder = folder.path();
  ASSERT_FALSE(LoadDiaryInto(books, "2011/03").has_value());
  EXPECT_EQ(books.monthKey, "2011/03");
  EXPECT_EQ(books.diary.size(), 28u);

  // A month without a file shows empty.
  ASSERT_FALSE(LoadDiaryInto(books, "2011/04").has_value());
  EXPECT_EQ(books.monthKey, "2011/04");
  EXPECT_TRUE(books.diary.empty());

  // A file that cannot be read is reported and the shown month stays.
  ASSERT_FALSE(LoadDiaryInto(books, "2011/03").has_value());
  std::filesystem::create_directory(folder / "201105.txt");
  EXPECT_TRUE(LoadDiaryInto(books, "2011/05").has_value());
  EXPECT_EQ(books.monthKey, "2011/03");
  EXPECT_EQ(books.diary.size(), 28u);

  // A failed save keeps the flag; a good one clears it.
  books.unsaved.diary = true;
  books.folder = folder / "missing";
  EXPECT_TRUE(SaveDiary(books).has_value());
  EXPECT_TRUE(books.unsaved.diary);
  books.folder = folder.path();
  EXPECT_FALSE(SaveLedger(books, Ledger::Diary).has_value());
  EXPECT_FALSE(books.unsaved.diary);
  EXPECT_EQ(test::ReadBytes(folder / "201103.txt"), Fixture("201103.txt"));
}

}  // namespace
}  // namespace tomvik::core
