// The entry page as a browser sees it: the emitted scripts parse, the
// emitted HTML parses without errors, and in headless Chromium the keyboard
// script moves a recorder through a heat, the record box adds its points
// and the delegation selector follows the age group.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "arenix/meet/entry_script.h"
#include "arenix/meet/filters.h"
#include "arenix/meet/list_rows.h"
#include "arenix/meet/selectors.h"
#include "lists_html.h"
#include "support/html_check.h"
#include "support/node.h"

namespace lists_test {
namespace {

using wldf_test::Entrant;
using wldf_test::Meet;

// The contents of every <script> element, and every on... handler.
std::vector<std::string> Scripts(const std::string& html) {
  std::vector<std::string> out;
  static const std::regex element(R"(<script[^>]*>([\s\S]*?)</script>)", std::regex::icase);
  for (std::sregex_iterator m(html.begin(), html.end(), element), end; m != end; ++m) out.push_back((*m)[1]);
  static const std::regex handler(R"re(\son\w+=(?:'([^']*)'|"([^"]*)"))re", std::regex::icase);
  for (std::sregex_iterator m(html.begin(), html.end(), handler), end; m != end; ++m) {
    out.push_back("function handler(){" + HtmlUnescape((*m)[1].matched ? (*m)[1] : (*m)[2]) + "}");
  }
  return out;
}

// A meet with two entrants of a 100 m final, one with a name that must stay
// text, and delegations in two age groups.
struct EntryPage {
  Meet meet;
  std::string selectors, run_rows, places_rows, query_rows;

  EntryPage() {
    for (const char* n : {"1", "2"}) {
      Entrant e;
      e.number = n;
      e.name = n[0] == '1' ? "张三" : "<img src=x>";
      meet.Add(e);
    }
    meet.Exec("Insert Into Age (年龄组) Values ('甲组')");
    meet.Exec("Insert Into Age (年龄组) Values ('乙组')");
    meet.Exec("Insert Into team (代表队, 年龄组) Values ('一中', '甲组')");
    meet.Exec("Insert Into team (代表队, 年龄组) Values ('二中', '乙组')");
    meet.Exec("Insert Into team (代表队, 年龄组) Values ('三中', '乙组')");
    selectors = ToUtf8(arenix::meet::SelectSex(u"男") + arenix::meet::SelectStage(2, 4, 1, u"1") +
                       arenix::meet::SelectHeat(u"1", 2) +
                       arenix::meet::SelectAgeTeam(meet.conn, meet.rs, u"乙组", u"三中"));
    auto rows = [&](auto render) {
      auto& records = OpenRows(meet, "Select * From Play Order By 编号");
      std::string html;
      int16_t n = 1;
      for (; !records.Eof(); records.MoveNext()) html += ToUtf8(render(n++));
      records.Close();
      return html;
    };
    run_rows = rows([&](int16_t n) { return arenix::meet::EntryRow(meet.rs, {1, 0, n, 4, 1}); });
    places_rows = rows([&](int16_t n) { return arenix::meet::EntryRow(meet.rs, {1, 1, n, 4, 0, 2, 5}); });
    query_rows = rows([&](int16_t n) { return arenix::meet::QueryRow(meet.rs, {1, n, 1, 1, 4}); });
  }

  std::string Html() const {
    return "<!doctype html><html><head><meta charset=utf-8><title>成绩录入</title></head><body>"
           "<form name=sele method=post action='?'>" + selectors + "</form>"
           "<form name=myform method=post action='?'><table id=run>" + run_rows + "</table><table id=places>" +
           places_rows + "</table></form><table id=query>" + query_rows + "</table>" +
           ToUtf8(arenix::meet::EntryKeyScript()) + "</body></html>";
  }
};

TEST(ListsScript, EmittedScriptsAndHtmlParse) {
  EntryPage page;
  const std::string html = page.Html();
  const auto scripts = Scripts(html);
  ASSERT_GE(scripts.size(), 20u);
  for (const std::string& s : scripts) EXPECT_EQ(arenix::testing::NodeCheck(s), "") << s;
  EXPECT_EQ(arenix::testing::NodeCheck(Scripts(ToUtf8(arenix::meet::EntryKeyScript()))[0]), "");

  const auto reports = arenix::testing::CheckHtml({html});
  ASSERT_EQ(reports.size(), 1u);
  for (const auto& e : reports[0].errors) ADD_FAILURE() << e.code << " near " << e.near;
  for (const auto& e : reports[0].script_errors) ADD_FAILURE() << e;
  EXPECT_GE(reports[0].scripts, 20);
}

TEST(ListsScript, KeyboardPointsAndDelegationsInTheBrowser) {
  ARENIX_BROWSER_TEST();
  EntryPage page;
  const std::string file = arenix::testing::WriteTempFile(page.Html(), ".html");
  const std::string shot = arenix::testing::ArtifactDir("lists_entry") + "/entry_page.png";
  const std::string driver = arenix::testing::WriteTempFile(
      "const { withPage } = require('arenix_browser');\n"
      "const assert = require('assert');\n"
      "withPage(async (page) => {\n"
      "  await page.goto('file://" + file + "');\n"
      "  const value = (n) => page.$eval(`[name='${n}']`, (e) => e.value);\n"
      "  const active = () => page.evaluate(() => document.activeElement.name);\n"
      "  assert.strictEqual(await page.evaluate(() => window.scriptRan), undefined);\n"
      "  assert.strictEqual(await page.textContent('#run tr:nth-child(2) td:nth-child(2)'), '<img src=x>');\n"
      // Typing a heat without the mouse: a full field moves on at the next digit.
      "  await page.focus(\"[name='playcj_2_1']\");\n"
      "  await page.keyboard.type('1050');\n"
      "  assert.strictEqual(await value('playcj_2_1'), '10');\n"
      "  assert.strictEqual(await value('playcj_3_1'), '50');\n"
      "  assert.strictEqual(await active(), 'playcj_3_1');\n"
      // Letters are not typed; Enter and Down go to the next input; Up stays.
      "  await page.keyboard.press('a');\n"
      "  assert.strictEqual(await value('playcj_3_1'), '50');\n"
      "  await page.keyboard.press('Enter');\n"
      "  assert.strictEqual(await active(), 'playcj_1_2');\n"
      "  await page.keyboard.press('ArrowDown');\n"
      "  assert.strictEqual(await active(), 'playcj_2_2');\n"
      "  await page.keyboard.press('ArrowUp');\n"
      "  assert.strictEqual(await active(), 'playcj_2_2');\n"
      // Ctrl+Enter submits the entry form.
      "  await page.evaluate(() => { document.myform.submit = () => { window.submitted = true; }; });\n"
      "  await page.keyboard.press('Control+Enter');\n"
      "  assert.strictEqual(await page.evaluate(() => window.submitted), true);\n"
      // The record box adds and takes off the record points (2).
      "  await page.fill(\"[name='playdf_1']\", '7');\n"
      "  await page.click(\"[name='playpjl_1']\");\n"
      "  assert.strictEqual(await value('playdf_1'), '9');\n"
      "  await page.click(\"[name='playpjl_1']\");\n"
      "  assert.strictEqual(await value('playdf_1'), '7');\n"
      // The delegations follow the age group.
      "  const teams = () => page.$$eval(\"[name='team'] option\", (o) => o.map((x) => x.value).join(','));\n"
      "  assert.strictEqual(await teams(), '二中,三中');\n"
      "  await page.selectOption(\"[name='age']\", '甲组');\n"
      "  assert.strictEqual(await teams(), '一中');\n"
      "  assert.strictEqual(await page.$$eval('img', (i) => i.length), 0);\n"
      "  await page.screenshot({ path: '" + shot + "', fullPage: true });\n"
      "});\n",
      ".js");
  const auto run = arenix::testing::RunNode({driver});
  EXPECT_EQ(run.status, 0) << run.output;
  std::filesystem::remove(file);
  std::filesystem::remove(driver);
}

}  // namespace
}  // namespace lists_test
