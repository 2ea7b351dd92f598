// Whether anything in a meet's folder changed, told in one system call by
// whoever watches the folder (the web module's change notices). A query
// whose rows were kept at the same generation is answered without asking
// the file system about each of its tables: a stat, a lock and an unlock a
// table, some ten microseconds each on a virtual machine, several times a
// page.
//
// A folder nobody watches gives 0, and so does a watch that cannot see
// every change (a network share): the tables are then checked as always.
//
// Thread-safe. A generation function is called under the registry's lock,
// so that unwatching waits for a call in progress.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace data::foxsql {

/// Tells the generation of `folder` (a native path; compared after links
/// are resolved): a number that grows with every change of a file in it
/// completed before the call, or 0 when the watch cannot tell. Returns the
/// watch's id for UnwatchFolder. Several watchers may watch one folder
/// (two servers of one process); any of them answers.
uint64_t WatchFolder(const std::string& folder, std::function<uint64_t()> generation);

/// Ends a watch (its watcher is going away).
void UnwatchFolder(uint64_t id);

/// The generation of a folder, resolved as WatchFolder's; 0 when it is not
/// watched or its watch cannot tell.
uint64_t FolderGeneration(const std::string& resolved_folder);

/// The folder's path as the registry compares it.
std::string ResolvedFolder(const std::string& folder);

}  // namespace data::foxsql
