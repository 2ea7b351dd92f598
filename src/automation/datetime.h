// Dates as the automation languages keep them: a serial day number counted
// from 1899-12-30, the fraction being the time of day (for days before that,
// the fraction still counts forward from midnight: -1.25 is 1899-12-29 06:00).
#pragma once

#include <optional>

#include "automation/variant.h"

namespace automation {

struct DateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
  int weekday = 7;  // 1 = Sunday ... 7 = Saturday, as Weekday() counts
};

/// Days in a month of the proleptic Gregorian calendar (month 1-12).
int DaysInMonth(int year, int month);

/// A serial as whole days and the second of the day, the time rounded to the
/// nearest second (23:59:59.6 carries into the next day).
struct DaySecond {
  int64_t day = 0;     // days from 1899-12-30, negative before it
  int32_t second = 0;  // 0 .. 86399
};
DaySecond SplitSerial(Date d);
/// The serial of a day and a time of day in seconds (0 <= seconds < 86400).
Date JoinSerial(int64_t day, double seconds);

/// The serial on a continuous scale, for arithmetic: before 1899-12-30 the
/// serial's fraction still counts forward, so -1.25 reads -0.75.
double DateToLinear(Date d);
Date DateFromLinear(double linear);

/// Days and time to a serial; raises 5 for a month or day outside the
/// calendar (callers that want VB's roll-over use DateSerial in runtime.h).
Date MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

/// The serial's parts, the time rounded to the second.
DateParts SplitDate(Date d);

/// Whole days from 1899-12-30 to the civil date (any month/day overflow is
/// rolled over arithmetically).
int64_t DaysFromCivil(int64_t year, int month, int day);

/// Years 100 to 9999, as the automation date type allows.
bool IsValidSerial(double serial);

/// The general date form of the Chinese locale, yyyy/M/d H:mm:ss: "2024/3/5
/// 8:30:05"; a midnight time is left out ("2024/3/5"), and so is the date of
/// day zero ("0:00:00", "12:00:00").
Text DateToText(Date d);

/// Reads a date and/or time the way the Chinese locale's parser does:
/// - dates of three numbers joined by "-", "/", "." or blanks are tried as
///   year-month-day, then month-day-year, year-day-month, day-month-year,
///   taking the first that is a valid date ("2024-03-05", "2024/3/5",
///   "3/5/2024" and "24-3-5" are all 2024-03-05; "13/5/2024" is May 13);
/// - two numbers are month-day or day-month of this year ("3-5"), else
///   year-month or month-year on the 1st ("2024-3");
/// - "年", "月", "日" fix what a number is ("2024年3月5日", "3月5日");
/// - years 0-29 mean 2000-2029, 30-99 mean 1930-1999; years 100-9999;
/// - a time h:n[:s] (or 8时30分5秒, 8点) before or after the date, with
///   "AM"/"PM" or "上午"/"下午" anywhere: 12 AM is 0:00, an hour below 12 with
///   PM gains 12; a lone hour with AM/PM ("下午 3") is a time;
/// - a weekday name "星期二" is ignored.
/// Nothing for anything else; an all-digit text is a number, not a date.
std::optional<Date> ParseDateText(TextView text);

}  // namespace automation
