// Closing the page's record set and connection (also used by the error page).
#pragma once

#include "automation/variant.h"

namespace arenix::frame {

/// Closes and empties the record set, then the connection. A variable that
/// is Empty, Null or holds blank text is left alone, and so is an object
/// whose text form is empty (a connection never given a connection text);
/// every failure is ignored.
void CloseData(automation::Variant& rs, automation::Variant& conn);

/// One variable of CloseData.
void CloseAndRelease(automation::Variant& v);

}  // namespace arenix::frame
