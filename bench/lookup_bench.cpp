// Looking up one stock code, as every code field and every trade does,
// in the Code.txt of 4,000 stocks, against one plain read of that file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "core/books.h"
#include "core/records/atomic_file.h"
#include "core/records/code_file.h"
#include "core/stocks/stock_lookup.h"
#include "large_folder.h"
#include "ratio_report.h"

namespace {

namespace fs = std::filesystem;
using namespace tomvik::core;
using tomvik::bench::StockCode;

constexpr int kStocks = 4000;

// A Code.txt that was last written a while ago, as a user's usually is: a
// file changed within the last moments is read again at every lookup until
// its change lies safely before the read (see CodeFileCache).
struct StockFolder : tomvik::bench::TempFolder {
  StockFolder() : TempFolder("lookup-bench") {
    tomvik::bench::WriteStockMaster(path(), kStocks);
    std::this_thread::sleep_for(std::chrono::nanoseconds(CodeFileCache::kSettleNanoseconds) +
                                std::chrono::milliseconds(100));
  }
};

const StockFolder& Folder() {
  static const StockFolder folder;
  return folder;
}

// The floor: the file read into memory, nothing else.
void BM_ReadCodeFile(benchmark::State& state) {
  const fs::path path = Folder().path() / kStockMasterFileName;
  for (auto _ : state) benchmark::DoNotOptimize(ReadWholeFile(path).bytes.size());
}
BENCHMARK(BM_ReadCodeFile);

// The first lookup after the file changed: it has to read the file.
void BM_LookUpFirst(benchmark::State& state) {
  Books books;
  books.folder = Folder().path();
  int n = 0;
  for (auto _ : state) {
    books.stockFile.forget();
    benchmark::DoNotOptimize(LookUpStock(books, StockCode(n++ * 7919 % kStocks)));
  }
}
BENCHMARK(BM_LookUpFirst);

// Every further lookup while the file stays as it is.
void BM_LookUpRepeated(benchmark::State& state) {
  Books books;
  books.folder = Folder().path();
  int n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(LookUpStock(books, StockCode(n++ * 7919 % kStocks)));
}
BENCHMARK(BM_LookUpRepeated);

}  // namespace

int main(int argc, char** argv) {
  return tomvik::bench::RunWithRatios(
      argc, argv,
      {{"repeated lookup / read of Code.txt", "BM_LookUpRepeated", "BM_ReadCodeFile", 0.05, true},
       {"first lookup / read of Code.txt", "BM_LookUpFirst", "BM_ReadCodeFile", 2.0, true}});
}
