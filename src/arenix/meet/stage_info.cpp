#include "arenix/meet/stage_info.h"

#include <string>

#include "arenix/meet/stage.h"
#include "arenix/meet/stage_field.h"
#include "arenix/meet/stored_result.h"
#include "automation/error.h"
#include "data/data.h"
#include "data/write_lock.h"

namespace arenix::meet {
namespace {

// The stage field column of a page's stage number (0 = final).
Text FieldOfPageStage(int stage) {
  Text column = StageFieldColumn(PageStage(stage));
  if (column.empty() || stage < 0)
    throw automation::Error(automation::err::kInvalidCall,
                            u"no stage " + automation::FromAscii(std::to_string(stage)) +
                                u": stages are 1 to 4, and 0 for the final");
  return column;
}

}  // namespace

std::vector<Text> UnpackStageStatements(TextView where, int stage, int edition) {
  const Text field = FieldOfPageStage(stage);
  const Text tail = u" Where " + Text(where);
  // The timed-row test of IsTimedRow, as a condition on the row.
  const Text timed = edition == kTimedEdition
                         ? Text(u".T.")
                         : Text(u"(AllTrim(径赛田赛)=='径赛' Or (AllTrim(径赛田赛)=='全能' And "
                                u"At('米',AllTrim(参赛子项目))>0))");
  return {
      u"Update [Play] Set " + StageFieldUnpackSet(field) + tail,
      u"Update [Play] Set 排序成绩=Strtran(比赛成绩,' ', '0')" + tail,
      u"Update [Play] Set 排序成绩=Iif(排序成绩=='" + Text(kNoResultKey) + u"' And " + timed + u",'" +
          Text(kTimedNoResultKey) + u"',排序成绩)" + tail,
      u"Update [Play] Set 排序名次=IIF(比赛名次=0,9999,比赛名次)" + tail,
  };
}

void UnpackStage(Variant& conn, TextView where, int stage, int edition) {
  std::vector<Text> statements = UnpackStageStatements(where, stage, edition);
  auto& c = automation::ObjectCast<data::Connection>(conn);
  // Under the meet write lock: unpacking between a save's writes and its
  // packing would bring back the stage as it was before the save.
  data::MeetWriteLock lock(conn);
  for (const Text& sql : statements) c.Execute(sql);
  lock.Commit();
}

Text StageSelectList(int stage) { return StageFieldSelectList(FieldOfPageStage(stage)); }

}  // namespace arenix::meet
