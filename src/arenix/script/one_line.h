// Emitted script blocks are written as readable, indented script (the files
// under js/, compiled in through the generated header js_sources.h) and sent
// as one line: a page writes them into places where a line break would end
// an attribute or a string of its own. The blocks therefore end every
// statement with ";" and hold no comments past the header comment of their
// file, which the build leaves out (tests/arenix/script checks both).
#pragma once

#include "automation/text.h"

namespace arenix::script {

using automation::Text;
using automation::TextView;

/// The lines of `script` trimmed and joined without line breaks; a space is
/// kept between two lines only where both sides are name characters
/// ("else" + "if"), so no two tokens run together.
/// Example: OneLine(u"if (a)\n  b();\nelse\n  c();") == u"if (a)b();else c();".
Text OneLine(TextView script);

/// `<script language="JavaScript">` + OneLine(body) + `</script>`.
Text ScriptElement(TextView body);

}  // namespace arenix::script
