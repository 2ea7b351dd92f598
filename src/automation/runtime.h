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
/// `find` gives `start` (0 when start is past the end + 1, and 0 in an empty
/// `s`); start < 1 raises 5. Text comparison ignores the case of Latin,
/// Greek, Cyrillic and full-width letters.
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
/// Trim without a copy: the part of `s` between its leading and trailing spaces.
TextView TrimmedView(TextView s);
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

/// Int rounds down, Fix toward zero: Int(-2.5) == -3, Fix(-2.5) == -2.
double Int(double x);
double Fix(double x);
/// Round to `digits` decimals, halves to even on the binary value
/// (Round(2.5) == 2, Round(0.125, 2) == 0.12); digits < 0 raises 5.
double Round(double x, int32_t digits = 0);
/// Hexadecimal/octal digits of a whole number, upper case, no leading zeros.
/// The value is rounded to a Long first (13 for text that is no number, 6
/// beyond the Long range). Integer, Byte and Boolean values keep their 16-bit
/// form (Hex(Variant(int16_t{-1})) == "FFFF"), all others their 32-bit form
/// (Hex(Variant(-1)) == "FFFFFFFF"). Null gives Null, Empty "0".
Variant Hex(const Variant& v);
Variant Oct(const Variant& v);
double Abs(double x);
int Sgn(double x);

// ---- dates (runtime_date.cpp) ----

/// Parts of a date; the time is rounded to the second first.
int Year(Date d);
int Month(Date d);
int Day(Date d);
int Hour(Date d);
int Minute(Date d);
int Second(Date d);
/// 1 = Sunday ... 7 = Saturday with the default first day (1 = Sunday);
/// first_day 1-7 names the day that counts as 1, 0 the locale's (Monday);
/// anything else raises 5.
int Weekday(Date d, int first_day = 1);
/// Builds a date, rolling months and days over (DateSerial(2024, 13, 1) is
/// 2025-01-01, DateSerial(2024, 3, 0) is 2024-02-29); years 0-29 mean
/// 2000-2029 and 30-99 mean 1930-1999; raises 5 outside the date range.
Date DateSerial(int32_t year, int32_t month, int32_t day);
/// A time of day, rolling over (TimeSerial(25, 0, 0) is 1899-12-31 01:00,
/// TimeSerial(-1, 0, 0) is 1899-12-29 23:00).
Date TimeSerial(int32_t hour, int32_t minute, int32_t second);
/// The date part only (whole days) / the time part only (day zero).
Date DateValue(Date d);
Date TimeValue(Date d);
/// Intervals: "yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s" (any
/// case); any other raises 5. `number` is rounded to a whole number, halves
/// to even. Adding months keeps the day when the month has it, else takes the
/// month's last day (Jan 31 + 1 month is Feb 29 in 2024). A result outside
/// the date range raises 5.
Date DateAdd(TextView interval, double number, Date d);
/// Counts the interval boundaries between d1 and d2 (negative when d2 is
/// earlier): "yyyy" from Dec 31 to Jan 1 is 1, "d" counts midnights, "h"
/// whole hours on the clock; "w" counts whole weeks of days, "ww" the weeks
/// that start on `first_day` (a Sunday by default) after d1 up to d2.
int64_t DateDiff(TextView interval, Date d1, Date d2, int first_day = 1);
/// One part of a date: "yyyy" year, "q" quarter, "m" month, "y" day of the
/// year, "d" day, "w" weekday (as Weekday), "ww" week of the year, "h" "n"
/// "s". first_week: 1 (or 0) the week of January 1 is week 1, 2 the first
/// week with at least four days, 3 the first full week.
int DatePart(TextView interval, Date d, int first_day = 1, int first_week = 1);
/// "一月" ... "十二月"; abbreviated "1月" ... "12月"; outside 1-12 raises 5.
Text MonthName(int month, bool abbreviate = false);
/// "星期日" ... "星期六" (abbreviated "周日" ... "周六") for the weekday number as
/// Weekday counts it with the same first_day; outside 1-7 raises 5.
Text WeekdayName(int weekday, bool abbreviate = false, int first_day = 1);

// ---- Format (format.cpp, format_number.cpp, format_date.cpp) ----

/// Format(value, pattern), for the Chinese locale:
/// - an empty pattern gives the value as CStr does ("" for Empty and Null);
/// - named forms, any case: "General Number", "Currency", "Fixed",
///   "Standard", "Percent", "Scientific", "Yes/No", "True/False", "On/Off",
///   "General Date", "Long Date" (2024年3月5日), "Medium Date" (24-3月-05),
///   "Short Date" (2024/3/5), "Long Time" (8:30:05), "Medium Time"
///   (08:30 上午), "Short Time" (08:30);
/// - a pattern with a digit placeholder formats a number: 0 (digit or 0),
///   # (digit or nothing), . , (grouping between placeholders, scaling by
///   1000 just before the point), %, E+ E-, up to four sections
///   positive;negative;zero;Null, halves rounded away from zero on the
///   number's 15-digit decimal form (Format(2.675, "0.00") == "2.68");
/// - otherwise date fields format a date: d dd ddd dddd ddddd dddddd w ww m
///   mm mmm mmmm q y yy yyyy h hh n nn s ss ttttt c AM/PM am/pm A/P a/p AMPM
///   (m after an hour or before a second is the minute), / and : as the
///   locale's separators;
/// - @ & < > ! format text;
/// - "quoted" text and \x are literal, other characters stand for
///   themselves.
/// Text is formatted as the number or date it holds; text that is neither
/// comes back unchanged. A number out of the date range with a date pattern
/// raises 6.
///
/// Example: Format(Variant(5), u"00") == u"05";
///          Format(Variant(1234.5), u"#,##0.00") == u"1,234.50".
Text Format(const Variant& value, TextView pattern = u"");

/// The automation tristate of the FormatNumber family.
enum class Tristate { False = 0, True = -1, UseDefault = -2 };

/// FormatNumber(value, digits, leading zero, parentheses, grouping) with the
/// locale's layout: digits -1 means 2, a leading zero, "-" for negatives,
/// groups of three with ","; halves away from zero as Format rounds. Text
/// that is no number raises 13; Null gives "".
/// Example: FormatNumber(Variant(1234.5)) == u"1,234.50".
Text FormatNumber(const Variant& value, int32_t digits = -1,
                  Tristate leading_zero = Tristate::UseDefault,
                  Tristate parens = Tristate::UseDefault, Tristate group = Tristate::UseDefault);
/// As FormatNumber of value × 100, followed by "%".
Text FormatPercent(const Variant& value, int32_t digits = -1,
                   Tristate leading_zero = Tristate::UseDefault,
                   Tristate parens = Tristate::UseDefault, Tristate group = Tristate::UseDefault);
/// As FormatNumber behind the locale's currency sign "￥" (U+FFE5, which
/// code page 936 can write); negatives read "￥-1.00".
Text FormatCurrency(const Variant& value, int32_t digits = -1,
                    Tristate leading_zero = Tristate::UseDefault,
                    Tristate parens = Tristate::UseDefault, Tristate group = Tristate::UseDefault);

/// The forms of FormatDateTime (the vb...Date/Time constants).
enum class DateFormat { GeneralDate = 0, LongDate = 1, ShortDate = 2, LongTime = 3, ShortTime = 4 };
/// FormatDateTime: general "2024/3/5 8:30:05", long date "2024年3月5日",
/// short date "2024/3/5", long time "8:30:05", short time "08:30". Null
/// gives ""; text that is no date raises 13.
Text FormatDateTime(const Variant& value, DateFormat form = DateFormat::GeneralDate);

}  // namespace automation
