#include "core/records/amount.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tomvik::core {
namespace {

constexpr Amount kMax = std::numeric_limits<Amount>::max();
constexpr Amount kMin = std::numeric_limits<Amount>::min();

// Writes |value| in fixed notation with exactly `decimals` decimals, rounded
// half away from zero to at most `maxSignificant` significant digits and to
// the decimals. The sign is not written; `isZero` tells whether the rounded
// result is zero.
std::string FixedDigits(double value, int decimals, int maxSignificant, bool* isZero) {
  *isZero = true;
  const double magnitude = std::fabs(value);
  if (!std::isfinite(magnitude)) {
    return "0." + std::string(static_cast<std::size_t>(decimals), '0');
  }
  std::string digits(1, '0');
  int exponent = 0;  // value = 0.d1d2d3... x 10^exponent
  if (magnitude != 0.0) {
    // 17 significant digits identify a double exactly.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.16e", magnitude);
    const char* e = buffer;
    while (*e != 'e') ++e;
    digits.clear();
    for (const char* p = buffer; p != e; ++p) {
      if (*p >= '0' && *p <= '9') digits.push_back(*p);
    }
    exponent = std::atoi(e + 1) + 1;
  }
  // Keep as many digits as both limits allow; round the rest away.
  int keep = std::min(maxSignificant, exponent + decimals);
  if (magnitude != 0.0 && keep < static_cast<int>(digits.size())) {
    const bool roundUp = keep >= 0 && digits[static_cast<std::size_t>(keep)] >= '5';
    if (keep < 0) {
      digits = "0";
      exponent = 1;
    } else {
      digits.resize(static_cast<std::size_t>(keep));
      if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
          digits[static_cast<std::size_t>(i)] = '0';
          --i;
        }
        if (i >= 0) {
          ++digits[static_cast<std::size_t>(i)];
        } else {
          digits.insert(digits.begin(), '1');
          ++exponent;
        }
      }
      if (digits.empty()) {
        digits = "0";
        exponent = 1;
      }
    }
  }
  // Lay the digits out around the decimal point.
  std::string integerPart;
  std::string fraction;
  for (int i = 0; i < exponent; ++i) {
    integerPart.push_back(i < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(i)] : '0');
  }
  if (integerPart.empty()) integerPart = "0";
  for (int i = 0; i < decimals; ++i) {
    const int digitIndex = exponent + i;
    fraction.push_back(digitIndex >= 0 && digitIndex < static_cast<int>(digits.size())
                           ? digits[static_cast<std::size_t>(digitIndex)]
                           : '0');
  }
  for (char c : integerPart + fraction) {
    if (c != '0') *isZero = false;
  }
  return decimals > 0 ? integerPart + "." + fraction : integerPart;
}

std::string SignedFixed(double value, int decimals, bool plusWhenPositive) {
  bool isZero = true;
  const std::string body = FixedDigits(value, decimals, 7, &isZero);
  // A gain too small to show keeps its "+" ("+0.00%"); a loss that rounds
  // to nothing shows no sign.
  if (plusWhenPositive && value > 0) return "+" + body;
  if (isZero || value >= 0) return body;
  return "-" + body;
}

}  // namespace

Amount SatAdd(Amount a, Amount b) {
  Amount result = 0;
  if (__builtin_add_overflow(a, b, &result)) return b > 0 ? kMax : kMin;
  return result;
}

Amount SatSub(Amount a, Amount b) {
  Amount result = 0;
  if (__builtin_sub_overflow(a, b, &result)) return b < 0 ? kMax : kMin;
  return result;
}

Amount SatMul(Amount a, Amount b) {
  Amount result = 0;
  if (__builtin_mul_overflow(a, b, &result)) return ((a < 0) != (b < 0)) ? kMin : kMax;
  return result;
}

Amount SatNeg(Amount a) { return a == kMin ? kMax : -a; }

Amount SafeDiv(Amount a, Amount b) {
  if (b == 0) return 0;
  if (a == kMin && b == -1) return kMax;
  return a / b;
}

std::string StripSeparators(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != ',' && c != '.') out.push_back(c);
  }
  return out;
}

Amount ParseAmount(std::string_view text) {
  const std::string s = StripSeparators(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  if (i == s.size()) return 0;
  // Accumulate as a negative number, which reaches the full range of int64.
  Amount value = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c < '0' || c > '9') return 0;
    if (__builtin_mul_overflow(value, Amount{10}, &value)) return 0;
    if (__builtin_sub_overflow(value, Amount{c - '0'}, &value)) return 0;
  }
  if (negative) return value;
  if (value == kMin) return 0;
  return -value;
}

std::string FormatAmount(Amount value) {
  // Work on the magnitude as unsigned so that the minimum has one too.
  std::uint64_t magnitude =
      value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string reversed;
  int count = 0;
  do {
    if (count > 0 && count % 3 == 0) reversed.push_back(',');
    reversed.push_back(static_cast<char>('0' + magnitude % 10));
    magnitude /= 10;
    ++count;
  } while (magnitude != 0);
  if (value < 0) reversed.push_back('-');
  return std::string(reversed.rbegin(), reversed.rend());
}

std::string FormatAmount(double value) {
  if (std::isnan(value)) return "0";
  const double rounded = std::round(value);  // halves away from zero
  if (rounded >= 9.2233720368547758e18) return FormatAmount(kMax);
  if (rounded <= -9.2233720368547758e18) return FormatAmount(kMin);
  return FormatAmount(static_cast<Amount>(rounded));
}

std::string NormaliseAmountText(std::string_view text) {
  const std::string stripped = StripSeparators(text);
  if (stripped.empty()) return std::string();
  return FormatAmount(ParseAmount(stripped));
}

std::string RateText(bool isBuy, Amount base, Amount current) {
  if (base <= 0) return "0.00%";
  const Amount diff = isBuy ? SatSub(current, base) : SatSub(base, current);
  if (diff == 0) return "0.00%";
  const double value = static_cast<double>(diff) * 100.0 / static_cast<double>(base);
  return SignedFixed(value, 2, diff > 0) + "%";
}

std::string ChangeRateText(Amount base, Amount change) {
  if (change == 0) return "0.00000%";
  if (base == 0) return std::string(kNoRateText);
  const double value = static_cast<double>(change) * 100.0 / static_cast<double>(base);
  return SignedFixed(value, 5, change > 0) + "%";
}

SignColour SignColourOf(Amount value) {
  if (value < 0) return SignColour::Red;
  if (value > 0) return SignColour::Blue;
  return SignColour::WindowText;
}

Amount StepFactor(KeyModifiers modifiers) {
  Amount factor = 1;
  if (modifiers.shift) factor *= 10;
  if (modifiers.ctrl) factor *= 100;
  if (modifiers.alt) factor *= 5;
  return factor;
}

std::string StepAmountText(std::string_view text, Amount step, KeyModifiers modifiers) {
  Amount value = SatAdd(ParseAmount(text), SatMul(step, StepFactor(modifiers)));
  if (value < 0) value = 0;
  return FormatAmount(value);
}

bool IsNumericEntryChar(char32_t ch, bool initialSetupMode) {
  if (ch < 0x20) return true;
  if (ch >= U'0' && ch <= U'9') return true;
  if (ch == U'-') return initialSetupMode;
  return ch >= 0x80;
}

}  // namespace tomvik::core
