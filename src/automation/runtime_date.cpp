// Date functions of the runtime: parts of a date, building dates with
// roll-over, and calendar arithmetic with the interval words.
#include <cmath>
#include <limits>

#include "automation/runtime.h"

namespace automation {
namespace {

// The first day of the week in the Chinese locale, for first_day 0.
constexpr int kSystemFirstDay = 2;  // Monday

int ResolveFirstDay(int first_day) {
  if (first_day < 0 || first_day > 7) ThrowInvalidCall();
  return first_day == 0 ? kSystemFirstDay : first_day;
}

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Interval ParseInterval(TextView word) {
  struct Entry {
    TextView word;
    Interval interval;
  };
  static constexpr Entry kWords[] = {
      {u"yyyy", Interval::Year}, {u"q", Interval::Quarter},   {u"m", Interval::Month},
      {u"y", Interval::DayOfYear}, {u"d", Interval::Day},     {u"w", Interval::Weekday},
      {u"ww", Interval::Week},   {u"h", Interval::Hour},      {u"n", Interval::Minute},
      {u"s", Interval::Second}};
  for (const Entry& e : kWords)
    if (EqualsNoCase(word, e.word)) return e.interval;
  ThrowInvalidCall();
}

Date CheckedDate(Date d) {
  if (!IsValidSerial(d.serial)) ThrowInvalidCall();
  return d;
}

// Seconds from 1899-12-30 00:00 on the continuous scale.
int64_t LinearSeconds(Date d) {
  DaySecond ds = SplitSerial(d);
  return ds.day * 86400 + ds.second;
}

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

Date FromLinearSeconds(int64_t secs) {
  int64_t day = FloorDiv(secs, 86400);
  return JoinSerial(day, static_cast<double>(secs - day * 86400));
}

// Adds months keeping the time of day; a day past the end of the target
// month becomes its last day (Jan 31 + 1 month is Feb 28 or 29).
Date AddMonths(Date d, int64_t months) {
  DateParts p = SplitDate(d);
  int64_t index = int64_t{p.year} * 12 + (p.month - 1) + months;
  int64_t year = FloorDiv(index, 12);
  int month = static_cast<int>(index - year * 12) + 1;
  if (year < 100 || year > 9999) ThrowInvalidCall();
  int day = std::min(p.day, DaysInMonth(static_cast<int>(year), month));
  return JoinSerial(DaysFromCivil(year, month, day), p.hour * 3600 + p.minute * 60 + p.second);
}

// Day number of the first day of the week that holds `day`.
int64_t WeekStart(int64_t day, int first_day) {
  // Day 0 (1899-12-30) is a Saturday, weekday 7.
  int64_t weekday = ((day % 7) + 7 + 6) % 7 + 1;
  return day - (weekday - first_day + 7) % 7;
}

int DayOfYear(const DateParts& p) {
  return static_cast<int>(DaysFromCivil(p.year, p.month, p.day) - DaysFromCivil(p.year, 1, 1)) +
         1;
}

// Week of the year, counting from the week chosen by first_week:
// 1 the week of January 1, 2 the first week with four days of the new
// year, 3 the first full week.
int WeekOfYear(Date d, int first_day, int first_week) {
  DateParts p = SplitDate(d);
  int64_t day = SplitSerial(d).day;
  auto first_week_start = [&](int year) {
    int64_t jan1 = DaysFromCivil(year, 1, 1);
    int64_t start = WeekStart(jan1, first_day);
    int64_t days_in_first = 7 - (jan1 - start);
    if (first_week == 2 && days_in_first < 4) start += 7;
    if (first_week == 3 && days_in_first < 7) start += 7;
    return start;
  };
  int64_t start = first_week_start(p.year);
  if (day < start) start = first_week_start(p.year - 1);
  return static_cast<int>((WeekStart(day, first_day) - start) / 7) + 1;
}

}  // namespace

int Year(Date d) { return SplitDate(d).year; }
int Month(Date d) { return SplitDate(d).month; }
int Day(Date d) { return SplitDate(d).day; }
int Hour(Date d) { return SplitSerial(d).second / 3600; }
int Minute(Date d) { return SplitSerial(d).second / 60 % 60; }
int Second(Date d) { return SplitSerial(d).second % 60; }

int Weekday(Date d, int first_day) {
  first_day = ResolveFirstDay(first_day);
  return (SplitDate(d).weekday - first_day + 7) % 7 + 1;
}

Date DateSerial(int32_t year, int32_t month, int32_t day) {
  int64_t y = year;
  // Two-digit years follow the system window 1930-2029.
  if (y >= 0 && y < 30) y += 2000;
  else if (y >= 30 && y < 100) y += 1900;
  int64_t months = y * 12 + (int64_t{month} - 1);
  int64_t whole_year = FloorDiv(months, 12);
  if (whole_year < 0 || whole_year > 10000) ThrowInvalidCall();
  int64_t days = DaysFromCivil(whole_year, static_cast<int>(months - whole_year * 12) + 1, 1) +
                 (int64_t{day} - 1);
  return CheckedDate(Date{static_cast<double>(days)});
}

Date TimeSerial(int32_t hour, int32_t minute, int32_t second) {
  int64_t secs = int64_t{hour} * 3600 + int64_t{minute} * 60 + second;
  return CheckedDate(FromLinearSeconds(secs));
}

Date DateValue(Date d) { return Date{static_cast<double>(SplitSerial(d).day)}; }

Date TimeValue(Date d) { return Date{SplitSerial(d).second / 86400.0}; }

Date DateAdd(TextView interval, double number, Date d) {
  Interval what = ParseInterval(interval);
  double rounded = RoundHalfEven(number);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) ThrowOverflow();
  int64_t n = static_cast<int64_t>(rounded);
  switch (what) {
    case Interval::Year: return AddMonths(d, n * 12);
    case Interval::Quarter: return AddMonths(d, n * 3);
    case Interval::Month: return AddMonths(d, n);
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday: return CheckedDate(FromLinearSeconds(LinearSeconds(d) + n * 86400));
    case Interval::Week: return CheckedDate(FromLinearSeconds(LinearSeconds(d) + n * 7 * 86400));
    case Interval::Hour: return CheckedDate(FromLinearSeconds(LinearSeconds(d) + n * 3600));
    case Interval::Minute: return CheckedDate(FromLinearSeconds(LinearSeconds(d) + n * 60));
    case Interval::Second: return CheckedDate(FromLinearSeconds(LinearSeconds(d) + n));
  }
  ThrowInvalidCall();
}

int64_t DateDiff(TextView interval, Date d1, Date d2, int first_day) {
  Interval what = ParseInterval(interval);
  first_day = ResolveFirstDay(first_day);
  switch (what) {
    case Interval::Year: return Year(d2) - Year(d1);
    case Interval::Quarter: {
      DateParts a = SplitDate(d1), b = SplitDate(d2);
      return (int64_t{b.year} * 4 + (b.month - 1) / 3) - (int64_t{a.year} * 4 + (a.month - 1) / 3);
    }
    case Interval::Month: {
      DateParts a = SplitDate(d1), b = SplitDate(d2);
      return (int64_t{b.year} * 12 + b.month) - (int64_t{a.year} * 12 + a.month);
    }
    case Interval::DayOfYear:
    case Interval::Day: return SplitSerial(d2).day - SplitSerial(d1).day;
    case Interval::Weekday: return (SplitSerial(d2).day - SplitSerial(d1).day) / 7;
    case Interval::Week:
      return (WeekStart(SplitSerial(d2).day, first_day) -
              WeekStart(SplitSerial(d1).day, first_day)) /
             7;
    case Interval::Hour:
      return FloorDiv(LinearSeconds(d2), 3600) - FloorDiv(LinearSeconds(d1), 3600);
    case Interval::Minute:
      return FloorDiv(LinearSeconds(d2), 60) - FloorDiv(LinearSeconds(d1), 60);
    case Interval::Second: return LinearSeconds(d2) - LinearSeconds(d1);
  }
  ThrowInvalidCall();
}

int DatePart(TextView interval, Date d, int first_day, int first_week) {
  Interval what = ParseInterval(interval);
  first_day = ResolveFirstDay(first_day);
  if (first_week < 0 || first_week > 3) ThrowInvalidCall();
  if (first_week == 0) first_week = 1;  // the Chinese locale counts from January 1
  switch (what) {
    case Interval::Year: return Year(d);
    case Interval::Quarter: return (Month(d) - 1) / 3 + 1;
    case Interval::Month: return Month(d);
    case Interval::DayOfYear: return DayOfYear(SplitDate(d));
    case Interval::Day: return Day(d);
    case Interval::Weekday: return Weekday(d, first_day);
    case Interval::Week: return WeekOfYear(d, first_day, first_week);
    case Interval::Hour: return Hour(d);
    case Interval::Minute: return Minute(d);
    case Interval::Second: return Second(d);
  }
  ThrowInvalidCall();
}

Text MonthName(int month, bool abbreviate) {
  static constexpr const char16_t* kNames[] = {u"一月", u"二月", u"三月", u"四月",
                                               u"五月", u"六月", u"七月", u"八月",
                                               u"九月", u"十月", u"十一月", u"十二月"};
  if (month < 1 || month > 12) ThrowInvalidCall();
  if (abbreviate) return LongToText(month) + u"月";
  return kNames[month - 1];
}

Text WeekdayName(int weekday, bool abbreviate, int first_day) {
  static constexpr const char16_t* kDays[] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
  first_day = ResolveFirstDay(first_day);
  if (weekday < 1 || weekday > 7) ThrowInvalidCall();
  int sunday_based = (weekday - 1 + first_day - 1) % 7;
  return Text(abbreviate ? u"周" : u"星期") + kDays[sunday_based];
}

}  // namespace automation
