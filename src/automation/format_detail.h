// Pieces of Format shared by its number and date halves (format.cpp,
// format_number.cpp, format_date.cpp). Not for use outside the runtime.
#pragma once

#include <string>
#include <vector>

#include "automation/variant.h"

namespace automation::detail {

/// The locale the runtime formats for: the Chinese locale (code page 936).
inline constexpr char16_t kDecimalPoint = u'.';
inline constexpr char16_t kThousandsSeparator = u',';
inline constexpr char16_t kDateSeparator = u'/';
inline constexpr char16_t kTimeSeparator = u':';
inline constexpr TextView kCurrencySymbol = u"\uFFE5";  // full-width yen, GBK A3A4
inline constexpr TextView kAm = u"上午";
inline constexpr TextView kPm = u"下午";

/// A pattern's sections, split at ";" outside quotes and escapes.
std::vector<TextView> SplitSections(TextView pattern);

/// True when the section holds a digit placeholder ("0" or "#") outside
/// quotes and escapes: such a section formats a number.
bool HasDigitPlaceholder(TextView section);

/// The decimal digits of a non-negative number rounded to `decimals`
/// places, halves away from zero, taken from its 15-significant-digit decimal
/// form (so 2.675 rounds to 2.68 as it reads, not as it is stored).
struct FixedDigits {
  std::string whole;  // no leading zeros; empty for zero
  std::string frac;   // exactly `decimals` digits
};
FixedDigits ToFixed(double value, int decimals);

/// Digits with the thousands separator every three places.
Text GroupDigits(std::string_view digits);

/// A number through a user pattern of 0 # . , % E+ E- and literal text,
/// with up to four sections (positive; negative; zero; Null).
Text FormatNumberPattern(double value, TextView pattern);

/// A date through a user pattern of d m y q w h n s ttttt c AM/PM AMPM and
/// literal text.
Text FormatDatePattern(Date d, TextView pattern);

/// The locale's long date ("2024年3月5日") and short date ("2024/3/5").
Text LongDateText(Date d);
Text ShortDateText(Date d);

}  // namespace automation::detail
