// ArenixCls methods of online result entry: the save of one round and the
// combined-event scoring parameters.
#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/result_entry_combined.h"
#include "arenix/meet/result_entry_save.h"

namespace arenix {

Variant ArenixCls::CommWldfSave(
    Variant& Request, Variant& Conn, Variant& Rs, int16_t p_SportsPubbb, int16_t p_SportsBsbpJssjStyle,
    int16_t p_SportsBsbpJsPds, Text p_SportsBsbpJsPdList, Text p_SportsBsbpJsDcms, int16_t p_SportsBsbpJsPdZdyQy,
    int16_t p_SportsBsbpCpdsClfs, int16_t p_SportsBsbpTsPds, int16_t p_SportsBsbpTsDcms, int16_t p_SportsBsbpZcpPds,
    int16_t p_SportsBsbpZcpDcms, int16_t p_SportsBscjDfrs, Variant& p_SportsBscj, int16_t p_SportsBscjDfPjlAuto,
    int16_t p_SportsBscjDfPjl, int16_t p_SportsBscjDfPjlTt, int16_t p_SportsBscjDfPjlYs, int16_t p_SportsBscjDjfAuto,
    int16_t p_SportsBscjDjfYs, Variant& p_SportsBscjDjfFz, int16_t p_SportsBscjWcjjs, int16_t p_SportsBccsDfZdy,
    int16_t p_SportsBscsPowerStyle, int16_t p_SportsBscsYclx, int16_t p_SportsBwdyQy, int16_t p_SportsDscQy,
    int16_t p_SportsZjjsQy, int16_t p_SportsZjjsRs, int16_t p_SportsBsdjQy, int16_t /*p_SportsQqclfsQy*/,
    int16_t /*p_SportsBsfsQy*/, int16_t p_SportsBscjJylq, int16_t p_SportsBscjJylqNumber,
    int16_t p_SportsBscjJylqJrs, int16_t p_SportsBsbpFdjsQy, Text p_SportsBsbpFdjsList, Text p_SportsHuheInclude) {
  meet::WldfSaveSettings s;
  s.edition = p_SportsPubbb;
  s.time_style = p_SportsBsbpJssjStyle;
  s.lanes = p_SportsBsbpJsPds;
  s.lane_order = p_SportsBsbpJsPdList;
  s.draw_mode = p_SportsBsbpJsDcms;
  s.custom_lanes = p_SportsBsbpJsPdZdyQy;
  s.several_heats = p_SportsBsbpCpdsClfs;
  s.field_group = p_SportsBsbpTsPds;
  s.reverse_field = p_SportsBsbpTsDcms;
  s.group_size = p_SportsBsbpZcpPds;
  s.reverse_others = p_SportsBsbpZcpDcms;
  s.scoring_places = p_SportsBscjDfrs;
  s.record_flags_auto = p_SportsBscjDfPjlAuto;
  s.record_points = p_SportsBscjDfPjl;
  s.record_points_team = p_SportsBscjDfPjlTt;
  s.heat_records_count = p_SportsBscjDfPjlYs;
  s.grade_points_auto = p_SportsBscjDjfAuto;
  s.heat_grades_count = p_SportsBscjDjfYs;
  s.no_result_rule = p_SportsBscjWcjjs;
  s.custom_points = p_SportsBccsDfZdy;
  s.lookup_table = p_SportsBscsPowerStyle;
  s.pool = p_SportsBscsYclx;
  s.out_of_competition = p_SportsBwdyQy;
  s.stage_plans = p_SportsDscQy;
  s.direct_final = p_SportsZjjsQy;
  s.direct_final_size = p_SportsZjjsRs;
  s.grades_in_use = p_SportsBsdjQy;
  s.small_field = p_SportsBscjJylq;
  s.small_field_size = p_SportsBscjJylqNumber;
  s.small_field_fewer = p_SportsBscjJylqJrs;
  s.grouped_final = p_SportsBsbpFdjsQy;
  s.grouped_blocks = p_SportsBsbpFdjsList;
  s.mixed_marker = p_SportsHuheInclude;
  // The text the recorder is told besides "saved" (empty when nothing).
  const Text notice = meet::WldfSave(Request, Conn, Rs, s, p_SportsBscj, p_SportsBscjDjfFz);
  return notice.empty() ? Variant() : Variant(notice);
}

Text ArenixCls::CommGetParaFromSexItem_TJ(Text p_Sex, Text p_Item) {
  return meet::GetParaFromSexItem(p_Sex, p_Item);
}

}  // namespace arenix
