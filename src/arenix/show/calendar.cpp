#include "arenix/show/calendar.h"

#include <array>
#include <string>

#include "arenix/page/encode.h"
#include "automation/clock.h"
#include "automation/error.h"
#include "automation/runtime.h"
#include "data/data.h"
#include "host/host.h"

namespace arenix::show {

namespace {

using automation::Error;

constexpr std::array<const char16_t*, 12> kMonthNames = {
    u"一月", u"二月", u"三月", u"四月", u"五月", u"六月",
    u"七月", u"八月", u"九月", u"十月", u"十一月", u"十二月"};
constexpr std::array<const char16_t*, 7> kWeekdayNames = {u"日", u"一", u"二", u"三",
                                                          u"四", u"五", u"六"};

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int MonthLength(int year, int month) {
  static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kLengths[month - 1];
}

// 0 for Sunday; the proleptic Gregorian calendar, as the host's dates.
int WeekdayOfFirst(int year, int month) {
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int y = month < 3 ? year - 1 : year;
  return (y + y / 4 - y / 100 + y / 400 + kOffsets[month - 1] + 1) % 7;
}

Text Digits(int n, int width) {
  std::string s = std::to_string(n);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
  return automation::FromAscii(s);
}

// Characters [start, start + count) of a key's value as a whole number.
int KeyNumber(TextView key, TextView value, size_t start, size_t count) {
  TextView part = start < value.size() ? value.substr(start, count) : TextView();
  bool digits = part.size() == count;
  int n = 0;
  for (char16_t c : part) {
    if (c < u'0' || c > u'9') digits = false;
    else n = n * 10 + (c - u'0');
  }
  if (!digits)
    throw Error(automation::err::kTypeMismatch,
                u"Type mismatch: the calendar key " + Text(key) + u" is not a date: " + Text(value));
  return n;
}

[[noreturn]] void OutOfRange(TextView key, TextView value) {
  throw Error(automation::err::kInvalidCall,
              u"Invalid procedure call or argument: the calendar key " + Text(key) +
                  u" is out of range: " + Text(value));
}

void CheckYearMonth(TextView key, TextView value, int year, int month) {
  if (year < 100 || year > 9999 || month < 1 || month > 12) OutOfRange(key, value);
}

// The days of the shown month that have records, with their links.
struct DayLinks {
  std::array<Text, 32> link;  // by day number; empty: no records
};

DayLinks ReadDays(Variant& conn, Variant& rs, TextView table_name, TextView sql_add, TextView m,
                  TextView href_add) {
  Text sql = u"Select [DateAndTime] From [" + Text(table_name) +
             u"] Where Left(DateAndTime,6)='" + Text(m) + u"'";
  if (!sql_add.empty()) sql += u" And " + Text(sql_add);
  sql += u" Order By [DateAndTime]";
  auto& set = automation::ObjectCast<data::Recordset>(rs);
  set.Open(sql, conn, data::kOpenKeyset, data::kLockReadOnly);
  DayLinks days;
  Text previous;
  bool first = true;
  while (!set.Eof()) {
    Variant value = set.FieldAt(0);
    Text stamp = value.IsNull() ? Text() : automation::CStr(value);
    Text day = automation::Mid(stamp, 7, 2);
    if (first || day != previous) {
      // A day that is not a number of the month never matches a cell.
      Text trimmed = automation::Trim(day);
      int n = 0;
      bool ok = !trimmed.empty() && trimmed.size() <= 2;
      for (char16_t c : trimmed) {
        if (c < u'0' || c > u'9') ok = false;
        else n = n * 10 + (c - u'0');
      }
      if (ok && n >= 1 && n <= 31 && days.link[n].empty()) {
        Text link = u"?date=" + Text(m) + page::UrlQueryValue(day);
        if (!href_add.empty()) link += u"&" + Text(href_add);
        days.link[n] = std::move(link);
      }
      previous = day;
      first = false;
    }
    set.MoveNext();
  }
  set.Close();
  return days;
}

Text MonthLink(int year, int month, TextView href_add, const char16_t* title, const char16_t* text) {
  Text out = u"<a href='?month=" + Digits(year, 1) + Digits(month, 2);
  if (!href_add.empty()) out += u"&" + Text(href_add);
  out += u"' title='" + Text(title) + u"'>" + text + u"</a>";
  return out;
}

}  // namespace

CalendarMonth ReadCalendarMonth(Variant& request) {
  auto& req = automation::ObjectCast<host::Request>(request);
  CalendarMonth shown;
  Text date = automation::Trim(req.Query(u"date"));
  Text month = automation::Trim(req.Query(u"month"));
  if (!date.empty()) {
    shown.year = KeyNumber(u"date", date, 0, 4);
    shown.month = KeyNumber(u"date", date, 4, 2);
    shown.chosen_day = KeyNumber(u"date", date, 6, 2);
    CheckYearMonth(u"date", date, shown.year, shown.month);
    if (shown.chosen_day < 1 || shown.chosen_day > MonthLength(shown.year, shown.month))
      OutOfRange(u"date", date);
  } else {
    automation::Date now = automation::Now();
    shown.year = automation::Year(now);
    shown.month = automation::Month(now);
  }
  if (!month.empty()) {
    shown.year = KeyNumber(u"month", month, 0, 4);
    shown.month = KeyNumber(u"month", month, 4, 2);
    shown.chosen_day = 0;
    CheckYearMonth(u"month", month, shown.year, shown.month);
  }
  return shown;
}

Text ShowCalendar(Variant& request, Variant& conn, Variant& rs, TextView table_name,
                  TextView sql_add, TextView href_add, const CalendarColors& colors) {
  CalendarMonth shown = ReadCalendarMonth(request);
  const int year = shown.year, month = shown.month;
  const Text m = Digits(year, 4) + Digits(month, 2);
  DayLinks days = ReadDays(conn, rs, table_name, sql_add, m, href_add);

  automation::Date now = automation::Now();
  int today = automation::Year(now) == year && automation::Month(now) == month
                  ? automation::Day(now)
                  : 0;

  Text out = u"<table border='0' width='100%' align='center' cellspacing='1' cellpadding='1' "
             u"bgcolor='" + colors.back + u"'><tr><td colspan='1'  bgcolor='" + colors.header_back +
             u"' style='font-size:16px; font-family:;text-align :center'>";
  out += MonthLink(year - 1, month, href_add, u"上一年", u"&laquo;") + u" ";
  out += month == 1 ? MonthLink(year - 1, 12, href_add, u"上一月", u"&#8249;")
                    : MonthLink(year, month - 1, href_add, u"上一月", u"&#8249;");
  out += u"</td><td colspan='5' style='color:" + colors.header_fore +
         u";font-size:14px;font-family:;text-align :center'><b>" + kMonthNames[month - 1] +
         u"&nbsp;" + Digits(year, 1) + u"</b></td>";
  out += u"<td colspan='1' bgcolor='" + colors.header_back +
         u"' style='font-size:16px; font-family:;text-align :center';>";
  out += month == 12 ? MonthLink(year + 1, 1, href_add, u"下一月", u"&#8250;")
                     : MonthLink(year, month + 1, href_add, u"下一月", u"&#8250;");
  out += u" " + MonthLink(year + 1, month, href_add, u"下一年", u"&raquo;");
  out += u"</td></tr><tr>";
  for (const char16_t* name : kWeekdayNames)
    out += u"<td align='center' bgcolor='" + colors.week + u"'>" + name + u"</td>";
  out += u"</tr>";

  const Text empty_cell = u"<td bgcolor='" + colors.day + u"'></td>";
  const int first = WeekdayOfFirst(year, month);
  const int length = MonthLength(year, month);
  out += u"<tr>";
  for (int i = 0; i < first; ++i) out += empty_cell;
  int column = first;
  for (int d = 1; d <= length; ++d) {
    if (column == 7) {
      out += u"</tr><tr>";
      column = 0;
    }
    const Text& color = d == shown.chosen_day ? colors.current_day
                        : d == today          ? colors.today
                                              : colors.day;
    out += u"<td align='center' bgcolor='" + color + u"' style='font-size:10px;";
    if (!days.link[d].empty())
      out += u"cursor:hand;' ><a href='" + days.link[d] + u"'>" + Digits(d, 1) + u"</a>";
    else
      out += u"' >" + Digits(d, 1);
    out += u"</td>";
    ++column;
  }
  for (; column < 7; ++column) out += empty_cell;
  out += u"</tr>";
  out += u"<tr><td colspan='7' bgcolor='" + colors.week + u"' align='center'></td></tr></table>";
  return out;
}

}  // namespace arenix::show
