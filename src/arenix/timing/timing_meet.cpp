#include "arenix/timing/timing_meet.h"

#include <algorithm>

#include "arenix/meet/filters.h"
#include "arenix/meet/stage.h"
#include "arenix/meet/stage_field.h"
#include "automation/coerce.h"
#include "automation/runtime.h"

namespace arenix::timing {

namespace {

using automation::CStr;
using automation::Trim;

Text TextAt(const meet::WldfRows& rows, size_t r, TextView column) {
  const automation::Variant& v = rows.At(r, column);
  return v.IsNull() || v.IsEmpty() ? Text() : Trim(CStr(v));
}

bool FlagAt(const meet::WldfRows& rows, size_t r, TextView column) {
  const automation::Variant& v = rows.At(r, column);
  return !(v.IsNull() || v.IsEmpty()) && automation::CBool(v);
}

Text SexOf(TextView item, bool male) {
  if (meet::IsMixedEvent(item, meet::kMixedMarker)) return u"混";
  return male ? u"男" : u"女";
}

Text Filter(const TimingEvent& e) { return meet::EntryFilter(e.item, e.age, e.sex, e.item_sub); }

}  // namespace

bool TimingEvent::Timed() const { return kind == u"径赛" && custom_format.empty(); }

int TimingEvent::StageOfRound(int round) const {
  return round >= 1 && round <= static_cast<int>(stages.size()) ? stages[round - 1] : 0;
}

int TimingEvent::RoundOfStage(int stage) const {
  const auto it = std::find(stages.begin(), stages.end(), stage);
  return it == stages.end() ? 0 : static_cast<int>(it - stages.begin()) + 1;
}

std::vector<TimingEvent> TimingEvents(meet::WldfDb& db) {
  std::vector<TimingEvent> events;
  const meet::WldfRows rows = db.Read(u"Select 参赛项目, 年龄组, 性别, 参赛子项目, 赛次名称 From PlaySour");
  for (size_t r = 0; r < rows.size(); ++r) {
    TimingEvent e;
    e.item = TextAt(rows, r, u"参赛项目");
    e.age = TextAt(rows, r, u"年龄组");
    e.sex = SexOf(e.item, FlagAt(rows, r, u"性别"));
    e.item_sub = TextAt(rows, r, u"参赛子项目");
    if (e.item.empty()) continue;
    auto it = std::find_if(events.begin(), events.end(), [&](const TimingEvent& x) {
      return x.item == e.item && x.age == e.age && x.sex == e.sex && x.item_sub == e.item_sub;
    });
    if (it == events.end()) {
      e.number = static_cast<int>(events.size()) + 1;
      events.push_back(e);
      it = events.end() - 1;
    }
    const int stage = meet::StageNumber(TextAt(rows, r, u"赛次名称"));
    if (stage > 0 && std::find(it->stages.begin(), it->stages.end(), stage) == it->stages.end())
      it->stages.push_back(stage);
  }
  for (TimingEvent& e : events) {
    std::sort(e.stages.begin(), e.stages.end());
    const meet::WldfRows facts =
        db.Read(u"Select 径赛田赛, 自定义格式, 分道, 集体项目 From Play Where " + Filter(e) + u" Order By 编号");
    if (facts.empty()) continue;
    e.kind = TextAt(facts, 0, u"径赛田赛");
    e.custom_format = TextAt(facts, 0, u"自定义格式");
    e.in_lanes = FlagAt(facts, 0, u"分道");
    e.team = FlagAt(facts, 0, u"集体项目");
  }
  return events;
}

Text EventLabel(const TimingEvent& e, int stage) {
  Text out = e.age + u" " + (e.sex == u"混" ? Text(u"混合") : e.sex + u"子") + u" " + e.item;
  if (!e.item_sub.empty()) out += u"·" + e.item_sub;
  if (stage > 0) out += u" " + meet::StageName(stage);
  return out;
}

std::vector<StartEntry> StageEntries(meet::WldfDb& db, const TimingEvent& e, int stage) {
  std::vector<StartEntry> out;
  const Text field = meet::StageFieldColumn(stage);
  if (field.empty()) return out;
  const meet::WldfRows rows =
      db.Read(u"Select 编号, 运动员, 代表队, 比赛团队, " + field + u" As f From Play Where " + Filter(e));
  for (size_t r = 0; r < rows.size(); ++r) {
    const meet::StageColumns c = meet::UnpackStageField(CStr(rows.At(r, u"f")));
    if (c.heat <= 0) continue;
    StartEntry s;
    s.number = TextAt(rows, r, u"编号");
    s.name = TextAt(rows, r, u"运动员");
    s.team = TextAt(rows, r, u"代表队");
    if (e.team && !Trim(c.team).empty()) s.name = Trim(c.team);
    s.heat = c.heat;
    s.lane = c.lane;
    out.push_back(std::move(s));
  }
  std::sort(out.begin(), out.end(), [](const StartEntry& a, const StartEntry& b) {
    return a.heat != b.heat ? a.heat < b.heat : a.lane != b.lane ? a.lane < b.lane : a.number < b.number;
  });
  return out;
}

}  // namespace arenix::timing
