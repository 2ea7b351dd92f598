// Pinyin initials and full pinyin, checked against the readings of the
// first level of GB2312 (tests/fixtures/text/gb2312_level1_pinyin.txt, made by
// scripts/derive_pinyin_table.js from pinyin-pro: "CODE CHAR reading/...",
// the usual reading first).
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "arenix/text/pinyin.h"
#include "arenix/text/pinyin_table.h"
#include "automation/cp936.h"
#include "automation/error.h"

namespace arenix::text {
namespace {

TEST(Pinyin, Initials) {
  struct Case {
    Text s, py_char, py_string;
  } cases[] = {
      {u"中国", u"Z", u"ZG"},
      {u"abc", u"abc", u"abc"},
      {u"A中", u"A中", u"AZ"},
      {u"中国a1", u"Z", u"ZGa1"},
      {u"啊", u"A", u"A"},       // the first first-level character
      {u"座", u"Z", u"Z"},       // the last one (0xD7F9)
      {u"亍", u"亍", u"亍"},      // second level: no initial
      {u"，", u"，", u"，"},      // full-width punctuation
      {u"\u0E01x", u"\u0E01x", u"\u0E01x"},  // outside code page 936
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.s));
    EXPECT_EQ(GetPyChar(k.s), k.py_char);
    EXPECT_EQ(GetPyString(k.s), k.py_string);
  }
  EXPECT_EQ(GetPyString(u""), u"");
  try {
    GetPyChar(u"");
    ADD_FAILURE() << "an empty text has no first character";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), automation::err::kInvalidCall);
  }
}

TEST(Pinyin, FullPinyin) {
  struct Case {
    Text s, expected;
  } cases[] = {
      {u"中国", u"zhongguo"},
      {u"李a", u"lia"},
      {u"亍", u""},  // second level (0xD8A1)
      {u"ABC 1-2", u"ABC 1-2"},
      {u"绿女略虐", u"lvnvluenue"},
      {u"，。", u""},
      {Text(u"a\0b", 3), u"ab"},  // NUL is dropped
      {u"\u0E01", u"?"},           // a character code page 936 lacks reads as "?"
      {u"\u20AC", u"\u20AC"},      // the one-byte code 0x80
      {Text{0xD800}, u"?"},
      {u"", u""},
  };
  for (const auto& k : cases) EXPECT_EQ(GetQPyString(k.s), k.expected) << automation::ToUtf8(k.s);
}

TEST(Pinyin, RowBoundaries) {
  // The character at each start code reads as its row, the one just below
  // the next start code too.
  for (size_t i = 0; i < kPinyinSyllables.size(); ++i) {
    const PinyinSyllable& row = kPinyinSyllables[i];
    int32_t last = i + 1 < kPinyinSyllables.size() ? kPinyinSyllables[i + 1].start - 1 : kPinyinLastCode;
    for (int32_t v : {int32_t{row.start}, last}) {
      uint16_t code = static_cast<uint16_t>(v + 65536);
      char16_t c = automation::GbkCharOf(code);
      if (!c) continue;  // the unused cells at the end of a GB2312 row
      ASSERT_EQ(GetQPyString(Text(1, c)), Text(row.name)) << std::hex << code;
    }
  }
}

TEST(Pinyin, InitialsMatchFullPinyin) {
  for (uint16_t code = 0xB0A1; code <= 0xD7F9; ++code) {
    char16_t c = automation::GbkCharOf(code);
    if ((code & 0xFF) < 0xA1 || (code & 0xFF) == 0xFF || !c) continue;
    Text full = GetQPyString(Text(1, c));
    ASSERT_FALSE(full.empty()) << std::hex << code;
    ASSERT_EQ(GetPyChar(Text(1, c)), Text(1, static_cast<char16_t>(full[0] - 32))) << std::hex << code;
  }
}

TEST(Pinyin, AgreesWithReadingsOfTheFirstLevel) {
  std::ifstream in(ARENIX_SOURCE_DIR "/tests/fixtures/text/gb2312_level1_pinyin.txt");
  ASSERT_TRUE(in) << "fixture missing";
  int total = 0, single = 0, single_agree = 0, multi = 0, multi_usual = 0, multi_any = 0;
  // The first level places 帧 by its older reading zhèng; today's is zhēn.
  const std::set<std::string> placed_by_older_reading = {"帧"};
  std::string differing_single, differing_multi;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string code_hex, ch, readings;
    fields >> code_hex >> ch >> readings;
    ++total;
    Text c = automation::FromUtf8(ch);
    ASSERT_EQ(c.size(), 1u) << line;
    ASSERT_EQ(automation::GbkCode(c[0]), std::stoul(code_hex, nullptr, 16)) << line;
    std::string got = automation::ToUtf8(GetQPyString(c));
    std::vector<std::string> list;
    std::istringstream parts(readings);
    for (std::string r; std::getline(parts, r, '/');) list.push_back(r);
    if (list.size() == 1) {
      ++single;
      if (got == list[0]) ++single_agree;
      else if (!placed_by_older_reading.count(ch)) differing_single += " " + line + " (" + got + ")";
    } else {
      ++multi;
      if (got == list[0]) ++multi_usual;
      if (std::find(list.begin(), list.end(), got) != list.end()) ++multi_any;
      else differing_multi += " " + line + " (" + got + ")";
    }
  }
  EXPECT_EQ(total, 3755);
  std::printf("first level: %d characters; single reading %d, agreeing %d; several readings %d, "
              "usual reading %d, one of them %d\n",
              total, single, single_agree, multi, multi_usual, multi_any);
  if (!differing_multi.empty())
    std::printf("several readings, none given:%s\n", differing_multi.c_str());
  EXPECT_EQ(single_agree + static_cast<int>(placed_by_older_reading.size()), single);
  EXPECT_EQ(differing_single, "");
  EXPECT_EQ(multi_any, multi) << "none of the readings:" << differing_multi;
}

}  // namespace
}  // namespace arenix::text
