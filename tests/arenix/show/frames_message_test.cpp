// The scripts and boxes that finish a page: success message, message box,
// storage bar, cache headers and the refresh scripts.
#include <gtest/gtest.h>

#include "arenix/show/message.h"
#include "automation/clock.h"
#include "host/memory_host.h"
#include "frames_expect.h"
#include "list_call.h"

namespace arenix::show {
namespace {

using testing::ListCall;
using testing::ListCallText;

using testing::kCloser;

TEST(FramesMessage, ShowSuccessAlertsThenGoesBackClosesOrMovesOn) {
  struct Case {
    const char16_t* message;
    const char16_t* url;
    std::string expected;
  } cases[] = {
      {u"", u"", "<Script>{history.go(-1);}</Script>"},
      {u"   ", u"", "<Script>{history.go(-1);}</Script>"},
      {u"保存成功！", u"", "<Script>{alert(\"保存成功！\");history.go(-1);}</Script>"},
      {u"", u"CLOSE", "<Script>{" + kCloser + "}</Script>"},
      {u"已删除", u"Close", "<Script>{alert(\"已删除\");" + kCloser + "}</Script>"},
      {u"ok", u"  list.asp?id=3 ", "<Script>{alert(\"ok\");location.href=\"list.asp?id=3\";}</Script>"},
      // A line break the caller wrote as an escape stays one.
      {u"第一行\\n第二行", u"", "<Script>{alert(\"第一行\\n第二行\");history.go(-1);}</Script>"},
      // Quotes, raw line breaks and "</" no longer end the literal or the script.
      {u"名称\"A\"\n</script>", u"a\"b.asp",
       "<Script>{alert(\"名称\\\"A\\\"\\n<\\/script>\");location.href=\"a\\\"b.asp\";}</Script>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(automation::ToUtf8(c.message) + " | " + automation::ToUtf8(c.url));
    EXPECT_EQ(ListCallText(u"CommShowSuccess", {Variant(c.message), Variant(c.url)}), c.expected);
  }
}

TEST(FramesMessage, MessageLiteralKeepsTheCallersEscapes) {
  struct Case {
    const char16_t* in;
    char16_t quote;
    const char16_t* out;
  } cases[] = {
      {u"it's", u'\'', u"it\\'s"},
      {u"it\\'s", u'\'', u"it\\'s"},      // already escaped
      {u"say \"hi\"", u'\'', u"say \"hi\""},  // the other quote is harmless
      {u"a\\\\'b", u'\'', u"a\\\\\\'b"},  // an escaped backslash does not escape the quote
      {u"end\\", u'"', u"end\\\\"},       // a lone trailing backslash
      {u"a\r\nb", u'"', u"a\\r\\nb"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(automation::ToUtf8(MessageLiteral(c.in, c.quote)), automation::ToUtf8(c.out));
}

TEST(FramesMessage, ShowMessageFramesTitleContentAndLink) {
  EXPECT_EQ(ListCallText(u"CommShowMessage",
                         {Variant(u"提示"), Variant(u"报名已提交"), Variant(u"<a href='x.asp'>返回</a>")}),
            "<table border='0' width='100%' cellspacing='1' align='center' cellpadding='1' "
            "height='100%'><tr><td align=center valign=middle height='100%' width='100%'>"
            "<table border='1' width='100%' cellspacing='0' cellpadding='0' bordercolor='green' "
            "bordercolordark='#FFFFFF' height='100%'>"
            "<tr><td width='100%' height='39' bgcolor='#39867B' align=center colspan='2'>"
            "<font color='#FFFFFF'>提示</font></td></tr>"
            "<tr><td width='100%' align='center' height='100%'>报名已提交<br><br>"
            "<a href='x.asp'>返回</a></td></tr></table></td></tr></table>");
  EXPECT_TRUE(ListCall(u"CommShowMessage", {Variant(u""), Variant(u""), Variant(u"")}).IsString());
}

std::string Bar(const std::string& used_width, const std::string& used,
                const std::string& left_width, const std::string& left, const std::string& total) {
  return "<table width='100%' border='0' align='center' cellpadding='2' cellspacing='0' "
         "class='border'><tr class='titlebg'><td height='22' colspan=2 align=center>"
         "<strong>我的上传文件管理</strong></td></tr>"
         "<tr class='tdbg' height='22'><td  align='left'>总空间：<img "
         "src='../comm/image/orvel_bar.asp' width='80%' height=10>" + total + "</td></tr>"
         "<tr class='tdbg' height='22'><td align='left'>已使用：<img "
         "src='../comm/image/orvel_bar.asp' width='" + used_width + "' height=10>" + used +
         "</td></tr>"
         "<tr class='tdbg' height='22'><td align='left'>尚剩余：<img "
         "src='../comm/image/orvel_bar.asp' width='" + left_width + "' height=10>" + left +
         "</td></tr></table>";
}

TEST(FramesMessage, ShowBarScalesUsedAndRemainingToEightyPercent) {
  struct Case {
    Variant total, used;
    std::string expected;
  } cases[] = {
      {Variant(1000), Variant(250), Bar("20%", "250B", "60%", "750B", "1000B")},
      {Variant(u"2048"), Variant(u"1024"), Bar("40%", "1K", "40%", "1K", "2K")},
      {Variant(3.0), Variant(1.0), Bar("26%", "1B", "53%", "2B", "3B")},
      {Variant(0), Variant(100), Bar("80%", "100B", "0%", "-100B", "0B")},
      {Variant(1000), Variant(u""), Bar("0%", "0B", "80%", "1000B", "1000B")},
      {Variant(1000), Variant(automation::NullValue{}), Bar("0%", "0B", "80%", "1000B", "1000B")},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.expected);
    ArenixCls cls;
    EXPECT_EQ(automation::ToUtf8(cls.CommShowBar(c.total, c.used)), c.expected);
  }
  // The caller's empty used size becomes 0.
  ArenixCls cls;
  Variant total(1000), used;
  cls.CommShowBar(total, used);
  EXPECT_EQ(automation::CDbl(used), 0.0);
  // Sizes that are not numbers fail the call.
  Variant bad(u"很多"), zero(0);
  try {
    cls.CommShowBar(bad, zero);
    ADD_FAILURE() << "no error";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 13);
  }
}

TEST(FramesMessage, ClearCacheExpiresThePageAtOnce) {
  automation::ScopedClock clock(automation::Date{45000.5}, std::nullopt);
  auto response = std::make_shared<host::MemoryResponse>();
  Variant r{automation::ObjectPtr(response)};
  ArenixCls().CommClearCache(r);
  EXPECT_EQ(response->expires(), -1);
  ASSERT_TRUE(response->expires_absolute().has_value());
  EXPECT_EQ(response->expires_absolute()->serial, 44999.5);
  EXPECT_EQ(automation::ToUtf8(response->cache_control()), "no-cache");
  Variant nothing(u"");
  EXPECT_THROW(ArenixCls().CommClearCache(nothing), automation::Error);
}

TEST(FramesMessage, RefreshScriptsReloadTheRightWindow) {
  const std::string open_reload =
      "if(!window.showModalDialog){parent.opener.location.reload(true);}"
      "else{parent.dialogArguments.location.reload(true);}";
  struct Case {
    const char16_t* method;
    std::vector<Variant> args;
    std::string expected;
  } cases[] = {
      {u"CommOpenerRefresh", {},
       "<SCRIPT LANGUAGE=JavaScript>opener.location.reload(true);" + kCloser + "</SCRIPT>"},
      {u"CommOpenerEditRefresh", {Variant(u"修改成功"), Variant(uint8_t{1})},
       "<SCRIPT LANGUAGE=JavaScript>alert('修改成功');" + open_reload + kCloser + "</SCRIPT>"},
      {u"CommOpenerEditRefresh", {Variant(u""), Variant(uint8_t{2})},
       "<SCRIPT LANGUAGE=JavaScript>" + open_reload + "</SCRIPT>"},
      {u"CommOpenerEditRefresh", {Variant(u"it's done"), Variant(uint8_t{0})},
       "<SCRIPT LANGUAGE=JavaScript>alert('it\\'s done');" + open_reload + "</SCRIPT>"},
      {u"CommDialogOpenerEditRefresh", {Variant(u""), Variant(uint8_t{0})},
       "<SCRIPT LANGUAGE=JavaScript>window.parent.document.getElementById('Dialog').close();"
       "window.parent.location.reload(true);</SCRIPT>"},
      {u"CommDialogOpenerEditRefresh",
       {Variant(u"已保存"), Variant(uint8_t{1}), Variant(u"MainDialog"), Variant(u"ignored")},
       "<SCRIPT LANGUAGE=JavaScript>window.parent.document.getElementById('MainDialog').close();"
       "window.parent.location.reload(true);alert('已保存');" + kCloser + "</SCRIPT>"},
      {u"CommDialogOpenerEditRefresh", {Variant(u""), Variant(uint8_t{2}), Variant(u"  ")},
       "<SCRIPT LANGUAGE=JavaScript>window.parent.document.getElementById('Dialog').close();"
       "window.parent.location.reload(true);</SCRIPT>"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(ListCallText(c.method, c.args), c.expected);
  }
}

}  // namespace
}  // namespace arenix::show
