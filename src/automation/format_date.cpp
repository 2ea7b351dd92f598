// Format of dates through user patterns (d m y q w h n s ttttt c, AM/PM
// markers, separators and literal text) and the locale's date forms.
#include <cstdio>
#include <vector>

#include "automation/datetime.h"
#include "automation/format_detail.h"
#include "automation/runtime.h"

namespace automation::detail {
namespace {

enum class Field {
  Literal,
  General,      // c
  Day,          // d
  Day2,         // dd
  WeekdayShort, // ddd
  WeekdayLong,  // dddd
  ShortDate,    // ddddd
  LongDate,     // dddddd
  WeekdayNumber,// w
  WeekOfYear,   // ww
  Month,        // m
  Month2,       // mm
  MonthShort,   // mmm
  MonthLong,    // mmmm
  Quarter,      // q
  DayOfYear,    // y
  Year2,        // yy
  Year4,        // yyyy
  Hour,         // h
  Hour2,        // hh
  Minute,       // n, or m after an hour / before a second
  Minute2,      // nn, or mm likewise
  Second,       // s
  Second2,      // ss
  LongTime,     // ttttt
  AmPm,         // AM/PM, am/pm, A/P, a/p: `text` holds the two markers
  AmPmLocale,   // AMPM
};

struct Token {
  Field field;
  Text text;  // Literal: the text; AmPm: morning and afternoon markers
};

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }

size_t RunLength(TextView s, size_t i) {
  size_t j = i;
  while (j < s.size() && Lower(s[j]) == Lower(s[i])) ++j;
  return j - i;
}

bool StartsWithNoCase(TextView s, size_t i, TextView word) {
  return s.size() - i >= word.size() && EqualsNoCase(s.substr(i, word.size()), word);
}

void AddLiteral(std::vector<Token>& tokens, char16_t c) {
  if (!tokens.empty() && tokens.back().field == Field::Literal)
    tokens.back().text.push_back(c);
  else
    tokens.push_back({Field::Literal, Text(1, c)});
}

std::vector<Token> Tokenize(TextView s) {
  static constexpr Field kDays[] = {Field::Day,         Field::Day2,      Field::WeekdayShort,
                                    Field::WeekdayLong, Field::ShortDate, Field::LongDate};
  static constexpr Field kMonths[] = {Field::Month, Field::Month2, Field::MonthShort,
                                      Field::MonthLong};
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < s.size()) {
    char16_t c = s[i];
    char16_t l = Lower(c);
    if (c == u'"') {
      size_t j = i + 1;
      while (j < s.size() && s[j] != u'"') AddLiteral(tokens, s[j++]);
      i = j + 1;
      continue;
    }
    if (c == u'\\') {
      if (i + 1 < s.size()) AddLiteral(tokens, s[i + 1]);
      i += 2;
      continue;
    }
    if (StartsWithNoCase(s, i, u"am/pm")) {
      bool upper = c == u'A';
      tokens.push_back({Field::AmPm, upper ? Text(u"AMPM") : Text(u"ampm")});
      i += 5;
      continue;
    }
    if (StartsWithNoCase(s, i, u"a/p")) {
      bool upper = c == u'A';
      tokens.push_back({Field::AmPm, upper ? Text(u"AP") : Text(u"ap")});
      i += 3;
      continue;
    }
    if (StartsWithNoCase(s, i, u"ampm")) {
      tokens.push_back({Field::AmPmLocale, Text()});
      i += 4;
      continue;
    }
    size_t run = RunLength(s, i);
    switch (l) {
      case u'd': {
        size_t n = std::min<size_t>(run, 6);
        tokens.push_back({kDays[n - 1], Text()});
        i += n;
        continue;
      }
      case u'm': {
        size_t n = std::min<size_t>(run, 4);
        tokens.push_back({kMonths[n - 1], Text()});
        i += n;
        continue;
      }
      case u'y': {
        size_t n = run >= 4 ? 4 : (run >= 2 ? 2 : 1);
        tokens.push_back({n == 4 ? Field::Year4 : n == 2 ? Field::Year2 : Field::DayOfYear, Text()});
        i += n;
        continue;
      }
      case u'w':
      case u'h':
      case u'n':
      case u's': {
        size_t n = std::min<size_t>(run, 2);
        Field one = l == u'w' ? Field::WeekdayNumber
                    : l == u'h' ? Field::Hour
                    : l == u'n' ? Field::Minute
                                : Field::Second;
        Field two = l == u'w' ? Field::WeekOfYear
                    : l == u'h' ? Field::Hour2
                    : l == u'n' ? Field::Minute2
                                : Field::Second2;
        tokens.push_back({n == 2 ? two : one, Text()});
        i += n;
        continue;
      }
      case u'q':
        tokens.push_back({Field::Quarter, Text()});
        ++i;
        continue;
      case u'c':
        tokens.push_back({Field::General, Text()});
        ++i;
        continue;
      case u't':
        if (run >= 5) {
          tokens.push_back({Field::LongTime, Text()});
          i += 5;
          continue;
        }
        break;
      default: break;
    }
    if (c == u'/') AddLiteral(tokens, kDateSeparator);
    else if (c == u':') AddLiteral(tokens, kTimeSeparator);
    else AddLiteral(tokens, c);
    ++i;
  }
  // "m" right after an hour or right before a second is the minute.
  auto is_hour = [](Field f) { return f == Field::Hour || f == Field::Hour2; };
  auto is_second = [](Field f) { return f == Field::Second || f == Field::Second2; };
  Field previous = Field::Literal;
  for (size_t k = 0; k < tokens.size(); ++k) {
    Field f = tokens[k].field;
    if (f == Field::Literal) continue;
    if (f == Field::Month || f == Field::Month2) {
      Field next = Field::Literal;
      for (size_t j = k + 1; j < tokens.size(); ++j)
        if (tokens[j].field != Field::Literal) {
          next = tokens[j].field;
          break;
        }
      if (is_hour(previous) || is_second(next))
        tokens[k].field = f == Field::Month ? Field::Minute : Field::Minute2;
    }
    previous = tokens[k].field;
  }
  return tokens;
}

void AppendNumber(Text& out, int n, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, n);
  for (const char* p = buf; *p; ++p) out.push_back(static_cast<char16_t>(*p));
}

Text LongTimeText(const DateParts& p) {
  Text out;
  AppendNumber(out, p.hour, 1);
  out.push_back(kTimeSeparator);
  AppendNumber(out, p.minute, 2);
  out.push_back(kTimeSeparator);
  AppendNumber(out, p.second, 2);
  return out;
}

}  // namespace

Text ShortDateText(Date d) {
  DateParts p = SplitDate(d);
  Text out;
  AppendNumber(out, p.year, 4);
  out.push_back(kDateSeparator);
  AppendNumber(out, p.month, 1);
  out.push_back(kDateSeparator);
  AppendNumber(out, p.day, 1);
  return out;
}

Text LongDateText(Date d) {
  DateParts p = SplitDate(d);
  Text out;
  AppendNumber(out, p.year, 4);
  out.append(u"年");
  AppendNumber(out, p.month, 1);
  out.append(u"月");
  AppendNumber(out, p.day, 1);
  out.append(u"日");
  return out;
}

Text FormatDatePattern(Date d, TextView pattern) {
  std::vector<Token> tokens = Tokenize(pattern);
  bool twelve_hour = false;
  for (const Token& t : tokens)
    if (t.field == Field::AmPm || t.field == Field::AmPmLocale) twelve_hour = true;
  const DateParts p = SplitDate(d);
  const bool afternoon = p.hour >= 12;
  const int hour = twelve_hour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
  Text out;
  for (const Token& t : tokens) {
    switch (t.field) {
      case Field::Literal: out.append(t.text); break;
      case Field::General: out.append(DateToText(d)); break;
      case Field::Day: AppendNumber(out, p.day, 1); break;
      case Field::Day2: AppendNumber(out, p.day, 2); break;
      case Field::WeekdayShort: out.append(WeekdayName(p.weekday, true)); break;
      case Field::WeekdayLong: out.append(WeekdayName(p.weekday, false)); break;
      case Field::ShortDate: out.append(ShortDateText(d)); break;
      case Field::LongDate: out.append(LongDateText(d)); break;
      case Field::WeekdayNumber: AppendNumber(out, p.weekday, 1); break;
      case Field::WeekOfYear: AppendNumber(out, DatePart(u"ww", d), 1); break;
      case Field::Month: AppendNumber(out, p.month, 1); break;
      case Field::Month2: AppendNumber(out, p.month, 2); break;
      case Field::MonthShort: out.append(MonthName(p.month, true)); break;
      case Field::MonthLong: out.append(MonthName(p.month, false)); break;
      case Field::Quarter: AppendNumber(out, (p.month - 1) / 3 + 1, 1); break;
      case Field::DayOfYear: AppendNumber(out, DatePart(u"y", d), 1); break;
      case Field::Year2: AppendNumber(out, p.year % 100, 2); break;
      case Field::Year4: AppendNumber(out, p.year, 4); break;
      case Field::Hour: AppendNumber(out, hour, 1); break;
      case Field::Hour2: AppendNumber(out, hour, 2); break;
      case Field::Minute: AppendNumber(out, p.minute, 1); break;
      case Field::Minute2: AppendNumber(out, p.minute, 2); break;
      case Field::Second: AppendNumber(out, p.second, 1); break;
      case Field::Second2: AppendNumber(out, p.second, 2); break;
      case Field::LongTime: out.append(LongTimeText(p)); break;
      case Field::AmPm:
        if (t.text.size() == 4) out.append(t.text.substr(afternoon ? 2 : 0, 2));
        else out.push_back(t.text[afternoon ? 1 : 0]);
        break;
      case Field::AmPmLocale: out.append(afternoon ? kPm : kAm); break;
    }
  }
  return out;
}

}  // namespace automation::detail
