// The field selector of a list page's search frame (which also chooses the
// sort order) and the keyword box beside it. Both post back as "moden" and
// "keyword", which SearchOrder reads.
#pragma once

#include <cstdint>

#include "automation/variant.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// CommShowSelect. `title_type` picks the first, empty option (0 search and
/// sort, 1 search, 2 sort, other none). `title_list` holds "||"-separated
/// value|caption entries, written as given (the page's own HTML); the entry
/// whose value equals the request's "moden" is selected. The request's
/// keyword is echoed HTML-escaped. An entry without "|" fails the call with
/// a subscript error (9).
Text SearchSelect(Variant& request, int16_t title_type, TextView title_list);

}  // namespace arenix::show
