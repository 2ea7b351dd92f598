// Case-insensitive regular-expression replacement, through the platform's
// regular-expression object (the script dialect).
#pragma once

#include "automation/text.h"

namespace arenix::text {

using automation::Text;
using automation::TextView;

/// Every match of `pattern` in `s`, ignoring case, replaced by
/// `replacement` ("$1" stands for the first group). An invalid pattern
/// raises 5017. Example: ReplaceExp(u"aXbx", u"x", u"-") == u"a-b-".
Text ReplaceExp(TextView s, TextView pattern, TextView replacement);

}  // namespace arenix::text
