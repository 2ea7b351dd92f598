#include "arenix/show/paging.h"

#include <vector>

#include "arenix/check/validators.h"
#include "arenix/page/encode.h"
#include "arenix/page/encode_unquoted.h"
#include "arenix/show/search_frame.h"
#include "arenix/show/spacer.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/data.h"
#include "host/host.h"

namespace arenix::show {
namespace {

using automation::CInt;
using automation::LongToText;
using automation::ObjectCast;

// Keys that every paging link carries, in this order, before the extra ones.
constexpr const char16_t* kLinkKeys[] = {u"id",   u"classid", u"nclassid", u"sclassid",
                                         u"grade", u"subject", u"type",     u"moden",
                                         u"search", u"keyword", u"part"};

// Hidden fields of the paging form whose values are written unquoted.
constexpr const char16_t* kUnquotedFields[][2] = {
    {u"ClassID", u"<input type='hidden' name='ClassID'  value="},
    {u"NClassID", u"<input type='hidden' name='NClassID' value="},
    {u"SClassID", u"<input type='hidden' name='SClassID' value="},
};

// Hidden fields whose values are written between single quotes; the
// prefixes keep their aligned spacing.
constexpr const char16_t* kQuotedFields[][2] = {
    {u"moden", u"<input type='hidden' name='moden'    value='"},
    {u"search", u"<input type='hidden' name='search'   value='"},
    {u"keyword", u"<input type='hidden' name='keyword'  value='"},
    {u"id", u"<input type='hidden' name='id'       value='"},
    {u"type", u"<input type='hidden' name='type'     value='"},
    {u"subject", u"<input type='hidden' name='subject'  value='"},
    {u"grade", u"<input type='hidden' name='grade'    value='"},
    {u"part", u"<input type='hidden' name='part'     value='"},
};

// The extra keys: trimmed list, one leading and one trailing "|" dropped,
// each key trimmed.
std::vector<Text> ExtraKeys(TextView list) {
  Text trimmed = automation::Trim(list);
  if (trimmed.starts_with(u'|')) trimmed.erase(0, 1);
  if (trimmed.ends_with(u'|')) trimmed.pop_back();
  std::vector<Text> keys = automation::Split(trimmed, u"|");
  for (Text& k : keys) k = automation::Trim(k);
  return keys;
}

Text CarryText(const host::Request& request, const std::vector<Text>& extra_keys) {
  Text carry;
  auto add = [&](TextView key) {
    carry += u"&";
    carry += key;
    carry += u"=" + page::UrlQueryValue(request.Item(key));
  };
  for (const char16_t* key : kLinkKeys) add(key);
  for (const Text& key : extra_keys) add(key);
  return carry;
}

// The page asked for, between 1 and `count` (0 when there are no pages).
// The number is clamped before it becomes a whole number, so that
// "99999999999999999999" or "1e400" shows the last page instead of an
// overflow.
int32_t ClampPage(double asked, int32_t count) {
  double page = automation::Int(asked);
  if (!(page >= 1)) page = 1;  // NaN too
  if (page > count) page = count;
  return static_cast<int32_t>(page);
}

Text Link(TextView label, int32_t page, TextView carry) {
  Text out = u"[<a href=\"?page=" + LongToText(page);
  out += carry;
  out += u"\">";
  out += label;
  out += u"</a>] ";
  return out;
}

}  // namespace

void NoPage(Variant& request, Variant& rs) {
  auto& records = ObjectCast<data::Recordset>(rs);
  const int32_t count = records.PageCount();
  const Text asked = ObjectCast<host::Request>(request).Item(u"Page");
  const int32_t page =
      ClampPage(!asked.empty() && check::IsNumeric(asked) ? automation::CDbl(Variant(asked)) : 1.0, count);
  if (count > 0) records.SetAbsolutePage(page);
}

Text PageBar(Variant& request, Variant& rs, TextView search_request_list) {
  const auto& req = ObjectCast<host::Request>(request);
  auto& records = ObjectCast<data::Recordset>(rs);
  const std::vector<Text> extra_keys = ExtraKeys(search_request_list);
  const Text carry = CarryText(req, extra_keys);

  const int32_t page_count = records.PageCount();
  double asked = 1;  // a number past a double ("1e400") is no page number: the first
  try {
    asked = automation::Val(req.Item(u"Page"));
  } catch (const automation::Error& e) {
    if (e.number() != automation::err::kOverflow) throw;
  }
  const int32_t page = ClampPage(asked, page_count);

  Text out = EmptyLine(2);
  out += SearchLeft(u"", u"", kSearchCellClass);
  out += u"<form method=post name='page' action='?'>";
  out += u" [总数<b>" + LongToText(records.RecordCount()) + u"</b>] [共<b>" +
         LongToText(page_count) + u"</b>页] [第" + LongToText(page) + u"页] [" +
         LongToText(records.PageSize()) + u"部/页] ";
  if (page > 1) {
    out += Link(u"首 页", 1, carry);
    out += Link(u"上一页", page - 1, carry);
  } else {
    out += u"[首 页] [上一页] ";
  }
  if (page_count - page < 1) {
    out += u"[下一页] [尾 页] ";
  } else {
    out += Link(u"下一页", page + 1, carry);
    out += Link(u"尾 页", page_count, carry);
  }
  out += u"<input type='text' name='page' size=2 maxlength=10  class=Content_border value=" +
         LongToText(page) + u">&nbsp;";
  out += u"<input type='submit' name='submit'  class=Content_border  value='Goto' size=2>";
  for (const auto& [key, prefix] : kUnquotedFields) {
    out += prefix + page::UnquotedAttribute(req.Item(key)) + u">";
  }
  for (const auto& [key, prefix] : kQuotedFields) {
    out += prefix + page::HtmlEscape(req.Item(key)) + u"'>";
  }
  for (const Text& key : extra_keys) {
    out += u"<input type='hidden' name='" + key + u"' value='" + page::HtmlEscape(req.Item(key)) +
           u"'>";
  }
  out += SearchRight(u"form");
  out += EmptyLine(2);
  return out;
}

}  // namespace arenix::show
