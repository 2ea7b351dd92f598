// File and folder primitives on page paths: each resolves its path through
// the site it is given (Site::Resolve, site.h) first and refuses, without
// touching the file system, what lies outside the site or holds a NUL.
//
// Replacing writes (whole-file writes, copies) go to a temporary file in the
// target's folder that is renamed over the target only when complete, so a
// full disk or a failed read never leaves a half-written file behind.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "automation/text.h"
#include "platform/site.h"

namespace platform {

using automation::Text;
using automation::TextView;

/// The outcome of a look-up that may use the wildcards "*" and "?" in the
/// last part of the path.
enum class LookUp { Found, NotFound, Error };

/// What a look-up counts as a match.
enum class EntryFilter {
  /// Files that are not hidden (a name starting with "." is hidden here, as
  /// the hidden attribute made a file invisible on the original host).
  kOrdinaryFile,
  /// Any file or folder.
  kAnyEntry,
};

/// Searches for entries matching `path`. Error: the path is refused (outside
/// the site, a NUL), is malformed for the original host (a "|", "<", ">" or
/// '"' in it, or a wildcard in a folder part), or its folder cannot be read.
LookUp FindEntries(const Site& site, TextView path, EntryFilter filter);

/// True when `name` matches a wildcard pattern, ASCII case ignored; "*"
/// matches any run (also across "."), "?" one character, and "*.*" every
/// name, with or without a dot.
bool WildcardMatch(TextView pattern, TextView name);

/// True when the text holds "*" or "?".
bool HasWildcard(TextView path);

struct FolderEntry {
  Text name;
  bool is_folder;
};

/// The entries of a folder, "." and ".." left out, sorted by name so that
/// listings are stable; nothing when the folder cannot be opened.
std::optional<std::vector<FolderEntry>> ListFolder(const Site& site, TextView folder);

/// Creates a folder with its missing parents; true when it exists afterwards.
bool MakeFolders(const Site& site, TextView folder);

/// The length of a file in bytes; nothing when it is not a readable file.
std::optional<int64_t> FileLength(const Site& site, TextView path);

/// All the bytes of a file; nothing when it cannot be read.
std::optional<std::string> ReadBytes(const Site& site, TextView path);

/// Replaces a file with `bytes` (created when absent), or with `append`
/// adds them at its end; false when it cannot be written. A failed append
/// cuts the file back to its old length.
bool WriteBytes(const Site& site, TextView path, std::string_view bytes, bool append);

/// Copies a file's bytes, permission bits and modification time to a native
/// destination, replacing it (a read-only one too) only once the copy is
/// complete. Native paths: the caller has checked both.
bool CopyFileNative(const std::string& from, const std::string& to);

/// A temporary name beside `native` for a replacing write.
std::string TempNameBeside(const std::string& native);

}  // namespace platform
