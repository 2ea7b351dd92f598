#include "arenix/page/encode.h"

#include <string>

#include "automation/cp936.h"

namespace arenix::page {

void AppendHtmlEscaped(Text& out, TextView s) {
  // Runs without a special character go in whole.
  size_t run = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t* entity;
    switch (s[i]) {
      case u'&': entity = u"&amp;"; break;
      case u'<': entity = u"&lt;"; break;
      case u'>': entity = u"&gt;"; break;
      case u'"': entity = u"&quot;"; break;
      case u'\'': entity = u"&#39;"; break;
      default: continue;
    }
    out.append(s.data() + run, i - run);
    out += entity;
    run = i + 1;
  }
  out.append(s.data() + run, s.size() - run);
}

Text HtmlEscape(TextView s) {
  Text out;
  out.reserve(s.size() + s.size() / 8);
  AppendHtmlEscaped(out, s);
  return out;
}

namespace {
constexpr char16_t kHex[] = u"0123456789ABCDEF";

void AppendHexEscape(Text& out, const char16_t* prefix, unsigned value, int digits) {
  out += prefix;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}
}  // namespace

Text ScriptString(TextView s) {
  Text out;
  out.reserve(s.size() + s.size() / 8);
  for (char16_t c : s) {
    switch (c) {
      case u'\\': out += u"\\\\"; break;
      case u'\n': out += u"\\n"; break;
      case u'\r': out += u"\\r"; break;
      case u'\t': out += u"\\t"; break;
      case u'\'': case u'"': case u'<': case u'>': case u'&':
        AppendHexEscape(out, u"\\x", c, 2);
        break;
      case u'\u2028': case u'\u2029':  // line terminators inside JavaScript strings
        AppendHexEscape(out, u"\\u", c, 4);
        break;
      default:
        if (c < 0x20) AppendHexEscape(out, u"\\x", c, 2);
        else out += c;
    }
  }
  return out;
}

Text UrlQueryValue(TextView s) {
  const std::string bytes = automation::ToGbk(s);
  Text out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    bool plain = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                 b == '-' || b == '_' || b == '.' || b == '~';
    if (plain) out += static_cast<char16_t>(b);
    else AppendHexEscape(out, u"%", b, 2);
  }
  return out;
}

}  // namespace arenix::page
