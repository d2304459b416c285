// Booking imported trades: the kinds the diary's rules choose, positions
// closed by the day the file names or oldest first, refusals that leave
// everything as it was, trades found again in the diary, the preview that
// changes nothing, and a month that cannot be read stopping the booking
// with what came before saved.
#include "core/import/trade_booking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/diary/trade_kinds.h"
#include "core/holdings/account_summary.h"
#include "core/records/diary_file.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"
#include "core/test_support.h"

namespace tomvik::core {
namespace {

using test::Sjis;
using test::Utf8;

class TradeBooking : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(test::DataPath("Code.txt"), folder_ / "Code.txt");
    books_.folder = folder_.path();
    books_.monthKey = "2025/05";
  }

  // The ledgers as the program starts with them.
  void load() {
    ASSERT_FALSE(LoadDiaryInto(books_, books_.monthKey));
    ASSERT_FALSE(LoadHoldingsInto(books_));
    ASSERT_FALSE(LoadPositionsInto(books_));
    ASSERT_FALSE(LoadStocksInto(books_));
    RecomputeSummary(books_);
  }

  std::vector<ImportedTrade> fixture(const char* name) {
    const std::string bytes = test::ReadBytes(std::filesystem::path(TOMVIK_TEST_DATA_DIR) / "import" / name);
    return ReadTradeHistory(bytes).trades;
  }

  ImportRun book(const std::vector<ImportedTrade>& trades, std::vector<bool> ticked = {}) {
    if (ticked.empty()) ticked.assign(trades.size(), true);
    ImportSources sources(folder_.path());
    return BookImport(books_, trades, ticked, sources, options_);
  }

  static std::vector<std::string> KindsOf(const ImportRun& run) {
    std::vector<std::string> out;
    for (const TradeOutcome& o : run.outcomes) {
      std::string kinds;
      for (const std::string& k : o.kinds) kinds += (kinds.empty() ? "" : "+") + k;
      out.push_back(o.status == TradeStatus::Booked ? kinds : "-");
    }
    return out;
  }

  // "code shares total" of every holding or position.
  static std::vector<std::string> Figures(const LedgerTable& table, std::size_t total, std::size_t shares) {
    std::vector<std::string> out;
    for (const LedgerRow& row : table) out.push_back(row.key + " " + row.cell(shares) + " " + row.cell(total));
    return out;
  }

  test::TempFolder folder_;
  Books books_;
  BookingOptions options_{[](const ImportedTrade& t) { return "import:" + std::to_string(t.line); }, {}};
};

ImportedTrade Trade(TradeAction action, const char* date, const char* code, Amount quantity, Amount price,
                    Amount charge = 0) {
  ImportedTrade t;
  t.line = 1;
  t.action = action;
  t.date = date;
  t.code = code;
  t.name = Sjis("新規銘柄");
  t.quantity = quantity;
  t.price = price * kPriceScale;
  t.charge = charge;
  return t;
}

TEST_F(TradeBooking, AMonthOfSbiTradesBooksEveryKind) {
  load();
  const ImportRun run = book(fixture("sbi_cp932.csv"));
  EXPECT_EQ(KindsOf(run), (std::vector<std::string>{"21", "25", "32", "36", "26", "35", "27", "26", "21", "38", "21"}));
  EXPECT_EQ(run.booked, 11u);
  EXPECT_EQ(run.rows, 11u);
  EXPECT_FALSE(run.failure);
  EXPECT_EQ(run.lastBookedDate, "2025/05/26");

  // Amounts: the broker's for cash trades (798.3-style prices are kept);
  // the program's own for settlements, with a notice where they differ.
  EXPECT_EQ(run.outcomes[0].amount, 166680);
  EXPECT_EQ(run.outcomes[2].result, 85000 - 83340);
  EXPECT_EQ(run.outcomes[3].result, 20000);
  ASSERT_EQ(run.outcomes[3].notices.size(), 1u);
  EXPECT_EQ(run.outcomes[3].notices[0].kind, NoticeKind::ResultDiffers);
  EXPECT_EQ(run.outcomes[3].notices[0].broker, 19880);
  EXPECT_EQ(run.outcomes[6].amount, 800000);  // 現引 at the position's cost
  EXPECT_EQ(run.outcomes[6].notices[0].kind, NoticeKind::AmountDiffers);
  EXPECT_EQ(run.outcomes[9].result, 600000 - 575000);  // 現渡 of the held shares

  EXPECT_EQ(Figures(books_.holdings, HoldCol::Total, HoldCol::Shares),
            (std::vector<std::string>{"12341 50 83,340", "67891 100 234,500", "99841 100 800,000"}));
  EXPECT_TRUE(books_.positions.empty());
  EXPECT_EQ(books_.figures.realised, "66,660");
  // The stock Code.txt did not know is there with the file's name and market.
  const StockDetails added = LookUpStock(books_, "6789");
  EXPECT_TRUE(added.found);
  EXPECT_EQ(Utf8(added.name), "㈱髙見沢①電機");
  EXPECT_EQ(Utf8(added.exchange), "東証");

  // Every row names where it came from; a day's header sums its trades.
  const auto header = FindDayHeader(books_.diary, "2025/05/12");
  ASSERT_TRUE(header);
  EXPECT_EQ(books_.diary[*header].cell(DiaryCol::Kind), "2");
  EXPECT_EQ(books_.diary[*header + 1].cell(DiaryCol::Comment), "import:18");
  EXPECT_EQ(books_.diary[*header + 1].cell(DiaryCol::Price), "1,667");
}

TEST_F(TradeBooking, APositionNamedByItsDayIsClosedBeforeOlderOnes) {
  load();
  const ImportRun run = book(fixture("tradehistory(JP)_20250516.csv"));
  EXPECT_EQ(KindsOf(run), (std::vector<std::string>{"21", "25", "25", "36", "27", "32", "26"}));
  // 売埋 names the position of 5/9 at 510; 現引 the one of 5/8.
  std::vector<std::string> settled;
  for (const LedgerRow& row : books_.diary) {
    if (KindClassOf(row.key) == '3' || KindSideOf(row.key) == '7') settled.push_back(row.key);
  }
  EXPECT_EQ(settled, (std::vector<std::string>{"2025/05/12365678"
                                               "2025/05/09001",
                                               "2025/05/13275678"
                                               "2025/05/08001",
                                               "2025/05/15321234"}));
  // 1,000 x (520 - 510) - 11 against the broker's 9,850 after interest.
  EXPECT_EQ(run.outcomes[3].result, 9989);
  EXPECT_EQ(run.outcomes[3].notices[0].broker, 9850);
}

TEST_F(TradeBooking, MonexTradesBookWithTheBrokersCashAmountsAndTheirOwnResults) {
  load();
  const ImportRun run = book(fixture("monex.csv"));
  EXPECT_EQ(KindsOf(run), (std::vector<std::string>{"21", "26", "35", "25", "27", "32"}));
  // Cash trades: the broker's amounts, which price, charge and tax make.
  EXPECT_EQ(run.outcomes[0].amount, 165108);
  EXPECT_TRUE(run.outcomes[0].notices.empty());
  EXPECT_EQ(run.outcomes[5].result, 169892 - 165108);
  // 半年返済買い: 100 x (8,000 - 7,900) against the broker's 9,950 after costs.
  EXPECT_EQ(run.outcomes[2].result, 10000);
  ASSERT_EQ(run.outcomes[2].notices.size(), 1u);
  EXPECT_EQ(run.outcomes[2].notices[0].kind, NoticeKind::ResultDiffers);
  EXPECT_EQ(run.outcomes[2].notices[0].broker, 9950);
  // 半年現引 takes the shares at the position's cost.
  EXPECT_EQ(run.outcomes[4].amount, 500000);
  EXPECT_EQ(run.outcomes[4].notices[0].kind, NoticeKind::AmountDiffers);
  EXPECT_TRUE(books_.positions.empty());
  EXPECT_EQ(Figures(books_.holdings, HoldCol::Total, HoldCol::Shares), (std::vector<std::string>{"43211 500 500,000"}));
  EXPECT_EQ(books_.figures.realised, "14,784");
}

TEST_F(TradeBooking, ACloseOverSeveralPositionsWritesARowForEachAndAddsUp) {
  load();
  std::vector<ImportedTrade> trades = {Trade(TradeAction::MarginSell, "2025/05/01", "1234", 1000, 500),
                                       Trade(TradeAction::MarginSell, "2025/05/02", "1234", 1000, 520),
                                       Trade(TradeAction::RepayBuy, "2025/05/07", "1234", 1500, 490, 101)};
  trades[2].price = 4905000;  // 490.5
  const ImportRun run = book(trades);
  EXPECT_EQ(KindsOf(run), (std::vector<std::string>{"26", "26", "35+35"}));
  // 1,500 x 490.5 + 101, shared out 1,000 : 500.
  EXPECT_EQ(run.outcomes[2].amount, 735750 + 101);
  EXPECT_EQ(run.outcomes[2].result, 500000 + 260000 - (735750 + 101));
  std::vector<std::string> charges;
  for (const LedgerRow& row : books_.diary) {
    if (KindClassOf(row.key) == '3') charges.push_back(row.cell(DiaryCol::Charge) + " " + row.cell(DiaryCol::Amount));
  }
  EXPECT_EQ(charges, (std::vector<std::string>{"67 490,567", "34 245,284"}));
  EXPECT_EQ(Figures(books_.positions, LoanCol::Total, LoanCol::Shares),
            (std::vector<std::string>{"123462025/05/02001 500 260,000"}));
}

TEST_F(TradeBooking, TradesWithoutTheirSharesAreRefusedAndChangeNothing) {
  load();
  const std::vector<ImportedTrade> trades = {
      Trade(TradeAction::CashSell, "2025/05/01", "1234", 100, 500),     // nothing held
      Trade(TradeAction::RepaySell, "2025/05/01", "1234", 100, 500),    // no position
      Trade(TradeAction::CashBuy, "2025/05/02", "1234", 100, 500),      //
      Trade(TradeAction::CashSell, "2025/05/03", "1234", 300, 500),     // 100 held
      Trade(TradeAction::MarginBuy, "2025/05/03", "1234", 100, 500),    //
      Trade(TradeAction::RepaySell, "2025/05/07", "1234", 200, 500),    // 100 in positions
      Trade(TradeAction::DeliveryGive, "2025/05/07", "1234", 100, 500)  // no sell position
  };
  const ImportRun run = book(trades);
  EXPECT_EQ(KindsOf(run), (std::vector<std::string>{"-", "-", "21", "-", "25", "-", "-"}));
  const Refusal expected[] = {Refusal::NoHolding,        Refusal::NoPosition, Refusal::None,
                              Refusal::NotEnoughHolding, Refusal::None,       Refusal::NotEnoughPositions,
                              Refusal::NoPosition};
  for (std::size_t i = 0; i < trades.size(); ++i) EXPECT_EQ(run.outcomes[i].refusal, expected[i]) << i;
  EXPECT_EQ(run.outcomes[3].available, 100);
  EXPECT_EQ(run.outcomes[5].available, 100);
  // Refused trades leave no day behind them.
  EXPECT_FALSE(FindDayHeader(books_.diary, "2025/05/01"));
  EXPECT_FALSE(FindDayHeader(books_.diary, "2025/05/07"));
}

TEST_F(TradeBooking, ThePreviewIsTheBookingWithoutChangingOrWritingAnything) {
  load();
  const std::vector<ImportedTrade> trades = fixture("sbi_cp932.csv");
  const std::vector<bool> ticked(trades.size(), true);
  const Books before = books_;
  const std::vector<std::string> filesBefore = folder_.entries();
  const std::string codeBefore = test::ReadBytes(folder_ / "Code.txt");
  ImportSources sources(folder_.path());
  const ImportRun preview = PreviewImport(books_, trades, ticked, sources, options_);
  EXPECT_EQ(folder_.entries(), filesBefore);
  EXPECT_EQ(test::ReadBytes(folder_ / "Code.txt"), codeBefore);
  EXPECT_EQ(books_.diary.size(), before.diary.size());
  EXPECT_EQ(books_.figures.realised, before.figures.realised);

  const ImportRun run = BookImport(books_, trades, ticked, sources, options_);
  ASSERT_EQ(preview.outcomes.size(), run.outcomes.size());
  for (std::size_t i = 0; i < run.outcomes.size(); ++i) {
    EXPECT_EQ(preview.outcomes[i].kinds, run.outcomes[i].kinds) << i;
    EXPECT_EQ(preview.outcomes[i].amount, run.outcomes[i].amount) << i;
    EXPECT_EQ(preview.outcomes[i].result, run.outcomes[i].result) << i;
    EXPECT_EQ(preview.outcomes[i].notices.size(), run.outcomes[i].notices.size()) << i;
  }
}

TEST_F(TradeBooking, BookedTradesAreFoundAgainAndIdenticalFillsStayTwo) {
  load();
  std::vector<ImportedTrade> trades = fixture("tradehistory(JP)_20250516.csv");
  book(trades);
  ASSERT_TRUE(SaveChangedLedgers(books_).empty());

  Books fresh;
  fresh.folder = folder_.path();
  fresh.monthKey = "2025/04";
  ASSERT_FALSE(LoadDiaryInto(fresh, fresh.monthKey));
  ImportSources sources(folder_.path());
  EXPECT_EQ(FindRecordedTrades(fresh, trades, sources), std::vector<bool>(trades.size(), true));

  // The same fill twice on one day, once in the diary: one is new.
  const ImportedTrade fill = Trade(TradeAction::CashBuy, "2025/05/07", "1234", 200, 0);
  ImportedTrade again = trades[0];
  EXPECT_EQ(FindRecordedTrades(fresh, {again, again}, sources), (std::vector<bool>{true, false}));
  EXPECT_EQ(FindRecordedTrades(fresh, {fill}, sources), (std::vector<bool>{false}));  // another price
}

TEST_F(TradeBooking, AMonthThatCannotBeReadStopsTheBookingWithWhatCameBeforeSaved) {
  std::filesystem::create_directory(folder_ / "202505.txt");  // a folder where May's file should be
  books_.monthKey = "2025/04";
  load();
  const std::vector<ImportedTrade> trades = {Trade(TradeAction::CashBuy, "2025/04/30", "1234", 100, 500),
                                             Trade(TradeAction::CashBuy, "2025/05/01", "1234", 100, 510),
                                             Trade(TradeAction::CashBuy, "2025/06/02", "1234", 100, 520)};
  ImportSources sources(folder_.path());
  const ImportRun preview = PreviewImport(books_, trades, {true, true, true}, sources, options_);
  const ImportRun run = book(trades);
  for (const ImportRun* r : {&preview, &run}) {
    EXPECT_EQ(KindsOf(*r), (std::vector<std::string>{"21", "-", "-"}));
    ASSERT_TRUE(r->failure);
    EXPECT_EQ(r->failure->monthKey, "2025/05");
    EXPECT_FALSE(r->failure->saving);
    EXPECT_EQ(r->outcomes[2].refusal, Refusal::NotReached);
  }
  // April was saved by the switch; the holding it booked is saved with it.
  EXPECT_EQ(books_.monthKey, "2025/04");
  EXPECT_FALSE(books_.unsaved.diary);
  EXPECT_TRUE(SaveChangedLedgers(books_).empty());
  const DiaryLoad april = LoadDiaryMonth(folder_.path(), "2025/04");
  EXPECT_EQ(april.rows.size(), 3u);
  const HoldingsLoad held = LoadHoldings(folder_.path());
  ASSERT_EQ(held.data.rows.size(), 1u);
  EXPECT_EQ(held.data.rows[0].cell(HoldCol::Shares), "100");
}

TEST_F(TradeBooking, MonthsAreBookedInTurnAndEachSavedBeforeTheNext) {
  books_.monthKey = "2025/03";
  load();
  const ImportRun run = book(fixture("sbi_utf8.csv"));
  EXPECT_EQ(KindsOf(run), (std::vector<std::string>{"21", "25", "36", "32"}));
  EXPECT_EQ(books_.monthKey, "2025/05");
  EXPECT_TRUE(books_.unsaved.diary);
  const DiaryLoad april = LoadDiaryMonth(folder_.path(), "2025/04");
  ASSERT_EQ(april.rows.size(), 3u);
  EXPECT_EQ(april.rows[1].cell(DiaryCol::Amount), "165,000");
  // 100 x 1,700.5 opened, 100 x 1,720.5 closed: the decimals reach the yen.
  EXPECT_EQ(run.outcomes[1].amount, 170050);
  EXPECT_EQ(run.outcomes[2].amount, 172050);
  EXPECT_EQ(run.outcomes[2].result, 2000);
  EXPECT_TRUE(run.outcomes[2].notices.empty());
}

TEST(TradeValue, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(TradeValue(7983000, 100), 79830);
  EXPECT_EQ(TradeValue(7983000, 1), 798);
  EXPECT_EQ(TradeValue(7985000, 1), 799);
  EXPECT_EQ(TradeValue(-7985000, 1), -799);
  EXPECT_EQ(TradeValue(INT64_MAX, INT64_MAX), INT64_MAX);
}

}  // namespace
}  // namespace tomvik::core
