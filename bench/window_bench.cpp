// The window at work on the large folder: start-up against a bare main
// window with six empty tabs, each a whole process timed in CPU, and
// pressing 追加 in the diary against the core's own add of the same trade.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include <memory>

#include "app/window/form_main.h"
#include "core/books.h"
#include "core/diary/recording.h"
#include "core/holdings/account_summary.h"
#include "core/records/cp932.h"
#include "large_folder.h"
#include "ratio_report.h"

namespace {

using tomvik::app::TFormMain;
using tomvik::bench::StockCode;
using tomvik::bench::TempFolder;
namespace core = tomvik::core;

// The last generated month, and a weekday of it with trades.
const QDate kToday(2020, 12, 30);
constexpr const char* kMonth = "2020/12";
// Rows added to the month before it is put back as it was.
constexpr int kAddsBeforeReset = 200;

struct LargeTempFolder : TempFolder {
  LargeTempFolder() : TempFolder("window-bench-large") { tomvik::bench::WriteLargeFolder(path(), {}); }
};

const TempFolder& LargeFolder() {
  static const LargeTempFolder folder;
  return folder;
}

const TempFolder& EmptyFolder() {
  static const TempFolder folder("window-bench-empty");
  return folder;
}

// Shows the window and lets it handle what showing it brings (layout,
// the first paint).
void ShowAndSettle(QWidget& window) {
  window.show();
  QCoreApplication::processEvents();
}

// A probe beside this program.
std::string ProbePath(const char* name) {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return (self.parent_path() / name).string();
}

// The CPU time, user and system, of one whole start of the probe: the
// toolkit's own start (fonts, styles, platform) is in the floor as it is in
// the program, as it is when the user starts it.
double ProbeSeconds(const char* name, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string probe = ProbePath(name);
  argv.push_back(probe.data());
  std::vector<std::string> copies = args;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    ::execv(argv[0], argv.data());
    std::_Exit(127);
  }
  if (child < 0) return -1;
  int status = 0;
  rusage usage{};
  if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void TimeProbe(benchmark::State& state, const char* name, const std::vector<std::string>& args) {
  for (auto _ : state) {
    const double seconds = ProbeSeconds(name, args);
    if (seconds < 0) {
      state.SkipWithError("the start-up probe failed");
      return;
    }
    state.SetIterationTime(seconds);
  }
}

// The floor of start-up: a main window with a menu bar and six empty tabs.
void BM_StartBareWindow(benchmark::State& state) { TimeProbe(state, "startup_probe_bare", {}); }
BENCHMARK(BM_StartBareWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(40)->Repetitions(3);

void BM_StartEmptyFolder(benchmark::State& state) {
  TimeProbe(state, "startup_probe", {EmptyFolder().path().string(), kToday.toString(Qt::ISODate).toStdString()});
}
BENCHMARK(BM_StartEmptyFolder)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(40)->Repetitions(3);

void BM_StartLargeFolder(benchmark::State& state) {
  TimeProbe(state, "startup_probe", {LargeFolder().path().string(), kToday.toString(Qt::ISODate).toStdString()});
}
BENCHMARK(BM_StartLargeFolder)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(40)->Repetitions(3);

// The trade both adds record: 100 more shares of a bought holding.
core::DiaryEntry BuyEntry() {
  core::DiaryEntry e;
  e.mode = core::DiaryEntry::Mode::Trade;
  e.type = core::DiaryEntry::Type::Cash;
  e.date = "2020/12/30";
  e.code = StockCode(7);
  e.name = core::Utf8ToCp932("東西商事7").text;
  e.exchange = core::Utf8ToCp932("東証２部").text;
  e.unitText = "100";
  e.priceText = "1000";
  e.quantityText = "100";
  e.amountText = "100,000";
  e.chargeText = "0";
  e.taxText = "0";
  return e;
}

// The floor of 追加: the core's own add of the trade on the same ledgers.
void BM_CoreAdd(benchmark::State& state) {
  core::Books books;
  books.folder = LargeFolder().path();
  if (core::LoadDiaryInto(books, kMonth) || core::LoadHoldingsInto(books) || core::LoadPositionsInto(books) ||
      core::LoadStocksInto(books)) {
    state.SkipWithError("cannot read the large folder");
    return;
  }
  core::RecomputeSummary(books);
  const core::LedgerTable month = books.diary;
  const core::DiaryEntry entry = BuyEntry();
  int dayCounter = 0;
  int added = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(core::AddDiaryRow(books, entry, dayCounter));
    if (++added == kAddsBeforeReset) {
      state.PauseTiming();
      books.diary = month;
      added = 0;
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_CoreAdd)->Unit(benchmark::kMicrosecond);

template <typename T>
T* Find(QWidget& window, const char* name) {
  return window.findChild<T*>(QString::fromLatin1(name));
}

// 追加 pressed in the diary with the same trade in the panel; after each add
// the panel shows the new row, so the next press adds the trade again.
void BM_WindowAdd(benchmark::State& state) {
  TFormMain window(LargeFolder().path(), kToday);
  ShowAndSettle(window);
  Find<QRadioButton>(window, "RadioButtonMode1")->click();
  Find<QLineEdit>(window, "MaskEditStockCode")->setText(QString::fromLatin1(StockCode(7).c_str()));
  Find<QLineEdit>(window, "EditStockName")->setText(QStringLiteral("東西商事7"));
  Find<QLineEdit>(window, "EditStockUnit")->setText(QStringLiteral("100"));
  Find<QLineEdit>(window, "EditPrice")->setText(QStringLiteral("1000"));
  Find<QLineEdit>(window, "EditNum")->setText(QStringLiteral("100"));
  QPushButton* add = Find<QPushButton>(window, "ButtonDiaryAdd");
  QCoreApplication::processEvents();
  const core::LedgerTable month = window.books().diary;
  const std::size_t rows = month.size();
  int added = 0;
  for (auto _ : state) {
    add->click();
    if (++added == kAddsBeforeReset) {
      state.PauseTiming();
      if (window.books().diary.size() != rows + kAddsBeforeReset) state.SkipWithError("追加 added no row");
      window.books().diary = month;
      window.ledgersChanged();
      QCoreApplication::processEvents();
      added = 0;
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_WindowAdd)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return tomvik::bench::RunWithRatios(
      argc, argv,
      {{"追加 in the window / the core's add", "BM_WindowAdd", "BM_CoreAdd", 3.0, true},
       {"start-up, large folder / bare window", "BM_StartLargeFolder", "BM_StartBareWindow", 1.6, false},
       {"start-up, empty folder / bare window", "BM_StartEmptyFolder", "BM_StartBareWindow", 1.5, false}});
}
