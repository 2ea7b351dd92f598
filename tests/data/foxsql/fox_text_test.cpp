// Byte-counting text helpers and the direct code page 936 to UTF-8 reading.
#include "data/foxsql/fox_text.h"

#include <gtest/gtest.h>

#include <random>

#include "automation/cp936.h"
#include "automation/text.h"

namespace data::foxsql {
namespace {

TEST(FoxText, ReadsCodePage936AsTheAutomationLayerDoes) {
  std::mt19937 random(936);
  std::uniform_int_distribution<int> byte(0, 255), length(0, 12);
  for (int n = 0; n < 20000; ++n) {
    std::string bytes;
    for (int i = length(random); i > 0; --i) bytes.push_back(static_cast<char>(byte(random)));
    ASSERT_EQ(GbkToUtf8(bytes), automation::ToUtf8(automation::FromGbk(bytes)));
  }
}

TEST(FoxText, CountsBytesOfCodePage936) {
  EXPECT_EQ(GbkLength("运动会2024"), 10);
  EXPECT_EQ(GbkLength("\xE2\x82\xAC"), 1);  // the euro sign is one byte (0x80)
  EXPECT_EQ(GbkSubstr("国际健将", 2, 4), "际健");
  EXPECT_EQ(GbkSubstr("国际健将", 1, 4), "?际?");
  EXPECT_EQ(GbkAt("abab", "ab", 2), 3);
  EXPECT_EQ(GbkOccurs("aaaa", "aa"), 3);
  EXPECT_EQ(GbkReplace("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(GbkAt("丂A", "A", 1), 3);  // positions count bytes
  EXPECT_EQ(GbkPad("一级", 8, "", PadSide::kLeft), "    一级");
  EXPECT_EQ(GbkPad("a", 4, "中", PadSide::kRight), "a中 ");
}

// Cuts that start, end or split a character next to runs of ASCII (the
// stage fields of a round mix both).
TEST(FoxText, CutsAcrossAsciiRunsAndWideCharacters) {
  struct Case {
    int64_t start, count;
    const char* want;
  } cases[] = {
      {0, 2, "ab"}, {1, 3, "b中"}, {1, 2, "b?"}, {3, 2, "?c"}, {2, 2, "中"},
      {4, 10, "cd"}, {-1, 3, "ab"}, {6, 2, ""}, {5, 0, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GbkSubstr("ab中cd", c.start, c.count), c.want) << c.start << "," << c.count;
  EXPECT_EQ(GbkSubstr(" 101   1   0123 ", 8, 7), "   0123");
  // Slices that end inside a long run, or start after one (runs are read in
  // blocks of eight).
  const std::string field = "0123456789abcdefghij中队 xyz";
  EXPECT_EQ(GbkSubstr(field, 3, 9), "3456789ab");
  EXPECT_EQ(GbkSubstr(field, 17, 4), "hij?");
  EXPECT_EQ(GbkSubstr(field, 18, 5), "ij中?");
  EXPECT_EQ(GbkSubstr(field, 20, 100), "中队 xyz");
  EXPECT_EQ(GbkLength(field), 28);
}

}  // namespace
}  // namespace data::foxsql
