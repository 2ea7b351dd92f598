// Places of one round: every entrant of the round gets its place overall
// (比赛名次) and within its heat (比赛组名次) from the sort keys, ties
// sharing the best of their places (1, 1, 1, 4). Out-of-competition entrants
// can be kept out of the official places.
#pragma once

#include "arenix/meet/result_entry_db.h"

namespace arenix::meet {

struct WldfRankOptions {
  bool out_of_competition = false;  // p_SportsBwdyQy = 1: a second pass over official entrants
  bool team_event = false;          // Jtxm: only the delegation's flag counts
  Text kind;                        // TsJs: "径赛", "田赛" ...
  int edition = 1;                  // 2: every event timed
};

/// Ranks the rows of `filter` (an entry filter) by their sort keys, which
/// it first fills in from the stored results where they are blank.
void WldfRank(WldfDb& db, TextView filter, const WldfRankOptions& options);

}  // namespace arenix::meet
