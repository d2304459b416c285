// Reading and writing a large diary month, the biggest file a user keeps.
#include <benchmark/benchmark.h>

#include <string>

#include "core/records/cp932.h"
#include "core/records/diary_file.h"

namespace {

using namespace tomvik::core;

// A month of `days` trading days with `trades` trade rows each.
std::string MakeMonth(int days, int trades) {
  std::string text;
  const std::string name = Utf8ToCp932("見本電機").text;
  const std::string exchange = Utf8ToCp932("東証１部").text;
  const std::string buy = Utf8ToCp932("-買").text;
  for (int d = 1; d <= days; ++d) {
    char date[16];
    std::snprintf(date, sizeof date, "2011/03/%02d", d);
    if (d > 1) text += "\r\n";
    text += "[" + std::string(date) + "(" + Utf8ToCp932("火").text + ")]\r\n ok\r\n";
    for (int t = 0; t < trades; ++t) {
      text += buy + "," + std::to_string(1000 + t) + " " + name + "," + exchange + ",3500,100,1050,0,351050,\r\n";
      text += " comment %% with%nbreak\r\n";
    }
  }
  return text + "\r\n";
}

void BM_ParseDiaryMonth(benchmark::State& state) {
  const std::string text = MakeMonth(31, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ParseDiaryMonth(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseDiaryMonth)->Arg(10)->Arg(100);

void BM_SerialiseDiaryMonth(benchmark::State& state) {
  const LedgerTable rows = ParseDiaryMonth(MakeMonth(31, static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(SerialiseDiaryMonth(rows));
}
BENCHMARK(BM_SerialiseDiaryMonth)->Arg(10)->Arg(100);

}  // namespace

BENCHMARK_MAIN();
