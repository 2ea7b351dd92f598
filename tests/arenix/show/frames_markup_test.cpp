// Every fragment these renderers emit parses in a browser's HTML parser
// without errors other than those its fixed markup has on purpose, and
// every script in it (blocks, handlers, javascript: links) parses as
// JavaScript; the script blocks also pass node --check.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "arenix/show/box.h"
#include "arenix/show/button.h"
#include "arenix/show/desktop.h"
#include "arenix/show/dialog.h"
#include "arenix/show/message.h"
#include "arenix/show/page_frame.h"
#include "arenix/show/tabs.h"
#include "arenix/show/title.h"
#include "support/html_check.h"

namespace arenix::show {
namespace {

using arenix::testing::CheckHtml;
using arenix::testing::NodeCheck;

struct Fragment {
  std::string name;
  Text text;
  // Parse errors the fixed markup has by design, each with why.
  std::set<std::string> allowed;
};

std::vector<Fragment> Fragments() {
  automation::Array titles, contents;
  titles.items = {Variant(u"男子"), Variant(u"女子")};
  contents.items = {Variant(u"<li>甲</li>"), Variant(u"<li>乙</li>")};
  Variant none(u"");
  return {
      {"ShowSuccess", ShowSuccess(u"名称\"A\"\n</script>", u"list.asp"), {}},
      {"ShowSuccess close", ShowSuccess(u"ok", u"close"), {}},
      {"ShowMessage", ShowMessage(u"提示", u"内容", u"<a href='x.asp'>返回</a>"), {}},
      {"OpenerRefresh", OpenerRefresh(), {}},
      {"OpenerEditRefresh", OpenerEditRefresh(u"it's", 1), {}},
      {"DialogOpenerEditRefresh", DialogOpenerEditRefresh(u"好", 1, u""), {}},
      // The close link's address is an unquoted attribute holding the
      // close statements with their double quotes; browsers keep them.
      {"ShowForm", ShowForm(500, 300, u"<p>x</p>", true), {"unexpected-character-in-unquoted-attribute-value"}},
      {"ShowLogin", ShowLogin(u"<p>x</p>", u""), {"unexpected-character-in-unquoted-attribute-value"}},
      {"ShowAbout", ShowAbout(u"top.jpg"), {"unexpected-character-in-unquoted-attribute-value"}},
      {"ShowTitleTop", ShowTitleTop(u"单位", u"标题", u"e.asp", 1, 1, u"760", u"", u"../index.asp"), {}},
      // The print link is left open, so the cell closes it.
      {"ShowTitleHeader", ShowTitleHeader(u"标题", u"closeDialog,print", u"右"), {}},
      {"ShowTitleHeader close", ShowTitleHeader(u"标题", u"close", u""), {}},
      {"ShowHeader2", ShowHeader2(u"标题", u"close,print", u"右"), {}},
      {"ShowTitleSingle", ShowTitleSingle(u"98%", u"标题", u"内容"), {}},
      // The log-out link is left open.
      {"ShowHeader", ShowHeader(u"标题", u"e.asp", 1, 1, 700, u""), {}},
      {"ShowMenuMoveContent", ShowMenuMoveContent(300, 22, u"选择", 1, 1, u"<tr><td>x</td></tr>", u"visible", true, true),
       {}},
      // The opening of a table the page closes itself; its inner table
      // names the style attribute twice.
      {"ShowTableDouble", ShowTableDouble(u"", u"", u"", true, true) + u"<tr><td></td></tr></table></td></tr></table>",
       {"duplicate-attribute"}},
      {"ShowBox", ShowBox(u"标题", u"内容", BoxStyle{}), {}},
      {"ShowTab", ShowTab(u"#fff"), {}},
      {"ShowTabAndContent", ShowTabAndContent(u"", Variant(titles), Variant(contents), u"97%", u"360"), {}},
      {"ShowCopyRight", ShowCopyRight(none, none, 2, 1), {"missing-whitespace-between-attributes"}},
      {"ShowButton cancel", ShowButton({u"button", u"cancel", u"", u"", u"", u""}), {}},
      {"ShowLoginButtons", ShowLoginButtons(true, u""), {}},
      // name='username'class='login_input': no space between the two.
      {"ShowLoginInput", ShowLoginInput({}), {"missing-whitespace-between-attributes"}},
      {"ShowLoginDesktop",
       ShowLoginDesktop(none, none, u"", u"单位", u"login.asp", ShowLoginInput({}) + ShowLoginButtons(true, u""), u""),
       {"missing-whitespace-between-attributes"}},
      // src="", style=...: the comma stands where a space should.
      {"ShowDialogFrame", ShowDialogFrame(600, 400, true, u""), {"missing-whitespace-between-attributes"}},
      // aria-label="关闭"onClick=...: no space between the two.
      {"ShowDialogDivFrame", ShowDialogDivFrame(600, 400, true, u"pop"), {"missing-whitespace-between-attributes"}},
  };
}

TEST(FramesMarkup, FragmentsParseAndTheirScriptsAreJavaScript) {
  std::vector<Fragment> fragments = Fragments();
  std::vector<std::string> texts;
  for (const auto& f : fragments) texts.push_back(automation::ToUtf8(f.text));
  auto reports = CheckHtml(texts);
  ASSERT_EQ(reports.size(), fragments.size());
  for (size_t i = 0; i < fragments.size(); ++i) {
    SCOPED_TRACE(fragments[i].name);
    std::set<std::string> seen;
    for (const auto& e : reports[i].errors) {
      EXPECT_TRUE(fragments[i].allowed.count(e.code)) << e.code << " near: " << e.near;
      seen.insert(e.code);
    }
    EXPECT_EQ(seen, fragments[i].allowed);  // the list of intended errors is current
    for (const auto& s : reports[i].script_errors) ADD_FAILURE() << s;
  }
}

TEST(FramesMarkup, ScriptBlocksPassNodeCheck) {
  const std::regex block("<script[^>]*>([\\s\\S]*?)</script>", std::regex::icase);
  int checked = 0;
  for (const auto& f : Fragments()) {
    std::string text = automation::ToUtf8(f.text);
    for (std::sregex_iterator it(text.begin(), text.end(), block), end; it != end; ++it) {
      std::string code = (*it)[1];
      // The block may be wrapped in an HTML comment for old browsers.
      code = std::regex_replace(code, std::regex("^\\s*<!--"), "");
      code = std::regex_replace(code, std::regex("//\\s*-->\\s*$"), "");
      EXPECT_EQ(NodeCheck(code), "") << f.name;
      ++checked;
    }
  }
  EXPECT_GE(checked, 10);
}

}  // namespace
}  // namespace arenix::show
