// Classic server pages assign a keyed value of a host object as if the call
// were a variable: `Session("key") = value`, `Application("key") = value`,
// `Response.Cookies("name") = value`. That is no assignment JavaScript
// allows, so the page compiler rewrites it into the bridge's keyed put:
//
//   Session("key") = value            ->  Session.$put("", "key", value)
//   Response.Cookies("name") = value  ->  Response.$put("Cookies", "name", value)
//
// The program is read by a JavaScript tokenizer (strings, template texts,
// comments, regular expressions and division told apart, brackets matched)
// and an assignment is rewritten only when its target is a call on a chain
// of names (`a.b.c(args)`); the value is the whole assignment expression on
// the right, up to the `;`, `,` or closing bracket that ends it, or the end
// of the line where JavaScript would end the statement there. Everything
// else, `==`, `+=` and calls on anything but a plain chain of names, is
// left as written. The rewrite adds and removes no line breaks, so errors
// keep naming the lines of the page.
#pragma once

#include <string>

namespace web {

/// The program with every keyed assignment rewritten; a program the
/// tokenizer cannot read to the end (an unterminated string, say) comes
/// back unchanged for the engine to report.
std::string RewriteKeyedAssignments(const std::string& program);

}  // namespace web
