// The page compiler's rewrite of keyed assignments on host objects, and
// what it must leave alone.
#include "web/keyed_assignment.h"

#include <gtest/gtest.h>

namespace web {
namespace {

TEST(KeyedAssignments, CallsOnNamesBecomeKeyedPuts) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"Session(\"key\") = value;", "Session.$put(\"\", \"key\", value);"},
      {"Application('n') = 1 + f(2), x = 3;", "Application.$put(\"\", 'n', 1 + f(2)), x = 3;"},
      {"Response.Cookies(\"name\") = \"v\";", "Response.$put(\"Cookies\", \"name\", \"v\");"},
      {"a.b.c(1, [2, 3]) = {k: 4}", "a.b.$put(\"c\", 1, [2, 3], {k: 4})"},
      // Line breaks stay where they were; the statement ends where JavaScript ends it.
      {"Session(\"a\")\n = 1\nSession(\"b\") = x\n  + 2\nvar y = 1;",
       "Session.$put(\"\", \"a\"\n, 1)\nSession.$put(\"\", \"b\", x\n  + 2)\nvar y = 1;"},
      // Nested: a keyed read as the key or the value, an assignment in a value.
      {"Session(Request(\"k\")) = Session(\"o\") = 5;",
       "Session.$put(\"\", Request(\"k\"), Session.$put(\"\", \"o\", 5));"},
      {"if (ok) { Session(\"a\") = f(1) }", "if (ok) { Session.$put(\"\", \"a\", f(1)) }"},
      {"Session() = 2;", "Session.$put(\"\", 2);"},
  };
  for (const auto& c : cases) EXPECT_EQ(RewriteKeyedAssignments(c.in), c.out) << c.in;
}

TEST(KeyedAssignments, EverythingElseIsLeftAsWritten) {
  const char* kept[] = {
      "if (Session(\"a\") == 1) x = 2;",
      "if (f(x) === 1 || g(y) != 2) {}",
      "var h = (a) => a; Session(\"a\") += 1;",
      "var s = \"Session('a') = 1\"; // Session('b') = 2",
      "/* Session('a') = 1 */ var r = /\\)=/g, d = a / b / c;",
      "x().a(1) = 2; new A(1) = 3; o[k].m(1) = 4;",
      "var t = `${Session(\"a\")}`; if (t) y = 1;",
      "for (var i = 0; i < f(1); i++) {}",
      "Session(\"a\") = 'unterminated",
  };
  for (const char* k : kept) EXPECT_EQ(RewriteKeyedAssignments(k), k) << k;
}

}  // namespace
}  // namespace web
