#include "arenix/timing/timing_import.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "arenix/meet/stage.h"
#include "arenix/page/encode.h"
#include "automation/runtime.h"

namespace arenix::timing {

namespace {

using arenix::page::HtmlEscape;

Text Number(int64_t n) { return automation::FromAscii(std::to_string(n)); }

Text Hidden(TextView name, TextView value) {
  return u"<input type=\"hidden\" name=\"" + HtmlEscape(name) + u"\" value=\"" + HtmlEscape(value) + u"\">\n";
}

Text Cell(TextView text) { return u"<td>" + HtmlEscape(text) + u"</td>"; }

Text Findings(const std::vector<Text>& problems, const std::vector<Text>& warnings) {
  Text out;
  for (const Text& p : problems) out += u"<div class=\"timing-problem\">" + HtmlEscape(p) + u"</div>";
  for (const Text& w : warnings) out += u"<div class=\"timing-warning\">" + HtmlEscape(w) + u"</div>";
  return out.empty() ? Text(u"<span class=\"timing-ok\">相符</span>") : out;
}

// The wind as the result lists keep it: a sign and one decimal.
Text WindText(double mps) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%+.1f", mps);
  return automation::FromAscii(buf);
}

Text Summary(const ImportPreview& p) {
  const LifFile& f = *p.file;
  Text out = u"<p class=\"note\">文件 <b>" + HtmlEscape(p.source) + u"</b> · " +
             HtmlEscape(EventLabel(*p.event, p.stage)) + u" · 第 " + Number(f.header.heat) + u" 组";
  if (f.header.wind_mps) out += u" · 风速 " + WindText(*f.header.wind_mps) + u" 米/秒";
  out += u"<br>文件中的项目：" + Number(f.header.event) + u" / " + Number(f.header.round) + u" / " +
         Number(f.header.heat) + u" " + HtmlEscape(f.header.name) + u"</p>\n";
  return out;
}

Text ConfirmForm(const ImportPreview& p) {
  const TimingEvent& e = *p.event;
  Text list, fields;
  for (const CheckedRow& r : p.check.rows) {
    const Text& n = r.entry->number;
    list += u"|" + n;
    fields += Hidden(u"playcj_1_" + n, r.parts[0]) + Hidden(u"playcj_2_" + n, r.parts[1]) +
              Hidden(u"playcj_3_" + n, r.parts[2]) + Hidden(u"playjl_" + n, r.status);
  }
  const LifFile& f = *p.file;
  Text out = u"<form name=\"timingform\" method=\"post\" action=\"entry.asp\">\n";
  out += Hidden(u"age", e.age) + Hidden(u"sex", e.sex) + Hidden(u"item", e.item) + Hidden(u"item_sub", e.item_sub) +
         Hidden(u"zdygs", e.custom_format) + Hidden(u"TsJs", e.kind) + Hidden(u"Jtxm", e.team ? u"True" : u"False") +
         Hidden(u"JsFd", e.in_lanes ? u"True" : u"False") +
         Hidden(u"scs", Number(static_cast<int64_t>(e.stages.size()))) + Hidden(u"sc", Number(p.stage)) +
         Hidden(u"zc", Number(f.header.heat)) + Hidden(u"bsjg", u"0") + Hidden(u"Record", u"") +
         Hidden(u"timing", u"1") + Hidden(u"timing_wind", f.header.wind_mps ? WindText(*f.header.wind_mps) : Text()) +
         Hidden(u"ydy_bh_list", list) + fields;
  out += u"<div class=\"form-row\" style=\"margin-top:14px\"><input type=\"submit\" value=\"确认保存\" class=\"button\" "
         u"id=\"timing-confirm\"> <a href=\"entry.asp\" class=\"button secondary\">放弃</a></div>\n</form>\n";
  return out;
}

}  // namespace

std::unique_ptr<ImportPreview> PreviewImport(meet::WldfDb& db, TextView source, TextView text,
                                             const std::vector<Text>& allowed) {
  auto p = std::make_unique<ImportPreview>();
  p->source = Text(source);
  LifParse parsed = ParseLif(text);
  if (!parsed.file) {
    p->error = parsed.error;
    return p;
  }
  p->file = std::move(parsed.file);
  const LifHeader& h = p->file->header;
  const std::vector<TimingEvent> events = TimingEvents(db);
  const Text named = u"文件中的项目号 " + Number(h.event) + u"（" + h.name + u"）";
  if (h.event > static_cast<int>(events.size())) {
    p->error = named + u"不是本运动会的项目；请用本系统导出的检录单（.evt）编排计时系统";
    return p;
  }
  const TimingEvent& e = events[static_cast<size_t>(h.event - 1)];
  if (std::find(allowed.begin(), allowed.end(), e.item) == allowed.end()) {
    p->error = named + u"是【" + EventLabel(e, 0) + u"】，您没有录入该项目成绩的权限";
    return p;
  }
  if (!e.Timed()) {
    p->error = named + u"是【" + EventLabel(e, 0) + u"】，不是按时间计成绩的径赛项目";
    return p;
  }
  p->event = e;
  p->stage = e.StageOfRound(h.round);
  if (p->stage == 0) {
    p->error = u"【" + EventLabel(e, 0) + u"】只有 " + Number(static_cast<int64_t>(e.stages.size())) +
               u" 个赛次，没有文件中的第 " + Number(h.round) + u" 轮";
    return p;
  }
  p->stage_entries = StageEntries(db, e, p->stage);
  const bool heat_exists = std::any_of(p->stage_entries.begin(), p->stage_entries.end(),
                                       [&](const StartEntry& s) { return s.heat == h.heat; });
  if (!heat_exists) {
    p->error = u"【" + EventLabel(e, p->stage) + u"】没有第 " + Number(h.heat) + u" 组" +
               (p->stage_entries.empty() ? Text(u"（尚未编排）") : Text());
    return p;
  }
  p->check = CheckHeat(*p->file, p->stage_entries, e.in_lanes);
  return p;
}

Text PreviewHtml(const ImportPreview& p) {
  if (!p.error.empty())
    return u"<div class=\"msg warn\" id=\"timing-refused\">计时文件" +
           (p.source.empty() ? Text() : u" " + HtmlEscape(p.source) + u" ") + u"不能导入：" + HtmlEscape(p.error) +
           u"。没有保存任何成绩。</div>\n";
  const HeatCheck& c = p.check;
  Text out = Summary(p);
  size_t problems = 0, warnings = c.warnings.size() + c.missing.size();
  for (const CheckedRow& r : c.rows) problems += r.problems.size(), warnings += r.warnings.size();
  if (!c.Savable())
    out += u"<div class=\"msg warn\" id=\"timing-refused\">文件有 " + Number(static_cast<int64_t>(problems)) +
           u" 处与检录单不符，不能保存（标红的行）。请核对计时系统的编排后重新导出。没有保存任何成绩。</div>\n";
  else if (warnings > 0)
    out += u"<div class=\"msg warn\">有 " + Number(static_cast<int64_t>(warnings)) +
           u" 处差异（标黄的行），请核对后确认保存。</div>\n";
  else
    out += u"<div class=\"msg ok\">文件与检录单相符，请核对后确认保存。</div>\n";
  for (const Text& w : c.warnings) out += u"<div class=\"msg warn\">" + HtmlEscape(w) + u"</div>\n";

  out += u"<table class=\"list timing-preview\"><thead><tr><th>名次</th><th>编号</th><th>道次</th><th>姓名（文件）</th>"
         u"<th>检录单</th><th>文件成绩</th><th>录入成绩</th><th>核对</th></tr></thead><tbody>\n";
  for (const CheckedRow& r : c.rows) {
    const LifAthlete& a = r.athlete;
    const Text cls = !r.problems.empty() ? u" class=\"timing-bad\"" : !r.warnings.empty() ? u" class=\"timing-differs\"" : u"";
    const Text place = !r.status.empty() ? r.status : a.place > 0 ? Number(a.place) : Text();
    const Text listed = r.entry ? r.entry->name + u" · " + r.entry->team +
                                     (r.entry->lane > 0 ? u" · " + Number(r.entry->lane) + u"道" : Text())
                               : Text(u"—");
    const Text saved = r.hundredths >= 0 ? HundredthsText(r.hundredths) : r.status.empty() ? Text() : r.status;
    out += u"<tr" + cls + u">" + Cell(place) + Cell(a.id) + Cell(a.lane > 0 ? Number(a.lane) : Text()) +
           Cell(automation::Trim(a.last_name + u" " + a.first_name) + (a.affiliation.empty() ? Text() : u" · " + a.affiliation)) +
           Cell(listed) + Cell(a.time_text) + Cell(saved) + u"<td>" + Findings(r.problems, r.warnings) + u"</td></tr>\n";
  }
  for (const StartEntry* m : c.missing)
    out += u"<tr class=\"timing-differs\"><td></td>" + Cell(m->number) + Cell(m->lane > 0 ? Number(m->lane) : Text()) +
           u"<td></td>" + Cell(m->name + u" · " + m->team) +
           u"<td></td><td></td><td><div class=\"timing-warning\">文件中没有此人，成绩不变</div></td></tr>\n";
  out += u"</tbody></table>\n";
  if (c.Savable()) out += ConfirmForm(p);
  return out;
}

}  // namespace arenix::timing
