// The site's SVG script redraws the four chart kinds of a page in headless
// Chromium. The page is kept as build/artifacts/charts/sample.html, with
// screenshots beside it.
#include <gtest/gtest.h>

#include <fstream>

#include "arenix/frame/arenix_cls.h"
#include "arenix/script/emit_browser.h"
#include "chart_table.h"

namespace arenix::testing {
namespace {

using automation::Text;
using automation::Variant;

Variant T(const char16_t* s) { return Variant(Text(s)); }

std::string SamplePage() {
  ArenixCls cls;
  Variant bars = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 42.0, T(u"一中")}, {T(u""), 35.0, T(u"实小")},
                             {T(u""), 58.0, T(u"体校")}});
  Variant bars4 = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 12.0, T(u"甲")}, {T(u""), 27.0, T(u"乙")},
                              {T(u""), 8.0, T(u"丙")}, {T(u""), 19.0, T(u"丁")}});
  Variant lines = ChartTable({{T(u""), T(u"red,2pt,3,2,男子"), T(u"#0000ff,1pt,1,3,女子")},
                              {T(u"第一轮"), 12.0, 10.0}, {T(u"第二轮"), 18.0, 14.0}, {T(u"第三轮"), 25.0, 16.0},
                              {T(u"决赛"), 31.0, 22.0}});
  Variant pie = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 5.0, T(u"金牌")}, {T(u""), 8.0, T(u"银牌")},
                            {T(u""), 3.0, T(u"铜牌")}, {T(u""), 6.0, T(u"第四")}, {T(u""), 2.0, T(u"第五")}});
  Variant pie3 = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 1.0, T(u"男")}, {T(u""), 2.0, T(u"女")},
                             {T(u""), 1.0, T(u"混合")}});
  Variant curves = ChartTable({{T(u""), T(u"3月,4月,5月,6月"), T(u"")}, {T(u""), T(u"10,20,30,25"), T(u"甲队")},
                               {T(u""), T(u"5,15,12,28"), T(u"乙队")}, {T(u""), T(u"8,9,20,14"), T(u"丙队")}});
  const Text page = cls.CommTableChartHeader() + cls.CommTableChart1(bars, 0, u"10", 10, 30, 300, 200, u"A") +
                    cls.CommTableChart1(bars4, 450, u"10", 8, 20, 300, 200, u"B") +
                    cls.CommTableChart2(lines, 0, u"300", 300, 200, 2) +
                    cls.CommTableChart3(pie, 450, u"300", 200, 200, u"A") +
                    cls.CommTableChart3(pie3, 100, u"560", 200, 200, u"B") +
                    cls.CommTableChart4(curves, 0, u"820", 600, 300, u"月度积分", u"月份", u"积分");
  return Utf8(page) + "<script src='file://" ARENIX_SOURCE_DIR "/site/comm/orvel_chart_svg.js'></script></body>";
}

TEST(ChartSvg, FourChartKindsBecomeSvgShapes) {
  ARENIX_BROWSER_TEST();
  const std::string page = SamplePage();
  std::ofstream(ArtifactDir("charts") + "/sample.html") << "<!doctype html><meta charset=utf-8>" << page;
  const std::string shots = ArtifactDir("charts");
  NodeRun run = RunOnPage(page, R"(
    await page.setViewportSize({ width: 1000, height: 1200 });
    const count = (selector) => page.$$eval('svg.orvel-chart-svg ' + selector, (els) => els.length);
    const visible = (selector) => page.$$eval('svg.orvel-chart-svg ' + selector,
        (els) => els.filter((e) => getComputedStyle(e).display != 'none').length);
    assert.strictEqual(await count('[data-kind=bar]'), 7);
    assert.strictEqual(await count('[data-kind=slice]'), 8);
    assert.strictEqual(await count('line[data-kind=line][stroke=red]'), 3);
    assert.strictEqual(await count('line[data-kind=line][stroke="#0000ff"]'), 3);
    assert.strictEqual(await count('line[data-kind=line][stroke=red][stroke-dasharray]'), 3);
    assert.strictEqual(await count('[data-kind=marker][fill=red]'), 4);
    assert.strictEqual(await count('[data-kind=curve]'), 9);
    assert.strictEqual(await visible('[data-kind=curve]'), 3);
    const texts = await page.$$eval('svg.orvel-chart-svg text', (els) => els.map((e) => e.textContent));
    for (const t of ['一中', '体校', '60', '男子', '女子', '33.33%', '女 50.00%', '月度积分', '丙队', '6月'])
      assert.ok(texts.includes(t), t + ' missing from ' + JSON.stringify(texts));
    // The first bar: green with the light green gradient, at the column's place.
    const bar = await page.$eval('svg.orvel-chart-svg [data-kind=bar]', (e) => [e.getAttribute('x'), e.getAttribute('y'), e.getAttribute('height')]);
    assert.deepStrictEqual(bar.map(Number), [105, 70, 140]);
    // The VML itself no longer shows.
    assert.strictEqual(await page.evaluate(() => getComputedStyle(document.getElementsByTagName('v:shape')[0]).display), 'none');
    await shot('../charts/sample');
    // Legend row 2 of the curve chart: hover shows series 2 instead of 1, a click keeps it.
    const legend = await page.$$('svg.orvel-chart-svg [data-kind=legend]');
    assert.strictEqual(legend.length, 3);
    await legend[1].hover();
    assert.strictEqual(await visible('[data-kind=curve][stroke="#ff0000"]'), 3);
    assert.strictEqual(await visible('[data-kind=curve][stroke="#00ff00"]'), 0);
    await shot('../charts/sample-hover');
    await legend[1].click();
    await page.mouse.move(5, 5);
    assert.strictEqual(await visible('[data-kind=curve][stroke="#ff0000"]'), 3);
    await legend[2].hover();
    await page.mouse.move(5, 5);
    assert.strictEqual(await visible('[data-kind=curve][stroke="#99cc00"]'), 0);
    assert.strictEqual(await visible('[data-kind=curve][stroke="#ff9900"]'), 0);
  )");
  EXPECT_EQ(run.status, 0) << run.output;
}

}  // namespace
}  // namespace arenix::testing
