// Competition stages (赛次) of the meet tables: their numbers, names, the
// stage fields that carry them in Play, and which stages an event has.
//
// A stage number runs from 1 to 4: 1 预赛 (heats), 2 次赛 (second stage),
// 3 复赛 (semi-final), 4 决赛 (final). Pages pass 0 for the final; every
// function here that takes a page's stage number reads 0 as 4.
#pragma once

#include <vector>

#include "automation/text.h"

namespace arenix::meet {

using automation::Text;
using automation::TextView;

inline constexpr int kHeatsStage = 1;
inline constexpr int kFinalStage = 4;

/// 0 (the pages' word for the final) becomes 4; other numbers are kept.
/// Example: PageStage(0) == 4, PageStage(2) == 2.
int PageStage(int stage);

/// The stage's two-character name, empty outside 1 to 4 (0 is not read as
/// the final here: use PageStage first).
/// Example: StageName(1) == u"预赛", StageName(4) == u"决赛", StageName(5) == u"".
Text StageName(int stage);

/// The stage number of a name, 0 for any other text.
/// Example: StageNumber(u"复赛") == 3.
int StageNumber(TextView name);

/// The Play column that holds the stage's packed field: the name + "信息".
/// Example: StageFieldColumn(4) == u"决赛信息". Empty outside 1 to 4.
Text StageFieldColumn(int stage);

/// The stages that an event with `count` stages holds, in running order:
/// 1 {4}; 2 {1, 4}; 3 {1, 3, 4}; 4 {1, 2, 3, 4}; any other count none.
std::vector<int> StagesOfEvent(int count);

/// The names of the stages before and after `stage` in an event of `count`
/// stages (result entry's previous and next stage); empty when there is
/// none or `stage` is not one of the event's stages. A single-stage event
/// has neither, whatever `stage` says.
/// Example: StageNeighbours(3, 3) == {u"预赛", u"决赛"};
///          StageNeighbours(4, 1) == {u"", u"次赛"}.
struct Neighbours {
  Text previous;
  Text next;
  bool operator==(const Neighbours&) const = default;
};
Neighbours StageNeighbours(int count, int stage);

}  // namespace arenix::meet
