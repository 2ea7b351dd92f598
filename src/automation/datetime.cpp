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
  DateParts p = SplitDate(d);
  bool has_time = p.hour || p.minute || p.second;
  bool has_date = std::trunc(d.serial) != 0 || !has_time;
  char buf[64];
  std::string s;
  if (has_date) {
    std::snprintf(buf, sizeof buf, "%d/%d/%d", p.year, p.month, p.day);
    s = buf;
  }
  if (has_time) {
    std::snprintf(buf, sizeof buf, "%s%d:%02d:%02d", has_date ? " " : "", p.hour, p.minute,
                  p.second);
    s += buf;
  }
  return FromAscii(s);
}

namespace {

struct Token {
  enum Kind { Number, Sep, Colon, AmPm, End } kind;
  int value = 0;    // Number: the value; AmPm: 0 am, 12 pm
  int digits = 0;   // Number: how many digits
  char16_t ch = 0;  // Sep: which separator
};

bool Tokenize(TextView s, std::vector<Token>& out) {
  size_t i = 0;
  while (i < s.size()) {
    char16_t c = s[i];
    if (c >= u'0' && c <= u'9') {
      int64_t v = 0;
      int n = 0;
      while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
        v = v * 10 + (s[i] - u'0');
        if (v > 100000000) return false;
        ++i;
        ++n;
      }
      out.push_back({Token::Number, static_cast<int>(v), n, 0});
      continue;
    }
    if (c == u' ' || c == u'\t' || c == 0x3000 || c == u',') {
      ++i;
      continue;
    }
    if (c == u'-' || c == u'/' || c == u'.' || c == u'年' || c == u'月') {
      out.push_back({Token::Sep, 0, 0, c});
      ++i;
      continue;
    }
    if (c == u'日' || c == u'号') {  // closes a date written in characters
      ++i;
      continue;
    }
    if (c == u':' || c == u'时' || c == u'分') {
      out.push_back({Token::Colon, 0, 0, c});
      ++i;
      continue;
    }
    if (c == u'秒') {
      ++i;
      continue;
    }
    if (s.substr(i, 2) == u"上午" || s.substr(i, 2) == u"下午") {
      out.push_back({Token::AmPm, s[i] == u'上' ? 0 : 12, 0, 0});
      i += 2;
      continue;
    }
    if (i + 1 < s.size() && (c == u'A' || c == u'a' || c == u'P' || c == u'p') &&
        (s[i + 1] == u'M' || s[i + 1] == u'm')) {
      out.push_back({Token::AmPm, (c == u'A' || c == u'a') ? 0 : 12, 0, 0});
      i += 2;
      continue;
    }
    return false;
  }
  out.push_back({Token::End});
  return true;
}

int WidenYear(const Token& t) {
  if (t.digits <= 2) return t.value < 30 ? 2000 + t.value : 1900 + t.value;
  return t.value;
}

}  // namespace

std::optional<Date> ParseDateText(TextView text) {
  std::vector<Token> toks;
  if (!Tokenize(text, toks)) return std::nullopt;
  size_t i = 0;
  bool has_date = false, has_time = false;
  int y = 0, m = 0, d = 0, hh = 0, nn = 0, ss = 0;
  int ampm = -1;

  auto is = [&](size_t k, Token::Kind kind) { return k < toks.size() && toks[k].kind == kind; };

  if (is(i, Token::AmPm)) ampm = toks[i++].value;
  // Date part: numbers joined by date separators.
  if (is(i, Token::Number) && is(i + 1, Token::Sep)) {
    std::vector<Token> parts{toks[i]};
    char16_t sep = toks[i + 1].ch;
    size_t k = i + 1;
    while (is(k, Token::Sep) && is(k + 1, Token::Number) && parts.size() < 3) {
      parts.push_back(toks[k + 1]);
      k += 2;
    }
    if (is(k, Token::Sep) && toks[k].ch == u'.') return std::nullopt;
    if (is(k, Token::Sep)) ++k;  // a trailing 月 or 日-style mark
    if (parts.size() < 2) return std::nullopt;
    if (parts.size() == 3) {
      bool year_first = parts[0].digits >= 3 || parts[0].value > 31 || sep == u'年';
      if (year_first) {
        y = WidenYear(parts[0]);
        m = parts[1].value;
        d = parts[2].value;
      } else {
        m = parts[0].value;
        d = parts[1].value;
        y = WidenYear(parts[2]);
      }
    } else {
      DateParts today = SplitDate(Now());
      if (parts[0].digits >= 3 || parts[0].value > 12 || sep == u'年') {
        y = WidenYear(parts[0]);
        m = parts[1].value;
        d = 1;
      } else {
        y = today.year;
        m = parts[0].value;
        d = parts[1].value;
      }
    }
    has_date = true;
    i = k;
  }
  if (is(i, Token::AmPm)) ampm = toks[i++].value;
  // Time part: h:n[:s].
  if (is(i, Token::Number) && is(i + 1, Token::Colon) && is(i + 2, Token::Number)) {
    hh = toks[i].value;
    nn = toks[i + 2].value;
    i += 3;
    if (is(i, Token::Colon) && is(i + 1, Token::Number)) {
      ss = toks[i + 1].value;
      i += 2;
    }
    if (is(i, Token::Colon)) ++i;  // a trailing 分 or 秒-style mark
    has_time = true;
  }
  if (is(i, Token::AmPm)) ampm = toks[i++].value;
  if (!is(i, Token::End) || (!has_date && !has_time)) return std::nullopt;
  if (ampm >= 0) {
    if (!has_time || hh > 12 || hh == 0) return std::nullopt;
    hh = hh % 12 + ampm;
  }
  if (has_date) {
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m))
      return std::nullopt;
  }
  if (hh > 23 || nn > 59 || ss > 59) return std::nullopt;
  int64_t days = has_date ? DaysFromCivil(y, m, d) : 0;
  return JoinSerial(days, hh * 3600 + nn * 60 + ss);
}

}  // namespace automation
