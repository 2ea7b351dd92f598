// The encoder for a value written as an unquoted attribute value
// (`value=` + v + `>`), where some pages keep the form their style relies
// on. Beside what HtmlEscape turns into entities, the characters that end an
// unquoted value (white space, "=", "`") become character references, which
// the browser reads back as the same characters.
#pragma once

#include "automation/text.h"

namespace arenix::page {

/// An unquoted value cannot be empty (`value=>` is a parse error), so an
/// empty value is written as "''".
/// Example: UnquotedAttribute(u"1 onclick=x") == u"1&#32;onclick&#61;x".
automation::Text UnquotedAttribute(automation::TextView s);

}  // namespace arenix::page
