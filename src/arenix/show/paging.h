// Paging of list pages: positioning the page's record set on the requested
// page, and the paging bar (counts, first/previous/next/last links, a page
// box) as its own small form that carries the list's search keys along.
//
// The requested page comes from the request key "Page" (any case). Both
// read it as a 16-bit number: a value beyond that range fails the call with
// an overflow (6). A record set that is not open fails the call too.
#pragma once

#include "automation/variant.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// CommShowNoPage: the page is 1 unless "Page" is numeric, then its whole
/// part, kept between 1 and the page count; nothing moves for an empty set.
void NoPage(Variant& request, Variant& rs);

/// CommShowPage: the paging bar. `search_request_list` names further request
/// keys ("|"-separated) that the links and the form carry. Request values
/// are encoded where they land: URL query values in the links, attribute
/// values in the hidden fields.
Text PageBar(Variant& request, Variant& rs, TextView search_request_list);

}  // namespace arenix::show
