// The site's folders: the only places where the component's file services
// may read or write. Every path a page passes (physical, drive-lettered or
// mapped with MapPath) is resolved here before it reaches the file system;
// a path that leaves the site, through ".." or a symbolic link, or that
// holds a NUL, is refused.
//
// The host registers its site root (and any folder it mounts into the site)
// when it is created. Thread-safe.
#pragma once

#include <optional>
#include <string>

#include "automation/text.h"

namespace platform {

using automation::Text;
using automation::TextView;

/// Adds a folder (a native absolute path) to the site.
void AddSiteFolder(TextView folder);

/// A page's path text -> the native path to open, or nothing when it must
/// not reach the file system: it holds a NUL, or, resolved ("\" and "/" as
/// separators, a leading "X:" drive dropped, relative paths against the
/// working folder, "." and ".." lexically, symbolic links of the part that
/// exists), it lies outside every site folder. Components that are missing
/// as written are found without regard to ASCII case (NativePath).
std::optional<std::string> SitePath(TextView path);

/// The same check for a native path already resolved.
bool IsInsideSite(const std::string& native);

}  // namespace platform

namespace platform {
/// True when a native path is one of the site folders themselves, which the
/// file services never delete, move or rename.
bool IsSiteFolder(const std::string& native);
}  // namespace platform
