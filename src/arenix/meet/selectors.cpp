#include "arenix/meet/selectors.h"

#include <functional>
#include <optional>

#include "arenix/meet/stage.h"
#include "arenix/page/encode.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/data.h"
#include "data/sql_text.h"
#include "host/host.h"

namespace arenix::meet {
namespace {

using automation::LCase;
using automation::LongToText;
using automation::ObjectCast;
using automation::Trim;
using page::HtmlEscape;
using page::ScriptString;

constexpr char16_t kSelectEnd[] = u"</select>&nbsp;&nbsp;&nbsp;";

Text Option(TextView value, bool selected, TextView caption) {
  return u"<option  value='" + HtmlEscape(value) + u"' " + (selected ? u" selected " : u"") + u">" +
         HtmlEscape(caption) + u"</option>";
}

// Runs `sql` on the page's record set and hands each row to `each`; the
// record set is closed again afterwards, also when reading fails.
void ForEachRow(Variant& conn, Variant& rs, TextView sql,
                const std::function<void(data::Recordset&)>& each) {
  auto& records = ObjectCast<data::Recordset>(rs);
  if (records.IsOpen()) records.Close();
  records.Open(sql, conn, data::kOpenKeyset, data::kLockReadOnly);
  try {
    for (; !records.Eof(); records.MoveNext()) each(records);
  } catch (...) {
    records.Close();
    throw;
  }
  records.Close();
}

Text TrimmedField(const data::Recordset& records, TextView name) {
  const Variant v = records.Field(name);
  return v.IsNull() ? Text() : Trim(automation::CStr(v));
}

// The events the logged-in recorder may enter, as an In condition on
// `column`. A session without a list allows no event.
Text AllowedEventsCondition(Variant& session, TextView column) {
  const Variant stored = ObjectCast<host::Session>(session).Get(kWldfSessionKey);
  const Text value = stored.IsNull() || stored.IsEmpty() ? Text() : automation::CStr(stored);
  const std::vector<Text> parts = automation::Split(value, u"|");
  const Text events = parts.size() > 1 ? Trim(parts[1]) : Text();
  if (events.empty()) return u" And 1=0";
  std::vector<Text> quoted;
  for (const Text& e : automation::Split(events, u",")) quoted.push_back(data::SqlText(e));
  return u" And " + Text(column) + u" In (" + automation::Join(quoted, u",") + u")";
}

// A whole number as text for the heat script, "0" for anything else.
Text WholeNumberText(TextView s) {
  const Text t = Trim(s);
  const bool digits = !t.empty() && t.size() <= 5 &&
                      t.find_first_not_of(u"0123456789") == Text::npos;
  return digits ? LongToText(std::stoi(automation::ToUtf8(t))) : Text(u"0");
}

}  // namespace

Text SelectFromTable(Variant& request, Variant& session, Variant& conn, Variant& rs,
                     const TableSelect& s) {
  const Text extra = Trim(s.extra);
  const bool ajax = LCase(extra) == u"ajax";
  Text out = Text(s.column) + u"：<select name='" + Text(s.table) + u"' class='inputselect'";
  if (ajax) {
    out += u" onChange='ShowAjax(\"itemsum_select\",\"../comm/item_sub_list.asp?item=\"+this.value)'";
  }
  out += u">";

  Text sql = u"Select * From [" + Text(s.table) + u"] Where 1=1 ";
  if (LCase(s.table) == u"item" && s.edit_type == 1) sql += AllowedEventsCondition(session, s.column);
  if (!extra.empty() && !ajax) sql += u" And " + Text(s.extra);

  const Text chosen = ObjectCast<host::Request>(request).Item(s.table);
  ForEachRow(conn, rs, sql, [&](data::Recordset& records) {
    const Text value = TrimmedField(records, s.column);
    out += Option(value, value == chosen, value);
  });
  return out + kSelectEnd;
}

Text SelectSex(TextView sex) {
  Text out = u"性别组：<select name='sex' class='inputselect'>";
  for (const auto& [value, caption] : {std::pair{u"男", u"男子组"}, {u"女", u"女子组"}, {u"混", u"混合组"}}) {
    out += Option(value, sex == value, caption);
  }
  return out + kSelectEnd;
}

Text SelectStage(int16_t stages, int16_t stage, int16_t edit_type, TextView heat) {
  Text out = u"赛次：";
  if (edit_type == 1) {
    const Text h = WholeNumberText(heat);
    out += u"<select name='sc' class='inputselect' onChange=\"if(document.sele.bssc.selectedIndex==0)"
           u"{document.sele.all.zc.disabled=false;document.sele.all.zc.selectedIndex=" + h +
           u";}else{document.sele.all.zc.disabled=true;document.sele.all.zc.selectedIndex=0;}\">";
  } else {
    out += u"<select name='sc' class='inputselect'>";
  }
  const std::vector<int> numbers = StagesOfEvent(stages);
  // No stage chosen: the first stage, which is the final when it is the only one.
  const int selected = stage == 0 && !numbers.empty() ? numbers.front() : stage;
  for (int n : numbers) {
    out += u"<option  value=" + LongToText(n) + (n == selected ? u" selected " : u"") + u">" +
           StageName(n) + u"</option>";
  }
  return out + kSelectEnd;
}

Text SelectHeat(TextView heat, int16_t count) {
  Text out = u"组次：<select name='zc' class='inputselect'><option  value='0'  selected>全部</option>";
  const std::optional<double> chosen = automation::ParseNumber(heat);
  for (int i = 1; i <= count; ++i) {
    out += u"<option value='" + LongToText(i) + u"'" + (chosen && *chosen == i ? u" selected " : u"") +
           u">第" + LongToText(i) + u"组</option>";
  }
  return out + kSelectEnd;
}

Text SelectAgeTeam(Variant& conn, Variant& rs, TextView age, TextView team) {
  Text script =
      u"<script language=javascript>var onecount;onecount=0;subcat = new Array();"
      u"subcat[0] = new Array(0,3,0);subcat[1] = new Array(0,2,0);subcat[2] = new Array(0,1,0);";
  int n = 3;
  ForEachRow(conn, rs, u"select distinct 代表队,年龄组 from team", [&](data::Recordset& records) {
    const Text t = ScriptString(TrimmedField(records, u"代表队"));
    const Text a = ScriptString(TrimmedField(records, u"年龄组"));
    script += u"subcat[" + LongToText(n++) + u"] = new Array(\"" + t + u"\",\"" + a + u"\",\"" + t + u"\");";
  });
  script += u"onecount=" + LongToText(n) + u";";
  script +=
      u"function changelocation(locationid){document.sele.team.length = 0;var i;"
      u"for (i=0;i < onecount; i++){if (subcat[i][1] == locationid){"
      u"document.sele.team.options[document.sele.team.length] = new Option(subcat[i][0], subcat[i][2]);"
      u"}}}</script>";

  Text out = script;
  out += u"年龄组：<select name='age' onChange='changelocation(document.sele.age.options["
         u"document.sele.age.selectedIndex].value);' size='1'>";
  ForEachRow(conn, rs, u"Select * From [Age]", [&](data::Recordset& records) {
    const Text value = TrimmedField(records, u"年龄组");
    out += u"<option  value='" + HtmlEscape(value) + u"'" + (value == age ? u" selected " : u"") + u">" +
           HtmlEscape(value) + u"</option>";
  });
  out += kSelectEnd;
  out += u"&nbsp;&nbsp;代表队：<select name='team'>";
  out += kSelectEnd;
  out += u"<script language=javascript>changelocation(document.sele.age.options["
         u"document.sele.age.selectedIndex].value);document.sele.team.options.value='" +
         ScriptString(team) + u"';</script>";
  return out;
}

}  // namespace arenix::meet
