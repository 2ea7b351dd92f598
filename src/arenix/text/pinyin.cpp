#include "arenix/text/pinyin.h"

#include <algorithm>

#include "arenix/text/pinyin_table.h"
#include "automation/cp936.h"
#include "automation/runtime.h"

namespace arenix::text {
namespace {

constexpr bool StartsRise() {
  for (size_t i = 1; i < kPinyinSyllables.size(); ++i)
    if (kPinyinSyllables[i].start <= kPinyinSyllables[i - 1].start) return false;
  return kPinyinSyllables.front().start == kPinyinFirstCode;
}
static_assert(StartsRise(), "the syllable table must be sorted by start code");

// Initials by unsigned GBK code (inclusive ranges); no I, U or V. Z reaches
// 0xD7F9, the last first-level character (座), which the component's older
// table left out by one.
struct InitialRange {
  int32_t from, to;
  char16_t letter;
};
constexpr InitialRange kInitials[] = {
    {45217, 45252, u'A'}, {45253, 45760, u'B'}, {45761, 46317, u'C'}, {46318, 46825, u'D'},
    {46826, 47009, u'E'}, {47010, 47296, u'F'}, {47297, 47613, u'G'}, {47614, 48118, u'H'},
    {48119, 49061, u'J'}, {49062, 49323, u'K'}, {49324, 49895, u'L'}, {49896, 50370, u'M'},
    {50371, 50613, u'N'}, {50614, 50621, u'O'}, {50622, 50905, u'P'}, {50906, 51386, u'Q'},
    {51387, 51445, u'R'}, {51446, 52217, u'S'}, {52218, 52697, u'T'}, {52698, 52979, u'W'},
    {52980, 53688, u'X'}, {53689, 54480, u'Y'}, {54481, 55289, u'Z'},
};

// The initial of a character, or 0 when it has none.
char16_t InitialOf(char16_t c) {
  // One-byte codes land above 65535 and so outside every range.
  int32_t code = automation::GbkCodeValue(c) + 65536;
  if (code < kInitials[0].from || code > std::end(kInitials)[-1].to) return 0;
  for (const InitialRange& r : kInitials)
    if (code >= r.from && code <= r.to) return r.letter;
  return 0;
}

}  // namespace

Text GetPyChar(TextView s) {
  if (s.empty()) automation::ThrowInvalidCall();
  char16_t letter = InitialOf(s[0]);
  return letter ? Text(1, letter) : Text(s);
}

Text GetPyString(TextView s) {
  Text out;
  out.reserve(s.size());
  for (char16_t c : s) {
    char16_t letter = InitialOf(c);
    out.push_back(letter ? letter : c);
  }
  return out;
}

Text GetQPyString(TextView s) {
  Text out;
  out.reserve(s.size() * 4);
  for (char16_t c : s) {
    int16_t v = automation::GbkCodeValue(c);
    if (v > 0 && v < 160) {
      out += automation::Chr(v);
    } else if (v >= kPinyinFirstCode && v <= kPinyinLastCode) {
      // The last syllable whose start is not above v.
      auto next = std::upper_bound(kPinyinSyllables.begin(), kPinyinSyllables.end(), v,
                                   [](int16_t code, const PinyinSyllable& row) { return code < row.start; });
      out += std::prev(next)->name;
    }
  }
  return out;
}

}  // namespace arenix::text
