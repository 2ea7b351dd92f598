// Title blocks and bars: the page title, the title bars and the titled
// single line, in their current and older forms.
#include <gtest/gtest.h>

#include "frames_expect.h"
#include "list_call.h"

namespace arenix::show {
namespace {

using testing::ListCallText;

using testing::kCloser;

std::string Spacer(const std::string& h) {
  return "<table cellspacing=0 cellpadding=0 border=0 width='100%'><tr height=" + h +
         "><td></td></tr></table>";
}

const std::string kPrint =
    "&nbsp;&nbsp;<a href='javascript:window.print()'><img src='../comm/image/orvel_printer.asp' "
    "width='16' height='14' border='0' title='打印本页'";

TEST(FramesTitle, TitleTopWithEveryButton) {
  std::string logout = "&nbsp;&nbsp;<a href=# onclick=\"if(confirm('真的要退出【Meetora[运动会管理系统 "
                       "版权所有]】吗？')==false) {return false;}else{document.location.href='../comm/"
                       "logout.asp";
  std::string quit = "';}\"><img src='../comm/image/orvel_quit.asp' border='0' title='安全退出'></a>";
  std::string head = Spacer("5") +
                     "<table cellspacing=0 cellpadding=0 border=0 width='760' align=center>"
                     "<tr><td align=center width='100%'><font class=dddfont5>〖实验中学〗Meetora</font>"
                     "</td></tr><tr><td align=right width='100%'><a href='o.asp'>其他</a>";
  std::string tail = "</td></tr><tr><td align=center width='100%'><font class=dddfont1>成绩册</font>"
                     "</td></tr></table>" + Spacer("16");
  EXPECT_EQ(ListCallText(u"CommShowTitleTop",
                         {Variant(u"实验中学"), Variant(u"成绩册"), Variant(u"excel.asp?t=1"),
                          Variant(int16_t{1}), Variant(int16_t{1}), Variant(u"760"),
                          Variant(u"<a href='o.asp'>其他</a>"), Variant(u"../index.asp")}),
            head +
                "<a href=\"excel.asp?t=1\" onclick='return openwindow_resizable(this.href,800,600);'>"
                "<img src='../comm/image/orvel_excel.asp' border=0  title='导出至excel'></a>" +
                kPrint + "></a>" + logout + "?GoUrl=../index.asp" + quit + tail);
  // Neither button, and a blank log-out address adds no GoUrl.
  EXPECT_EQ(ListCallText(u"CommShowTitleTop",
                         {Variant(u"实验中学"), Variant(u"成绩册"), Variant(u"excel.asp"),
                          Variant(int16_t{0}), Variant(int16_t{2}), Variant(u"760"),
                          Variant(u"<a href='o.asp'>其他</a>"), Variant(u"  ")}),
            head + logout + quit + tail);
}

TEST(FramesTitle, TitleHeaderChoosesDialogOrWindowCloseAndPrint) {
  const std::string open = "<table cellspacing=0 cellpadding=0 width='90%' border=0 align=center "
                           "height='30'><tr><td nowrap class=toptitle align=center ";
  const std::string image = "<img src='../comm/image/orvel_close.asp' border=0 title='关闭' "
                            "class=no-print></a>";
  const std::string dialog_link =
      "&nbsp;&nbsp;<a href='javascript:void(0);' onclick='var d=parent.document."
      "getElementsByClassName(\"dialog\");for(var i=d.length-1;i>=0;i--){if(d[i].open)"
      "{d[i].close();break;}}return false;' title='关闭'>" + image;
  const std::string window_link = "&nbsp;&nbsp;<a href=# onclick='" + kCloser + "' title='关闭'>" + image;
  struct Case {
    const char16_t* add;
    const char16_t* other;
    std::string expected;
  } cases[] = {
      {u"", u"", open + " width='100%'>报名表</td></tr></table>"},
      {u"closeDialog,print", u"",
       open + " width='100%'>报名表" + dialog_link + kPrint + " class=no-print></td></tr></table>"},
      {u"close", u"<b>右</b>",
       open + " width='90%'>报名表" + window_link + "</td><td width='10%'><b>右</b></td></tr></table>"},
      {u"print", u"   ", open + " width='100%'>报名表" + kPrint + " class=no-print></td></tr></table>"},
      {u"CLOSE", u"", open + " width='100%'>报名表</td></tr></table>"},  // the words are case-sensitive
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(automation::ToUtf8(c.add));
    EXPECT_EQ(ListCallText(u"CommShowTitleHeader", {Variant(u"报名表"), Variant(c.add), Variant(c.other)}),
              c.expected);
  }
}

TEST(FramesTitle, Header2IsTheOlderBar) {
  const std::string open = "<table cellspacing=0 cellpadding=0 width='90%' border=0 align=center "
                           "height='30'><tr><td nowrap class=toptitle align=center width='90%'>";
  EXPECT_EQ(ListCallText(u"CommShowHeader2", {Variant(u"标题"), Variant(u"closeDialog print"), Variant(u"")}),
            open + "标题&nbsp;&nbsp;<a href=# onclick='" + kCloser +
                "' title='关闭'><img src='../comm/image/orvel_close.asp' border=0 title='关闭'></a>" +
                kPrint + "></td><td width='10%'></td></tr></table>");
}

TEST(FramesTitle, TitleSingleAndHeader1AreOneSearchFrameLine) {
  const std::string frame = "<table class=Content_border cellpadding=0 cellspacing=1 boarder=0 width='";
  for (const char16_t* method : {u"CommShowTitleSingle", u"CommShowHeader1"}) {
    SCOPED_TRACE(automation::ToUtf8(method));
    EXPECT_EQ(ListCallText(method, {Variant(u"98%"), Variant(u"参赛名单"), Variant(u"甲组")}),
              frame + "98%' align=center><tr align=center><td class='searchbg'>【甲组】&nbsp;&nbsp;"
                      "参赛名单</td></tr></table>");
    EXPECT_EQ(ListCallText(method, {Variant(u""), Variant(u"参赛名单"), Variant(u"")}),
              frame + "100%' align=center><tr align=center><td class='searchbg'>参赛名单</td></tr></table>");
  }
}

TEST(FramesTitle, HeaderIsTheOlderPageTitle) {
  std::string text = ListCallText(u"CommShowHeader",
                                  {Variant(u"秩序册"), Variant(u"x.asp"), Variant(int16_t{1}),
                                   Variant(int16_t{1}), Variant(int16_t{700}), Variant(u"")});
  std::string maker_start = "<table cellspacing=0 cellpadding=0 border=0 width='700' align=center><tr>"
                            "<td align=center width='90%'><br><font class=dddfont5>〖";
  ASSERT_EQ(text.rfind(maker_start, 0), 0u) << text;
  size_t after = text.find("〗Arenix</font><br><br><font class=dddfont1>秩序册</font></td>"
                           "<td width='10%'><a href=\"x.asp\" onclick='return OpenWindowResize"
                           "(this.href,800,600);'><img src='../orvel/image/orvel_excel.asp' border=0  "
                           "title='导出至excel'></a>&nbsp;&nbsp;<a href='javascript:window.print()'>"
                           "<img src='../orvel/image/orvel_printer.asp' width='16' height='14' "
                           "border='0' title='打印本页'></a>&nbsp;&nbsp;<a href=# onclick=\"if(confirm"
                           "('真的要退出【Arenix】吗？')==false) {return false;}else{document.location."
                           "href='../orvel/orvel_logout.asp';}\"><img src='../orvel/image/orvel_quit.asp' "
                           "border='0' title='安全退出'></td></tr></table>" + Spacer("16"));
  EXPECT_NE(after, std::string::npos) << text;
  EXPECT_GT(after, maker_start.size());  // the maker's name stands between the brackets
}

}  // namespace
}  // namespace arenix::show
