#include "platform/regexp.h"

#include <gtest/gtest.h>

#include "automation/registry.h"
#include "platform/classes.h"

namespace platform {
namespace {

using automation::Error;
using automation::InvokeKind;
using automation::Text;
using automation::Variant;

bool Matches(const Text& pattern, const Text& source, bool ignore_case = false) {
  RegExp re(pattern);
  re.SetIgnoreCase(ignore_case);
  return re.Test(source);
}

struct TestCase {
  const char16_t* pattern;
  const char16_t* source;
  bool ignore_case;
  bool expected;
};

// Where the script dialect and PCRE2 read a pattern differently, the
// dialect's reading wins.
TEST(RegExpDialect, ReadsPatternsAsTheScriptEngineDid) {
  const TestCase cases[] = {
      {u"^[\\u4e00-\\u9fa5]+$", u"中文", false, true},
      {u"^[\\u4e00-\\u9fa5]+$", u"中a", false, false},
      {u"^abc$", u"abc\n", false, false},          // "$" only at the very end
      {u"^\\d+$", u"１２", false, false},            // full-width digits are not \d
      {u"^\\d+$", u"１２", true, false},
      {u"^\\w+$", u"中文", true, false},             // \w stays ASCII with IgnoreCase
      {u"^\\w$", u"\u212a", true, false},           // the Kelvin sign is not a word unit
      {u"\\s", u"a\u3000b", false, false},          // ideographic space is not \s
      {u"\\s", u"a\u000bb", false, true},           // the vertical tab is
      {u"\\bcat\\b", u"中cat中", false, true},      // boundaries are ASCII word edges
      {u"\\Bcat", u"中cat", false, false},
      {u"a.c", u"a\rc", false, false},              // "." stops at line ends
      {u"a.c", u"a\u4e2dc", false, true},
      {u"^\\x41\\u0042$", u"AB", false, true},
      {u"^\\x4$", u"x4", false, true},              // \x without two hex digits is "x"
      {u"^\\uZZ$", u"uZZ", false, true},
      {u"^\\q\\Q$", u"qQ", false, true},            // unknown escapes are the letter itself
      {u"^\\v$", u"\u000b", false, true},
      {u"^\\cJ$", u"\n", false, true},
      {u"^a[]b", u"ab", false, false},              // [] matches nothing
      {u"^a[^]b$", u"a\nb", false, true},           // [^] matches any unit
      {u"^[[:alpha:]]$", u"a]", false, true},       // no POSIX classes: "[" is literal
      {u"^[\\d-]+$", u"12-3", false, true},
      {u"^[\\W]+$", u"中-", false, true},
      {u"^[\\b]$", u"\b", false, true},             // \b in a class is the backspace
      {u"^(a)\\1$", u"aa", false, true},
      {u"^\\1(a)$", u"a", false, true},             // an unset group matches empty
      {u"^\\101$", u"A", false, true},              // octal when there is no group 101
      {u"^(a)\\10$", u"a\b", false, true},          // \10 with one group is octal 010
      {u"^\\8$", u"8", false, true},
      {u"^ABC$", u"abc", true, true},
      {u"^ABC$", u"abc", false, false},
      {u"^\u00c9T\u00c9$", u"\u00e9t\u00e9", true, true},  // Unicode casing
      {u"^\uff21$", u"\uff41", true, true},                // full-width letters fold too
      {u"^$", u"", false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Matches(c.pattern, c.source, c.ignore_case), c.expected)
        << automation::ToUtf8(c.pattern) << " on " << automation::ToUtf8(c.source);
  }
}

TEST(RegExpDialect, MultilineAnchorsAtLineEnds) {
  RegExp re(u"^b$");
  EXPECT_FALSE(re.Test(u"a\nb\nc"));
  re.SetMultiline(true);
  EXPECT_TRUE(re.Test(u"a\nb\nc"));
  EXPECT_TRUE(re.Test(u"a\r\nb\r\nc"));
}

TEST(RegExp, SearchesAnyTextIncludingLoneSurrogates) {
  const Text lone = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
  RegExp any(u".");
  any.SetGlobal(true);
  EXPECT_EQ(any.Replace(lone, u"x"), u"xxxx");
  RegExp tag(u"<[^>]*>");
  tag.SetGlobal(true);
  // A stray unit inside a tag must not shield the tag from a stripper.
  Text html = u"<img src=x onerror=f() ";
  html.push_back(char16_t(0xDBFF));
  html += u">ok";
  EXPECT_EQ(tag.Replace(html, u""), u"ok");
  Text pattern = u"^";
  pattern.push_back(char16_t(0xD800));
  EXPECT_TRUE(RegExp(pattern).Test(Text(1, char16_t(0xD800)) + u"z"));
}

TEST(RegExp, InvalidPatternRaises5017WithTheLibraryMessage) {
  for (const char16_t* bad : {u"(", u"a{2,1}", u"abc\\", u"[a", u"*a", u"a)"}) {
    RegExp re(bad);
    try {
      re.Test(u"abc");
      ADD_FAILURE() << automation::ToUtf8(bad) << " compiled";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), automation::err::kRegExpSyntax) << automation::ToUtf8(bad);
      EXPECT_FALSE(e.description().empty());
    }
  }
}

TEST(RegExp, RecompilesWhenPatternOrCaseChanges) {
  RegExp re(u"abc");
  EXPECT_FALSE(re.Test(u"ABC"));
  re.SetIgnoreCase(true);
  EXPECT_TRUE(re.Test(u"ABC"));
  re.SetPattern(u"x");
  EXPECT_FALSE(re.Test(u"ABC"));
  re.SetPattern(u"(");
  EXPECT_THROW(re.Test(u"ABC"), Error);
  re.SetPattern(u"b");  // a bad pattern does not stick once replaced
  EXPECT_TRUE(re.Test(u"ABC"));
}

TEST(RegExp, ReplaceReferences) {
  struct Case {
    const char16_t* pattern;
    bool global;
    const char16_t* source;
    const char16_t* replacement;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"(\\d+)-(\\d+)", true, u"1-2 3-4", u"$2:$1", u"2:1 4:3"},
      {u"(\\d+)-(\\d+)", false, u"1-2 3-4", u"$2:$1", u"2:1 3-4"},
      {u"b", false, u"abc", u"[$&]", u"a[b]c"},
      {u"b", false, u"abc", u"$$", u"a$c"},
      {u"b", false, u"abc", u"<$`|$'>", u"a<a|c>c"},
      {u"(b)", false, u"abc", u"$0$2$", u"a$0$2$c"},     // no such groups: written as is
      {u"(b)", false, u"abc", u"$10", u"ab0c"},          // one group: $1 then "0"
      {u"(a)|(b)", true, u"ab", u"[$1$2]", u"[a][b]"},   // a group that took no part is empty
      {u"x*", true, u"abc", u"-", u"-a-b-c-"},           // empty matches step one unit on
      {u"a*", true, u"aaa", u"-", u"--"},
      {u"中", true, u"中国中", u"$&$&", u"中中国中中"},
      {u"z", true, u"abc", u"-", u"abc"},
  };
  for (const auto& c : cases) {
    RegExp re(c.pattern);
    re.SetGlobal(c.global);
    EXPECT_EQ(re.Replace(c.source, c.replacement), c.expected)
        << automation::ToUtf8(c.pattern) << " -> " << automation::ToUtf8(c.replacement);
  }
  RegExp many(u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)");
  EXPECT_EQ(many.Replace(u"abcdefghijk", u"$11$10$1"), u"kja");
}

TEST(RegExp, ExecuteReportsPositionsAndGroups) {
  RegExp re(u"(\\d)(x)?");
  re.SetGlobal(true);
  auto m = re.Execute(u"中1x 2");
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].first_index, 1);
  EXPECT_EQ(m[0].length, 2);
  EXPECT_EQ(m[0].value, u"1x");
  ASSERT_EQ(m[0].submatches.size(), 2u);
  EXPECT_EQ(m[0].submatches[1], Variant(Text(u"x")));
  EXPECT_EQ(m[1].first_index, 4);
  EXPECT_EQ(m[1].value, u"2");
  EXPECT_TRUE(m[1].submatches[1].IsEmpty());

  re.SetGlobal(false);
  EXPECT_EQ(re.Execute(u"中1x 2").size(), 1u);
  EXPECT_TRUE(re.Execute(u"none").empty());
}

TEST(RegExp, RunawayBacktrackingRaisesInsteadOfHanging) {
  RegExp re(u"^(a|aa)+(a|aa)+(a|aa)+$");
  Text source(40, u'a');
  source += u"b";
  EXPECT_THROW(re.Test(source), Error);
}

// A late-bound caller: CreateObject, properties by name, Execute's objects.
TEST(RegExpObject, LateBoundMembers) {
  RegisterClasses();
  automation::ObjectPtr re = automation::CreateObject(u"VBScript.RegExp");
  auto put = [&](const char16_t* name, Variant value) {
    Variant* args[] = {&value};
    re->Invoke(name, InvokeKind::PropertyPut, args);
  };
  auto call = [&](automation::Object& o, const char16_t* name, std::vector<Variant> values) {
    std::vector<Variant*> args;
    for (auto& v : values) args.push_back(&v);
    return o.Invoke(name, InvokeKind::Method, args);
  };
  put(u"Pattern", Text(u"(B)(z)?"));
  put(u"ignorecase", true);
  put(u"Global", true);
  EXPECT_EQ(call(*re, u"Pattern", {}), Variant(Text(u"(B)(z)?")));
  EXPECT_EQ(call(*re, u"IgnoreCase", {}), Variant(true));
  EXPECT_EQ(call(*re, u"Test", {Text(u"abc")}), Variant(true));
  EXPECT_EQ(call(*re, u"Replace", {Text(u"abcb"), Text(u"<$1>")}), Variant(Text(u"a<b>c<b>")));

  Variant matches = call(*re, u"Execute", {Text(u"abcb")});
  ASSERT_TRUE(matches.IsObject());
  automation::Object& coll = *matches.object();
  EXPECT_EQ(call(coll, u"Count", {}), Variant(int32_t(2)));
  Variant second = call(coll, u"", {int16_t(1)});  // the default member is Item
  automation::Object& match = *second.object();
  EXPECT_EQ(call(match, u"FirstIndex", {}), Variant(int32_t(3)));
  EXPECT_EQ(call(match, u"Length", {}), Variant(int32_t(1)));
  EXPECT_EQ(call(match, u"", {}), Variant(Text(u"b")));
  Variant groups = call(match, u"SubMatches", {});
  EXPECT_EQ(call(*groups.object(), u"Count", {}), Variant(int32_t(2)));
  EXPECT_EQ(call(*groups.object(), u"Item", {int32_t(0)}), Variant(Text(u"b")));
  EXPECT_TRUE(call(*groups.object(), u"Item", {int32_t(1)}).IsEmpty());

  try {
    call(coll, u"Item", {int32_t(2)});
    ADD_FAILURE() << "index past the end";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), automation::err::kInvalidCall);
  }
  try {
    call(*re, u"Nope", {});
    ADD_FAILURE() << "unknown member";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), automation::err::kNoSuchMember);
  }
}

}  // namespace
}  // namespace platform
