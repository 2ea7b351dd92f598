// The browser walk-through of the desk and the delegation accounts on a
// fresh sample meet; screenshots, the export and the start list's PDF are
// kept under build/artifacts/desk.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/node.h"
#include "web/desk_site.h"

namespace web_test {
namespace {

TEST(DeskBrowser, VisitorRecorderDelegationAndOrganiser) {
  ARENIX_BROWSER_TEST();
  DeskSite site;
  std::string shots = arenix::testing::ArtifactDir("desk");
  auto run = arenix::testing::RunNode(
      {std::string(ARENIX_SOURCE_DIR) + "/tests/web/desk_browser.js", std::to_string(site.server().port()), shots});
  EXPECT_EQ(run.status, 0) << run.output;
  for (const char* shot : {"desk-02-visitor-masked", "desk-06-desk", "desk-09-startlist-print", "desk-10-scores",
                           "desk-12-audit"})
    EXPECT_TRUE(std::filesystem::exists(shots + "/" + shot + ".png")) << shot;
}

}  // namespace
}  // namespace web_test
