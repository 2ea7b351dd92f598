#include <algorithm>

#include "automation/cp936.h"
#include "automation/runtime.h"

namespace automation {
namespace {

char16_t Fold(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c + 32;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;  // full-width letters
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;  // Greek
  if (c >= 0x410 && c <= 0x42F) return c + 32;                // Cyrillic
  if (c == 0x401) return 0x451;
  return c;
}

char16_t Unfold(char16_t c) {
  if (c >= u'a' && c <= u'z') return c - 32;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 32;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 32;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c == 0x451) return 0x401;
  return c;
}

bool Same(char16_t a, char16_t b, Compare cmp) {
  return a == b || (cmp == Compare::Text && Fold(a) == Fold(b));
}

// First match of `find` in `s` at or after index `from` (0-based), or npos.
size_t FindFrom(TextView s, TextView find, size_t from, Compare cmp) {
  if (cmp == Compare::Binary) return s.find(find, from);
  if (find.size() > s.size()) return TextView::npos;
  for (size_t i = from; i + find.size() <= s.size(); ++i) {
    size_t k = 0;
    while (k < find.size() && Same(s[i + k], find[k], cmp)) ++k;
    if (k == find.size()) return i;
  }
  return TextView::npos;
}

}  // namespace

Text Mid(TextView s, int32_t start, std::optional<int32_t> length) {
  if (start < 1 || (length && *length < 0)) ThrowInvalidCall();
  size_t b = static_cast<size_t>(start - 1);
  if (b >= s.size()) return Text();
  size_t n = length ? static_cast<size_t>(*length) : s.size();
  return Text(s.substr(b, n));
}

Text Left(TextView s, int32_t n) {
  if (n < 0) ThrowInvalidCall();
  return Text(s.substr(0, static_cast<size_t>(n)));
}

Text Right(TextView s, int32_t n) {
  if (n < 0) ThrowInvalidCall();
  size_t k = std::min(static_cast<size_t>(n), s.size());
  return Text(s.substr(s.size() - k));
}

int32_t InStr(TextView s, TextView find, int32_t start, Compare cmp) {
  if (start < 1) ThrowInvalidCall();
  size_t from = static_cast<size_t>(start - 1);
  if (from > s.size() || s.empty()) return 0;
  if (find.empty()) return start;
  size_t pos = FindFrom(s, find, from, cmp);
  return pos == TextView::npos ? 0 : static_cast<int32_t>(pos + 1);
}

int32_t InStrRev(TextView s, TextView find, int32_t start, Compare cmp) {
  if (start == 0 || start < -1) ThrowInvalidCall();
  size_t end = start == -1 ? s.size() : static_cast<size_t>(start);  // search s[0, end)
  if (end > s.size()) return 0;
  if (find.empty()) return static_cast<int32_t>(end);
  if (find.size() > end) return 0;
  for (size_t i = end - find.size() + 1; i-- > 0;) {
    size_t k = 0;
    while (k < find.size() && Same(s[i + k], find[k], cmp)) ++k;
    if (k == find.size()) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

Text Replace(TextView s, TextView find, TextView with, int32_t start, int32_t count, Compare cmp) {
  if (start < 1 || count < -1) ThrowInvalidCall();
  size_t from = static_cast<size_t>(start - 1);
  if (from >= s.size()) return Text();
  TextView rest = s.substr(from);
  if (find.empty() || count == 0) return Text(rest);
  Text out;
  out.reserve(rest.size());
  size_t i = 0;
  int32_t done = 0;
  while (count == -1 || done < count) {
    size_t pos = FindFrom(rest, find, i, cmp);
    if (pos == TextView::npos) break;
    out.append(rest.substr(i, pos - i));
    out.append(with);
    i = pos + find.size();
    ++done;
  }
  out.append(rest.substr(i));
  return out;
}

std::vector<Text> Split(TextView s, TextView delimiter, int32_t limit, Compare cmp) {
  if (limit < -1) ThrowInvalidCall();
  std::vector<Text> out;
  if (s.empty() || limit == 0) return out;
  if (delimiter.empty()) return {Text(s)};
  size_t i = 0;
  while (limit == -1 || static_cast<int32_t>(out.size()) < limit - 1) {
    size_t pos = FindFrom(s, delimiter, i, cmp);
    if (pos == TextView::npos) break;
    out.emplace_back(s.substr(i, pos - i));
    i = pos + delimiter.size();
  }
  out.emplace_back(s.substr(i));
  return out;
}

Text Join(const std::vector<Text>& items, TextView delimiter) {
  Text out;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) out.append(delimiter);
    out.append(items[i]);
  }
  return out;
}

Text LTrim(TextView s) {
  size_t b = 0;
  while (b < s.size() && s[b] == u' ') ++b;
  return Text(s.substr(b));
}

Text RTrim(TextView s) {
  size_t e = s.size();
  while (e > 0 && s[e - 1] == u' ') --e;
  return Text(s.substr(0, e));
}

TextView TrimmedView(TextView s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  return s.substr(b, e - b);
}

Text Trim(TextView s) { return Text(TrimmedView(s)); }

Text UCase(TextView s) {
  Text out(s);
  for (auto& c : out) c = Unfold(c);
  return out;
}

Text LCase(TextView s) {
  Text out(s);
  for (auto& c : out) c = Fold(c);
  return out;
}

Text Space(int32_t n) {
  if (n < 0) ThrowInvalidCall();
  return Text(static_cast<size_t>(n), u' ');
}

Text String(int32_t n, char16_t c) {
  if (n < 0) ThrowInvalidCall();
  return Text(static_cast<size_t>(n), c);
}

Text StrReverse(TextView s) { return Text(s.rbegin(), s.rend()); }

int StrComp(TextView a, TextView b, Compare cmp) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char16_t x = a[i], y = b[i];
    if (cmp == Compare::Text) {
      x = Fold(x);
      y = Fold(y);
    }
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int32_t Asc(TextView s) {
  if (s.empty()) ThrowInvalidCall();
  return GbkCodeValue(s[0]);
}

int32_t AscW(TextView s) {
  if (s.empty()) ThrowInvalidCall();
  return static_cast<int16_t>(s[0]);
}

Text Chr(int32_t code) {
  if (code < -32768 || code > 65535) ThrowInvalidCall();
  uint16_t u = static_cast<uint16_t>(code & 0xFFFF);
  if (u <= 0xFF) {
    if (u < 0x80) return Text(1, static_cast<char16_t>(u));
    char16_t c = GbkCharOf(u);
    return Text(1, c ? c : u'?');
  }
  char16_t c = GbkCharOf(u);
  if (!c) return Text(1, u'?');
  return Text(1, c);
}

Text ChrW(int32_t code) {
  if (code < -32768 || code > 65535) ThrowInvalidCall();
  return Text(1, static_cast<char16_t>(code & 0xFFFF));
}

}  // namespace automation
