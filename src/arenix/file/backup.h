// Backup of the meet's table files into a dated folder.
#pragma once

#include <cstdint>

#include "automation/variant.h"

namespace arenix::file {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// Copies each table of the "|"-separated list (default "oa.asp") from the
/// site's "/data" into a new folder named `backup_name` + the time stamp
/// yyyymmddhhnnss under `backup_path` (default "/AutoBackup"), and returns
/// that folder's physical path; empty when `is_auto` is 0, when the folder
/// cannot be made or when a copy fails (files copied so far stay).
Text FileBackup(Variant& server, TextView table_list, uint8_t is_auto, TextView backup_name,
                TextView backup_path);

}  // namespace arenix::file
