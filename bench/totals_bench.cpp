// Period totals over twenty years of dense diaries (240 month files),
// against a plain read of the same files. The totals should cost no more
// than twice the read.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "core/records/atomic_file.h"
#include "core/records/diary_file.h"
#include "core/totals/period_totals.h"
#include "diary_generator.h"

namespace {

namespace fs = std::filesystem;
using namespace tomvik::core;

// The generated folder, made once for all benchmarks and removed at exit.
class DiaryFolder {
 public:
  DiaryFolder() {
    path_ = fs::temp_directory_path() / ("tomvik-totals-bench-" + std::to_string(std::random_device()()));
    fs::create_directories(path_);
    bytes_ = tomvik::bench::WriteDiaryFolder(path_, shape_);
  }
  ~DiaryFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  std::uintmax_t bytes() const { return bytes_; }
  TotalsQuery query(TotalsPeriod period, std::string code = "0000") const {
    return {Date{shape_.firstYear, 1, 1}, Date{shape_.firstYear + shape_.years - 1, 12, 31}, period, std::move(code)};
  }
  int months() const { return shape_.years * 12; }
  int firstYear() const { return shape_.firstYear; }

 private:
  tomvik::bench::GeneratedDiary shape_;
  fs::path path_;
  std::uintmax_t bytes_ = 0;
};

const DiaryFolder& Folder() {
  static const DiaryFolder folder;
  return folder;
}

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Folder().bytes()));
}

// The floor: every month file read into memory, nothing else.
void BM_ReadMonthFiles(benchmark::State& state) {
  const DiaryFolder& folder = Folder();
  for (auto _ : state) {
    std::size_t total = 0;
    for (int m = 0; m < folder.months(); ++m) {
      char key[16];
      std::snprintf(key, sizeof key, "%04d/%02d", folder.firstYear() + m / 12, m % 12 + 1);
      total += ReadWholeFile(folder.path() / DiaryFileName(key)).bytes.size();
    }
    benchmark::DoNotOptimize(total);
  }
  SetBytes(state);
}
BENCHMARK(BM_ReadMonthFiles)->Unit(benchmark::kMillisecond);

void BM_PeriodTotalsDaily(benchmark::State& state) {
  const TotalsQuery query = Folder().query(TotalsPeriod::Daily);
  for (auto _ : state) benchmark::DoNotOptimize(ComputePeriodTotals(Folder().path(), query));
  SetBytes(state);
}
BENCHMARK(BM_PeriodTotalsDaily)->Unit(benchmark::kMillisecond);

void BM_PeriodTotalsMonthly(benchmark::State& state) {
  const TotalsQuery query = Folder().query(TotalsPeriod::Monthly);
  for (auto _ : state) benchmark::DoNotOptimize(ComputePeriodTotals(Folder().path(), query));
  SetBytes(state);
}
BENCHMARK(BM_PeriodTotalsMonthly)->Unit(benchmark::kMillisecond);

void BM_PeriodTotalsOneStock(benchmark::State& state) {
  const TotalsQuery query = Folder().query(TotalsPeriod::Daily, "1234");
  for (auto _ : state) benchmark::DoNotOptimize(ComputePeriodTotals(Folder().path(), query));
  SetBytes(state);
}
BENCHMARK(BM_PeriodTotalsOneStock)->Unit(benchmark::kMillisecond);

// For comparison: the same files parsed as the diary tab loads a month.
void BM_LoadMonthsAsDiary(benchmark::State& state) {
  const DiaryFolder& folder = Folder();
  for (auto _ : state) {
    for (int m = 0; m < folder.months(); ++m) {
      char key[16];
      std::snprintf(key, sizeof key, "%04d/%02d", folder.firstYear() + m / 12, m % 12 + 1);
      benchmark::DoNotOptimize(LoadDiaryMonth(folder.path(), key));
    }
  }
  SetBytes(state);
}
BENCHMARK(BM_LoadMonthsAsDiary)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
