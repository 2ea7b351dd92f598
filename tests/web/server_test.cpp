// The server over real HTTP: static files and pages, path safety, and the
// bad input the server must survive while it keeps serving others.
#include <httplib.h>

#include <atomic>
#include <future>

#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "web/web_site.h"

namespace web_test {
namespace {

std::string Get(const TestServer& server, const std::string& path) {
  return server.Raw("GET " + path + " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n");
}

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site_.Write("index.asp", "<% Response.Write('home'); %>");
    site_.Write("comm/orvel.css", "body{}");
    site_.Write("comm/image/orvel_bar.svg", "<svg xmlns='http://www.w3.org/2000/svg'/>");
    site_.Write("inc/secret.inc", "<% var password = 'x'; %>");
    site_.Write("page.asp", "<% var secret = 1; %>visible");
    site_.Write("sub/index.asp", "sub home");
    site_.Write(".hidden", "no");
    site_.WriteData("xtsz.dbf", "tables");
    server_ = std::make_unique<TestServer>(TestConfig(site_));
  }
  TestSite site_;
  std::unique_ptr<TestServer> server_;
};

TEST_F(ServerTest, ServesStaticFilesAndPagesWithoutRegardToCase) {
  std::string css = Get(*server_, "/comm/orvel.CSS");
  EXPECT_EQ(StatusOf(css), 200);
  EXPECT_NE(css.find("Content-Type: text/css"), std::string::npos);
  EXPECT_EQ(BodyOf(css), "body{}");

  EXPECT_EQ(BodyOf(Get(*server_, "/PAGE.ASP")), "visible");
  EXPECT_EQ(BodyOf(Get(*server_, "/")), "home");
  // Images that the markup names as pages are the drawings beside them.
  std::string image = Get(*server_, "/Comm/Image/Orvel_Bar.asp");
  EXPECT_EQ(StatusOf(image), 200);
  EXPECT_NE(image.find("image/svg+xml"), std::string::npos);
  // A folder named without its "/" is sent to it, keeping the query.
  std::string redirect = Get(*server_, "/sub?a=1");
  EXPECT_EQ(StatusOf(redirect), 301);
  EXPECT_NE(redirect.find("Location: /sub/?a=1"), std::string::npos);
  EXPECT_EQ(BodyOf(Get(*server_, "/sub/")), "sub home");
}

TEST_F(ServerTest, NeverSendsDataSourcesOrAnythingOutsideTheSite) {
  // A file beside the site folder that a climb out of it would reach.
  std::ofstream(site_.site() + "/../outside.txt") << "outside";
  const char* refused[] = {
      "/data/xtsz.dbf",           "/DATA/XTSZ.DBF",         "/Data/",
      "/%64ata/xtsz.dbf",         "/comm/../data/xtsz.dbf", "/../outside.txt",
      "/%2e%2e/outside.txt",      "/%2E%2E/outside.txt",    "/comm/%2e%2e/%2e%2e/outside.txt",
      "/..%5coutside.txt",        "/comm%5c..%5c..%5coutside.txt", "/..\\outside.txt",
      "/comm\\..\\..\\outside.txt", "/inc/secret.inc",      "/.hidden",
      "/page.asp%00.txt",         "/page.asp.",             "/comm/....//outside.txt",
      "/c:/windows/win.ini",
  };
  for (const char* path : refused) {
    std::string r = Get(*server_, path);
    SCOPED_TRACE(path);
    EXPECT_TRUE(StatusOf(r) == 404 || StatusOf(r) == 400) << r.substr(0, 40);
    EXPECT_EQ(r.find("outside"), std::string::npos);
    EXPECT_EQ(r.find("tables"), std::string::npos);
    EXPECT_EQ(r.find("password"), std::string::npos);
  }
  // A page runs; its source never comes back.
  std::string page = Get(*server_, "/page.asp");
  EXPECT_EQ(page.find("secret"), std::string::npos);
}

TEST_F(ServerTest, PagesReachTheSiteAndTheMeetFolderThroughTheFileServices) {
  arenix::RegisterClasses();
  site_.Write("files.asp",
              "<% var a = Server.CreateObject('Arenix.ArenixCls');\n"
              "Response.Write([a.CommReadFromTextFile(Server.MapPath('/page.asp')),\n"
              "                a.CommSaveToTextFile(Server.MapPath('/data/note.txt'), 'ok'),\n"
              "                a.CommReadFromTextFile(Server.MapPath('/data/note.txt'))].join('|')); %>");
  EXPECT_EQ(BodyOf(Get(*server_, "/files.asp")), "<% var secret = 1; %>visible|true|ok");
}

TEST_F(ServerTest, RefusesOversizedBodiesAndMalformedRequests) {
  std::string big(100 * 1024, 'x');
  std::string r = server_->Raw("POST /page.asp HTTP/1.1\r\nHost: localhost\r\nContent-Type: text/plain\r\n"
                               "Content-Length: " + std::to_string(big.size()) + "\r\nConnection: close\r\n\r\n" + big);
  EXPECT_EQ(StatusOf(r), 413);
  EXPECT_EQ(StatusOf(server_->Raw("GARBAGE\r\n\r\n")), 400);
  for (const char* bad : {"GET /page.asp HTTP/1.1\r\nHost: x\r\nContent-Length: nope\r\n\r\n",
                          "GET /page.asp HTTP/1.1\r\nHost: x\r\nContent-Length: -5\r\n\r\n",
                          "GET\r\n\r\n"})
    EXPECT_EQ(StatusOf(server_->Raw(bad)), 400) << bad;
  EXPECT_EQ(StatusOf(Get(*server_, "/page.asp")), 200);  // still serving
}

TEST_F(ServerTest, DropsSlowClientsAndServesOthersMeanwhile) {
  // A client that sends half a request line and then nothing.
  auto slow = std::async(std::launch::async, [&] {
    auto start = std::chrono::steady_clock::now();
    std::string r = server_->Raw("GET /page.asp HT", 10000);
    return std::make_pair(r, std::chrono::steady_clock::now() - start);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(BodyOf(Get(*server_, "/page.asp")), "visible");
  auto [reply, waited] = slow.get();
  EXPECT_LT(waited, std::chrono::seconds(5));  // closed by the read timeout, not by the client
  EXPECT_EQ(reply.find("visible"), std::string::npos);
}

TEST_F(ServerTest, StopsAPageThatLoopsAndKeepsServing) {
  site_.Write("loop.asp", "<% while (true) {} %>");
  auto loop = std::async(std::launch::async, [&] { return Get(*server_, "/loop.asp"); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(BodyOf(Get(*server_, "/page.asp")), "visible");  // another worker answers meanwhile
  std::string r = loop.get();
  EXPECT_EQ(StatusOf(r), 503);
  // The worker is free again: as many loops as workers, then a normal page.
  std::vector<std::future<std::string>> loops;
  for (int i = 0; i < 4; ++i) loops.push_back(std::async(std::launch::async, [&] { return Get(*server_, "/loop.asp"); }));
  for (auto& f : loops) EXPECT_EQ(StatusOf(f.get()), 503);
  EXPECT_EQ(BodyOf(Get(*server_, "/page.asp")), "visible");
}

TEST_F(ServerTest, StopsAPageThatAllocatesWithoutEnd) {
  site_.Write("grow.asp", "<% var a = [], s = 'xxxxxxxx'; while (true) { s += s; a.push(s + a.length); } %>");
  // A time limit far above what filling the memory takes, so that a busy
  // machine cannot make the page stop on time instead.
  web::ServerConfig config = TestConfig(site_);
  config.limits.script_time = std::chrono::seconds(20);
  server_ = std::make_unique<TestServer>(config);
  std::string r = Get(*server_, "/grow.asp");
  EXPECT_EQ(StatusOf(r), 500);
  EXPECT_NE(r.find("memory"), std::string::npos);
  EXPECT_EQ(BodyOf(Get(*server_, "/page.asp")), "visible");
}

TEST_F(ServerTest, GracefulStopLetsTheRunningRequestFinish) {
  // The page runs well past the pause below, so that the request has reached
  // a worker before the stop even on a busy machine.
  site_.Write("slow.asp", "<% var t = new Date().getTime(); while (new Date().getTime() - t < 1000) {} %>done");
  web::ServerConfig config = TestConfig(site_);
  config.limits.script_time = std::chrono::seconds(5);
  server_ = std::make_unique<TestServer>(config);
  auto running = std::async(std::launch::async, [&] { return Get(*server_, "/slow.asp"); });
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  server_->Stop();
  EXPECT_EQ(BodyOf(running.get()), "done");
}

}  // namespace
}  // namespace web_test
