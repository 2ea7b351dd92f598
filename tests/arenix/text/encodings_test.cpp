// HTML escaping, UTF-8 carried through GBK text, percent-encoding, and byte
// data conversions.
#include <gtest/gtest.h>

#include "automation/test_util.h"

#include "arenix/text/byte_data.h"
#include "arenix/text/html_encode.h"
#include "arenix/text/url_utf8.h"
#include "arenix/text/utf8_carry.h"
#include "automation/cp936.h"
#include "automation/error.h"

namespace arenix::text {
namespace {

using automation::testing_util::ErrorOf;

// The text whose 16-bit units carry `bytes` one each, as a GBK-decoded byte
// sequence of one-byte codes would.
Text Units(std::initializer_list<char16_t> units) { return Text(units); }

TEST(HtmlEncode, Rules) {
  struct Case {
    Text s, expected;
  } cases[] = {
      {u"", u""},
      {u" a  b ", u"&nbsp;a&nbsp;&nbsp;b&nbsp;"},
      {u"a b", u"a b"},
      {u"x\r\ny", u"x<br>\ny"},
      {u"\t", u"    "},
      {u"a \tb", u"a&nbsp;    b"},  // a space next to a tab
      {u"&lt;", u"&amp;lt;"},
      {u"<a href=\"x\">", u"&lt;a href=&quot;x&quot;&gt;"},
      {u" ", u"&nbsp;"},
      {u"中 文", u"中 文"},
  };
  for (const auto& k : cases) EXPECT_EQ(HtmlEncode(k.s), k.expected) << automation::ToUtf8(k.s);
}

TEST(HtmlEncode2, RoundTrip) {
  struct Case {
    Text s, encoded, decoded;
  } cases[] = {
      {u"a&b", u"a&b", u"a&b"},
      {u"l1\r\n\r\nl2", u"l1</P><P> l2", u"l1\n\nl2"},
      {u"a\nb", u"a<BR> b", u"a\nb"},
      {u"<'x' \"y\">", u"&lt;&#39;x&#39;&nbsp;&quot;y&quot;&gt;", u"<'x' \"y\">"},
      {u"a\tb", u"a&nbsp;b", u"a b"},  // the tab does not come back
      {u"", u"", u""},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.s));
    EXPECT_EQ(HtmlEncode2(k.s), k.encoded);
    EXPECT_EQ(HtmlUnEncode2(k.encoded), k.decoded);
  }
  EXPECT_EQ(HtmlUnEncode2(u"a<br> b"), u"a<br> b");  // case-sensitive
}

TEST(NoHtml, TagsBecomeSpaces) {
  struct Case {
    Text s, expected;
  } cases[] = {
      {u"<b>x</b>", u" x "},
      {u"<P ALIGN=center>a &amp; b</p>", u" a &amp; b "},
      {u"1 < 2 > 0", u"1   0"},
      {u"a<br/>b<BR>c", u"a b c"},
      {u"no tags", u"no tags"},
      {u"<<b>>", u" "},  // "." takes the second "<"
      {u"", u""},
  };
  for (const auto& k : cases) EXPECT_EQ(NoHtml(k.s), k.expected) << automation::ToUtf8(k.s);
}

TEST(Utf8Carry, StandardRoundTrip) {
  // "é" is C3 A9 in UTF-8, and C3A9 is one GBK character: the bytes survive.
  Text carried = CodeUnicodeToUtf8(u"é", true, false);
  EXPECT_EQ(automation::ToGbk(carried), "\xC3\xA9");
  EXPECT_EQ(CodeUtf8ToUnicode(carried, true), u"é");
  // "中" is E4 B8 AD: E4B8 pairs up, AD alone is no GBK character.
  EXPECT_EQ(CodeUnicodeToUtf8(u"中", true, false), automation::FromGbk("\xE4\xB8\xAD"));
  EXPECT_EQ(CodeUnicodeToUtf8(u"中", true, false).back(), u'?');
  EXPECT_EQ(CodeUtf8ToUnicode(u"abc", true), u"abc");
  EXPECT_EQ(CodeUtf8ToUnicode(u"", true), u"");
  EXPECT_EQ(CodeUnicodeToUtf8(u"", true, true), u"");
}

TEST(Utf8Carry, LineBreaksForHtml) {
  EXPECT_EQ(CodeUnicodeToUtf8(u"a\r\nb", true, true), u"a<br/>b");
  EXPECT_EQ(CodeUnicodeToUtf8(u"a\r\nb", true, false), u"a\r\nb");
  EXPECT_EQ(CodeUnicodeToUtf8(u"a\r\nb", false, true), u"a<br/>b");
  EXPECT_EQ(CodeUnicodeToUtf8(u"a\nb", true, true), u"a\nb");
}

TEST(Utf8Carry, OwnCodec) {
  // The own encoder turns every byte into a character by itself: ASCII
  // stays, 0x80 is the euro sign in code page 936, other high bytes are "?".
  EXPECT_EQ(CodeUnicodeToUtf8(u"a中", false, false), u"a???");
  EXPECT_EQ(CodeUnicodeToUtf8(u"\u0400", false, false), u"?\u20AC");  // D0 80
  // The own decoder reads GBK-carried bytes: C3A9 is one GBK character.
  EXPECT_EQ(CodeUtf8ToUnicode(automation::FromGbk("\xC3\xA9"), false), u"é");
  // E4 B8 + AD: the carried text loses AD ("?"), leaving E4 B8 3F.
  EXPECT_EQ(CodeUtf8ToUnicode(automation::FromGbk("\xE4\xB8\xAD"), false),
            Text(1, static_cast<char16_t>(0x4E3F)));
  // A euro sign stands for the byte 0x80: a stray continuation byte.
  EXPECT_EQ(CodeUtf8ToUnicode(u"a\u20AC", false), u"a\u20AC");
  // Sequences cut off by the end are dropped; what came before stays.
  // B0 is a stray continuation byte ("?"), C3 a lead byte cut off.
  EXPECT_EQ(CodeUtf8ToUnicode(automation::FromGbk("ab\xB0\xC3"), false), u"ab?");
  EXPECT_EQ(CodeUtf8ToUnicode(automation::FromGbk("ab\xE4\xB8"), false), u"ab");
}

TEST(Utf8Carry, StandardDecoderReplacesInvalidBytes) {
  // GBK "中" is D6 D0: not UTF-8.
  Text decoded = CodeUtf8ToUnicode(u"中", true);
  EXPECT_EQ(decoded.find(u'\uFFFD'), 0u);
  // A lone surrogate is encoded as U+FFFD (EF BF BD).
  EXPECT_EQ(automation::ToGbk(CodeUnicodeToUtf8(Text{0xD800}, true, false)).substr(0, 2), "\xEF\xBF");
}

TEST(UrlUtf8, Encode) {
  struct Case {
    Text s, expected;
  } cases[] = {
      {u"", u""},
      {u"a b+c%", u"a b%2Bc%25"},
      {u"中", u"%E4%B8%AD"},
      {u"é", u"%C3%A9"},
      {u"a=1&b=?#", u"a=1&b=?#"},
      {u"\u20AC", u"%E2%82%AC"},
      {u"\uFFFF", u"%EF%BF%BF"},
      {u"\u0080", u"%C2%80"},
      {Text{0xD83D, 0xDE00}, u"%ED%A0%BD%ED%B8%80"},  // each surrogate half by itself
  };
  for (const auto& k : cases) EXPECT_EQ(UrlEncodeUtf8(k.s), k.expected) << automation::ToUtf8(k.s);
}

TEST(UrlUtf8, Decode) {
  struct Case {
    Text s, expected;
  } cases[] = {
      {u"", u""},
      {u"%E4%B8%AD", u"中"},
      {u"a+b%41", u"a bA"},
      {u"%C3%A9", u"é"},
      {u"%c3%a9x", u"éx"},
      {u"%2B%25", u"+%"},
      {u"%E4xB8yAD", u"中"},  // the "%" signs between the escapes are not read
      {u"%F0%9F%98%80", u"\U0001F600"},
      {u"%ED%A0%BD%ED%B8%80", Text{0xD83D, 0xDE00}},
      {u"100%25", u"100%"},
  };
  for (const auto& k : cases) EXPECT_EQ(UrlDecodeUtf8(k.s), k.expected) << automation::ToUtf8(k.s);
}

TEST(UrlUtf8, MalformedEscapesAreTypeMismatch) {
  const Text bad[] = {u"%",     u"a%",       u"%4",          u"%G1",   u"%1G",  u"%E4",
                      u"%E4%B8", u"%E4%B8%A", u"%C3",          u"%C3%",  u"%F0%9F%98",
                      u"% 1",   u"%+1",      u"%\u0661\u0661"};
  for (const Text& s : bad)
    EXPECT_EQ(ErrorOf([&] { UrlDecodeUtf8(s); }), automation::err::kTypeMismatch)
        << automation::ToUtf8(s);
}

TEST(UrlUtf8, EveryBmpUnitRoundTrips) {
  Text all;
  for (uint32_t c = 0; c < 0x10000; ++c) all.push_back(static_cast<char16_t>(c));
  EXPECT_EQ(UrlDecodeUtf8(UrlEncodeUtf8(all)), all);
  for (uint32_t c = 1; c < 0x10000; c += 37) {
    Text one(1, static_cast<char16_t>(c));
    ASSERT_EQ(UrlDecodeUtf8(UrlEncodeUtf8(one)), one) << c;
  }
}

TEST(ByteData, Forms) {
  automation::Array numbers{1, {Variant(int16_t{65}), Variant(66.0), Variant(u"67")}};
  struct Case {
    const char* name;
    Variant v;
    automation::Bytes expected;
  } cases[] = {
      {"byte array", Variant(automation::Bytes{1, 2, 255}), {1, 2, 255}},
      {"byte string", Variant(Units({0x4241, 0x00FF})), {0x41, 0x42, 0xFF, 0x00}},
      {"array of numbers", Variant(numbers), {65, 66, 67}},
      {"empty", Variant(), {}},
      {"empty text", Variant(u""), {}},
  };
  for (const auto& k : cases) EXPECT_EQ(ByteDataOf(k.v), k.expected) << k.name;
  EXPECT_EQ(ErrorOf([] { ByteDataOf(Variant::Null()); }), automation::err::kInvalidNull);
  EXPECT_EQ(ErrorOf([] { ByteDataOf(Variant(3.5)); }), automation::err::kTypeMismatch);
  automation::Array too_big{0, {Variant(int16_t{256})}};
  EXPECT_EQ(ErrorOf([&] { ByteDataOf(Variant(too_big)); }), automation::err::kOverflow);
}

TEST(ByteData, Conversions) {
  EXPECT_EQ(JoinBytes(Variant(automation::Bytes{1, 2, 255}), u","), u"1,2,255");
  EXPECT_EQ(JoinBytes(Variant(automation::Bytes{7}), u","), u"7");
  EXPECT_EQ(JoinBytes(Variant(Units({0x4241})), u"-"), u"65-66");
  EXPECT_EQ(BinaryToString(Variant(automation::Bytes{65, 66})), u"6566");
  EXPECT_EQ(BinaryToString(Variant()), u"");
  EXPECT_EQ(BinaryToString(Variant(automation::Bytes{})), u"");

  EXPECT_EQ(RsBinaryToString(Variant(automation::Bytes{0xD6, 0xD0, 'a'})), u"中a");
  EXPECT_EQ(RsBinaryToString(Variant(automation::Bytes{})), u"");
  EXPECT_EQ(RsBinaryToString(Variant()), u"");
  // A byte string: units D0D6 and 0x6261 carry D6 D0 61 62.
  EXPECT_EQ(RsBinaryToString(Variant(Units({0xD0D6, 0x6261}))), u"中ab");
  // A lead byte at the end has no trail: "?".
  EXPECT_EQ(RsBinaryToString(Variant(automation::Bytes{'a', 0xD6})), u"a?");
  EXPECT_EQ(RsBinaryToString(Variant(automation::Bytes{0x80, 0x00, 'b'})), Text(u"\u20AC\0b", 3));

  EXPECT_EQ(MultiByteToBinary(Variant(u"")), Variant(u""));
  EXPECT_EQ(MultiByteToBinary(Variant()), Variant(u""));
  EXPECT_EQ(MultiByteToBinary(Variant(u"A中")), Variant(automation::Bytes{0x41, 0x00, 0x2D, 0x4E}));
  EXPECT_EQ(MultiByteToBinary(Variant(automation::Bytes{9, 8})), Variant(automation::Bytes{9, 8}));
}

}  // namespace
}  // namespace arenix::text
