#include "automation/datetime.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "automation/clock.h"
#include "automation/error.h"

namespace automation {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromEpoch1970(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays1970(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const int64_t kEpoch1899 = DaysFromEpoch1970(1899, 12, 30);

}  // namespace

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m == 2) return (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) ? 29 : 28;
  return kDays[m - 1];
}

DaySecond SplitSerial(Date d) {
  double whole = std::trunc(d.serial);
  double frac = std::fabs(d.serial - whole);
  DaySecond out;
  out.day = static_cast<int64_t>(whole);
  int64_t secs = std::llround(frac * 86400.0);
  if (secs >= 86400) {
    // The time of day always runs forward, also before 1899-12-30, so a time
    // that rounds up to midnight carries into the following day.
    secs -= 86400;
    out.day += 1;
  }
  out.second = static_cast<int32_t>(secs);
  return out;
}

Date JoinSerial(int64_t day, double seconds) {
  double time = seconds / 86400.0;
  return Date{day >= 0 ? day + time : day - time};
}

double DateToLinear(Date d) {
  double whole = std::trunc(d.serial);
  return whole + std::fabs(d.serial - whole);
}

Date DateFromLinear(double linear) {
  double day = std::floor(linear);
  double time = linear - day;
  return Date{day >= 0 ? day + time : day - time};
}

int64_t DaysFromCivil(int64_t year, int month, int day) {
  // Roll months over first, then days arithmetically.
  int64_t y = year + (month - 1) / 12;
  int mm = (month - 1) % 12;
  if (mm < 0) {
    mm += 12;
    --y;
  }
  return DaysFromEpoch1970(y, mm + 1, 1) + (day - 1) - kEpoch1899;
}

bool IsValidSerial(double serial) {
  // 100-01-01 is day -657434; its times of day lie below it (-657434.5 is noon).
  return serial > -657435.0 && serial < 2958466.0;
}

Date MakeDate(int year, int month, int day, int hour, int minute, int second) {
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour < 0 ||
      hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
    ThrowInvalidCall();
  Date d = JoinSerial(DaysFromCivil(year, month, day), hour * 3600 + minute * 60 + second);
  if (!IsValidSerial(d.serial)) ThrowOverflow();
  return d;
}

DateParts SplitDate(Date d) {
  DaySecond ds = SplitSerial(d);
  int64_t days = ds.day;
  int64_t secs = ds.second;
  DateParts p;
  CivilFromDays1970(days + kEpoch1899, p.year, p.month, p.day);
  p.hour = static_cast<int>(secs / 3600);
  p.minute = static_cast<int>(secs / 60 % 60);
  p.second = static_cast<int>(secs % 60);
  // 1899-12-30 was a Saturday (7).
  int64_t w = ((days % 7) + 7 + 6) % 7;
  p.weekday = static_cast<int>(w) + 1;
  return p;
}

Text DateToText(Date d) {
  // The general date form leaves out a midnight time, and the date of day
  // zero: 0 reads "0:00:00", 0.5 "12:00:00", 45356 "2024/3/5".
  DaySecond ds = SplitSerial(d);
  DateParts p = SplitDate(d);
  const bool has_date = ds.day != 0;
  const bool has_time = ds.second != 0 || !has_date;
  char buf[64];
  int n = 0;
  if (has_date) n = std::snprintf(buf, sizeof buf, "%04d/%d/%d", p.year, p.month, p.day);
  if (has_time)
    std::snprintf(buf + n, sizeof buf - n, "%s%d:%02d:%02d", has_date ? " " : "", p.hour,
                  p.minute, p.second);
  return FromAscii(buf);
}

namespace {

// What follows a number in a date text.
enum class Mark {
  None,
  DateSeparator,  // - / .
  Year,           // 年
  Month,          // 月
  Day,            // 日 号
  TimeSeparator,  // :
  HourMark,       // 时 点
  MinuteMark,     // 分
  SecondMark,     // 秒
};

struct Number {
  int value;
  Mark mark = Mark::None;
};

bool IsTimeMark(Mark m) {
  return m == Mark::TimeSeparator || m == Mark::HourMark || m == Mark::MinuteMark;
}

// The numbers of a date text with their marks, and the AM/PM marker
// (-1 none, 0 morning, 12 afternoon). False for any other character.
bool ReadNumbers(TextView s, std::vector<Number>& nums, int& ampm) {
  auto mark = [&](Mark m) {
    if (nums.empty() || nums.back().mark != Mark::None) return false;
    nums.back().mark = m;
    return true;
  };
  auto set_ampm = [&](int v) {
    if (ampm >= 0) return false;
    ampm = v;
    return true;
  };
  size_t i = 0;
  while (i < s.size()) {
    char16_t c = s[i];
    if (c >= u'0' && c <= u'9') {
      int64_t v = 0;
      size_t start = i;
      // More than nine digits is no date part; stop counting before the
      // number could overflow.
      while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
        if (i - start < 10) v = v * 10 + (s[i] - u'0');
        ++i;
      }
      if (i - start > 9) return false;
      nums.push_back({static_cast<int>(v)});
      continue;
    }
    bool ok = true;
    size_t len = 1;
    switch (c) {
      case u' ': case u'\t': case u'\r': case u'\n': case 0x3000: case u',':
        break;
      case u'-': case u'/': case u'.': ok = mark(Mark::DateSeparator); break;
      case u'年': ok = mark(Mark::Year); break;
      case u'月': ok = mark(Mark::Month); break;
      case u'日': case u'号': ok = mark(Mark::Day); break;
      case u':': ok = mark(Mark::TimeSeparator); break;
      case u'时': case u'点': ok = mark(Mark::HourMark); break;
      case u'分': ok = mark(Mark::MinuteMark); break;
      case u'秒': ok = mark(Mark::SecondMark); break;
      case u'上': case u'下':
        ok = i + 1 < s.size() && s[i + 1] == u'午' && set_ampm(c == u'上' ? 0 : 12);
        len = 2;
        break;
      case u'星':
        // A weekday name ("星期二") says nothing the date does not.
        ok = i + 2 < s.size() && s[i + 1] == u'期' &&
             TextView(u"一二三四五六日天").find(s[i + 2]) != TextView::npos;
        len = 3;
        break;
      case u'A': case u'a': case u'P': case u'p': {
        bool pm = c == u'P' || c == u'p';
        len = (i + 1 < s.size() && (s[i + 1] == u'M' || s[i + 1] == u'm')) ? 2 : 1;
        // "AM" may stand anywhere; a lone "a" or "p" only after a number.
        ok = (len == 2 || !nums.empty()) && set_ampm(pm ? 12 : 0);
        break;
      }
      default: ok = false;
    }
    if (!ok) return false;
    i += len;
  }
  // A ":" needs a number after it.
  for (size_t k = 0; k < nums.size(); ++k)
    if (nums[k].mark == Mark::TimeSeparator && k + 1 == nums.size()) return false;
  return true;
}

int WidenYear(int y) { return y < 30 ? 2000 + y : (y < 100 ? 1900 + y : y); }

// The orders in which the locale tries to read a date of two or three
// numbers: year-month-day first, then month-day-year, year-day-month and
// day-month-year; two numbers are month-day or day-month of this year, or
// else year-month or month-year on the 1st.
enum Role { Y, M, D };
struct Order {
  Role roles[3];
};

std::optional<int64_t> MakeDay(const std::vector<Number>& date) {
  static constexpr Order kThree[] = {{{Y, M, D}}, {{M, D, Y}}, {{Y, D, M}}, {{D, M, Y}}};
  static constexpr Order kTwo[] = {{{M, D, Y}}, {{D, M, Y}}, {{Y, M, D}}, {{M, Y, D}}};
  const bool three = date.size() == 3;
  const int this_year = three ? 0 : SplitDate(Now()).year;
  for (int k = 0; k < 4; ++k) {
    const Order& order = three ? kThree[k] : kTwo[k];
    int value[3] = {0, 0, 0};  // by role
    bool fits = true;
    for (size_t pos = 0; pos < date.size(); ++pos) {
      Role r = order.roles[pos];
      Mark m = date[pos].mark;
      if ((m == Mark::Year && r != Y) || (m == Mark::Month && r != M) || (m == Mark::Day && r != D))
        fits = false;
      value[r] = date[pos].value;
    }
    if (!fits) continue;
    if (!three) {
      // The role not given: this year for a month and day, else the 1st.
      if (k < 2) value[Y] = this_year;
      else value[D] = 1;
    }
    int y = (three || k >= 2) ? WidenYear(value[Y]) : value[Y];
    int m = value[M], d = value[D];
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) continue;
    return DaysFromCivil(y, m, d);
  }
  return std::nullopt;
}

}  // namespace

std::optional<Date> ParseDateText(TextView text) {
  std::vector<Number> nums;
  nums.reserve(6);
  int ampm = -1;
  if (!ReadNumbers(text, nums, ampm) || nums.empty() || nums.size() > 6) return std::nullopt;

  // The time: the first number followed by a time mark and the numbers
  // joined to it (hour, minute, second); or a lone number with AM/PM.
  size_t t = 0;
  while (t < nums.size() && !IsTimeMark(nums[t].mark)) ++t;
  size_t time_end = t;
  if (t < nums.size()) {
    time_end = t + 1;
    while (time_end < nums.size() && time_end - t < 3 && IsTimeMark(nums[time_end - 1].mark))
      ++time_end;
  } else if (ampm >= 0 && (nums.size() == 1 || nums.size() == 4) && nums.back().mark == Mark::None) {
    t = nums.size() - 1;  // "下午 3", "2024-3-5 3 PM"
    time_end = nums.size();
  }
  int hms[3] = {0, 0, 0};
  for (size_t k = t; k < time_end; ++k) {
    if (nums[k].mark == Mark::DateSeparator || nums[k].mark == Mark::Year ||
        nums[k].mark == Mark::Month || nums[k].mark == Mark::Day)
      return std::nullopt;
    hms[k - t] = nums[k].value;
  }
  const bool has_time = time_end > t;
  if (ampm >= 0 && !has_time) return std::nullopt;

  // The date: the numbers before or after the time, not on both sides.
  std::vector<Number> date;
  if (t > 0 && time_end < nums.size()) return std::nullopt;
  size_t from = t > 0 ? 0 : time_end, to = t > 0 ? t : nums.size();
  for (size_t k = from; k < to; ++k) {
    if (IsTimeMark(nums[k].mark) || nums[k].mark == Mark::SecondMark) return std::nullopt;
    date.push_back(nums[k]);
  }
  if (date.size() == 1 || date.size() > 3) return std::nullopt;
  int64_t days = 0;
  if (!date.empty()) {
    auto d = MakeDay(date);
    if (!d) return std::nullopt;
    days = *d;
  }

  int h = hms[0], n = hms[1], sec = hms[2];
  if (h > 23 || n > 59 || sec > 59) return std::nullopt;
  if (ampm == 12 && h < 12) h += 12;
  if (ampm == 0 && h == 12) h = 0;
  return JoinSerial(days, h * 3600 + n * 60 + sec);
}

}  // namespace automation
