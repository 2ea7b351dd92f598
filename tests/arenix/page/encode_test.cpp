#include "arenix/page/encode.h"

#include <gtest/gtest.h>

#include "support/node.h"

namespace arenix::page {
namespace {

struct Case {
  const char16_t* in;
  const char16_t* out;
};

TEST(Encode, HtmlEscapeCoversTextAndBothQuotes) {
  const Case cases[] = {
      {u"", u""},
      {u"张三", u"张三"},
      {u"<script>alert(1)</script>", u"&lt;script&gt;alert(1)&lt;/script&gt;"},
      {u"O'Neil & \"Co\"", u"O&#39;Neil &amp; &quot;Co&quot;"},
      {u"&amp;", u"&amp;amp;"},
  };
  for (const Case& c : cases) EXPECT_EQ(HtmlEscape(c.in), c.out);
}

TEST(Encode, ScriptStringCannotEndItsLiteralOrItsElement) {
  const Case cases[] = {
      {u"plain 中文", u"plain 中文"},
      {u"it's \"x\"", u"it\\x27s \\x22x\\x22"},
      {u"</script><b>&", u"\\x3C/script\\x3E\\x3Cb\\x3E\\x26"},
      {u"a\\b\r\n\t", u"a\\\\b\\r\\n\\t"},
      {u"\u2028\u0001", u"\\u2028\\x01"},
  };
  for (const Case& c : cases) EXPECT_EQ(ScriptString(c.in), c.out);
  // Inside either quote the escaped text is one literal that gives the value back.
  Text hostile = u"'\";alert(1)//</script>\u2028\\";
  std::string js = "var a = '" + automation::ToUtf8(ScriptString(hostile)) + "', b = \"" +
                   automation::ToUtf8(ScriptString(hostile)) + "\";";
  EXPECT_EQ(testing::NodeCheck(js), "");
}

TEST(Encode, UrlQueryValueUsesTheGbkBytesOfThePage) {
  const Case cases[] = {
      {u"abc-_.~09", u"abc-_.~09"},
      {u"a b&中", u"a%20b%26%D6%D0"},
      {u"%'+=#?/", u"%25%27%2B%3D%23%3F%2F"},
  };
  for (const Case& c : cases) EXPECT_EQ(UrlQueryValue(c.in), c.out);
}

}  // namespace
}  // namespace arenix::page
