// The host objects over HTTP: decoding of requests in the page's code page,
// the default item's order, server variables, the raw body, and what a
// response becomes on the wire.
#include "web/http_host.h"

#include <gtest/gtest.h>

#include "automation/cp936.h"
#include "automation/text.h"

namespace web {
namespace {

using automation::FromUtf8;
using automation::ToUtf8;

RawRequest Post(std::string query, std::string body, std::string type = "application/x-www-form-urlencoded") {
  RawRequest r;
  r.method = "POST";
  r.path = "/comm/page.asp";
  r.query = std::move(query);
  r.body = std::move(body);
  r.headers = {{"Host", "meet.example.cn:8080"}, {"Content-Type", type},
               {"Cookie", "theme=blue; name=%D5%C5; ARENIXSESSIONID=abc"},
               {"Referer", "http://meet.example.cn:8080/a.asp"}, {"User-Agent", "Test/1.0"}};
  r.remote_addr = "10.0.0.7";
  r.local_port = 8080;
  return r;
}

TEST(HttpRequest, DecodesQueryAndFormInThePagesCodePage) {
  auto cp = std::make_shared<CodePage>();
  // 中 is D6 D0 in GBK and E4 B8 AD in UTF-8.
  HttpRequest req(Post("item=%D6%D0%CE%C4&a=1&a=2&plus=a+b", "name=%D5%C5%C8%FD&x=%ZZ"), cp, "/comm/page.asp");
  EXPECT_EQ(ToUtf8(req.Query(u"item")), "中文");
  EXPECT_EQ(ToUtf8(req.Query(u"A")), "1, 2");
  EXPECT_EQ(ToUtf8(req.Query(u"plus")), "a b");
  EXPECT_EQ(ToUtf8(req.Form(u"name")), "张三");
  EXPECT_EQ(ToUtf8(req.Form(u"x")), "%ZZ");  // a broken escape stays as typed
  EXPECT_EQ(ToUtf8(req.QueryString()), "item=%D6%D0%CE%C4&a=1&a=2&plus=a+b");
  EXPECT_EQ(req.QueryKeys().size(), 3u);
  EXPECT_EQ(req.Query(u"absent"), u"");

  cp->number = 65001;  // the page switched to UTF-8
  HttpRequest utf8(Post("item=%E4%B8%AD", ""), cp, "/p.asp");
  EXPECT_EQ(ToUtf8(utf8.Query(u"item")), "中");
}

TEST(HttpRequest, DefaultItemLooksInQueryFormCookiesAndServerVariables) {
  auto cp = std::make_shared<CodePage>();
  HttpRequest req(Post("id=q", "id=f&only_form=1"), cp, "/comm/page.asp");
  EXPECT_EQ(req.Item(u"id"), u"q");
  EXPECT_EQ(req.Item(u"only_form"), u"1");
  EXPECT_EQ(ToUtf8(req.Item(u"name")), "张");
  EXPECT_EQ(req.Item(u"theme"), u"blue");
  EXPECT_EQ(req.Item(u"REMOTE_ADDR"), u"10.0.0.7");
  EXPECT_EQ(req.Item(u"nothing"), u"");
}

TEST(HttpRequest, ServerVariablesUnderTheirClassicNames) {
  auto cp = std::make_shared<CodePage>();
  HttpRequest req(Post("a=1", ""), cp, "/comm/page.asp");
  const std::pair<const char16_t*, const char*> cases[] = {
      {u"server_name", "meet.example.cn"},      {u"SERVER_PORT", "8080"},
      {u"http_referer", "http://meet.example.cn:8080/a.asp"},
      {u"HTTP_USER_AGENT", "Test/1.0"},         {u"Remote_Addr", "10.0.0.7"},
      {u"REQUEST_METHOD", "POST"},              {u"HTTP_CONTENT_TYPE", "application/x-www-form-urlencoded"},
      {u"SCRIPT_NAME", "/comm/page.asp"},       {u"QUERY_STRING", "a=1"},
      {u"Http_X_Forwarded_For", ""},            {u"SERVER_SOFTWARE", "Arenix"},
  };
  for (const auto& [name, want] : cases) EXPECT_EQ(ToUtf8(req.ServerVariable(name)), want) << ToUtf8(name);
}

TEST(HttpRequest, MultipartBodiesReachBinaryReadUntouched) {
  auto cp = std::make_shared<CodePage>();
  std::string body = "--b\r\nContent-Disposition: form-data; name=\"f\"; filename=\"a.bin\"\r\n\r\n\x00\xff\xd6\xd0\r\n--b--\r\n";
  body[60] = '\0';
  HttpRequest req(Post("", body, "multipart/form-data; boundary=b"), cp, "/u.asp");
  EXPECT_EQ(req.TotalBytes(), static_cast<int32_t>(body.size()));
  EXPECT_EQ(req.Form(u"f"), u"");  // a multipart body is no url-encoded form
  auto first = req.BinaryRead(10);
  auto rest = req.BinaryRead(100000);
  std::string got(first.begin(), first.end());
  got.append(rest.begin(), rest.end());
  EXPECT_EQ(got, body);
  EXPECT_TRUE(req.BinaryRead(5).empty());
}

std::string Header(const Reply& r, const std::string& name) {
  std::string all;
  for (const auto& [k, v] : r.headers)
    if (k == name) all += (all.empty() ? "" : "\n") + v;
  return all;
}

TEST(HttpResponse, BecomesOneHttpReplyInTheCodePage) {
  auto cp = std::make_shared<CodePage>();
  HttpResponse res(cp);
  res.Write(u"成绩");
  res.AddHeader(u"X-Test", u"a\r\nSet-Cookie: injected=1");  // a line break cannot add a header
  res.SetCookie(u"last", u"100米");
  res.SetExpires(-1);
  res.SetCacheControl(u"no-cache");
  Reply r = res.ToReply();
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, automation::ToGbk(u"成绩"));
  EXPECT_EQ(Header(r, "Content-Type"), "text/html; charset=gbk");
  EXPECT_EQ(Header(r, "X-Test"), "a  Set-Cookie: injected=1");
  EXPECT_EQ(Header(r, "Set-Cookie"), "last=100%C3%D7; path=/");
  EXPECT_EQ(Header(r, "Cache-Control"), "no-cache");
  EXPECT_FALSE(Header(r, "Expires").empty());

  res.End();
  res.Write(u"after the end");
  EXPECT_EQ(res.ToReply().body, automation::ToGbk(u"成绩"));

  auto cp8 = std::make_shared<CodePage>();
  HttpResponse utf8(cp8);
  utf8.SetCodePage(65001);
  utf8.Write(u"成绩");
  Reply u = utf8.ToReply();
  EXPECT_EQ(u.body, "成绩");
  EXPECT_EQ(Header(u, "Content-Type"), "text/html; charset=utf-8");
}

TEST(HttpResponse, RedirectsAndDownloadNames) {
  auto cp = std::make_shared<CodePage>();
  HttpResponse res(cp);
  res.Write(u"dropped");
  res.Redirect(u"entry.asp?item=100米");
  Reply r = res.ToReply();
  EXPECT_EQ(r.status, 302);
  EXPECT_EQ(Header(r, "Location"), "entry.asp?item=100" + automation::ToGbk(u"米"));

  // A Chinese file name: the name as the page gave it, and the RFC 6266 form.
  EXPECT_EQ(DispositionHeader(u"attachment;filename=成绩.xls", *cp),
            automation::ToGbk(u"attachment;filename=成绩.xls") +
                "; filename*=UTF-8''%E6%88%90%E7%BB%A9.xls");
  EXPECT_EQ(DispositionHeader(u"attachment;  FileName=x.JPG", *cp), "attachment;  FileName=x.JPG");
  EXPECT_EQ(DispositionHeader(u"attachment; filename=\"名单.xls\"", *cp),
            automation::ToGbk(u"attachment; filename=\"名单.xls\"") + "; filename*=UTF-8''%E5%90%8D%E5%8D%95.xls");
}

TEST(HttpServerObject, MapsPathsInsideTheSite) {
  auto cp = std::make_shared<CodePage>();
  platform::Site site(u"/srv/site");
  site.AddFolder(u"/srv/meet");
  HttpServerObject server(u"/srv/site", u"/srv/meet", site, "/comm/page.asp", cp);
  EXPECT_EQ(server.MapPath(u"/data"), u"/srv/meet");
  EXPECT_EQ(server.MapPath(u"/Data/xtsz.dbf"), u"/srv/meet/xtsz.dbf");
  EXPECT_EQ(server.MapPath(u"image/a.gif"), u"/srv/site/comm/image/a.gif");  // from the page's folder
  EXPECT_EQ(server.MapPath(u"/../../etc/passwd"), u"/srv/site/etc/passwd");
  EXPECT_EQ(server.MapPath(u"/srv/site/comm"), u"/srv/site/comm");  // mapping twice is harmless
}

}  // namespace
}  // namespace web
