// Saving the whole stock master of 4,000 stocks, against writing the same
// bytes to the file. Both are compared in CPU time: the disk's own wait
// belongs to neither.
#include <benchmark/benchmark.h>

#include "core/books.h"
#include "core/records/atomic_file.h"
#include "core/records/code_file.h"
#include "large_folder.h"
#include "ratio_report.h"

namespace {

using namespace tomvik::core;

constexpr int kStocks = 4000;

struct Fixture {
  tomvik::bench::TempFolder folder{"stock-save-bench"};
  Books books;
  std::string bytes;
  Fixture() {
    tomvik::bench::WriteStockMaster(folder.path(), kStocks);
    books.folder = folder.path();
    if (LoadStocksInto(books)) throw std::runtime_error("cannot read the generated stock master");
    bytes = ReadWholeFile(folder.path() / kStockMasterFileName).bytes;
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

// The floor: the same bytes replace the file, as every save replaces it.
void BM_WriteSameBytes(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    if (WriteFileAtomically(f.folder.path() / kStockMasterFileName, f.bytes)) state.SkipWithError("write failed");
  }
}
BENCHMARK(BM_WriteSameBytes)->Unit(benchmark::kMicrosecond);

void BM_SaveStockMasterWhole(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    f.books.unsaved.stocks = true;
    if (SaveStocks(f.books)) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveStockMasterWhole)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return tomvik::bench::RunWithRatios(
      argc, argv, {{"whole-file save / writing the bytes", "BM_SaveStockMasterWhole", "BM_WriteSameBytes", 2.0, true}});
}
