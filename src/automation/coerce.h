// The automation coercions. They follow the rules of the automation
// languages: Empty reads as 0 or empty text, Null where a value is needed
// raises 94, text that is not a number raises 13, a value out of the target's
// range raises 6, and integer targets round halves to even.
#pragma once

#include <optional>

#include "automation/variant.h"

namespace automation {

Text CStr(const Variant& v);
bool CBool(const Variant& v);
uint8_t CByte(const Variant& v);
int16_t CInt(const Variant& v);
int32_t CLng(const Variant& v);
float CSng(const Variant& v);
double CDbl(const Variant& v);
Currency CCur(const Variant& v);
Date CDate(const Variant& v);

/// True when CDbl would succeed on the value (Empty counts, Null and dates
/// do not).
bool IsNumeric(const Variant& v);
/// True when CDate would succeed on a text or the value is a date.
bool IsDate(const Variant& v);

/// Reads a number the way the coercions do: surrounding blanks, a sign,
/// digits with "," thousands separators, "." decimals, an exponent, or an
/// "&H"/"&O" literal. Nothing else may follow.
std::optional<double> ParseNumber(TextView text);

/// The leading number of a text, as Val() reads it (blanks inside are
/// skipped; reading stops at the first character that cannot continue it).
double Val(TextView text);

/// Text form of numbers, as CStr gives them.
Text DoubleToText(double d);  // at most 15 significant digits
Text SingleToText(float f);   // at most 7 significant digits
Text CurrencyToText(Currency c);
Text LongToText(int64_t n);

/// Half-to-even rounding to a whole number.
double RoundHalfEven(double x);

Currency CurrencyFromDouble(double d);  // raises 6 out of range
double CurrencyToDouble(Currency c);

}  // namespace automation
