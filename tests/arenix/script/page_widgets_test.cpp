// Ajax loaders, pop-ups, the processing bar, tool tips and the clock in a
// browser. Pages that fetch are served under http://arenix.test/ by the
// test's own routes.
#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "automation/coerce.h"
#include "emit_browser.h"

namespace arenix::testing {
namespace {

// Serves the test page at http://arenix.test/meet/page.asp and `routes`
// (a JavaScript object: path -> [content type, body]) beside it.
std::string Served(const std::string& routes, const std::string& steps) {
  return "  const routes = " + routes + R"(;
  const posted = [];
  await page.route('http://arenix.test/**', async (route) => {
    const path = new URL(route.request().url()).pathname;
    if (path == '/meet/page.asp')
      return route.fulfill({ path: url.slice(7), contentType: 'text/html; charset=utf-8' });
    if (!routes[path]) return route.fulfill({ status: 404, body: 'missing' });
    posted.push([route.request().method(), route.request().headers()['content-type'] || '', route.request().postData()]);
    return route.fulfill({ status: routes[path][0], contentType: 'text/html; charset=utf-8', body: routes[path][1] });
  });
  await page.goto('http://arenix.test/meet/page.asp');
)" + steps;
}

TEST(AjaxLoaders, FillTheElementFromALocalPageOnlyOnSuccess) {
  ARENIX_BROWSER_TEST();
  ArenixCls cls;
  NodeRun get = RunOnPage("<body>" + Utf8(cls.CommAjaxGet()) + "<div id=list>old</div></body>",
                          Served(R"({ '/meet/list.asp': [200, '<b>第一组</b>'], '/meet/gone.asp': [500, 'error'] })", R"(
    await page.evaluate(() => ShowAjax('list', 'gone.asp'));
    await page.waitForTimeout(300);
    assert.strictEqual(await page.innerHTML('#list'), 'old');
    await page.evaluate(() => ShowAjax('list', 'list.asp?a=1'));
    await page.waitForFunction(() => document.getElementById('list').innerHTML != 'old');
    assert.strictEqual(await page.innerHTML('#list'), '<b>第一组</b>');
    assert.strictEqual(posted[1][0], 'GET');
  )"));
  EXPECT_EQ(get.status, 0) << get.output;
  NodeRun post = RunOnPage("<body>" + Utf8(cls.CommAjaxPost()) + "<div id=list>old</div></body>",
                           Served(R"({ '/meet/save.asp': [200, '已保存'] })", R"(
    await page.evaluate(() => ShowAjax('list', 'save.asp', 'xm=%D5%C5&n=1'));
    await page.waitForFunction(() => document.getElementById('list').innerHTML != 'old');
    assert.strictEqual(await page.innerHTML('#list'), '已保存');
    assert.deepStrictEqual(posted[0], ['POST', 'application/x-www-form-urlencoded;', 'xm=%D5%C5&n=1']);
  )"));
  EXPECT_EQ(post.status, 0) << post.output;
}

// A stand-in for the site's Popup class, as small as the contract: a box
// with the title and content, a confirm button that calls back.
constexpr char kPopupClass[] = R"JS(
function Popup(config) { this.config = config; this.contents = {}; }
Popup.prototype.setContent = function (key, value) { this.contents[key] = value; };
Popup.prototype.build = function () {
  var self = this, box = document.createElement('div');
  box.id = 'popup';
  box.style.cssText = 'position:absolute;left:20px;top:20px;border:2px solid #369;background:#fff;width:' +
    this.config.width + 'px;height:' + this.config.height + 'px';
  box.innerHTML = '<div id=popupTitle style="background:#9cf">' + this.contents.title + '</div><div id=popupBody>' +
    (this.contents.confirmCon || this.contents.alertCon || this.contents.contentHtml || this.contents.contentUrl) +
    '</div><button id=popupOk>OK</button>';
  box.querySelector('#popupOk').onclick = function () {
    if (self.contents.callBack) self.contents.callBack(self.contents.parameter); else self.close();
  };
  box.setAttribute('data-type', this.config.contentType);
  box.setAttribute('data-reload', String(this.config.isReloadOnClose));
  this.box = box;
};
Popup.prototype.show = function () { document.body.appendChild(this.box); };
Popup.prototype.close = function () { if (this.box.parentNode) this.box.parentNode.removeChild(this.box); };
)JS";

TEST(PopWindow, DialogOpensAndClosesAndTheConfirmationClicksItsButton) {
  ARENIX_BROWSER_TEST();
  ArenixCls cls;
  std::string routes = "{ '/comm/orvel_PopupClass.asp': [200, " + std::string("`") + kPopupClass + "`] }";
  NodeRun run = RunOnPage(
      "<body>" + Utf8(cls.CommScriptPopWindow()) +
          "<button id=del onclick='window.deleted=(window.deleted||0)+1'>删除</button></body>",
      Served(routes, R"(
    const box = () => page.evaluate(() => { const b = document.getElementById('popup');
      return b ? [b.querySelector('#popupTitle').textContent, b.querySelector('#popupBody').innerHTML,
                  b.getAttribute('data-type'), b.getAttribute('data-reload'), b.style.width] : null; });
    await page.evaluate(() => ShowAlert('提示', '已保存', 240, 120));
    assert.deepStrictEqual(await box(), ['提示', '已保存', '4', 'false', '240px']);
    await shot('popup-alert');
    await page.evaluate(() => ClosePop());
    assert.strictEqual(await box(), null);
    await page.evaluate(() => ShowHtmlString('名单', '<i>张三</i>', 300, 200));
    assert.deepStrictEqual(await box(), ['名单', '<i>张三</i>', '2', 'false', '300px']);
    await page.click('#popupOk');
    assert.strictEqual(await box(), null);
    await page.evaluate(() => ShowConfirm('确认', '删除这条记录？', 'del', 'x', 260, 140));
    assert.strictEqual((await box())[2], '3');
    await page.click('#popupOk');
    assert.strictEqual(await box(), null);
    assert.strictEqual(await page.evaluate(() => window.deleted), 1);
    await page.evaluate(() => ShowIframe('页面', 'list.asp', 400, 300));
    assert.deepStrictEqual((await box()).slice(1, 3), ['list.asp', '1']);
  )"));
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(PageWidgets, ProcessBarToolTipAndClock) {
  ARENIX_BROWSER_TEST();
  ArenixCls cls;
  NodeRun run = RunOnPage(
      "<body style='height:2000px'>" + Utf8(cls.CommScriptShowProcessBar()) +
          Utf8(automation::CStr(cls.CommScriptShowToolTipText())) +
          Utf8(cls.CommScriptShowDateAndTime(u"window.ticks=(window.ticks||0)+1")) +
          "<span id=liveclock></span><br><a id=slow href='#' IsShowProcessBar='True'><span id=inner>保存</span></a>"
          "<a id=fast href='#'>返回</a>"
          "<p id=tip onmouseover='popwish(\"请填写<b>姓名</b>\")' onmouseout='kill()' style='margin-top:200px'>提示</p>"
          "<script>ShowDateAndTimeScript()</script></body>",
      R"(
    const waiting = () => page.$eval('#waiting', (e) => e.style.visibility);
    assert.strictEqual(await waiting(), 'hidden');
    await page.click('#fast');
    assert.strictEqual(await waiting(), 'hidden');
    await page.click('#inner');
    assert.strictEqual(await waiting(), 'visible');
    const box = await page.$eval('#waiting', (e) => [e.offsetLeft + e.offsetWidth / 2, e.offsetTop + e.offsetHeight / 2]);
    const view = await page.evaluate(() => [innerWidth / 2, innerHeight / 2]);
    assert.ok(Math.abs(box[0] - view[0]) <= 2 && Math.abs(box[1] - view[1]) <= 2, JSON.stringify([box, view]));
    await page.waitForTimeout(700);
    const bar = await page.$eval('#sbar', (e) => e.offsetWidth);
    assert.ok(bar > 0 && bar < 300 * 0.98, String(bar));
    await shot('process-bar');
    await page.click('#fast');
    assert.strictEqual(await waiting(), 'hidden');

    const p = await (await page.$('#tip')).boundingBox();
    const at = [Math.round(p.x + 40), Math.round(p.y + p.height / 2)];
    await page.mouse.move(at[0] - 10, at[1]);
    await page.mouse.move(at[0], at[1]);
    const tip = await page.$eval('#dek', (e) => [e.style.visibility, e.offsetLeft, e.offsetTop + e.offsetHeight, e.innerText]);
    // The tip's corner is at the pointer; layout may round it to the next pixel.
    assert.strictEqual(tip[0], 'visible');
    assert.ok(Math.abs(tip[1] - at[0]) <= 1 && Math.abs(tip[2] - at[1]) <= 1, JSON.stringify([tip, at]));
    assert.ok(tip[3].includes('请填写姓名'));
    await shot('tool-tip');
    await page.mouse.move(600, 500);
    assert.strictEqual(await page.$eval('#dek', (e) => e.style.visibility), 'hidden');

    const clock = await page.$eval('#liveclock', (e) => e.innerText);
    assert.match(clock, /^\s*\d{4}年\d{1,2}月\d{1,2}日\s+星期[日一二三四五六]\s+\d{1,2}:\d\d:\d\d\((凌晨|上午|下午|晚上)\)$/);
    assert.strictEqual(await page.$eval('#liveclock font', (e) => e.color), 'blue');
    await page.waitForTimeout(1100);
    assert.ok(await page.evaluate(() => window.ticks) >= 2);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(WindowOpeners, OpenWindowsAndPicturesThatOpenTheViewer) {
  ARENIX_BROWSER_TEST();
  ArenixCls cls;
  NodeRun run = RunOnPage(
      "<body>" + Utf8(cls.CommScriptOpenWindow()) + Utf8(cls.CommScriptImage()) +
          "<script>orvel_showpic('p.jpg', 800, 600, 400, 400, 1, '运动会', 'open');"
          "orvel_showpic(\"a'b.jpg\", 100, 300, 400, 150, 0, 't', 'no_open');</script></body>",
      R"(
    const imgs = await page.$$eval('img', (els) => els.map((e) => [e.getAttribute('src'), e.width, e.height, e.title]));
    assert.deepStrictEqual(imgs, [['p.jpg', 400, 300, '按此在网络图像浏览器中查看图片'], ["a'b.jpg", 50, 150, '']]);
    await page.evaluate(() => {
      window.opened = [];
      window.open = (url, name, features) => { opened.push([url, name, features]); return { focus() { window.focused = name; } }; };
    });
    await page.click('img[src="p.jpg"]');
    const viewer = await page.evaluate(() => opened.pop());
    assert.deepStrictEqual(viewer.slice(0, 2), ['../comm/orvel_FileView.asp?FileType=Image&Url=p.jpg&Title=运动会', 'photo_edit_windows']);
    assert.match(viewer[2], /width=700,height=540,resizable=yes,scrollbars=yes,status=no,toolbar=no,menubar=no,location=no/);
    const calls = [['OpenWindow("x.asp", "w1", 300, 200)', 'w1', /^width=300,height=200$/],
                   ['OpenWindowModalScroll("x.asp", 300, 200)', '_blank', /^width=300,height=200$/],
                   ['OpenWindowQQScroll("x.asp", "w2", 10, 20, 300, 200)', 'w2', /left=10,top=20,width=300,height=200.*scrollbars=yes/],
                   ['OpenWindowQQNoScroll("x.asp", "w3", 10, 20, 300, 200)', 'w3', /scrollbars=no/],
                   ['OpenWindowResize("x.asp", 300, 200)', 'OpenWindowResize', /resizable=yes,scrollbars=no/]];
    for (const [call, name, features] of calls) {
      assert.strictEqual(await page.evaluate(call), false, call);
      const [url, opened, text] = await page.evaluate(() => opened.pop());
      assert.deepStrictEqual([url, opened], ['x.asp', name], call);
      assert.match(text, features, call);
    }
    await page.evaluate(() => OpenWindowFullScreen('full.asp'));
    assert.match((await page.evaluate(() => opened.pop()))[0], /^full\.asp\?ScreenHeight=\d+$/);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

}  // namespace
}  // namespace arenix::testing
