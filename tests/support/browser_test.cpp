// The shared browser helper works: Debian's Chromium starts headless under
// playwright-core, runs a page's script and writes a screenshot.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/node.h"

namespace arenix::testing {
namespace {

TEST(BrowserHelper, RunsPageScriptAndTakesScreenshot) {
  ARENIX_BROWSER_TEST();
  std::string page = WriteTempFile(
      "<!doctype html><meta charset=utf-8><title>t</title>"
      "<p id=p>运动会</p><script>document.getElementById('p').textContent += ' ok'</script>",
      ".html");
  std::string shot = ArtifactDir("support") + "/helper.png";
  std::string driver = WriteTempFile(
      "const { withPage } = require('arenix_browser');\n"
      "withPage(async (page) => {\n"
      "  await page.goto('file://" + page + "');\n"
      "  const t = await page.textContent('#p');\n"
      "  if (t !== '运动会 ok') throw new Error('text: ' + t);\n"
      "  await page.screenshot({ path: '" + shot + "' });\n"
      "});\n",
      ".js");
  NodeRun run = RunNode({driver});
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(std::filesystem::exists(shot));
  std::filesystem::remove(page);
  std::filesystem::remove(driver);
}

TEST(NodeCheck, TellsScriptThatParsesFromScriptThatDoesNot) {
  EXPECT_EQ(NodeCheck("function f(a) { return a + '中'; }"), "");
  EXPECT_NE(NodeCheck("function f(a) { return a + ; }"), "");
}

}  // namespace
}  // namespace arenix::testing
