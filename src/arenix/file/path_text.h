// Splitting path texts and choosing a file-type icon. None of these touches
// the disk; "\" and "/" are both separators, "\" winning when a path has it.
#pragma once

#include <cstdint>

#include "automation/text.h"

namespace arenix::file {

using automation::Text;
using automation::TextView;

/// The folder part with its trailing separator: "C:\a\b.txt" -> "C:\a\",
/// "/data/x.dbf" -> "/data/", "x.dbf" -> "".
Text FileGetPath(TextView path);
/// The part after the last separator: "C:\a\b.txt" -> "b.txt".
Text FileGetFullName(TextView path);
/// Everything before the last ".", lower-cased, folder kept and untrimmed:
/// "C:\A\B.txt" -> "c:\a\b".
Text FileGetName(TextView path);
/// The extension, lower-cased; with `has_point` 1 with its dot.
Text FileGetExt(TextView path, uint8_t has_point);
/// An <img> of the icon for an extension under "../comm/image/fileswt/"
/// ("fileswt1/" and 35x32 for the icon type "big"); "unknown" for an
/// extension without an icon of its own.
Text FileGetIcon(TextView ext, TextView icon_ext, TextView icon_type);

}  // namespace arenix::file
