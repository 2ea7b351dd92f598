// What a confirmed camera file adds to the result save: each athlete's
// DNS, DNF or DQ and the heat's wind, written into the stage's current
// columns just before the save packs them into the stage field. The page
// runs it in the save's own unit of writes, so both happen or neither.
#pragma once

#include "arenix/meet/result_entry_db.h"
#include "host/host.h"

namespace arenix::timing {

/// Reads "timing_wind" and "playjl_" + entry number for every entrant of
/// "ydy_bh_list" from the posted entry form and stores them. A status other
/// than DNS, DNF, DQ or empty, or a wind that is not a number from -99.9 to
/// 99.9, raises error 5 before anything is written.
void ApplyTimingStatus(const host::Request& form, meet::WldfDb& db);

}  // namespace arenix::timing
