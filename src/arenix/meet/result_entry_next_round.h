// A round corrected after the round it seeds has been run: the seeding is
// done again (who qualifies may change), but the next round's heat, lane
// and results of every entrant who still qualifies are what happened on
// the track and are kept.
#pragma once

#include <vector>

#include "arenix/meet/result_entry_db.h"

namespace arenix::meet {

/// The next round's stage field of every entrant in it, read before the
/// seeding is done again; empty when that round has no results yet (it is
/// not marked as entered), so a fresh seeding replaces it as before.
struct NextRoundBefore {
  Text round;  // 决赛 ...
  Text field;  // its stage field: 决赛信息 ...
  struct Row {
    Text id, number, name, packed;
  };
  std::vector<Row> rows;
};

/// REQUIRES: the meet's write lock is held (the read and the restore
/// belong to one save).
NextRoundBefore ReadEnteredNextRound(WldfDb& db, TextView filter, TextView next_stage);

/// Puts back the kept field of every entrant still in the next round after
/// the seeding and returns what the recorder should be told: who newly
/// qualified (no result in that round yet) and who no longer qualifies (that
/// round's result removed); empty when the round is unchanged.
Text KeepNextRoundResults(WldfDb& db, TextView filter, const NextRoundBefore& before);

}  // namespace arenix::meet
