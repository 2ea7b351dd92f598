// Combined events: each sub-event's results turned into points, by the
// meet's lookup table or by the built-in formulas (A x difference^C for
// track and field, a base time and a divisor for swimming), and every
// athlete's total and sub-event summary written onto the athlete's
// combined-event row (the row of the event with no sub-event).
#pragma once

#include <optional>

#include "arenix/meet/result_entry_db.h"

namespace arenix::meet {

/// CommGetParaFromSexItem_TJ: "group|A|B|C" of a track-and-field sub-event
/// ("径赛项目|17.8570|20.76|1.81" for women's 100米), from the men's table
/// when `sex` contains "男", else the women's; empty when the trimmed name is
/// empty or not in the table.
Text GetParaFromSexItem(TextView sex, TextView item);

/// The swimming twin: "pool|base time|9 spaces|divisor" for the pool of
/// `pool` (1: 50米池, otherwise 25米池); empty when not found. The base time
/// is written as a stored time result ("    2181 " for 21.81 s).
Text SwimParaFromSexItem(TextView sex, TextView item, int pool);

/// The points of one sort key by the track-and-field formula for the
/// parameters "group|A|B|C"; `adjust` is added to the difference. Empty
/// parameters give nullopt (points stay as they were).
std::optional<double> FormulaPoints(TextView params, TextView key, double adjust);

/// The points of one sort key by the swimming formula for the parameters
/// "pool|base|blank|divisor": 100 - (T - base + adjust) / divisor, at least
/// 0, rounded to whole points (halves to even); a divisor of 0 scores 0.
std::optional<double> SwimPoints(TextView params, TextView key, double adjust);

struct WldfCombinedInput {
  Text filter;        // entry filter (the sub-event's rows)
  Text event_filter;  // the event's rows, every sub-event and the athlete's own row
  Text sex;           // form "sex"
  Text item;          // the combined event
  Text sub_event;     // form "item_sub"
  Text kind;          // TsJs of the sub-event's rows
  int edition = 1;
  int lookup_table = 0;  // p_SportsBscsPowerStyle: not 0 = points from Fcgqn_CjDfDzb
  int pool = 1;          // p_SportsBscsYclx
};

/// Scores the sub-event and writes totals and summaries on the athletes'
/// combined-event rows.
void WldfCombinedPoints(WldfDb& db, const WldfCombinedInput& input);

}  // namespace arenix::meet
