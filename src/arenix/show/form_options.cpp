#include "arenix/show/form_options.h"

#include <memory>

#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/data.h"
#include "data/recordset.h"
#include "data/sql_text.h"

namespace arenix::show::form {

using automation::Split;
using automation::Trim;

bool IsInlineList(TextView list) { return list.find(u'$') != TextView::npos; }

std::vector<InlineOption> InlineOptions(TextView list, bool drop_ends) {
  if (drop_ends) {
    if (!list.empty() && list.front() == u'$') list.remove_prefix(1);
    if (!list.empty() && list.back() == u'$') list.remove_suffix(1);
  }
  std::vector<InlineOption> options;
  for (const Text& item : Split(list, u"$")) {
    InlineOption o;
    if (item.find(u'|') != Text::npos) {
      auto parts = Split(item, u"|");
      o.value = Trim(parts[0]);
      o.caption = Trim(parts[1]);
      o.pair = true;
    } else {
      o.value = o.caption = Trim(item);
    }
    options.push_back(std::move(o));
  }
  return options;
}

Text ListLookupSql(TextView pop, TextView field) {
  if (Trim(pop).empty()) {
    if (field == u"部门名称") return u"Select 部门名称 As 名称 From [BuMen] Order By 排列顺序";
    if (field == u"Part") return u"Select Part As 名称 From [Part] Order By [SortId]";
    return u"Select 名称 From [Sjzd] Where 分类=" + data::SqlText(field);
  }
  return u"Select 名称 From [Sjzd] Where 分类=" + data::SqlText(pop) + u" Order By 序号 Asc";
}

Text ChoiceLookupSql(TextView field) {
  if (field == u"部门名称") return u"select 部门名称 as 名称 from bumen order by 排列顺序";
  return u"select 名称 from sjzd where 分类=" + data::SqlText(field);
}

std::vector<Text> LookupNames(const Variant& conn, TextView sql) {
  data::StaticRecordset rows;
  rows.Open(sql, conn, data::kOpenKeyset, data::kLockReadOnly);
  std::vector<Text> names;
  for (; !rows.Eof(); rows.MoveNext()) {
    const Variant v = rows.Field(u"名称");
    names.push_back(v.IsNull() ? Text() : Trim(automation::CStr(v)));
  }
  rows.Close();
  return names;
}

}  // namespace arenix::show::form
