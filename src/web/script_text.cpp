#include "web/script_text.h"

#include "automation/ascii_run.h"

namespace web {

namespace ascii = automation::ascii;

size_t ToScriptString(automation::TextView text, char* out) {
  // Each unit on its own (a surrogate too, as the engine keeps them).
  char* d = out;
  const char16_t* p = text.data();
  const char16_t* const e = p + text.size();
  while (p < e) {
    const size_t run = ascii::NarrowRun(p, e, d);
    p += run;
    d += run;
    if (p == e) break;
    const char16_t u = *p++;
    if (u < 0x800) {
      *d++ = static_cast<char>(0xC0 | (u >> 6));
      *d++ = static_cast<char>(0x80 | (u & 0x3F));
    } else {
      *d++ = static_cast<char>(0xE0 | (u >> 12));
      *d++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      *d++ = static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return static_cast<size_t>(d - out);
}

std::string ToScriptString(automation::TextView text) {
  std::string out(text.size() * kScriptBytesPerUnit, '\0');
  out.resize(ToScriptString(text, out.data()));
  return out;
}

size_t FromScriptString(std::string_view s, char16_t* out) {
  // Never more units than bytes.
  char16_t* d = out;
  size_t i = 0;
  auto cont = [&](size_t k) { return k < s.size() && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80; };
  while (i < s.size()) {
    const size_t run = ascii::WidenRun(s.data() + i, s.data() + s.size(), d);
    i += run;
    d += run;
    if (i == s.size()) break;
    unsigned char c = static_cast<unsigned char>(s[i]);
    if ((c >> 5) == 6 && cont(i + 1)) {
      *d++ = static_cast<char16_t>(((c & 0x1F) << 6) | (s[i + 1] & 0x3F));
      i += 2;
    } else if ((c >> 4) == 14 && cont(i + 1) && cont(i + 2)) {
      *d++ = static_cast<char16_t>(((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F));
      i += 3;
    } else if ((c >> 3) == 30 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
      char32_t cp = ((c & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) | ((s[i + 2] & 0x3F) << 6) | (s[i + 3] & 0x3F);
      cp -= 0x10000;
      *d++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *d++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
      i += 4;
    } else {
      *d++ = u'\uFFFD';
      i += 1;
    }
  }
  return static_cast<size_t>(d - out);
}

automation::Text FromScriptString(std::string_view s) {
  automation::Text out(s.size(), u'\0');
  out.resize(FromScriptString(s, out.data()));
  return out;
}

}  // namespace web
