#include "arenix/text/stored_text.h"

#include "arenix/text/replace_in_turn.h"
#include "automation/runtime.h"

namespace arenix::text {

Text EncodeString(TextView s) {
  if (automation::Trim(s).empty()) return Text();
  return ReplaceInTurn(s, {{u"&", u"&amp;"}, {u"<", u"&lt;"}, {u">", u"&gt;"}, {u"'", u"&#39;"},
                           {u"\"", u"&quot;"}});
}

Text UnEncodeString(TextView s) {
  Text t = automation::Trim(s);
  if (t.empty()) return t;
  return ReplaceInTurn(t, {{u"&lt;", u"<"}, {u"&gt;", u">"}, {u"&#39;", u"'"}, {u"&quot;", u"\""},
                           {u"&amp;", u"&"}});
}

Text EncodeString2(TextView s) {
  Text t = automation::Trim(s);
  if (t.empty()) return t;
  return ReplaceInTurn(t, {{u"<", u"&lt;"}, {u">", u"&gt;"}, {u"'", u"\""}, {u"\r\n\r\n", u"</p><p>"},
                           {u"\r\n", u"<br>"}, {u"  ", u"\u3000"}});
}

}  // namespace arenix::text
