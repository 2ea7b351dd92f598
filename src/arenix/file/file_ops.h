// The file and folder operations that pages and the other modules call:
// existence tests (wildcards allowed), folder creation, copy, move, rename
// and delete through the shell file operation, image clean-up, folder
// listings, and text files in code page 936.
//
// Paths are the page's texts (physical, "\" or "/"); every one is resolved
// through the site rules of platform/site.h, so nothing outside the site is
// read or written. A path that the look-up refuses counts as existing for
// the existence tests (as a malformed name did on the original host), so
// that the operation itself meets the refusal and reports failure.
#pragma once

#include <cstdint>

#include "automation/variant.h"

namespace arenix::file {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// Result codes of rename, copy and move.
enum CopyMoveResult : int16_t { kDone = 0, kOperationFailed = 1, kSourceMissing = 2, kDestinationExists = 3 };

bool FileExist(TextView name);
bool FolderExist(TextView name);
bool FolderCreate(TextView folder);
bool FolderDelete(TextView folder);
bool FileDelete(TextView name);
int16_t FolderRename(TextView old_name, TextView new_name);
int16_t FileRename(TextView old_name, TextView new_name);
/// `copy_move` "copy" copies, anything else moves; `overwrite` "overwrite"
/// replaces an existing destination (both compared lower-cased).
int16_t FolderCopyMove(TextView source, TextView destination, TextView copy_move, TextView overwrite);
int16_t FileCopyMove(TextView source, TextView destination, TextView copy_move, TextView overwrite);
/// Deletes every image of the form <img src='NAME'> in an HTML fragment;
/// names without ":" are mapped with the server object. False when any
/// deletion failed or raised.
bool FileDeleteImage(Variant& server, TextView html);
bool FileCreateEmptyTxt(TextView name, TextView overwrite);
/// The names in a folder joined by "|": folders with type 1, files else.
Text SearchPathFile(TextView folder, int16_t type);
/// Writes a text as code page 936 bytes; mode 2 replaces, others append.
/// The folder is made when missing.
bool SaveToTextFile(TextView name, TextView text, uint8_t mode);
/// A text file's code page 936 bytes as text; empty when absent or unreadable.
Text ReadFromTextFile(TextView name);
/// The length in bytes, 0 when the file is absent (or beyond 32 bits).
int32_t FileGetSize(TextView name);

}  // namespace arenix::file
