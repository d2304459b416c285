// Amounts of yen and of shares, and the texts they are written in.
//
// An amount is a signed 64-bit whole number. It has a display form with ","
// every three digits, a stored form without separators, and the empty text
// that means "no value" and counts as 0. Reading never fails: whatever cannot
// be read is 0. Arithmetic on amounts saturates instead of overflowing, so no
// typed figure can cause undefined behaviour.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tomvik::core {

using Amount = std::int64_t;

// Saturating arithmetic: results beyond the 64-bit range stick at its ends.
Amount SatAdd(Amount a, Amount b);
Amount SatSub(Amount a, Amount b);
Amount SatMul(Amount a, Amount b);
Amount SatNeg(Amount a);
// Truncating division; 0 when the divisor is 0.
Amount SafeDiv(Amount a, Amount b);

// The text without any " ", "," or "." (a period is never a decimal point).
std::string StripSeparators(std::string_view text);

// Strips, then reads an optional sign and decimal digits. Anything else,
// an empty text, or a value outside the 64-bit range gives 0.
Amount ParseAmount(std::string_view text);

// Display form: "," every three digits, "-" when negative.
std::string FormatAmount(Amount value);
// Rounds halves away from zero first; saturates outside the 64-bit range.
std::string FormatAmount(double value);

// "" for a text that strips to nothing, else the display form of its value.
std::string NormaliseAmountText(std::string_view text);

// Rate of a holding or position against its base price, two decimals:
// "+4.37%", "-10.00%", "0.00%" (always "0.00%" when base <= 0).
std::string RateText(bool isBuy, Amount base, Amount current);

// Rate of a result against a total, five decimals: "-7.50000%".
// A change against a base of 0 has no rate; it reads kNoRateText.
std::string ChangeRateText(Amount base, Amount change);
inline constexpr std::string_view kNoRateText = "---";

// Which colour shows the sign of a figure.
enum class SignColour { WindowText, Red, Blue };
SignColour SignColourOf(Amount value);

// Modifier keys held at the moment an up-down arrow is pressed.
struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// The factor that the modifiers apply to a step: Shift 10, Ctrl 100, Alt 5,
// combined by multiplication.
Amount StepFactor(KeyModifiers modifiers);

// The new text of an amount field stepped by its up-down arrows: the field's
// value plus step times the modifier factor, never below 0, in display form.
std::string StepAmountText(std::string_view text, Amount step, KeyModifiers modifiers);

// The key filter of the numeric entry fields: control characters and digits
// pass; "-" passes in the initial-setup mode; characters beyond ASCII
// (double-byte and half-width katakana input) pass unfiltered.
bool IsNumericEntryChar(char32_t ch, bool initialSetupMode);

}  // namespace tomvik::core
