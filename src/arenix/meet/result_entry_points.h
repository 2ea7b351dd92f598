// Points, records and grades of a final: place points (shared between tied
// entrants), record points by record level, grade points, the places and
// points withdrawn from entrants without a valid result and from surplus
// places in small fields, new records into the Record table, and the
// scorers marked.
#pragma once

#include "arenix/meet/result_entry_db.h"

namespace arenix::meet {

/// The meet settings that scoring uses (those of CommWldfSave).
struct WldfPointsSettings {
  int edition = 1;                // p_SportsPubbb
  int custom_points = 0;          // p_SportsBccsDfZdy: 1 = place points from Age or Item
  int record_points_team = 0;     // p_SportsBscjDfPjlTt
  int record_points = 0;          // p_SportsBscjDfPjl
  int heat_records_count = 0;     // p_SportsBscjDfPjlYs
  int grades_in_use = 0;          // p_SportsBsdjQy
  int grade_points_auto = 0;      // p_SportsBscjDjfAuto
  int heat_grades_count = 0;      // p_SportsBscjDjfYs
  int scoring_places = 8;         // p_SportsBscjDfrs
  int small_field = 0;            // p_SportsBscjJylq
  int small_field_size = 0;       // p_SportsBscjJylqNumber
  int small_field_fewer = 0;      // p_SportsBscjJylqJrs
  int entrants = 0;               // the event's entrants (n)
  int no_result_rule = 1;         // p_SportsBscjWcjjs
  int out_of_competition = 0;     // p_SportsBwdyQy: 1 = out-of-competition entrants score nothing
};

/// The grades in their order (index 0 here is grade 1 of the settings).
inline constexpr const char16_t* kGrades[6] = {u"国际健将", u"健将", u"一级", u"二级", u"三级", u"少年级"};

/// Scores the final of `filter` (an entry filter; `event_filter` is the same
/// without the sub-event, for the records) after its places are set.
/// `request` holds the entry form (age, sex, item, TsJs, Jtxm, record values
/// and record points, meet name and venue). `place_points` (p_SportsBscj)
/// and `grade_points` (p_SportsBscjDjfFz) are the caller's arrays, indexed
/// from 1; custom place points overwrite `place_points`.
void WldfFinalPoints(const Variant& request, WldfDb& db, TextView filter, TextView event_filter,
                     const WldfPointsSettings& settings,
                     Variant& place_points, Variant& grade_points);

/// Element `index` of an automation array as a number; 0 when the variable
/// holds no array or the index lies outside it.
double ArrayNumber(const Variant& array, int index);

/// A record value of the form: every space turned into "0", nothing trimmed.
Text RecordValue(TextView form_value);

}  // namespace arenix::meet
