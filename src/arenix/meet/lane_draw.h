// Lane draws for the seeding of the next round: shuffles of a text of lane
// digits, whole or in groups, drawn from the runtime's random source (so a
// fixed seed gives a fixed draw).
#pragma once

#include "automation/text.h"

namespace arenix::meet {

using automation::Text;
using automation::TextView;

/// The trimmed text with its characters swapped at random: r + 1 swaps of
/// the characters 0..r with random partners, r itself drawn. Reseeds the
/// random source first (Randomize). A text of at most one character comes
/// back trimmed and unchanged.
Text LaneShuffle(TextView lanes);

/// The trimmed text cut into pieces of `group` characters (the last may be
/// shorter), each piece shuffled on its own: lane order 45362718 with groups
/// of 4 gives the four best lanes 3-6 to the first four qualifiers in some
/// order. A group size below 1 leaves the trimmed text as it is.
Text LaneGroupDraw(TextView lanes, int group);

/// The custom lane groups of an event ("34|56|1278"): each "|"-piece
/// shuffled on its own and the pieces joined without separators. A text
/// without "|" comes back unchanged.
Text LaneCustomDraw(TextView groups);

}  // namespace arenix::meet
