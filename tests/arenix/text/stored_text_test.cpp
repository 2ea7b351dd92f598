// Escaping of stored text and its preparation for display.
#include <gtest/gtest.h>

#include "arenix/text/stored_text.h"

namespace arenix::text {
namespace {

TEST(StoredText, EncodeAndBack) {
  struct Case {
    Text s, encoded, decoded;
  } cases[] = {
      {u"a<b & 'c'", u"a&lt;b &amp; &#39;c&#39;", u"a<b & 'c'"},
      {u"&lt;", u"&amp;lt;", u"&lt;"},  // "&" first on the way in, last on the way out
      {u" \"x\" ", u" &quot;x&quot; ", u"\"x\""},  // spaces kept, then trimmed
      {u"   ", u"", u""},
      {u"", u"", u""},
      {u"中>文", u"中&gt;文", u"中>文"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.s));
    EXPECT_EQ(EncodeString(k.s), k.encoded);
    EXPECT_EQ(UnEncodeString(k.encoded), k.decoded);
  }
  EXPECT_EQ(UnEncodeString(u"&amp;lt;"), u"&lt;");
  EXPECT_EQ(UnEncodeString(u"   "), u"");
}

TEST(StoredText, PrepareForDisplay) {
  struct Case {
    Text s, expected;
  } cases[] = {
      {u"it's", u"it\"s"},
      {u"a   b", u"a\u3000 b"},
      {u"a\nb", u"a\nb"},
      {u"p1\r\n\r\np2\r\nl", u"p1</p><p>p2<br>l"},
      {u"  <b>  ", u"&lt;b&gt;"},
      {u"   ", u""},
  };
  for (const auto& k : cases) EXPECT_EQ(EncodeString2(k.s), k.expected) << automation::ToUtf8(k.s);
}

}  // namespace
}  // namespace arenix::text
