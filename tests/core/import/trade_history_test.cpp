// Reading each broker's trade history file, in each variant, into the
// trades it holds and the lines it does not.
#include "core/import/trade_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/import/csv_fields.h"
#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::Sjis;
using test::Utf8;

std::string ImportFixture(const char* name) {
  std::string bytes = test::ReadBytes(std::filesystem::path(TOMVIK_TEST_DATA_DIR) / "import" / name);
  EXPECT_FALSE(bytes.empty()) << name;
  return bytes;
}

const char* ActionName(TradeAction action) {
  switch (action) {
    case TradeAction::CashBuy: return "現物買";
    case TradeAction::CashSell: return "現物売";
    case TradeAction::MarginBuy: return "新規買";
    case TradeAction::MarginSell: return "新規売";
    case TradeAction::RepaySell: return "返済売";
    case TradeAction::RepayBuy: return "返済買";
    case TradeAction::DeliveryTake: return "現引";
    case TradeAction::DeliveryGive: return "現渡";
  }
  return "?";
}

// One line per trade: line, date, kind, code, name, market, quantity, price
// (scaled), charge, tax, then the broker's amount (a) or result (r) and
// the position named (建), each only when there is one.
std::string Describe(const ImportedTrade& t) {
  std::string s = std::to_string(t.line) + " " + t.date + " " + ActionName(t.action) + " " + t.code + " " +
                  Utf8(t.name) + " " + Utf8(t.market) + " " + std::to_string(t.quantity) + " @" +
                  std::to_string(t.price) + " c" + std::to_string(t.charge) + " t" + std::to_string(t.tax);
  if (t.brokerAmount) s += " a" + std::to_string(*t.brokerAmount);
  if (t.brokerResult) s += " r" + std::to_string(*t.brokerResult);
  if (!t.openDate.empty()) s += " 建" + t.openDate;
  if (t.openPrice) s += " @" + std::to_string(*t.openPrice);
  if (t.textReplaced) s += " 文字化け";
  return s;
}

std::vector<std::string> Described(const TradeHistory& history) {
  std::vector<std::string> out;
  for (const ImportedTrade& t : history.trades) out.push_back(Describe(t));
  return out;
}

std::vector<std::string> SkippedOf(const TradeHistory& history) {
  std::vector<std::string> out;
  for (const SkippedLine& s : history.skipped) {
    out.push_back(std::to_string(s.line) + " " + std::to_string(static_cast<int>(s.problem)) + " " + Utf8(s.detail));
  }
  return out;
}

std::string NotATrade(std::size_t line, const char* detail) {
  return std::to_string(line) + " " + std::to_string(static_cast<int>(LineProblem::NotATrade)) + " " + detail;
}
std::string Damaged(std::size_t line) {
  return std::to_string(line) + " " + std::to_string(static_cast<int>(LineProblem::Damaged)) + " ";
}

TEST(TradeHistory, SbiOlderDownloadInCp932NewestFirst) {
  const TradeHistory history = ReadTradeHistory(ImportFixture("sbi_cp932.csv"));
  ASSERT_EQ(history.broker, Broker::Sbi);
  EXPECT_FALSE(history.utf8);
  EXPECT_EQ(history.headerLine, 5u);
  // Read backwards into date order: the day's buy before its new position.
  EXPECT_EQ(Described(history), (std::vector<std::string>{
                                    "18 2025/05/12 現物買 1234 見本電機 東証 100 @16668000 c0 t0 a166680",
                                    "17 2025/05/12 新規買 9984 ソフトバンク 東証 200 @80000000 c0 t0",
                                    "16 2025/05/13 現物売 1234 見本電機 東証 50 @17000000 c0 t0 a85000",
                                    "15 2025/05/14 返済売 9984 ソフトバンク 東証 100 @82000000 c0 t0 r19880",
                                    "13 2025/05/15 新規売 5678 東京商事 東証 1000 @5000000 c0 t0",
                                    "12 2025/05/16 返済買 5678 東京商事 東証 1000 @4800000 c0 t0 r19960",
                                    "11 2025/05/19 現引 9984 ソフトバンク 東証 100 @80000000 c0 t0 a800150",
                                    "10 2025/05/20 新規売 4321 見本化学 東証 500 @12000000 c0 t0",
                                    "9 2025/05/21 現物買 4321 見本化学 東証 500 @11500000 c0 t0 a575000",
                                    "8 2025/05/22 現渡 4321 見本化学 東証 500 @12000000 c0 t0 a599800",
                                    "6 2025/05/26 現物買 6789 ㈱髙見沢①電機 東証 100 @23450000 c0 t0 a234500",
                                }));
  EXPECT_EQ(SkippedOf(history), (std::vector<std::string>{Damaged(7), NotATrade(14, "投信金額買付")}));
  // The name keeps its CP932 bytes, the special characters too.
  EXPECT_EQ(history.trades.back().name, Sjis("㈱髙見沢①電機"));
}

TEST(TradeHistory, SbiNewerDownloadInUtf8WithByteOrderMark) {
  const TradeHistory history = ReadTradeHistory(ImportFixture("sbi_utf8.csv"));
  ASSERT_EQ(history.broker, Broker::Sbi);
  EXPECT_TRUE(history.utf8);
  EXPECT_EQ(history.headerLine, 4u);
  EXPECT_EQ(Described(history), (std::vector<std::string>{
                                    "5 2025/04/30 現物買 1234 見本電機 東証 100 @16500000 c0 t0 a165000",
                                    "6 2025/05/01 新規買 1234 見本電機 東証 100 @17005000 c0 t0",
                                    "8 2025/05/02 返済売 1234 見本電機 東証 100 @17205000 c0 t0 r2000",
                                    "10 2025/05/08 現物売 1234 見本電機 東証 100 @17000000 c0 t0 a170000",
                                }));
  EXPECT_EQ(SkippedOf(history), (std::vector<std::string>{NotATrade(7, "MRF買付"), Damaged(9)}));
}

TEST(TradeHistory, RakutenQuotedWithPositionsNamed) {
  const TradeHistory history = ReadTradeHistory(ImportFixture("tradehistory(JP)_20250516.csv"));
  ASSERT_EQ(history.broker, Broker::Rakuten);
  EXPECT_EQ(history.headerLine, 1u);
  EXPECT_EQ(Described(history),
            (std::vector<std::string>{
                "2 2025/05/07 現物買 1234 見本電機 東証 200 @16505000 c0 t0 a330100",
                "3 2025/05/08 新規買 5678 東京商事 東証 1000 @5000000 c0 t0",
                "4 2025/05/09 新規買 5678 東京商事 東証 1000 @5100000 c0 t0",
                // 諸費用 counts as charge.
                "5 2025/05/12 返済売 5678 東京商事 東証 1000 @5200000 c11 t0 r9850 建2025/05/09 @5100000",
                "6 2025/05/13 現引 5678 東京商事 東証 1000 @5000000 c0 t0 a500300 建2025/05/08 @5000000",
                "8 2025/05/15 現物売 1234 見本電機 東証 100 @17000000 c0 t0 a170000",
                "10 2025/05/16 新規売 9984 ソフトバンク 東証 100 @80000000 c0 t0",
            }));
  EXPECT_EQ(SkippedOf(history), (std::vector<std::string>{NotATrade(7, "入庫 -"), Damaged(9)}));
}

TEST(TradeHistory, MonexWithPaddedCodes) {
  const TradeHistory history = ReadTradeHistory(ImportFixture("monex.csv"));
  ASSERT_EQ(history.broker, Broker::Monex);
  EXPECT_EQ(history.headerLine, 2u);
  EXPECT_EQ(Described(history),
            (std::vector<std::string>{
                "3 2025/05/07 現物買 1234 見本電機  100 @16500000 c99 t9 a165108",
                "4 2025/05/08 新規売 9984 ソフトバンク  100 @80000000 c0 t0",
                "5 2025/05/09 返済買 9984 ソフトバンク  100 @79000000 c0 t0 r9950 建2025/05/08 @80000000",
                "6 2025/05/12 新規買 4321 見本化学  500 @10000000 c0 t0",
                "7 2025/05/13 現引 4321 見本化学  500 @10000000 c0 t0 a500050 建2025/05/12 @10000000",
                "8 2025/05/14 現物売 1234 見本電機  100 @17000000 c99 t9 a169892",
            }));
  EXPECT_EQ(SkippedOf(history), (std::vector<std::string>{NotATrade(9, "投資信託 買付"), Damaged(10)}));
}

TEST(TradeHistory, CaptionVariantsHalfWidthAndMiddleDots) {
  // The same SBI header with half-width brackets gone astray, a full-width
  // slash and a middle dot; an unquoted decimal price and a bad field of
  // each kind below it.
  const std::string file = Sjis(
      "約定日,銘柄,銘柄コード,市場,取引,期限,預り,課税,約定数量,約定単価,手数料・諸経費等,税額,受渡日,"
      "受渡金額／決済損益\r\n"
      "2025/5/1,見本電機,1234,東証,株式現物買,--,特定,--,100,798.3,0,0,2025/5/7,79830\r\n"
      "2025/13/1,見本電機,1234,東証,株式現物買,--,特定,--,100,798,0,0,,79800\r\n"
      "2025/5/1,見本電機,12,東証,株式現物買,--,特定,--,100,798,0,0,,79800\r\n"
      "2025/5/1,見本電機,1234,東証,株式現物買,--,特定,--,0,798,0,0,,0\r\n"
      "2025/5/1,見本電機,1234,東証,株式現物買,--,特定,--,100,--,0,0,,79800\r\n"
      "2025/5/1,見本電機,1234,東証,株式現物買,--,特定,--,100,798,ten,0,,79800\r\n");
  const TradeHistory history = ReadTradeHistory(file);
  ASSERT_EQ(history.broker, Broker::Sbi);
  EXPECT_EQ(Described(history),
            (std::vector<std::string>{"2 2025/05/01 現物買 1234 見本電機 東証 100 @7983000 c0 t0 a79830"}));
  std::vector<LineProblem> problems;
  for (const SkippedLine& s : history.skipped) problems.push_back(s.problem);
  EXPECT_EQ(problems, (std::vector<LineProblem>{LineProblem::BadDate, LineProblem::BadCode, LineProblem::BadQuantity,
                                                LineProblem::BadPrice, LineProblem::BadNumber}));
  EXPECT_EQ(Utf8(history.skipped[0].text).substr(0, 9), "2025/13/1");
}

TEST(TradeHistory, UndecodableBytesMakeADoubtfulTradeNotALostOne) {
  std::string file = Sjis(
      "約定日,銘柄,銘柄コード,市場,取引,期限,預り,課税,約定数量,約定単価,手数料/諸経費等,税額,受渡日,受渡金額\r\n");
  file += "2025/05/01,\x85\x40" + Sjis("電機") + ",1234,," + Sjis("株式現物買") + ",,,,100,500,0,0,,50000\r\n";
  const TradeHistory history = ReadTradeHistory(file);
  ASSERT_EQ(history.trades.size(), 1u);
  EXPECT_TRUE(history.trades[0].textReplaced);
  EXPECT_EQ(history.trades[0].quantity, 100);
}

TEST(TradeHistory, AFileWithoutAKnownHeaderHasNoBroker) {
  const TradeHistory history = ReadTradeHistory(Sjis("日付,内容\r\n2025/05/01,入金\r\n"));
  EXPECT_FALSE(history.broker);
  EXPECT_TRUE(history.trades.empty());
  EXPECT_FALSE(ReadTradeHistory(test::RandomBytes(4096, 17)).broker);
}

TEST(CsvFields, NumbersAsBrokersWriteThem) {
  EXPECT_EQ(ReadNumber("\"1,666.8\"", 4).state, NumberField::State::Unreadable);  // quotes go with the split
  EXPECT_EQ(ReadNumber("1,666.8", 4).value, 16668000);
  EXPECT_EQ(ReadNumber(" 1666 ", 0).value, 1666);
  EXPECT_EQ(ReadNumber("-1,234", 0).value, -1234);
  EXPECT_EQ(ReadNumber("▲1,234", 0).value, -1234);
  EXPECT_EQ(ReadNumber("１，２３４", 0).value, 1234);
  EXPECT_TRUE(ReadNumber("--", 0).empty());
  EXPECT_TRUE(ReadNumber("-", 0).empty());
  EXPECT_TRUE(ReadNumber("", 0).empty());
  EXPECT_EQ(ReadNumber("12.3456789", 4).value, 123457);
  EXPECT_TRUE(ReadNumber("12.3456789", 4).lostDecimals);
  EXPECT_EQ(ReadNumber("1.000007", 4).value, 10000);
  for (const char* bad : {"1,,2", ",1", "1.", "1e3", "12a", "99999999999999999999999"}) {
    EXPECT_EQ(ReadNumber(bad, 0).state, NumberField::State::Unreadable) << bad;
  }
}

TEST(CsvFields, RecordsDatesAndCaptions) {
  EXPECT_EQ(*SplitCsvRecord("a,\"b,c\",\"d\"\"e\",,f"), (std::vector<std::string>{"a", "b,c", "d\"e", "", "f"}));
  EXPECT_FALSE(SplitCsvRecord("a,\"b"));
  EXPECT_EQ(ReadDate("2025/5/6"), "2025/05/06");
  EXPECT_EQ(ReadDate("2025-05-06"), "2025/05/06");
  EXPECT_FALSE(ReadDate("2025/02/30"));
  EXPECT_FALSE(ReadDate("25/05/06"));
  EXPECT_EQ(CaptionBase("数量［株］"), "数量");
  EXPECT_EQ(CaptionBase("数量（株/口）/返済数量"), "数量/返済数量");
  EXPECT_EQ(CaptionBase("手数料・諸経費等"), "手数料/諸経費等");
  EXPECT_EQ(CaptionBase(" 金利（支払）〔円〕"), "金利");
}

}  // namespace
}  // namespace tomvik::core
