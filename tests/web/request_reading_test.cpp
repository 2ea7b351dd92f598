// Request reading against a running server, as an anonymous client would
// attack it: bodies and heads past the limits, ambiguous framing, pipelined
// requests, and slow clients holding connections. And the framer's own table.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <future>
#include <vector>

#include <gtest/gtest.h>

#include "web/request_framing.h"
#include "web/web_site.h"

namespace web_test {
namespace {

using web::RequestFramer;

TEST(RequestFramerTest, FindsTheEndOfOneRequestOrRefusesIt) {
  struct Case {
    std::string bytes;
    RequestFramer::State state;
    int status_or_length;  // Refused: the status; Whole: the request's length
  };
  const std::string get = "GET / HTTP/1.1\r\nHost: x\r\n\r\n";
  const std::string chunked = "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n";
  std::string many_fields = "GET / HTTP/1.1\r\n";
  for (int i = 0; i < 101; ++i) many_fields += "X-" + std::to_string(i) + ": 1\r\n";
  const Case cases[] = {
      {get, RequestFramer::State::Whole, static_cast<int>(get.size())},
      {get + "GET /next", RequestFramer::State::Whole, static_cast<int>(get.size())},
      {"GET / HTTP/1.1\r\nHost: x\r\n", RequestFramer::State::NeedMore, 0},
      {"POST / HTTP/1.1\r\nContent-Length: 5\r\n\r\nabc", RequestFramer::State::NeedMore, 0},
      {"POST / HTTP/1.1\r\nContent-Length: 3\r\n\r\nabcGET", RequestFramer::State::Whole, 41},
      {chunked + "3\r\nabc\r\n0\r\n\r\n", RequestFramer::State::Whole, static_cast<int>(chunked.size()) + 13},
      {chunked + "3;ext=1\r\nabc\r\n0\r\nTrailer: t\r\n\r\n", RequestFramer::State::Whole,
       static_cast<int>(chunked.size()) + 31},
      {chunked + "3\r\nabc\r\n", RequestFramer::State::NeedMore, 0},
      {chunked + "3\r\nabcXY0\r\n\r\n", RequestFramer::State::Refused, 400},
      {chunked + "zz\r\n", RequestFramer::State::Refused, 400},
      {chunked + "FFFFFFFF\r\n", RequestFramer::State::Refused, 413},
      {"POST / HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n", RequestFramer::State::Refused, 413},
      {"POST / HTTP/1.1\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\nabcd", RequestFramer::State::Refused, 400},
      {"POST / HTTP/1.1\r\nContent-Length: 3, 4\r\n\r\nabcd", RequestFramer::State::Refused, 400},
      {"POST / HTTP/1.1\r\nContent-Length: 3\r\nContent-Length: 3\r\n\r\nabc", RequestFramer::State::Whole, 60},
      {"POST / HTTP/1.1\r\nContent-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n", RequestFramer::State::Refused, 400},
      {"POST / HTTP/1.1\r\nTransfer-Encoding: gzip\r\n\r\n", RequestFramer::State::Refused, 501},
      {"POST / HTTP/1.1\r\nContent-Length: -5\r\n\r\n", RequestFramer::State::Refused, 400},
      {"GET / HTTP/1.1\r\nBad Name: 1\r\n\r\n", RequestFramer::State::Refused, 400},
      {"GET / HTTP/1.1\r\nHost: x\r\n folded\r\n\r\n", RequestFramer::State::Refused, 400},
      {"GARBAGE\r\n\r\n", RequestFramer::State::Refused, 400},
      {many_fields + "\r\n", RequestFramer::State::Refused, 431},
      {"GET / HTTP/1.1\r\nX: " + std::string(70000, 'a'), RequestFramer::State::Refused, 431},
  };
  web::FramingLimits limits;
  limits.max_body_bytes = 1 << 20;
  for (const Case& c : cases) {
    RequestFramer framer(limits);
    RequestFramer::State s = framer.Feed(c.bytes);
    EXPECT_EQ(s, c.state) << c.bytes.substr(0, 80);
    if (s == RequestFramer::State::Refused) EXPECT_EQ(framer.status(), c.status_or_length) << c.bytes.substr(0, 80);
    if (s == RequestFramer::State::Whole) EXPECT_EQ(framer.request_length(), size_t(c.status_or_length)) << c.bytes;
  }
}

TEST(RequestFramerTest, AChunkedBodyArrivingByteByByteIsScannedOnce) {
  std::string bytes = "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n";
  for (int i = 0; i < 2000; ++i) bytes += "1\r\nx\r\n";
  bytes += "0\r\n\r\n";
  RequestFramer framer(web::FramingLimits{});
  for (size_t n = 1; n < bytes.size(); ++n) ASSERT_EQ(framer.Feed(std::string_view(bytes).substr(0, n)), RequestFramer::State::NeedMore);
  EXPECT_EQ(framer.Feed(bytes), RequestFramer::State::Whole);
  EXPECT_EQ(framer.request_length(), bytes.size());
}

class RequestReadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site_.Write("page.asp", "<% Response.Write('p:' + Request.QueryString('n')); %>");
    site_.Write("echo.asp", "<% Response.Write('len:' + Request.TotalBytes); %>");
    web::ServerConfig config = TestConfig(site_);
    config.limits.connections_per_client = 16;
    server_ = std::make_unique<TestServer>(config);
  }
  TestSite site_;
  std::unique_ptr<TestServer> server_;
};

TEST_F(RequestReadingTest, RefusesWhatTheFramingForbidsAndKeepsServing) {
  std::string chunk(32 * 1024, 'x');
  std::string big = "POST /echo.asp HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n";
  for (int i = 0; i < 4; ++i) big += "8000\r\n" + chunk + "\r\n";  // 128 KiB against a 64 KiB limit
  big += "0\r\n\r\n";
  EXPECT_EQ(StatusOf(server_->Raw(big)), 413);
  std::string many = "GET /page.asp HTTP/1.1\r\nHost: x\r\n";
  for (int i = 0; i < 120; ++i) many += "X-" + std::to_string(i) + ": 1\r\n";
  EXPECT_EQ(StatusOf(server_->Raw(many + "\r\n")), 431);
  EXPECT_EQ(StatusOf(server_->Raw("POST /echo.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\nContent-Length: 5\r\n\r\nabcde")), 400);
  EXPECT_EQ(StatusOf(server_->Raw("POST /echo.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\n"
                                  "Transfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n")), 400);
  std::string small = "POST /echo.asp HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
                      "3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n";
  EXPECT_EQ(BodyOf(server_->Raw(small)), "len:5");
}

TEST_F(RequestReadingTest, PipelinedRequestsAreAnsweredInOrder) {
  std::string bytes;
  for (int i = 1; i <= 5; ++i) bytes += "GET /page.asp?n=" + std::to_string(i) + " HTTP/1.1\r\nHost: x\r\n\r\n";
  bytes += "GET /page.asp?n=6 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
  std::string r = server_->Raw(bytes);
  size_t at = 0;
  for (int i = 1; i <= 6; ++i) {
    size_t found = r.find("p:" + std::to_string(i), at);
    ASSERT_NE(found, std::string::npos) << "response " << i << " of " << r;
    at = found;
  }
  // A reply kept open tells the client the loop's own bounds, not the
  // HTTP library's defaults.
  EXPECT_NE(r.find("Keep-Alive: timeout=1, max=100\r\n"), std::string::npos) << r;
}

TEST_F(RequestReadingTest, AByteRangeIsServedOfStaticFilesOnly) {
  site_.Write("style.css", "0123456789");
  const std::string css = server_->Raw("GET /style.css HTTP/1.1\r\nHost: x\r\nRange: bytes=2-4\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(StatusOf(css), 206);
  EXPECT_EQ(BodyOf(css), "234");
  // A page is whole, with 200 and no Content-Range, whatever range is asked.
  for (const char* range : {"bytes=0-1", "bytes=-2", "bytes=1-"}) {
    const std::string page = server_->Raw("GET /page.asp?n=12345 HTTP/1.1\r\nHost: x\r\nRange: " + std::string(range) +
                                          "\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(StatusOf(page), 200) << range;
    EXPECT_EQ(BodyOf(page), "p:12345") << range;
    EXPECT_EQ(page.find("Content-Range"), std::string::npos) << page;
  }
}

TEST_F(RequestReadingTest, SlowClientsHoldNoWorkerAndAreDroppedOnADeadline) {
  // 70 connections dribbling a head a byte at a time (4 workers, 16
  // connections per address): another client is answered at once.
  std::vector<int> slow;
  for (int i = 0; i < 70; ++i) {
    int fd = ConnectTo(server_->port(), "127.0.0.1");
    if (fd >= 0) slow.push_back(fd);
  }
  const std::string head = "GET /page.asp HTTP/1.1\r\nHost: x\r\n";
  auto start = std::chrono::steady_clock::now();
  for (size_t i = 0; i < 3; ++i) {
    for (int fd : slow) ::send(fd, head.data() + i, 1, MSG_NOSIGNAL);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  auto asked = std::chrono::steady_clock::now();
  int other = ConnectTo(server_->port(), "127.0.0.2");
  ASSERT_GE(other, 0);
  std::string req = "GET /page.asp?n=7 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
  ::send(other, req.data(), req.size(), MSG_NOSIGNAL);
  std::string r = ReadUntilClosed(other, 3000);
  ::close(other);
  EXPECT_EQ(BodyOf(r), "p:7");
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(1));
  // Beyond the per-address cap, connections are refused with 429; the rest are
  // closed by the head deadline (1 s here) although they keep sending.
  size_t refused = 0, dropped = 0;
  for (int fd : slow) {
    for (size_t i = 3; i < 12 && std::chrono::steady_clock::now() - start < std::chrono::seconds(3); ++i)
      ::send(fd, head.data() + i, 1, MSG_NOSIGNAL);
    std::string got = ReadUntilClosed(fd, 3000);
    if (StatusOf(got) == 429) ++refused;
    else if (got.empty()) ++dropped;
    ::close(fd);
  }
  EXPECT_EQ(refused, 70u - 16u);
  EXPECT_EQ(dropped, 16u);
}

}  // namespace
}  // namespace web_test

namespace web_test {
namespace {

TEST(KeptReplyTest, ACookieNeverReachesAReplyKeptForEveryone) {
  TestSite site;
  // The default item falls back to cookies, and a page may read a cookie
  // outright: neither may decide what the next visitor sees.
  site.Write("public.asp", "<% Response.CacheControl = 'public'; Response.Write('item=' + Request('item')); %>");
  site.Write("cookie.asp",
             "<% Response.CacheControl = 'public'; Response.Write('c=' + Request.Cookies('item')); %>");
  TestServer server(TestConfig(site));
  auto get = [&](const std::string& path, const std::string& cookie) {
    return BodyOf(server.Raw("GET " + path + " HTTP/1.1\r\nHost: x\r\n" +
                             (cookie.empty() ? "" : "Cookie: " + cookie + "\r\n") + "Connection: close\r\n\r\n"));
  };
  EXPECT_EQ(get("/public.asp", "item=%3Cscript%3E"), "item=");
  EXPECT_EQ(get("/public.asp", ""), "item=");
  EXPECT_EQ(get("/public.asp?item=100", "item=evil"), "item=100");
  EXPECT_EQ(get("/cookie.asp", "item=evil"), "c=evil");  // this client's own reply...
  EXPECT_EQ(get("/cookie.asp", ""), "c=");                // ...was not kept for the next
}

}  // namespace
}  // namespace web_test
