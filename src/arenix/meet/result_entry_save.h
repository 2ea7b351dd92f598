// Online result entry: a recorder's form for one event, age group, sex
// group, sub-event and round, stored in Play as results (with everything
// that follows from them: keys, places, points, records, grades, combined
// points, the seeding of the next round) or as places typed by hand, then
// packed into the round's stage field and the round marked as entered.
//
// A save is one unit for its meet: it holds the meet's write lock from its
// first statement to its last, so two recorders saving the same round at
// the same moment leave the rows as one of the two saves would.
#pragma once

#include "arenix/meet/result_entry_db.h"

namespace arenix::meet {

/// The meet settings the page passes to CommWldfSave (p_Sports...).
struct WldfSaveSettings {
  int edition = 1;              // p_SportsPubbb
  int time_style = 1;           // p_SportsBsbpJssjStyle
  int lanes = 8;                // p_SportsBsbpJsPds
  Text lane_order;              // p_SportsBsbpJsPdList
  Text draw_mode;               // p_SportsBsbpJsDcms
  int custom_lanes = 0;         // p_SportsBsbpJsPdZdyQy
  int several_heats = 0;        // p_SportsBsbpCpdsClfs
  int field_group = 8;          // p_SportsBsbpTsPds
  int reverse_field = 0;        // p_SportsBsbpTsDcms
  int group_size = 8;           // p_SportsBsbpZcpPds
  int reverse_others = 0;       // p_SportsBsbpZcpDcms
  int scoring_places = 8;       // p_SportsBscjDfrs
  int record_flags_auto = 0;    // p_SportsBscjDfPjlAuto
  int record_points = 0;        // p_SportsBscjDfPjl
  int record_points_team = 0;   // p_SportsBscjDfPjlTt
  int heat_records_count = 0;   // p_SportsBscjDfPjlYs
  int grade_points_auto = 0;    // p_SportsBscjDjfAuto
  int heat_grades_count = 0;    // p_SportsBscjDjfYs
  int no_result_rule = 1;       // p_SportsBscjWcjjs
  int custom_points = 0;        // p_SportsBccsDfZdy
  int lookup_table = 0;         // p_SportsBscsPowerStyle
  int pool = 1;                 // p_SportsBscsYclx
  int out_of_competition = 0;   // p_SportsBwdyQy
  int stage_plans = 0;          // p_SportsDscQy
  int direct_final = 0;         // p_SportsZjjsQy
  int direct_final_size = 0;    // p_SportsZjjsRs
  int grades_in_use = 0;        // p_SportsBsdjQy
  int small_field = 0;          // p_SportsBscjJylq
  int small_field_size = 0;     // p_SportsBscjJylqNumber
  int small_field_fewer = 0;    // p_SportsBscjJylqJrs
  int grouped_final = 0;        // p_SportsBsbpFdjsQy
  Text grouped_blocks;          // p_SportsBsbpFdjsList
  Text mixed_marker = u"混";    // p_SportsHuheInclude
};

/// CommWldfSave. `place_points` (p_SportsBscj) and `grade_points`
/// (p_SportsBscjDjfFz) are the caller's arrays, indexed from 1; custom
/// place points of the age group or event replace `place_points`' content.
/// Bad form values (a stage outside 1 to 4, a place that is no number)
/// raise error 5 before anything is written; a statement the database
/// rejects ends the save with its error, the statements before it applied.
/// Returns what the recorder should be told besides "saved" (heats still
/// without results, so the next round was not seeded; qualifiers beyond
/// the lanes), or the empty text.
Text WldfSave(Variant& request, Variant& conn, Variant& rs, const WldfSaveSettings& settings,
              Variant& place_points, Variant& grade_points);

/// The round names around stage `stage` of an event with `stages` stages.
struct WldfStages {
  Text previous, current, next;
};
WldfStages WldfStageName(int stages, int stage);

/// Writes the current-stage columns back into the round's stage field
/// (positions 1-18, the draw, kept) for the rows of `filter`.
void WldfPackStage(WldfDb& db, TextView filter, TextView stage_name);

}  // namespace arenix::meet
