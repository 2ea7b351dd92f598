// The title bar of the online entry and query pages: drop-down selectors
// for the event (or another table's column), sex group, stage, heat, and
// age group with its delegations. They sit in the form named "sele", which
// the selectors' scripts address. Every selector ends with "</select>" and
// three non-breaking spaces.
//
// Values from the database (events, age groups, delegations) are
// HTML-escaped in options and script-escaped in the delegation script;
// table and column names are the page's own and written as given.
#pragma once

#include <cstdint>

#include "automation/variant.h"

namespace arenix::meet {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The session value of a logged-in result-entry user: "|"-separated, its
/// element 1 the comma-separated events the user may enter results for.
inline constexpr char16_t kWldfSessionKey[] = u"SPORTS_WLDF_Session";

struct TableSelect {
  TextView table;    // p_SjkMc: the table, and the select's name
  TextView column;   // p_ZdMc: the column listed, and the label
  int16_t edit_type; // 1 on the entry page: table "item" lists the user's events only
  TextView extra;    // "ajax" (sub-event loader) or a further condition
};

/// CommShowTitleSub_AgeItem: one option per row of the table, the one equal
/// to the request value of the table's name selected. Opens the page's
/// record set `rs` on the table and closes it again.
Text SelectFromTable(Variant& request, Variant& session, Variant& conn, Variant& rs,
                     const TableSelect& select);

/// CommShowTitleSub_Sex: 男子组, 女子组, 混合组 posting 男, 女, 混.
Text SelectSex(TextView sex);

/// CommShowTitleSub_Sc: the stages of an event with `stages` stages; with
/// `edit_type` 1 a change of stage enables or disables the heat selector.
/// `heat` (p_Zc) is the heat to restore; only a whole number reaches the
/// script, anything else counts as 0.
Text SelectStage(int16_t stages, int16_t stage, int16_t edit_type, TextView heat);

/// CommShowTitleSub_Zc: 全部 and heats 1 to `count`.
Text SelectHeat(TextView heat, int16_t count);

/// CommShowTitleSub_AgeTeam: the age-group selector and the delegation
/// selector that a script fills with the delegations of the chosen group
/// (from table team), then selects `team`.
Text SelectAgeTeam(Variant& conn, Variant& rs, TextView age, TextView team);

}  // namespace arenix::meet
