#include "arenix/text/url_utf8.h"

#include "automation/error.h"

namespace arenix::text {
namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

void AppendEscape(Text& out, unsigned byte) {
  out.push_back(u'%');
  out.push_back(kHexDigits[byte >> 4 & 0xF]);
  out.push_back(kHexDigits[byte & 0xF]);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The byte of the two digits at s[at], s[at + 1]; raises 13 when they are
// missing or not hexadecimal.
unsigned HexByte(TextView s, size_t at) {
  if (at + 1 >= s.size()) throw automation::Error(automation::err::kTypeMismatch);
  int hi = HexDigit(s[at]), lo = HexDigit(s[at + 1]);
  if (hi < 0 || lo < 0) throw automation::Error(automation::err::kTypeMismatch);
  return static_cast<unsigned>(hi << 4 | lo);
}

}  // namespace

Text UrlEncodeUtf8(TextView s) {
  Text out;
  out.reserve(s.size() * 3);
  for (char16_t c : s) {
    if (c == u'+') {
      out += u"%2B";
    } else if (c == u'%') {
      out += u"%25";
    } else if (c < 0x80) {
      out.push_back(c);
    } else if (c < 0x800) {
      AppendEscape(out, (c >> 6) | 0xC0);
      AppendEscape(out, (c & 0x3F) | 0x80);
    } else {
      AppendEscape(out, (c >> 12) | 0xE0);
      AppendEscape(out, (c >> 6 & 0x3F) | 0x80);
      AppendEscape(out, (c & 0x3F) | 0x80);
    }
  }
  return out;
}

Text UrlDecodeUtf8(TextView s) {
  Text out;
  out.reserve(s.size());
  // Escapes of one sequence sit three characters apart: "%E4%B8%AD". The
  // digits of the k-th escape after the "%" at i are at i + 1 + 3k.
  for (size_t i = 0; i < s.size();) {
    char16_t c = s[i];
    if (c == u'+') {
      out.push_back(u' ');
      ++i;
      continue;
    }
    if (c != u'%') {
      out.push_back(c);
      ++i;
      continue;
    }
    unsigned n = HexByte(s, i + 1);
    if (n < 0x80) {
      out.push_back(static_cast<char16_t>(n));
      i += 3;
    } else if (n >= 0xC2 && n <= 0xDF) {
      unsigned m = HexByte(s, i + 4);
      out.push_back(static_cast<char16_t>((n & 0x1F) << 6 | (m & 0x3F)));
      i += 6;
    } else if (n >= 0xF0 && n <= 0xF7) {
      unsigned m = HexByte(s, i + 4), l = HexByte(s, i + 7), k = HexByte(s, i + 10);
      char32_t cp = (n & 0x07) << 18 | (m & 0x3F) << 12 | (l & 0x3F) << 6 | (k & 0x3F);
      if (cp >= 0x10000 && cp <= 0x10FFFF) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 | cp >> 10));
        out.push_back(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
      } else {
        out.push_back(u'\uFFFD');
      }
      i += 12;
    } else {
      unsigned m = HexByte(s, i + 4), l = HexByte(s, i + 7);
      out.push_back(static_cast<char16_t>((n & 0x0F) << 12 | (m & 0x3F) << 6 | (l & 0x3F)));
      i += 9;
    }
  }
  return out;
}

}  // namespace arenix::text
