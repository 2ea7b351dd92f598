// The error page: the one operation through which guards and services stop
// a page. It writes a whole small HTML page stating the reason, closes the
// page's record set and connection, and ends the response.
#pragma once

#include "automation/variant.h"

namespace arenix::page {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The page text alone (what WriteErrorPage writes).
Text ErrorPageText(TextView message, bool close_parent, TextView dialog_id);

/// Writes the error page to `response` with one Write, closes `rs` and
/// `conn` as CloseData does, and ends the response. The message is inserted
/// as given (callers pass plain sentences). The record set and connection
/// may hold empty text when the caller has none.
void WriteErrorPage(Variant& response, Variant& rs, Variant& conn, TextView message,
                    bool close_parent, TextView dialog_id);

}  // namespace arenix::page
