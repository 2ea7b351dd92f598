#include "arenix/text/stored_text.h"

#include "automation/runtime.h"

namespace arenix::text {

using automation::Replace;

Text EncodeString(TextView s) {
  if (automation::Trim(s).empty()) return Text();
  Text t = Replace(s, u"&", u"&amp;");
  t = Replace(t, u"<", u"&lt;");
  t = Replace(t, u">", u"&gt;");
  t = Replace(t, u"'", u"&#39;");
  return Replace(t, u"\"", u"&quot;");
}

Text UnEncodeString(TextView s) {
  Text t = automation::Trim(s);
  if (t.empty()) return t;
  t = Replace(t, u"&lt;", u"<");
  t = Replace(t, u"&gt;", u">");
  t = Replace(t, u"&#39;", u"'");
  t = Replace(t, u"&quot;", u"\"");
  return Replace(t, u"&amp;", u"&");
}

Text EncodeString2(TextView s) {
  Text t = automation::Trim(s);
  if (t.empty()) return t;
  t = Replace(t, u"<", u"&lt;");
  t = Replace(t, u">", u"&gt;");
  t = Replace(t, u"'", u"\"");
  t = Replace(t, u"\r\n\r\n", u"</p><p>");
  t = Replace(t, u"\r\n", u"<br>");
  return Replace(t, u"  ", u"\u3000");
}

}  // namespace arenix::text
