#include "arenix/meet/result_format.h"

#include "arenix/meet/stored_result.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/data.h"

namespace arenix::meet {
namespace {

using automation::Left;
using automation::Mid;
using automation::Replace;
using automation::Right;
using automation::Trim;

// The leading-zero removal of the shown forms: a marker "A" in front, each
// pattern (marker + zeros) removed in turn, then every "A" removed. Only
// the first pattern that matches takes effect, because it takes the marker
// with it.
Text DropLeading(Text t, std::initializer_list<const char16_t*> patterns) {
  t = u"A" + t;
  for (const char16_t* p : patterns) t = Replace(t, p, u"");
  return Replace(t, u"A", u"");
}

Text FieldMark(TextView r) {
  Text t = Right(u"      " + Trim(Mid(r, 1, 6)), 6) + u"．" + Left(Trim(Mid(r, 7, 3)) + u"   ", 3) + u"米";
  t = Replace(t, u"000000．", u"0．");
  return DropLeading(t, {u"A00000", u"A0000", u"A000", u"A00", u"A0"});
}

Text TimeWithHours(TextView r) {
  Text t = Right(u"00" + Trim(Mid(r, 1, 2)), 2) + u"：" + Right(u"00" + Trim(Mid(r, 3, 2)), 2) + u"：" +
           Right(u"00" + Trim(Mid(r, 5, 2)), 2) + u"．" + Left(Trim(Mid(r, 7, 3)) + u"000", 3);
  t = Replace(t, u"00：00", u"");
  return DropLeading(t, {u"A00："});
}

Text Time(TextView r) {
  Text t = Right(u"0000" + Trim(Mid(r, 1, 4)), 4) + u"’" + Right(u"00" + Trim(Mid(r, 5, 2)), 2) + u"”" +
           Left(Trim(Mid(r, 7, 3)) + u"000", 2);
  t = Replace(t, u"0000’", u"");
  return DropLeading(t, {u"A000", u"A00", u"A0", u"A”"});
}

Text TextOrEmpty(const Variant& v) { return v.IsNull() || v.IsEmpty() ? Text() : automation::CStr(v); }

}  // namespace

Text FormatResult(TextView kind, TextView custom_format, TextView stored, int edition, int time_style) {
  if (Trim(stored).empty()) return {};
  switch (LayoutOf(custom_format, kind, edition, time_style)) {
    case ResultLayout::kCustom: return Trim(stored) + Replace(custom_format, u"#", u"");
    case ResultLayout::kCombinedTotal: return Trim(stored) + u"分";
    case ResultLayout::kField: return FieldMark(stored);
    case ResultLayout::kTimeWithHours: return TimeWithHours(stored);
    case ResultLayout::kTime: return Time(stored);
  }
  return {};
}

Text FormatResultOfRow(Variant& rs, int edition, int time_style, TextView column) {
  auto& set = automation::ObjectCast<data::Recordset>(rs);
  Text kind = TextOrEmpty(set.Field(u"径赛田赛"));
  Variant result = set.Field(column);
  Text format = TextOrEmpty(set.Field(u"自定义格式"));
  return FormatResult(kind, format, TextOrEmpty(result), edition, time_style);
}

}  // namespace arenix::meet
