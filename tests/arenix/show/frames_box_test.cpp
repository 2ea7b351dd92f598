// Boxes: the movable pop-up box, the framed double table, the titled box,
// and the tab strip.
#include <gtest/gtest.h>

#include "arenix/script/menus.h"
#include "list_call.h"

namespace arenix::show {
namespace {

using testing::ListCall;
using testing::ListCallText;
using automation::Array;

std::string Floater(const std::string& at, const std::string& visible) {
  return "<div id=\"floater\" style=\"position:absolute; width:300px; z-index:1; left:" + at +
         "px; top: " + at + "px; visibility: " + visible + "\">"
         "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" align=\"center\">"
         "<tr bgcolor=\"#000066\"><td height=18 align=center>"
         "<table width=\"100%\" border=\"1\" height=\"22\" cellpadding=\"0\" cellspacing=\"0\" "
         "style=\"border-collapse: collapse;cursor:move\" bordercolor=\"#111111\" align=center><tr>"
         "<td bgcolor=\"#9CDB73\" align=center><img src=\"../comm/image/orvel_ts.asp\" align=absmiddle> "
         "选择项目<a href=\"javascript:closeLoginForm()\"><img src=../comm/image/orvel_close.asp "
         "height=12 width=12 border=0 align=absmiddle title=\"关闭窗口\"></a></td></tr></table>"
         "<table bgcolor=#B5E4FB border=\"1\" cellpadding=\"0\" cellspacing=\"0\" "
         "style=\"border-collapse: collapse\" bordercolor=\"#111111\" width=\"300\" align=\"center\">"
         "<tr><td>100米</td></tr></table></td></tr></table></div>";
}

std::vector<Variant> MenuArgs(const char16_t* visible, bool move, bool expand) {
  return {Variant(int16_t{300}), Variant(int16_t{22}), Variant(u"选择项目"), Variant(uint8_t{1}),
          Variant(uint8_t{0}), Variant(u"<tr><td>100米</td></tr>"), Variant(visible), Variant(move),
          Variant(expand)};
}

TEST(FramesBox, MenuMoveContentPlacesTheBoxAndIncludesTheScriptsItUses) {
  const std::string menu = automation::ToUtf8(script::ScriptListMenu());
  const std::string move = automation::ToUtf8(script::ScriptListMenuMove());
  EXPECT_EQ(ListCallText(u"CommShowMenuMoveContent", MenuArgs(u"hidden", true, true)),
            "<div id=\"scroll1\"></div>" + menu + move +
                automation::ToUtf8(script::LoginFormScript(true, true)) + Floater("-1000", "hidden"));
  EXPECT_EQ(ListCallText(u"CommShowMenuMoveContent", MenuArgs(u"visible", false, true)),
            menu + automation::ToUtf8(script::LoginFormScript(false, true)) + Floater("0", "visible"));
  EXPECT_EQ(ListCallText(u"CommShowMenuMoveContent", MenuArgs(u"Hidden", true, false)),
            "<div id=\"scroll1\"></div>" + move + automation::ToUtf8(script::LoginFormScript(true, false)) +
                Floater("0", "Hidden"));
}

TEST(FramesBox, TableDoubleOpensTheFramedTable) {
  const std::string outer =
      "<table cellspacing='0' cellpadding='3' bordercolor='#3366cc' border='2' align=center  "
      "style='background-color:white;border-color:#3366cc;border-width:1px;border-style:none;width:";
  const std::string inner = "<table width='100%' border='1' cellpadding='0' cellspacing='0' height='40' "
                            "style='border-collapse: collapse' bordercolor='";
  struct Case {
    std::vector<Variant> args;
    std::string expected;
  } cases[] = {
      {{Variant(u""), Variant(u"")},
       outer + "100%;border-collapse:collapse;'><tr><td bgcolor='#EFE9EF'>" + inner +
           "#C0C0C0' bgcolor='#ffffff' style='table-layout: fixed;word-break:break-all'>"},
      {{Variant(u"760"), Variant(u"#FFFFFF"), Variant(u""), Variant(false), Variant(false)},
       inner + "#C0C0C0' bgcolor='#ffffff' style='word-break:break-all'>"},
      {{Variant(u"  "), Variant(u"red"), Variant(u"#000"), Variant(true), Variant(false)},
       outer + "100%;border-collapse:collapse;'><tr><td bgcolor='red'>" + inner +
           "#000' bgcolor='#ffffff' style='word-break:break-all'>"},
  };
  for (Case& c : cases) EXPECT_EQ(ListCallText(u"CommShowTableDouble", c.args), c.expected);
}

TEST(FramesBox, ShowBoxWithDefaultsAndGivenColours) {
  const std::string tail = "</font></div></td></tr></table><table cellspacing=0 cellpadding=0 width='99%' "
                           "border=0><tr><td><img height=8 src='";
  const std::string end = "' width=105></td></tr></table><table cellspacing=0 cellpadding=0 width='100%' "
                          "border=0><tr><td>&nbsp;</td></tr></table>";
  EXPECT_EQ(ListCallText(u"CommShowBox", {Variant(u"通知"), Variant(u"明天<b>开幕</b>")}),
            "<table cellspacing=5 cellpadding=0 width='95%' bgColor=#ffffff border=0 style='word-break: "
            "break-all;'><tr><td bgcolor='#b5b6b5' height=22><div align=right><span><span><strong>"
            "<font color='#ffffff'>通知</font></strong></span></span></div></td></tr><tr><td valign=top "
            "bgcolor='#f7f7f7'><div align=left><font color='#000000'>明天<b>开幕</b>" + tail +
                "../comm/image/orvel_line.asp" + end);
  EXPECT_EQ(ListCallText(u"CommShowBox", {Variant(u"T"), Variant(u"C"), Variant(u"#111"), Variant(u"#222"),
                                          Variant(u"#333"), Variant(u"#444"), Variant(u"left"),
                                          Variant(u"line.gif")}),
            "<table cellspacing=5 cellpadding=0 width='95%' bgColor=#ffffff border=0 style='word-break: "
            "break-all;'><tr><td bgcolor='#111' height=22><div align=left><span><span><strong>"
            "<font color='#222'>T</font></strong></span></span></div></td></tr><tr><td valign=top "
            "bgcolor='#333'><div align=left><font color='#444'>C" + tail + "line.gif" + end);
}

Variant Texts(std::vector<const char16_t*> items, int32_t lbound = 0) {
  Array a;
  a.lbound = lbound;
  for (const char16_t* t : items) a.items.emplace_back(t);
  return Variant(std::move(a));
}

TEST(FramesTabs, TabAndContentMakesOneTabAndPanePerText) {
  std::string style_and_script = ListCallText(u"CommShowTab", {Variant(u"#fafafa")});
  EXPECT_NE(style_and_script.find("background:#fafafa;"), std::string::npos);
  EXPECT_NE(style_and_script.find("function showBlockTabN(iTabnum, iTabcnt)"), std::string::npos);
  EXPECT_EQ(ListCallText(u"CommShowTab", {}).find("background:#"), std::string::npos);

  std::string text = ListCallText(
      u"CommShowTabAndContent",
      {Variant(u"#fafafa"), Texts({u"男子", u"女子", u"团体"}, 1), Texts({u"<li>甲</li>", u"<li>乙</li>", u"<li>丙</li>"}),
       Variant(u"95%"), Variant(u"200")});
  auto pane = [](const std::string& i, const std::string& hidden, const std::string& content) {
    return "<div id='dTabcontent_" + i + "'" + hidden +
           "><ul class=newsfield><table cellSpacing=0 cellPadding=0 width='95%' border=0 "
           "bgcolor=#eeeeff><tr><td valign=top align=left width='100%'><div style='height:200px;"
           "overflow-y:auto;'><ul class=newsfield>" + content + "</ul></div></td></tr></table></ul></div>";
  };
  EXPECT_EQ(text,
            style_and_script +
                "<div id=contentwrapper><div class=Tab_Content><ul>"
                "<li><a class=current  id='sTabmenu_0' onmouseover='showBlockTabN(0, 3);'><div class=textwrap>男子</div></a>"
                "<li><a  id='sTabmenu_1' onmouseover='showBlockTabN(1, 3);'><div class=textwrap>女子</div></a>"
                "<li><a  id='sTabmenu_2' onmouseover='showBlockTabN(2, 3);'><div class=textwrap>团体</div></a>"
                "</li></ul></div><div class=Tab_Title>" +
                pane("0", "", "<li>甲</li>") + pane("1", " style='display:none'", "<li>乙</li>") +
                pane("2", " style='display:none'", "<li>丙</li>") + "</div></div>");

  // Without arrays the call fails and returns nothing.
  for (std::vector<Variant> args : {std::vector<Variant>{Variant(u"")},
                                    std::vector<Variant>{Variant(u""), Texts({u"a"}), Variant(u"x")}}) {
    try {
      ListCall(u"CommShowTabAndContent", args);
      ADD_FAILURE() << "no error";
    } catch (const automation::Error& e) {
      EXPECT_EQ(e.number(), 13);
    }
  }
}

}  // namespace
}  // namespace arenix::show
