// Encoders for the places where a renderer puts a value that came from the
// database or the request into its output. Texts that a caller passes as HTML
// (contents, scripts, titles) are never put through these: the interface
// inserts them raw on purpose.
//
// One encoder per context; use the one for the place the value lands in.
#pragma once

#include "automation/text.h"

namespace arenix::page {

using automation::Text;
using automation::TextView;

/// HTML text and quoted attribute values (either quote): "&", "<", ">", '"'
/// and "'" become entities. Example: HtmlEscape(u"<b a='1'>") ==
/// u"&lt;b a=&#39;1&#39;&gt;".
Text HtmlEscape(TextView s);

/// HtmlEscape(s) appended to `out`: for renderers that build a whole row
/// in one buffer.
void AppendHtmlEscaped(Text& out, TextView s);

/// The inside of a script string literal in either quote, also safe inside an
/// inline <script> element or an event-handler attribute: backslash, both
/// quotes, line breaks, "<", ">" and "&" are written as escapes.
/// Example: ScriptString(u"it's</script>") == u"it\\x27s\\x3C/script\\x3E".
Text ScriptString(TextView s);

/// A value placed in a URL query (after "key="): everything but ASCII letters,
/// digits and "-_.~" is percent-encoded from its GBK bytes, the page's code
/// page, so that the host's query decoding gives back the same text.
/// Example: UrlQueryValue(u"a b&中") == u"a%20b%26%D6%D0".
Text UrlQueryValue(TextView s);

}  // namespace arenix::page
