#include "arenix/meet/result_entry_combined.h"

#include <cmath>

#include "arenix/meet/stage_field.h"
#include "arenix/meet/stored_result.h"
#include "arenix/meet/result_entry_combined_tables.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/sql_text.h"

namespace arenix::meet {

namespace {

using automation::CStr;
using automation::LongToText;
using automation::Trim;
using data::SqlText;

bool IsMen(TextView sex) { return sex.find(u"男") != TextView::npos; }

// "name|rest" -> "rest" for the first row named `name`.
Text FindRow(std::span<const char16_t* const> table, TextView name) {
  for (const char16_t* row : table) {
    TextView r(row);
    const size_t bar = r.find(u'|');
    if (r.substr(0, bar) == name) return Text(r.substr(bar + 1));
  }
  return Text();
}

// A base time "m:ss.hh" as a stored time result; empty: no time.
Text StoredTime(TextView time) {
  Text minutes, rest(time);
  if (const size_t colon = rest.find(u':'); colon != Text::npos) {
    minutes = rest.substr(0, colon);
    rest = rest.substr(colon + 1);
  }
  const size_t dot = rest.find(u'.');
  const Text seconds = rest.substr(0, dot), hundredths = dot == Text::npos ? Text() : rest.substr(dot + 1);
  return ComposeStoredResult(ResultLayout::kTime, {minutes, seconds, hundredths});
}

double Number(TextView text) { return automation::Val(text); }

// A * difference ^ C when the difference is positive, else 0; whole points.
double Power(double a, double difference, double c) {
  return difference > 0 ? automation::Int(a * std::pow(difference, c)) : 0;
}

// The scoring adjustment of the sub-event in Item_Sub (0 when empty,
// missing or unreadable).
double Adjustment(WldfDb& db, TextView item, TextView sub_event) {
  const Variant v = db.Scalar(u"Select 计分调整值 From [Item_Sub] Where AllTrim(参赛项目)==" + SqlText(item) +
                              u" And AllTrim(参赛子项目)==" + SqlText(sub_event));
  if (v.IsEmpty() || v.IsNull()) return 0;
  const auto n = automation::ParseNumber(Trim(CStr(v)));
  return n ? *n : 0;
}

void ScoreByTable(WldfDb& db, const WldfCombinedInput& in) {
  const bool men = IsMen(in.sex);
  const bool timed = in.kind == u"径赛" || in.edition == 2;
  WldfRows rows = db.Read(Text(u"Select 分值,") + (men ? u"男比对成绩" : u"女比对成绩") +
                          u" As 比对成绩 From [Fcgqn_CjDfDzb]  Where Trim(参赛项目)=" + SqlText(in.sub_event) +
                          u" .And.Len(Alltrim(" + (men ? u"男子成绩" : u"女子成绩") + u"))>0 Order By 分值 Asc ");
  for (const auto& row : rows.rows) {
    // The threshold is an expression of the table's own (a quoted key).
    db.Exec(u"Update [Play] Set 比赛得分=" + SqlNumber(automation::CDbl(row[0])) + u" Where " + in.filter +
            u" And 排序成绩" + (timed ? u"<=" : u">=") + Trim(CStr(row[1])));
  }
}

void ScoreByFormula(WldfDb& db, const WldfCombinedInput& in) {
  const double adjust = Adjustment(db, in.item, in.sub_event);
  const Text params = in.edition == 2 ? SwimParaFromSexItem(in.sex, in.sub_event, in.pool)
                                      : GetParaFromSexItem(in.sex, in.sub_event);
  if (params.empty()) return;
  WldfRows rows = db.Read(u"Select 编号,排序成绩 From [Play] Where " + in.filter);
  for (const auto& row : rows.rows) {
    const Text key = CStr(row[1]);
    const auto points = in.edition == 2 ? SwimPoints(params, key, adjust) : FormulaPoints(params, key, adjust);
    if (!points) continue;
    db.Exec(u"Update [Play] Set 比赛得分=" + SqlNumber(*points) + u" Where " + in.filter +
            u" And Trim(编号)=" + SqlText(Trim(CStr(row[0]))));
  }
}

// The totals of every athlete onto the combined-event rows, then the
// sub-event's slot of the summary in 复赛信息.
void WriteTotals(WldfDb& db, const WldfCombinedInput& in) {
  const Text own_row = u" And Len(AllTrim(参赛子项目))=0 And Trim(编号)=";
  WldfRows totals = db.Read(u"Select 编号,运动员,参赛项目,Sum(比赛得分) As 总分 From [Play] Where " +
                            in.event_filter + u" And Len(AllTrim(参赛子项目))>0 Group By 编号,运动员,参赛项目");
  for (const auto& row : totals.rows) {
    const double sum = row[3].IsNull() || row[3].IsEmpty() ? 0 : automation::CDbl(row[3]);
    const Text total = LongToText(static_cast<int64_t>(automation::RoundHalfEven(sum)));
    db.Exec(u"Update [Play] Set 比赛成绩=" + SqlText(ComposeStoredResult(ResultLayout::kCombinedTotal, {total})) +
            u" Where " + in.event_filter + own_row + SqlText(Trim(CStr(row[0]))));
  }
  const Text padded = u"PADL(AllTrim(比赛成绩)," + LongToText(StageItemWidth(u"比赛成绩")) + u")";
  db.Exec(u"Update [Play] Set 决赛信息=" + StageItemStuff(u"决赛信息", u"比赛成绩", padded) + u" Where " + in.event_filter +
          u" And Len(AllTrim(参赛子项目))=0");

  WldfRows subs = db.Read(u"Select 参赛子项目 From [Item_Sub] Where AllTrim(参赛项目)==" + SqlText(in.item));
  size_t slot = subs.size() + 1;
  for (size_t i = 0; i < subs.size(); ++i)
    if (Trim(CStr(subs.rows[i][0])) == in.sub_event) {
      slot = i + 1;
      break;
    }
  const Text at = LongToText(SubEventSlotStart(static_cast<int>(slot)));
  WldfRows rows = db.Read(u"Select 编号,比赛成绩,比赛得分 From [Play] Where " + in.filter);
  for (const auto& row : rows.rows) {
    const auto points = static_cast<int32_t>(automation::RoundHalfEven(automation::CDbl(row[2])));
    db.Exec(u"Update [Play] Set 复赛信息=STUFF(复赛信息," + at + u"," + LongToText(kSubEventSlotWidth) + u"," +
            SqlText(SubEventSlot(CStr(row[1]), points)) + u") Where " + in.event_filter + own_row +
            SqlText(Trim(CStr(row[0]))));
  }
}

}  // namespace

Text GetParaFromSexItem(TextView sex, TextView item) {
  const Text name = Trim(item);
  if (name.empty()) return Text();
  return FindRow(IsMen(sex) ? MenFieldTable() : WomenFieldTable(), name);
}

Text SwimParaFromSexItem(TextView sex, TextView item, int pool) {
  const Text name = Trim(item);
  if (name.empty()) return Text();
  const bool long_pool = pool == 1;
  for (const SwimRow& row : SwimTable(IsMen(sex), long_pool))
    if (name == row.event)
      return Text(long_pool ? u"50米池" : u"25米池") + u"|" + StoredTime(row.base) + u"|" + Text(9, u' ') + u"|" +
             row.divisor;
  return Text();
}

std::optional<double> FormulaPoints(TextView params, TextView key, double adjust) {
  const std::vector<Text> p = automation::Split(params, u"|");
  if (p.size() < 4) return std::nullopt;
  const double a = Number(p[1]), b = Number(p[2]), c = Number(p[3]);
  if (p[0] == u"径赛项目") {
    if (Trim(key) == u"000000000") return 0.0;
    return Power(a, b - SecondsOfKey(key) + adjust, c);
  }
  if (p[0] == u"跳跃项目") return Power(a, MetresOfKey(key) * 100 - b + adjust, c);
  if (p[0] == u"投掷项目") return Power(a, MetresOfKey(key) - b + adjust, c);
  return std::nullopt;
}

std::optional<double> SwimPoints(TextView params, TextView key, double adjust) {
  const std::vector<Text> p = automation::Split(params, u"|");
  if (p.size() < 4) return std::nullopt;
  if (Trim(key) == u"000000000") return 0.0;
  const double divisor = Number(p[3]);
  if (divisor == 0) return 0.0;
  const double base = SecondsOfKey(SortKeyOf(p[1]));
  const double points = 100 - (SecondsOfKey(key) - base + adjust) / divisor;
  return points > 0 ? automation::RoundHalfEven(points) : 0.0;
}

void WldfCombinedPoints(WldfDb& db, const WldfCombinedInput& input) {
  if (input.lookup_table != 0)
    ScoreByTable(db, input);
  else
    ScoreByFormula(db, input);
  WriteTotals(db, input);
}

}  // namespace arenix::meet
