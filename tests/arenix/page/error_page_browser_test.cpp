// The error page in a real browser: with close-parent, both of its buttons
// run the window-closing statements (watched by stand-ins for window.close
// and window.open that the page's script cannot tell apart).
#include <gtest/gtest.h>

#include <filesystem>

#include "arenix/page/error_page.h"
#include "automation/text.h"
#include "support/node.h"

namespace {

using arenix::testing::ArtifactDir;
using arenix::testing::RunNode;
using arenix::testing::WriteTempFile;

TEST(ErrorPageBrowserTest, CloseAndReturnButtonsRunTheWindowClosers) {
  ARENIX_BROWSER_TEST();
  std::string page = WriteTempFile(
      "\xEF\xBB\xBF" + automation::ToUtf8(arenix::page::ErrorPageText(u"参数错误!", true, u"")), ".html");
  std::string shot = ArtifactDir("frames") + "/error_page.png";
  std::string driver = WriteTempFile(
      "const { withPage } = require('arenix_browser');\n"
      "withPage(async (page) => {\n"
      "  await page.addInitScript(() => {\n"
      "    window.__calls = [];\n"
      "    window.close = () => window.__calls.push('close');\n"
      "    window.open = (url, target) => { window.__calls.push('open ' + url + ' ' + target); return window; };\n"
      "  });\n"
      "  await page.goto('file://" + page + "');\n"
      "  await page.screenshot({ path: '" + shot + "' });\n"
      "  for (const button of ['close', 'back']) {\n"
      "    await page.evaluate(() => { window.__calls = []; });\n"
      "    await page.click('img[name=' + button + ']');\n"
      "    await page.waitForTimeout(100);\n"
      "    const calls = await page.evaluate(() => window.__calls.join('|'));\n"
      "    const expected = 'open  _self|close|open  _top|close|close';\n"
      "    if (calls !== expected) throw new Error(button + ' button ran: ' + calls);\n"
      "  }\n"
      "});\n",
      ".js");
  auto run = RunNode({driver});
  EXPECT_EQ(run.status, 0) << run.output;
  std::filesystem::remove(page);
  std::filesystem::remove(driver);
}

}  // namespace
