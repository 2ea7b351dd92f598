// A multipart post through the running server reaches the page as the
// bytes the browser sent, whatever the HTTP library would make of them.
#include <gtest/gtest.h>

#include "web/web_site.h"

namespace web_test {
namespace {

TEST(UploadBody, AMultipartPostReachesThePageAsSent) {
  TestSite site;
  site.Write("echo.asp",
             "<%@ Language=JavaScript %><%\n"
             "var n = Request.TotalBytes;\n"
             "Response.Write(n + ':' + String(Request.ServerVariables('CONTENT_TYPE')));\n"
             "%>");
  TestServer server(TestConfig(site));
  const std::string body =
      "--XyZ\r\nContent-Disposition: form-data; name=\"lif\"; filename=\"a.lif\"\r\n\r\n1,1,1,x\r\n--XyZ--\r\n";
  for (const std::string type : {"multipart/form-data; boundary=XyZ", "Multipart/Form-Data; boundary=XyZ"}) {
    const std::string reply = server.Raw("POST /echo.asp HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Type: " +
                                         type + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
    EXPECT_EQ(StatusOf(reply), 200) << reply;
    EXPECT_EQ(BodyOf(reply), std::to_string(body.size()) + ":" + type);
  }
}

}  // namespace
}  // namespace web_test
