#include "core/records/amount.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace tomvik::core {
namespace {

constexpr Amount kMax = std::numeric_limits<Amount>::max();
constexpr Amount kMin = std::numeric_limits<Amount>::min();

TEST(Amount, NormaliseAmountTextGivesEmptyOrDisplayForm) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""},
      {"   ", ""},
      {"1,234,567", "1,234,567"},
      {"1234.5", "12,345"},
      {"+12", "12"},
      {"-1234", "-1,234"},
      {"12a", "0"},
      {"abc", "0"},
      {"-0", "0"},
      {"1234", "1,234"},
      {" 1 2 3 ", "123"},
      {"-", "0"},
      {"+-1", "0"},
      {"999", "999"},
      {"1000", "1,000"},
      {"-5000", "-5,000"},
      {"\x82\x50", "0"},  // a full-width digit is not a digit
  };
  for (const auto& c : cases) EXPECT_EQ(NormaliseAmountText(c.in), c.out) << '"' << c.in << '"';
}

TEST(Amount, ParseAmountReadsTheWhole64BitRangeAndNothingBeyond) {
  EXPECT_EQ(ParseAmount("9223372036854775807"), kMax);
  EXPECT_EQ(ParseAmount("9,223,372,036,854,775,807"), kMax);
  EXPECT_EQ(ParseAmount("9223372036854775808"), 0);
  EXPECT_EQ(ParseAmount("-9223372036854775808"), kMin);
  EXPECT_EQ(ParseAmount("-9223372036854775809"), 0);
  EXPECT_EQ(ParseAmount("123456789012345678901234567890"), 0);
  EXPECT_EQ(ParseAmount(""), 0);
  EXPECT_EQ(ParseAmount("1.5"), 15);
  EXPECT_EQ(ParseAmount("+42"), 42);
  EXPECT_EQ(ParseAmount("4 2"), 42);
  EXPECT_EQ(ParseAmount("0x10"), 0);
  EXPECT_EQ(ParseAmount("1e3"), 0);
}

TEST(Amount, FormatAmountWritesSeparatorsAndRoundsHalvesAwayFromZero) {
  EXPECT_EQ(FormatAmount(Amount{0}), "0");
  EXPECT_EQ(FormatAmount(Amount{-5000}), "-5,000");
  EXPECT_EQ(FormatAmount(Amount{100000}), "100,000");
  EXPECT_EQ(FormatAmount(kMax), "9,223,372,036,854,775,807");
  EXPECT_EQ(FormatAmount(kMin), "-9,223,372,036,854,775,808");
  EXPECT_EQ(FormatAmount(2.5), "3");
  EXPECT_EQ(FormatAmount(-2.5), "-3");
  EXPECT_EQ(FormatAmount(1234.4), "1,234");
  EXPECT_EQ(FormatAmount(1e30), FormatAmount(kMax));
  EXPECT_EQ(FormatAmount(-1e30), FormatAmount(kMin));
  EXPECT_EQ(StripSeparators("1, 2.3,4"), "1234");
}

TEST(Amount, ArithmeticSaturatesAtTheEndsOfTheRange) {
  EXPECT_EQ(SatAdd(kMax, 1), kMax);
  EXPECT_EQ(SatAdd(kMin, -1), kMin);
  EXPECT_EQ(SatAdd(2, 3), 5);
  EXPECT_EQ(SatSub(kMin, 1), kMin);
  EXPECT_EQ(SatSub(kMax, -1), kMax);
  EXPECT_EQ(SatMul(kMax, 2), kMax);
  EXPECT_EQ(SatMul(kMax, -2), kMin);
  EXPECT_EQ(SatMul(kMin, -1), kMax);
  EXPECT_EQ(SatMul(-3, 4), -12);
  EXPECT_EQ(SatNeg(kMin), kMax);
  EXPECT_EQ(SafeDiv(7, 0), 0);
  EXPECT_EQ(SafeDiv(kMin, -1), kMax);
  EXPECT_EQ(SafeDiv(-7, 2), -3);  // truncates toward zero
}

TEST(Amount, RateTextHasTwoDecimalsAndIsZeroWithoutABase) {
  const struct {
    bool isBuy;
    Amount base;
    Amount current;
    const char* text;
  } cases[] = {
      {true, 1000, 1100, "+10.00%"},
      {true, 1000, 900, "-10.00%"},
      {false, 1000, 900, "+10.00%"},
      {false, 1000, 1100, "-10.00%"},
      {true, 3, 4, "+33.33%"},
      {true, 3, 2, "-33.33%"},
      {true, 1000, 1000, "0.00%"},
      {true, 4120, 4300, "+4.37%"},
      {false, 4300, 4100, "+4.65%"},
      {true, 8, 9, "+12.50%"},
      {true, 0, 100, "0.00%"},
      {false, 0, 0, "0.00%"},
      {true, -5, 100, "0.00%"},
      {true, 3, 100000, "+3333233.00%"},  // seven significant digits at most
      // A gain too small to show keeps its "+"; a loss that small shows no sign.
      {true, 100000000, 100000001, "+0.00%"},
      {true, 100000001, 100000000, "0.00%"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RateText(c.isBuy, c.base, c.current), c.text) << c.isBuy << " " << c.base << " " << c.current;
  }
}

TEST(Amount, ChangeRateTextHasFiveDecimalsAndNoRateAgainstZero) {
  EXPECT_EQ(ChangeRateText(200000, -15000), "-7.50000%");
  EXPECT_EQ(ChangeRateText(763050, -334100), "-43.78481%");
  EXPECT_EQ(ChangeRateText(1000, 500), "+50.00000%");
  EXPECT_EQ(ChangeRateText(3, 1), "+33.33333%");
  EXPECT_EQ(ChangeRateText(400000, -400000), "-100.00000%");
  EXPECT_EQ(ChangeRateText(5, 0), "0.00000%");
  EXPECT_EQ(ChangeRateText(0, 0), "0.00000%");
  EXPECT_EQ(ChangeRateText(1'000'000'000'000, 1), "+0.00000%");
  EXPECT_EQ(ChangeRateText(1'000'000'000'000, -1), "0.00000%");
  EXPECT_EQ(ChangeRateText(0, 1248425), kNoRateText);
  EXPECT_EQ(ChangeRateText(0, -5), kNoRateText);
  EXPECT_EQ(kNoRateText, "---");
}

TEST(Amount, SignColourLooksAtTheFull64BitValue) {
  EXPECT_EQ(SignColourOf(-1), SignColour::Red);
  EXPECT_EQ(SignColourOf(0), SignColour::WindowText);
  EXPECT_EQ(SignColourOf(1), SignColour::Blue);
  EXPECT_EQ(SignColourOf(kMin), SignColour::Red);
  EXPECT_EQ(SignColourOf(Amount{1} << 32), SignColour::Blue);  // its low 32 bits are 0
}

TEST(Amount, StepFactorsCombineByMultiplication) {
  const struct {
    KeyModifiers modifiers;
    Amount factor;
  } cases[] = {
      {{false, false, false}, 1},  {{true, false, false}, 10}, {{false, true, false}, 100}, {{false, false, true}, 5},
      {{true, true, false}, 1000}, {{true, false, true}, 50},  {{false, true, true}, 500},  {{true, true, true}, 5000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StepFactor(c.modifiers), c.factor);
    EXPECT_EQ(StepAmountText("0", 1, c.modifiers), FormatAmount(c.factor));
  }
}

TEST(Amount, StepAmountTextNeverGoesBelowZero) {
  const KeyModifiers none;
  const KeyModifiers shift{true, false, false};
  EXPECT_EQ(StepAmountText("1,995", 1, shift), "2,005");
  EXPECT_EQ(StepAmountText("0", -1, none), "0");
  EXPECT_EQ(StepAmountText("10", -100, none), "0");
  EXPECT_EQ(StepAmountText("1,000", -1, shift), "990");
  EXPECT_EQ(StepAmountText("", 1, none), "1");
  EXPECT_EQ(StepAmountText("abc", 1, none), "1");
  EXPECT_EQ(StepAmountText("-50", 1, none), "0");
  EXPECT_EQ(StepAmountText("9223372036854775807", 1, {true, true, true}), FormatAmount(kMax));
}

TEST(Amount, NumericEntryFilterPassesDigitsControlsAndDoubleByteInput) {
  for (char32_t c : {U'0', U'5', U'9', U'\b', U'\r', char32_t{0x1F}, char32_t{0x80}, char32_t{0xFF}, U'\u30A2'}) {
    EXPECT_TRUE(IsNumericEntryChar(c, false)) << static_cast<unsigned>(c);
  }
  for (char32_t c : {U' ', U'a', U'.', U',', U'+', U'-', char32_t{0x7F}}) {
    EXPECT_FALSE(IsNumericEntryChar(c, false)) << static_cast<unsigned>(c);
  }
  EXPECT_TRUE(IsNumericEntryChar(U'-', true));
  EXPECT_FALSE(IsNumericEntryChar(U'+', true));
}

}  // namespace
}  // namespace tomvik::core
