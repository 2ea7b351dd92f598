#include <gtest/gtest.h>
#include <iconv.h>

#include "automation/cp936.h"
#include "test_util.h"

namespace automation {
namespace {

// What iconv itself makes of one 16-bit unit: its CP936 bytes, or empty.
std::string IconvBytes(char16_t c) {
  iconv_t cd = iconv_open("CP936", "UTF-16LE");
  EXPECT_NE(cd, (iconv_t)-1);
  char in[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  char out[8];
  char* pin = in;
  char* pout = out;
  size_t nin = 2, nout = sizeof out;
  size_t r = iconv(cd, &pin, &nin, &pout, &nout);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return {};
  return std::string(out, sizeof out - nout);
}

TEST(Cp936, AgreesWithIconv) {
  struct Case {
    char16_t c;
    uint16_t code;  // kNoGbkCode when code page 936 has none
  };
  const Case cases[] = {
      {u'A', 0x41},    {u'~', 0x7E},    {u'€', 0x80},    {u'啊', 0xB0A1},  // first level
      {u'亍', 0xD8A1}, {u'齄', 0xF7FE},  // second level
      {u'丂', 0x8140}, {u'鍮', 0xE642},  // GBK extension
      {u'￥', 0xA3A4}, {u'·', 0xA1A4},  {u'é', 0xA8A6},
      {u'\u00A5', kNoGbkCode}, {char16_t{0xD800}, kNoGbkCode}, {char16_t{0xDFFF}, kNoGbkCode},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.c));
    EXPECT_EQ(GbkCode(c.c), c.code);
    std::string expected = c.code == kNoGbkCode ? "?" : IconvBytes(c.c);
    EXPECT_EQ(ToGbk(Text(1, c.c)), expected);
    EXPECT_EQ(IsGbkDoubleByte(c.c), c.code != kNoGbkCode && c.code > 0xFF);
    if (c.code != kNoGbkCode) {
      EXPECT_EQ(FromGbk(expected), Text(1, c.c));
      EXPECT_EQ(GbkCharOf(c.code), c.c);
    }
  }
  // The whole table against iconv, one unit at a time.
  int differences = 0;
  for (uint32_t u = 0x80; u < 0x10000; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    std::string bytes = IconvBytes(static_cast<char16_t>(u));
    std::string ours = ToGbk(Text(1, static_cast<char16_t>(u)));
    if (ours != (bytes.empty() ? "?" : bytes)) ++differences;
  }
  EXPECT_EQ(differences, 0);
}

TEST(Cp936, CodeValuesAndConversions) {
  EXPECT_EQ(GbkCodeValue(u'A'), 65);
  EXPECT_EQ(GbkCodeValue(u'€'), 128);
  EXPECT_EQ(GbkCodeValue(u'中'), 0xD6D0 - 65536);
  EXPECT_EQ(GbkCodeValue(u'\u00A5'), 63);
  EXPECT_EQ(ToGbk(u"a中b"), "a\xD6\xD0" "b");
  EXPECT_EQ(ToGbk(u"😀"), "??");  // each half of the pair is one unit
  EXPECT_EQ(FromGbk("a\xD6\xD0" "b"), u"a中b");
  EXPECT_EQ(FromGbk("\x80"), u"€");
  EXPECT_EQ(FromGbk("\xFF"), u"?");
  EXPECT_EQ(FromGbk("\x81\x30"), u"?0");  // no such pair: the lead byte alone is lost
  EXPECT_EQ(FromGbk("\xB0"), u"?");      // cut after the lead byte
  EXPECT_EQ(FromGbk(""), u"");
}

}  // namespace
}  // namespace automation
