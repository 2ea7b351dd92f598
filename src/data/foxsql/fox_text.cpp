#include "data/foxsql/fox_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "automation/ascii_run.h"
#include "automation/cp936.h"

namespace data::foxsql {

Utf8Char DecodeUtf8(std::string_view s, size_t at) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char b = byte(at);
  if (b < 0x80) return {b, 1};
  int len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
  if (len == 0 || at + len > s.size()) return {0xFFFD, 1};
  char32_t code = b & (0x7F >> len);
  for (int i = 1; i < len; ++i) {
    unsigned char c = byte(at + i);
    if ((c & 0xC0) != 0x80) return {0xFFFD, 1};
    code = code << 6 | (c & 0x3F);
  }
  return {code, len};
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | c >> 6));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | c >> 12));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | c >> 18));
    out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string GbkToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (size_t i = 0; i < bytes.size(); ++i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      // A run of ASCII (most of a padded field) is the same in UTF-8.
      size_t end = i + 1;
      while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80) ++end;
      out.append(bytes.data() + i, end - i);
      i = end - 1;
      continue;
    }
    if (b >= 0x81 && b <= 0xFE && i + 1 < bytes.size()) {
      char16_t c = automation::GbkCharOf(static_cast<uint16_t>(b << 8 | static_cast<unsigned char>(bytes[i + 1])));
      if (c) {
        AppendUtf8(out, c);
        ++i;
        continue;
      }
    }
    char16_t c = automation::GbkCharOf(b);
    AppendUtf8(out, c ? c : u'?');
  }
  return out;
}

int GbkWidth(char32_t code) {
  if (code < 0x80 || code > 0xFFFF) return 1;
  return automation::IsGbkDoubleByte(static_cast<char16_t>(code)) ? 2 : 1;
}

int64_t GbkLength(std::string_view s) {
  int64_t n = 0;
  for (size_t i = 0; i < s.size();) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      const size_t run = automation::ascii::RunOfBytes(s.data() + i, s.data() + s.size());
      n += static_cast<int64_t>(run);
      i += run;
      continue;
    }
    Utf8Char c = DecodeUtf8(s, i);
    n += GbkWidth(c.code);
    i += c.length;
  }
  return n;
}

std::string GbkSubstr(std::string_view s, int64_t start, int64_t count) {
  std::string out;
  if (count <= 0) return out;
  if (start < 0) {
    count += start;
    start = 0;
  }
  const int64_t end = start + count;
  int64_t pos = 0;
  for (size_t i = 0; i < s.size() && pos < end;) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      // A run of ASCII: one column per byte, read no further than the end
      // of the slice.
      const size_t limit = std::min(s.size(), i + static_cast<size_t>(end - pos));
      const size_t run = i + automation::ascii::RunOfBytes(s.data() + i, s.data() + limit);
      const int64_t run_end = pos + static_cast<int64_t>(run - i);
      const int64_t from = std::max(pos, start), to = std::min(run_end, end);
      if (to > from) out.append(s.substr(i + static_cast<size_t>(from - pos), static_cast<size_t>(to - from)));
      i = run;
      pos = run_end;
      continue;
    }
    Utf8Char c = DecodeUtf8(s, i);
    int w = GbkWidth(c.code);
    int64_t from = std::max(pos, start), to = std::min(pos + w, end);
    if (to - from == w)
      out.append(s.substr(i, c.length));
    else if (to > from)
      out.append(static_cast<size_t>(to - from), '?');
    pos += w;
    i += c.length;
  }
  return out;
}

std::string_view TrimRight(std::string_view s) {
  size_t n = s.size();
  // Stored fields are padded to their width (a stage field holds some 200
  // blanks): eight at a time first.
  constexpr uint64_t kEightBlanks = 0x2020202020202020ull;
  while (n >= 8) {
    uint64_t word;
    std::memcpy(&word, s.data() + n - 8, 8);
    if (word != kEightBlanks) break;
    n -= 8;
  }
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

std::string_view TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return s.substr(i);
}

size_t FindAtCharacter(std::string_view hay, std::string_view needle, size_t from) {
  if (needle.empty()) return std::string_view::npos;
  for (size_t i = from; i + needle.size() <= hay.size();) {
    if (hay.compare(i, needle.size(), needle) == 0) return i;
    i += DecodeUtf8(hay, i).length;
  }
  return std::string_view::npos;
}

int64_t GbkAt(std::string_view hay, std::string_view needle, int64_t occurrence) {
  if (occurrence < 1) return 0;
  size_t at = 0;
  for (int64_t k = 1;; ++k) {
    at = FindAtCharacter(hay, needle, at);
    if (at == std::string_view::npos) return 0;
    if (k == occurrence) return GbkLength(hay.substr(0, at)) + 1;
    at += DecodeUtf8(hay, at).length;
  }
}

int64_t GbkOccurs(std::string_view hay, std::string_view needle) {
  int64_t n = 0;
  for (size_t at = 0;; ++n) {
    at = FindAtCharacter(hay, needle, at);
    if (at == std::string_view::npos) return n;
    at += DecodeUtf8(hay, at).length;
  }
}

std::string GbkReplace(std::string_view s, std::string_view find, std::string_view with,
                       int64_t first, int64_t count) {
  std::string out;
  if (find.empty() || count == 0) return std::string(s);
  size_t done = 0;
  int64_t seen = 0, replaced = 0;
  for (size_t at = 0;;) {
    at = FindAtCharacter(s, find, at);
    if (at == std::string_view::npos) break;
    ++seen;
    if (seen >= first) {
      out.append(s.substr(done, at - done));
      out.append(with);
      done = at + find.size();
      if (count > 0 && ++replaced == count) break;
    }
    at += find.size();
  }
  out.append(s.substr(done));
  return out;
}

std::string GbkPad(std::string_view s, int64_t width, std::string_view pad, PadSide side) {
  if (width <= 0) return {};
  int64_t len = GbkLength(s);
  if (len >= width) {
    // A longer text loses characters on the padding side: PADL keeps its
    // right end (so PADL(Str(n),4) is the number right-aligned in 4), PADR
    // its left end, PADC its middle.
    int64_t excess = len - width;
    int64_t from = side == PadSide::kLeft ? excess : side == PadSide::kBoth ? excess / 2 : 0;
    return GbkSubstr(s, from, width);
  }
  std::string_view unit = " ";
  int unit_width = 1;
  if (!pad.empty()) {
    Utf8Char c = DecodeUtf8(pad, 0);
    unit = pad.substr(0, c.length);
    unit_width = GbkWidth(c.code);
  }
  auto fill = [&](int64_t bytes) {
    if (unit == " ") return std::string(static_cast<size_t>(bytes), ' ');
    std::string f;
    for (int64_t n = 0; n + unit_width <= bytes; n += unit_width) f.append(unit);
    f.append(static_cast<size_t>(bytes % unit_width), ' ');
    return f;
  };
  int64_t missing = width - len;
  switch (side) {
    case PadSide::kLeft: return fill(missing) + std::string(s);
    case PadSide::kRight: return std::string(s) + fill(missing);
    case PadSide::kBoth: return fill(missing / 2) + std::string(s) + fill(missing - missing / 2);
  }
  return std::string(s);
}

}  // namespace data::foxsql
