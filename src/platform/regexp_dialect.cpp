#include "platform/regexp_dialect.h"

namespace platform {
namespace {

// Classes written out so that Unicode casing (which the compiled pattern
// uses for IgnoreCase) cannot widen them: "(?-i:" keeps the Kelvin sign out
// of \w, for instance.
constexpr char16_t kDigit[] = u"[0-9]";
constexpr char16_t kNotDigit[] = u"[^0-9]";
constexpr char16_t kWord[] = u"(?-i:[A-Za-z0-9_])";
constexpr char16_t kNotWord[] = u"(?-i:[^A-Za-z0-9_])";
constexpr char16_t kSpace[] = u"[\\t\\n\\x{0b}\\f\\r ]";
constexpr char16_t kNotSpace[] = u"[^\\t\\n\\x{0b}\\f\\r ]";
constexpr char16_t kBoundary[] =
    u"(?:(?<=(?-i:[A-Za-z0-9_]))(?!(?-i:[A-Za-z0-9_]))|(?<!(?-i:[A-Za-z0-9_]))(?=(?-i:[A-Za-z0-9_])))";
constexpr char16_t kNotBoundary[] =
    u"(?:(?<=(?-i:[A-Za-z0-9_]))(?=(?-i:[A-Za-z0-9_]))|(?<!(?-i:[A-Za-z0-9_]))(?!(?-i:[A-Za-z0-9_])))";
constexpr char16_t kAnyButLineEnd[] = u"[^\\n\\r\\x{2028}\\x{2029}]";
constexpr char16_t kAnyUnit[] = u"[\\x{0}-\\x{ffff}]";
constexpr char16_t kNothing[] = u"(?!)";

// The same sets as the members of a class.
constexpr char16_t kClassDigit[] = u"0-9";
constexpr char16_t kClassNotDigit[] = u"\\x{0}-\\x{2f}\\x{3a}-\\x{ffff}";
constexpr char16_t kClassWord[] = u"A-Za-z0-9_";
constexpr char16_t kClassNotWord[] =
    u"\\x{0}-\\x{2f}\\x{3a}-\\x{40}\\x{5b}-\\x{5e}\\x{60}\\x{7b}-\\x{ffff}";
constexpr char16_t kClassSpace[] = u"\\t\\n\\x{0b}\\f\\r ";
constexpr char16_t kClassNotSpace[] = u"\\x{0}-\\x{8}\\x{e}-\\x{1f}\\x{21}-\\x{ffff}";

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsOctal(char16_t c) { return c >= u'0' && c <= u'7'; }

void AppendUnit(Text& out, uint32_t unit) {
  static constexpr char16_t kHex[] = u"0123456789abcdef";
  out += u"\\x{";
  bool started = false;
  for (int shift = 12; shift >= 0; shift -= 4) {
    int d = (unit >> shift) & 0xF;
    if (d || started || shift == 0) {
      out.push_back(kHex[d]);
      started = true;
    }
  }
  out.push_back(u'}');
}

// A literal character as a pattern item: letters, digits and the units
// above ASCII stand for themselves; other ASCII characters are escaped.
void AppendLiteral(Text& out, char16_t c) {
  if (c < 0x80 && !IsAsciiLetter(c) && !IsDigit(c)) {
    AppendUnit(out, c);
  } else {
    out.push_back(c);
  }
}

// Reads \uXXXX, \xHH (`digits` hex digits) after the letter at `i`;
// returns the value and moves `i` past them, or -1 leaving `i` alone.
int ReadHex(TextView p, size_t& i, int digits) {
  if (p.size() - i <= static_cast<size_t>(digits)) return -1;
  int value = 0;
  for (int k = 1; k <= digits; ++k) {
    int h = HexValue(p[i + k]);
    if (h < 0) return -1;
    value = value * 16 + h;
  }
  i += digits;
  return value;
}

// A legacy octal escape starting at `i` (a digit 0-7): up to three digits
// while the value stays within 0377. Moves `i` to the last digit read.
int ReadOctal(TextView p, size_t& i) {
  int value = p[i] - u'0';
  size_t max_digits = p[i] <= u'3' ? 3 : 2;
  size_t n = 1;
  while (n < max_digits && i + 1 < p.size() && IsOctal(p[i + 1])) {
    value = value * 8 + (p[i + 1] - u'0');
    ++i;
    ++n;
  }
  return value;
}

// The escapes that mean the same inside and outside a class. `i` is at the
// letter after the backslash and ends on the last unit consumed. False when
// the escape is not one of them.
bool AppendCommonEscape(TextView p, size_t& i, Text& out) {
  char16_t c = p[i];
  switch (c) {
    case u'n': out += u"\\n"; return true;
    case u'r': out += u"\\r"; return true;
    case u't': out += u"\\t"; return true;
    case u'f': out += u"\\f"; return true;
    case u'v': AppendUnit(out, 0x0B); return true;
    case u'u': {
      int v = ReadHex(p, i, 4);
      if (v < 0) out.push_back(u'u');
      else AppendUnit(out, static_cast<uint32_t>(v));
      return true;
    }
    case u'x': {
      int v = ReadHex(p, i, 2);
      if (v < 0) out.push_back(u'x');
      else AppendUnit(out, static_cast<uint32_t>(v));
      return true;
    }
    case u'c':
      if (i + 1 < p.size() && IsAsciiLetter(p[i + 1])) {
        ++i;
        AppendUnit(out, p[i] % 32);
      } else {
        // "\c" without a letter is a backslash followed by "c".
        AppendUnit(out, u'\\');
        out.push_back(u'c');
      }
      return true;
    default:
      return false;
  }
}

void AppendClassEscape(TextView p, size_t& i, Text& out) {
  char16_t c = p[i];
  if (AppendCommonEscape(p, i, out)) return;
  switch (c) {
    case u'd': out += kClassDigit; return;
    case u'D': out += kClassNotDigit; return;
    case u'w': out += kClassWord; return;
    case u'W': out += kClassNotWord; return;
    case u's': out += kClassSpace; return;
    case u'S': out += kClassNotSpace; return;
    case u'b': AppendUnit(out, 0x08); return;  // backspace inside a class
    default: break;
  }
  if (IsOctal(c)) {
    AppendUnit(out, static_cast<uint32_t>(ReadOctal(p, i)));
    return;
  }
  AppendLiteral(out, c);
}

// A class from its "[" at `i`; `i` ends on the closing "]" (or the end of
// the pattern when there is none, which PCRE2 then reports).
void AppendClass(TextView p, size_t& i, Text& out) {
  size_t j = i + 1;
  bool negated = j < p.size() && p[j] == u'^';
  if (negated) ++j;
  if (j < p.size() && p[j] == u']') {
    out += negated ? kAnyUnit : kNothing;
    i = j;
    return;
  }
  out += negated ? u"[^" : u"[";
  for (; j < p.size(); ++j) {
    char16_t c = p[j];
    if (c == u']') {
      out.push_back(u']');
      i = j;
      return;
    }
    if (c == u'\\') {
      if (j + 1 >= p.size()) {
        out += u"\\";  // PCRE2 reports the unfinished class
        break;
      }
      ++j;
      AppendClassEscape(p, j, out);
    } else if (c == u'[' || c == u'^') {
      AppendUnit(out, c);  // no POSIX classes in the dialect
    } else {
      out.push_back(c);
    }
  }
  i = p.size() - 1;
}

// \N outside a class: a back reference when the pattern has that many
// groups, else a legacy octal escape, else the digit itself.
void AppendDecimalEscape(TextView p, size_t& i, Text& out, int groups) {
  if (p[i] != u'0') {
    size_t j = i;
    long value = 0;
    while (j < p.size() && IsDigit(p[j]) && value <= groups) {
      value = value * 10 + (p[j] - u'0');
      ++j;
    }
    if (value <= groups && (j >= p.size() || !IsDigit(p[j]))) {
      out += u"\\g{" + automation::FromAscii(std::to_string(value)) + u"}";
      i = j - 1;
      return;
    }
  }
  if (IsOctal(p[i])) {
    AppendUnit(out, static_cast<uint32_t>(ReadOctal(p, i)));
    return;
  }
  out.push_back(p[i]);  // 8 or 9
}

void AppendEscape(TextView p, size_t& i, Text& out, int groups) {
  char16_t c = p[i];
  if (AppendCommonEscape(p, i, out)) return;
  switch (c) {
    case u'd': out += kDigit; return;
    case u'D': out += kNotDigit; return;
    case u'w': out += kWord; return;
    case u'W': out += kNotWord; return;
    case u's': out += kSpace; return;
    case u'S': out += kNotSpace; return;
    case u'b': out += kBoundary; return;
    case u'B': out += kNotBoundary; return;
    default: break;
  }
  if (IsDigit(c)) {
    AppendDecimalEscape(p, i, out, groups);
    return;
  }
  AppendLiteral(out, c);
}

}  // namespace

int CountCapturingGroups(TextView p) {
  int groups = 0;
  bool in_class = false;
  for (size_t i = 0; i < p.size(); ++i) {
    char16_t c = p[i];
    if (c == u'\\') {
      ++i;
    } else if (in_class) {
      if (c == u']') in_class = false;
    } else if (c == u'[') {
      in_class = true;
      // "[]" and "[^]" close at once; a "]" right after "[" or "[^" ends them.
      size_t j = i + 1;
      if (j < p.size() && p[j] == u'^') ++j;
      if (j < p.size() && p[j] == u']') {
        in_class = false;
        i = j;
      }
    } else if (c == u'(' && (i + 1 >= p.size() || p[i + 1] != u'?')) {
      ++groups;
    }
  }
  return groups;
}

Text TranslatePattern(TextView p) {
  const int groups = CountCapturingGroups(p);
  Text out;
  out.reserve(p.size() * 2);
  for (size_t i = 0; i < p.size(); ++i) {
    char16_t c = p[i];
    switch (c) {
      case u'\\':
        if (i + 1 >= p.size()) {
          out.push_back(u'\\');  // PCRE2 reports the trailing backslash
        } else {
          ++i;
          AppendEscape(p, i, out, groups);
        }
        break;
      case u'[':
        AppendClass(p, i, out);
        break;
      case u'.':
        out += kAnyButLineEnd;
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

}  // namespace platform
