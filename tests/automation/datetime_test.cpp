#include <gtest/gtest.h>

#include "automation/clock.h"
#include "automation/datetime.h"
#include "test_util.h"

namespace automation {
namespace {

using testing_util::D;
using testing_util::ErrorOf;
using testing_util::Show;

TEST(DateTime, DateToTextIsTheLocaleGeneralForm) {
  struct Case {
    double serial;
    const char16_t* expected;
  };
  const Case cases[] = {
      {0, u"0:00:00"},
      {0.5, u"12:00:00"},
      {45356, u"2024/3/5"},
      {D(2024, 3, 5, 8, 30, 5).serial, u"2024/3/5 8:30:05"},
      {D(2024, 12, 31, 23, 59, 59).serial, u"2024/12/31 23:59:59"},
      {-1.25, u"1899/12/29 6:00:00"},
      {1, u"1899/12/31"},
      {D(100, 1, 1).serial, u"0100/1/1"},
      {45356.99999999, u"2024/3/6"},
  };
  for (const Case& c : cases) EXPECT_EQ(DateToText(Date{c.serial}), c.expected) << c.serial;
}

TEST(DateTime, TheDateRangeAndMakeDate) {
  EXPECT_TRUE(IsValidSerial(D(100, 1, 1).serial));
  EXPECT_TRUE(IsValidSerial(D(100, 1, 1).serial - 0.5));  // noon of 100-01-01
  EXPECT_FALSE(IsValidSerial(D(100, 1, 1).serial - 1));
  EXPECT_TRUE(IsValidSerial(D(9999, 12, 31, 23, 59, 59).serial));
  EXPECT_FALSE(IsValidSerial(D(9999, 12, 31).serial + 1));
  EXPECT_EQ(D(2024, 3, 5).serial, 45356);
  EXPECT_EQ(ErrorOf([] { MakeDate(2024, 2, 30); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { MakeDate(2023, 2, 29); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { MakeDate(2024, 1, 1, 24); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { MakeDate(10000, 1, 1); }), err::kOverflow);
  EXPECT_EQ(DateToLinear(Date{-1.25}), -0.75);
  EXPECT_EQ(DateFromLinear(-0.75).serial, -1.25);
}

TEST(DateTime, ParsesTheChineseLocaleForms) {
  ScopedClock clock(D(2024, 6, 15, 10, 0, 0), std::nullopt);
  struct Case {
    const char16_t* text;
    const char* expected;
  };
  const Case cases[] = {
      {u"2024-03-05", "2024-03-05 00:00:00"},
      {u"2024/3/5", "2024-03-05 00:00:00"},
      {u"2024.3.5", "2024-03-05 00:00:00"},
      {u"2024年3月5日", "2024-03-05 00:00:00"},
      {u" 2024 年 3 月 5 日 ", "2024-03-05 00:00:00"},
      {u"3/5/2024", "2024-03-05 00:00:00"},
      {u"03/05/2024", "2024-03-05 00:00:00"},
      {u"24-3-5", "2024-03-05 00:00:00"},
      {u"99-1-2", "1999-01-02 00:00:00"},
      {u"1/2/3", "2001-02-03 00:00:00"},
      {u"1/1/100", "0100-01-01 00:00:00"},
      {u"13/5/2024", "2024-05-13 00:00:00"},  // no month 13: day first
      {u"2024-13-05", "2024-05-13 00:00:00"},
      {u"3-5", "2024-03-05 00:00:00"},        // this year
      {u"3月5日", "2024-03-05 00:00:00"},
      {u"2024-3", "2024-03-01 00:00:00"},
      {u"2024年3月", "2024-03-01 00:00:00"},
      {u"3/2024", "2024-03-01 00:00:00"},
      {u"2024-03-05 08:30:05", "2024-03-05 08:30:05"},
      {u"2024/3/5 8:30", "2024-03-05 08:30:00"},
      {u"8:30 2024/3/5", "2024-03-05 08:30:00"},
      {u"8:30", "1899-12-30 08:30:00"},
      {u"08:30:05", "1899-12-30 08:30:05"},
      {u"8:30 PM", "1899-12-30 20:30:00"},
      {u"8:30pm", "1899-12-30 20:30:00"},
      {u"8:30 p", "1899-12-30 20:30:00"},
      {u"AM 8:30", "1899-12-30 08:30:00"},
      {u"12:00 AM", "1899-12-30 00:00:00"},
      {u"12:30 PM", "1899-12-30 12:30:00"},
      {u"下午 8:30", "1899-12-30 20:30:00"},
      {u"上午8:30", "1899-12-30 08:30:00"},
      {u"下午3", "1899-12-30 15:00:00"},
      {u"8 PM", "1899-12-30 20:00:00"},
      {u"2024-03-05 下午 3:20", "2024-03-05 15:20:00"},
      {u"2024/3/5 3:20:01 PM", "2024-03-05 15:20:01"},
      {u"2024年3月5日 下午3点20分", "2024-03-05 15:20:00"},
      {u"8时30分5秒", "1899-12-30 08:30:05"},
      {u"2024-03-05 星期二", "2024-03-05 00:00:00"},
      {u"9999-12-31 23:59:59", "9999-12-31 23:59:59"},
  };
  for (const Case& c : cases) {
    auto d = ParseDateText(c.text);
    ASSERT_TRUE(d.has_value()) << ToUtf8(c.text);
    EXPECT_EQ(Show(*d), c.expected) << ToUtf8(c.text);
  }
  EXPECT_EQ(ParseDateText(u"8:30")->serial, (8.5 / 24));
  const char16_t* not_dates[] = {
      u"20240305", u"2024", u"abc", u"", u" ", u"2024-02-30", u"2023-2-29", u"99-2-29",
      u"2024/13/13", u"0/0/0", u"2024--3-5", u"2024-3-5-6", u"25:00", u"8:60", u"8:30:60",
      u"8:", u":30", u"PM", u"8:30 2024-3-5 9:00", u"10000-1-1", u"2024-03-05T08:30",
      u"1/2/3/4", u"8:30 AM PM", u"１２:30", u"3.14159", u"星期八",
      u"11111111111111111111111-1-1", u"2024-1-99999999999999999999"};
  for (const char16_t* t : not_dates) EXPECT_FALSE(ParseDateText(t).has_value()) << ToUtf8(t);
}

}  // namespace
}  // namespace automation
