// The submit check, the validators and Enter-to-next in a browser.
#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "emit_browser.h"

namespace arenix::testing {
namespace {

using automation::Text;

std::string FormPage(const Text& check_list, const std::string& fields) {
  ArenixCls cls;
  return "<body>" + Utf8(cls.CommScriptCheckForm(check_list)) +
         "<form name=myform onsubmit='return checkform()'>" + fields + "</form></body>";
}

TEST(CheckForm, RefusesEmptyFieldsUnequalPasswordsAndLongTexts) {
  ARENIX_BROWSER_TEST();
  NodeRun run = RunOnPage(
      FormPage(u"xm|请输入姓名$mm|请输入密码|qrmm|两次密码不一致$bz||200|备注太长",
               "<input name=xm><input name=mm><input name=qrmm><textarea name=bz>x</textarea>"),
      R"(
    const check = async (values) => {
      dialogs.length = 0;
      const result = await page.evaluate((values) => {
        for (const k in values) document.myform.elements[k].value = values[k];
        return checkform();
      }, values);
      const focused = await page.evaluate(() => document.activeElement.name || '');
      return [result, dialogs.slice(), focused];
    };
    assert.deepStrictEqual(await check({ xm: '', mm: 'a', qrmm: 'a', bz: 'x' }), [false, ['请输入姓名'], 'xm']);
    assert.deepStrictEqual(await check({ xm: '0', mm: 'a', qrmm: 'a', bz: 'x' }), [false, ['请输入姓名'], 'xm']);
    assert.deepStrictEqual(await check({ xm: '张三', mm: '', qrmm: '', bz: 'x' }), [false, ['请输入密码'], 'mm']);
    assert.deepStrictEqual(await check({ xm: '张三', mm: 'a1', qrmm: 'a2', bz: 'x' }), [false, ['两次密码不一致'], 'mm']);
    assert.deepStrictEqual(await check({ xm: '张三', mm: 'a1', qrmm: 'a1', bz: '' }), [false, [''], 'bz']);
    assert.deepStrictEqual(await check({ xm: '张三', mm: 'a1', qrmm: 'a1', bz: 'y'.repeat(201) }), [false, ['备注太长'], 'bz']);
    assert.deepStrictEqual(await check({ xm: '张三', mm: 'a1', qrmm: 'a1', bz: 'y'.repeat(200) }), [true, [], 'bz']);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

// Quotes and script end tags in a check list end up in script strings as
// text; entries without a field name and fields the form lacks are passed
// over; an empty list accepts.
TEST(CheckForm, OddListsStayScriptAndShowTheirTextsAsGiven) {
  ARENIX_BROWSER_TEST();
  NodeRun run = RunOnPage(
      FormPage(u"a\"b|名字带\"引号'</script>|x'y|不一致\\$|$||$missing|不在表单中", "<input name='a\"b'><input name=\"x'y\">"),
      R"(
    await page.evaluate(() => { document.myform.elements['a"b'].value = ''; });
    assert.strictEqual(await page.evaluate(() => checkform()), false);
    assert.deepStrictEqual(dialogs, ['名字带"引号\'</script>']);
    await page.evaluate(() => { document.myform.elements['a"b'].value = 'v'; document.myform.elements["x'y"].value = 'w'; });
    assert.strictEqual(await page.evaluate(() => checkform()), false);
    assert.deepStrictEqual(dialogs, ['名字带"引号\'</script>', '不一致\\']);
    await page.evaluate(() => { document.myform.elements["x'y"].value = 'v'; });
    assert.strictEqual(await page.evaluate(() => checkform()), true);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
  NodeRun empty = RunOnPage(FormPage(u"", "<input name=a>"), R"(
    assert.strictEqual(await page.evaluate(() => checkform()), true);
    assert.deepStrictEqual(dialogs, []);
  )");
  EXPECT_EQ(empty.status, 0) << empty.output;
}

// The rich-text editor: a frame "Editor" holding the frame "HtmlEdit"; its
// content is copied into the field Content before the check.
TEST(CheckForm, EditorContentIsCopiedThenChecked) {
  ARENIX_BROWSER_TEST();
  NodeRun run = RunOnPage(
      FormPage(u"editor|请输入内容|10|内容太长", "<input type=hidden name=Content>") +
          "<iframe id=Editor name=Editor></iframe>"
          "<script>var d = window.frames['Editor'].document; d.open();"
          "d.write('<body><iframe name=HtmlEdit></iframe></body>'); d.close();</script>",
      R"(
    const run = (html, editMode) => page.evaluate(([html, editMode]) => {
      document.getElementById('Editor').EditMode = editMode;
      window.frames['Editor'].frames['HtmlEdit'].document.body.innerHTML = html;
      return [checkform(), document.myform.Content.value];
    }, [html, editMode]);
    assert.deepStrictEqual(await run('', false), [false, '']);
    assert.deepStrictEqual(await run('<b>ab</b>', false), [true, '<b>ab</b>']);
    assert.deepStrictEqual(await run('<b>ab</b>', true), [true, 'ab']);
    assert.deepStrictEqual(await run('<b>abcdefgh</b>', false), [false, '<b>abcdefgh</b>']);
    assert.deepStrictEqual(dialogs, ['请输入内容', '内容太长']);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(ClientValidators, AnswerAsDescribed) {
  ARENIX_BROWSER_TEST();
  ArenixCls cls;
  NodeRun run = RunOnPage("<body>" + Utf8(cls.CommScriptCheck()) + "</body>", R"(
    const year = new Date().getFullYear();
    const cases = [
      ['OrvelRegCheckIsTelephone', '010-1234567', true], ['OrvelRegCheckIsTelephone', '123456', false],
      ['OrvelRegCheckIsTelephone', '1234567890123456789', false], ['OrvelRegCheckIsTelephone', '12345a7', false],
      ['OrvelRegCheckIsEmail', 'a.b@x.com', false], ['OrvelRegCheckIsEmail', 'ab@x.com.cn', true],
      ['OrvelRegCheckIsEmail', 'ab@x.c', false],
      ['OrvelRegCheckIsInteger', '-12', true], ['OrvelRegCheckIsInteger', '1.5', false], ['OrvelRegCheckIsInteger', '', false],
      ['OrvelRegCheckIsAge', String(year - 18), true], ['OrvelRegCheckIsAge', String(year - 60), true],
      ['OrvelRegCheckIsAge', String(year - 17), false], ['OrvelRegCheckIsAge', String(year - 61), false],
      ['OrvelRegCheckIsValidTrueName', ' 张三 ', false], ['OrvelRegCheckIsValidTrueName', 'JOHN 张', false],
      ['OrvelRegCheckIsValidTrueName', 'john', true],
      ['OrvelRegCheckIsChinese', '张三', true], ['OrvelRegCheckIsChinese', '张3', false],
      ['OrvelRegCheckValidPasswd', 'abc123', true], ['OrvelRegCheckValidPasswd', 'abc12', false],
      ['OrvelRegCheckValidPasswd', 'abc密码123', false], ['OrvelRegCheckValidPasswd', 'a'.repeat(17), false],
      ['OrvelRegCheckIsNull', '', true], ['OrvelRegCheckIsNull', '   ', true], ['OrvelRegCheckIsNull', ' a', false],
      ['OrvelRegCheckIsIP', '192.168.0.255', true], ['OrvelRegCheckIsIP', '192.168.0.256', false],
      ['OrvelRegCheckIsIP', '1.2.3', false], ['OrvelRegCheckIsIP', '', false],
    ];
    for (const [fn, arg, expected] of cases)
      assert.strictEqual(await page.evaluate(([fn, arg]) => window[fn](arg), [fn, arg]), expected, fn + '(' + arg + ')');
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(KeyboardNavigation, EnterAndArrowsMoveBetweenInputs) {
  ARENIX_BROWSER_TEST();
  ArenixCls cls;
  NodeRun run = RunOnPage(
      "<body>" + Utf8(cls.CommScriptOnKeyDownDefault()) +
          "<form name=myform onsubmit='window.submitted=(window.submitted||0)+1;return false'>"
          "<input id=a onkeydown='return onKeyDownDefault(this)'>"
          "<input type=hidden id=h>"
          "<input id=b type=number onkeydown='return onKeyDownDefault(this)'>"
          "<textarea id=t onkeydown='return onKeyDownDefault(this)'></textarea>"
          "<input id=c value=xyz onkeydown='return onKeyDownDefault(this)'></form></body>",
      R"(
    const focused = () => page.evaluate(() => document.activeElement.id);
    await page.focus('#a');
    await page.keyboard.press('Enter');
    assert.strictEqual(await focused(), 'b');
    await page.keyboard.press('ArrowDown');
    assert.strictEqual(await focused(), 'b');
    await page.keyboard.press('Enter');
    assert.strictEqual(await focused(), 'c');
    assert.deepStrictEqual(await page.evaluate(() => [document.activeElement.selectionStart, document.activeElement.selectionEnd]), [0, 3]);
    await page.keyboard.press('Enter');
    assert.strictEqual(await focused(), 'a');
    await page.keyboard.press('Shift+Enter');
    assert.strictEqual(await focused(), 'a');
    await page.keyboard.press('ArrowDown');
    assert.strictEqual(await focused(), 'b');
    await page.focus('#c');
    await page.keyboard.press('ArrowUp');
    assert.strictEqual(await focused(), 'b');
    await page.focus('#t');
    await page.keyboard.press('Enter');
    assert.strictEqual(await focused(), 't');
    await page.focus('#a');
    await page.keyboard.press('Control+Enter');
    assert.strictEqual(await page.evaluate(() => window.submitted), 1);
    assert.deepStrictEqual(await page.evaluate(() => [IsDigit(), IsDigitAndSign()]), [false, false]);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

}  // namespace
}  // namespace arenix::testing
