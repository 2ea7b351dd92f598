// A page built from the login desktop, a titled box, the calendar and the
// tab set, opened in headless Chromium: the tabs switch, the calendar's
// links and marks are there, the login input has the focus; a screenshot
// is kept for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "arenix/frame/arenix_cls.h"
#include "automation/clock.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "data/data.h"
#include "host/memory_host.h"
#include "support/node.h"

namespace arenix::show {
namespace {

namespace fs = std::filesystem;
using arenix::testing::ArtifactDir;
using arenix::testing::RunNode;
using arenix::testing::WriteTempFile;

std::string PageText() {
  RegisterClasses();
  fs::path folder = fs::temp_directory_path() / ("arenix_frames_page_" + std::to_string(std::random_device{}()));
  fs::create_directories(folder);
  automation::ScopedClock clock(automation::DateSerial(2013, 1, 20), std::nullopt);
  ArenixCls cls;
  Variant conn(automation::CreateObject(u"Adodb.Connection"));
  auto& c = automation::ObjectCast<data::Connection>(conn);
  c.Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(folder.string()));
  c.Execute(u"CREATE TABLE news FREE (DateAndTim C(14))");
  for (const char16_t* d : {u"20130103080000", u"20130105090000", u"20130118100000"})
    c.Execute(u"INSERT INTO news (DateAndTim) VALUES ('" + Text(d) + u"')");
  Variant rs(automation::CreateObject(u"Adodb.RecordSet"));
  auto req = std::make_shared<host::MemoryRequest>();
  req->SetQueryString(u"date=20130105");
  Variant request{automation::ObjectPtr(req)};
  Text calendar = cls.CommShowCalendar(request, conn, rs, u"news", u"", u"", u"#EEEEEE", u"#AAAAAA",
                                       u"Pink", u"#DDDDDD", u"Yellow", u"#DD9999", u"blue");
  c.Close();
  fs::remove_all(folder);

  automation::Array titles, contents;
  titles.items = {Variant(u"男子组"), Variant(u"女子组"), Variant(u"团体")};
  contents.items = {Variant(u"<li>100米 决赛</li><li>跳远</li>"), Variant(u"<li>800米 预赛</li>"),
                    Variant(u"<li>4×100米接力</li>")};
  Variant t(titles), k(contents);
  Text tabs = cls.CommShowTabAndContent(u"", t, k, u"97%", u"120");

  Text box = cls.CommShowBox(u"赛事公告", u"开幕式于上午八点开始。<br>请各代表队准时入场。", u"#b5b6b5",
                             u"#ffffff", u"#f7f7f7", u"#000000", u"right", u"../comm/image/orvel_line.asp");
  Variant none_c(u""), none_r(u"");
  Text desktop = cls.CommShowLoginDesktop(
      none_c, none_r, u"", u"实验中学第十届田径运动会", u"login.asp",
      cls.CommShowLoginInput(u"用户名", u"username", u"text", true, u"", u"请输入用户名", u"") +
          cls.CommShowLoginInput(u"密  码", u"password", u"password", true, u"", u"", u"") +
          cls.CommShowLoginButtons(true, u"网络功能尚未开启"),
      u"");
  return "<html><head><meta charset=utf-8><title>frames</title></head><body>"
         "<table width='100%'><tr><td width='50%' valign=top>" + automation::ToUtf8(desktop) +
         "</td><td valign=top>" + automation::ToUtf8(box) + "<div style='width:280px'>" +
         automation::ToUtf8(calendar) + "</div></td></tr></table>" + automation::ToUtf8(tabs) +
         "</body></html>";
}

TEST(FramesBrowser, DesktopBoxCalendarAndTabsInChromium) {
  ARENIX_BROWSER_TEST();
  std::string page = WriteTempFile(PageText(), ".html");
  std::string dir = ArtifactDir("frames");
  std::string driver = WriteTempFile(
      "const { withPage } = require('arenix_browser');\n"
      "function expect(ok, what) { if (!ok) throw new Error(what); }\n"
      "withPage(async (page) => {\n"
      "  await page.setViewportSize({ width: 1100, height: 900 });\n"
      "  await page.goto('file://" + page + "');\n"
      "  const shown = async (i) => page.isVisible('#dTabcontent_' + i);\n"
      "  const cls = async (i) => page.getAttribute('#sTabmenu_' + i, 'class');\n"
      "  expect(await shown(0) && !(await shown(1)) && !(await shown(2)), 'first pane shown at start');\n"
      "  expect((await cls(0)) === 'current', 'first tab current at start');\n"
      "  expect(await page.evaluate(() => document.activeElement && document.activeElement.name) === 'username',\n"
      "         'the user name input has the focus');\n"
      "  await page.screenshot({ path: '" + dir + "/page_first_tab.png', fullPage: true });\n"
      "  await page.click('#sTabmenu_2');\n"
      "  expect(!(await shown(0)) && await shown(2), 'third pane shown after its tab is clicked');\n"
      "  expect((await cls(2)) === 'current' && (await cls(0)) === '', 'third tab current');\n"
      "  expect((await page.textContent('#dTabcontent_2')).includes('接力'), 'third pane text');\n"
      "  await page.click('#sTabmenu_1');\n"
      "  expect(await shown(1) && !(await shown(2)), 'second pane shown');\n"
      "  expect(await page.isVisible('a[href=\"?date=20130103\"]'), 'linked day 3');\n"
      "  expect(await page.isVisible('a[href=\"?date=20130118\"]'), 'linked day 18');\n"
      "  expect(await page.getAttribute('a[href=\"?date=20130105\"] >> xpath=..', 'bgcolor') === 'Yellow',\n"
      "         'chosen day marked');\n"
      "  expect((await page.textContent('body')).includes('赛事公告'), 'box title');\n"
      "  await page.screenshot({ path: '" + dir + "/page_second_tab.png', fullPage: true });\n"
      "});\n",
      ".js");
  auto run = RunNode({driver});
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(fs::exists(dir + "/page_second_tab.png"));
  fs::remove(page);
  fs::remove(driver);
}

}  // namespace
}  // namespace arenix::show
