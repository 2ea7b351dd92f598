// Frame guards and input blocking.
#include <gtest/gtest.h>

#include <memory>

#include "arenix/frame/arenix_cls.h"
#include "emit_browser.h"
#include "host/memory_host.h"

namespace arenix::testing {
namespace {

using automation::Text;
using automation::Variant;

Variant RequestWithQuery(const Text& query) {
  auto request = std::make_shared<host::MemoryRequest>();
  request->SetQueryString(query);
  return Variant(automation::ObjectPtr(request));
}

TEST(FrameGuards, MouseBlockIsLeftOutOfSpreadsheetRenderings) {
  ArenixCls cls;
  for (const char16_t* query : {u"excel=YES%20", u"excel=yes", u"a=1&excel=%20Yes"}) {
    Variant request = RequestWithQuery(query);
    EXPECT_EQ(cls.CommScriptMouse(request), u"") << Utf8(query);
  }
  for (const char16_t* query : {u"", u"excel=no", u"excel=yess"}) {
    Variant request = RequestWithQuery(query);
    const Text block = cls.CommScriptMouse(request);
    size_t scripts = 0;
    for (size_t at = block.find(u"<script"); at != Text::npos; at = block.find(u"<script", at + 1)) ++scripts;
    EXPECT_EQ(scripts, 3u) << Utf8(query);
  }
}

TEST(FrameGuards, BlocksParse) {
  ArenixCls cls;
  Variant request = RequestWithQuery(u"");
  for (Text block : {cls.CommScriptNoInFrame(), cls.CommScriptNoInTop(), cls.CommScriptMouse(request)}) {
    EXPECT_EQ(block.find(u'\n'), Text::npos);
    // Each element's body on its own.
    for (size_t open = block.find(u'>'); open != Text::npos;) {
      const size_t close = block.find(u"</", open);
      ASSERT_NE(close, Text::npos);
      EXPECT_EQ(NodeCheck(Utf8(block.substr(open + 1, close - open - 1))), "");
      const size_t next = block.find(u"<script", close);
      open = next == Text::npos ? Text::npos : block.find(u'>', next);
    }
  }
}

TEST(FrameGuards, MouseBlockCancelsMenuKeysAndAsksBeforeDeleting) {
  ARENIX_BROWSER_TEST();
  ArenixCls cls;
  Variant request = RequestWithQuery(u"");
  NodeRun run = RunOnPage("<body>" + Utf8(cls.CommScriptMouse(request)) +
                              "<a id=link href='#x'>link</a><form id=f onsubmit='return cform()'>"
                              "<input id=go type=submit></form></body>",
                          R"(
    const cancelled = (type, init) => page.evaluate(([type, init]) => {
      const e = new (type == 'keydown' ? KeyboardEvent : MouseEvent)(type, Object.assign({ bubbles: true, cancelable: true }, init));
      return !document.getElementById('link').dispatchEvent(e);
    }, [type, init]);
    assert.strictEqual(await cancelled('contextmenu', {}), true);
    assert.strictEqual(await cancelled('mousedown', { button: 2 }), true);
    assert.strictEqual(await cancelled('mousedown', { button: 0 }), false);
    assert.strictEqual(await cancelled('click', { shiftKey: true }), true);
    assert.strictEqual(await cancelled('click', {}), false);
    assert.strictEqual(await cancelled('keydown', { ctrlKey: true, keyCode: 78 }), true);
    assert.strictEqual(await cancelled('keydown', { keyCode: 114 }), true);
    assert.strictEqual(await cancelled('keydown', { keyCode: 65 }), false);
    assert.strictEqual(await page.evaluate(() => cform()), false);
    accept = true;
    assert.strictEqual(await page.evaluate(() => cform()), true);
    assert.deepStrictEqual(dialogs, ['您确认删除该记录吗！', '您确认删除该记录吗！']);
    assert.strictEqual(await page.evaluate(() => window.onerror('x')), true);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

}  // namespace
}  // namespace arenix::testing
