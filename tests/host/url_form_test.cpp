// Reading what a browser sends: address values in either encoding, forms
// read by name in one pass, and the pairs' hold on the text they came from.
#include <gtest/gtest.h>

#include "automation/cp936.h"
#include "host/memory_host.h"
#include "host/url_form.h"

namespace {

using automation::FromUtf8;
using automation::Text;
using automation::ToGbk;
using host::CodePage;
using host::DecodeAddressValue;
using host::UrlPairs;

std::string Utf8(const char* s) { return s; }
std::string Gbk(const char* utf8) { return ToGbk(FromUtf8(utf8)); }

TEST(AddressValues, UrlEncodedUtf8AndGbkReadTheSame) {
  const CodePage gbk;
  // Each value sent both ways must read as the same text on a GBK page.
  // "男子" in UTF-8 is also a valid GBK byte string (of rare characters):
  // the reading with common characters wins.
  for (const char* value : {"100米", "男", "高中组", "男子", "跳远", "第一中学", "4×400米接力", "张三丰"}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(DecodeAddressValue(Utf8(value), gbk), FromUtf8(value));
    EXPECT_EQ(DecodeAddressValue(Gbk(value), gbk), FromUtf8(value));
  }
}

TEST(AddressValues, AnythingElseIsReadInThePagesCodePage) {
  const CodePage gbk;
  CodePage utf8;
  utf8.number = 65001;
  EXPECT_EQ(DecodeAddressValue("abc 123", gbk), u"abc 123");
  // A byte string that is not UTF-8 (a lone continuation byte) is GBK.
  EXPECT_EQ(DecodeAddressValue("\xD6\xD0", gbk), u"中");
  // Overlong and surrogate forms are not UTF-8 either.
  EXPECT_EQ(DecodeAddressValue("\xC0\xAF", gbk), automation::FromGbk("\xC0\xAF"));
  EXPECT_EQ(DecodeAddressValue("\xED\xA0\x80", gbk), automation::FromGbk("\xED\xA0\x80"));
  // A UTF-8 page reads UTF-8 whatever the bytes look like.
  EXPECT_EQ(DecodeAddressValue(Utf8("米"), utf8), u"米");
}

TEST(AddressValues, OnlyTheQueryIsReadAsAnAddress) {
  const CodePage gbk;
  const std::string sent = "item=" + host::PercentEncode(Utf8("100米"));
  EXPECT_EQ(UrlPairs::ParseQuery(sent).Get(u"item", gbk), u"100米");
  // A form is sent by the page in the page's code page: no guessing there.
  EXPECT_EQ(UrlPairs::Parse(sent).Get(u"item", gbk), automation::FromGbk(Utf8("100米")));

  host::MemoryRequest r;
  r.SetQueryString(automation::FromGbk(sent));  // the raw bytes, as sent
  EXPECT_EQ(r.Query(u"ITEM"), u"100米");
}

TEST(UrlFields, ReadsEveryFieldByNameInOnePass) {
  const CodePage gbk;
  const std::string body = "a=1&B=%D6%D0&a=2&flag&&c=x+y";
  UrlPairs pairs = UrlPairs::Parse(body);
  host::UrlFields fields = pairs.Index(gbk);
  for (const char16_t* name : {u"a", u"b", u"flag", u"c", u"missing"}) {
    SCOPED_TRACE(automation::ToUtf8(name));
    EXPECT_EQ(fields.Get(name), pairs.Get(name, gbk));
    EXPECT_EQ(fields.Has(name), pairs.Find(name, gbk).has_value());
  }
  EXPECT_EQ(fields.Get(u"A"), u"1, 2");
  EXPECT_EQ(host::CountUrlPairs(body), pairs.size());
  EXPECT_EQ(host::CountUrlPairs("&&&"), 0u);
}

TEST(UrlPairs, CopiesAndAppendedPairsOutliveTheirSource) {
  const CodePage gbk;
  UrlPairs kept;
  {
    std::string text = "name=%D6%D0&n=1";
    UrlPairs parsed = UrlPairs::Parse(text);
    text.assign(text.size(), 'x');  // the parsed copy does not depend on it
    UrlPairs added;
    added.Add(u"more", u"运动", gbk);
    kept = parsed;
    kept.Append(added);
  }
  EXPECT_EQ(kept.Get(u"name", gbk), u"中");
  EXPECT_EQ(kept.Get(u"more", gbk), u"运动");
  EXPECT_EQ(kept.size(), 3u);
}

}  // namespace
