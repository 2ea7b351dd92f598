#include "arenix/show/search_order.h"

#include "automation/runtime.h"
#include "data/sql_text.h"
#include "host/host.h"

namespace arenix::show {

bool IsPlainColumnName(TextView name) {
  if (name.empty()) return false;
  for (char16_t c : name) {
    const bool ascii_word = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                            (c >= u'0' && c <= u'9') || c == u'_';
    // Column names of the meet tables are Chinese; nothing above ASCII can
    // end a bracketed name or a literal.
    if (!ascii_word && c < 0x80) return false;
    if (c == u'\u3000' || c == u'\uFEFF') return false;  // wide and invisible blanks
  }
  return true;
}

Text SearchOrder(Variant& request, const OrderRequest& order) {
  const auto& req = automation::ObjectCast<host::Request>(request);
  Text field(order.field);
  if (field.empty()) field = automation::LCase(req.Item(u"moden"));

  const Text desc =
      automation::Replace(Text(order.desc_fields) + u"|dateandtime|id|", u"||", u"|");

  Text keyword(order.keyword);
  if (keyword.empty()) keyword = req.Item(u"keyword");
  if (keyword == kKeywordPlaceholder) keyword.clear();

  if (!field.empty() && IsPlainColumnName(field)) {
    Text column = order.table.empty() ? u"[" + field + u"]"
                                      : u"[" + Text(order.table) + u"].[" + field + u"]";
    Text out = u" And " + column + u" Like " + data::SqlText(u"%" + keyword + u"%") + u"  ";
    if (column.find(u"[Content]") != Text::npos) column = automation::Replace(column, u"Content", u"id");
    out += u" Order By " + column;
    if (desc.find(u"|" + field + u"|") != Text::npos) out += u" Desc";
    return out;
  }
  if (!order.default_order.empty()) return u" Order By " + Text(order.default_order);
  return u" Order By ID Desc";
}

}  // namespace arenix::show
