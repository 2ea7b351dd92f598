#include "arenix/timing/start_list_export.h"

#include <set>
#include <string>

namespace arenix::timing {

namespace {

Text Number(int64_t n) { return automation::FromAscii(std::to_string(n)); }

Text Value(TextView v) {
  bool quote = false;
  for (char16_t c : v)
    if (c == u',' || c == u'"' || c == u'\r' || c == u'\n') quote = true;
  if (!quote) return Text(v);
  Text out = u"\"";
  for (char16_t c : v) {
    if (c == u'\r' || c == u'\n') continue;
    out += c;
    if (c == u'"') out += c;
  }
  return out + u"\"";
}

}  // namespace

std::vector<ExportHeat> ExportHeats(meet::WldfDb& db, const std::vector<TimingEvent>& events) {
  std::vector<ExportHeat> out;
  for (const TimingEvent& e : events) {
    if (!e.Timed()) continue;
    for (int stage : e.stages) {
      for (StartEntry& s : StageEntries(db, e, stage)) {
        if (out.empty() || out.back().event != &e || out.back().stage != stage || out.back().heat != s.heat)
          out.push_back({&e, stage, s.heat, {}});
        out.back().entrants.push_back(std::move(s));
      }
    }
  }
  return out;
}

Text EventsText(const std::vector<ExportHeat>& heats) {
  Text out;
  for (const ExportHeat& h : heats) {
    out += Number(h.event->number) + u"," + Number(h.event->RoundOfStage(h.stage)) + u"," + Number(h.heat) + u"," +
           Value(EventLabel(*h.event, h.stage)) + u"\r\n";
    for (const StartEntry& s : h.entrants)
      out += u"," + Value(s.number) + u"," + (s.lane > 0 ? Number(s.lane) : Text()) + u"," + Value(s.name) + u",," +
             Value(s.team) + u"\r\n";
  }
  return out;
}

Text PeopleText(const std::vector<ExportHeat>& heats) {
  Text out;
  std::set<Text> written;
  for (const ExportHeat& h : heats)
    for (const StartEntry& s : h.entrants)
      if (written.insert(s.number).second) out += Value(s.number) + u"," + Value(s.name) + u",," + Value(s.team) + u"\r\n";
  return out;
}

}  // namespace arenix::timing
