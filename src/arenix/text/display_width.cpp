#include "arenix/text/display_width.h"

#include <cstdlib>

#include "automation/coerce.h"
#include "automation/cp936.h"
#include "automation/runtime.h"

namespace arenix::text {
namespace {

// The measuring procedures keep their sums in 16-bit integers, so a sum past
// 32767 is an overflow, as it is for any 16-bit counter of the component.
int16_t Add16(int32_t sum, int32_t width) {
  int32_t r = sum + width;
  if (r > INT16_MAX || r < INT16_MIN) automation::ThrowOverflow();
  return static_cast<int16_t>(r);
}

}  // namespace

int CharWidth(char16_t c, WidthTest test) {
  int32_t v = automation::GbkCodeValue(c);
  switch (test) {
    case WidthTest::kUnsigned: return (v < 0 ? v + 65536 : v) > 255 ? 2 : 1;
    case WidthTest::kSign: return v <= 0 ? 2 : 1;
    case WidthTest::kAbsolute: return std::abs(v) > 255 ? 2 : 1;
  }
  return 1;
}

int16_t GetStringLength(TextView s) {
  // Never fails: the count stops at the top of its range.
  int64_t n = 0;
  for (char16_t c : s) {
    n += CharWidth(c, WidthTest::kUnsigned);
    if (n >= INT16_MAX) return INT16_MAX;
  }
  return static_cast<int16_t>(n);
}

int16_t GetStringLength2(TextView s) {
  Text t = automation::Trim(s);
  int16_t n = 0;
  for (char16_t c : t) n = Add16(n, CharWidth(c, WidthTest::kSign));
  return n;
}

Text GetStringLeft(TextView s, int16_t limit) {
  int16_t sum = 0;
  size_t i = 0;
  while (i < s.size()) {
    sum = Add16(sum, CharWidth(s[i++], WidthTest::kSign));
    if (sum >= limit) break;
  }
  return Text(s.substr(0, i));
}

Text GetStringRight(TextView s, int16_t limit) {
  int16_t sum = 0;
  size_t i = s.size();
  while (i > 0) {
    sum = Add16(sum, CharWidth(s[--i], WidthTest::kSign));
    if (sum >= limit) break;
  }
  return Text(s.substr(i));
}

Text DecodeTitleEntities(TextView s) {
  using automation::Replace;
  Text t = Replace(s, u"&nbsp;", u" ");
  t = Replace(t, u"&quot;", u"\"");
  t = Replace(t, u"&gt;", u">");
  return Replace(t, u"&lt;", u"<");
}

Text GetTopicStr(TextView s, int16_t limit) {
  using automation::Replace;
  if (s.empty()) return Text();
  Text t = DecodeTitleEntities(s);
  int16_t sum = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    sum = Add16(sum, CharWidth(t[i], WidthTest::kAbsolute));
    if (sum >= limit) {
      t.resize(i + 1);
      t += u"…";
      break;
    }
  }
  t = Replace(t, u" ", u"&nbsp;");
  t = Replace(t, u"\"", u"&quot;");
  t = Replace(t, u">", u"&gt;");
  return Replace(t, u"<", u"&lt;");
}

Text GetString(const Variant& s_var, const Variant& start_var, const Variant& length_var) {
  Text s = automation::CStr(s_var);
  int16_t start = automation::CInt(start_var);
  int16_t length = automation::CInt(length_var);
  if (automation::Trim(s).empty()) return Text();
  Text t = DecodeTitleEntities(s);
  // Past the end of the text nothing more can be taken, so both walks stop
  // there; the columns are counted in 32 bits, so a large start or length
  // simply reaches the end instead of overflowing.
  int32_t column = 1;
  size_t j = 0;
  while (column < start) {
    if (j >= t.size()) return Text();
    column += CharWidth(t[j++], WidthTest::kAbsolute);
  }
  int32_t last = int32_t{start} + length - 1;
  Text out;
  while (column <= last && j < t.size()) {
    out.push_back(t[j]);
    column += CharWidth(t[j++], WidthTest::kAbsolute);
  }
  return out;
}

}  // namespace arenix::text
