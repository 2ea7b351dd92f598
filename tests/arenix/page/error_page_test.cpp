// The error page: its three close behaviours, the closing of the page's
// data, and the end of the response.
#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "arenix/page/error_page.h"
#include "arenix/page/product.h"
#include "arenix/page/window_scripts.h"
#include "data/data.h"
#include "host/memory_host.h"

namespace {

using automation::Text;
using automation::Variant;

// The page as the error page is specified, step by step, with the two
// button scripts and the optional base element left open.
Text ExpectedPage(const Text& base, const Text& close_js, const Text& return_js, const Text& message) {
  const Text title = arenix::kProductTitle;
  return arenix::page::ScriptSwapImage() + base + u"<title>" + title + u"</title>" +
         u"<body bgcolor='#FFFFFF' leftmargin='0' topmargin='0' "
         u"onload=OrvelPreloadImages('../Comm/Image/Orvel_Error_ButtonClose2.asp','../Comm/Image/"
         u"Orvel_Error_ButtonReturn2.asp')>"
         u"<table height='100%' cellspacing=0 cellpadding=0 width='100%' border=0><tr><td height='60%'>"
         u"<table class=body cellspacing=0 cellpadding=0 width=400 align=center "
         u"background='../Comm/Image/Orvel_Error_TopBg.asp' border=0><tr>"
         u"<td width=10 height=23><img height=23 src='../Comm/Image/Orvel_Error_TopLeft.asp' width=24 "
         u"border=0></td>"
         u"<td width=348 height=23>&nbsp;<FONT face='Arial, Helvetica, sans-serif' color=#000000 "
         u"style='font-size:9pt;'>" +
         title +
         u"</FONT></td>"
         u"<td vAlign=baseline width=37 height=23 align=right>"
         u"<a onmouseover=OrvelSwapImage('close','','../Comm/Image/Orvel_Error_ButtonClose2.asp',1) "
         u"onmouseout=OrvelSwapImgRestore()"
         u" href=\"JavaScript:" +
         close_js +
         u"\">"
         u"<img height=18 src='../Comm/Image/Orvel_Error_ButtonClose1.asp' width=15 border=0 "
         u"name=close></a></td>"
         u"<td width=5 height=23><img height=23 src='../Comm/Image/Orvel_Error_TopRight.asp' width=5 "
         u"border=0 name=errr1_c4></td></tr></table>"
         u"<table class=body cellspacing=0 cellpadding=0 width=400 align=center border=0 "
         u"height=100><tr vAlign=bottom><td background='../Comm/Image/Orvel_Error_Bg.asp' height=100>"
         u"<blockquote><div id=base><font style='font-size:9pt;'><br><br>出错原因："
         u"<ul><li>&nbsp;&nbsp;&nbsp;&nbsp;对不起，" +
         message +
         u"</ul>"
         u"<br><br></font></div></blockquote>"
         u"<P align=center><a "
         u"onmouseover=OrvelSwapImage('back','','../Comm/Image/Orvel_Error_ButtonReturn2.asp',1) "
         u"onmouseout=OrvelSwapImgRestore() "
         u" href=\"JavaScript:" +
         return_js +
         u"\">"
         u"<img height=20 src='../Comm/Image/Orvel_Error_ButtonReturn1.asp' width=73 border=0 "
         u"name=back></a></td></tr>"
         u"<tr><td height=2><img height=5 src='../Comm/Image/Orvel_Error_Bottom.asp' "
         u"width=400></td></tr></table></td></tr></table>";
}

const Text kCloser =
    u"window.opener=null;window.open(\"\",\"_self\");window.close();"
    u"window.top.open(\"\",\"_top\").close();parent.close();";

// The same statements inside the buttons' href="JavaScript:..." attribute,
// where double quotes would end it.
const Text kCloserInAttribute =
    u"window.opener=null;window.open('','_self');window.close();"
    u"window.top.open('','_top').close();parent.close();";

TEST(ErrorPageTest, ThreeCloseBehavioursByteForByte) {
  struct Case {
    bool close_parent;
    Text dialog;
    Text base, close_js, return_js;
  } cases[] = {
      {false, u"", u"", u" history.back();", u"window.history.back();"},
      {false, u"   ", u"", u" history.back();", u"window.history.back();"},
      {true, u"", u"<head><base target=\"_self\"></head>", kCloserInAttribute, kCloserInAttribute},
      {true, u"dlg1", u"", u" window.parent.document.getElementById('dlg1').close();",
       u" window.parent.document.getElementById('dlg1').close();"},
      {false, u"dlg2", u"", u" window.parent.document.getElementById('dlg2').close();",
       u" window.parent.document.getElementById('dlg2').close();"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(arenix::page::ErrorPageText(u"参数错误!", c.close_parent, c.dialog),
              ExpectedPage(c.base, c.close_js, c.return_js, u"参数错误!"))
        << "close_parent=" << c.close_parent << " dialog='" << automation::ToUtf8(c.dialog) << "'";
  }
}

TEST(ErrorPageTest, WritesOnceEndsAndDropsLaterWrites) {
  auto response = std::make_shared<host::MemoryResponse>();
  Variant resp{automation::ObjectPtr(response)}, rs(u""), conn(u"  ");
  arenix::page::WriteErrorPage(resp, rs, conn, u"<b>raw</b>", false, u"");
  EXPECT_TRUE(response->ended());
  EXPECT_EQ(response->text(), arenix::page::ErrorPageText(u"<b>raw</b>", false, u""));
  EXPECT_EQ(rs, Variant(u""));  // empty text: nothing to close, left alone
  EXPECT_EQ(conn, Variant(u"  "));
  response->Write(u"page goes on");
  EXPECT_EQ(response->text(), arenix::page::ErrorPageText(u"<b>raw</b>", false, u""));
}

TEST(ErrorPageTest, ResponseMustBeAResponseObject) {
  Variant not_response(u"x"), rs, conn;
  try {
    arenix::page::WriteErrorPage(not_response, rs, conn, u"m", false, u"");
    FAIL();
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), automation::err::kObjectRequired);
  }
}

// A connection that only counts how it is closed: enough to watch the
// closing rule, which does not depend on the database behind it.
class CountingConnection : public data::Connection {
 public:
  explicit CountingConnection(Text text) : text_(std::move(text)) {}
  void Open(automation::TextView) override {}
  Variant Execute(automation::TextView, int32_t*) override { return {}; }
  void Close() override {
    ++closes;
    if (closes > 1) throw automation::Error(3704);
  }
  bool IsOpen() const override { return closes == 0; }
  Text ConnectionString() const override { return text_; }
  int closes = 0;

 private:
  Text text_;
};

TEST(ErrorPageTest, ClosesTheConnectionAndEmptiesTheVariables) {
  auto response = std::make_shared<host::MemoryResponse>();
  auto conn_obj = std::make_shared<CountingConnection>(u"provider=vfpoledb;data source=/x");
  Variant resp{automation::ObjectPtr(response)}, rs, conn{automation::ObjectPtr(conn_obj)};
  arenix::page::WriteErrorPage(resp, rs, conn, u"m", false, u"");
  EXPECT_EQ(conn_obj->closes, 1);
  EXPECT_TRUE(conn.IsObject());
  EXPECT_EQ(conn.object(), nullptr);  // Nothing
  EXPECT_TRUE(rs.IsEmpty());
}

TEST(CloseDataTest, PresenceRules) {
  arenix::ArenixCls component;
  // Never given a connection text: its text form is empty, so it is left alone.
  auto fresh = std::make_shared<CountingConnection>(u"");
  Variant rs, conn{automation::ObjectPtr(fresh)};
  component.CommCloseData(rs, conn);
  EXPECT_EQ(fresh->closes, 0);
  EXPECT_TRUE(rs.IsEmpty());

  // Twice in a row: the second close fails inside and is ignored.
  auto open = std::make_shared<CountingConnection>(u"provider=vfpoledb;data source=/x");
  Variant rs2(u"x"), conn2{automation::ObjectPtr(open)};
  component.CommCloseData(rs2, conn2);
  component.CommCloseData(rs2, conn2);
  EXPECT_EQ(open->closes, 1);
  EXPECT_EQ(conn2, Variant::Nothing());
  EXPECT_EQ(rs2, Variant::Nothing());

  Variant null_rs = Variant::Null(), null_conn = Variant::Null();
  component.CommCloseData(null_rs, null_conn);
  EXPECT_TRUE(null_rs.IsNull());
}

TEST(WindowScriptsTest, ClosersAndModal) {
  arenix::ArenixCls c;
  EXPECT_EQ(c.CommCloseWindowNoMessagebox(), Variant(kCloser));
  EXPECT_EQ(c.CommCloseTopWindowNoMessagebox(),
            Variant(u"top.window.opener=null;top.window.open(\"\",\"_self\");top.window.close();"
                    u"window.top.open(\"\",\"_top\").close();"));
  EXPECT_EQ(c.CommCloseWindowModal(false), Variant(u"<head><base target=\"_self\"></head>"));
  Text refresh = automation::CStr(c.CommCloseWindowModal(true));
  EXPECT_EQ(refresh.rfind(u"<head><base target=\"_self\"></head><body onunload=", 0), 0u);
  EXPECT_NE(refresh.find(u"opener.location.reload()"), Text::npos);
  EXPECT_NE(refresh.find(u"dialogArguments"), Text::npos);
  Text frame = automation::CStr(c.CommCloseWindowCurrent());
  for (const char16_t* part : {u"name=\"orvel_close_ModalDialog\"", u"width=\"100%\"", u"height=\"30\"",
                               u"scrolling=\"no\"", u"frameborder=\"0\"", u"class=\"css0\"",
                               u"src=\"../comm/comm_OrvelCloseWindowCurrent.asp\"", u"<center>"})
    EXPECT_NE(frame.find(part), Text::npos) << automation::ToUtf8(part);
  Text swap = c.CommScriptSwapImage();
  for (const char16_t* fn : {u"function OrvelSwapImgRestore()", u"function OrvelPreloadImages()",
                             u"function OrvelFindObject(n, d)", u"function OrvelSwapImage()"})
    EXPECT_NE(swap.find(fn), Text::npos) << automation::ToUtf8(fn);
}

}  // namespace
