// The workers against clients and pages that keep them waiting: a reply the
// client does not read goes out from the connection loop, and a worker that
// waits (or runs long) lets another take the requests queued behind it,
// however few workers are set running at once.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "web/web_site.h"

namespace web_test {
namespace {

using std::chrono::steady_clock;

// A receive buffer small enough that a reply of some hundred kilobytes
// does not fit while the client reads nothing.
constexpr int kSmallReceiveBuffer = 4096;

std::string Get(const TestServer& server, const std::string& path) {
  return server.Raw("GET " + path + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
}

// A page made for this visitor (a session cookie) of `36 << doublings`
// bytes, and a small one.
void WritePages(const TestSite& site) {
  site.Write("big.asp",
             "<% Session('seen') = 1; var s = 'abcdefghijklmnopqrstuvwxyz0123456789';"
             " var n = Number(Request.QueryString('n')); for (var i = 0; i < n; ++i) s = s + s;"
             " Response.Write(s); %>");
  site.Write("small.asp", "<% Response.Write('small'); %>");
}

TEST(WorkerPoolTest, AnUnreadReplyHoldsNoWorkerAndArrivesWholeAndInOrder) {
  TestSite site;
  WritePages(site);
  web::ServerConfig config = TestConfig(site);
  config.limits.workers = 1;  // one worker: a reader that blocks it would stop the server
  config.limits.write_timeout = std::chrono::seconds(5);
  TestServer server(config);

  // Two pipelined replies of 144 KiB each (within what is held), unread.
  int fd = ConnectTo(server.port(), "", kSmallReceiveBuffer);
  ASSERT_GE(fd, 0);
  const std::string two =
      "GET /big.asp?n=12 HTTP/1.1\r\nHost: x\r\nCookie: ARENIXSESSIONID=a\r\n\r\n"
      "GET /big.asp?n=11 HTTP/1.1\r\nHost: x\r\nCookie: ARENIXSESSIONID=a\r\nConnection: close\r\n\r\n";
  ASSERT_EQ(::send(fd, two.data(), two.size(), MSG_NOSIGNAL), static_cast<ssize_t>(two.size()));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));

  const auto start = steady_clock::now();
  EXPECT_EQ(BodyOf(Get(server, "/small.asp")), "small");
  EXPECT_LT(steady_clock::now() - start, std::chrono::seconds(1));

  const std::string got = ReadUntilClosed(fd);
  ::close(fd);
  const size_t second = got.find("HTTP/1.1 200", 1);
  ASSERT_NE(second, std::string::npos) << got.substr(0, 200);
  std::string s = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int i = 0; i < 11; ++i) s += s;
  EXPECT_EQ(BodyOf(got.substr(second)), s);
  EXPECT_EQ(BodyOf(got.substr(0, second)), s + s);
}

TEST(WorkerPoolTest, AWaitingOrLongRunningWorkerLetsAnotherServe) {
  TestSite site;
  WritePages(site);
  site.Write("loop.asp", "<% while (true) {} %>");
  web::ServerConfig config = TestConfig(site);
  config.limits.running_workers = 1;
  config.limits.held_reply_bytes = 16u << 10;  // larger replies keep their worker while they go out
  config.limits.write_timeout = std::chrono::seconds(5);
  config.limits.script_time = std::chrono::seconds(3);
  TestServer server(config);

  // Without another worker taken, the small page would wait seconds (the
  // write timeout, the page's time limit).
  struct Case {
    const char* name;
    std::function<int()> occupy;  // keeps the one running worker; returns a socket to close after
  };
  const Case cases[] = {
      {"a worker writing to a client that reads nothing",
       [&] {
         int fd = ConnectTo(server.port(), "", kSmallReceiveBuffer);
         const std::string req = "GET /big.asp?n=14 HTTP/1.1\r\nHost: x\r\nCookie: ARENIXSESSIONID=b\r\n\r\n";
         ::send(fd, req.data(), req.size(), MSG_NOSIGNAL);
         return fd;
       }},
      {"a page that runs until its time limit",
       [&] {
         int fd = ConnectTo(server.port(), "", kSmallReceiveBuffer);
         const std::string req = "GET /loop.asp HTTP/1.1\r\nHost: x\r\n\r\n";
         ::send(fd, req.data(), req.size(), MSG_NOSIGNAL);
         return fd;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int fd = c.occupy();
    ASSERT_GE(fd, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const auto start = steady_clock::now();
    EXPECT_EQ(BodyOf(Get(server, "/small.asp")), "small");
    EXPECT_LT(steady_clock::now() - start, std::chrono::milliseconds(1500));
    ::close(fd);
  }
}

}  // namespace
}  // namespace web_test
