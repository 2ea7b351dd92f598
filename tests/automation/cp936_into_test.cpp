// FromGbk into a reused text gives exactly what a byte-by-byte decode gives,
// whatever the mix and alignment of one- and two-byte characters.
#include <gtest/gtest.h>

#include <random>

#include "automation/cp936.h"

namespace automation {
namespace {

// The decoding rule, one byte at a time: a lead byte with a defined trail
// makes one character; anything else is its one-byte character or "?".
Text Reference(std::string_view bytes) {
  Text out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 0x81 && b <= 0xFE && i + 1 < bytes.size()) {
      char16_t c = GbkCharOf(static_cast<uint16_t>(b << 8 | static_cast<unsigned char>(bytes[i + 1])));
      if (c) {
        out.push_back(c);
        ++i;
        continue;
      }
    }
    char16_t c = GbkCharOf(b);
    out.push_back(b == 0 ? u'\0' : c ? c : u'?');
  }
  return out;
}

TEST(Cp936Into, MatchesTheByteByByteRule) {
  const std::string pieces[] = {" ", "a", std::string(17, ' '), ToGbk(u"张"), ToGbk(u"四项全能"), "\x80",
                                "\xFF", "\x81", std::string("\x81\x7F", 2), "0123456789abcdef", "\x81\x40"};
  std::mt19937 random(7);
  Text reused;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    int parts = static_cast<int>(random() % 12);
    for (int p = 0; p < parts; ++p) bytes += pieces[random() % std::size(pieces)];
    FromGbk(bytes, reused);
    ASSERT_EQ(reused, Reference(bytes)) << round;
    ASSERT_EQ(FromGbk(bytes), reused);
  }
  FromGbk("", reused);
  EXPECT_EQ(reused, u"");
}

}  // namespace
}  // namespace automation
