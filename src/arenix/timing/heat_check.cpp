#include "arenix/timing/heat_check.h"

#include <map>
#include <string>

#include "automation/runtime.h"

namespace arenix::timing {

namespace {

Text Number(int64_t n) { return automation::FromAscii(std::to_string(n)); }

Text TwoDigits(int64_t n) { return automation::FromAscii((n < 10 ? "0" : "") + std::to_string(n)); }

// The longest time the stored result holds: 99 minutes 59.99 seconds.
constexpr int64_t kLongestHundredths = 99 * 6000 + 5999;

// Names compare without blanks: the camera may split "张 三" into last and
// first name, or give both in one column.
Text Squeezed(TextView s) {
  Text out;
  for (char16_t c : s)
    if (c != u' ' && c != u'\t' && c != 0x3000) out += c;
  return out;
}

}  // namespace

bool HeatCheck::Savable() const {
  if (rows.empty()) return false;
  for (const CheckedRow& r : rows)
    if (!r.problems.empty()) return false;
  return true;
}

Text HundredthsText(int64_t hundredths) {
  const int64_t minutes = hundredths / 6000, seconds = hundredths / 100 % 60, cs = hundredths % 100;
  return (minutes > 0 ? Number(minutes) + u":" + TwoDigits(seconds) : Number(seconds)) + u"." + TwoDigits(cs);
}

HeatCheck CheckHeat(const LifFile& file, const std::vector<StartEntry>& stage, bool in_lanes) {
  HeatCheck out;
  const int heat = file.header.heat;
  std::map<Text, const StartEntry*> by_number;
  for (const StartEntry& e : stage) by_number.emplace(e.number, &e);
  std::map<Text, int> seen;  // entry number -> line

  if (!file.header.wind.empty() && !file.header.wind_mps)
    out.warnings.push_back(u"风速“" + file.header.wind + u"”不是数字，不保存风速");

  for (const LifAthlete& a : file.athletes) {
    CheckedRow row;
    row.athlete = a;
    row.status = StatusCode(a.status);
    const Text id = automation::Trim(a.id);
    if (id.empty()) {
      row.problems.push_back(u"没有编号");
    } else if (auto [it, first] = seen.emplace(id, a.line); !first) {
      row.problems.push_back(u"编号 " + id + u" 在第 " + Number(it->second) + u" 行已出现");
    } else if (auto e = by_number.find(id); e == by_number.end() || e->second->heat <= 0) {
      row.problems.push_back(u"编号 " + id + u" 不在本赛次");
    } else {
      row.entry = e->second;
      if (row.entry->heat != heat) {
        row.problems.push_back(u"编号 " + id + u" 在第 " + Number(row.entry->heat) + u" 组，不在第 " + Number(heat) +
                               u" 组");
      } else {
        if (in_lanes && a.lane != row.entry->lane)
          row.warnings.push_back(u"道次不符：文件为 " + (a.lane ? Number(a.lane) : Text(u"空")) + u"，检录单为 " +
                                 Number(row.entry->lane));
        const Text file_name = Squeezed(a.last_name + a.first_name);
        const Text file_name_reversed = Squeezed(a.first_name + a.last_name);
        const Text listed = Squeezed(row.entry->name);
        if (!file_name.empty() && file_name != listed && file_name_reversed != listed)
          row.warnings.push_back(u"姓名不符：文件为“" + automation::Trim(a.last_name + u" " + a.first_name) +
                                 u"”，检录单为“" + row.entry->name + u"”");
      }
    }
    if (a.status == LifStatus::kFinished && a.thousandths) {
      row.hundredths = HundredthsOf(*a.thousandths);
      if (row.hundredths > kLongestHundredths) {
        row.problems.push_back(u"成绩 " + a.time_text + u" 超出成绩格式（最长 99 分 59.99 秒）");
        row.hundredths = -1;
      } else {
        row.parts = {row.hundredths >= 6000 ? Number(row.hundredths / 6000) : Text(),
                     Number(row.hundredths / 100 % 60), TwoDigits(row.hundredths % 100)};
      }
    }
    out.rows.push_back(std::move(row));
  }
  // Hundredths rounded up can make equal results of athletes the camera
  // told apart by thousandths; the save ranks equal results as a tie.
  for (CheckedRow& r : out.rows)
    for (const CheckedRow& other : out.rows)
      if (&r != &other && r.hundredths >= 0 && r.hundredths == other.hundredths &&
          r.athlete.place != other.athlete.place)
        r.warnings.push_back(u"与编号 " + automation::Trim(other.athlete.id) + u" 同为 " + HundredthsText(r.hundredths) +
                             u"，文件名次不同（千分位之差）：保存后名次并列");
  for (const StartEntry& e : stage)
    if (e.heat == heat && !seen.count(e.number)) out.missing.push_back(&e);
  return out;
}

}  // namespace arenix::timing
