// The converters copy ASCII in blocks and switch to one character at a time
// where a run ends: every split of a run around other characters must give
// what converting each character on its own gives.
#include <gtest/gtest.h>

#include <string>

#include "automation/cp936.h"
#include "automation/text.h"

namespace automation {
namespace {

// Texts with ASCII runs of 0 to 19 units before, between and after the
// characters that are not ASCII (a Chinese character, a two-byte one in
// UTF-8, a pair of surrogates, a lone surrogate).
std::vector<Text> MixedTexts() {
  const Text others[] = {u"中", u"é", u"\U0001F600", Text(1, char16_t(0xD800)), u"运动会"};
  std::vector<Text> out;
  for (int before = 0; before < 20; ++before)
    for (const Text& other : others)
      for (int after : {0, 1, 7, 8, 9, 17}) {
        Text t;
        for (int i = 0; i < before; ++i) t += static_cast<char16_t>(u'a' + i);
        t += other;
        for (int i = 0; i < after; ++i) t += static_cast<char16_t>(u'0' + i % 10);
        out.push_back(t);
      }
  return out;
}

// Unit by unit, pairs of surrogates kept together.
template <typename F>
std::string EachCharacter(const Text& t, F convert) {
  std::string out;
  for (size_t i = 0; i < t.size(); ++i) {
    size_t n = (t[i] >= 0xD800 && t[i] <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF) ? 2 : 1;
    out += convert(TextView(t).substr(i, n));
    i += n - 1;
  }
  return out;
}

TEST(TextRuns, ConvertersAgreeWithOneCharacterAtATime) {
  for (const Text& t : MixedTexts()) {
    const std::string utf8 = ToUtf8(t);
    EXPECT_EQ(utf8, EachCharacter(t, [](TextView c) { return ToUtf8(c); })) << ToUtf8(t);
    EXPECT_EQ(ToGbk(t), EachCharacter(t, [](TextView c) { return ToGbk(c); })) << ToUtf8(t);
    // Back from UTF-8: the same text, the lone surrogate as U+FFFD.
    Text expected = t;
    for (size_t i = 0; i < expected.size(); ++i)
      if (expected[i] == 0xD800 && (i + 1 >= expected.size() || expected[i + 1] < 0xDC00)) expected[i] = 0xFFFD;
    EXPECT_EQ(FromUtf8(utf8), expected) << utf8;
  }
}

TEST(TextRuns, MalformedUtf8AfterAsciiRuns) {
  const struct {
    std::string in;
    Text out;
  } cases[] = {
      {"abcdefgh\xFF", u"abcdefgh\uFFFD"},
      {"abcdefghi\xE4\xB8", u"abcdefghi\uFFFD\uFFFD"},
      {"abcdefgh\xC0\x80xyz", u"abcdefgh\uFFFDxyz"},
      {"12345678123456789\xED\xA0\x80", u"12345678123456789\uFFFD"},
      {"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(FromUtf8(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace automation
