// A camera file held against the start list of the heat it names: which
// rows can be saved, and every difference the recorder must see before
// saving. Nothing here touches the meet.
//
// Two kinds of findings:
// - problems stop the save: an athlete the stage does not hold, one who
//   runs in another heat, an entry number twice in the file, a time the
//   result format cannot hold;
// - warnings are marked but the recorder may save: a lane or a name that
//   differs from the start list, an athlete of the heat missing from the
//   file (that athlete's result is left as it is), a wind that is not a
//   number.
#pragma once

#include <array>
#include <vector>

#include "arenix/timing/lif_file.h"

namespace arenix::timing {

/// One entrant of the stage as the start list has them.
struct StartEntry {
  Text number;  // 编号, trimmed
  Text name;
  Text team;
  int heat = 0;
  int lane = 0;  // 0 or less: no lane
};

struct CheckedRow {
  LifAthlete athlete;
  const StartEntry* entry = nullptr;  // the start list's entrant, when found
  Text status;                        // "DNS", "DNF", "DQ" or empty
  int64_t hundredths = -1;            // the result to save; -1: none
  std::array<Text, 3> parts;          // minutes, seconds, hundredths as the entry form takes them
  std::vector<Text> problems;
  std::vector<Text> warnings;
};

struct HeatCheck {
  std::vector<CheckedRow> rows;
  std::vector<const StartEntry*> missing;  // of the heat, not in the file
  std::vector<Text> warnings;              // of the file as a whole

  bool Savable() const;
};

/// Checks `file`'s athletes against the stage's entrants `stage` (all
/// heats); the heat is the file's. `in_lanes`: the event is run in lanes,
/// so lanes are compared. `stage` must outlive the result.
HeatCheck CheckHeat(const LifFile& file, const std::vector<StartEntry>& stage, bool in_lanes);

/// "10.23", "1:02.35": a result in hundredths as the result lists show it.
Text HundredthsText(int64_t hundredths);

}  // namespace arenix::timing
