// The conditions that pick one event's rows out of Play and PlaySour: the
// event filter (event, age group, sex group) and the entry filter (the
// event filter and the sub-event). Registration, result entry, the lists
// and the selectors all build their statements on these, so that every
// statement of one stage selects the same rows.
//
// Values go into the statement through data::SqlText: an event named
// O'Neil Cup selects its rows and no value can change the statement.
#pragma once

#include "automation/text.h"

namespace arenix::meet {

using automation::Text;
using automation::TextView;

/// The default mixed-event marker (p_SportsHuheInclude).
inline constexpr char16_t kMixedMarker[] = u"混";

/// Is the event mixed (men and women together): does its name contain the
/// marker? An empty marker marks no event as mixed.
/// Example: IsMixedEvent(u"4×100米混合接力", u"混") is true.
bool IsMixedEvent(TextView event, TextView marker);

/// The sex condition of a sex group: " And 性别=.T." for "男",
/// " And 性别=.F." for "女", empty for anything else ("混").
Text SexCondition(TextView sex);

/// AllTrim(参赛项目)=='item' And AllTrim(年龄组)=='age', then the sex
/// condition unless the event is mixed.
/// Example: EventFilter(u"100米", u"甲组", u"男", u"混") ==
///   u"AllTrim(参赛项目)=='100米' And AllTrim(年龄组)=='甲组' And 性别=.T."
Text EventFilter(TextView item, TextView age, TextView sex, TextView mixed_marker = kMixedMarker);

/// The event filter + " And AllTrim(参赛子项目)=='item_sub'" (an empty
/// sub-event selects the rows that are not sub-events of a combined event).
Text EntryFilter(TextView item, TextView age, TextView sex, TextView item_sub,
                 TextView mixed_marker = kMixedMarker);

}  // namespace arenix::meet
