// Escaping of text stored in the meet's tables, and its preparation for
// display.
#pragma once

#include "automation/text.h"

namespace arenix::text {

using automation::Text;
using automation::TextView;

/// "&", "<", ">", "'" and '"' as entities (in that order, so "&" first);
/// leading and trailing spaces are kept; a text of spaces only gives "".
/// Example: EncodeString(u"a<b & 'c'") == u"a&lt;b &amp; &#39;c&#39;".
Text EncodeString(TextView s);

/// The inverse of EncodeString on the trimmed text ("&amp;" restored last).
Text UnEncodeString(TextView s);

/// Trimmed; tags escaped, apostrophes turned into double quotes, a blank
/// line into "</p><p>", a line break into "<br>", two spaces into one
/// ideographic space.
Text EncodeString2(TextView s);

}  // namespace arenix::text
