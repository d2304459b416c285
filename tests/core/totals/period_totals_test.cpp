// Period totals summed from diary month files: which lines count, how days
// and months are cut, the running total across months, the stock filter,
// and where the reading stops on a broken header.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/books.h"
#include "core/diary/recording.h"
#include "core/records/diary_file.h"
#include "core/test_support.h"
#include "core/totals/period_totals.h"

namespace tomvik::core::test {
namespace {

// A month file from UTF-8 lines, written with CR LF as the diary writes it.
void WriteMonth(const TempFolder& folder, std::string_view name, std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) text += Sjis(line) + "\r\n";
  WriteBytes(folder / name, text);
}

struct Expected {
  std::string label;  // UTF-8
  Amount result;
  Amount cash;
  Amount running;
};

void ExpectRows(const PeriodTotals& totals, const std::vector<Expected>& expected) {
  ASSERT_EQ(totals.rows.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const TotalsRow& row = totals.rows[i];
    EXPECT_EQ(Utf8(row.label), expected[i].label) << i;
    EXPECT_EQ(row.figures.result, expected[i].result) << i;
    EXPECT_EQ(row.figures.cash, expected[i].cash) << i;
    EXPECT_EQ(row.figures.balance(), expected[i].result + expected[i].cash) << i;
    EXPECT_EQ(row.running, expected[i].running) << i;
  }
}

TotalsQuery Query(Date from, Date to, TotalsPeriod period = TotalsPeriod::Daily, std::string code = "0000") {
  return TotalsQuery{from, to, period, std::move(code)};
}

class PeriodTotalsTest : public ::testing::Test {
 protected:
  PeriodTotals Compute(const TotalsQuery& query) { return ComputePeriodTotals(folder.path(), query); }
  TempFolder folder;
};

// One month with every kind of line. A closing sell of 1,050,000 against a
// cost of 1,000,000 (charge 1,000) on the 15th.
void WriteMarch(const TempFolder& folder) {
  WriteMonth(folder, "201103.txt",
             {"[2011/03/14(月)]",
              " 予定と登録だけの日",
              "-予,1234 見本電機,東証１部,1000,100,,,100000,",
              " ",
              "-保,1234 見本電機,東証１部,1000,100,,,100000,",
              " ",
              "+建,5678 例示化学,東証１部,500,100,,,50000,",
              " ",
              "",
              "[2011/03/15(火)] 500",
              " 入金と決済",
              "*入,,,,,,,100000,",
              " ",
              "+〆,1234 見本電機,東証１部,10510,100,1000,0,1050000,1000000",
              " 利食い",
              "-買,5678 例示化学,東証１部,500,1000,700,0,500700,",
              " ",
              "",
              "[2011/03/16(水)]",
              " 出金と返済",
              "*出,,,,,105,0,10000,",
              " ",
              "-返2011/03/01001,5678 例示化学,東証１部,480,100,300,10,48310,50000",
              " ",
              "+現2011/03/02001,1234 見本電機,東証１部,1100,100,200,0,110000,105000",
              " ",
              "-現2011/03/02002,5678 例示化学,東証１部,490,100,400,0,49400,",
              " ",
              "",
              "[2011/03/17(木)] 1,050(002)",
              " 定額手数料だけの日",
              ""});
}

TEST_F(PeriodTotalsTest, DailyRowsCountEachKindOfLineAndSkipDaysWithoutEffect) {
  WriteMarch(folder);
  const PeriodTotals totals = Compute(Query({2011, 3, 1}, {2011, 3, 31}));
  // The 14th holds only a plan and registrations: not listed. The 15th: the
  // deposit of 100,000 less the day charge of 500, and the sell's 50,000.
  // The 16th: a withdrawal of 10,105, a buy-back of 50,000 - 48,310, a
  // delivery given of 110,000 - 105,000; the delivery taken counts nothing.
  // The 17th: only its flat charge.
  ExpectRows(totals, {{"2011/03/15(火)", 50'000, 99'500, 149'500},
                      {"2011/03/16(水)", 6'690, -10'105, 146'085},
                      {"2011/03/17(木)", 0, -1'050, 145'035}});
  ASSERT_EQ(totals.days.size(), 3u);
  EXPECT_EQ(totals.days[0].dayNumber, 20110315);
  EXPECT_EQ(totals.rows[2].dayNumber, 20110317);
  EXPECT_FALSE(totals.stop);

  const LedgerTable table = TotalsTable(totals.rows);
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(Utf8Cells(table[0].cells),
            (std::vector<std::string>{"2011/03/15(火)", "50,000", "99,500", "149,500", "", "149,500"}));
  EXPECT_EQ(table[1].cell(TotalsCol::Balance), "-3,415");
  EXPECT_EQ(table[2].cell(TotalsCol::Running), "145,035");
}

TEST_F(PeriodTotalsTest, AChosenStockCountsItsResultsAndItsChargesOnly) {
  WriteMarch(folder);
  // The closing sell of 1234 with charge 1,000 and tax 0; the deposit and the
  // day charge do not belong to the stock.
  ExpectRows(Compute(Query({2011, 3, 15}, {2011, 3, 15}, TotalsPeriod::Daily, "1234")),
             {{"2011/03/15(火)", 50'000, 1'000, 51'000}});
  // 5678: the buy's charge on the 15th; on the 16th the buy-back's result
  // with its charge and tax, and the delivery taken's charge.
  ExpectRows(Compute(Query({2011, 3, 1}, {2011, 3, 31}, TotalsPeriod::Daily, "5678")),
             {{"2011/03/15(火)", 0, 700, 700}, {"2011/03/16(水)", 1'690, 710, 3'100}});
  EXPECT_TRUE(Compute(Query({2011, 3, 1}, {2011, 3, 31}, TotalsPeriod::Daily, "9999")).rows.empty());
}

TEST_F(PeriodTotalsTest, APeriodAcrossTheYearEndReadsBothMonthsFromAndUpToItsDays) {
  WriteMonth(folder, "201112.txt",
             {"[2011/12/19(月)]", " ", "*入,,,,,,,1000,", " ", "", "[2011/12/20(火)]", " ", "*入,,,,,,,2000,", " ", "",
              "[2011/12/30(金)]", " ", "*出,,,,,,,500,", " "});
  WriteMonth(folder, "201201.txt",
             {"[2012/01/10(火)]", " ", "*入,,,,,,,40000,", " ", "", "[2012/01/11(水)]", " ", "*入,,,,,,,80000,", " "});
  ExpectRows(
      Compute(Query({2011, 12, 20}, {2012, 1, 10})),
      {{"2011/12/20(火)", 0, 2'000, 2'000}, {"2011/12/30(金)", 0, -500, 1'500}, {"2012/01/10(火)", 0, 40'000, 41'500}});
  // A month between them without a file contributes nothing.
  ExpectRows(Compute(Query({2011, 11, 1}, {2012, 2, 29}, TotalsPeriod::Monthly)),
             {{"2011/12/01～31", 0, 2'500, 2'500}, {"2012/01/01～31", 0, 120'000, 122'500}});
  // A start after the end lists nothing.
  EXPECT_TRUE(Compute(Query({2012, 1, 11}, {2012, 1, 10})).rows.empty());
}

TEST_F(PeriodTotalsTest, MonthlyRowsNameTheWholeMonthButCountOnlyThePeriodsDays) {
  WriteMonth(folder, "201103.txt",
             {"[2011/03/14(月)]", " ", "*入,,,,,,,1000,", " ", "", "[2011/03/15(火)]", " ",
              "+〆,1234 見本電機,東証１部,10510,100,1000,0,1050000,1000000", " ", "", "[2011/03/31(木)] 500", " "});
  WriteMonth(folder, "201104.txt", {"[2011/04/01(金)]", " ", "*出,,,,,,,300,", " "});
  WriteMonth(folder, "201105.txt", {"[2011/05/02(月)]", " ", "-予,1234 見本電機,東証１部,1000,100,,,100000,", " "});
  const PeriodTotals totals = Compute(Query({2011, 3, 15}, {2011, 5, 31}, TotalsPeriod::Monthly));
  // May has only a plan: no row.
  ExpectRows(totals, {{"2011/03/01～31", 50'000, -500, 49'500}, {"2011/04/01～30", 0, -300, 49'200}});
  EXPECT_EQ(totals.rows[0].dayNumber, 20110301);
  // The days behind the months are there for the calendar.
  ASSERT_EQ(totals.days.size(), 3u);
  EXPECT_EQ(totals.days[1].dayNumber, 20110331);
  EXPECT_EQ(totals.days[1].figures.cash, -500);
}

TEST_F(PeriodTotalsTest, AHeaderDateThatIsNotANumberStopsButKeepsWhatWasListed) {
  WriteMonth(folder, "201103.txt",
             {"[2011/03/15(火)]", " ", "*入,,,,,,,1000,", " ", "", "[2011/03/16(水)]", " ", "*入,,,,,,,2000,", " ", "",
              "[2011/O3/17(木)]", " ", "*入,,,,,,,4000,", " "});
  WriteMonth(folder, "201104.txt", {"[2011/04/01(金)]", " ", "*入,,,,,,,8000,", " "});
  const PeriodTotals daily = Compute(Query({2011, 3, 1}, {2011, 4, 30}));
  // The 16th was complete when the broken header came.
  ExpectRows(daily, {{"2011/03/15(火)", 0, 1'000, 1'000}, {"2011/03/16(水)", 0, 2'000, 3'000}});
  ASSERT_TRUE(daily.stop);
  EXPECT_EQ(daily.stop->fileName, "201103.txt");
  EXPECT_EQ(daily.stop->line, 11u);
  EXPECT_EQ(Utf8(daily.stop->text), "[2011/O3/17(木)]");
  // A month cut short is not passed off as the whole month.
  const PeriodTotals monthly = Compute(Query({2011, 3, 1}, {2011, 4, 30}, TotalsPeriod::Monthly));
  EXPECT_TRUE(monthly.rows.empty());
  EXPECT_TRUE(monthly.stop);
  // Before the period's start the broken header stops all the same.
  EXPECT_TRUE(Compute(Query({2011, 3, 20}, {2011, 4, 30})).stop);
}

TEST_F(PeriodTotalsTest, AMonthFileThatCannotBeReadStopsTheTotals) {
  WriteMonth(folder, "201103.txt", {"[2011/03/15(火)]", " ", "*入,,,,,,,1000,", " "});
  std::filesystem::create_directory(folder / "201104.txt");
  const PeriodTotals totals = Compute(Query({2011, 3, 1}, {2011, 5, 31}));
  ExpectRows(totals, {{"2011/03/15(火)", 0, 1'000, 1'000}});
  ASSERT_TRUE(totals.stop);
  EXPECT_EQ(totals.stop->fileName, "201104.txt");
  EXPECT_EQ(totals.stop->line, 0u);
  EXPECT_FALSE(totals.stop->text.empty());
}

TEST_F(PeriodTotalsTest, ShortLinesStrayBytesAndLoneLineBreaksCountAsFarAsTheyGo) {
  std::string text = Sjis("[2011/03/15(火)] abc(001)\r *入\n-買,1234\r\n+〆,1234 見本電機,東証１部,1000,100\r\n");
  text += Sjis("*出,,,,,1,2,3,\r\n+〆,1234 見本電機,東証１部,1,1,0,0,9223372036854775807,-9223372036854775807\r\n");
  WriteBytes(folder / "201103.txt", text);
  // An unreadable day charge counts 0, and the comment after a lone CR is a
  // comment. The short buy counts nothing; of the short closing line the
  // rest is its cost, as the diary reads it (-100). The withdrawal is
  // 1 + 2 + 3; the last result saturates instead of wrapping.
  ExpectRows(Compute(Query({2011, 3, 1}, {2011, 3, 31})), {{"2011/03/15(火)", INT64_MAX - 100, -6, INT64_MAX - 106}});
}

TEST_F(PeriodTotalsTest, DaySumsOfAMonthTheProgramWroteAreItsDailyBalances) {
  Books books;
  books.folder = folder.path();
  int counter = 0;
  auto note = [&](const char* date, std::string charge) {
    DiaryEntry e;
    e.date = date;
    e.chargeText = std::move(charge);
    e.chargeEnabled = !e.chargeText.empty();
    ASSERT_TRUE(AddDiaryRow(books, e, counter));
  };
  auto trade = [&](const char* date, bool buy, std::string price, std::string quantity, std::string amount) {
    DiaryEntry e;
    e.mode = DiaryEntry::Mode::Trade;
    e.date = date;
    e.buy = buy;
    e.code = "1234";
    e.name = Sjis("見本電機");
    e.unitText = "100";
    e.priceText = std::move(price);
    e.quantityText = std::move(quantity);
    e.amountText = std::move(amount);
    e.chargeEnabled = true;
    e.chargeText = "500";
    ASSERT_TRUE(AddDiaryRow(books, e, counter));
  };
  auto cash = [&](const char* date, bool deposit, std::string amount) {
    DiaryEntry e;
    e.mode = DiaryEntry::Mode::CashMovement;
    e.date = date;
    e.deposit = deposit;
    e.inOutText = amount;
    e.amountText = deposit ? amount : "-" + amount;
    ASSERT_TRUE(AddDiaryRow(books, e, counter));
  };
  books.monthKey = "2011/03";
  note("2011/03/01", "");
  cash("2011/03/01", true, "1000000");
  trade("2011/03/01", true, "1000", "300", "300500");
  note("2011/03/02", "1050");
  trade("2011/03/02", false, "1100", "100", "109500");
  cash("2011/03/02", false, "20000");
  note("2011/03/03", "");
  trade("2011/03/03", false, "900", "200", "179500");
  note("2011/03/04", "");
  ASSERT_FALSE(SaveDiary(books));

  const PeriodTotals totals = Compute(Query({2011, 3, 1}, {2011, 3, 31}));
  std::vector<std::pair<std::string, std::string>> fromDiary;
  for (const LedgerRow& row : books.diary) {
    if (IsDayHeaderKey(row.key) && !row.cell(DiaryCol::Profit).empty())
      fromDiary.emplace_back(row.cell(DiaryCol::Date), row.cell(DiaryCol::Profit));
  }
  std::vector<std::pair<std::string, std::string>> fromTotals;
  for (const TotalsRow& row : totals.rows) fromTotals.emplace_back(row.label, FormatAmount(row.figures.balance()));
  EXPECT_EQ(fromTotals, fromDiary);
  EXPECT_EQ(fromTotals.size(), 3u);
  EXPECT_EQ(FormatAmount(totals.rows.back().running), books.figures.realised);
}

TEST(PeriodDates, PresetsCountBackFromTheEndDate) {
  // 2011/03/20 is a Sunday, 2011/03/14 a Monday, 2011/03/02 a Wednesday.
  EXPECT_EQ(PresetStart({2011, 3, 20}, TotalsPreset::Week), (Date{2011, 3, 14}));
  EXPECT_EQ(PresetStart({2011, 3, 14}, TotalsPreset::Week), (Date{2011, 3, 14}));
  EXPECT_EQ(PresetStart({2011, 3, 2}, TotalsPreset::Week), (Date{2011, 2, 28}));
  EXPECT_EQ(PresetStart({2012, 1, 1}, TotalsPreset::Week), (Date{2011, 12, 26}));
  EXPECT_EQ(PresetStart({2011, 3, 20}, TotalsPreset::Month), (Date{2011, 3, 1}));
  EXPECT_EQ(PresetStart({2011, 3, 20}, TotalsPreset::Year), (Date{2011, 1, 1}));
  EXPECT_EQ(WholeMonths({2012, 2, 15}, {2012, 2, 15}), (std::pair<Date, Date>{{2012, 2, 1}, {2012, 2, 29}}));
  EXPECT_EQ(WholeMonths({2011, 3, 15}, {2011, 4, 3}), (std::pair<Date, Date>{{2011, 3, 1}, {2011, 4, 30}}));
  EXPECT_EQ(AddDays({2000, 2, 28}, 1), (Date{2000, 2, 29}));
  EXPECT_EQ(AddDays({1900, 2, 28}, 1), (Date{1900, 3, 1}));
  EXPECT_EQ(AddDays({2011, 1, 1}, -1), (Date{2010, 12, 31}));
}

}  // namespace
}  // namespace tomvik::core::test
