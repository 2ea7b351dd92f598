// Applying a list of plain replacements in turn: the encoders and their
// inverses are such lists, and their order matters ("&" goes first when
// encoding and last when decoding).
#pragma once

#include <initializer_list>
#include <utility>

#include "automation/text.h"

namespace arenix::text {

using Replacement = std::pair<automation::TextView, automation::TextView>;

/// Each replacement runs over the whole result of the one before.
automation::Text ReplaceInTurn(automation::TextView s, std::initializer_list<Replacement> steps);

}  // namespace arenix::text
