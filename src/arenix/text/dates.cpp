#include "arenix/text/dates.h"

#include "arenix/text/regexp_replace.h"
#include "automation/clock.h"
#include "automation/coerce.h"
#include "automation/datetime.h"
#include "automation/runtime.h"
#include "host/host.h"

namespace arenix::text {
namespace {

using automation::Mid;

Text Two(int n) {
  Text t = automation::LongToText(n);
  return t.size() < 2 ? u"0" + t : t;
}

Text Plain(int n) { return automation::LongToText(n); }

// The compact date-time of one instant; the year padded to `year_digits`.
Text CompactDateTime(Date d, size_t year_digits) {
  automation::DateParts p = automation::SplitDate(d);
  Text year = Plain(p.year);
  if (year.size() < year_digits) year.insert(0, year_digits - year.size(), u'0');
  return year + Two(p.month) + Two(p.day) + Two(p.hour) + Two(p.minute) + Two(p.second);
}

bool IsNumericText(const Text& s) { return automation::IsNumeric(Variant(s)); }

}  // namespace

Text GetDate(Date d) {
  if (d == kTodayMarker) d = automation::Now();
  automation::DateParts p = automation::SplitDate(d);
  return Plain(p.year) + Two(p.month) + Two(p.day);
}

Text PutDate(TextView s) {
  Text t = automation::Trim(s);
  if (!IsNumericText(t)) return t;
  return Mid(t, 1, 4) + u"-" + Mid(t, 5, 2) + u"-" + Mid(t, 7, 2);
}

Text GetDateTime() { return CompactDateTime(automation::Now(), 0); }

Text PutDateTime(TextView s) {
  Text t = automation::Trim(s);
  if (!IsNumericText(t)) return t;
  return PutDate(t) + u" " + Mid(t, 9, 2) + u":" + Mid(t, 11, 2) + u":" + Mid(t, 13, 2);
}

Text DateVB2VFP(TextView s) {
  Text t = automation::Trim(s);
  Date d = t.empty() ? automation::Now() : automation::CDate(Variant(t));
  automation::DateParts p = automation::SplitDate(d);
  return Plain(p.month) + u"/" + Plain(p.day) + u"/" + Plain(p.year);
}

Text DateVFP2VB(TextView s) {
  using automation::Left;
  using automation::Right;
  Text rest = ReplaceExp(s, u"星期[一二三四五六日]+", u"");
  if (automation::Trim(rest).empty()) {
    automation::DateParts p = automation::SplitDate(automation::Now());
    return Plain(p.year) + u"-" + Two(p.month) + u"-" + Two(p.day);
  }
  bool has_slash = rest.find(u'/') != Text::npos;
  if (!has_slash && automation::IsDate(Variant(rest))) return rest;
  // Taken by position as mm/dd/yyyy.
  return Right(rest, 4) + u"-" + Left(rest, 2) + u"-" + Mid(rest, 4, 2);
}

Text GetIp(const Variant& request) {
  auto& r = automation::ObjectCast<host::Request>(request);
  Text ip = r.ServerVariable(u"Http_X_Forwarded_For");
  if (ip.empty()) ip = r.ServerVariable(u"Remote_Addr");
  return ip;
}

Text GetFileSize(TextView byte_count) {
  if (byte_count.empty()) return u"0B";
  double n = automation::CDbl(Variant(byte_count));
  if (n < 1024) return automation::DoubleToText(n) + u"B";
  static constexpr char16_t kUnits[] = {u'K', u'M', u'G'};
  for (int i = 0;; ++i) {
    n /= 1024;
    if (n < 1024 || i == 2) return automation::DoubleToText(automation::Round(n, 2)) + kUnits[i];
  }
}

Text FileGetTimeName() { return CompactDateTime(automation::Now(), 4); }

Text FileGetRndName(int16_t length) {
  automation::Randomize();
  double k = automation::Int(automation::Rnd() * 90000.0);
  Text digits = automation::Left(automation::DoubleToText(k) + u"000000", 6);
  Text name = FileGetTimeName() + digits;
  if (length > 20) return name + Text(static_cast<size_t>(length - 20), u'9');
  if (length < 20) return automation::Right(name, length);
  return name;
}

}  // namespace arenix::text
