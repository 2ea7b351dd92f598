// The script dialect of regular expressions (the one pages and the
// component write, as the platform's RegExp object read it) rewritten into
// PCRE2 syntax for the 16-bit library in non-UTF mode.
//
// Where the two differ, the script dialect wins:
//   \d \w \s \b and their negations are ASCII-only ([0-9], [A-Za-z0-9_],
//     [ \t\n\v\f\r]) even though the compiled pattern uses Unicode casing;
//   "." matches any unit but the line terminators \n \r U+2028 U+2029;
//   \uXXXX is a 16-bit unit, \xHH a byte value, \cX a control character,
//     \v the vertical tab; an escape that is not one of these (\u without
//     four hex digits, \q, \Q, \p, \K ...) is the character itself;
//   \N is a back reference when the pattern has N groups, else an octal
//     escape (or the digit itself for 8 and 9);
//   "[]" matches nothing and "[^]" any unit; "[" inside a class is literal.
// "$" matching only at the very end is a compile option (DOLLAR_ENDONLY).
#pragma once

#include "automation/text.h"

namespace platform {

using automation::Text;
using automation::TextView;

/// The PCRE2 form of a script-dialect pattern. A pattern the dialect
/// rejects is passed on so that PCRE2 reports it (a trailing "\", an open
/// class or group, a misplaced quantifier).
Text TranslatePattern(TextView pattern);

/// The number of capturing groups "(" (not "(?") outside classes.
int CountCapturingGroups(TextView pattern);

}  // namespace platform
