// The upload, download, view and remote-file services as a page calls them.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "arenix/file/file_site.h"
#include "arenix/frame/arenix_cls.h"
#include "arenix/page/error_page.h"
#include "arenix/page/window_scripts.h"
#include "automation/runtime.h"
#include "platform/xmlhttp.h"
#include "support/loopback_server.h"
#include "upload_body.h"

namespace arenix::upload {
namespace {

using automation::FromUtf8;
using automation::ToUtf8;
using file::testing::FileSite;
using testing::Multipart;
using testing::UploadPage;
namespace fs = std::filesystem;
using arenix::testing::LoopbackServer;

struct Page {
  Page() { cls.UseSite(site.site()); }
  FileSite site;
  ArenixCls cls;
  std::shared_ptr<host::MemoryResponse> response = std::make_shared<host::MemoryResponse>();
  Variant Response{automation::ObjectPtr(response)};
  Variant Request{automation::ObjectPtr(std::make_shared<host::MemoryRequest>())};
};

TEST(FileUploadTest, RecordsForEachFileThenTheFields) {
  Page p;
  Multipart m;
  m.Field("title", "T1").File("f", "a.jpg", "AAA").File("f", "b.gif", "BB").Field("memo", "M|2");
  UploadPage up(m);
  Text out = p.cls.CommFileUpload(p.site.Server, up.Request, u"pic", 2, 1, u"/upload", 0, true,
                                  u"title|memo|none");
  // Success|client|stored|size$ for each file, in order, then the fields.
  auto records = automation::Split(out.substr(0, out.find(u'#')), u"$");
  ASSERT_EQ(records.size(), 3u) << ToUtf8(out);
  auto r1 = automation::Split(records[0], u"|");
  auto r2 = automation::Split(records[1], u"|");
  ASSERT_EQ(r1.size(), 4u);
  EXPECT_EQ(r1[0], u"Success");
  EXPECT_EQ(r1[1], u"a.jpg");
  EXPECT_EQ(r1[2].size(), 22u);  // 18 generated characters + ".jpg"
  EXPECT_EQ(r1[3], u"3");
  EXPECT_EQ(r2[1], u"b.gif");
  EXPECT_EQ(r2[3], u"2");
  EXPECT_EQ(p.site.Read("upload/" + ToUtf8(r1[2])), "AAA");
  EXPECT_EQ(out.substr(out.find(u'#')), u"#T1|M|2|");
}

TEST(FileUploadTest, ParseFailuresAndSaveFailures) {
  Page p;
  Multipart big;
  big.Field("title", "T").File("f", "big.jpg", std::string(3 * 1048576, 'x'));
  UploadPage up(big.Body(), big.ContentType(), u"POST", u"Microsoft-IIS/5.0");
  EXPECT_EQ(p.cls.CommFileUpload(p.site.Server, up.Request, u"", 2, 0, u"/upload", 0, true, u"title"),
            u"Error|超出了最大容量(容许值为2M)$#T");
  UploadPage denied(Multipart().File("f", "x.asp", "<%%>"));
  EXPECT_EQ(p.cls.CommFileUpload(p.site.Server, denied.Request, u"pic", 2, 0, u"/upload"),
            u"Error|不允许上传该类文件(容许上传文件类型为:jpg,jpeg,gif,bmp,png)$#");
  UploadPage nothing(Multipart().File("f", "", "").File("g", "", ""));
  EXPECT_EQ(p.cls.CommFileUpload(p.site.Server, nothing.Request, u"", 2, 0, u"/upload"), u"#");

  // One file cannot be stored (its name is taken by a folder): the other still is.
  fs::create_directories(p.site.Native("upload/taken.jpg"));
  UploadPage two(Multipart().File("f", "taken.jpg", "1").File("f", "free.jpg", "2"));
  Text out = p.cls.CommFileUpload(p.site.Server, two.Request, u"", 2, 0, u"/upload", 1, true);
  EXPECT_EQ(out.substr(0, 6), u"Error|");
  EXPECT_NE(out.find(u"$Success|free.jpg|free.jpg|1$#"), Text::npos) << ToUtf8(out);
  EXPECT_EQ(p.site.Read("upload/free.jpg"), "2");
}

TEST(FileDownloadTest, HeadersTypesAndRefusals) {
  struct Case {
    const char* name;
    const char16_t* type;
  } cases[] = {{"x.JPG", u"image/jpeg"}, {"noext", u"application/octet-stream"},
               {"报名表.xls", u"application/vnd.ms-excel"}, {"a.mp3", u"audio/mpeg3"},
               {"a.html", u"text/html"}, {"a.7z", u"application/octet-stream"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Page p;
    p.site.Write(std::string("files/") + c.name, "0123456789");
    p.response->Write(u"earlier output");
    p.cls.CommFileDownload(p.Response, p.site.Server, u"/files/" + FromUtf8(c.name));
    EXPECT_TRUE(p.response->ended());
    EXPECT_EQ(p.response->content_type(), c.type);
    EXPECT_EQ(p.response->charset(), u"GB2312");
    EXPECT_EQ(std::string(p.response->body().begin(), p.response->body().end()), "0123456789");
    ASSERT_EQ(p.response->headers().size(), 2u);
    EXPECT_EQ(p.response->headers()[0].first, u"Content-Disposition");
    EXPECT_EQ(p.response->headers()[0].second.substr(0, 22 + Text(FromUtf8(c.name)).size()),
              u"attachment;  FileName=" + FromUtf8(c.name));
    EXPECT_EQ(p.response->headers()[1], (std::pair<Text, Text>{u"Content-Length", u"10"}));
  }
  Page p;
  p.site.Write("files/报名表.xls", "x");
  p.cls.CommFileDownload(p.Response, p.site.Server, u"/files/报名表.xls");
  EXPECT_EQ(p.response->headers()[0].second,
            u"attachment;  FileName=报名表.xls; filename*=UTF-8''%E6%8A%A5%E5%90%8D%E8%A1%A8.xls");

  struct Refusal {
    const char* write;
    const char16_t* ask;
    const char16_t* message;
  } refusals[] = {
      {"default.asp", u"/default.asp", u"不允许该类文件下载！"},
      {"x.PHP", u"/x.PHP", u"不允许该类文件下载！"},
      {nullptr, u"/missing.txt", u"文件不存在！"},
      {nullptr, u"C:/etc/passwd", u"文件不存在！"},
  };
  for (const auto& r : refusals) {
    Page q;
    if (r.write) q.site.Write(r.write, "<% secret %>");
    q.cls.CommFileDownload(q.Response, q.site.Server, r.ask, true);
    EXPECT_EQ(q.response->text(), page::ErrorPageText(r.message, true, u"")) << ToUtf8(r.ask);
    EXPECT_TRUE(q.response->ended());
  }
}

// A response that counts what it is sent and keeps none of it.
class CountingResponse : public host::MemoryResponse {
 public:
  void BinaryWrite(const automation::Bytes& bytes) override {
    total += bytes.size();
    largest = std::max(largest, bytes.size());
  }
  void Flush() override { ++flushes; }
  size_t total = 0, largest = 0, flushes = 0;
};

long PeakKb() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

TEST(FileDownloadTest, AOneGigabyteFileGoesOutInFlushedPieces) {
  FileSite site;
  const int64_t size = 1LL << 30;
  {
    std::ofstream(site.Native("big.iso"));
  }
  fs::resize_file(site.Native("big.iso"), size);  // sparse: no disk needed
  auto response = std::make_shared<CountingResponse>();
  Variant r{automation::ObjectPtr(response)};
  long before = PeakKb();
  ArenixCls cls;
  cls.UseSite(site.site());
  cls.CommFileDownload(r, site.Server, u"/big.iso");
  EXPECT_EQ(response->total, static_cast<size_t>(size));
  EXPECT_LE(response->largest, 1u << 20);
  EXPECT_GE(response->flushes, 1024u);
  EXPECT_LT(PeakKb() - before, 64 * 1024);  // far below the file's size
  EXPECT_EQ(response->headers()[1].second, u"1073741824");
}

TEST(FileViewTest, RedirectsByTypeAndAction) {
  Page p;
  p.site.Write("files/a.swf", "x");
  p.site.Write("files/b.JPG", "x");
  p.site.Write("files/c.doc", "x");
  p.site.Write("files/d.xyz", "x");
  struct Case {
    const char16_t* file;
    const char16_t* act;
    const char16_t* title;
    const char16_t* redirect;
  } cases[] = {
      {u"/files/a.swf", u"View", u"",
       u"../comm/orvel_FileView.asp?FileType=Flash&PlayTypePlayType=FullScreen&Url=/files/a.swf&Title=a.swf"},
      {u"/files/b.JPG", u"View", u"标题", u"../comm/orvel_FileView.asp?FileType=Image&Url=/files/b.JPG&Title=标题"},
      {u"/files/c.doc", u"View", u"", u"/files/c.doc"},
      {u"/files/d.xyz", u"View", u"", u"/files/d.xyz"},
      {u"/files/a.swf", u"download", u"", u"/files/a.swf"},  // the action is case-sensitive
      {u"/files/a.swf", u"", u"", u"/files/a.swf"},
  };
  for (const auto& c : cases) {
    Page q;
    q.site.Write("files/a.swf", "x");
    q.site.Write("files/b.JPG", "x");
    q.site.Write("files/c.doc", "x");
    q.site.Write("files/d.xyz", "x");
    q.cls.CommFileView(q.site.Server, q.Response, q.Request, c.file, c.act, c.title);
    EXPECT_EQ(q.response->redirect(), c.redirect) << ToUtf8(c.file) << " " << ToUtf8(c.act);
  }
  p.cls.CommFileView(p.site.Server, p.Response, p.Request, u"/files/c.doc", u"DownLoad", u"");
  EXPECT_EQ(p.response->content_type(), u"application/vnd.ms-word");
  Page missing;
  missing.cls.CommFileView(missing.site.Server, missing.Response, missing.Request, u"/none.doc", u"View", u"");
  EXPECT_EQ(missing.response->text(), u"<Script language='javascript'>alert('文件不存在!');" +
                                          page::CloseWindowNoMessagebox() + u"</Script>");
  EXPECT_TRUE(missing.response->ended());
}

TEST(RemoteFileTest, PicturesAreCopiedAndTheirAddressesReplaced) {
  LoopbackServer server([](const std::string& request) {
    std::string path = request.substr(4, request.find(' ', 4) - 4);
    return LoopbackServer::Response("200 OK", "image/gif", "body of " + path);
  });
  Page p;
  automation::ScopedClock clock(automation::DateSerial(2024, 3, 5), 11);
  // Hosts must end in a known label or a number: the loopback address does.
  std::string base = server.Url("/img/");
  Text html = FromUtf8("<img src=\"" + base + "a.gif\"> <img src='" + base + "b.jpeg'> " + base +
                       "c.webp <a href=\"" + base + "a.gif\">again</a>");
  Text out = p.cls.CommGetRemotefileUrl(p.site.Server, html, u"/pics");
  EXPECT_EQ(server.requests(), 2);  // the repeated address is fetched twice
  EXPECT_EQ(out.find(FromUtf8(base + "a.gif")), Text::npos);
  EXPECT_NE(out.find(FromUtf8(base + "b.jpeg")), Text::npos);
  EXPECT_NE(out.find(FromUtf8(base + "c.webp")), Text::npos);
  size_t at = out.find(u"/pics/20240305000000");
  ASSERT_NE(at, Text::npos) << ToUtf8(out);
  Text local = out.substr(at, 27);  // /pics/ + 14 digits + 3 digits + .gif
  EXPECT_EQ(local.substr(local.size() - 4), u".gif");
  EXPECT_EQ(p.site.Read(ToUtf8(local.substr(1))), "body of /img/a.gif");
  EXPECT_EQ(automation::Split(out, local).size(), 3u);  // both occurrences replaced
}

TEST(RemoteFileTest, ErrorStatusesAreStoredAndNoAnswerRaises) {
  LoopbackServer server([](const std::string&) {
    return LoopbackServer::Response("404 Not Found", "text/html", "<h1>missing</h1>");
  });
  Page p;
  p.cls.CommSaveRemoteFile(p.site.Server, u"/saved/x.gif", FromUtf8(server.Url("/x.gif")));
  EXPECT_EQ(p.site.Read("saved/x.gif"), "<h1>missing</h1>");
  std::string closed;
  {
    LoopbackServer gone([](const std::string&) { return std::string(); });
    closed = gone.Url("/x.gif");
  }
  EXPECT_THROW(p.cls.CommSaveRemoteFile(p.site.Server, u"/saved/y.gif", FromUtf8(closed)), automation::Error);
  EXPECT_FALSE(p.site.Exists("saved/y.gif"));
  EXPECT_THROW(p.cls.CommSaveRemoteFile(p.site.Server, u"C:/etc/arenix.gif", FromUtf8(server.Url("/x"))),
               automation::Error);
}

TEST(RemoteFileTest, ASlowServerRunsIntoTheTimeOut) {
  LoopbackServer slow([](const std::string&) { return LoopbackServer::Response("200 OK", "text/plain", "late"); },
                      std::chrono::milliseconds(3000));
  platform::XmlHttp http;
  http.limits.total_timeout_ms = 300;
  http.Open(u"GET", FromUtf8(slow.Url("/slow")));
  try {
    http.Send(Variant());
    FAIL() << "no time-out";
  } catch (const automation::Error& e) {
    EXPECT_NE(ToUtf8(e.description()).find("Timeout"), std::string::npos) << e.what();
  }
  http.limits = platform::HttpLimits{};
  http.limits.max_body_bytes = 3;
  LoopbackServer fast([](const std::string&) { return LoopbackServer::Response("200 OK", "text/plain", "too long"); });
  http.Open(u"GET", FromUtf8(fast.Url("/big")));
  EXPECT_THROW(http.Send(Variant()), automation::Error);
}

}  // namespace
}  // namespace arenix::upload
