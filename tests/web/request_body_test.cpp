// A request's body reaches the page as the client meant it, taken out of
// the connection's buffer whole: chunked framing undone in place (however
// the chunks cut the fields), the bytes of a pipelined request after it
// left for that request.
#include <gtest/gtest.h>

#include "web/request_framing.h"
#include "web/web_site.h"

namespace web_test {
namespace {

TEST(ChunkedBodyTest, IsDecodedInPlace) {
  struct Case {
    std::string framed;
    std::string body;
    bool whole;
  };
  const Case cases[] = {
      {"0\r\n\r\n", "", true},
      {"3\r\nabc\r\n0\r\n\r\n", "abc", true},
      {"3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n", "abcde", true},
      {"A;name=v\r\n0123456789\r\n1 \r\nx\r\n0\r\nTrailer: t\r\n\r\n", "0123456789x", true},
      {"a\r\n\r\n\r\n\r\n\r\n\r\n\r\n0\r\n\r\n", "\r\n\r\n\r\n\r\n\r\n", true},  // data that looks like framing
      {"3\r\nabc\r\nzz\r\n", "abc", false},
      {"5\r\nab", "", false},
  };
  for (const Case& c : cases) {
    std::string body = c.framed;
    EXPECT_EQ(web::DecodeChunkedInPlace(body), c.whole) << c.framed;
    EXPECT_EQ(body, c.body) << c.framed;
  }
}

TEST(RequestBodyTest, AFormReachesThePageWholeHoweverItIsFramed) {
  TestSite site;
  site.Write("form.asp", "<% Response.Write(Request.TotalBytes + ':' + Request.Form('a') + '|' + Request.Form('b')); %>");
  TestServer server(TestConfig(site));
  const std::string form = "a=" + std::string(300, 'x') + "&b=%41%20end";
  auto post = [&](const std::string& framing, const std::string& body, const std::string& after = "") {
    return server.Raw("POST /form.asp HTTP/1.1\r\nHost: x\r\nContent-Type: application/x-www-form-urlencoded\r\n" +
                      framing + "\r\n" + body + after);
  };
  const std::string expected = std::to_string(form.size()) + ":" + std::string(300, 'x') + "|A end";

  EXPECT_EQ(BodyOf(post("Content-Length: " + std::to_string(form.size()) + "\r\nConnection: close\r\n", form)), expected);
  // Chunks that cut a field and an escape in two, with extensions and trailers.
  std::string chunked;
  for (size_t at = 0; at < form.size(); at += 7) {
    const std::string piece = form.substr(at, 7);
    char size[16];
    std::snprintf(size, sizeof size, "%zx", piece.size());
    chunked += std::string(size) + (at % 2 ? ";x=1" : "") + "\r\n" + piece + "\r\n";
  }
  chunked += "0\r\nX-Trailer: 1\r\n\r\n";
  EXPECT_EQ(BodyOf(post("Transfer-Encoding: chunked\r\nConnection: close\r\n", chunked)), expected);

  // A request pipelined after a body gets its own answer.
  site.Write("after.asp", "<% Response.Write('after:' + Request.QueryString('n')); %>");
  const std::string both =
      post("Transfer-Encoding: chunked\r\n", chunked, "GET /after.asp?n=2 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  const size_t second = both.find("HTTP/1.1 200", 1);
  ASSERT_NE(second, std::string::npos) << both;
  EXPECT_EQ(BodyOf(both.substr(0, second)), expected);
  EXPECT_EQ(BodyOf(both.substr(second)), "after:2");
}

}  // namespace
}  // namespace web_test
