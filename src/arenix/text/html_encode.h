// Escaping text for HTML, and stripping tags.
#pragma once

#include "automation/text.h"

namespace arenix::text {

using automation::Text;
using automation::TextView;

/// Escapes "<", ">", "&" and double quotes, turns carriage returns into
/// "<br>" and tabs into four spaces, and writes a space as "&nbsp;" at
/// either end of the text or next to another space or a tab, so that runs
/// of spaces stay visible. Example: HtmlEncode(u"a  b") == u"a&nbsp;&nbsp;b".
Text HtmlEncode(TextView s);

/// Escapes ">", "<", spaces, tabs and both quotes (not "&"), drops carriage
/// returns, and writes "</P><P> " for two line feeds and "<BR> " for one.
Text HtmlEncode2(TextView s);

/// Undoes HtmlEncode2 as far as it goes (tabs and carriage returns stay lost);
/// the tag forms are matched case-sensitively.
Text HtmlUnEncode2(TextView s);

/// Replaces every tag by one space; entities stay as they are.
/// Example: NoHtml(u"<b>x</b>") == u" x ".
Text NoHtml(TextView s);

}  // namespace arenix::text
