// Packing and unpacking archives on a page's request, and opening a URL
// once. The archive methods tell whether the work was done; the
// component's methods answer the page with the script that says so.
#pragma once

#include "automation/variant.h"

namespace arenix::file {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The command line of the RAR archiver for an unpack ("unzip") or a pack
/// (any other action), built from the interpreter ("ComSpec"), the
/// archiver's folder (the site root when it holds rar.exe, else
/// "SystemDrive" + "\") and the mapped folder `path`.
Text RarCommandLine(Variant& server, TextView path, TextView file, TextView act);

/// Unpacks `path`\`file` into `path` ("unzip") or packs `path`\`file` into
/// `path`\name.rar. The command line is built and logged; the work is done
/// through libarchive (a pack writes a zip archive under the ".rar" name).
bool UnZipWithRar(Variant& server, TextView path, TextView file, TextView act);

/// "zipfile" packs `path`\`file`, "zipfolder" packs the folder `path`\`file`
/// (both into `path`\name.RAR, a zip archive), "unzip" unpacks
/// `path`\`file` into `path`; any other action fails.
bool UnZipWithXceedZip(Variant& server, TextView path, TextView file, TextView act);

/// True when the URL answered at all (any status); never raises.
bool OpenUrl(TextView url);

}  // namespace arenix::file
