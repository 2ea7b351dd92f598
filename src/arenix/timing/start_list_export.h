// The start lists handed to the photo-finish camera, in the text forms its
// software reads beside the result files:
//
// - the heats (".evt"): for every heat of every timed event, a line
//     event,round,heat,name
//   then one line per athlete of the heat
//     ,id,lane,last name,first name,affiliation
//   with the entry number as id, the whole name as the last name and the
//   delegation as affiliation;
// - the people (".ppl"): one line per athlete of a timed event,
//     id,last name,first name,affiliation
//
// Lines end in CR LF. A comma or quote inside a value is quoted, so a
// name can never add a column.
#pragma once

#include <vector>

#include "arenix/timing/timing_meet.h"

namespace arenix::timing {

/// One heat of the export: the event, its stage and the heat's entrants.
struct ExportHeat {
  const TimingEvent* event = nullptr;
  int stage = 0;
  int heat = 0;
  std::vector<StartEntry> entrants;
};

/// The heats drawn so far in every timed event, in event, round and heat
/// order.
std::vector<ExportHeat> ExportHeats(meet::WldfDb& db, const std::vector<TimingEvent>& events);

Text EventsText(const std::vector<ExportHeat>& heats);
Text PeopleText(const std::vector<ExportHeat>& heats);

}  // namespace arenix::timing
