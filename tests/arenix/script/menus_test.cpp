// The collapsible menu, the draggable box and the login-form script, in a
// browser.
#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "arenix/script/menus.h"
#include "emit_browser.h"

namespace arenix::testing {
namespace {

TEST(MenuScripts, AreOneLineScriptsThatParse) {
  ArenixCls cls;
  for (const automation::Text& block :
       {cls.CommScriptListMenu(), cls.CommScriptListMenuMove(), script::LoginFormScript(true, true),
        script::LoginFormScript(false, false)}) {
    EXPECT_EQ(block.find(u'\n'), automation::Text::npos);
    ASSERT_EQ(block.rfind(u"<script language=\"JavaScript\">", 0), 0u);
    const std::string body = Utf8(block.substr(30, block.size() - 30 - 9));
    EXPECT_EQ(NodeCheck(body), "") << body;
  }
}

// The box of the movable menu as the page renderers write it, with both
// drag directions enabled and two sections.
std::string MenuPage(bool move, bool expand) {
  ArenixCls cls;
  return "<body><div id=scroll1></div><div id=scroll2></div>" + Utf8(cls.CommScriptListMenu()) +
         Utf8(cls.CommScriptListMenuMove()) + Utf8(script::LoginFormScript(move, expand)) +
         "<div id=floater style='position:absolute;left:40px;top:40px;width:200px;visibility:visible'>"
         "<div id=bar style='height:20px;background:#9CDB73'>菜单</div>"
         "<a id=a href='javascript:expandIt(\"a\")'>A</a><div id=aChild class=child>A1</div>"
         "<a id=b href='javascript:expandIt(\"b\")'>B</a><div id=bChild class=child>B1</div>"
         "</div><script>scores[1]='a';scores[2]='b';numTotal=2;</script></body>";
}

TEST(MenuScripts, SectionsFoldAtLoadAndOpenOneAtATime) {
  ARENIX_BROWSER_TEST();
  NodeRun run = RunOnPage(MenuPage(false, true), R"(
    const shown = (id) => page.$eval('#' + id, (e) => getComputedStyle(e).display != 'none');
    assert.deepStrictEqual([await shown('aChild'), await shown('bChild')], [false, false]);
    await page.click('#a');
    assert.deepStrictEqual([await shown('aChild'), await shown('bChild')], [true, false]);
    await page.click('#b');
    assert.deepStrictEqual([await shown('aChild'), await shown('bChild')], [false, true]);
    await page.click('#b');
    assert.deepStrictEqual([await shown('aChild'), await shown('bChild')], [false, false]);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(MenuScripts, BoxDragsHidesAndShowsAgain) {
  ARENIX_BROWSER_TEST();
  NodeRun run = RunOnPage(MenuPage(true, false), R"(
    const box = async () => page.$eval('#floater', (e) => [e.offsetLeft, e.offsetTop, e.style.visibility]);
    await page.mouse.move(60, 45);
    await page.mouse.down();
    await page.mouse.move(160, 95, { steps: 4 });
    await page.mouse.up();
    assert.deepStrictEqual(await box(), [140, 90, 'visible']);
    await page.mouse.move(200, 200);
    assert.deepStrictEqual(await box(), [140, 90, 'visible']);
    await page.evaluate(() => closeLoginForm());
    assert.strictEqual((await box())[2], 'hidden');
    await page.evaluate(() => showLoginForm());
    assert.deepStrictEqual(await box(), [0, 0, 'visible']);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(MenuScripts, WithoutTheMoveSwitchTheBoxStays) {
  ARENIX_BROWSER_TEST();
  NodeRun run = RunOnPage(MenuPage(false, false), R"(
    await page.mouse.move(60, 45);
    await page.mouse.down();
    await page.mouse.move(160, 95, { steps: 4 });
    await page.mouse.up();
    assert.deepStrictEqual(await page.$eval('#floater', (e) => [e.offsetLeft, e.offsetTop]), [40, 40]);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

}  // namespace
}  // namespace arenix::testing
