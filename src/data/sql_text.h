// The one way the component puts a value into a FoxPro statement: as a
// single-quoted literal whose inner quotes are doubled, which the engine reads
// back as the value typed. A name such as O'Neil is stored as typed, and no
// value can end the literal and change the statement.
#pragma once

#include "automation/text.h"

namespace data {

/// Example: SqlText(u"O'Neil") == u"'O''Neil'".
automation::Text SqlText(automation::TextView value);

}  // namespace data
