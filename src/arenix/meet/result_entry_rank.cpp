#include "arenix/meet/result_entry_rank.h"

#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/sql_text.h"

namespace arenix::meet {

namespace {

using automation::CStr;
using data::SqlText;

// One ranking walk over `condition`'s rows in key order, writing each
// row's place into `column`. Equal keys share the place of the first of
// them; the next key takes its row count.
void Walk(WldfDb& db, TextView filter, TextView condition, TextView order, TextView column) {
  WldfRows rows = db.Read(u"Select * From [Play] Where " + Text(filter) + Text(condition) +
                         u" Order By 排序成绩 " + Text(order));
  const size_t key_col = rows.Column(u"排序成绩");
  const size_t number_col = rows.Column(u"编号");
  Text previous_key;
  int32_t previous_place = 1;
  int32_t k = 1;
  for (const auto& row : rows.rows) {
    const Text key = CStr(row[key_col]);
    int32_t place = k;
    if (key == previous_key)
      place = previous_place;
    else
      previous_place = k;
    previous_key = key;
    ++k;
    db.Exec(u"Update [Play] Set " + Text(column) + u" =" + automation::LongToText(place) + u" Where " +
            Text(filter) + u" And Trim(编号)=" + SqlText(automation::Trim(CStr(row[number_col]))));
  }
}

// One pass, or two when out-of-competition entrants keep out of the
// official places: the second overwrites the places of official entrants.
void Passes(WldfDb& db, TextView filter, TextView heat_condition, TextView order, TextView column,
            const WldfRankOptions& options) {
  Walk(db, filter, heat_condition, order, column);
  if (!options.out_of_competition) return;
  const Text official = options.team_event ? u" And (Not 编外队)" : u" And (Not 编外队) And (Not 编外队员)";
  Walk(db, filter, official + Text(heat_condition), order, column);
}

int32_t HeatOrOne(const Variant& v) {
  return v.IsNull() || v.IsEmpty() ? 1 : automation::CLng(v);
}

}  // namespace

void WldfRank(WldfDb& db, TextView filter, const WldfRankOptions& options) {
  const Text where = u" Where " + Text(filter);
  db.Exec(u"Update [Play] Set 排序成绩=Strtran(比赛成绩,' ','0')" + where + u" And Len(AllTrim(排序成绩))=0");
  db.Exec(u"Update [Play] Set 排序成绩='999999999'" + where + u" And 排序成绩='000000000' And (" +
          automation::LongToText(options.edition) + u"=2 Or " + SqlText(options.kind) + u"='径赛')");

  const bool timed = options.edition == 2 || options.kind == u"径赛";
  const TextView order = timed ? u"Asc" : u"Desc";
  Passes(db, filter, u".And.比赛组次>0 ", order, u"比赛名次", options);

  WldfRows range = db.Read(u"Select Min(比赛组次),Max(比赛组次) From [Play]" + where);
  int32_t lowest = 1, highest = 1;
  if (!range.empty()) {
    lowest = HeatOrOne(range.rows[0][0]);
    highest = HeatOrOne(range.rows[0][1]);
  }
  if (lowest == highest) {
    db.Exec(u"Update [Play] Set 比赛组名次=比赛名次" + where);
    return;
  }
  for (int32_t heat = lowest; heat <= highest; ++heat)
    Passes(db, filter, u" And 比赛组次=" + automation::LongToText(heat), order, u"比赛组名次", options);
}

}  // namespace arenix::meet
