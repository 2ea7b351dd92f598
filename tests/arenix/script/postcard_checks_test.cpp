// The browser's identity-number check against the server's, number by
// number and level by level, and the two helpers built on it.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "arenix/check/postcard.h"
#include "arenix/frame/arenix_cls.h"
#include "automation/clock.h"
#include "automation/runtime.h"
#include "emit_browser.h"

namespace arenix::testing {
namespace {

using automation::Text;

Text WithCheck(const Text& body17) { return body17 + check::PostcardCheckCharacter(body17); }

std::string Digits(int value, int width) {
  std::string s = std::to_string(value);
  return std::string(width - s.size(), '0') + s;
}

// Numbers around every rule: lengths, digits, real and unreal dates, dates
// after today and too long ago, both number lengths, the check character.
std::vector<Text> Numbers() {
  const automation::DateParts today = automation::SplitDate(automation::Now());
  const Text today8 = automation::FromUtf8(Digits(today.year, 4) + Digits(today.month, 2) + Digits(today.day, 2));
  const Text next_year = automation::FromUtf8(Digits(today.year + 1, 4)) + u"0101";
  const Text oldest = automation::FromUtf8(Digits(today.year - 140, 4)) + u"0101";
  const Text too_old = automation::FromUtf8(Digits(today.year - 141, 4)) + u"1231";
  std::vector<Text> numbers;
  for (const Text& date : {Text(u"19491231"), Text(u"19490231"), Text(u"20230229"), Text(u"20240229"),
                           Text(u"19000229"), Text(u"20000229"), Text(u"19990431"), Text(u"19991301"),
                           Text(u"19990100"), today8, next_year, oldest, too_old}) {
    const Text body = u"110105" + date + u"002";
    numbers.push_back(WithCheck(body));
    Text wrong = WithCheck(body);
    wrong.back() = wrong.back() == u'1' ? u'2' : u'1';
    numbers.push_back(wrong);
  }
  numbers.insert(numbers.end(), {
      u"110105491231002",   // 1949-12-31
      u"110105490231002",   // 31 February
      u"110105880101123",   // 1988-01-01: read from characters 7 to 14 it would be year 8801
      u"110105000229123",   // 1900-02-29 does not exist
      u"110105960229123",   // 1996-02-29
      u"11010549123100X",   // a letter in a 15-character number
      u"1101054912310",     // 13 characters
      u"11010519491231002",  // 17 characters
      u"1101051949123100211",  // 19 characters
      u"1101051949123A0021",   // a letter in the body
      u"",
  });
  return numbers;
}

TEST(PostcardChecks, BrowserAgreesWithTheServerAtEveryLevel) {
  ARENIX_BROWSER_TEST();
  ArenixCls cls;
  std::string table = "[";
  int accepted = 0, refused = 0;
  for (const Text& number : Numbers()) {
    for (int level = 1; level <= 4; ++level) {
      const bool server = check::CheckPostCard(number, static_cast<int16_t>(level), 0, u"", u"").empty();
      (server ? accepted : refused)++;
      table += "['" + Utf8(number) + "'," + std::to_string(level) + "," + (server ? "true" : "false") + "],";
    }
  }
  table += "]";
  ASSERT_GT(accepted, 20);
  ASSERT_GT(refused, 20);
  NodeRun run = RunOnPage("<body>" + Utf8(cls.CommScriptCheckPostCard()) + "</body>", R"(
    const table = )" + table + R"(;
    const wrong = [];
    for (const [number, level, server] of table) {
      const browser = await page.evaluate(([n, l]) => isIdCardNo(null, n, l, 0), [number, level]);
      if (browser !== server) wrong.push(number + ' level ' + level + ': server ' + server + ', browser ' + browser);
    }
    assert.deepStrictEqual(wrong, []);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(PostcardChecks, MessagesAndTheCorrectedCheckCharacter) {
  ARENIX_BROWSER_TEST();
  ArenixCls cls;
  const Text good = WithCheck(u"11010519491231002");
  Text bad = good;
  bad.back() = bad.back() == u'1' ? u'2' : u'1';
  NodeRun run = RunOnPage(
      "<body>" + Utf8(cls.CommScriptCheckPostCard()) + "<form name=myform><input name=sfz></form></body>",
      R"(
    const check = (n, level, auto) => page.evaluate(([n, level, auto]) =>
        isIdCardNo(document.myform.sfz, n, level, auto), [n, level, auto]);
    assert.strictEqual(await check('12345', 2, 0), false);
    assert.strictEqual(await check('11010519491231A002', 2, 0), false);
    assert.strictEqual(await check('110105194902310020', 3, 0), false);
    assert.strictEqual(await check('110105490231002', 3, 0), false);
    assert.strictEqual(await check(')" + Utf8(bad) + R"(', 4, 1), false);
    assert.strictEqual(await page.evaluate(() => document.myform.sfz.value), ')" + Utf8(good) + R"(');
    assert.strictEqual(await check(')" + Utf8(good) + R"('.toLowerCase(), 4, 0), true);
    assert.deepStrictEqual(dialogs, ['输入身份证号码长度不对！', '错误的身份证号码！.', '身份证中日期信息不正确！.',
                                     '身份证日期信息有误！.', '身份证效验位错误!正确为： )" + Utf8(Text(1, good.back())) + R"(.']);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(PostcardChecks, RangeAndSubstituteNumbers) {
  ARENIX_BROWSER_TEST();
  ArenixCls cls;
  const Text good = WithCheck(u"11010519900615002");
  NodeRun run = RunOnPage(
      "<body>" + Utf8(cls.CommScriptCheckPostCard()) + "<input id=sfz></body>",
      R"(
    const range = (...args) => page.evaluate((args) => CheckIdCardRange('sfz', ...args), args);
    const n = ')" + Utf8(good) + R"(';
    const age = new Date().getFullYear() - 1990;
    assert.strictEqual(await range(n, 4, 0, age, '', ''), true);
    assert.strictEqual(await range(n, 4, 0, age - 1, '', ''), false);
    assert.strictEqual(await range(n, 4, 0, 0, '19900616', ''), false);
    assert.strictEqual(await range(n, 4, 0, 0, '', '19900614'), false);
    assert.strictEqual(await range(n, 4, 0, 0, '19900615', '19900615'), true);
    assert.strictEqual(await range('110105900615002', 3, 0, 0, '19900101', '19901231'), true);
    assert.deepStrictEqual(dialogs, ['超出了最大岁数[' + (age - 1) + ']！', '出生年月范围为[19900616-]！',
                                     '出生年月范围为[-19900614]！']);
    const made = [];
    for (const sex of ['男', '女', '男', '女']) {
      await page.evaluate((sex) => { sfz.value = ''; create_postcard('sfz', '2001-02-03', sex); }, sex);
      made.push(await page.evaluate(() => sfz.value));
    }
    for (const bad of [['2001-02-30', '男'], ['', '男'], ['2001-02-03', '未知'], ['2001-02-03', '']]) {
      await page.evaluate((bad) => { sfz.value = ''; create_postcard('sfz', bad[0], bad[1]); }, bad);
      assert.strictEqual(await page.evaluate(() => sfz.value), '', bad.join(' '));
    }
    console.log('MADE ' + made.join(' '));
  )");
  ASSERT_EQ(run.status, 0) << run.output;
  // Each substitute number passes the server's strictest check and tells
  // the sex it was made for.
  const size_t at = run.output.find("MADE ");
  ASSERT_NE(at, std::string::npos);
  const std::vector<Text> made = automation::Split(automation::FromUtf8(run.output.substr(at + 5, 18 * 4 + 3)), u" ");
  ASSERT_EQ(made.size(), 4u);
  for (size_t i = 0; i < made.size(); ++i) {
    SCOPED_TRACE(Utf8(made[i]));
    EXPECT_EQ(made[i].substr(0, 2), u"99");
    EXPECT_EQ(made[i].substr(6, 8), u"20010203");
    EXPECT_EQ(check::CheckPostCard(made[i], 4, 0, u"", u""), u"");
    EXPECT_EQ(check::SexFromPostcard(made[i]), i % 2 == 0 ? u"男" : u"女");
  }
}

}  // namespace
}  // namespace arenix::testing
