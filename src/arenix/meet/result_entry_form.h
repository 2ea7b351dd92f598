// Reading the result-entry form: logical and numeric fields as the entry
// page posts them.
#pragma once

#include "automation/text.h"
#include "host/host.h"

namespace arenix::meet {

using automation::Text;
using automation::TextView;

/// A logical form value: "True", "-1", "1", "on", "yes" (any case) and any
/// other non-zero number are true; empty text, "False", "0" and anything
/// else are false.
bool FormBool(TextView value);

/// A trimmed form field read as a number with CommStringToNumeric (0 when
/// empty or unreadable).
double FormNumber(const host::Request& form, TextView key);

}  // namespace arenix::meet
