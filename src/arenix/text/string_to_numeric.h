// Text to a fixed-point number, as the form field renderer and result entry
// read the numbers people type.
#pragma once

#include "automation/text.h"
#include "automation/variant.h"

namespace arenix::text {

/// 0 for empty or non-numeric text; otherwise the number read in single
/// precision, as Currency: a whole number exactly, any other value rounded
/// to four decimals (so "12345.678" gives 12345.6777). A number outside the
/// 32-bit integer range raises overflow (6).
automation::Currency StringToNumeric(automation::TextView s);

}  // namespace arenix::text
