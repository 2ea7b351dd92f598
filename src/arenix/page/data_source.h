// The meet's data source: the site's "/data" folder of free tables and the
// page's connection to it; closing the page's record set and connection
// (also used by the error page).
#pragma once

#include "automation/variant.h"

namespace arenix::page {

using automation::Text;
using automation::Variant;

/// CommSetConn: makes sure the data folder exists, shows the error page
/// when the settings table (xtsz.dbf with xtsz.fpt) is missing, and
/// otherwise opens a new connection to the folder into `conn`; a
/// connection that cannot be opened shows the error page too.
void SetConn(Variant& server, Variant& conn, Variant& response);

/// The absolute name of the older single-file database: MapPath("/data")
/// + "\" + the first name of its list.
Text DataFullName(Variant& server);

/// The connection text of the single-file database.
Text SingleFileConnString(Variant& server);

/// Closes and empties the record set, then the connection. A variable that
/// is Empty, Null or holds blank text is left alone, and so is an object
/// whose text form is empty (a connection never given a connection text);
/// every failure is ignored.
void CloseData(Variant& rs, Variant& conn);

/// One variable of CloseData.
void CloseAndRelease(Variant& v);

}  // namespace arenix::page
