#include "arenix/text/html_encode.h"

#include "arenix/text/regexp_replace.h"
#include "arenix/text/replace_in_turn.h"
#include "automation/runtime.h"

namespace arenix::text {

Text HtmlEncode(TextView s) {
  Text out;
  out.reserve(s.size() + s.size() / 4);
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    switch (c) {
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'\r': out += u"<br>"; break;
      case u'"': out += u"&quot;"; break;
      case u'&': out += u"&amp;"; break;
      case u' ': {
        bool at_end = i == 0 || i + 1 == s.size();
        bool in_run = (i > 0 && blank(s[i - 1])) || (i + 1 < s.size() && blank(s[i + 1]));
        out += at_end || in_run ? u"&nbsp;" : u" ";
        break;
      }
      case u'\t': out += u"    "; break;
      default: out.push_back(c);
    }
  }
  return out;
}

Text HtmlEncode2(TextView s) {
  return ReplaceInTurn(s, {{u">", u"&gt;"}, {u"<", u"&lt;"}, {u" ", u"&nbsp;"}, {u"\t", u"&nbsp;"},
                           {u"\"", u"&quot;"}, {u"'", u"&#39;"}, {u"\r", u""},
                           {u"\n\n", u"</P><P> "}, {u"\n", u"<BR> "}});
}

Text HtmlUnEncode2(TextView s) {
  return ReplaceInTurn(s, {{u"&gt;", u">"}, {u"&lt;", u"<"}, {u"&nbsp;", u" "}, {u"&quot;", u"\""},
                           {u"&#39;", u"'"}, {u"</P><P> ", u"\n\n"}, {u"<BR> ", u"\n"}});
}

Text NoHtml(TextView s) {
  // Opening tags first, then the closing tags that are left.
  Text t = ReplaceExp(s, u"(\\<.[^\\<]*\\>)", u" ");
  return ReplaceExp(t, u"(\\<\\/[^\\<]*\\>)", u" ");
}

}  // namespace arenix::text
