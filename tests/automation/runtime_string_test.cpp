#include <gtest/gtest.h>

#include "automation/runtime.h"
#include "test_util.h"

namespace automation {
namespace {

using testing_util::ErrorOf;

TEST(RuntimeString, MidLeftRight) {
  EXPECT_EQ(Mid(u"运动会2024", 4, 2), u"20");
  EXPECT_EQ(Mid(u"abc", 2), u"bc");
  EXPECT_EQ(Mid(u"abc", 4), u"");
  EXPECT_EQ(Mid(u"abc", 2, 10), u"bc");
  EXPECT_EQ(Mid(u"abc", 2, 0), u"");
  EXPECT_EQ(Left(u"abc", 2), u"ab");
  EXPECT_EQ(Left(u"abc", 5), u"abc");
  EXPECT_EQ(Right(u"abc", 2), u"bc");
  EXPECT_EQ(Right(u"abc", 0), u"");
  EXPECT_EQ(Right(u"abc", 9), u"abc");
  EXPECT_EQ(ErrorOf([] { Mid(u"abc", 0); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { Mid(u"abc", 1, -1); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { Left(u"abc", -1); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { Right(u"abc", -1); }), err::kInvalidCall);
}

TEST(RuntimeString, InStrAndInStrRev) {
  EXPECT_EQ(InStr(u"abcabc", u"c"), 3);
  EXPECT_EQ(InStr(u"abcabc", u"c", 4), 6);
  EXPECT_EQ(InStr(u"abc", u"d"), 0);
  EXPECT_EQ(InStr(u"abc", u"bc", 3), 0);
  EXPECT_EQ(InStr(u"abc", u""), 1);
  EXPECT_EQ(InStr(u"abc", u"", 3), 3);
  EXPECT_EQ(InStr(u"abc", u"", 4), 4);
  EXPECT_EQ(InStr(u"abc", u"", 5), 0);
  EXPECT_EQ(InStr(u"", u""), 0);
  EXPECT_EQ(InStr(u"运动会", u"动"), 2);
  EXPECT_EQ(InStr(u"ABC", u"b", 1, Compare::Text), 2);
  EXPECT_EQ(InStr(u"ABC", u"b", 1, Compare::Binary), 0);
  EXPECT_EQ(InStr(u"ＡＢ", u"ｂ", 1, Compare::Text), 2);
  EXPECT_EQ(ErrorOf([] { InStr(u"abc", u"a", 0); }), err::kInvalidCall);

  EXPECT_EQ(InStrRev(u"abcabc", u"bc"), 5);
  EXPECT_EQ(InStrRev(u"abcabc", u"bc", 5), 2);  // a match must end by `start`
  EXPECT_EQ(InStrRev(u"abcabc", u"bc", 6), 5);
  EXPECT_EQ(InStrRev(u"abc", u""), 3);
  EXPECT_EQ(InStrRev(u"abc", u"", 2), 2);
  EXPECT_EQ(InStrRev(u"abc", u"x"), 0);
  EXPECT_EQ(InStrRev(u"abc", u"a", 4), 0);
  EXPECT_EQ(InStrRev(u"ABCABC", u"b", -1, Compare::Text), 5);
  EXPECT_EQ(ErrorOf([] { InStrRev(u"abc", u"a", 0); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { InStrRev(u"abc", u"a", -2); }), err::kInvalidCall);
}

TEST(RuntimeString, ReplaceWithStartAndCount) {
  EXPECT_EQ(Replace(u"a-b-c", u"-", u"+"), u"a+b+c");
  EXPECT_EQ(Replace(u"a-b-c", u"-", u"+", 3), u"b+c");  // the result begins at start
  EXPECT_EQ(Replace(u"a-b-c", u"-", u"+", 1, 1), u"a+b-c");
  EXPECT_EQ(Replace(u"a-b-c", u"-", u"+", 3, 1), u"b+c");
  EXPECT_EQ(Replace(u"a-b-c", u"-", u"+", 1, 0), u"a-b-c");
  EXPECT_EQ(Replace(u"aXbxc", u"x", u"", 1, -1, Compare::Text), u"abc");
  EXPECT_EQ(Replace(u"aXbxc", u"x", u""), u"aXbc");
  EXPECT_EQ(Replace(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(Replace(u"abc", u"", u"x"), u"abc");
  EXPECT_EQ(Replace(u"abc", u"a", u"x", 4), u"");
  EXPECT_EQ(Replace(u"运动会运动", u"运动", u"比赛"), u"比赛会比赛");
  EXPECT_EQ(ErrorOf([] { Replace(u"abc", u"a", u"x", 0); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { Replace(u"abc", u"a", u"x", 1, -2); }), err::kInvalidCall);
}

TEST(RuntimeString, SplitWithLimitAndJoin) {
  using List = std::vector<Text>;
  EXPECT_EQ(Split(u"a,b,,c", u","), (List{u"a", u"b", u"", u"c"}));
  EXPECT_EQ(Split(u"a,b,,c", u",", 2), (List{u"a", u"b,,c"}));
  EXPECT_EQ(Split(u"a,b,,c", u",", 1), (List{u"a,b,,c"}));
  EXPECT_EQ(Split(u"a,", u","), (List{u"a", u""}));
  EXPECT_EQ(Split(u"", u","), List{});
  EXPECT_EQ(Split(u"abc", u""), (List{u"abc"}));
  EXPECT_EQ(Split(u"a||b", u"||"), (List{u"a", u"b"}));
  EXPECT_EQ(Split(u"aXbxc", u"x", -1, Compare::Text), (List{u"a", u"b", u"c"}));
  EXPECT_EQ(Split(u"a b"), (List{u"a", u"b"}));
  EXPECT_EQ(Split(u"a,b", u",", 0), List{});
  EXPECT_EQ(ErrorOf([] { Split(u"a", u",", -2); }), err::kInvalidCall);
  EXPECT_EQ(Join({u"a", u"b", u"c"}, u"|"), u"a|b|c");
  EXPECT_EQ(Join({}, u"|"), u"");
}

TEST(RuntimeString, TrimCaseAndFill) {
  EXPECT_EQ(Trim(u"  a b  "), u"a b");
  EXPECT_EQ(Trim(u"\ta \n"), u"\ta \n");  // spaces only
  EXPECT_EQ(Trim(u"\u3000a "), u"\u3000a");
  EXPECT_EQ(LTrim(u"  a  "), u"a  ");
  EXPECT_EQ(RTrim(u"  a  "), u"  a");
  EXPECT_EQ(Trim(u"   "), u"");
  EXPECT_EQ(UCase(u"abcäöü αβ абвё ａｂ 中"), u"ABCÄÖÜ ΑΒ АБВЁ ＡＢ 中");
  EXPECT_EQ(LCase(u"ABCÄÖÜ ΑΒ АБВЁ ＡＢ 中"), u"abcäöü αβ абвё ａｂ 中");
  EXPECT_EQ(Space(3), u"   ");
  EXPECT_EQ(String(3, u'中'), u"中中中");
  EXPECT_EQ(StrReverse(u"abc中"), u"中cba");
  EXPECT_EQ(ErrorOf([] { Space(-1); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { String(-1, u'x'); }), err::kInvalidCall);
}

TEST(RuntimeString, StrComp) {
  struct Case {
    const char16_t* a;
    const char16_t* b;
    Compare cmp;
    int expected;
  };
  const Case cases[] = {
      {u"a", u"b", Compare::Binary, -1}, {u"b", u"a", Compare::Binary, 1},
      {u"a", u"a", Compare::Binary, 0},  {u"a", u"A", Compare::Binary, 1},
      {u"a", u"A", Compare::Text, 0},    {u"a", u"B", Compare::Text, -1},
      {u"a", u"B", Compare::Binary, 1},  {u"ab", u"abc", Compare::Binary, -1},
      {u"", u"", Compare::Binary, 0},    {u"Ä", u"ä", Compare::Text, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StrComp(c.a, c.b, c.cmp), c.expected) << ToUtf8(c.a) << " " << ToUtf8(c.b);
}

TEST(RuntimeString, AscAndChrUseCodePage936) {
  EXPECT_EQ(Asc(u"A"), 65);
  EXPECT_EQ(Asc(u"啊"), 0xB0A1 - 65536);
  EXPECT_EQ(Asc(u"€"), 128);
  EXPECT_EQ(Asc(u"😀"), 63);  // no such character in code page 936
  EXPECT_EQ(Asc(Text(1, char16_t{0xD800})), 63);
  EXPECT_EQ(AscW(u"A"), 65);
  EXPECT_EQ(AscW(u"中"), 0x4E2D);
  EXPECT_EQ(AscW(u"\uFFFF"), -1);
  EXPECT_EQ(ErrorOf([] { Asc(u""); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { AscW(u""); }), err::kInvalidCall);

  EXPECT_EQ(Chr(65), u"A");
  EXPECT_EQ(Chr(128), u"€");
  EXPECT_EQ(Chr(0xB0A1), u"啊");
  EXPECT_EQ(Chr(0xB0A1 - 65536), u"啊");
  EXPECT_EQ(Chr(Asc(u"国")), u"国");
  EXPECT_EQ(Chr(0xFF), u"?");
  EXPECT_EQ(ChrW(0x4E2D), u"中");
  EXPECT_EQ(ChrW(-1), u"\uFFFF");
  EXPECT_EQ(ErrorOf([] { Chr(65536); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { Chr(-32769); }), err::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { ChrW(65536); }), err::kInvalidCall);
}

}  // namespace
}  // namespace automation
