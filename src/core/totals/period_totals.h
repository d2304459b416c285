// Period totals: the realised trading result and the cash moved in and out
// of the account, per day or per month, summed from the saved diary month
// files between two dates, with a running total across the whole period.
//
// Only what is on disk counts (unsaved diary changes do not), and a month
// without a file contributes nothing. Days without any effect are not
// listed. With a stock chosen, only that stock's trades count, and the cash
// column collects its charges and taxes instead of cash movements. Sums are
// 64-bit and saturate. Reading stops at a day header whose date is not a
// number, or at a file that is there but cannot be read: the rows made until
// then are kept, and the stop says which file and line.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/records/amount.h"
#include "core/records/date.h"
#include "core/records/ledger_table.h"

namespace tomvik::core {

enum class TotalsPeriod { Daily, Monthly };

struct TotalsQuery {
  Date from;
  Date to;
  TotalsPeriod period = TotalsPeriod::Daily;
  // Four characters; "0000" sums every stock and the cash movements.
  std::string code = "0000";
};

// What one day or one month added up to.
struct TotalsFigures {
  Amount result = 0;  // 売買損益: closing trades and deliveries given
  Amount cash = 0;    // 入出金: cash movements less day charges (with a stock: its charges and taxes)
  Amount balance() const { return SatAdd(result, cash); }
  bool empty() const { return result == 0 && cash == 0; }
};

struct TotalsRow {
  std::string label;  // "2011/03/15(火)", or "2011/03/01～31" for a month
  int dayNumber = 0;  // yyyymmdd of the day, or of the month's first day
  TotalsFigures figures;
  Amount running = 0;  // 累計 after this row
};

// A day with an effect, in either period mode (the calendar shows them).
struct TotalsDay {
  int dayNumber = 0;  // yyyymmdd as the day header gives it
  TotalsFigures figures;
};

// Where the reading stopped early.
struct TotalsStop {
  std::string fileName;  // "201103.txt"
  std::size_t line = 0;  // 1-based line of the unreadable header; 0 when the file could not be read
  std::string text;      // that header line, or the system's reason
};

struct PeriodTotals {
  std::vector<TotalsRow> rows;
  std::vector<TotalsDay> days;
  std::optional<TotalsStop> stop;
};

// Sums the month files of `folder` from query.from to query.to. A start
// after the end gives nothing.
PeriodTotals ComputePeriodTotals(const std::filesystem::path& folder, const TotalsQuery& query);

// Cells of a totals list row.
namespace TotalsCol {
inline constexpr std::size_t Date = 0;       // 日付: the day with its weekday, or the month's span
inline constexpr std::size_t Result = 1;     // 売買損益
inline constexpr std::size_t Cash = 2;       // 入出金
inline constexpr std::size_t Balance = 3;    // 収支 = result + cash
inline constexpr std::size_t Separator = 4;  // always empty
inline constexpr std::size_t Running = 5;    // 累計
inline constexpr std::size_t Count = 6;
}  // namespace TotalsCol

// The rows as the list shows them: figures in display form, in period order.
LedgerTable TotalsTable(const std::vector<TotalsRow>& rows);

// The start-date presets, relative to the end date.
enum class TotalsPreset { Year = 1, Month = 2, Week = 3 };
// 年: 1 January of the end's year; 月: the first of its month; 週: the
// Monday of its week (the end itself when it is a Monday).
Date PresetStart(const Date& end, TotalsPreset preset);
// Monthly totals name whole months: the start moves to the first of its
// month, the end to the last of its month.
std::pair<Date, Date> WholeMonths(const Date& from, const Date& to);

// The date a few days away, across months and years.
Date AddDays(const Date& date, int days);

}  // namespace tomvik::core
