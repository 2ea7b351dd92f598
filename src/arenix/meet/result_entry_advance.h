// Seeding of the next round after a round other than the final: the
// qualifiers are marked (比赛晋级) and given a heat, a lane or position, a
// running order and the heat information of the next round, and the first
// characters of the next round's stage field are written so that the next
// round can be opened from them.
#pragma once

#include "arenix/meet/result_entry_db.h"

namespace arenix::meet {

struct WldfAdvanceSettings {
  int edition = 1;              // p_SportsPubbb
  int group_size = 8;           // p_SportsBsbpZcpPds: track events not run in lanes
  int field_group = 8;          // p_SportsBsbpTsPds: the top group of field events
  int lanes = 8;                // p_SportsBsbpJsPds
  int qualifiers = 8;           // p_SportsBscjDfrs
  Text lane_order;              // p_SportsBsbpJsPdList
  int draw_mode = 0;            // p_SportsBsbpJsDcms: 2-4 draw inside groups of that size
  int custom_lanes = 0;         // p_SportsBsbpJsPdZdyQy: 1 = the event's 自定义跑道
  int several_heats = 0;        // p_SportsBsbpCpdsClfs: 2 = several heats
  int reverse_others = 0;       // p_SportsBsbpZcpDcms
  int reverse_field = 0;        // p_SportsBsbpTsDcms
  Text kind;                    // TsJs
  bool in_lanes = false;        // JsFd
  Text next_stage;              // 决赛, 复赛 ...
  Text current_stage;
};

/// Only an entrant with a valid result (not empty, no call-room status)
/// qualifies. Every seeding returns what the recorder should be told (the
/// qualifiers who got no lane), or the empty text.
///
/// Seeds by the meet's lane and group settings.
Text WldfAdvance(WldfDb& db, TextView filter, const WldfAdvanceSettings& settings);

/// Seeds by the event's stage plan in Item when it has more than one stage
/// for the age group (timed events only), else as WldfAdvance.
Text WldfAdvanceByPlan(WldfDb& db, TextView filter, const WldfAdvanceSettings& settings, TextView item,
                       TextView age, TextView sex, int stage);

/// Seeds by a stage plan: the first `per_heat` of every heat and the
/// fastest others up to heats x per_heat + extra, serpentine heats of the
/// next round and lanes drawn by tiers (3-6, 7-8, 1-2). A heat never holds
/// more than `lanes` entrants: with `several_heats` the qualifiers make as
/// many heats as the lanes need, else those beyond the lanes get no lane
/// and do not qualify (`lanes` 0: a round not run in lanes).
Text WldfAdvanceByHeats(WldfDb& db, TextView filter, TextView next_stage, int heats, int per_heat, int extra,
                        int lanes = 8, bool several_heats = false);

/// The condition (to append to an entry filter) of entrants with a valid
/// result: a stored result and no call-room status.
inline constexpr char16_t kValidResult[] = u" And Len(AllTrim(比赛成绩))>0 And Len(AllTrim(比赛检录))=0";

/// The heats of the round of `filter` in which nobody has a result or a
/// call-room status yet, as "2、3"; empty when every heat is entered.
Text HeatsWithoutResults(WldfDb& db, TextView filter);

/// Heat information: the number of heats and the entrants, each in 3 digits.
Text HeatInfo(int heats, int entrants);

}  // namespace arenix::meet
