// The shell file operation: copy, move, rename or delete files and whole
// folders, given as "|"-separated name lists, the way the original host's
// shell did it with no progress display, no questions (existing files are
// replaced, missing destination folders made), no error display, one
// destination per source, and permanent deletion.
//
// Every name goes through the site's Resolve; a name outside it fails the
// operation. The result is all-or-nothing: true only when every source was
// handled; the operation stops at the first failure (what was done stays).
#pragma once

#include "automation/text.h"
#include "platform/site.h"

namespace platform {

enum class ShellAction { kMove = 1, kCopy = 2, kDelete = 3, kRename = 4 };

/// Sources and destinations are "|"-joined lists (an empty element ends a
/// list, as the double-NUL list of the original did). The destination list
/// is not used for delete. The last part of a source may hold wildcards;
/// its matches then go into the destination as a folder.
bool ShellFileOperation(const Site& site, automation::TextView sources,
                        automation::TextView destinations, ShellAction action);

}  // namespace platform
