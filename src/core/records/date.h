// Calendar dates and their "yyyy/mm/dd" texts, without any locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tomvik::core {

struct Date {
  int year = 2000;
  int month = 1;
  int day = 1;

  friend bool operator==(const Date&, const Date&) = default;
};

// 0 for Sunday to 6 for Saturday (proleptic Gregorian calendar).
int WeekdayOf(const Date& date);
// "2011/03/15".
std::string DateText(const Date& date);
// Reads "yyyy/mm/dd"; nothing for any other text or an impossible date.
std::optional<Date> ParseDateText(std::string_view text);
int DaysInMonth(int year, int month);

}  // namespace tomvik::core
