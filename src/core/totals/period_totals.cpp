#include "core/totals/period_totals.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "core/records/atomic_file.h"
#include "core/records/cp932_literals.h"
#include "core/records/text_lines.h"
#include "core/totals/line_scanner.h"

namespace tomvik::core {
namespace {

// "～" between a month's first day and its last.
constexpr std::string_view kSpan = "\x81\x60";

// A day header: "[", the date and its weekday (fourteen bytes), "]", one
// blank, then the day's flat charge, perhaps followed by "(counter)".
constexpr std::size_t kHeaderDateFrom = 1;
constexpr std::size_t kHeaderDateLength = 10;
constexpr std::size_t kHeaderLabelLength = 14;
constexpr std::size_t kHeaderChargeFrom = 17;

int DayNumber(const Date& date) { return date.year * 10000 + date.month * 100 + date.day; }

// The header's date without its "/" as a number; nothing when it is not one.
std::optional<long long> HeaderDayNumber(std::string_view line) {
  long long value = 0;
  int digits = 0;
  for (const char c : Mid(line, kHeaderDateFrom, kHeaderDateLength)) {
    if (c == '/') continue;
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');  // ten characters at most: no overflow
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  return value;
}

// The header's flat charge: what follows the bracketed date and its blank,
// up to a "(" that opens the day counter.
Amount HeaderCharge(std::string_view line) {
  std::string_view rest = From(line, kHeaderChargeFrom);
  const auto paren = rest.find('(');
  if (paren != std::string_view::npos) rest = rest.substr(0, paren);
  return ParseAmount(rest);
}

// The positions of the line's first commas, at most `kMaxCommas`.
constexpr std::size_t kMaxCommas = 8;
std::size_t FindCommas(std::string_view line, std::size_t (&at)[kMaxCommas]) {
  std::size_t found = 0;
  std::size_t from = 0;
#if defined(__SSE2__)
  for (; from + 16 <= line.size(); from += 16) {
    for (unsigned mask = MatchMask16(line.data() + from, ',', ','); mask != 0; mask &= mask - 1) {
      at[found++] = from + static_cast<std::size_t>(__builtin_ctz(mask));
      if (found == kMaxCommas) return found;
    }
  }
#endif
  for (; from < line.size(); ++from) {
    if (line[from] != ',') continue;
    at[found++] = from;
    if (found == kMaxCommas) break;
  }
  return found;
}

// An amount field. Stored amounts are plain digits with perhaps a "-"; those
// are read here directly, anything else the long way with its rules.
Amount ReadAmount(std::string_view text) {
  constexpr std::size_t kSafeDigits = 18;
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view digits = negative ? text.substr(1) : text;
  if (text.empty()) return 0;
  if (digits.empty() || digits.size() > kSafeDigits) return ParseAmount(text);
  Amount value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return ParseAmount(text);
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

// The fields of a trade line that the totals read: the stock code, then
// (after stock, exchange, unit price and quantity) charge, tax and amount,
// and the cost as the rest of the line.
struct TradeFields {
  std::string_view code;
  std::string_view charge;
  std::string_view tax;
  std::string_view amount;
  std::string_view cost;
};

// Each field runs up to its ","; a line short of commas has empty fields
// where they run out, and its rest after the last "," is the cost, as the
// diary reads it.
TradeFields SplitTradeLine(std::string_view line) {
  std::size_t commas[kMaxCommas];
  const std::size_t count = FindCommas(line, commas);
  // Field k (1 stock ... 7 amount) lies between commas k-1 and k.
  auto field = [&](std::size_t k) {
    return k < count ? line.substr(commas[k - 1] + 1, commas[k] - commas[k - 1] - 1) : std::string_view();
  };
  TradeFields f;
  f.code = Head(count > 0 ? line.substr(commas[0] + 1) : line, 4);
  f.charge = field(5);
  f.tax = field(6);
  f.amount = field(7);
  f.cost = count > 0 ? line.substr(commas[count - 1] + 1) : line;
  return f;
}

// What a trade line adds to the day. The line is split only when it counts.
TotalsFigures CountTradeLine(std::string_view line, std::string_view code, bool byStock) {
  TotalsFigures add;
  const char sign = line.front();
  const std::string_view kind = Mid(line, 1, 2);
  if (sign == '*') {
    // Cash movements belong to no stock.
    if (byStock) return add;
    const TradeFields f = SplitTradeLine(line);
    const Amount moved = SatAdd(SatAdd(ReadAmount(f.charge), ReadAmount(f.tax)), ReadAmount(f.amount));
    add.cash = kind == sjis::kIn ? moved : SatNeg(moved);
    return add;
  }
  const bool closing = kind == sjis::kClose || kind == sjis::kRepay;
  const bool delivery = kind == sjis::kDelivery;
  const bool opening = kind == sjis::kBuy || kind == sjis::kSell || kind == sjis::kMargin;
  const bool buySide = sign == '-';
  const bool realises = closing || (delivery && !buySide);
  // Plans and registrations count nothing; openings only their charges.
  if (!closing && !delivery && !opening) return add;
  if (!byStock && !realises) return add;
  const TradeFields f = SplitTradeLine(line);
  if (byStock && f.code != code) return add;
  if (realises) {
    const Amount amount = ReadAmount(f.amount);
    const Amount cost = ReadAmount(f.cost);
    add.result = buySide ? SatSub(cost, amount) : SatSub(amount, cost);
  }
  if (byStock) add.cash = SatAdd(ReadAmount(f.charge), ReadAmount(f.tax));
  return add;
}

void Accumulate(TotalsFigures& into, const TotalsFigures& add) {
  into.result = SatAdd(into.result, add.result);
  into.cash = SatAdd(into.cash, add.cash);
}

std::string MonthFileName(int month) {
  char name[32];
  std::snprintf(name, sizeof name, "%06d.txt", month);
  return name;
}

std::string MonthLabel(int month) {
  const int year = month / 100;
  const int mon = month % 100;
  char label[32];
  std::snprintf(label, sizeof label, "%04d/%02d/01", year, mon);
  char last[8];
  std::snprintf(last, sizeof last, "%02d", DaysInMonth(year, mon));
  return std::string(label) + std::string(kSpan) + last;
}

// One computation: the rows so far and the running total.
class TotalsRun {
 public:
  TotalsRun(const TotalsQuery& query, PeriodTotals& out)
      : query_(query),
        out_(out),
        byStock_(query.code != "0000"),
        daily_(query.period == TotalsPeriod::Daily),
        end_(DayNumber(query.to)) {}

  // Sums one month's file from day number `start` on; false when it stopped
  // at an unreadable header.
  bool readMonth(int month, int start, std::string_view bytes) {
    TotalsFigures monthSum;
    bool beforeStart = true;
    LineScanner lines(bytes);
    std::string_view line;
    while (lines.next(line)) {
      if (line.empty() || line.front() == ' ') continue;
      if (line.front() == '[') {
        const std::optional<long long> day = HeaderDayNumber(line);
        if (!day) {
          if (!beforeStart) closeDay();
          out_.stop = TotalsStop{MonthFileName(month), lines.number(), std::string(line)};
          return false;
        }
        if (*day > end_) break;
        if (beforeStart) {
          if (*day < start) continue;
          beforeStart = false;
        } else {
          closeDay();
        }
        dayNumber_ = static_cast<int>(*day);
        dayLabel_ = std::string(Mid(line, kHeaderDateFrom, kHeaderLabelLength));
        if (!byStock_) {
          const TotalsFigures charge{0, SatNeg(HeaderCharge(line))};
          Accumulate(day_, charge);
          Accumulate(monthSum, charge);
        }
        continue;
      }
      if (beforeStart) continue;
      const TotalsFigures add = CountTradeLine(line, query_.code, byStock_);
      if (add.empty()) continue;
      Accumulate(day_, add);
      Accumulate(monthSum, add);
    }
    if (beforeStart) return true;
    closeDay();
    if (!daily_ && !monthSum.empty()) addRow(MonthLabel(month), month * 100 + 1, monthSum);
    return true;
  }

 private:
  void closeDay() {
    if (!day_.empty()) {
      out_.days.push_back({dayNumber_, day_});
      if (daily_) addRow(std::move(dayLabel_), dayNumber_, day_);
    }
    day_ = {};
  }

  void addRow(std::string label, int dayNumber, const TotalsFigures& figures) {
    running_ = SatAdd(running_, figures.balance());
    out_.rows.push_back({std::move(label), dayNumber, figures, running_});
  }

  const TotalsQuery& query_;
  PeriodTotals& out_;
  const bool byStock_;
  const bool daily_;
  const int end_;
  Amount running_ = 0;
  TotalsFigures day_;
  int dayNumber_ = 0;
  std::string dayLabel_;
};

int DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

Date CivilFromDays(int z) {
  z += 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  const int d = doy - (153 * mp + 2) / 5 + 1;
  const int m = mp < 10 ? mp + 3 : mp - 9;
  return Date{yoe + era * 400 + (m <= 2), m, d};
}

}  // namespace

PeriodTotals ComputePeriodTotals(const std::filesystem::path& folder, const TotalsQuery& query) {
  PeriodTotals out;
  const int end = DayNumber(query.to);
  int start = DayNumber(query.from);
  if (start > end) return out;
  // Room for a row a day, up to a few decades: growing the lists row by row
  // would cost as much as reading the files.
  constexpr int kReservedDays = 10'000;
  const auto days =
      static_cast<std::size_t>(std::clamp(DaysFromCivil(query.to.year, query.to.month, query.to.day) -
                                              DaysFromCivil(query.from.year, query.from.month, query.from.day) + 1,
                                          1, kReservedDays));
  out.days.reserve(days);
  if (query.period == TotalsPeriod::Daily) out.rows.reserve(days);
  TotalsRun run(query, out);
  int month = start / 100;
  while (start <= end) {
    const std::string name = MonthFileName(month);
    const FileContent file = ReadWholeFile(folder / name);
    if (file.status == ReadStatus::Failed) {
      // A month that is there but cannot be read must not pass for an empty one.
      out.stop = TotalsStop{name, 0, file.error ? file.error->reason : std::string()};
      return out;
    }
    if (file.status == ReadStatus::Loaded && !run.readMonth(month, start, file.bytes)) return out;
    month += 1;
    if (month % 100 == 13) month += 88;  // December to the next January
    start = month * 100;                 // day 00: every day of the month is at or after it
  }
  return out;
}

LedgerTable TotalsTable(const std::vector<TotalsRow>& rows) {
  LedgerTable table;
  std::size_t sequence = 0;
  for (const TotalsRow& row : rows) {
    char key[24];
    std::snprintf(key, sizeof key, "%08zu", sequence++);
    LedgerRow out;
    out.key = key;
    out.cells.resize(TotalsCol::Count);
    out.cells[TotalsCol::Date] = row.label;
    out.cells[TotalsCol::Result] = FormatAmount(row.figures.result);
    out.cells[TotalsCol::Cash] = FormatAmount(row.figures.cash);
    out.cells[TotalsCol::Balance] = FormatAmount(row.figures.balance());
    out.cells[TotalsCol::Running] = FormatAmount(row.running);
    table.insert(std::move(out));
  }
  return table;
}

Date AddDays(const Date& date, int days) {
  return CivilFromDays(DaysFromCivil(date.year, date.month, date.day) + days);
}

Date PresetStart(const Date& end, TotalsPreset preset) {
  switch (preset) {
    case TotalsPreset::Year: return Date{end.year, 1, 1};
    case TotalsPreset::Month: return Date{end.year, end.month, 1};
    case TotalsPreset::Week: break;
  }
  // WeekdayOf counts from Sunday = 0; the week starts on Monday.
  const int isoWeekday = WeekdayOf(end) == 0 ? 7 : WeekdayOf(end);
  return AddDays(end, 1 - isoWeekday);
}

std::pair<Date, Date> WholeMonths(const Date& from, const Date& to) {
  return {Date{from.year, from.month, 1}, Date{to.year, to.month, DaysInMonth(to.year, to.month)}};
}

}  // namespace tomvik::core
