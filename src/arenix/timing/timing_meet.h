// The meet as the camera sees it: the events numbered in the schedule's
// order (the number the start-list export gives the camera and a result
// file names), their rounds (the event's stages in running order, from 1),
// and each stage's start list read from its packed field, so that nothing
// has to be unpacked to read it.
#pragma once

#include <optional>
#include <vector>

#include "arenix/meet/result_entry_db.h"
#include "arenix/timing/heat_check.h"

namespace arenix::timing {

struct TimingEvent {
  int number = 0;  // from 1, in the schedule's order
  Text item, age, sex, item_sub;  // sex: 男, 女 or 混
  std::vector<int> stages;        // stage numbers (1-4) in running order
  // From the event's entrants (empty kind when it has none).
  Text kind, custom_format;
  bool in_lanes = false, team = false;

  /// Timed to the hundredth: a running event without a custom format.
  bool Timed() const;
  /// The stage of a camera round (1 = the first stage); 0 when none.
  int StageOfRound(int round) const;
  int RoundOfStage(int stage) const;
};

/// Every event of the schedule (PlaySour), numbered in order of first
/// appearance.
std::vector<TimingEvent> TimingEvents(meet::WldfDb& db);

/// "高中组 男子 100米 预赛" (the stage left out when 0).
Text EventLabel(const TimingEvent& e, int stage);

/// The stage's entrants that are drawn into a heat, by heat and lane.
std::vector<StartEntry> StageEntries(meet::WldfDb& db, const TimingEvent& e, int stage);

}  // namespace arenix::timing
