// The converters copy ASCII in blocks and switch to one character at a time
// where a run ends: every split of a run around other characters must give
// what converting each character on its own gives.
#include <gtest/gtest.h>

#include <string>

#include "automation/cp936.h"
#include "automation/text.h"

namespace automation {
namespace {

// Texts with ASCII runs of 0 to 39 units before, between and after the
// characters that are not ASCII (a Chinese character, a two-byte one in
// UTF-8, a pair of surrogates, a lone surrogate): runs that end inside,
// at and past the blocks of 8 and 16 the converters copy.
std::vector<Text> MixedTexts() {
  const Text others[] = {u"中", u"é", u"\U0001F600", Text(1, char16_t(0xD800)), u"运动会"};
  std::vector<Text> out;
  for (int before = 0; before < 40; ++before)
    for (const Text& other : others)
      for (int after : {0, 1, 7, 8, 9, 15, 16, 17, 33}) {
        Text t;
        for (int i = 0; i < before; ++i) t += static_cast<char16_t>(u'a' + i % 26);
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

// Long texts (a page, a memo) are converted in place rather than on the
// stack: around that size and well past it, every mixture of runs and
// other characters still converts as each character on its own does.
TEST(TextRuns, LongTextsConvertLikeShortOnes) {
  const std::vector<Text> pieces = MixedTexts();
  for (size_t target : {80u, 85u, 86u, 128u, 170u, 171u, 255u, 256u, 257u, 511u, 512u, 513u, 4000u}) {
    Text t;
    for (size_t i = 0; t.size() < target; i += 7) t += pieces[i % pieces.size()];
    t.resize(target);
    if (t.back() >= 0xD800 && t.back() <= 0xDBFF) t.back() = u'z';  // not half a pair
    const std::string utf8 = ToUtf8(t);
    ASSERT_EQ(utf8, EachCharacter(t, [](TextView c) { return ToUtf8(c); })) << target;
    ASSERT_EQ(ToGbk(t), EachCharacter(t, [](TextView c) { return ToGbk(c); })) << target;
    Text expected;
    for (size_t i = 0; i < t.size(); ++i) {
      const bool lead = t[i] >= 0xD800 && t[i] <= 0xDBFF, trail = t[i] >= 0xDC00 && t[i] <= 0xDFFF;
      const bool paired = (lead && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF) ||
                          (trail && i > 0 && t[i - 1] >= 0xD800 && t[i - 1] <= 0xDBFF);
      expected += (lead || trail) && !paired ? u'\uFFFD' : t[i];
    }
    ASSERT_EQ(FromUtf8(utf8), expected) << target;
    // Chinese alone: a third of the bytes in units.
    const Text chinese(target, u'运');
    ASSERT_EQ(FromUtf8(ToUtf8(chinese)), chinese) << target;
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
      // Three bytes that are too long a form, cut short, or broken.
      {"abcdefghijklmnopq\xE0\x80\x80z", u"abcdefghijklmnopq\uFFFDz"},
      {"\xE4\xB8\xAD" "abcdefghijklmnop\xE4\xB8", u"中abcdefghijklmnop\uFFFD\uFFFD"},
      {"\xE4\xB8x\xE4\xB8\xAD", u"\uFFFD\uFFFDx中"},
      {"\xEF\xBF\xBF\xED\x9F\xBF\xEE\x80\x80", u"\uFFFF\uD7FF\uE000"},
      {"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(FromUtf8(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace automation
