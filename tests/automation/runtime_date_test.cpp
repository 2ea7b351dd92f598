#include <gtest/gtest.h>

#include "automation/runtime.h"
#include "test_util.h"

namespace automation {
namespace {

using testing_util::D;
using testing_util::ErrorOf;
using testing_util::Show;

TEST(RuntimeDate, PartsOfADate) {
  Date d = D(2024, 3, 5, 8, 30, 5);
  EXPECT_EQ(Year(d), 2024);
  EXPECT_EQ(Month(d), 3);
  EXPECT_EQ(Day(d), 5);
  EXPECT_EQ(Hour(d), 8);
  EXPECT_EQ(Minute(d), 30);
  EXPECT_EQ(Second(d), 5);
  // Before 1899-12-30 the fraction still counts forward from midnight.
  Date before{-1.25};
  EXPECT_EQ(Show(before), "1899-12-29 06:00:00");
  EXPECT_EQ(Hour(before), 6);
  // A time that rounds to the next second, and one that rounds to midnight.
  EXPECT_EQ(Second(Date{d.serial + 0.6 / 86400}), 6);
  EXPECT_EQ(Show(Date{45356.9999999}), "2024-03-06 00:00:00");
  EXPECT_EQ(Show(Date{-1.9999999}), "1899-12-30 00:00:00");
}

TEST(RuntimeDate, WeekdayCountsFromTheFirstDay) {
  Date tuesday = D(2024, 3, 5);
  EXPECT_EQ(Weekday(tuesday), 3);
  EXPECT_EQ(Weekday(tuesday, 2), 2);  // Monday first
  EXPECT_EQ(Weekday(tuesday, 0), 2);  // the locale's first day is Monday
  EXPECT_EQ(Weekday(tuesday, 3), 1);
  EXPECT_EQ(Weekday(tuesday, 7), 4);
  EXPECT_EQ(Weekday(Date{0}), 7);      // 1899-12-30 was a Saturday
  EXPECT_EQ(Weekday(Date{-1.5}), 6);   // 1899-12-29 noon, a Friday
  EXPECT_EQ(ErrorOf([&] { Weekday(tuesday, 8); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([&] { Weekday(tuesday, -1); }), err::kInvalidCall);
}

TEST(RuntimeDate, DateSerialRollsOver) {
  struct Case {
    int y, m, d;
    const char* expected;
  };
  const Case cases[] = {
      {2024, 3, 5, "2024-03-05 00:00:00"},  {2024, 13, 1, "2025-01-01 00:00:00"},
      {2024, 0, 1, "2023-12-01 00:00:00"},  {2024, 3, 0, "2024-02-29 00:00:00"},
      {2023, 3, 0, "2023-02-28 00:00:00"},  {2024, 1, 366, "2024-12-31 00:00:00"},
      {2024, -1, 1, "2023-11-01 00:00:00"}, {2024, 2, 30, "2024-03-01 00:00:00"},
      {24, 3, 5, "2024-03-05 00:00:00"},    {29, 1, 1, "2029-01-01 00:00:00"},
      {30, 1, 1, "1930-01-01 00:00:00"},    {99, 12, 31, "1999-12-31 00:00:00"},
      {100, 1, 1, "0100-01-01 00:00:00"},   {9999, 12, 31, "9999-12-31 00:00:00"},
      {1899, 12, 29, "1899-12-29 00:00:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(Show(DateSerial(c.y, c.m, c.d)), c.expected);
  EXPECT_EQ(DateSerial(2024, 3, 5).serial, 45356);
  EXPECT_EQ(ErrorOf([] { DateSerial(10000, 1, 1); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { DateSerial(9999, 12, 32); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { DateSerial(100, 1, 0); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { DateSerial(-5, 1, 1); }), err::kInvalidCall);
}

TEST(RuntimeDate, TimeSerialRollsOver) {
  EXPECT_EQ(TimeSerial(8, 30, 5).serial, (8 * 3600 + 30 * 60 + 5) / 86400.0);
  EXPECT_EQ(Show(TimeSerial(25, 0, 0)), "1899-12-31 01:00:00");
  EXPECT_EQ(Show(TimeSerial(0, 90, 0)), "1899-12-30 01:30:00");
  EXPECT_EQ(Show(TimeSerial(-1, 0, 0)), "1899-12-29 23:00:00");
  EXPECT_EQ(Show(TimeSerial(12, -30, 0)), "1899-12-30 11:30:00");
}

TEST(RuntimeDate, DateValueAndTimeValueSplitADate) {
  Date d = D(2024, 3, 5, 8, 30, 5);
  EXPECT_EQ(DateValue(d).serial, 45356);
  EXPECT_EQ(TimeValue(d).serial, TimeSerial(8, 30, 5).serial);
  EXPECT_EQ(DateValue(Date{-1.25}).serial, -1);
}

TEST(RuntimeDate, DateAddWithEveryInterval) {
  Date d = D(2024, 1, 31, 8, 30, 0);
  struct Case {
    const char16_t* interval;
    double n;
    const char* expected;
  };
  const Case cases[] = {
      {u"yyyy", 1, "2025-01-31 08:30:00"}, {u"q", 1, "2024-04-30 08:30:00"},
      {u"m", 1, "2024-02-29 08:30:00"},    {u"M", 13, "2025-02-28 08:30:00"},
      {u"m", -2, "2023-11-30 08:30:00"},   {u"y", 1, "2024-02-01 08:30:00"},
      {u"d", -31, "2023-12-31 08:30:00"},  {u"w", 2, "2024-02-02 08:30:00"},
      {u"ww", 2, "2024-02-14 08:30:00"},   {u"h", 16, "2024-02-01 00:30:00"},
      {u"n", -31, "2024-01-31 07:59:00"},  {u"s", 86400, "2024-02-01 08:30:00"},
      {u"d", 1.5, "2024-02-02 08:30:00"},  {u"d", 2.5, "2024-02-02 08:30:00"},
      {u"YYYY", -1924, "0100-01-31 08:30:00"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Show(DateAdd(c.interval, c.n, d)), c.expected) << ToUtf8(c.interval) << c.n;
  // Hours added land exactly on the serial MakeDate gives.
  EXPECT_EQ(DateAdd(u"h", 1, D(2024, 3, 5, 8, 30)).serial, D(2024, 3, 5, 9, 30).serial);
  // Crossing 1899-12-30 backwards keeps the time of day.
  EXPECT_EQ(Show(DateAdd(u"h", -12, D(1899, 12, 30, 6, 0))), "1899-12-29 18:00:00");
  EXPECT_EQ(ErrorOf([&] { DateAdd(u"x", 1, d); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([&] { DateAdd(u"yyyy", 8000, d); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([&] { DateAdd(u"d", -1, D(100, 1, 1)); }), err::kInvalidCall);
}

TEST(RuntimeDate, DateDiffCountsBoundaries) {
  struct Case {
    const char16_t* interval;
    Date a, b;
    int64_t expected;
  };
  const Case cases[] = {
      {u"yyyy", D(2023, 12, 31), D(2024, 1, 1), 1},
      {u"yyyy", D(2024, 1, 1), D(2024, 12, 31), 0},
      {u"q", D(2024, 3, 31), D(2024, 4, 1), 1},
      {u"m", D(2024, 1, 31), D(2024, 2, 1), 1},
      {u"m", D(2024, 3, 1), D(2023, 3, 31), -12},
      {u"d", D(2024, 3, 5, 23, 0), D(2024, 3, 6, 1, 0), 1},
      {u"y", D(2024, 1, 1), D(2024, 12, 31), 365},
      {u"d", D(2024, 3, 6), D(2024, 3, 5), -1},
      {u"w", D(2024, 3, 5), D(2024, 3, 18), 1},  // Tuesday to the Monday 13 days on
      {u"w", D(2024, 3, 5), D(2024, 3, 19), 2},
      {u"w", D(2024, 3, 19), D(2024, 3, 5), -2},
      {u"ww", D(2024, 3, 9), D(2024, 3, 10), 1},  // Saturday to Sunday
      {u"ww", D(2024, 3, 10), D(2024, 3, 16), 0},  // Sunday to Saturday
      {u"h", D(2024, 3, 5, 8, 59), D(2024, 3, 5, 9, 1), 1},
      {u"h", D(2024, 3, 5, 9, 1), D(2024, 3, 5, 8, 59), -1},
      {u"n", D(2024, 3, 5, 8, 59, 59), D(2024, 3, 5, 9, 0, 0), 1},
      {u"s", D(2024, 3, 5), D(2024, 3, 6), 86400},
      {u"h", Date{-1.75}, Date{-1.25}, -12},  // 18:00 and 06:00 of 1899-12-29
      {u"D", D(1899, 12, 29), D(1899, 12, 31), 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DateDiff(c.interval, c.a, c.b), c.expected)
        << ToUtf8(c.interval) << " " << Show(c.a) << " " << Show(c.b);
  // Monday-first weeks: Sunday to Monday crosses one week start.
  EXPECT_EQ(DateDiff(u"ww", D(2024, 3, 10), D(2024, 3, 11), 2), 1);
  EXPECT_EQ(DateDiff(u"ww", D(2024, 3, 9), D(2024, 3, 10), 2), 0);
  EXPECT_EQ(ErrorOf([] { DateDiff(u"days", Date{0}, Date{1}); }), err::kInvalidCall);
}

TEST(RuntimeDate, DatePartAndWeekOfYear) {
  Date d = D(2024, 8, 15, 13, 45, 30);
  EXPECT_EQ(DatePart(u"yyyy", d), 2024);
  EXPECT_EQ(DatePart(u"q", d), 3);
  EXPECT_EQ(DatePart(u"m", d), 8);
  EXPECT_EQ(DatePart(u"y", d), 228);
  EXPECT_EQ(DatePart(u"d", d), 15);
  EXPECT_EQ(DatePart(u"w", d), 5);  // a Thursday
  EXPECT_EQ(DatePart(u"h", d), 13);
  EXPECT_EQ(DatePart(u"n", d), 45);
  EXPECT_EQ(DatePart(u"s", d), 30);
  // 2021-01-01 is a Friday.
  EXPECT_EQ(DatePart(u"ww", D(2021, 1, 1)), 1);
  EXPECT_EQ(DatePart(u"ww", D(2021, 1, 3)), 2);              // Sunday starts week 2
  EXPECT_EQ(DatePart(u"ww", D(2021, 1, 4), 2, 2), 1);        // first four-day week
  EXPECT_EQ(DatePart(u"ww", D(2021, 1, 3), 2, 2), 53);       // still 2020's last week
  EXPECT_EQ(DatePart(u"ww", D(2021, 1, 10), 2, 3), 1);       // first full week from Jan 4
  EXPECT_EQ(DatePart(u"ww", D(2024, 12, 31)), 53);
  EXPECT_EQ(ErrorOf([&] { DatePart(u"ww", d, 1, 4); }), err::kInvalidCall);
}

TEST(RuntimeDate, MonthAndWeekdayNames) {
  EXPECT_EQ(MonthName(1), u"一月");
  EXPECT_EQ(MonthName(11), u"十一月");
  EXPECT_EQ(MonthName(12, true), u"12月");
  EXPECT_EQ(WeekdayName(1), u"星期日");
  EXPECT_EQ(WeekdayName(7), u"星期六");
  EXPECT_EQ(WeekdayName(3, true), u"周二");
  EXPECT_EQ(WeekdayName(1, false, 2), u"星期一");
  EXPECT_EQ(WeekdayName(Weekday(D(2024, 3, 5), 0), false, 0), u"星期二");
  EXPECT_EQ(ErrorOf([] { MonthName(13); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { WeekdayName(0); }), err::kInvalidCall);
}

}  // namespace
}  // namespace automation
