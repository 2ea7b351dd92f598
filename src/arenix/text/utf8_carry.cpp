#include "arenix/text/utf8_carry.h"

#include <string>

#include "automation/cp936.h"
#include "automation/runtime.h"

namespace arenix::text {
namespace {

Text OwnUtf8Decode(const std::string& bytes) {
  Text out;
  size_t n = bytes.size();
  auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  for (size_t i = 0; i < n;) {
    uint8_t b = at(i);
    if (b < 0x80) {
      out.push_back(b);
      i += 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
      if (i + 1 >= n) break;
      out.push_back(static_cast<char16_t>((b & 0x1F) << 6 | (at(i + 1) & 0x3F)));
      i += 2;
    } else if (b >= 0xE0) {
      if (i + 2 >= n) break;
      out.push_back(
          static_cast<char16_t>((b & 0x0F) << 12 | (at(i + 1) & 0x3F) << 6 | (at(i + 2) & 0x3F)));
      i += 3;
    } else {
      out += automation::Chr(b);
      i += 1;
    }
  }
  return out;
}

Text OwnUtf8Encode(TextView s) {
  Text out;
  out.reserve(s.size() * 3);
  auto byte = [&](unsigned b) { out += automation::Chr(static_cast<int32_t>(b & 0xFF)); };
  for (char16_t c : s) {
    if (c < 0x80) {
      out.push_back(c);
    } else if (c < 0x800) {
      byte((c >> 6 & 0x1F) | 0xC0);
      byte((c & 0x3F) | 0x80);
    } else {
      byte((c >> 12 & 0x0F) | 0xE0);
      byte((c >> 6 & 0x3F) | 0x80);
      byte((c & 0x3F) | 0x80);
    }
  }
  return out;
}

}  // namespace

Text CodeUtf8ToUnicode(TextView s, bool standard) {
  if (s.empty()) return Text();
  std::string bytes = automation::ToGbk(s);
  return standard ? automation::FromUtf8(bytes) : OwnUtf8Decode(bytes);
}

Text CodeUnicodeToUtf8(TextView s, bool standard, bool html) {
  if (s.empty()) return Text();
  Text out = standard ? automation::FromGbk(automation::ToUtf8(s)) : OwnUtf8Encode(s);
  if (html) out = automation::Replace(out, u"\r\n", u"<br/>");
  return out;
}

}  // namespace arenix::text
