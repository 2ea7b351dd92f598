// Kept public replies answered by the server's front, against a running
// server: they hold until a file of the meet or of the site changes (a dot
// file such as the write lock is no change), conditional GETs get 304 from
// the same entry, compressed copies hold the same bytes, pipelined requests
// mixing kept and ordinary replies come back in order, and a client that
// reads slowly neither loses bytes nor holds up the others.
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "web/change_watch.h"
#include "web/kept_front.h"
#include "web/web_site.h"

namespace web_test {
namespace {

std::string Get(const TestServer& server, const std::string& target, const std::string& headers = "") {
  return server.Raw("GET " + target + " HTTP/1.1\r\nHost: x\r\n" + headers + "Connection: close\r\n\r\n");
}

std::string HeaderOf(const std::string& response, const std::string& name) {
  const std::string head = response.substr(0, response.find("\r\n\r\n") + 2);
  const std::string want = "\r\n" + name + ": ";
  size_t at = head.find(want);
  if (at == std::string::npos) return {};
  at += want.size();
  return head.substr(at, head.find("\r\n", at) - at);
}

std::string Gunzip(const std::string& in) {
  z_stream z{};
  inflateInit2(&z, 31);
  std::string out(1 << 20, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = inflate(&z, Z_FINISH);
  out.resize(z.total_out);
  inflateEnd(&z);
  return rc == Z_STREAM_END ? out : "(not gzip)";
}

class KeptFrontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site_.Write("inc/x.inc", "<% var x = 1; %>");
    site_.Write("pub.asp", kPublic);
    site_.Write("own.asp", "<%= Math.random() %>");
    site_.Write("open_data.asp",
                "<% Response.CacheControl = 'public'; Response.ContentType = 'application/json';"
                " Response.Write('{\"n\": ' + Math.random() + ', \"pad\": \"' + new Array(400).join('ab') + '\"}'); %>");
    web::ServerConfig config = TestConfig(site_);
    config.limits.script_memory_bytes = 64u << 20;
    server_ = std::make_unique<TestServer>(config);
  }
  static constexpr const char* kPublic =
      "<!--#include file=\"inc/x.inc\"--><% Response.CacheControl = 'public'; %><%= Math.random() %>";
  TestSite site_;
  std::unique_ptr<TestServer> server_;
};

TEST_F(KeptFrontTest, AKeptReplyHoldsUntilAFileOfTheMeetOrTheSiteChanges) {
  auto body = [&](const std::string& headers = "") { return BodyOf(Get(*server_, "/pub.asp?item=1", headers)); };
  std::string kept = body();
  ASSERT_FALSE(kept.empty());
  EXPECT_EQ(body(), kept);
  // Not for everyone: a visitor with a session, another address.
  EXPECT_NE(body("Cookie: a=1; ARENIXSESSIONID=0123456789abcdef0123456789abcdef\r\n"), kept);
  EXPECT_NE(BodyOf(Get(*server_, "/pub.asp?item=2")), kept);
  // The same reply however it is asked for.
  EXPECT_EQ(BodyOf(server_->Raw("GET /pub.asp?item=1 HTTP/1.0\r\nHost: x\r\n\r\n")), kept);
  EXPECT_NE(BodyOf(Get(*server_, "/own.asp")), BodyOf(Get(*server_, "/own.asp")));
  EXPECT_EQ(body("Cookie: item=evil\r\n"), kept);  // other cookies: the same reply for all

  // The write lock's file is touched by every save attempt: no change.
  site_.WriteData(".arenix-write.lock", "1");
  EXPECT_EQ(body(), kept);

  struct Change {
    const char* what;
    std::function<void()> make;
  };
  const Change changes[] = {
      {"a table written", [&] { site_.WriteData("Play.dbf", "rows"); }},
      {"a table rewritten", [&] { site_.WriteData("Play.dbf", "other rows"); }},
      {"a table deleted", [&] { std::filesystem::remove(site_.data() + "/Play.dbf"); }},
      {"the page saved again", [&] { site_.Write("pub.asp", kPublic); }},
      {"its include", [&] { site_.Write("inc/x.inc", "<% var y = 2; %>"); }},
  };
  for (const Change& c : changes) {
    c.make();
    const std::string after = body();
    EXPECT_NE(after, kept) << c.what;
    EXPECT_EQ(body(), after) << c.what;  // and kept again
    kept = after;
  }
}

TEST_F(KeptFrontTest, ConditionalAndCompressedRequestsAreAnsweredFromTheSameEntry) {
  const std::string first = Get(*server_, "/results.json");
  const std::string kept = Get(*server_, "/results.json");
  ASSERT_EQ(StatusOf(kept), 200) << kept;
  EXPECT_EQ(BodyOf(kept), BodyOf(first));
  const std::string tag = HeaderOf(kept, "ETag");
  const std::string modified = HeaderOf(kept, "Last-Modified");
  ASSERT_FALSE(tag.empty());
  EXPECT_EQ(HeaderOf(kept, "Access-Control-Allow-Origin"), "*");
  EXPECT_EQ(HeaderOf(kept, "Content-Length"), std::to_string(BodyOf(kept).size()));

  for (const std::string condition : {"If-None-Match: " + tag, "If-None-Match: \"x\", " + tag,
                                      "If-Modified-Since: " + modified}) {
    const std::string reply = Get(*server_, "/results.json", condition + "\r\n");
    EXPECT_EQ(StatusOf(reply), 304) << condition << "\n" << reply;
    EXPECT_EQ(BodyOf(reply), "") << condition;
    EXPECT_EQ(HeaderOf(reply, "ETag"), tag) << condition;
    EXPECT_EQ(HeaderOf(reply, "Access-Control-Allow-Origin"), "*") << condition;
  }
  EXPECT_EQ(StatusOf(Get(*server_, "/results.json", "If-None-Match: \"other\"\r\n")), 200);

  const std::string zipped = Get(*server_, "/results.json", "Accept-Encoding: gzip, deflate\r\n");
  EXPECT_EQ(HeaderOf(zipped, "Content-Encoding"), "gzip");
  EXPECT_EQ(HeaderOf(zipped, "Vary"), "Accept-Encoding");
  EXPECT_LT(BodyOf(zipped).size(), BodyOf(kept).size());
  EXPECT_EQ(Gunzip(BodyOf(zipped)), BodyOf(kept));
  const std::string brotli = Get(*server_, "/results.json", "Accept-Encoding: gzip, br\r\n");
  EXPECT_EQ(HeaderOf(brotli, "Content-Encoding"), "br");
  EXPECT_LT(BodyOf(brotli).size(), BodyOf(kept).size());

  // A save: the old tag no longer holds.
  site_.WriteData("Play.dbf", "rows");
  const std::string after = Get(*server_, "/results.json", "If-None-Match: " + tag + "\r\n");
  EXPECT_EQ(StatusOf(after), 200);
  EXPECT_NE(HeaderOf(after, "ETag"), tag);
  EXPECT_NE(BodyOf(after), BodyOf(kept));
}

TEST_F(KeptFrontTest, PipelinedKeptAndOrdinaryRequestsAreAnsweredInOrder) {
  const std::string kept = BodyOf(Get(*server_, "/pub.asp"));
  const std::string get = "GET /pub.asp HTTP/1.1\r\nHost: x\r\n\r\n";
  const std::string post = "POST /own.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\n\r\na=1";
  const std::string reply =
      server_->Raw(get + get + post + get + "GET /nowhere.asp HTTP/1.1\r\nHost: x\r\n\r\n" + get +
                   "GET /pub.asp HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  std::vector<std::string> statuses;
  std::vector<std::string> bodies;
  for (size_t at = reply.find("HTTP/1.1 "); at != std::string::npos; at = reply.find("HTTP/1.1 ", at + 1)) {
    statuses.push_back(reply.substr(at + 9, 3));
    const size_t length_at = reply.find("Content-Length: ", at);
    const size_t body_at = reply.find("\r\n\r\n", at) + 4;
    bodies.push_back(reply.substr(body_at, std::stoul(reply.substr(length_at + 16))));
  }
  ASSERT_EQ(statuses, (std::vector<std::string>{"200", "200", "200", "200", "404", "200", "200"})) << reply;
  for (size_t i : {0, 1, 3, 5, 6}) EXPECT_EQ(bodies[i], kept) << i;
  EXPECT_NE(bodies[2], kept);
}

TEST_F(KeptFrontTest, AfterAChangeOneRunMakesThePublicReplyForEveryoneWaiting) {
  site_.Write("slow.asp",
              "<% Response.CacheControl = 'public'; var t = new Date().getTime();"
              " while (new Date().getTime() - t < 150) {} Response.Write(Math.random()); %>");
  const std::string before = BodyOf(Get(*server_, "/slow.asp"));
  site_.WriteData("Play.dbf", "a save");
  // As many visitors at once as there are workers: one runs the page, the
  // others get what it made (side by side, each would make its own).
  std::vector<std::future<std::string>> visitors;
  for (int i = 0; i < 4; ++i)
    visitors.push_back(std::async(std::launch::async, [&] { return BodyOf(Get(*server_, "/slow.asp")); }));
  std::vector<std::string> bodies;
  for (auto& v : visitors) bodies.push_back(v.get());
  EXPECT_NE(bodies[0], before);
  for (const std::string& b : bodies) EXPECT_EQ(b, bodies[0]);
}

TEST_F(KeptFrontTest, ASlowReaderGetsEveryByteAndHoldsNobodyUp) {
  // A reply far larger than the socket takes at once.
  site_.Write("big.asp",
              "<% Response.CacheControl = 'public'; var s = 'abcdefghijklmnopqrstuvwxyz0123456789';"
              " for (var i = 0; i < 17; ++i) s = s + s; Response.Write(s); %>");
  const std::string whole = Get(*server_, "/big.asp");
  const std::string body = BodyOf(whole);
  ASSERT_EQ(body.size(), 36u << 17) << whole.substr(0, 300);

  // Asked for twice on one connection, not read for a while.
  const int fd = ConnectTo(server_->port(), "", 4096);
  ASSERT_GE(fd, 0);
  const std::string two = "GET /big.asp HTTP/1.1\r\nHost: x\r\n\r\nGET /big.asp HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
  ASSERT_EQ(::send(fd, two.data(), two.size(), MSG_NOSIGNAL), static_cast<ssize_t>(two.size()));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));

  // Meanwhile another visitor is answered at once.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(BodyOf(Get(*server_, "/big.asp")), body);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

  std::string got;
  char buf[65536];
  ssize_t n;
  while ((n = ::recv(fd, buf, sizeof buf, 0)) > 0) got.append(buf, static_cast<size_t>(n));
  ::close(fd);
  const size_t second = got.find("HTTP/1.1 200", 1);
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(BodyOf(got.substr(0, second)), body);
  EXPECT_EQ(BodyOf(got.substr(second)), body);
}

TEST(KeptFrontUnitTest, AnswersOnlyAPlainGetOfTheSameAddressAndHost) {
  TestSite site;
  web::ChangeWatch watch({site.data()}, 16);
  web::KeptFront front(watch, 8);
  front.Keep(web::KeptFront::KeyOf("/r.asp?a=1", "x"), front.Moment(), {{"Content-Type", "text/html"}}, "body");
  struct Case {
    std::string request;
    bool answered;
  };
  const std::string end = "\r\n\r\n";
  const Case cases[] = {
      {"GET /r.asp?a=1 HTTP/1.1\r\nHost: x" + end, true},
      {"GET /r.asp?a=1 HTTP/1.1\r\nhost:   x\r\ncookie: theme=1; item=3" + end, true},
      {"GET /r.asp?a=1 HTTP/1.1\r\nHost: y" + end, false},
      {"GET /r.asp?a=2 HTTP/1.1\r\nHost: x" + end, false},
      {"GET /R.asp?a=1 HTTP/1.1\r\nHost: x" + end, false},
      {"HEAD /r.asp?a=1 HTTP/1.1\r\nHost: x" + end, false},
      {"POST /r.asp?a=1 HTTP/1.1\r\nHost: x\r\nContent-Length: 0" + end, false},
      {"GET /r.asp?a=1 HTTP/1.0\r\nHost: x" + end, false},
      {"GET /r.asp?a=1 HTTP/1.1\r\nHost: x\r\nCookie: ARENIXSESSIONID=abc" + end, false},
      {"GET /r.asp?a=1 HTTP/1.1\r\nHost: x\r\nCookie: a=1\r\nCookie: ARENIXSESSIONID=abc" + end, false},
      {"GET /r.asp?a=1 HTTP/1.1\r\nHost: x\r\nHost: y" + end, false},
      {"GET /r.asp?a=1 HTTP/1.1\r\nHost: x\r\nRange: bytes=0-1" + end, false},
      {"GET /r.asp?a=1 HTTP/1.1\r\nHost: x\r\nIf-Range: \"t\"" + end, false},
      {"GET /r.asp?a=1 HTTP/1.1\r\nHost: x\r\nContent-Length: 4" + end + "abcd", false},
      {"GET /r.asp?a=1 HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked" + end + "0\r\n\r\n", false},
  };
  for (const Case& c : cases) {
    web::ReadyReply reply;
    int status = 0;
    size_t bytes = 0;
    EXPECT_EQ(front.Answer(web::ReadQuickHead(c.request), false, reply, status, bytes), c.answered) << c.request;
  }
  // A change in the folder: the entry no longer answers.
  site.WriteData("Play.dbf", "x");
  web::ReadyReply reply;
  int status = 0;
  size_t bytes = 0;
  EXPECT_FALSE(front.Answer(web::ReadQuickHead(cases[0].request), false, reply, status, bytes));
  EXPECT_EQ(front.size(), 0u);
}

TEST(ChangeWatchTest, SeesChangesUnderItsFoldersAndSaysWhenItCannot) {
  TestSite site;
  std::filesystem::create_directories(site.site() + "/inc");
  web::ChangeWatch watch({site.site(), site.data()}, 16);
  ASSERT_TRUE(watch.usable());
  uint64_t g = watch.Generation();
  EXPECT_EQ(watch.Generation(), g);  // nothing changed
  site.WriteData(".lock", "1");
  EXPECT_EQ(watch.Generation(), g);
  site.Write("inc/a.inc", "x");
  EXPECT_GT(watch.Generation(), g);
  g = watch.Generation();
  std::filesystem::create_directories(site.site() + "/new/deeper");
  g = watch.Generation();
  site.Write("new/deeper/b.asp", "x");
  EXPECT_GT(watch.Generation(), g);

  // A folder removed and made again is watched afresh.
  std::filesystem::remove_all(site.site() + "/new");
  std::filesystem::create_directories(site.site() + "/new");
  g = watch.Generation();
  site.Write("new/c.asp", "x");
  EXPECT_GT(watch.Generation(), g);
  EXPECT_TRUE(watch.usable());

  // One of its own folders removed: nothing there can be seen any more.
  std::filesystem::remove_all(site.data());
  watch.Generation();
  EXPECT_FALSE(watch.usable());

  // More folders than allowed.
  for (int i = 0; i < 20; ++i) std::filesystem::create_directories(site.site() + "/f" + std::to_string(i));
  EXPECT_FALSE(web::ChangeWatch({site.site()}, 16).usable());
  EXPECT_TRUE(web::ChangeWatch({site.site()}, 64).usable());
}

}  // namespace
}  // namespace web_test
