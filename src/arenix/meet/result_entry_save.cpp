#include "arenix/meet/result_entry_save.h"

#include <cstdint>
#include <map>

#include "arenix/meet/filters.h"
#include "arenix/meet/result_notices.h"
#include "arenix/meet/stage.h"
#include "arenix/meet/stage_field.h"
#include "arenix/meet/stored_result.h"
#include "arenix/meet/result_entry_advance.h"
#include "arenix/meet/result_entry_combined.h"
#include "arenix/meet/result_entry_form.h"
#include "arenix/meet/result_entry_marks.h"
#include "arenix/meet/result_entry_next_round.h"
#include "arenix/meet/result_entry_points.h"
#include "arenix/meet/result_entry_rank.h"
#include "arenix/text/string_to_numeric.h"
#include "automation/coerce.h"
#include "automation/error.h"
#include "automation/object.h"
#include "automation/runtime.h"
#include "data/connection.h"
#include "data/sql_text.h"
#include "data/write_lock.h"
#include "host/host.h"

namespace arenix::meet {

namespace {

using automation::CStr;
using automation::LongToText;
using automation::Trim;
using data::SqlText;

// What the form says about the round being saved.
struct Entry {
  Text age, sex, item, item_sub, custom_format, kind;
  bool team = false, in_lanes = false;
  int stages = 0, stage = 0;
  bool places_mode = false;
  Text record;                  // the event's record value, as a key
  std::vector<Text> numbers;    // entry numbers, in form order
};

[[noreturn]] void Refuse(const Text& message) {
  throw automation::Error(automation::err::kInvalidCall, message);
}

int FormInt(const host::Request& form, TextView key) {
  const double v = FormNumber(form, key);
  return v > 32767 || v < -32768 ? 0 : static_cast<int>(automation::RoundHalfEven(v));
}

Entry ReadEntry(const host::Request& form) {
  Entry e;
  e.age = Trim(form.Form(u"age"));
  e.sex = Trim(form.Form(u"sex"));
  e.item = Trim(form.Form(u"item"));
  e.item_sub = Trim(form.Form(u"item_sub"));
  e.custom_format = Trim(form.Form(u"zdygs"));
  e.kind = Trim(form.Form(u"TsJs"));
  e.team = FormBool(form.Form(u"Jtxm"));
  e.in_lanes = FormBool(form.Form(u"JsFd"));
  e.stages = FormInt(form, u"scs");
  e.stage = e.stages == 1 ? kFinalStage : FormInt(form, u"sc");
  e.places_mode = FormInt(form, u"bsjg") != 0;
  e.record = RecordValue(form.Form(u"Record"));
  const std::vector<Text> list = automation::Split(form.Item(u"ydy_bh_list"), u"|");
  // Element 0 comes before the first "|"; an empty number names no entrant.
  for (size_t i = 1; i < list.size(); ++i)
    if (!Trim(list[i]).empty()) e.numbers.push_back(list[i]);
  if (StageName(e.stage).empty())
    Refuse(u"成绩保存失败：赛次“" + LongToText(e.stage) + u"”不在 1 到 4 之间");
  return e;
}

// An event run by sex is saved for men or for women only: any other sex
// would drop the sex condition and rank men and women together, so it is
// accepted only for an event whose name carries the mixed marker.
void CheckSexGroup(const Entry& e, TextView mixed_marker) {
  if (e.sex == u"男" || e.sex == u"女" || IsMixedEvent(e.item, mixed_marker)) return;
  Refuse(u"成绩保存失败：【" + e.item + u"】按男子组、女子组分别比赛，性别组“" + e.sex + u"”只适用于名称含“" +
         Text(mixed_marker) + u"”的混合项目，请重新选择性别组");
}

// A number typed for places mode: empty is 0, anything else must read as
// a number.
double TypedNumber(const host::Request& form, TextView field, TextView number, TextView what) {
  const Text typed = Trim(form.Form(Text(field) + Text(number)));
  if (typed.empty()) return 0;
  const auto v = automation::ParseNumber(typed);
  if (!v) Refuse(u"成绩保存失败：编号 " + Text(number) + u" 的" + Text(what) + u"“" + typed + u"”不是数字");
  return *v;
}

// A place typed for places mode: a whole number that fits the integer
// column, refused before anything is written otherwise.
Text TypedPlace(const host::Request& form, TextView field, TextView number, TextView what) {
  const double v = automation::RoundHalfEven(TypedNumber(form, field, number, what));
  if (!(v >= INT32_MIN && v <= INT32_MAX))
    Refuse(u"成绩保存失败：编号 " + Text(number) + u" 的" + Text(what) + u"“" +
           Trim(form.Form(Text(field) + Text(number))) + u"”超出范围");
  return LongToText(static_cast<int64_t>(v));
}

// Places mode: every value checked before the first statement.
void SavePlaces(const host::Request& form, WldfDb& db, const Entry& e, const Text& filter) {
  const bool combined = e.item.find(u"全能") != Text::npos;
  std::vector<Text> updates;
  for (const Text& number : e.numbers) {
    // Later assignments of a column replace earlier ones.
    std::vector<std::pair<Text, Text>> set;
    auto assign = [&](TextView column, Text value) {
      for (auto& s : set)
        if (s.first == column) {
          s.second = std::move(value);
          return;
        }
      set.emplace_back(Text(column), std::move(value));
    };
    assign(u"比赛名次", TypedPlace(form, u"playmc_", number, u"名次"));
    assign(u"比赛组名次", TypedPlace(form, u"playzmc_", number, u"组名次"));
    if (combined) {
      const double points = TypedNumber(form, u"playqnf_", number, u"全能得分");
      if (e.kind != u"全能")
        assign(u"比赛得分", SqlNumber(points));
      else
        assign(u"比赛成绩", SqlText(ComposeStoredResult(ResultLayout::kCombinedTotal, {SqlNumber(points)})));
    }
    if (e.stage == kFinalStage) {
      assign(u"比赛得分", SqlNumber(TypedNumber(form, u"playdf_", number, u"得分")));
      assign(u"比赛破记录", Trim(form.Form(u"playpjl_" + number)) == u"on" ? u".T." : u".F.");
    }
    Text sql = u"Update [Play] Set ";
    for (size_t i = 0; i < set.size(); ++i) sql += (i ? u"," : u"") + set[i].first + u"=" + set[i].second;
    updates.push_back(sql + u" Where " + filter + u" And Trim(编号)=" + SqlText(number));
  }
  db.Exec(u"Update [Play] Set 比赛名次=0,比赛组名次=0 Where " + filter + u".And.比赛组次=0");
  for (const Text& sql : updates) db.Exec(sql);
}

void SaveResults(WldfDb& db, const Text& filter, ResultLayout layout, const std::vector<TypedMark>& marks) {
  db.Exec(u"Update [Play] Set 比赛成绩='',排序成绩='' Where " + filter + u".And.比赛组次=0");
  for (const TypedMark& m : marks) {
    const Text stored = ComposeStoredResult(layout, {m.parts[0], m.parts[1], m.parts[2], m.parts[3]});
    db.Exec(u"Update [Play] Set  比赛成绩 =" + SqlText(stored) + u",排序成绩=" + SqlText(SortKeyOf(stored)) +
            u" Where " + filter + u" And Trim(编号)=" + SqlText(m.number));
  }
}

// Every typed mark of the form, checked against the layout of the event
// before anything is written; the entrants are named from the event's rows.
std::vector<TypedMark> CheckFormMarks(const host::Request& form, const Entry& e, const WldfRows& facts,
                                      ResultLayout layout) {
  std::map<Text, Text> names;
  for (size_t r = 0; r < facts.size(); ++r)
    names.emplace(Trim(CStr(facts.At(r, u"编号"))), Trim(CStr(facts.At(r, u"运动员"))));
  return CheckedMarks(form, e.numbers, layout, [&](TextView number) {
    const auto it = names.find(Trim(number));
    return it == names.end() ? Text() : it->second;
  });
}

// Keys of a round that follows another: entrants eliminated earlier and
// qualified entrants without a result ordered by their previous place,
// blocks of a grouped final kept apart.
void PreviousRoundKeys(WldfDb& db, const Text& filter, const WldfSaveSettings& s, const WldfStages& stages,
                       bool timed, bool in_lanes, bool carry) {
  const Text where = u" Where " + filter;
  const Text had_result = u" And Len(AllTrim(前赛成绩))>0";
  const Text dfrs = LongToText(s.scoring_places);
  if (timed) {
    db.Exec(u"Update [Play] Set 排序成绩='999999999'" + where +
            u" And 排序成绩='000000000' And Len(AllTrim(比赛成绩))=0");
    if (carry && (s.several_heats == 1 || !in_lanes)) {
      db.Exec(u"Update [Play] Set 排序成绩=Str(" + LongToText(kTimedEliminatedBase) + u"+前赛名次,9)" + where +
              u" And 前赛名次>" + LongToText(in_lanes ? s.lanes : s.group_size) + u" And 前赛名次<=" + dfrs);
      const Text key = TimedQualifiedNoResultKey(s.no_result_rule);
      if (!key.empty())
        db.Exec(u"Update [Play] Set 排序成绩=" + SqlText(key) + where + u" And 排序成绩='999999999'" + had_result +
                u" And 前赛名次>0 And 前赛名次<=" + LongToText(s.lanes));
    }
  } else if (carry) {
    db.Exec(u"Update [Play] Set 排序成绩=PADL(AllTrim(Str(" + dfrs + u"-前赛名次+10)),9,'0')" + where +
            u" And 前赛名次<=" + dfrs + u" And 前赛名次>" + LongToText(s.field_group));
    db.Exec(u"Update [Play] Set 排序成绩=" +
            (s.no_result_rule < 2 ? u"PADL(AllTrim(Str(" + dfrs + u"-前赛名次)),9,'0')" : Text(u"'000000000'")) +
            where + u" And 排序成绩='000000000'" + had_result + u" And 前赛名次>0 And 前赛名次<=" +
            LongToText(s.field_group));
  }
  if (!(timed || carry)) return;
  if (stages.current == StageName(kHeatsStage) || s.grouped_final != 1) return;
  const std::vector<Text> blocks = automation::Split(s.grouped_blocks, u"|");
  // One digit a block: at most ten blocks.
  for (size_t j = 0; j + 1 < blocks.size() && j < 10; ++j) {
    const int digit = timed ? static_cast<int>(j) : 9 - static_cast<int>(j);
    db.Exec(u"Update [Play] Set 排序成绩=STUFF(排序成绩,1,1," + SqlText(LongToText(digit)) + u")" + where +
            had_result + u" And 前赛名次>0 And AT(AllTrim(Str(前赛名次))," + SqlText(blocks[j]) + u")>0");
  }
}

// Seeds the next round from the whole of this one: while a heat has no
// results yet the next round stays as it was, and the recorder is told
// which heats are missing. Returns what the recorder should be told.
Text SeedNextRound(WldfDb& db, const Text& filter, const WldfSaveSettings& s, const Entry& e,
                   const WldfStages& stages) {
  const Text missing = HeatsWithoutResults(db, filter);
  if (!missing.empty())
    return u"第" + missing + u"组还没有成绩，" + stages.next + u"暂不编排；各组成绩都录入后再保存一次即编排" +
           stages.next + u"。";
  WldfAdvanceSettings a;
  a.edition = s.edition;
  a.group_size = s.group_size;
  a.field_group = s.field_group;
  a.lanes = s.lanes;
  a.qualifiers = s.scoring_places;
  a.lane_order = s.lane_order;
  a.draw_mode = static_cast<int>(automation::Val(s.draw_mode));
  a.custom_lanes = s.custom_lanes;
  a.several_heats = s.several_heats;
  a.reverse_others = s.reverse_others;
  a.reverse_field = s.reverse_field;
  a.kind = e.kind;
  a.in_lanes = e.in_lanes;
  a.next_stage = stages.next;
  a.current_stage = stages.current;
  // A next round already run keeps what its entrants did there.
  const NextRoundBefore before = ReadEnteredNextRound(db, filter, stages.next);
  const Text seeded = s.stage_plans != 0 ? WldfAdvanceByPlan(db, filter, a, e.item, e.age, e.sex, e.stage)
                                         : WldfAdvance(db, filter, a);
  const Text kept = KeepNextRoundResults(db, filter, before);
  return seeded.empty() ? kept : kept.empty() ? seeded : seeded + u"\n" + kept;
}

}  // namespace

WldfStages WldfStageName(int stages, int stage) {
  const Neighbours n = StageNeighbours(stages, stage);
  return {n.previous, StageName(stage), n.next};
}

void WldfPackStage(WldfDb& db, TextView filter, TextView stage_name) {
  const Text column = StageFieldColumn(StageNumber(stage_name));
  db.Exec(u"Update [Play] Set " + column + u"=" + StageFieldPackExpression(column) + u" Where " + Text(filter));
}

Text WldfSave(Variant& request, Variant& conn, Variant& rs, const WldfSaveSettings& s, Variant& place_points,
              Variant& grade_points) {
  Text notice;
  const auto& form = automation::ObjectCast<host::Request>(request);
  WldfDb db(conn, rs);
  Entry e = ReadEntry(form);
  CheckSexGroup(e, s.mixed_marker);
  const WldfStages stages = WldfStageName(e.stages, e.stage);
  const Text filter = EntryFilter(e.item, e.age, e.sex, e.item_sub, s.mixed_marker);
  const Text event_filter = EventFilter(e.item, e.age, e.sex, s.mixed_marker);

  data::MeetWriteLock lock(conn);
  if (auto* engine = automation::ObjectTryCast<data::FreeTableConnection>(conn); engine && engine->IsOpen()) {
    // Live result pages of this stage hear of it once the save is kept.
    SavedStage saved{engine->database().folder(), automation::ToUtf8(e.item), automation::ToUtf8(e.age),
                     IsMixedEvent(e.item, s.mixed_marker) ? "混" : automation::ToUtf8(e.sex),
                     automation::ToUtf8(e.item_sub), e.stage};
    lock.AfterCommit([saved] { AnnounceSavedStage(saved); });
  }
  if (e.places_mode) {
    SavePlaces(form, db, e, filter);
  } else {
    // The event's own facts replace what the form says about it.
    const WldfRows facts = db.Read(u"Select * From [Play] Where " + filter);
    const int n = static_cast<int>(facts.size());
    bool combined = false;
    if (n > 0) {
      e.kind = Trim(CStr(facts.At(0, u"径赛田赛")));
      e.team = automation::CBool(facts.At(0, u"集体项目"));
      e.in_lanes = automation::CBool(facts.At(0, u"分道"));
      combined = CStr(facts.At(0, u"参赛项目")).find(u"全能") != Text::npos;
    }
    const bool seeds = e.stage != kFinalStage && e.kind != u"全能" && !combined;
    if (seeds && stages.next.empty())
      Refuse(u"成绩保存失败：共 " + LongToText(e.stages) + u" 个赛次的项目没有第 " + LongToText(e.stage) +
             u" 赛次的下一赛次");

    const ResultLayout layout = LayoutOf(e.custom_format, e.kind, s.edition, s.time_style);
    const std::vector<TypedMark> marks = CheckFormMarks(form, e, facts, layout);
    SaveResults(db, filter, layout, marks);
    const bool direct = e.stages == 1 || (s.direct_final == 1 && s.direct_final_size >= n);
    const bool carry = !stages.previous.empty() && !direct && e.stage > 1;
    const bool timed = e.kind == kTrackKind || s.edition == kTimedEdition;
    if (!combined) {
      if (carry) {
        const Text previous = StageFieldColumn(StageNumber(stages.previous));
        db.Exec(u"Update [Play] Set 前赛成绩=" + StageItemSlice(previous, u"比赛成绩") + u",前赛名次=Int(Val(" +
                StageItemSlice(previous, u"比赛名次") + u")) Where " + filter);
      }
      PreviousRoundKeys(db, filter, s, stages, timed, e.in_lanes, carry);
    } else if (e.kind != kCombinedKind) {
      WldfCombinedPoints(db, {filter, event_filter, e.sex, e.item, e.item_sub, e.kind, s.edition, s.lookup_table,
                              s.pool});
    }

    if (s.record_flags_auto == 1 && !e.record.empty()) {
      db.Exec(u"Update [Play] Set 比赛破记录=.F. Where " + filter);
      db.Exec(u"Update [Play] Set 比赛破记录=.T. Where " + filter + u" And 排序成绩" + (timed ? u"<" : u">") +
              SqlText(e.record) +
              u" And Len(AllTrim(比赛成绩))>0 And 排序成绩<>'000000000' And 排序成绩<>'999999999'");
    }

    WldfRank(db, filter, {s.out_of_competition == 1, e.team, e.kind, s.edition});
    if (s.no_result_rule > 1)
      db.Exec(u"Update [Play] Set 比赛名次=0,比赛组名次=0 Where " + filter +
              u" And (Len(AllTrim(比赛成绩))=0 Or Len(AllTrim(比赛检录))>0)");

    if (!stages.previous.empty() && e.stage == kFinalStage && !direct && s.no_result_rule == 2) {
      const Text dfrs = LongToText(s.scoring_places);
      for (int k = 1; k <= s.scoring_places; ++k) {
        const Variant placed = db.Scalar(u"Select Count(*) From [Play] Where " + filter + u" And 比赛名次>0");
        const int c = placed.IsEmpty() || placed.IsNull() ? 0 : automation::CLng(placed);
        if (c >= s.scoring_places) break;
        const Text key = timed ? u"Str(" + LongToText(kTimedEliminatedBase) + u"+前赛名次,9)"
                               : u"PADL(AllTrim(Str(" + dfrs + u"-前赛名次)),9,'0')";
        db.Exec(u"Update [Play] Set 比赛名次=" + LongToText(c + 1) + u",比赛成绩=前赛成绩,比赛组次=1,比赛道次=-1,排序成绩=" +
                key + u" Where " + filter + u" And 前赛名次=" + LongToText(s.scoring_places + k));
      }
    }

    if (e.stage == kFinalStage) {
      if (e.item_sub.empty() || !combined) {
        WldfPointsSettings p;
        p.edition = s.edition;
        p.custom_points = s.custom_points;
        p.record_points_team = s.record_points_team;
        p.record_points = s.record_points;
        p.heat_records_count = s.heat_records_count;
        p.grades_in_use = s.grades_in_use;
        p.grade_points_auto = s.grade_points_auto;
        p.heat_grades_count = s.heat_grades_count;
        p.scoring_places = s.scoring_places;
        p.small_field = s.small_field;
        p.small_field_size = s.small_field_size;
        p.small_field_fewer = s.small_field_fewer;
        p.entrants = n;
        p.no_result_rule = s.no_result_rule;
        p.out_of_competition = s.out_of_competition;
        WldfFinalPoints(request, db, filter, event_filter, p, place_points, grade_points);
      }
    } else if (seeds) {
      notice = SeedNextRound(db, filter, s, e, stages);
    }
  }

  WldfPackStage(db, filter, stages.current);
  db.Exec(u"Update [PlaySour] Set 比赛状态=.T. Where " + filter + u" And 赛次名称=" + SqlText(stages.current));
  lock.Commit();
  return notice;
}

}  // namespace arenix::meet
