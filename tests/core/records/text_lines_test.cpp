#include "core/records/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/records/date.h"

namespace tomvik::core {
namespace {

using Lines = std::vector<std::string>;

TEST(TextLines, SplitLinesBreaksAtCrLfCrOrLf) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitLines("\n\r"), (Lines{"", ""}));  // LF, then a lone CR: two line breaks
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines(" \r\n"), (Lines{" "}));
  EXPECT_EQ(JoinLinesCrLf({"a", "", " "}), "a\r\n\r\n \r\n");
  EXPECT_EQ(JoinLinesCrLf({}), "");
}

TEST(TextLines, TakeCommaFieldLeavesTheRestWholeWithoutAComma) {
  std::string_view rest = "a,,b";
  EXPECT_EQ(TakeCommaField(rest), "a");
  EXPECT_EQ(TakeCommaField(rest), "");
  EXPECT_EQ(rest, "b");
  EXPECT_EQ(TakeCommaField(rest), "");
  EXPECT_EQ(rest, "b");
  EXPECT_EQ(Head("abc", 5), "abc");
  EXPECT_EQ(From("abc", 5), "");
  EXPECT_EQ(Mid("abcdef", 4, 5), "ef");
}

TEST(Date, TextsAndWeekdays) {
  EXPECT_EQ(DateText({2011, 3, 5}), "2011/03/05");
  EXPECT_EQ(WeekdayOf({2011, 3, 15}), 2);  // Tuesday
  EXPECT_EQ(WeekdayOf({2000, 1, 1}), 6);   // Saturday
  EXPECT_EQ(WeekdayOf({2024, 2, 29}), 4);  // Thursday
  EXPECT_EQ(ParseDateText("2012/02/29"), (Date{2012, 2, 29}));
  for (std::string_view bad : {"2011/02/29", "2011/3/15", "2011-03-15", "2011/13/01", "2011/03/00", "", "abcd/ef/gh"}) {
    EXPECT_FALSE(ParseDateText(bad).has_value()) << bad;
  }
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2011, 4), 30);
}

}  // namespace
}  // namespace tomvik::core
