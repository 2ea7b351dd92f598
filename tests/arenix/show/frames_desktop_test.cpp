// The login desktop: buttons, input rows, the panel and the footer that
// closes the page's data; the missing-data-file page and the folder picker
// on real folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "arenix/frame/arenix_cls.h"
#include "automation/registry.h"
#include "data/data.h"
#include "host/memory_host.h"
#include "frames_expect.h"
#include "list_call.h"

namespace arenix::show {
namespace {

using testing::ListCallText;
namespace fs = std::filesystem;

using testing::kCloser;

TEST(FramesDesktop, ShowButton) {
  struct Case {
    std::vector<Variant> args;
    std::string expected;
  } cases[] = {
      {{}, "<input  type='submit'  name='save' id='save' value='-=保存=-' class='button_image'  "
           "onkeydown='this.click()' >"},
      {{Variant(u" "), Variant(u""), Variant(u""), Variant(u""), Variant(u"")},
       "<input  type='submit'  name='save' id='save' value='-=保存=-' class='button_image'  "
       "onkeydown='this.click()' >"},
      {{Variant(u"button"), Variant(u"Cancel"), Variant(u"c1"), Variant(u"取消")},
       "<input  type='button'  name='Cancel' id='c1' value='取消' class='button_image'  onClick='" +
           kCloser + "'>"},
      {{Variant(u"SUBMIT"), Variant(u"ok"), Variant(u"ok"), Variant(u"确定"), Variant(u"btn"),
        Variant(u"return check();")},
       "<input  type='SUBMIT'  name='ok' id='ok' value='确定' class='btn'  onkeydown='this.click()'  "
       "onClick='return check();'>"},
  };
  for (Case& c : cases) EXPECT_EQ(ListCallText(u"CommShowButton", c.args), c.expected);
}

TEST(FramesDesktop, LoginButtonsAndInputs) {
  EXPECT_EQ(ListCallText(u"CommShowLoginButtons", {Variant(false), Variant(u"网络功能尚未开启")}),
            "<tr><td class='login_noserver'>网络功能尚未开启，请联系系统管理员！</td></tr>");
  EXPECT_EQ(ListCallText(u"CommShowLoginButtons", {}),
            "<tr><td class='login_button'><input  type='submit'  name='save' id='save' value='登 录' "
            "class='button_image'  onkeydown='this.click()' >&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"
            "<input  type='button'  name='cancel' id='cancel' value='退 出' class='button_image'  "
            "onClick='document.location.href=\"../index.asp\"'></td></tr>");

  struct Case {
    std::vector<Variant> args;
    std::string expected;
  } cases[] = {
      {{}, "<tr><td class='login_caption'>用户名：<input type='text'  name='username'class='login_input'  "
           "autofocus></td></tr>"},
      {{Variant(u" 密码 "), Variant(u"password"), Variant(u"password"), Variant(false), Variant(u"x1"),
        Variant(u"请输入密码"), Variant(u" maxlength=20")},
       "<tr><td class='login_caption'>密码：<input type='password'  name='password'class='login_input'  "
       "disabled  value='x1' title='请输入密码' placeholder='请输入密码' maxlength=20></td></tr>"},
      {{Variant(u"账号"), Variant(u"UserName"), Variant(u"text"), Variant(true), Variant(u"  ")},
       "<tr><td class='login_caption'>账号：<input type='text'  name='UserName'class='login_input'  "
       "autofocus></td></tr>"},
  };
  for (Case& c : cases) EXPECT_EQ(ListCallText(u"CommShowLoginInput", c.args), c.expected);
}

// A page's connection and record set, open on a real folder.
class FramesDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses();
    root_ = fs::temp_directory_path() / ("arenix_frames_" + std::to_string(std::random_device{}()));
    fs::create_directories(root_ / "data");
    conn = Variant(automation::CreateObject(u"Adodb.Connection"));
    automation::ObjectCast<data::Connection>(conn).Open(
        u"provider=vfpoledb;data source=" + automation::FromUtf8((root_ / "data").string()));
    automation::ObjectCast<data::Connection>(conn).Execute(u"CREATE TABLE t FREE (a C(2))");
    rs = Variant(automation::CreateObject(u"Adodb.RecordSet"));
    automation::ObjectCast<data::Recordset>(rs).Open(u"Select * From t", conn, 1, 1);
    server_obj = std::make_shared<host::MemoryServer>(automation::FromUtf8(root_.string()));
    server = Variant(automation::ObjectPtr(server_obj));
    response = Variant(automation::ObjectPtr(response_obj));
  }
  void TearDown() override { fs::remove_all(root_); }

  // CloseData leaves Nothing in both variables.
  void ExpectDataClosed() {
    EXPECT_TRUE(rs.IsObject() && !rs.object()) << automation::ToUtf8(rs.TypeName());
    EXPECT_TRUE(conn.IsObject() && !conn.object()) << automation::ToUtf8(conn.TypeName());
  }

  // The desktop on a fresh pair of empty variables.
  Text ShowLoginDesktopFor(ArenixCls& cls, const char16_t* heights, const char16_t* action,
                           const char16_t* content) {
    Variant c(u""), r(u"");
    return cls.CommShowLoginDesktop(c, r, heights, u"单位", action, content, u"");
  }

  fs::path root_;
  Variant conn, rs, server, response;
  std::shared_ptr<host::MemoryServer> server_obj;
  std::shared_ptr<host::MemoryResponse> response_obj = std::make_shared<host::MemoryResponse>();
};

TEST_F(FramesDataTest, CopyRightClosesTheDataAndShowsTheNotice) {
  ArenixCls cls;
  int16_t line = 1;
  std::string long_one = automation::ToUtf8(cls.CommShowCopyRight(conn, rs, 2, line));
  ExpectDataClosed();
  EXPECT_EQ(long_one.rfind("<table cellspacing=0 cellpadding=0 border=0 width='100%'><tr height=100>"
                           "<td align=center id='CopyRight'style='font-size:12px;font-family: 微软雅黑;'>"
                           "Meetora<br><br>[",
                           0),
            0u)
      << long_one;
  const std::string end = "]</td></tr></table>";
  EXPECT_EQ(long_one.substr(long_one.size() - end.size()), end);
  // Type 1: a 50-pixel row and the short notice; line 0: no breaks. Empty
  // variables are left alone.
  Variant none(u"");
  line = 0;
  std::string short_one = automation::ToUtf8(cls.CommShowCopyRight(none, none, 1, line));
  EXPECT_NE(short_one.find("<tr height=50><td align=center id='CopyRight'style='font-size:12px;"
                           "font-family: 微软雅黑;'>Meetora["),
            std::string::npos);
  EXPECT_LT(short_one.size(), long_one.size());
  EXPECT_THROW(cls.CommShowCopyRight(none, none, 700, line), automation::Error);
}

TEST_F(FramesDataTest, LoginDesktopFramesTheFormAndEndsWithTheFooter) {
  ArenixCls cls;
  Variant list(u""), title(u"实验中学运动会"), action(u"login.asp"), content(u"<tr><td>行</td></tr>"),
      manager(u"<tr><td>管理</td></tr>");
  Variant* args[] = {&conn, &rs, &list, &title, &action, &content, &manager};
  std::string page = automation::ToUtf8(automation::CStr(CallMethod(cls, u"CommShowLoginDesktop", args)));
  ExpectDataClosed();
  const std::string body =
      "<table align=center class='login_background'><tr><td class='login_dwmc'>实验中学运动会</font>"
      "</td></tr><tr><td>管理</td></tr><tr><td height='158'></td></tr>"
      "<form method='post' name='myform' action='login.asp'><tr><td>行</td></tr>"
      "<tr><td height='42'></td></tr></form></table>";
  Variant none(u"");
  int16_t no_line = 0;
  const std::string footer = automation::ToUtf8(cls.CommShowCopyRight(none, none, 2, no_line));
  EXPECT_EQ(page, "<table cellspacing=0 cellpadding=0 border=0 width='100%'><tr height=30><td></td>"
                  "</tr></table>" + body + footer);

  // No action: no form start tag, still the form's end; the heights given,
  // a missing or blank part keeps its default.
  struct Case {
    const char16_t* heights;
    std::string top, middle, bottom;
  } cases[] = {{u"10|20|30", "10", "20", "30"}, {u"12|80", "12", "80", "42"}, {u"|99|", "30", "99", "42"}};
  for (const Case& c : cases) {
    std::string text = automation::ToUtf8(
        ShowLoginDesktopFor(cls, c.heights, u"", u"<tr><td>行</td></tr>"));
    EXPECT_EQ(text.rfind("<table cellspacing=0 cellpadding=0 border=0 width='100%'><tr height=" + c.top +
                             "><td></td></tr></table>",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("<tr><td height='" + c.middle + "'></td></tr><tr><td>行</td></tr><tr><td height='" +
                        c.bottom + "'></td></tr></form></table>"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("<form"), std::string::npos);
  }
  EXPECT_THROW(ShowLoginDesktopFor(cls, u"高|1|2", u"", u""), automation::Error);
}

TEST_F(FramesDataTest, LostFilePageListsTheMissingDataFiles) {
  std::ofstream(root_ / "data" / "xtsz.dbf") << "x";
  ArenixCls cls;
  cls.CommShowWindowLostFile(server, conn, rs, response, u"xtsz.dbf|xtsz.fpt", u"实验中学");
  EXPECT_TRUE(response_obj->ended());
  ExpectDataClosed();
  EXPECT_EQ(automation::ToUtf8(response_obj->text()),
            "<table><tr><td height=30></td></tr></table>"
            "<table align=center background='../comm/image/orvel_bg_filelost.asp' width=308 height=397 "
            "cellpadding=0 cellspacing=0 border=0>"
            "<tr><td height=40 align=center style='padding-left:40pt'></td></tr>"
            "<tr><td height=30 align=center style='padding-left:40pt'><font class=dddfont3>实验中学</font></td></tr>"
            "<tr><td height=30 align=center style='padding-left:40pt'><font class=dddfont2>Meetora</font></td></tr>"
            "<tr height=3><td></td></tr>"
            "<tr width='100%'><td width='100%' align=center><font class=dddfont3>〖xtsz.fpt〗</font></td></tr>"
            "<tr height=8><td></td></tr></table>");

  // Everything there: nothing written, the page goes on with its data.
  std::ofstream(root_ / "data" / "XTSZ.FPT") << "x";
  auto quiet = std::make_shared<host::MemoryResponse>();
  Variant quiet_response{automation::ObjectPtr(quiet)}, c2(u"kept"), r2(u"kept");
  cls.CommShowWindowLostFile(server, c2, r2, quiet_response, u"xtsz.dbf|xtsz.fpt", u"");
  EXPECT_FALSE(quiet->ended());
  EXPECT_EQ(quiet->text(), u"");
  EXPECT_EQ(c2, Variant(u"kept"));
}

TEST_F(FramesDataTest, FolderPickerListsTheEntriesOfASiteFolder) {
  fs::create_directories(root_ / "backup" / "2024");
  fs::create_directories(root_ / "backup" / "春季 运动会");
  std::ofstream(root_ / "backup" / "a'b.zip") << "x";
  ArenixCls cls;
  Variant none(u"");
  std::string folders = automation::ToUtf8(cls.CommShowFormFileSelect(none, none, server, u"/backup", 1));
  std::string link = "<a style='padding-left:20px;cursor:hand;' onclick=javascript:SelectPathFile('";
  std::string image = "<img src='../comm/image/orvel_folder_close.asp' border=0 align=absmiddle>";
  const std::string head = "&nbsp;<img src='../comm/image/orvel_folder_open.asp' border=0 align=absmiddle>backup<br>";
  EXPECT_EQ(folders.rfind(head, 0), 0u) << folders;
  EXPECT_NE(folders.find(link + "2024');>" + image + "2024</a><br>"), std::string::npos) << folders;
  // A name with a space stays inside the unquoted attribute.
  EXPECT_NE(folders.find(link + "春季\\x20运动会');>" + image + "春季 运动会</a><br>"), std::string::npos)
      << folders;
  std::string files = automation::ToUtf8(cls.CommShowFormFileSelect(none, none, server, u"/backup/", 0));
  EXPECT_EQ(files, head + link + "a\\x27b.zip');>" + image + "a&#39;b.zip</a><br>");
  // An unreadable folder lists nothing.
  EXPECT_EQ(automation::ToUtf8(cls.CommShowFormFileSelect(none, none, server, u"../nowhere", 0)),
            "&nbsp;<img src='../comm/image/orvel_folder_open.asp' border=0 align=absmiddle>nowhere<br>");
}

}  // namespace
}  // namespace arenix::show
