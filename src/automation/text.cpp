#include "automation/text.h"

#include "automation/ascii_run.h"

namespace automation {

namespace {

// Decodes UTF-8 into `d`, which has room for as many units as there are
// bytes; returns the units written.
size_t DecodeUtf8(std::string_view in, char16_t* const out) {
  char16_t* d = out;
  const char* p = in.data();
  const char* const e = p + in.size();
  while (p < e) {
    const size_t run = ascii::WidenRun(p, e, d);
    p += run;
    d += run;
    if (p == e) break;
    unsigned char c = static_cast<unsigned char>(*p);
    // Three bytes, most Chinese text: checked and decoded at once. What
    // this does not take goes the general way below.
    if ((c & 0xF0) == 0xE0 && e - p >= 3 && (static_cast<unsigned char>(p[1]) & 0xC0) == 0x80 &&
        (static_cast<unsigned char>(p[2]) & 0xC0) == 0x80) {
      const char32_t cp = (c & 0x0Fu) << 12 | (static_cast<unsigned char>(p[1]) & 0x3Fu) << 6 |
                          (static_cast<unsigned char>(p[2]) & 0x3Fu);
      if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) {
        *d++ = static_cast<char16_t>(cp);
        p += 3;
        continue;
      }
    }
    int extra;
    char32_t cp;
    if ((c & 0xE0) == 0xC0) {
      extra = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      cp = c & 0x07;
    } else {
      *d++ = 0xFFFD;
      ++p;
      continue;
    }
    bool ok = true;
    const char* q = p + 1;
    for (int k = 0; k < extra; ++k, ++q) {
      if (q >= e || (static_cast<unsigned char>(*q) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(*q) & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      *d++ = 0xFFFD;
      p = ok ? q : p + 1;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      *d++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *d++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      *d++ = static_cast<char16_t>(cp);
    }
    p = q;
  }
  return static_cast<size_t>(d - out);
}

}  // namespace

Text FromUtf8(std::string_view in) {
  // Never more units than bytes. A short text is decoded on the stack and
  // copied once at its length (Chinese takes three bytes a unit, so its
  // text is far shorter than its bytes); a long one in place.
  constexpr size_t kOnStack = 256;
  if (in.size() <= kOnStack) {
    char16_t buffer[kOnStack];
    return Text(buffer, DecodeUtf8(in, buffer));
  }
  Text out(in.size(), u'\0');
  out.resize(DecodeUtf8(in, out.data()));
  return out;
}

std::string ToUtf8(TextView in) {
  // At most three bytes a unit (a surrogate pair takes four for two).
  return ascii::NarrowEach(in, 3, [](const char16_t*& p, const char16_t* e, char*& d) {
    char32_t cp = *p++;
    if (cp >= 0xD800 && cp <= 0xDBFF && p < e && *p >= 0xDC00 && *p <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (*p - 0xDC00);
      ++p;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x800) {
      *d++ = static_cast<char>(0xC0 | (cp >> 6));
      *d++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      *d++ = static_cast<char>(0xE0 | (cp >> 12));
      *d++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *d++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *d++ = static_cast<char>(0xF0 | (cp >> 18));
      *d++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *d++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *d++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
  });
}

Text FromAscii(std::string_view ascii) { return Text(ascii.begin(), ascii.end()); }

static char16_t LowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }

bool EqualsNoCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

Text AsciiLower(TextView text) {
  Text out(text);
  for (auto& c : out) c = LowerAscii(c);
  return out;
}

}  // namespace automation
