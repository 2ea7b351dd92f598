// The month calendar whose days link to dated records of a table: the
// shown month comes from the request ("date" or "month" in the query), the
// linked days from the table's DateAndTime column ("yyyymmdd" then a time).
#pragma once

#include "automation/variant.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The colours of the calendar (the method's defaults).
struct CalendarColors {
  Text back = u"#EEEEEE";
  Text header_back = u"#AAAAAA";
  Text week = u"Pink";
  Text day = u"#DDDDDD";
  Text current_day = u"Yellow";
  Text today = u"#DD9999";
  Text header_fore = u"blue";
};

/// The month the request asks for: "date" (yyyymmdd, the day is chosen)
/// or, taking precedence, "month" (yyyymm); neither gives this month.
struct CalendarMonth {
  int year = 0;
  int month = 0;
  int chosen_day = 0;  // 0: none
};

/// Reads the query keys. A key whose digits are missing or not digits
/// raises 13 (type mismatch); a month outside 1-12, a year outside
/// 100-9999 or a day outside the month raises 5; the description names the
/// key and its value.
CalendarMonth ReadCalendarMonth(Variant& request);

/// CommShowCalendar: opens `rs` on `conn` with the month's records of
/// `table_name` (and " And " + `sql_add`), closes it again, and returns the
/// calendar. `href_add` is added to every link after "&". Errors of the
/// request keys and of the database reach the caller; no text is returned
/// then.
Text ShowCalendar(Variant& request, Variant& conn, Variant& rs, TextView table_name,
                  TextView sql_add, TextView href_add, const CalendarColors& colors);

}  // namespace arenix::show
