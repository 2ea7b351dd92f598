// The in-memory host: what the component relies on from the web host.
#include <gtest/gtest.h>

#include <filesystem>

#include "automation/cp936.h"
#include "host/memory_host.h"

namespace {

using automation::Text;
using host::MemoryRequest;
using host::MemoryResponse;
using host::MemoryServer;

TEST(MemoryRequestTest, QueryKeysInRequestOrderAndDecodedAsGbk) {
  MemoryRequest r;
  // "运动" in code page 936 is D4 CB B6 AF.
  r.SetQueryString(u"b=2&A=%D4%CB%B6%AF&b=3&c=x+y&empty=&flag");
  EXPECT_EQ(r.QueryString(), u"b=2&A=%D4%CB%B6%AF&b=3&c=x+y&empty=&flag");
  std::vector<Text> keys = {u"b", u"A", u"c", u"empty", u"flag"};
  EXPECT_EQ(r.QueryKeys(), keys);
  EXPECT_EQ(r.Query(u"a"), u"运动");
  EXPECT_EQ(r.Query(u"b"), u"2, 3");
  EXPECT_EQ(r.Query(u"c"), u"x y");
  EXPECT_EQ(r.Query(u"missing"), u"");
}

TEST(MemoryRequestTest, MalformedEscapesStayAsTyped) {
  MemoryRequest r;
  r.SetQueryString(u"a=100%&b=%G1%4&c=%D4");
  EXPECT_EQ(r.Query(u"a"), u"100%");
  EXPECT_EQ(r.Query(u"b"), u"%G1%4");
  EXPECT_EQ(r.Query(u"c"), u"?");  // a lead byte alone
}

TEST(MemoryRequestTest, AUrlencodedBodyIsTheFormAndAddedFieldsJoinIt) {
  MemoryRequest r;
  std::string body = "name=%D5%C5%C8%FD&id=1";
  r.SetBody(automation::Bytes(body.begin(), body.end()));
  EXPECT_EQ(r.Form(u"name"), u"");  // no Content-Type: only bytes
  r.SetServerVariable(u"CONTENT_TYPE", u"application/x-www-form-urlencoded; charset=gbk");
  r.AddForm(u"id", u"2");
  EXPECT_EQ(r.Form(u"name"), u"张三");
  EXPECT_EQ(r.Form(u"id"), u"1, 2");
  EXPECT_EQ(r.TotalBytes(), static_cast<int32_t>(body.size()));
}

TEST(MemoryRequestTest, DefaultItemLooksInQueryFormCookiesServer) {
  MemoryRequest r;
  r.SetQueryString(u"id=q");
  r.AddForm(u"id", u"f");
  r.AddForm(u"name", u"张三");
  r.AddCookie(u"sid", u"c");
  r.SetServerVariable(u"HTTP_REFERER", u"http://host/page.asp");
  EXPECT_EQ(r.Item(u"ID"), u"q");
  EXPECT_EQ(r.Item(u"name"), u"张三");
  EXPECT_EQ(r.Item(u"sid"), u"c");
  EXPECT_EQ(r.Item(u"http_referer"), u"http://host/page.asp");
  EXPECT_EQ(r.ServerVariable(u"Http_Referer"), u"http://host/page.asp");
  EXPECT_EQ(r.Item(u"absent"), u"");
  EXPECT_EQ(r.Form(u"ID"), u"f");
}

TEST(MemoryRequestTest, BodyIsReadInPieces) {
  MemoryRequest r;
  r.SetBody({1, 2, 3, 4, 5});
  EXPECT_EQ(r.TotalBytes(), 5);
  EXPECT_EQ(r.BinaryRead(2), (automation::Bytes{1, 2}));
  EXPECT_EQ(r.BinaryRead(10), (automation::Bytes{3, 4, 5}));
  EXPECT_TRUE(r.BinaryRead(1).empty());
}

TEST(MemoryResponseTest, TextIsEncodedInTheResponseCodePage) {
  MemoryResponse gbk;
  gbk.Write(u"运动会");
  EXPECT_EQ(std::string(gbk.body().begin(), gbk.body().end()), automation::ToGbk(u"运动会"));
  MemoryResponse utf8;
  utf8.SetCharSet(u"UTF-8");
  utf8.Write(u"运动会");
  EXPECT_EQ(std::string(utf8.body().begin(), utf8.body().end()), "运动会");
}

// Text is encoded once per run of writes; bytes written between runs keep
// their place, and text written before a change of charset keeps the code
// page it was written in.
TEST(MemoryResponseTest, RunsOfTextKeepTheirPlaceAndCodePage) {
  MemoryResponse r;
  r.Write(u"运");
  r.Write(u"动");
  r.BinaryWrite({0x01});
  r.Write(u"会");
  EXPECT_EQ(std::string(r.body().begin(), r.body().end()), automation::ToGbk(u"运动") + "\x01" + automation::ToGbk(u"会"));
  r.Write(u"一");
  r.SetCharSet(u"utf-8");
  r.Write(u"二");
  EXPECT_EQ(std::string(r.body().begin(), r.body().end()),
            automation::ToGbk(u"运动") + "\x01" + automation::ToGbk(u"会一") + "二");
  r.Clear();
  r.Write(u"三");
  EXPECT_EQ(std::string(r.body().begin(), r.body().end()), "三");
  EXPECT_EQ(r.text(), u"三");
}

TEST(MemoryResponseTest, NothingAfterEnd) {
  MemoryResponse r;
  r.Write(u"a");
  r.AddHeader(u"Content-Disposition", u"attachment; filename=x.xls");
  r.End();
  r.Write(u"b");
  r.BinaryWrite({'c'});
  r.AddHeader(u"X", u"y");
  r.Redirect(u"/elsewhere");
  EXPECT_EQ(r.text(), u"a");
  EXPECT_EQ(r.body().size(), 1u);
  EXPECT_EQ(r.headers().size(), 1u);
  EXPECT_TRUE(r.redirect().empty());
  EXPECT_TRUE(r.ended());
}

TEST(MemoryResponseTest, CacheSettingsAndClear) {
  MemoryResponse r;
  r.Write(u"draft");
  r.Clear();
  r.SetExpires(-1);
  r.SetCacheControl(u"no-cache");
  r.SetContentType(u"application/vnd.ms-excel");
  r.BinaryWrite({0x50, 0x4B});
  EXPECT_EQ(r.text(), u"");
  EXPECT_EQ(r.body().size(), 2u);
  EXPECT_EQ(r.expires(), -1);
  EXPECT_EQ(r.cache_control(), u"no-cache");
  EXPECT_EQ(r.content_type(), u"application/vnd.ms-excel");
}

TEST(MemoryServerTest, MapPathStaysInsideTheSite) {
  MemoryServer s(u"/srv/meet");
  struct Case {
    const char16_t* in;
    const char16_t* out;
  } cases[] = {
      {u"/data", u"/srv/meet/data"},
      {u"/data/xtsz.dbf", u"/srv/meet/data/xtsz.dbf"},
      {u"\\data\\Play.dbf", u"/srv/meet/data/Play.dbf"},
      {u"data", u"/srv/meet/data"},
      {u"/", u"/srv/meet"},
      {u"/../../etc/passwd", u"/srv/meet/etc/passwd"},
      {u"/srv/meet/data", u"/srv/meet/data"},  // already mapped: unchanged
      {u"/etc/passwd", u"/srv/meet/etc/passwd"},
  };
  for (const auto& c : cases) EXPECT_EQ(s.MapPath(c.in), c.out) << automation::ToUtf8(c.in);
}

TEST(MemoryServerTest, MountedDataFolder) {
  MemoryServer s(u"/srv/meet");
  s.Mount(u"/data", u"/var/meets/2024");
  EXPECT_EQ(s.MapPath(u"/data"), u"/var/meets/2024");
  EXPECT_EQ(s.MapPath(u"/Data/xtsz.dbf"), u"/var/meets/2024/xtsz.dbf");
  EXPECT_EQ(s.MapPath(u"/var/meets/2024/xtsz.dbf"), u"/var/meets/2024/xtsz.dbf");
  EXPECT_EQ(s.MapPath(u"/AutoBackup"), u"/srv/meet/AutoBackup");
}

TEST(MemorySessionTest, KeysIgnoreCase) {
  host::MemorySession s;
  EXPECT_TRUE(s.Get(u"SPORTS_WLDF_Session").IsEmpty());
  s.Set(u"SPORTS_WLDF_Session", automation::Variant(u"100米|跳远"));
  EXPECT_EQ(s.Get(u"sports_wldf_session"), automation::Variant(u"100米|跳远"));
}

}  // namespace
