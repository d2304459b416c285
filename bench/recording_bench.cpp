// Recording trades in core with few, many and very many holdings and
// positions held: the cost must not grow with what is held.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "core/books.h"
#include "core/diary/recording.h"
#include "core/holdings/account_summary.h"
#include "core/records/cp932.h"
#include "large_folder.h"
#include "ratio_report.h"

namespace {

using namespace tomvik::core;
using tomvik::bench::StockCode;

constexpr int kStocks = 4000;
// Rows added before the month is put back as it was.
constexpr int kRowsBeforeReset = 400;

struct Fixture {
  tomvik::bench::TempFolder folder{"recording-bench"};
  Books books;
  LedgerTable month;
  DiaryEntry buy;
  DiaryEntry sell;

  explicit Fixture(int holdings) {
    tomvik::bench::GeneratedDiary diary;
    diary.firstYear = 2020;
    diary.years = 1;
    tomvik::bench::WriteDiaryFolder(folder.path(), diary);
    tomvik::bench::WriteStockMaster(folder.path(), kStocks);
    tomvik::bench::WriteHoldings(folder.path(), holdings, kStocks);
    tomvik::bench::WritePositions(folder.path(), holdings * 2 / 5, kStocks);
    books.folder = folder.path();
    if (LoadDiaryInto(books, "2020/12") || LoadHoldingsInto(books) || LoadPositionsInto(books) ||
        LoadStocksInto(books)) {
      throw std::runtime_error("cannot read the generated folder");
    }
    RecomputeSummary(books);
    month = books.diary;

    // A bought holding of the generated folder (holding 1: stock 7, bought).
    buy.mode = DiaryEntry::Mode::Trade;
    buy.type = DiaryEntry::Type::Cash;
    buy.date = "2020/12/30";
    buy.code = StockCode(7);
    buy.name = Utf8ToCp932("見本電機").text;
    buy.exchange = Utf8ToCp932("東証１部").text;
    buy.unitText = "100";
    buy.priceText = "1,000";
    buy.quantityText = "100";
    buy.amountText = "100,000";
    buy.comment = Utf8ToCp932("押し目").text;
    sell = buy;
    sell.buy = false;
    sell.amountText = "104,000";
  }
};

Fixture& Shared(int holdings) {
  static std::map<int, std::unique_ptr<Fixture>> fixtures;
  auto& f = fixtures[holdings];
  if (!f) f = std::make_unique<Fixture>(holdings);
  return *f;
}

// A buy added to a holding, then a sale of the same shares out of it (which
// books a realised result and the stock's totals): the holding stays.
void BM_RecordTrade(benchmark::State& state) {
  Fixture& f = Shared(static_cast<int>(state.range(0)));
  int dayCounter = 0;
  int added = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(AddDiaryRow(f.books, f.buy, dayCounter));
    benchmark::DoNotOptimize(AddDiaryRow(f.books, f.sell, dayCounter));
    if (++added == kRowsBeforeReset / 2) {
      state.PauseTiming();
      f.books.diary = f.month;
      added = 0;
      state.ResumeTiming();
    }
  }
  state.counters["held"] = static_cast<double>(f.books.holdings.size() + f.books.positions.size());
}
BENCHMARK(BM_RecordTrade)->ArgName("holdings")->Arg(50)->Arg(500)->Arg(5000);

}  // namespace

int main(int argc, char** argv) {
  return tomvik::bench::RunWithRatios(
      argc, argv,
      {{"recording, 700 held / 70 held", "BM_RecordTrade/holdings:500", "BM_RecordTrade/holdings:50", 1.2, true},
       {"recording, 7,000 held / 70 held", "BM_RecordTrade/holdings:5000", "BM_RecordTrade/holdings:50", 1.2, true}});
}
