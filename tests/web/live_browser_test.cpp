// Live results, phones and print in headless Chromium on a fresh sample
// meet; the screenshots and the printed heats are kept under
// build/artifacts/live.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/node.h"
#include "web/desk_site.h"

namespace web_test {
namespace {

TEST(LiveBrowser, TwoReadersUpdateInPlaceAndALostOneCatchesUp) {
  ARENIX_BROWSER_TEST();
  DeskSite site;
  std::string shots = arenix::testing::ArtifactDir("live");
  auto run = arenix::testing::RunNode(
      {std::string(ARENIX_SOURCE_DIR) + "/tests/web/live_browser.js", std::to_string(site.server().port()), shots});
  EXPECT_EQ(run.status, 0) << run.output;
  std::cout << run.output;
  for (const char* shot : {"live-02-phone-updated.png", "live-03-phone-results.png", "live-04-print-results.png"})
    EXPECT_TRUE(std::filesystem::exists(shots + "/" + shot)) << shot;
}

}  // namespace
}  // namespace web_test
