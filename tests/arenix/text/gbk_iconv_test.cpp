// The text module's code page 936 conversions against iconv's "CP936", for
// every character of GB2312 (symbols in rows A1-A9, the first and second
// levels of Chinese characters in rows B0-F7), the euro sign and a character
// that code page 936 lacks.
#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>
#include <vector>

#include "arenix/text/byte_data.h"
#include "arenix/text/display_width.h"
#include "arenix/text/utf8_carry.h"
#include "automation/text.h"

namespace arenix::text {
namespace {

// One iconv conversion of a whole input; nothing when iconv refuses it.
std::optional<std::string> Iconv(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == (iconv_t)-1) return std::nullopt;
  std::string out(in.size() * 4 + 8, '\0');
  char* pin = const_cast<char*>(in.data());
  char* pout = out.data();
  size_t nin = in.size(), nout = out.size();
  size_t r = iconv(cd, &pin, &nin, &pout, &nout);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1) || nin != 0) return std::nullopt;
  out.resize(out.size() - nout);
  return out;
}

Text Utf16(const std::string& le) {
  Text t;
  for (size_t i = 0; i + 1 < le.size(); i += 2)
    t.push_back(static_cast<char16_t>(static_cast<uint8_t>(le[i]) | static_cast<uint8_t>(le[i + 1]) << 8));
  return t;
}

// GBK bytes to text the way the component reads them, with iconv as the
// only table: two bytes where they form a character, else one, else "?".
Text DecodeByIconv(const std::string& bytes) {
  Text out;
  for (size_t i = 0; i < bytes.size();) {
    if (i + 1 < bytes.size()) {
      if (auto two = Iconv("UTF-16LE", "CP936", bytes.substr(i, 2)); two && two->size() == 2) {
        out += Utf16(*two);
        i += 2;
        continue;
      }
    }
    auto one = Iconv("UTF-16LE", "CP936", bytes.substr(i, 1));
    out += one && one->size() == 2 ? Utf16(*one) : Text(u"?");
    i += 1;
  }
  return out;
}

struct Row {
  Text c;
  std::string gbk;   // iconv's bytes, "?" when it has none
  std::string utf8;  // iconv's UTF-8
};

std::vector<Row> Rows() {
  std::vector<Row> rows;
  for (int lead = 0xA1; lead <= 0xF7; ++lead) {
    if (lead > 0xA9 && lead < 0xB0) continue;
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
      auto utf16 = Iconv("UTF-16LE", "CP936", gbk);
      if (!utf16) continue;  // an empty cell
      rows.push_back({Utf16(*utf16), gbk, *Iconv("UTF-8", "CP936", gbk)});
    }
  }
  rows.push_back({u"\u20AC", "\x80", "\xE2\x82\xAC"});
  EXPECT_FALSE(Iconv("CP936", "UTF-8", "\xE0\xB8\x81"));  // Thai ko kai: not in code page 936
  rows.push_back({u"\u0E01", "?", "\xE0\xB8\x81"});
  return rows;
}

TEST(GbkConversions, AgreeWithIconv) {
  std::vector<Row> rows = Rows();
  ASSERT_GT(rows.size(), 7445u);  // GB2312: 682 symbols, 3755 + 3008 characters
  int carried_round_trips = 0;
  for (const Row& r : rows) {
    SCOPED_TRACE(automation::ToUtf8(r.c));
    // Bytes to text, and the width that the bytes give.
    Text expected_text = r.gbk == "?" ? u"?" : r.c;
    ASSERT_EQ(RsBinaryToString(Variant(Bytes(r.gbk.begin(), r.gbk.end()))), expected_text);
    ASSERT_EQ(GetStringLength(r.c), static_cast<int16_t>(r.gbk.size()));
    // Text to GBK-carried UTF-8, and back where the bytes survive.
    Text carried = CodeUnicodeToUtf8(r.c, true, false);
    ASSERT_EQ(carried, DecodeByIconv(r.utf8));
    auto regained = Iconv("CP936", "UTF-16LE", std::string(reinterpret_cast<const char*>(carried.data()),
                                                           carried.size() * 2));
    if (regained == r.utf8) {
      ++carried_round_trips;
      ASSERT_EQ(CodeUtf8ToUnicode(carried, true), r.c);
      ASSERT_EQ(CodeUtf8ToUnicode(carried, false), r.c);
    }
  }
  std::printf("%zu characters; UTF-8 carried through GBK and back: %d\n", rows.size(),
              carried_round_trips);
  EXPECT_GT(carried_round_trips, 0);
}

}  // namespace
}  // namespace arenix::text
