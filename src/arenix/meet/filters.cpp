#include "arenix/meet/filters.h"

#include "data/sql_text.h"

namespace arenix::meet {

bool IsMixedEvent(TextView event, TextView marker) {
  // An empty marker would otherwise be "found" in every name and drop the
  // sex condition from every statement, ranking men and women together.
  return !marker.empty() && event.find(marker) != TextView::npos;
}

Text SexCondition(TextView sex) {
  if (sex == u"男") return u" And 性别=.T.";
  if (sex == u"女") return u" And 性别=.F.";
  return {};
}

Text EventFilter(TextView item, TextView age, TextView sex, TextView mixed_marker) {
  Text f = u"AllTrim(参赛项目)==" + data::SqlText(item) + u" And AllTrim(年龄组)==" + data::SqlText(age);
  if (!IsMixedEvent(item, mixed_marker)) f += SexCondition(sex);
  return f;
}

Text EntryFilter(TextView item, TextView age, TextView sex, TextView item_sub, TextView mixed_marker) {
  return EventFilter(item, age, sex, mixed_marker) + u" And AllTrim(参赛子项目)==" + data::SqlText(item_sub);
}

}  // namespace arenix::meet
