// The one place where the component's path texts meet the file system.
// The component builds Windows path texts ("\" separators, "X:" drives);
// here they become Linux paths, and names are matched without regard to
// case where the original host's file system did so.
#pragma once

#include <string>

#include "automation/text.h"

namespace platform {

using automation::Text;
using automation::TextView;

/// Resolves "." and ".." lexically and joins "/" and "\" into "/"; a path
/// that would climb above its start stays at the start.
Text NormalizeSlashes(TextView path);

/// A path text of the component -> the native path to open: "\" becomes
/// "/", and each component that does not exist as written is looked up
/// without regard to ASCII case among its folder's entries. UTF-8 result.
std::string NativePath(TextView path);

}  // namespace platform
