// File-system primitives on the component's path texts (see paths.h).
#pragma once

#include <optional>
#include <string>

#include "automation/text.h"

namespace platform {

using automation::Text;
using automation::TextView;

bool FileExists(TextView path);
bool FolderExists(TextView path);
/// Creates a folder and any missing parents; true when it exists afterwards.
bool CreateFolders(TextView path);
/// Writes bytes to a new file; false when the file exists or cannot be made.
bool WriteNewFile(TextView path, std::string_view bytes);
/// Reads a whole file; nothing when it cannot be read.
std::optional<std::string> ReadFile(TextView path);

/// Reads an open descriptor to its end and closes it; nothing when a read
/// fails. `size_hint` reserves room for what the caller expects.
std::optional<std::string> ReadAndClose(int fd, size_t size_hint = 0);

}  // namespace platform
