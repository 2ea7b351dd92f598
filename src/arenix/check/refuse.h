// How the checks stop a page that has no record set or connection to hand
// over: the error page with empty text in their place.
#pragma once

#include "automation/variant.h"

namespace arenix::check {

/// Writes the error page with `message`, closes nothing, ends the response.
void Refuse(automation::Variant& response, automation::TextView message, bool close_parent,
            automation::TextView dialog_id);

}  // namespace arenix::check
