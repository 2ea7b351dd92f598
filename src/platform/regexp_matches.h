// The objects that RegExp.Execute hands to late-bound callers: a match
// collection (Count, Item), its matches (FirstIndex, Length, Value,
// SubMatches) and each match's groups (Count, Item). Item is the default
// member of the collections and Value that of a match; indexes are 0-based.
#pragma once

#include <vector>

#include "platform/regexp.h"

namespace platform {

/// A collection object over the matches (read-only).
automation::ObjectPtr MakeMatchCollection(std::vector<RegExpMatch> matches);

}  // namespace platform
