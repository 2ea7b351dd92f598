// Zip and rar archives through libarchive: the stand-in for the zip library
// and the RAR command-line archiver of the original host.
//
// Packing writes a zip archive (deflate at the highest level, names
// relative to a base folder, "/" separators, UTF-8 names) to a temporary
// file that replaces the target only when complete. Unpacking reads zip,
// rar 4 and rar 5. Names stored in GBK, as archives made on Chinese Windows
// hold them, are read as GBK.
//
// Unpacking never writes outside its target folder: an archive with an
// entry whose name is absolute or climbs with "..", or a link that points
// out of the folder, is refused before anything is written; entries are
// written without following links that lie in their way.
//
// All paths are native paths the caller has checked against the site.
#pragma once

#include <string>
#include <vector>

#include "automation/text.h"

namespace platform {

using automation::Text;
using automation::TextView;

/// Packs into a new zip at `zip_path` every entry of `base` that a mask
/// selects: a mask naming a folder takes the folder with its contents; a
/// mask with "*" or "?" takes the matching files of `base` and of all its
/// subfolders ("*.*" takes everything, empty folders included). A mask
/// that climbs with ".." or is absolute selects nothing. The archive itself
/// is never packed into itself. A non-blank `password` encrypts the
/// entries (traditional zip encryption). False when nothing could be
/// written or a selected file could not be read.
bool WriteZip(const std::string& base, const std::vector<Text>& masks, const std::string& zip_path,
              TextView password);

/// Unpacks `archive` (zip or rar) into the folder `target` (made when
/// missing), replacing existing files. With masks, only entries whose path
/// or name matches one are unpacked. False for a missing, broken, hostile
/// or wrongly encrypted archive.
bool ExtractArchive(const std::string& archive, const std::string& target,
                    const std::vector<Text>& masks, TextView password);

}  // namespace platform
