// Every script block the component emits, byte for byte, against the
// recorded copy in emitted_blocks.golden (one block a line, "name: block").
// Pages, browsers' caches and the site's own tests see these exact bytes, so
// a change in any of them must be deliberate: after an intended change, run
// this program once with ARENIX_UPDATE_GOLDEN=1 and review the diff of the
// recorded file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "arenix/frame/arenix_cls.h"
#include "arenix/script/editor.h"
#include "arenix/script/menus.h"
#include "automation/coerce.h"
#include "host/memory_host.h"

namespace arenix::testing {
namespace {

using automation::Text;
using automation::ToUtf8;
using automation::Variant;

const std::string kGoldenPath = ARENIX_SOURCE_DIR "/tests/arenix/script/emitted_blocks.golden";

std::vector<std::pair<std::string, Text>> EmittedBlocks() {
  ArenixCls cls;
  auto request = std::make_shared<host::MemoryRequest>();
  Variant request_var{automation::ObjectPtr(request)};
  auto excel = std::make_shared<host::MemoryRequest>();
  excel->SetQueryString(u"excel=yes");
  Variant excel_var{automation::ObjectPtr(excel)};
  Variant left{int32_t{120}};
  return {
      {"NoInFrame", cls.CommScriptNoInFrame()},
      {"NoInTop", cls.CommScriptNoInTop()},
      {"Image", cls.CommScriptImage()},
      {"Mouse", cls.CommScriptMouse(request_var)},
      {"MouseExcel", cls.CommScriptMouse(excel_var)},
      {"ListMenu", cls.CommScriptListMenu()},
      {"ListMenuMove", cls.CommScriptListMenuMove()},
      {"LoginForm", script::LoginFormScript(false, false)},
      {"LoginFormMove", script::LoginFormScript(true, false)},
      {"LoginFormExpand", script::LoginFormScript(false, true)},
      {"LoginFormMoveExpand", script::LoginFormScript(true, true)},
      {"CheckForm", cls.CommScriptCheckForm(u"xm|请输入姓名$mm|请输入密码|qrmm|两次密码不一致$bz||200|备注太长"
                                            u"$editor|请输入内容|5000|太长$editor2|请输入内容2|10|太长2")},
      {"CheckFormPlain", cls.CommScriptCheckForm(u"xm|请输入\"姓名\"$$|skipped")},
      {"CheckFormEmpty", cls.CommScriptCheckForm(u"")},
      {"Check", cls.CommScriptCheck()},
      {"CheckPostCard", cls.CommScriptCheckPostCard()},
      {"OpenWindow", cls.CommScriptOpenWindow()},
      {"PopSelect", cls.CommScriptPopSelect()},
      {"PopWindow", cls.CommScriptPopWindow()},
      {"OnKeyDownDefault", cls.CommScriptOnKeyDownDefault()},
      {"ShowDateAndTime", cls.CommScriptShowDateAndTime(u"")},
      {"ShowDateAndTimeOther", cls.CommScriptShowDateAndTime(u"window.status='x';\n  y()")},
      {"ShowProcessBar", cls.CommScriptShowProcessBar()},
      {"AjaxGet", cls.CommAjaxGet()},
      {"AjaxPost", cls.CommAjaxPost()},
      {"ToolTip", automation::CStr(cls.CommScriptShowToolTipText())},
      {"ScrollWindow", cls.CommScriptScrollWindow()},
      {"ScrollWindowFollow", cls.CommScriptScrollWindowFollow(left)},
      {"Editor", script::EditorBlock()},
  };
}

// Line breaks inside a block (a page's own statements may carry some) are
// kept as "\n" and "\r" escapes, and a backslash as "\\", so that every
// block stays on its line.
std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::map<std::string, std::string> ReadGolden() {
  std::map<std::string, std::string> golden;
  std::ifstream in(kGoldenPath, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    const size_t colon = line.find(": ");
    if (colon != std::string::npos) golden[line.substr(0, colon)] = line.substr(colon + 2);
  }
  return golden;
}

TEST(EmittedBlocks, MatchTheRecordedBytes) {
  const auto blocks = EmittedBlocks();
  if (const char* update = std::getenv("ARENIX_UPDATE_GOLDEN"); update && std::string(update) == "1") {
    std::ofstream out(kGoldenPath, std::ios::binary | std::ios::trunc);
    for (const auto& [name, block] : blocks) out << name << ": " << Escape(ToUtf8(block)) << "\n";
    GTEST_SKIP() << "recorded " << blocks.size() << " blocks in " << kGoldenPath;
  }
  const auto golden = ReadGolden();
  ASSERT_FALSE(golden.empty()) << "cannot read " << kGoldenPath;
  for (const auto& [name, block] : blocks) {
    SCOPED_TRACE(name);
    const auto recorded = golden.find(name);
    ASSERT_NE(recorded, golden.end()) << "no recorded copy";
    const std::string now = Escape(ToUtf8(block));
    if (now == recorded->second) continue;
    size_t at = 0;
    while (at < now.size() && at < recorded->second.size() && now[at] == recorded->second[at]) ++at;
    ADD_FAILURE() << "differs from byte " << at << ":\n  now:      " << now.substr(at, 80)
                  << "\n  recorded: " << recorded->second.substr(at, 80);
  }
}

}  // namespace
}  // namespace arenix::testing
