// The VB-style runtime the component's procedures lean on: string, number
// and date functions with the automation languages' rules. Positions are
// 1-based and count 16-bit units; a bad argument raises 5 (invalid
// procedure call), a value out of range 6, as those languages do.
//
/// Example: Mid(u"运动会2024", 4, 2) == u"20".
#pragma once

#include <optional>
#include <vector>

#include "automation/clock.h"
#include "automation/coerce.h"
#include "automation/datetime.h"
#include "automation/error.h"

namespace automation {

enum class Compare { Binary = 0, Text = 1 };

// ---- strings (runtime_string.cpp) ----

inline int32_t Len(TextView s) { return static_cast<int32_t>(s.size()); }
/// Mid(s, start[, length]): start < 1 or length < 0 raise 5.
Text Mid(TextView s, int32_t start, std::optional<int32_t> length = std::nullopt);
/// Left/Right: n < 0 raises 5.
Text Left(TextView s, int32_t n);
Text Right(TextView s, int32_t n);
/// Position of `find` in `s` from `start` (1-based), 0 when absent; an empty
/// `find` gives `start` (0 when start is past the end + 1); start < 1 raises 5.
int32_t InStr(TextView s, TextView find, int32_t start = 1, Compare cmp = Compare::Binary);
/// Searching backwards from `start` (-1: the end).
int32_t InStrRev(TextView s, TextView find, int32_t start = -1, Compare cmp = Compare::Binary);
/// Replace(expression, find, with[, start[, count]]): the result begins at
/// `start`, as the runtime's does; count -1 replaces all.
Text Replace(TextView s, TextView find, TextView with, int32_t start = 1, int32_t count = -1,
             Compare cmp = Compare::Binary);
/// Split of an empty text is an empty list; an empty delimiter gives the
/// whole text as the one item.
std::vector<Text> Split(TextView s, TextView delimiter = u" ", int32_t limit = -1,
                        Compare cmp = Compare::Binary);
Text Join(const std::vector<Text>& items, TextView delimiter = u" ");
/// The Trim family removes spaces (U+0020) only.
Text Trim(TextView s);
Text LTrim(TextView s);
Text RTrim(TextView s);
Text UCase(TextView s);
Text LCase(TextView s);
Text Space(int32_t n);
Text String(int32_t n, char16_t c);
Text StrReverse(TextView s);
/// -1, 0 or 1; text comparison ignores case.
int StrComp(TextView a, TextView b, Compare cmp = Compare::Binary);
/// Code page 936 code of the first character as a signed 16-bit number
/// (GbkCodeValue); an empty text raises 5.
int32_t Asc(TextView s);
/// The first unit as a signed 16-bit number; an empty text raises 5.
int32_t AscW(TextView s);
/// The character of a code page 936 code (0-255 one byte, else lead*256+trail,
/// negative numbers read as 16-bit); outside -32768..65535 raises 5.
Text Chr(int32_t code);
/// The character of a unit value, -32768..65535 (else 5).
Text ChrW(int32_t code);

// ---- numbers (runtime_number.cpp) ----

/// Int rounds down, Fix toward zero.
double Int(double x);
double Fix(double x);
/// Round to `digits` decimals, halves to even; digits < 0 raises 5.
double Round(double x, int32_t digits = 0);
/// Hexadecimal/octal digits of a whole number: Integer-sized negatives give
/// 4 (hex) digits, others 8; Null gives Null; the value is rounded first.
Variant Hex(const Variant& v);
Variant Oct(const Variant& v);
double Abs(double x);
int Sgn(double x);

// ---- dates (runtime_date.cpp) ----

int Year(Date d);
int Month(Date d);
int Day(Date d);
int Hour(Date d);
int Minute(Date d);
int Second(Date d);
/// 1 = Sunday ... 7 = Saturday with the default first day (1 = Sunday).
int Weekday(Date d, int first_day = 1);
/// Builds a date, rolling months and days over (DateSerial(2024, 13, 1) is
/// 2025-01-01); raises 5 outside the date range.
Date DateSerial(int32_t year, int32_t month, int32_t day);
Date TimeSerial(int32_t hour, int32_t minute, int32_t second);
/// The date part only (whole days).
Date DateValue(Date d);
/// Intervals: "yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s"; any other
/// raises 5.
Date DateAdd(TextView interval, double number, Date d);
int64_t DateDiff(TextView interval, Date d1, Date d2, int first_day = 1);

// ---- Format (format.cpp) ----

/// Format(value, pattern) for the patterns the component uses: named forms
/// ("General Number", "Fixed", "Standard", "Percent", "Short Date",
/// "Long Date", "Short Time", "Long Time", "General Date"), numeric patterns
/// of 0 # . , % and literal text, and date patterns of yyyy yy m mm mmm d dd
/// h hh n nn s ss ampm and literal text.
Text Format(const Variant& value, TextView pattern = u"");

}  // namespace automation
