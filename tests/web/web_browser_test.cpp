// The browser test of the meet's pages on a fresh sample meet; the
// screenshots are kept under build/artifacts/web.
#include <gtest/gtest.h>

#include <filesystem>

#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/demo/demo_meet.h"
#include "support/node.h"
#include "web/web_site.h"

namespace web_test {
namespace {

TEST(Browser, RegisterEnterResultsQueryAndExport) {
  ARENIX_BROWSER_TEST();
  arenix::RegisterClasses();
  TestSite site;
  std::filesystem::copy(std::string(ARENIX_SOURCE_DIR) + "/site", site.site(),
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  arenix::meet::demo::WriteDemoMeet(site.data(), {true});
  web::ServerConfig config = TestConfig(site);
  config.limits.script_time = std::chrono::seconds(20);  // the sanitizer build is slow
  config.limits.script_memory_bytes = 64u << 20;
  config.limits.header_deadline = std::chrono::seconds(10);
  config.limits.keep_alive_timeout = std::chrono::seconds(5);
  TestServer server(config);
  // A page of another site that posts a recorder login to the meet.
  site.Write("evil.html",
             "<!doctype html><meta charset=utf-8><form method=post action='http://meet.example.cn:" +
                 std::to_string(server.port()) +
                 "/login.asp'><input name=user value=jilu1><input name=password value=123456></form>"
                 "<script>document.forms[0].submit()</script>");

  std::string shots = arenix::testing::ArtifactDir("web");
  auto run = arenix::testing::RunNode(
      {std::string(ARENIX_SOURCE_DIR) + "/tests/web/web_browser.js", std::to_string(server.port()), shots});
  EXPECT_EQ(run.status, 0) << run.output;
  for (const char* shot : {"01-home", "02-register-rule", "05-entry-choose", "07-entry-saved", "08-results"})
    EXPECT_TRUE(std::filesystem::exists(shots + "/" + shot + ".png")) << shot;
}

}  // namespace
}  // namespace web_test
