#include "arenix/meet/result_entry_points.h"

#include <algorithm>

#include "arenix/meet/stage_field.h"
#include "arenix/meet/result_entry_form.h"
#include "arenix/text/string_to_numeric.h"
#include "automation/clock.h"
#include "automation/coerce.h"
#include "automation/object.h"
#include "automation/runtime.h"
#include "data/sql_text.h"
#include "host/host.h"

namespace arenix::meet {

namespace {

using automation::CStr;
using automation::LongToText;
using automation::Trim;
using data::SqlText;

// A whole number of points typed in the form.
double FormWholeNumber(const host::Request& form, TextView key) {
  return automation::RoundHalfEven(FormNumber(form, key));
}

// Sets element `index` of the caller's array, growing it (its lower bound
// kept) when the custom list is longer than the array.
void SetArrayNumber(Variant& array, int index, double value) {
  if (!array.IsArray()) array = Variant(automation::Array{0, {}});
  automation::Array& a = array.array();
  if (index < a.lbound) return;
  if (index > a.ubound()) a.items.resize(static_cast<size_t>(index - a.lbound + 1));
  a.items[static_cast<size_t>(index - a.lbound)] = Variant(value);
}

// The "|"-list of custom place points of the age group, else of the event;
// empty when neither holds at least two "|".
Text CustomPointsList(WldfDb& db, TextView age, TextView item) {
  auto usable = [](const Variant& v) {
    if (v.IsNull() || v.IsEmpty()) return Text();
    Text t = Trim(CStr(v));
    return std::count(t.begin(), t.end(), u'|') >= 2 ? t : Text();
  };
  Text list = usable(db.Scalar(u"Select 自定义得分 From [Age] Where AllTrim(年龄组)=" + SqlText(age)));
  if (list.empty())
    list = usable(db.Scalar(u"Select 自定义得分 From [Item] Where AllTrim(参赛项目)=" + SqlText(item)));
  return list;
}

// The key condition that a mark beats a record value: below it for timed
// events, above it otherwise; a valid mark only.
Text BeatsRecord(bool timed, TextView record) {
  return Text(u" And 排序成绩") + (timed ? u"<" : u">") + SqlText(record) +
         u" And Len(AllTrim(比赛成绩))>0 And 排序成绩<>'000000000' And 排序成绩<>'999999999'";
}

// "2024 5": the year and the month right-aligned in 2.
Text YearMonth() {
  const automation::Date now = automation::Now();
  Text month = LongToText(automation::Month(now));
  if (month.size() < 2) month = u" " + month;
  return LongToText(automation::Year(now)) + month;
}

// The winner's mark replaces the records of the event that the record
// type names: 1 the meet's, 2 the age group's, 3 the record group's.
void WriteRecords(WldfDb& db, const host::Request& form, TextView filter, TextView record_group) {
  const Text type = Trim(form.Form(u"recordType"));
  Text which;
  if (type == u"1")
    which = u" And Len(AllTrim(Record.年龄组))=0 And Len(AllTrim(Record.纪录组))=0";
  else if (type == u"2")
    which = u" And AllTrim(Record.年龄组)==AllTrim(Winner.年龄组) And Len(AllTrim(Record.纪录组))=0";
  else if (type == u"3") {
    // An age group without a record group has no record-group records; the
    // rows with neither age group nor record group are the meet's records.
    if (record_group.empty()) return;
    which = u" And Len(AllTrim(Record.年龄组))=0 And AllTrim(Record.纪录组)==" + SqlText(record_group);
  }
  db.Exec(u"Update [Record] Set 比赛成绩=Winner.比赛成绩,运动员=Winner.运动员,代表队=Winner.代表队,时间=" +
          SqlText(YearMonth()) + u",地点=" + SqlText(Trim(form.Form(u"ydhdd"))) + u",运动会名称=" +
          SqlText(Trim(form.Form(u"ydhmc"))) +
          u" From (Select 性别,径赛田赛,参赛项目,年龄组,比赛成绩,运动员,代表队 From [Play] Where " + Text(filter) +
          u" And Len(AllTrim(参赛子项目))=0 And 比赛破记录 And 比赛名次=1) As Winner"
          u" Where Record.性别=Winner.性别 And Record.径赛田赛==Winner.径赛田赛 And Record.参赛项目==Winner.参赛项目" +
          which);
}

// The entrants who may score: a valid result (not empty, no call-room
// status) and, with out-of-competition ranking on, neither an
// out-of-competition team nor an out-of-competition athlete. Only they
// take points and count in the sharing of points between ties.
Text Scorers(const WldfPointsSettings& s) {
  Text t = u" And Len(AllTrim(比赛成绩))>0 And Len(AllTrim(比赛检录))=0";
  if (s.out_of_competition == 1) t += u" And (Not 编外队) And (Not 编外队员)";
  return t;
}

}  // namespace

double ArrayNumber(const Variant& array, int index) {
  if (!array.IsArray()) return 0;
  const automation::Array& a = array.array();
  if (index < a.lbound || index > a.ubound()) return 0;
  const Variant& v = a.items[static_cast<size_t>(index - a.lbound)];
  return automation::IsNumeric(v) ? automation::CDbl(v) : 0;
}

Text RecordValue(TextView form_value) { return automation::Replace(form_value, u" ", u"0"); }

void WldfFinalPoints(const Variant& request, WldfDb& db, TextView filter, TextView event_filter,
                     const WldfPointsSettings& s,
                     Variant& place_points, Variant& grade_points) {
  const auto& form = automation::ObjectCast<host::Request>(request);
  const Text where = u" Where " + Text(filter);
  const Text age = Trim(form.Form(u"age"));
  const Text item = Trim(form.Form(u"item"));
  const Text kind = Trim(form.Form(u"TsJs"));
  const bool team = FormBool(form.Form(u"Jtxm"));
  const bool timed = kind == u"径赛" || s.edition == 2;
  int places = s.scoring_places;

  // 1. The record group of the age group.
  const Variant group_value = db.Scalar(u"Select 纪录组 From [Age] Where AllTrim(年龄组)=" + SqlText(age));
  const Text record_group = group_value.IsNull() || group_value.IsEmpty() ? Text() : Trim(CStr(group_value));

  // 2-4. Custom place points replace the caller's list.
  db.Exec(u"Update [Play] Set 比赛得分=0" + where);
  if (s.custom_points == 1) {
    const Text list = CustomPointsList(db, age, item);
    if (!list.empty()) {
      for (int k = 1; k <= places; ++k) SetArrayNumber(place_points, k, 0);
      const std::vector<Text> pieces = automation::Split(list, u"|");
      for (size_t k = 0; k < pieces.size(); ++k)
        SetArrayNumber(place_points, static_cast<int>(k) + 1,
                       automation::CurrencyToDouble(text::StringToNumeric(pieces[k])));
      places = static_cast<int>(pieces.size());
    }
  }
  db.Exec(u"Update [Play] Set 比赛得分=0" + where);

  // 5. Place points, times the event's multiplier, for the entrants who
  // score: a valid result (whatever the rule for entrants without one keeps
  // of their place) and, with out-of-competition ranking, official ones.
  const Text scorers = Scorers(s);
  for (int k = 1; k <= places; ++k)
    db.Exec(u"Update [Play] Set 比赛得分=分值比例*" + SqlNumber(ArrayNumber(place_points, k)) + where +
            u" And 比赛名次=" + LongToText(k) + scorers);

  // 6. The highest record level broken by some mark (0: the meet record).
  int level = 0;
  for (int k = 3; k >= 1 && level == 0; --k) {
    const Text record = RecordValue(form.Form(u"Record" + LongToText(k)));
    const Variant found = db.Scalar(u"Select Count(*) From [Play]" + where + BeatsRecord(timed, record));
    if (!found.IsEmpty() && !found.IsNull() && automation::CDbl(found) > 0) level = k;
  }

  // 7. Record points of that level.
  double record_points = 0;
  if (level == 0)
    record_points = team ? s.record_points_team : s.record_points;
  else
    record_points = FormWholeNumber(form, (team ? u"recordTtJf" : u"recordJf") + LongToText(level));
  const Text heat_record = u"Upper(" + StageItemSlice(u"预赛信息", u"比赛破记录") + u")=='T'";
  db.Exec(u"Update [Play] Set 比赛得分=比赛得分+" + SqlNumber(record_points) + where + scorers + u" And (比赛破记录" +
          (s.heat_records_count != 0 ? u" Or " + heat_record : Text()) + u")");

  // 8. Records set in the heats are remarked on.
  if (s.heat_records_count == 1)
    db.Exec(u"Update [Play] Set 比赛备注='预赛破纪录'" + where + u" And (Not 比赛破记录) And " + heat_record);

  // 9. The winner's record into the Record table.
  WriteRecords(db, form, event_filter, record_group);

  // 10. Grade points.
  if (s.grades_in_use == 1 && s.grade_points_auto == 1) {
    for (int g = 1; g <= 6; ++g)
      db.Exec(u"Update [Play] Set 比赛得分=比赛得分+" + SqlNumber(ArrayNumber(grade_points, g)) + where +
              u" And AllTrim(比赛等级)==" + SqlText(kGrades[g - 1]) +
              u" And Len(AllTrim(比赛等级))>=2 And (Not 集体项目)" + scorers);
    if (s.heat_grades_count == 1)
      for (int g = 1; g <= 6; ++g)
        db.Exec(u"Update [Play] Set 比赛得分=比赛得分+" + SqlNumber(ArrayNumber(grade_points, g)) + where +
                u" And AllTrim(" + StageItemSlice(u"预赛信息", u"比赛等级") + u")==" + SqlText(kGrades[g - 1]) +
                u" And Len(AllTrim(比赛等级))=0 And (Not 集体项目)" + scorers);
  }

  // 11. Tied entrants share the points of the places they cover.
  for (int k = 1; k <= places; ++k) {
    const Variant counted =
        db.Scalar(u"Select Count(*) From [Play]" + where + u" And 比赛名次=" + LongToText(k) + scorers);
    const int c = counted.IsEmpty() || counted.IsNull() ? 0 : automation::CLng(counted);
    if (c <= 1) continue;
    double sum = 0;
    for (int j = 1; j <= c && k + j - 1 <= places; ++j) sum += ArrayNumber(place_points, k + j - 1);
    db.Exec(u"Update [Play] Set 比赛得分=" + SqlNumber(automation::Round(sum / c, 2)) + where +
            u" And 比赛名次=" + LongToText(k) + scorers);
  }

  // 12. No valid result: no place, no points.
  if (s.no_result_rule > 1)
    db.Exec(u"Update [Play] Set 比赛得分=0,比赛名次=0,比赛组名次=0" + where +
            u" And (Len(AllTrim(比赛成绩))=0 Or Len(AllTrim(比赛检录))>0)");

  // 13. Small fields award fewer places.
  if (s.small_field == 1 && s.small_field_size >= s.entrants)
    db.Exec(u"Update [Play] Set 比赛得分=0,比赛名次=0,比赛组名次=0" + where +
            u" And Len(AllTrim(参赛子项目))=0 And 比赛名次>" + LongToText(s.entrants - s.small_field_fewer));

  // 14. The scorers, and only they: an entrant who scored in an earlier
  // save of this final but no longer does after a correction loses the mark.
  db.Exec(u"Update [Play] Set 比赛晋级=.F." + where + u" And 比赛得分<=0");
  db.Exec(u"Update [Play] Set 比赛晋级=.T." + where + u" And 比赛得分>0");
}

}  // namespace arenix::meet
