// Importing a year of executions (5,000 lines of an SBI 約定履歴 file, cash
// and margin trades of forty stocks, half of them unknown to Code.txt):
// reading the file, the preview (trades found in the diary, the booking
// worked out on a copy), and the booking itself with every month saved.
// Each benchmark reports its time per line.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/books.h"
#include "core/holdings/account_summary.h"
#include "core/import/trade_booking.h"
#include "core/import/trade_history.h"
#include "core/records/atomic_file.h"
#include "core/records/cp932.h"
#include "core/records/date.h"

namespace {

namespace fs = std::filesystem;
using namespace tomvik::core;

constexpr int kLines = 5000;
constexpr int kStocks = 40;

std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8).text; }

std::string Quoted(Amount value) { return "\"" + FormatAmount(value) + "\""; }

// The executions of 2025, oldest first, each one possible when it comes:
// sales and repayments never exceed what is held or open.
struct GeneratedYear {
  std::string csv;
  std::string codeFile;
};

GeneratedYear Generate() {
  std::mt19937 random(20250101);
  auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  std::vector<std::string> days;
  for (int month = 1; month <= 12; ++month) {
    for (int day = 1; day <= DaysInMonth(2025, month); ++day) {
      const Date date{2025, month, day};
      if (WeekdayOf(date) != 0 && WeekdayOf(date) != 6) days.push_back(DateText(date));
    }
  }
  struct Stock {
    std::string code;
    std::string name;
    Amount price;  // tenths of a yen
    Amount held = 0;
    Amount longs = 0;
    Amount shorts = 0;
  };
  std::vector<Stock> stocks;
  GeneratedYear year;
  for (int s = 0; s < kStocks; ++s) {
    Stock stock{std::to_string(3000 + s * 7), "見本工業" + std::to_string(s), 5000 + 900 * s};
    if (s % 2 == 0) {
      year.codeFile +=
          "[" + stock.code + "]\r\nN=" + Sjis(stock.name) + "\r\nE=" + Sjis("東証１部") + "\r\nU=100\r\n\r\n";
    }
    stocks.push_back(stock);
  }

  std::string text =
      "\"約定履歴照会\"\r\n\"照会期間：2025/01/01～2025/12/31\"\r\n\r\n"
      "約定日,銘柄,銘柄コード,市場,取引,期限,預り,課税,約定数量,約定単価,手数料/諸経費等,税額,受渡日,受渡金額/"
      "決済損益\r\n";
  for (int line = 0; line < kLines; ++line) {
    const std::string& date = days[static_cast<std::size_t>(line) * days.size() / kLines];
    Stock& stock = stocks[static_cast<std::size_t>(pick(kStocks))];
    stock.price = std::max<Amount>(1000, stock.price + (pick(21) - 10) * 5);
    const Amount lots = 1 + pick(5);
    Amount quantity = lots * 100;
    const Amount gross = stock.price * quantity / 10;
    const Amount charge = gross / 1000;
    std::string kind;
    std::string amount = "--";
    const int roll = pick(10);
    if (roll < 3) {
      kind = "株式現物買";
      stock.held += quantity;
      amount = Quoted(gross + charge);
    } else if (roll < 5 && stock.held > 0) {
      quantity = std::min(quantity, stock.held);
      kind = "株式現物売";
      stock.held -= quantity;
      amount = Quoted(stock.price * quantity / 10 - charge);
    } else if (roll < 6) {
      kind = "信用新規買";
      stock.longs += quantity;
    } else if (roll < 7) {
      kind = "信用新規売";
      stock.shorts += quantity;
    } else if (roll < 8 && stock.longs > 0) {
      quantity = std::min(quantity, stock.longs);
      kind = "信用返済売";
      stock.longs -= quantity;
      amount = Quoted(pick(20000) - 10000);
    } else if (roll < 9 && stock.shorts > 0) {
      quantity = std::min(quantity, stock.shorts);
      kind = "信用返済買";
      stock.shorts -= quantity;
      amount = Quoted(pick(20000) - 10000);
    } else {
      kind = "株式現物買";
      stock.held += quantity;
      amount = Quoted(gross + charge);
    }
    const Amount yen = stock.price / 10;
    const Amount tenths = stock.price % 10;
    const std::string price = "\"" + FormatAmount(yen) + (tenths ? "." + std::to_string(tenths) : "") + "\"";
    text += date + ",\"" + stock.name + "\"," + stock.code + ",東証," + kind + ",--, 特定 ,--," +
            std::to_string(quantity) + "," + price + "," + std::to_string(charge) + ",0," + date + "," + amount +
            "\r\n";
  }
  year.csv = Sjis(text);
  return year;
}

const GeneratedYear& Year() {
  static const GeneratedYear year = Generate();
  return year;
}

// A program folder with Code.txt, removed at the end.
class Folder {
 public:
  Folder() {
    path_ = fs::temp_directory_path() / ("tomvik-import-bench-" + std::to_string(std::random_device()()));
    fs::create_directories(path_);
    (void)WriteFileAtomically(path_ / "Code.txt", Year().codeFile);
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  Books books() const {
    Books books;
    books.folder = path_;
    books.monthKey = "2025/12";
    (void)LoadStocksInto(books);
    RecomputeSummary(books);
    return books;
  }

 private:
  fs::path path_;
};

BookingOptions Options() {
  BookingOptions options;
  options.comment = [](const ImportedTrade& t) { return "import " + std::to_string(t.line); };
  return options;
}

void PerLine(benchmark::State& state) {
  state.counters["per_line"] =
      benchmark::Counter(kLines, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ReadTradeHistory(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadTradeHistory(Year().csv));
  PerLine(state);
}
BENCHMARK(BM_ReadTradeHistory)->Unit(benchmark::kMillisecond);

// What the preview costs: the diary searched for the trades, then the
// booking worked out on a copy of the ledgers.
void BM_Preview(benchmark::State& state) {
  const Folder folder;
  const Books books = folder.books();
  const TradeHistory history = ReadTradeHistory(Year().csv);
  if (history.trades.size() != static_cast<std::size_t>(kLines)) state.SkipWithError("lines lost");
  const BookingOptions options = Options();
  for (auto _ : state) {
    ImportSources sources(books.folder);
    const std::vector<bool> recorded = FindRecordedTrades(books, history.trades, sources);
    std::vector<bool> ticked(recorded.size());
    for (std::size_t i = 0; i < recorded.size(); ++i) ticked[i] = !recorded[i];
    const ImportRun run = PreviewImport(books, history.trades, ticked, sources, options);
    if (run.booked != history.trades.size()) state.SkipWithError("trades refused");
    benchmark::DoNotOptimize(run);
  }
  PerLine(state);
}
BENCHMARK(BM_Preview)->Unit(benchmark::kMillisecond);

// The whole import on a fresh folder: read, preview, book, save.
void BM_PreviewAndBook(benchmark::State& state) {
  const BookingOptions options = Options();
  std::unique_ptr<Folder> folder;
  for (auto _ : state) {
    state.PauseTiming();
    folder.reset();
    folder = std::make_unique<Folder>();
    Books books = folder->books();
    state.ResumeTiming();
    const TradeHistory history = ReadTradeHistory(Year().csv);
    ImportSources sources(books.folder);
    const std::vector<bool> recorded = FindRecordedTrades(books, history.trades, sources);
    std::vector<bool> ticked(recorded.size());
    for (std::size_t i = 0; i < recorded.size(); ++i) ticked[i] = !recorded[i];
    benchmark::DoNotOptimize(PreviewImport(books, history.trades, ticked, sources, options));
    const ImportRun run = BookImport(books, history.trades, ticked, sources, options);
    if (run.booked != history.trades.size() || !SaveChangedLedgers(books).empty()) state.SkipWithError("not booked");
  }
  PerLine(state);
}
BENCHMARK(BM_PreviewAndBook)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
