// Display widths, cuts, titles, URL joins, trims, list edits, extraction,
// digits and text-to-number conversion.
#include <gtest/gtest.h>

#include "automation/test_util.h"

#include "arenix/text/display_width.h"
#include "arenix/text/list_text.h"
#include "arenix/text/radix_text.h"
#include "arenix/text/regexp_replace.h"
#include "arenix/text/strextract.h"
#include "arenix/text/string_to_numeric.h"
#include "arenix/text/trim_char.h"
#include "automation/coerce.h"
#include "automation/error.h"
#include "automation/text.h"

namespace arenix::text {
namespace {

using automation::Currency;

using automation::testing_util::ErrorOf;

// A character outside code page 936 (Thai), one in it (中), NUL.
constexpr char16_t kThai = u'\u0E01';

TEST(DisplayWidth, ThreeTestsAgreeExceptOnNul) {
  struct Case {
    char16_t c;
    int unsigned_w, sign_w, absolute_w;
  } cases[] = {
      {u'a', 1, 1, 1},     {u'中', 2, 2, 2},      {u'\0', 1, 2, 1},  {kThai, 1, 1, 1},
      {u'\u20AC', 1, 1, 1},  // the euro sign is the one-byte code 0x80
      {u'\uFF21', 2, 2, 2},  // full-width letter
      {char16_t{0xD800}, 1, 1, 1},  // a lone surrogate is unrepresentable
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(static_cast<int>(k.c));
    EXPECT_EQ(CharWidth(k.c, WidthTest::kUnsigned), k.unsigned_w);
    EXPECT_EQ(CharWidth(k.c, WidthTest::kSign), k.sign_w);
    EXPECT_EQ(CharWidth(k.c, WidthTest::kAbsolute), k.absolute_w);
  }
}

TEST(DisplayWidth, Lengths) {
  EXPECT_EQ(GetStringLength(u"中国abc"), 7);
  EXPECT_EQ(GetStringLength(u""), 0);
  EXPECT_EQ(GetStringLength(Text(1, u'\0')), 1);
  EXPECT_EQ(GetStringLength2(Text(1, u'\0')), 2);
  EXPECT_EQ(GetStringLength2(u" 中 "), 2);
  EXPECT_EQ(GetStringLength2(u"   "), 0);
  EXPECT_EQ(GetStringLength(Text(3, kThai)), 3);
}

TEST(DisplayWidth, SixteenBitRange) {
  // GetStringLength never fails; the trimmed measure overflows like any
  // 16-bit counter.
  Text wide(20000, u'中');
  EXPECT_EQ(GetStringLength(wide), 32767);
  EXPECT_EQ(ErrorOf([&] { GetStringLength2(wide); }), automation::err::kOverflow);
  EXPECT_EQ(GetStringLength2(Text(16383, u'中') + u"a"), 32767);
}

TEST(DisplayWidth, LeftAndRight) {
  struct Case {
    Text s;
    int16_t limit;
    Text left, right;
  } cases[] = {
      {u"abc", 0, u"a", u"c"},          {u"abc", -5, u"a", u"c"},
      {u"", 5, u"", u""},               {u"中国", 3, u"中国", u"中国"},
      {u"中国", 1, u"中", u"国"},        {u"中国", 2, u"中", u"国"},
      {u"ab中cd", 3, u"ab中", u"中cd"},  {u"ab中cd", 99, u"ab中cd", u"ab中cd"},
      {Text(u"a\0b", 3), 2, Text(u"a\0", 2), Text(u"\0b", 2)},  // NUL counts 2 here
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.s) + " " + std::to_string(k.limit));
    EXPECT_EQ(GetStringLeft(k.s, k.limit), k.left);
    EXPECT_EQ(GetStringRight(k.s, k.limit), k.right);
  }
}

TEST(DisplayWidth, TopicStr) {
  struct Case {
    Text s;
    int16_t limit;
    Text expected;
  } cases[] = {
      {u"", 10, u""},
      {u"a&lt;b", 10, u"a&lt;b"},
      {u"abc", 3, u"abc…"},  // reaching the limit exactly still adds the ellipsis
      {u"abc", 4, u"abc"},
      {u"a b", 10, u"a&nbsp;b"},
      {u"a&amp;b", 20, u"a&amp;b"},
      {u"中国人民", 5, u"中国人…"},
      {u"&quot;x&quot; &gt; y", 3, u"&quot;x&quot;…"},
      {u"abc", 0, u"a…"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.s));
    EXPECT_EQ(GetTopicStr(k.s, k.limit), k.expected);
  }
}

TEST(DisplayWidth, SliceByColumns) {
  struct Case {
    Variant s, start, length;
    Text expected;
  } cases[] = {
      {Variant(u"abcdef"), Variant(int16_t{2}), Variant(int16_t{3}), u"bcd"},
      {Variant(u"中国人"), Variant(int16_t{3}), Variant(int16_t{2}), u"国"},
      // A wide character starting one column before the start is skipped whole.
      {Variant(u"中国人"), Variant(int16_t{2}), Variant(int16_t{2}), u"国"},
      // A wide character starting on the last column is taken whole.
      {Variant(u"a中b"), Variant(int16_t{1}), Variant(int16_t{2}), u"a中"},
      {Variant(u"a&gt;b"), Variant(int16_t{1}), Variant(int16_t{3}), u"a>b"},
      {Variant(u"abc"), Variant(int16_t{9}), Variant(int16_t{2}), u""},
      {Variant(u"abc"), Variant(int16_t{1}), Variant(int16_t{0}), u""},
      {Variant(u"abc"), Variant(int16_t{1}), Variant(int16_t{-3}), u""},
      {Variant(u"   "), Variant(int16_t{1}), Variant(int16_t{3}), u""},
      // Texts and numbers in any variant form; the whole text for a huge length.
      {Variant(u"abcdef"), Variant(u"2"), Variant(2.0), u"bc"},
      {Variant(u"abc"), Variant(int16_t{30000}), Variant(int16_t{30000}), u""},
      {Variant(u"abc"), Variant(int16_t{1}), Variant(int16_t{32767}), u"abc"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.expected));
    EXPECT_EQ(GetString(k.s, k.start, k.length), k.expected);
  }
  EXPECT_EQ(ErrorOf([] { GetString(Variant(u"abc"), Variant(u"x"), Variant(int16_t{1})); }),
            automation::err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { GetString(Variant(u"abc"), Variant(int32_t{40000}), Variant(int16_t{1})); }),
            automation::err::kOverflow);
}

TEST(ListText, JoinChar) {
  struct Case {
    Text url, expected;
  } cases[] = {
      {u"", u""},
      {u"list.asp", u"list.asp?"},
      {u"list.asp?id=1", u"list.asp?id=1&"},
      {u"list.asp?", u"list.asp?"},
      {u"list.asp?id=1&", u"list.asp?id=1&"},
      {u"?a", u"?a?"},
      {u"list.asp?a=1&b=2", u"list.asp?a=1&b=2&"},
  };
  for (const auto& k : cases) EXPECT_EQ(JoinChar(k.url), k.expected) << automation::ToUtf8(k.url);
}

TEST(TrimChar, Sets) {
  struct Case {
    Text text, set, both, left, right;
  } cases[] = {
      {u"--ab--", u"-", u"ab", u"ab--", u"--ab"},
      {u"0012", u"0", u"12", u"12", u"0012"},
      {u"12ab34", u"0-9", u"ab", u"ab34", u"12ab"},
      {u"xxABxx", u"X", u"xxABxx", u"xxABxx", u"xxABxx"},  // case-sensitive
      {u"abXYab", u"!a-z", u"abXYab", u"abXYab", u"abXYab"},
      {u"XYabXY", u"!a-z", u"ab", u"abXY", u"XYab"},
      {u"--ab--", u"", u"--ab--", u"--ab--", u"--ab--"},
      {u"----", u"-", u"", u"", u""},
      {u"", u"-", u"", u"", u""},
      {u"!a!", u"!", u"a", u"a!", u"!a"},  // "!" alone is itself
      {u"-a-", u"a-", u"", u"", u""},      // "-" last is itself
      {u"中文中", u"中", u"文", u"文中", u"中文"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.text) + " [" + automation::ToUtf8(k.set) + "]");
    EXPECT_EQ(TrimChar(k.text, k.set), k.both);
    EXPECT_EQ(LTrimChar(k.text, k.set), k.left);
    EXPECT_EQ(RTrimChar(k.text, k.set), k.right);
  }
  EXPECT_EQ(ErrorOf([] { TrimChar(u"abc", u"z-a"); }), 93);
}

TEST(ListText, ReplaceAt) {
  struct Case {
    Text list;
    int16_t at;
    Text with, delimiter, expected;
  } cases[] = {
      {u"a|b|c", 1, u"x", u"|", u"a|x|c"},
      {u"a|b|c", 0, u"x", u"|", u"x|b|c"},
      {u"a|b", 3, u"x", u"|", u"a|b||x"},
      {u"", 2, u"x", u"|", u"||x"},
      {u"", 0, u"x", u"|", u"x"},
      {u"a|b", -1, u"x", u"|", u"a|b"},
      {u"a||b", 1, u"x", u"||", u"a||x"},
      {u"a,b", 1, u"", u",", u"a,"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.list));
    EXPECT_EQ(ReplaceAt(k.list, k.at, k.with, k.delimiter), k.expected);
  }
}

TEST(StrExtract, DelimitersAndFlags) {
  struct Case {
    Text text, begin, end;
    int16_t start, flags;
    Text expected;
  } cases[] = {
      {u"[a][b]", u"[", u"]", 1, 0, u"a"},
      {u"[a][b]", u"[", u"]", 1, kExtractWithBegin, u"[a"},
      {u"[a][b]", u"[", u"]", 2, 0, u"b"},  // a start position, not an occurrence count
      {u"[a][b]", u"[", u"]", -4, 0, u"a"},
      {u"[a", u"[", u"]", 1, 0, u""},
      {u"[a", u"[", u"]", 1, kExtractToEnd, u"a"},
      {u"[a]b", u"[", u"", 1, 0, u"a]b"},
      {u"[a]b", u"[", u"", 1, kExtractWithBegin, u"[a]b"},
      {u"x[a]", u"", u"]", 1, 0, u"x[a"},
      {u"a", u"[", u"]", 1, 0, u""},
      {u"<B>Bold</b>", u"<b>", u"</B>", 1, 0, u""},
      {u"<B>Bold</b>", u"<b>", u"</B>", 1, kExtractIgnoreCase, u"Bold"},
      {u"<B>Bold</b>", u"<b>", u"</B>", 1, kExtractIgnoreCase | kExtractWithBegin, u"<B>Bold"},
      {u"ab", u"ab", u"x", 1, 0, u""},
      {u"[]", u"[", u"]", 1, 0, u""},
      {u"", u"", u"", 1, 0, u""},
      {u"[a]", u"[", u"]", 100, 0, u""},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.text) + " flags " + std::to_string(k.flags));
    EXPECT_EQ(StrExtract(k.text, k.begin, k.end, k.start, k.flags), k.expected);
  }
}

Currency Cur(double d) { return automation::CurrencyFromDouble(d); }

TEST(NumberText, HexAndBinaryDigits) {
  struct Case {
    double value;
    Text hex, bin;
  } cases[] = {
      {255, u"FF", u"11111111"},
      {0, u"", u""},
      {-5, u"", u""},
      {5, u"5", u"101"},
      {16, u"10", u"10000"},
      {17.5, u"11.5", u"10010"},  // the fraction stays on the last hex digit; binary rounds
      {10, u"A", u"1010"},
      {2.5, u"2.5", u"10"},
      {0.5, u"0.5", u"0"},
      {0.25, u"0.25", u"0"},
      {2147483647, u"7FFFFFFF", u"1111111111111111111111111111111"},
      {1e12, u"E8D4A51000", u""},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.value);
    EXPECT_EQ(DecToHex(Cur(k.value)), k.hex);
    if (k.value <= 2147483647) EXPECT_EQ(DecToBin(Cur(k.value)), k.bin);
  }
  EXPECT_EQ(ErrorOf([] { DecToBin(Cur(1e12)); }), automation::err::kOverflow);
  // The digits are worked out in double precision: the top of the Currency
  // range keeps its whole part exactly, its fraction only roughly.
  EXPECT_EQ(DecToHex(Currency{INT64_MAX}), u"346DC5D638865.625");
  EXPECT_EQ(DecToHex(Currency{1}), u"0.0001");
}

TEST(RegExpReplace, IgnoresCaseAndReplacesAll) {
  EXPECT_EQ(ReplaceExp(u"aXbxc", u"x", u"-"), u"a-b-c");
  EXPECT_EQ(ReplaceExp(u"2024-03-05", u"(\\d+)-(\\d+)-(\\d+)", u"$2/$3/$1"), u"03/05/2024");
  EXPECT_EQ(ReplaceExp(u"", u"x", u"-"), u"");
  EXPECT_EQ(ErrorOf([] { ReplaceExp(u"abc", u"(", u""); }), automation::err::kRegExpSyntax);
}

TEST(NumberText, MinMax) {
  EXPECT_EQ(Min(1, 2), 1);
  EXPECT_EQ(Min(2, 1), 1);
  EXPECT_EQ(Max(1, 2), 2);
  EXPECT_EQ(Max(-1.5, -2.5), -1.5);
}

TEST(StringToNumeric, Values) {
  struct Case {
    Text s;
    int64_t scaled;
  } cases[] = {
      {u"abc", 0},
      {u"", 0},
      {u"   ", 0},
      {u"3", 30000},
      {u"2.5", 25000},
      {u" 12.34 ", 123400},
      {u"12345.678", 123456777},  // read in single precision
      {u"-7", -70000},
      {u"1,234.5", 12345000},
      {u"1e3", 10000000},
      {u"2147483647", 21474836480000},
      {u"12.3.4", 0},
      {u"12a", 0},
      {u"&H10", 0},  // radix literals are not numbers to the validators
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.s));
    EXPECT_EQ(StringToNumeric(k.s), Currency{k.scaled});
  }
  EXPECT_EQ(ErrorOf([] { StringToNumeric(u"3000000000"); }), automation::err::kOverflow);
  EXPECT_EQ(ErrorOf([] { StringToNumeric(u"-1e10"); }), automation::err::kOverflow);
}

}  // namespace
}  // namespace arenix::text
