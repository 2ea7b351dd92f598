#include "arenix/meet/result_entry_advance.h"

#include <algorithm>

#include "arenix/meet/lane_draw.h"
#include "arenix/meet/stage.h"
#include "arenix/meet/stage_field.h"
#include "automation/clock.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/sql_text.h"

namespace arenix::meet {

namespace {

using automation::CStr;
using automation::LongToText;
using automation::Trim;
using data::SqlText;

// The first items of the next round's stage field, in the layout's
// order, each written from the expression that carries it for the next
// round: its running order, heat, lane and heat information (positions
// 1-18), then the result and place (twice) it brings along (to 35).
Text SeedItems(std::initializer_list<const char16_t*> sources) {
  Text out;
  auto item = StageFieldLayout().begin();
  for (const char16_t* source : sources) {
    const Text width = LongToText(item->width), s(source);
    if (!out.empty()) out += u"+";
    switch (item->form) {
      case StageItemForm::kNumber: out += u"PADL(Str(" + s + u")," + width + u")"; break;
      case StageItemForm::kText: out += u"PADL(AllTrim(" + s + u")," + width + u")"; break;
      default: out += u"PADL(" + s + u"," + width + u")"; break;
    }
    ++item;
  }
  return out;
}

const Text& NextHead() {
  static const Text head = SeedItems({u"后赛序号", u"后赛组次", u"后赛道次", u"后赛组人数"});
  return head;
}
const Text& NextWithCarry() {
  static const Text s =
      SeedItems({u"后赛序号", u"后赛组次", u"后赛道次", u"后赛组人数", u"前赛成绩", u"前赛名次", u"前赛名次"});
  return s;
}
const Text& NextWithoutCarry() {
  static const Text s = SeedItems({u"后赛序号", u"后赛组次", u"后赛道次", u"后赛组人数", u"Space(9)", u"0", u"0"});
  return s;
}

// Positions 1 to the end of the last item written: the head (4 items,
// positions 1-18) or the head with what the entrant carries (7 items, to 35).
int SeedEnd(size_t items) {
  const StageItem& last = StageFieldLayout()[items - 1];
  return last.start + last.width - 1;
}
const int kSeedHead = SeedEnd(4);
const int kSeedCarry = SeedEnd(7);

Text Digits3(int n) {
  Text t = LongToText(n);
  return t.size() >= 3 ? t.substr(t.size() - 3) : Text(3 - t.size(), u'0') + t;
}

// The lane digit at 1-based `position` of a lane order; -1 (no lane) past
// its end.
int LaneAt(TextView lanes, size_t position) {
  if (position < 1 || position > lanes.size()) return -1;
  const char16_t c = lanes[position - 1];
  return c >= u'0' && c <= u'9' ? c - u'0' : -1;
}

// Heat in two digits followed by lane in two digits: heat 1 lane 4 is 104.
int RunningOrder(int heat, int lane) { return heat * 100 + lane; }

bool Timed(const WldfAdvanceSettings& s) { return s.kind == u"径赛" || s.edition == 2; }

Text Field(TextView stage) { return StageFieldColumn(StageNumber(stage)); }

// The condition that finds one qualifier again: its entry number, athlete
// and delegation.
Text SameEntrant(const WldfRows& rows, size_t r) {
  return u" And Trim(编号)=" + SqlText(Trim(CStr(rows.At(r, u"编号")))) + u" And AllTrim(代表队)==" +
         SqlText(Trim(CStr(rows.At(r, u"代表队")))) + u" And AllTrim(运动员)==" +
         SqlText(Trim(CStr(rows.At(r, u"运动员"))));
}

Text SameId(const WldfRows& rows, size_t r) {
  return u" And ID==" + SqlText(Trim(CStr(rows.At(r, u"ID"))));
}

// "编号 张三、" for the recorder's message.
Text Named(const WldfRows& rows, size_t r) {
  return (Text(u"、") + Trim(CStr(rows.At(r, u"编号"))) + u" " + Trim(CStr(rows.At(r, u"运动员"))));
}

Text BeyondLanes(int lanes, const Text& named) {
  return u"晋级人数超过跑道数（" + LongToText(lanes) + u"道），以下运动员未排道次：" + named.substr(1);
}

void WriteNextHead(WldfDb& db, const Text& where, TextView next) {
  const Text f = Field(next);
  db.Exec(u"Update [Play] Set " + f + u"=STUFF(" + f + u",1," + LongToText(kSeedHead) + u"," + NextHead() + u")" +
          where);
}

// Several heats of lanes: heats filled in ranking order, the j-th of a heat
// in the j-th lane of the order.
void SeveralHeats(WldfDb& db, const Text& where, const WldfRows& q, const WldfAdvanceSettings& s, int p,
                  TextView lanes) {
  const int n = static_cast<int>(q.size());
  const int heats = (n + p - 1) / p;
  const Text info = HeatInfo(heats, n);
  int taken = 0;
  for (int heat = 1; taken < n; ++heat) {
    int size;
    if (s.edition == 2) {
      const int r = n % p;
      if (heat == 1)
        size = r == 0 ? p : std::max(r, 3);
      else if (heat == 2)
        size = r > 0 && r < 3 ? p - (3 - r) : p;
      else
        size = p;
    } else {
      const int heats_left = std::max(1, heats - heat + 1);
      size = (n - taken + heats_left - 1) / heats_left;
    }
    size = std::clamp(size, 1, n - taken);
    for (int j = 1; j <= size; ++j, ++taken) {
      const int lane = LaneAt(lanes, static_cast<size_t>(j));
      db.Exec(u"Update [Play] Set 后赛组次=" + LongToText(heat) + u",后赛道次=" + LongToText(lane) + u",后赛序号=" +
              LongToText(RunningOrder(heat, lane)) + u",后赛组人数=" + SqlText(info) + u",比赛晋级=.T." + where +
              SameEntrant(q, static_cast<size_t>(taken)));
    }
  }
  WriteNextHead(db, where, s.next_stage);
}

// One group: the first p in lanes or positions, the rest without one,
// keeping their result and place for the next round.
Text OneGroup(WldfDb& db, const Text& where, const WldfRows& q, const WldfAdvanceSettings& s, int p,
              TextView lanes, bool by_lane, bool reversed) {
  const int n = static_cast<int>(q.size());
  const Text info = u"001" + Digits3(p);
  Text without_lane;
  for (int k = 1; k <= n; ++k) {
    Text set;
    if (k <= p) {
      const int position = by_lane ? LaneAt(lanes, static_cast<size_t>(k)) : reversed ? n - k + 1 : k;
      set = u"后赛道次=" + LongToText(position) + u",后赛序号=" + LongToText(RunningOrder(1, position)) +
            u",前赛成绩='',前赛名次=0";
    } else {
      Text last2 = LongToText(n + k);
      last2 = last2.size() >= 2 ? last2.substr(last2.size() - 2) : u"0" + last2;
      set = u"后赛道次=-1,后赛序号=" + LongToText(automation::Val(u"01" + last2)) +
            u",前赛成绩=比赛成绩,前赛名次=比赛名次";
      if (by_lane) without_lane += Named(q, static_cast<size_t>(k - 1));
    }
    db.Exec(u"Update [Play] Set " + set + u",后赛组次=1,后赛组人数=" + SqlText(info) + u",比赛晋级=.T." + where +
            SameEntrant(q, static_cast<size_t>(k - 1)));
  }
  const Text f = Field(s.next_stage);
  db.Exec(u"Update [Play] Set " + f + u"=STUFF(" + f + u",1," + LongToText(kSeedCarry) + u"," + NextWithCarry() +
          u")" + where);
  return without_lane.empty() ? Text() : BeyondLanes(p, without_lane);
}

}  // namespace

Text HeatInfo(int heats, int entrants) { return Digits3(heats) + Digits3(entrants); }

Text HeatsWithoutResults(WldfDb& db, TextView filter) {
  const Text where = u" Where " + Text(filter) + u" And 比赛组次>0";
  std::vector<int> all, with_results;
  for (const auto& row : db.Read(u"Select Distinct 比赛组次 From [Play]" + where).rows)
    all.push_back(automation::CLng(row[0]));
  for (const auto& row :
       db.Read(u"Select Distinct 比赛组次 From [Play]" + where +
               u" And (Len(AllTrim(比赛成绩))>0 Or Len(AllTrim(比赛检录))>0)").rows)
    with_results.push_back(automation::CLng(row[0]));
  std::sort(all.begin(), all.end());
  Text missing;
  for (int heat : all)
    if (std::find(with_results.begin(), with_results.end(), heat) == with_results.end())
      missing += (missing.empty() ? u"" : u"、") + LongToText(heat);
  return missing;
}

Text WldfAdvance(WldfDb& db, TextView filter, const WldfAdvanceSettings& s) {
  const Text where = u" Where " + Text(filter);
  int p = s.kind == u"田赛" ? s.field_group : s.in_lanes ? s.lanes : s.group_size;
  // Entrants who no longer qualify after a corrected save lose the mark.
  db.Exec(u"Update [Play] Set 后赛道次=-1,后赛组次=0,后赛序号=9999,比赛晋级=.F." + where);
  const WldfRows q = db.Read(u"Select * From [Play]" + where + u" And 比赛名次>0 And 比赛名次<=" +
                             LongToText(s.qualifiers) + kValidResult + u" Order By 排序成绩 " +
                             (Timed(s) ? u"Asc" : u"Desc"));
  if (q.empty()) return Text();
  Text notice;

  if (s.kind == u"径赛" && s.in_lanes) {
    Text lanes = s.lane_order;
    if (s.draw_mode >= 2 && s.draw_mode <= 4) lanes = LaneGroupDraw(lanes, s.draw_mode);
    const Text custom = Trim(CStr(q.At(0, u"自定义跑道")));
    if (s.custom_lanes == 1 && !custom.empty()) {
      p = static_cast<int>(std::count_if(custom.begin(), custom.end(), [](char16_t c) { return c != u'|'; }));
      lanes = LaneCustomDraw(custom);
    }
    if (s.several_heats == 2 && p > 0)
      SeveralHeats(db, where, q, s, p, lanes);
    else
      notice = OneGroup(db, where, q, s, p, lanes, true, false);
  } else {
    const bool reversed = s.kind == u"田赛" ? s.reverse_field == 1 : s.reverse_others == 1;
    OneGroup(db, where, q, s, p, u"", false, reversed);
  }

  const Text f = Field(s.next_stage);
  db.Exec(u"Update [Play] Set " + f + u"=STUFF(" + f + u",1," + LongToText(kSeedCarry) + u"," + NextWithoutCarry() +
          u")" + where +
          u" And (比赛名次<=0 Or 比赛组名次<=0 Or 比赛名次>" + LongToText(s.qualifiers) + u" Or Not 比赛晋级)");
  return notice;
}

Text WldfAdvanceByHeats(WldfDb& db, TextView filter, TextView next_stage, int heats, int per_heat, int extra,
                        int lanes, bool several_heats) {
  const Text where = u" Where " + Text(filter);
  db.Exec(u"Update [Play] Set 后赛组次=0,后赛道次=-1,后赛序号=-1,比赛晋级=.F." + where);
  const Text by_heat = u" And 比赛组名次>0 And 比赛组名次<=" + LongToText(per_heat) + kValidResult;
  db.Exec(u"Update [Play] Set 比赛晋级=.T." + where + by_heat);
  const int total = heats * per_heat + extra;
  const Variant counted =
      db.Scalar(u"Select Count(*) From [Play]" + where + by_heat + u" And 比赛名次>=" + LongToText(total));
  const int m = counted.IsEmpty() || counted.IsNull() ? 0 : automation::CLng(counted);
  db.Exec(u"Update [Play] Set 比赛晋级=.T." + where + u" And 比赛名次>0 And 比赛名次<=" + LongToText(total - m) +
          kValidResult);

  WldfRows q = db.Read(u"Select * From [Play]" + where + u" And 比赛晋级 Order By 比赛名次");
  int n = static_cast<int>(q.size());
  if (n == 0) return Text();
  int groups = std::max(1, n / 8);
  // A heat never holds more entrants than there are lanes: more heats when
  // the meet runs several, else the slowest beyond the lanes stay out.
  const int lane_count = std::min(lanes, 8);
  Text notice;
  if (lane_count > 0 && n > groups * lane_count) {
    if (several_heats) {
      groups = (n + lane_count - 1) / lane_count;
    } else {
      Text named;
      for (size_t r = static_cast<size_t>(groups * lane_count); r < q.size(); ++r) {
        named += Named(q, r);
        db.Exec(u"Update [Play] Set 比赛晋级=.F." + where + SameId(q, r));
      }
      notice = BeyondLanes(lane_count, named);
      q.rows.resize(static_cast<size_t>(groups * lane_count));
      n = groups * lane_count;
    }
  }

  // Serpentine heats 1..G, G..1, 1..G; the tier is the round of the walk.
  int heat = 1, direction = 1;
  for (int k = 1; k <= n; ++k) {
    const int draw = static_cast<int>(automation::Int(10000.0f * automation::Rnd()));
    db.Exec(u"Update [Play] Set 后赛组次=" + LongToText(heat) + u",后赛道次=" + LongToText((k - 1) / groups + 1) +
            u",随机排列=" + LongToText(draw) + where + SameId(q, static_cast<size_t>(k - 1)));
    heat += direction;
    if (heat > groups) {
      heat = groups;
      direction = -1;
    } else if (heat < 1) {
      heat = 1;
      direction = 1;
    }
  }

  // Lanes by tiers: the four best of a heat draw lanes 3-6, the next two
  // 7 and 8, the last two 1 and 2.
  struct Tier {
    int from, to;
    const char16_t* lanes;
  };
  for (const Tier& t : {Tier{1, 4, u"3456"}, Tier{5, 6, u"78"}, Tier{7, 8, u"12"}}) {
    const WldfRows rows = db.Read(u"Select ID From [Play]" + where + u" And 比赛晋级 And 后赛道次>=" +
                                  LongToText(t.from) + u" And 后赛道次<=" + LongToText(t.to) +
                                  u" Order By 后赛组次,随机排列");
    const size_t width = Text(t.lanes).size();
    for (size_t k = 0; k < rows.size(); ++k)
      db.Exec(u"Update [Play] Set 后赛序号=" + Text(1, t.lanes[k % width]) + where + SameId(rows, k));
  }
  db.Exec(u"Update [Play] Set 后赛道次=后赛序号,后赛序号=0" + where + u" And 比赛晋级 And 后赛道次>=1 And 后赛道次<=8");

  // The heats get numbers drawn at random: the heats of one lane (3 to 6,
  // drawn) in random order give every heat its new number.
  const int lane = 3 + static_cast<int>(automation::Int(4.0f * automation::Rnd()));
  const WldfRows order = db.Read(u"Select 后赛组次 From [Play]" + where + u" And 比赛晋级 And 后赛道次=" +
                                 LongToText(lane) + u" Order By 随机排列");
  std::vector<int> renumber;
  for (const auto& row : order.rows) renumber.push_back(automation::CLng(row[0]));
  const WldfRows all = db.Read(u"Select ID,后赛组次 From [Play]" + where + u" And 比赛晋级");
  for (size_t r = 0; r < all.size(); ++r) {
    const int g = automation::CLng(all.rows[r][1]);
    // A heat missing from the drawn lane (fewer than four qualifiers)
    // keeps its number rather than becoming heat 0.
    const int drawn = g >= 1 && g <= static_cast<int>(renumber.size()) ? renumber[static_cast<size_t>(g - 1)] : g;
    db.Exec(u"Update [Play] Set 后赛组次=" + LongToText(drawn) + u",后赛组人数=" + SqlText(HeatInfo(groups, groups * 8)) +
            where + SameId(all, r));
  }
  db.Exec(u"Update [Play] Set 后赛序号=后赛组次*100+后赛道次" + where + u" And 比赛晋级");
  WriteNextHead(db, where, next_stage);
  return notice;
}

Text WldfAdvanceByPlan(WldfDb& db, TextView filter, const WldfAdvanceSettings& s, TextView item, TextView age,
                       TextView sex, int stage) {
  const Variant serial = db.Scalar(u"Select 流水号 From [Age] Where AllTrim(年龄组)==" + SqlText(age));
  const int block = serial.IsEmpty() || serial.IsNull() ? 1 : automation::CLng(serial);
  int stages = 0, h = 0, q = 0, x = 0;
  if (Timed(s)) {
    const WldfRows plan =
        db.Read(u"Select 男赛次信息,女赛次信息 From [Item] Where AllTrim(参赛项目)==" + SqlText(item));
    if (!plan.empty()) {
      const Text text = CStr(plan.rows[0][sex == u"男" ? 0 : 1]);
      const int start = (std::max(block, 1) - 1) * 13 + 1;
      const Text b = start <= static_cast<int>(text.size()) ? automation::Mid(text, start, 13) : Text();
      auto digits = [&](int at, int len) {
        return at <= static_cast<int>(b.size()) ? static_cast<int>(automation::Val(automation::Mid(b, at, len))) : 0;
      };
      stages = digits(1, 1);
      if (stage >= 1 && stage <= 3) {
        h = digits(2 + (stage - 1) * 4, 2);
        q = digits(4 + (stage - 1) * 4, 1);
        x = digits(5 + (stage - 1) * 4, 1);
      }
    }
  }
  if (stages > 1)
    return WldfAdvanceByHeats(db, filter, s.next_stage, h, q, x, s.in_lanes ? s.lanes : 0, s.several_heats == 2);
  return WldfAdvance(db, filter, s);
}

}  // namespace arenix::meet
