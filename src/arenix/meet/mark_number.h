// A stored result as the number a spreadsheet sorts and sums: seconds for
// a time, metres for a field mark, the value itself for a custom format or
// a combined total.
#pragma once

#include <optional>

#include "arenix/meet/stored_result.h"

namespace arenix::meet {

/// The number of a stored result in `layout`; nothing for an empty result
/// or one that holds anything but digits where the layout has them.
/// Examples: MarkNumber(kTime, u"   10230 ") == 62.3 (1'02"30);
///           MarkNumber(kField, u"    1234 ") == 12.34;
///           MarkNumber(kTimeWithHours, u" 113005  ") == 4380.5 (1:13:00.5).
std::optional<double> MarkNumber(ResultLayout layout, TextView stored);

}  // namespace arenix::meet
