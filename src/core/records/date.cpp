#include "core/records/date.h"

#include <cstdio>

namespace tomvik::core {

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

int WeekdayOf(const Date& date) {
  static constexpr int kOffsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int y = date.year;
  if (date.month < 3) y -= 1;
  const int m = date.month >= 1 && date.month <= 12 ? date.month : 1;
  const int w = (y + y / 4 - y / 100 + y / 400 + kOffsets[m - 1] + date.day) % 7;
  return w < 0 ? w + 7 : w;
}

std::string DateText(const Date& date) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", date.year, date.month, date.day);
  return buffer;
}

std::optional<Date> ParseDateText(std::string_view text) {
  if (text.size() != 10 || text[4] != '/' || text[7] != '/') return std::nullopt;
  auto digits = [&](std::size_t from, std::size_t count) -> std::optional<int> {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
      if (text[i] < '0' || text[i] > '9') return std::nullopt;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  const auto y = digits(0, 4);
  const auto m = digits(5, 2);
  const auto d = digits(8, 2);
  if (!y || !m || !d) return std::nullopt;
  if (*m < 1 || *m > 12 || *d < 1 || *d > DaysInMonth(*y, *m)) return std::nullopt;
  return Date{*y, *m, *d};
}

}  // namespace tomvik::core
