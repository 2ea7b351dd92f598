#include "arenix/check/postcard.h"

#include <cmath>
#include <tuple>

#include "arenix/check/validators.h"
#include "automation/runtime.h"

namespace arenix::check {

using automation::LongToText;

namespace {

constexpr char16_t kDigitsMessage[] = u"身份证号码错误，正确的应是除最后一位外，必须为数字！";
constexpr char16_t kBirthDateMessage[] = u"身份证号码中出生年月部分数据错误！";

// GB 11643: weights of body positions 1-17, and the check character for
// each remainder of the weighted sum modulo 11.
constexpr int kWeights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
constexpr char16_t kCheckCharacters[11] = {u'1', u'0', u'X', u'9', u'8', u'7',
                                           u'6', u'5', u'4', u'3', u'2'};

// Birth dates are at most this many calendar years back.
constexpr int kOldestBirthYears = 140;
constexpr int kOldestBirthdayYears = 150;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool AllDigits(TextView s) {
  for (char16_t c : s)
    if (!IsDigit(c)) return false;
  return true;
}

// A date part "as a number", by the automation coercion (13 for text that
// is not a number). Read as a Double: a body such as "...19E9  " is a
// number, and its year "19E9" is then no date rather than an overflow.
double DatePart(TextView s) { return automation::CDbl(automation::Variant(Text(s))); }

// Digits read out of a number by the reading helpers: 13 unless all digits.
int32_t DigitsValue(TextView s) {
  if (s.empty() || !AllDigits(s)) automation::ThrowTypeMismatch();
  int32_t v = 0;
  for (char16_t c : s) v = v * 10 + (c - u'0');
  return v;
}

bool IsLeapYear(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool IsCalendarDate(int32_t year, int32_t month, int32_t day) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  int days = kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
  return day <= days;
}

bool IsWhole(double x) { return std::floor(x) == x; }

// A real calendar date, not after today, at most kOldestBirthYears calendar
// years back.
bool IsBirthDate(double year, double month, double day, const automation::DateParts& today) {
  if (!IsWhole(year) || !IsWhole(month) || !IsWhole(day)) return false;
  if (year > today.year || today.year - year > kOldestBirthYears) return false;
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  const auto y = static_cast<int32_t>(year), m = static_cast<int32_t>(month),
             d = static_cast<int32_t>(day);
  return IsCalendarDate(y, m, d) && std::tuple(y, m, d) <= std::tuple(today.year, today.month, today.day);
}

automation::DateParts Today() { return automation::SplitDate(automation::Now()); }

}  // namespace

char16_t PostcardCheckCharacter(TextView body) {
  int sum = 0;
  for (size_t i = 0; i < 17; ++i) sum += kWeights[i] * (body[i] - u'0');
  return kCheckCharacters[sum % 11];
}

Text CheckPostCard(TextView number, int16_t level, int16_t age_range, TextView birthday_min,
                   TextView birthday_max) {
  const bool min_given = birthday_min.size() == 8;
  const bool max_given = birthday_max.size() == 8;
  if ((min_given || max_given) && level < 3) level = 3;
  if (level < 2) return Text();

  const size_t length = number.size();
  if (length != 15 && length != 18) {
    return u"当前身份证号码位数错误[" + LongToText(static_cast<int64_t>(length)) +
           u"位]，正确的应为15位或18位！";
  }
  const Text body = length == 18 ? Text(number.substr(0, 17))
                                 : Text(number.substr(0, 6)) + u"19" + Text(number.substr(6, 9));
  if (!IsNumeric(body)) return kDigitsMessage;
  const double year = DatePart(TextView(body).substr(6, 4));
  const double month = DatePart(TextView(body).substr(10, 2));
  const double day = DatePart(TextView(body).substr(12, 2));
  if (level < 3) return Text();

  const automation::DateParts today = Today();
  if (!IsBirthDate(year, month, day, today)) return kBirthDateMessage;

  if (level >= 4 && length == 18) {
    // The numeric rule lets signs, points and exponents through; a check
    // character exists only for seventeen digits.
    if (!AllDigits(body)) return kDigitsMessage;
    const char16_t check = PostcardCheckCharacter(body);
    if (number[17] != check) return Text(u"身份证号码校验位错误！正确应为") + check;
  }

  if (age_range > 0 && today.year - year > age_range)
    return u"年龄超出了限制范围[" + LongToText(age_range) + u"]！";

  if (min_given || max_given) {
    Text low = min_given ? Text(birthday_min) : Text();
    Text high = max_given ? Text(birthday_max) : Text();
    if (min_given && max_given && low > high) std::swap(low, high);
    const Text birth = body.substr(6, 8);
    if ((min_given && birth < low) || (max_given && birth > high))
      return u"出生年月超出范围[" + low + u"- " + high + u"]！";
  }
  return Text();
}

Text BirthdayFromPostcard(TextView number) {
  if (automation::Trim(number).size() != 18) return Text();
  const TextView month_text = number.substr(10, 2);
  const TextView day_text = number.substr(12, 2);
  const TextView year_text = number.substr(6, 4);
  const int32_t month = DigitsValue(month_text);
  const int32_t day = DigitsValue(day_text);
  const int32_t year = DigitsValue(year_text);
  const int this_year = Today().year;
  if (month < 1 || month > 12 || day < 1 || day > 31) return Text();
  if (year >= this_year || this_year - year > kOldestBirthdayYears) return Text();
  return Text(month_text) + u"/" + Text(day_text) + u"/" + Text(year_text);
}

Text SexFromPostcard(TextView number) {
  if (automation::Trim(number).size() != 18) return Text();
  return DigitsValue(number.substr(16, 1)) % 2 == 0 ? u"女" : u"男";
}

}  // namespace arenix::check
