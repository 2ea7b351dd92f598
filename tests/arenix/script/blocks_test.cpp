// Every emitted block: one line, and every inline script in it parses.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "arenix/frame/arenix_cls.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "emit_browser.h"
#include "host/memory_host.h"

namespace arenix::testing {
namespace {

using automation::Text;
using automation::Variant;

// The bodies of the inline <script> elements of a block.
std::vector<Text> ScriptBodies(const Text& block) {
  std::vector<Text> bodies;
  const Text lower = automation::LCase(block);
  for (size_t at = lower.find(u"<script"); at != Text::npos; at = lower.find(u"<script", at + 1)) {
    const size_t open_end = lower.find(u'>', at);
    const size_t close = lower.find(u"</script>", open_end);
    if (open_end == Text::npos || close == Text::npos) {
      ADD_FAILURE() << "unclosed script element";
      break;
    }
    if (lower.substr(at, open_end - at).find(u" src=") == Text::npos)
      bodies.push_back(block.substr(open_end + 1, close - open_end - 1));
  }
  return bodies;
}

TEST(ScriptBlocks, AreOneLineAndEveryScriptParses) {
  ArenixCls cls;
  auto request = std::make_shared<host::MemoryRequest>();
  Variant request_var{automation::ObjectPtr(request)};
  Variant left{int32_t{120}};
  const std::vector<std::pair<const char*, Text>> blocks = {
      {"NoInFrame", cls.CommScriptNoInFrame()},
      {"NoInTop", cls.CommScriptNoInTop()},
      {"Image", cls.CommScriptImage()},
      {"Mouse", cls.CommScriptMouse(request_var)},
      {"CheckForm", cls.CommScriptCheckForm(u"xm|请输入姓名$mm|请输入密码|qrmm|两次密码不一致$bz||200|备注太长"
                                            u"$editor|请输入内容|5000|太长$editor2|请输入内容2|10|太长2")},
      {"CheckFormEmpty", cls.CommScriptCheckForm(u"")},
      {"Check", cls.CommScriptCheck()},
      {"CheckPostCard", cls.CommScriptCheckPostCard()},
      {"OpenWindow", cls.CommScriptOpenWindow()},
      {"PopSelect", cls.CommScriptPopSelect()},
      {"PopWindow", cls.CommScriptPopWindow()},
      {"OnKeyDownDefault", cls.CommScriptOnKeyDownDefault()},
      {"ShowDateAndTime", cls.CommScriptShowDateAndTime(u"")},
      {"ShowDateAndTimeOther", cls.CommScriptShowDateAndTime(u"window.status='x'")},
      {"ShowProcessBar", cls.CommScriptShowProcessBar()},
      {"AjaxGet", cls.CommAjaxGet()},
      {"AjaxPost", cls.CommAjaxPost()},
      {"ToolTip", automation::CStr(cls.CommScriptShowToolTipText())},
      {"ScrollWindow", cls.CommScriptScrollWindow()},
      {"ScrollWindowFollow", cls.CommScriptScrollWindowFollow(left)},
  };
  for (const auto& [name, block] : blocks) {
    SCOPED_TRACE(name);
    EXPECT_EQ(block.find(u'\n'), Text::npos);
    const std::vector<Text> bodies = ScriptBodies(block);
    EXPECT_FALSE(bodies.empty());
    for (const Text& body : bodies) EXPECT_EQ(NodeCheck(Utf8(body)), "") << Utf8(body);
  }
}

TEST(ScriptBlocks, ScrollTitleAndFollowerAsThePageWritesThem) {
  ArenixCls cls;
  EXPECT_EQ(cls.CommShowScrollWindowTitle(u"red"),
            u"&nbsp;&nbsp;&nbsp;&nbsp;<font color=\"red\">（双击自动向上滚动，单击停止，点击"
            u"<img src=\"../comm/image/orvel_gotop.asp\" border=\"0\">回至顶部）</font>");
  // The catalogue's default colour.
  Variant result = cls.Invoke(u"CommShowScrollWindowTitle", automation::InvokeKind::Method, {});
  EXPECT_NE(automation::CStr(result).find(u"<font color=\"red\">"), Text::npos);
  Variant left{int32_t{120}};
  const Text follow = cls.CommScriptScrollWindowFollow(left);
  EXPECT_NE(follow.find(u"#master{position:absolute;left:120px;top:0px;z-index:999}"), Text::npos);
  EXPECT_NE(follow.find(u"title=\"返回顶部\"><img src=\"../comm/image/orvel_gotop.asp\" id=\"menu\" name=\"menutop\""),
            Text::npos);
}

}  // namespace
}  // namespace arenix::testing
