// The browser walk-through of a delegation and a recorder on a fresh sample
// meet; screenshots kept under build/artifacts/walk.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/node.h"
#include "web/desk_site.h"

namespace web_test {
namespace {

TEST(WalkBrowser, DelegationAndRecorder) {
  ARENIX_BROWSER_TEST();
  DeskSite site;
  const std::string shots = arenix::testing::ArtifactDir("walk");
  auto run = arenix::testing::RunNode(
      {std::string(ARENIX_SOURCE_DIR) + "/tests/web/walk_browser.js", std::to_string(site.server().port()), shots});
  EXPECT_EQ(run.status, 0) << run.output;
  for (const char* shot : {"walk-01-registered-man", "walk-05-bad-mark-refused", "walk-07-expired-kept",
                           "walk-08-relogin-saved", "walk-09-final-seeded"})
    EXPECT_TRUE(std::filesystem::exists(shots + "/" + shot + ".png")) << shot;
}

}  // namespace
}  // namespace web_test
