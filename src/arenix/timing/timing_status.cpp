#include "arenix/timing/timing_status.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "arenix/meet/filters.h"
#include "automation/error.h"
#include "automation/runtime.h"
#include "data/sql_text.h"

namespace arenix::timing {

namespace {

using automation::Text;
using automation::Trim;

[[noreturn]] void Refuse(const Text& message) {
  throw automation::Error(automation::err::kInvalidCall, message);
}

}  // namespace

void ApplyTimingStatus(const host::Request& form, meet::WldfDb& db) {
  const Text filter = meet::EntryFilter(Trim(form.Form(u"item")), Trim(form.Form(u"age")), Trim(form.Form(u"sex")),
                                        Trim(form.Form(u"item_sub")));
  Text wind = Trim(form.Form(u"timing_wind"));
  if (!wind.empty()) {
    const auto v = automation::ParseNumber(wind);
    if (!v || !std::isfinite(*v) || std::fabs(*v) > 99.9) Refuse(u"成绩保存失败：风速“" + wind + u"”不是数字");
    char buf[16];
    std::snprintf(buf, sizeof buf, "%+.1f", *v);
    wind = automation::FromAscii(buf);
  }
  std::vector<std::pair<Text, Text>> statuses;
  const std::vector<Text> list = automation::Split(form.Item(u"ydy_bh_list"), u"|");
  for (size_t i = 1; i < list.size(); ++i) {
    const Text number = Trim(list[i]);
    if (number.empty()) continue;
    const Text status = Trim(form.Form(u"playjl_" + number));
    if (!(status.empty() || status == u"DNS" || status == u"DNF" || status == u"DQ"))
      Refuse(u"成绩保存失败：编号 " + number + u" 的状态“" + status + u"”应为 DNS、DNF、DQ 或空");
    statuses.emplace_back(number, status);
  }
  for (const auto& [number, status] : statuses)
    db.Exec(u"Update [Play] Set 比赛检录=" + data::SqlText(status) + u",比赛风速=" + data::SqlText(wind) + u" Where " +
            filter + u" And Trim(编号)=" + data::SqlText(number));
}

}  // namespace arenix::timing
