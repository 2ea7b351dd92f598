// The file and folder operations that pages and the other modules call:
// existence tests (wildcards allowed), folder creation, copy, move, rename
// and delete through the shell file operation, image clean-up, folder
// listings, and text files in code page 936.
//
// Paths are the page's texts (physical, "\" or "/"); every one is resolved
// through the site each call is given (platform/site.h), so nothing outside
// that site is read or written. A path that the look-up refuses counts as existing for
// the existence tests (as a malformed name did on the original host), so
// that the operation itself meets the refusal and reports failure.
#pragma once

#include <cstdint>

#include "automation/variant.h"
#include "platform/site.h"

namespace arenix::file {

using automation::Text;
using automation::TextView;
using automation::Variant;
using platform::Site;

/// Result codes of rename, copy and move.
enum CopyMoveResult : int16_t { kDone = 0, kOperationFailed = 1, kSourceMissing = 2, kDestinationExists = 3 };

bool FileExist(const Site& site, TextView name);
bool FolderExist(const Site& site, TextView name);
bool FolderCreate(const Site& site, TextView folder);
bool FolderDelete(const Site& site, TextView folder);
bool FileDelete(const Site& site, TextView name);
int16_t FolderRename(const Site& site, TextView old_name, TextView new_name);
int16_t FileRename(const Site& site, TextView old_name, TextView new_name);
/// `copy_move` "copy" copies, anything else moves; `overwrite` "overwrite"
/// replaces an existing destination (both compared lower-cased).
int16_t FolderCopyMove(const Site& site, TextView source, TextView destination, TextView copy_move,
                       TextView overwrite);
int16_t FileCopyMove(const Site& site, TextView source, TextView destination, TextView copy_move,
                     TextView overwrite);
/// Deletes every image of the form <img src='NAME'> in an HTML fragment;
/// names without ":" are mapped with the server object, and deleted on its
/// site. False when any deletion failed or raised.
bool FileDeleteImage(Variant& server, TextView html);
bool FileCreateEmptyTxt(const Site& site, TextView name, TextView overwrite);
/// The names in a folder joined by "|": folders with type 1, files else.
Text SearchPathFile(const Site& site, TextView folder, int16_t type);
/// Writes a text as code page 936 bytes; mode 2 replaces, others append.
/// The folder is made when missing.
bool SaveToTextFile(const Site& site, TextView name, TextView text, uint8_t mode);
/// A text file's code page 936 bytes as text; empty when absent or unreadable.
Text ReadFromTextFile(const Site& site, TextView name);
/// The length in bytes, 0 when the file is absent (or beyond 32 bits).
int32_t FileGetSize(const Site& site, TextView name);

}  // namespace arenix::file
