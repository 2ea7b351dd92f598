// Small edits of URL and list texts.
#pragma once

#include <cstdint>

#include "automation/text.h"

namespace arenix::text {

using automation::Text;
using automation::TextView;

/// The URL with "?" or "&" appended so that a parameter can follow; a URL
/// that already ends in its "?" or in its first "&" comes back unchanged.
/// Example: JoinChar(u"list.asp?id=1") == u"list.asp?id=1&".
Text JoinChar(TextView url);

/// The `delimiter`-separated list with element `at` (from 0) replaced; an
/// index past the end extends the list with empty elements, a negative one
/// changes nothing. Example: ReplaceAt(u"a|b", 3, u"x", u"|") == u"a|b||x".
Text ReplaceAt(TextView list, int16_t at, TextView with, TextView delimiter);

}  // namespace arenix::text
