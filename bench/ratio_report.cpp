#include "ratio_report.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>

namespace tomvik::bench {
namespace {

struct Seconds {
  double real = std::numeric_limits<double>::infinity();
  double cpu = std::numeric_limits<double>::infinity();
};

// A benchmark's name as the ratios give it: without the "/min_time:2.000",
// "/iterations:40", "/repeats:3" and "/manual_time" that a benchmark with
// settings of its own carries.
std::string PlainName(std::string name) {
  for (const char* setting : {"/min_time:", "/iterations:", "/repeats:", "/manual_time"}) {
    const auto at = name.find(setting);
    if (at != std::string::npos) name.erase(at, name.find('/', at + 1) - at);
  }
  return name;
}

// The console output as usual, keeping each benchmark's fastest time.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0 || run.error_occurred) continue;
      Seconds& s = times[PlainName(run.benchmark_name())];
      const auto n = static_cast<double>(run.iterations);
      s.real = std::min(s.real, run.real_accumulated_time / n);
      s.cpu = std::min(s.cpu, run.cpu_accumulated_time / n);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, Seconds> times;
};

std::string Pretty(double seconds) {
  char text[32];
  if (seconds >= 1e-3) {
    std::snprintf(text, sizeof text, "%.3f ms", seconds * 1e3);
  } else if (seconds >= 1e-6) {
    std::snprintf(text, sizeof text, "%.3f us", seconds * 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
  }
  return text;
}

}  // namespace

int RunWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  int missing = 0;
  std::printf("\n%-44s %14s %14s %9s %8s\n", "figure against its floor", "figure", "floor", "ratio", "goal");
  for (const Ratio& r : ratios) {
    const auto figure = reporter.times.find(r.figure);
    const auto floor = reporter.times.find(r.floor);
    if (figure == reporter.times.end() || floor == reporter.times.end()) {
      // A filter may have left one out.
      std::printf("%-44s (not run)\n", r.what.c_str());
      ++missing;
      continue;
    }
    const double f = r.cpu ? figure->second.cpu : figure->second.real;
    const double base = r.cpu ? floor->second.cpu : floor->second.real;
    const double ratio = f / base;
    std::printf("%-44s %14s %14s %8.3fx %7.2fx  %s%s\n", r.what.c_str(), Pretty(f).c_str(), Pretty(base).c_str(), ratio,
                r.goal, ratio <= r.goal ? "met" : "NOT MET", r.cpu ? " (CPU)" : "");
  }
  return missing == static_cast<int>(ratios.size()) && !ratios.empty() ? 1 : 0;
}

}  // namespace tomvik::bench
