#include "arenix/meet/result_entry_next_round.h"

#include <set>

#include "arenix/meet/stage.h"
#include "arenix/meet/stage_field.h"
#include "arenix/meet/stored_result.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/sql_text.h"

namespace arenix::meet {

namespace {

using automation::CStr;
using automation::Trim;
using data::SqlText;

Text InNextRound(TextView field) { return u" And Int(Val(" + StageItemSlice(field, u"比赛组次") + u"))>0"; }

Text Names(const std::vector<NextRoundBefore::Row>& rows) {
  Text out;
  for (const auto& r : rows) out += (out.empty() ? u"" : u"、") + r.number + u" " + r.name;
  return out;
}

std::vector<NextRoundBefore::Row> RowsInRound(WldfDb& db, TextView filter, TextView field) {
  const WldfRows read = db.Read(u"Select ID, 编号, 运动员, " + Text(field) + u" As f From [Play] Where " +
                                Text(filter) + InNextRound(field) + u" Order By 编号");
  std::vector<NextRoundBefore::Row> rows;
  for (size_t r = 0; r < read.size(); ++r)
    rows.push_back({Trim(CStr(read.At(r, u"ID"))), Trim(CStr(read.At(r, u"编号"))), Trim(CStr(read.At(r, u"运动员"))),
                    CStr(read.At(r, u"f"))});
  return rows;
}

}  // namespace

NextRoundBefore ReadEnteredNextRound(WldfDb& db, TextView filter, TextView next_stage) {
  NextRoundBefore before;
  if (next_stage.empty()) return before;
  const Variant entered = db.Scalar(u"Select Count(*) From [PlaySour] Where " + Text(filter) + u" And 赛次名称=" +
                                    SqlText(next_stage) + u" And 比赛状态=.T.");
  if (entered.IsEmpty() || entered.IsNull() || automation::CLng(entered) == 0) return before;
  before.round = Text(next_stage);
  before.field = StageFieldColumn(StageNumber(next_stage));
  before.rows = RowsInRound(db, filter, before.field);
  return before;
}

Text KeepNextRoundResults(WldfDb& db, TextView filter, const NextRoundBefore& before) {
  if (before.field.empty()) return {};
  std::set<Text> kept_ids, now_ids;
  for (const auto& r : before.rows) kept_ids.insert(r.id);
  const std::vector<NextRoundBefore::Row> now = RowsInRound(db, filter, before.field);
  for (const auto& r : now) now_ids.insert(r.id);

  std::vector<NextRoundBefore::Row> dropped, added;
  for (const auto& r : before.rows) {
    const Text same = u" Where " + Text(filter) + u" And ID==" + SqlText(r.id);
    if (now_ids.count(r.id)) {
      db.Exec(u"Update [Play] Set " + before.field + u"=" + SqlText(r.packed) + same);
      continue;
    }
    // Out of the round: what it had there goes (the seeding has already
    // taken the heat and lane); the team and grade stay with the entrant.
    dropped.push_back(r);
    const WldfRows now_row = db.Read(u"Select " + before.field + u" As f From [Play]" + same);
    if (now_row.empty()) continue;
    StageColumns c = UnpackStageField(CStr(now_row.At(0, u"f")));
    c.result = Text(kStoredResultWidth, u' ');
    c.place = c.heat_place = 0;
    c.points = 0;
    c.advanced = c.record = false;
    c.call_room.clear();
    c.remark.clear();
    c.wind.clear();
    c.details.clear();
    db.Exec(u"Update [Play] Set " + before.field + u"=" + SqlText(PackStageField(c)) + same);
  }
  for (const auto& r : now)
    if (!kept_ids.count(r.id)) added.push_back(r);

  const Text& round = before.round;
  Text notice;
  if (!added.empty())
    notice += u"新晋级" + round + u"：" + Names(added) + u"（" + round + u"尚无其成绩，请核对组次、道次）。";
  if (!dropped.empty())
    notice += u"不再晋级" + round + u"：" + Names(dropped) + u"（其" + round + u"成绩已移除）。";
  if (!notice.empty()) notice = round + u"已有成绩，仍晋级运动员的" + round + u"成绩已保留；" + notice +
                                u"请重新保存" + round + u"以更新名次。";
  return notice;
}

}  // namespace arenix::meet
