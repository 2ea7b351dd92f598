// The rich-text editor block: the compression rules, and a block that is one
// line, parses, keeps its contract names and survives the page's code page.
#include <gtest/gtest.h>

#include <string>

#include "arenix/script/editor.h"
#include "automation/cp936.h"
#include "support/node.h"

namespace arenix::script {
namespace {

using automation::FromUtf8;
using automation::Text;
using automation::ToUtf8;

TEST(CompressScript, FollowsTheRulesInOrder) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"x = 1; // note", "x = 1;"},
      {"  // a whole comment line\r\ny();", "y();"},
      {"\t// indented by a tab", ""},
      {"if (a) { // note\r\n}", "if (a) {}"},
      {"} // end of if\nz();", "}z();"},
      {"a\t=\t 1;", "a = 1;"},
      {"a  =   1;  //  two spaces before the comment", "a = 1;"},
      {"var u = 'http://host/x';", "var u = 'http://host/x';"},
      {"f(a); g(); // two; // comments", "f(a); g();"},
      {"if (a) { // b; // c", "if (a) {"},
      {"s = '{ x }';\r\n\r\nt();", "s = '{ x }';t();"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToUtf8(CompressScript(FromUtf8(c.in))), c.out) << c.in;
  EXPECT_EQ(CompressScript(u""), EditorBlock());
}

class EditorBlockTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { block_ = new std::string(ToUtf8(EditorBlock())); }
  static void TearDownTestSuite() { delete block_; }
  static const std::string& Block() { return *block_; }
  static std::string Script() {
    const std::string& b = Block();
    return b.substr(8, b.size() - 8 - 9);
  }

 private:
  static std::string* block_;
};
std::string* EditorBlockTest::block_ = nullptr;

TEST_F(EditorBlockTest, IsOneCompressedLineThatParses) {
  const std::string& b = Block();
  EXPECT_EQ(b.rfind("<script>'use strict';var ice = ice || {};ice.editor = function (id,callback) {", 0), 0u);
  EXPECT_EQ(b.substr(b.size() - 9), "</script>");
  EXPECT_EQ(b.find_first_of("\r\n\t"), std::string::npos);
  EXPECT_EQ(b.find("  "), std::string::npos);
  // Only the closing tag may end a script element inside a page.
  EXPECT_EQ(b.find("</script>"), b.size() - 9);
  EXPECT_EQ(arenix::testing::NodeCheck(Script()), "");
}

TEST_F(EditorBlockTest, EveryCharacterSurvivesTheCodePage) {
  // The pages are sent in GBK: a character it lacks would reach the user as "?".
  const Text block = EditorBlock();
  EXPECT_EQ(automation::FromGbk(automation::ToGbk(block)), block);
}

TEST_F(EditorBlockTest, CarriesTheNamesPagesAndTheUploadPageRelyOn) {
  const std::string& b = Block();
  for (const char* name :
       {"class iceEditor", "return new iceEditor(id,callback);", "ice.editor.css = this.globalCss || '",
        "ice.editor.svg = this.globalIcon || '", "function getPathFromUrl()", "'iceEditor-css'",
        "'iceEditor-icon'", "'_tool' + this.time", "'X-Requested-With', 'XMLHttpRequest'",
        "'?DialogType=' + (kind == 'files' ? 'all' : 'pic') + '&SaveUpFilesPath=/Data_UploadFiles/' + getPathFromUrl()",
        "{ 'iceEditor-img': src }", "uploadTimeout: 15000", "name: 'file[]'", "this.height = '400px';",
        "font-family:\"Microsoft YaHei\"", "'请提供一个有效的id'", "'请配置uploadUrl项'", "'网络超时。'",
        "'视频地址不能为空'", "'抱歉，无法处理该链接！'", "'plugin：menu参数不能为空'",
        "'plugin：menu已经存在，请重新命名'", "暂不支持该标签「", "」，推荐使用div或textarea",
        "{ title: '文字', list: [{ title: '开心', content: '(^_^)' }"}) {
    EXPECT_NE(b.find(name), std::string::npos) << name;
  }
  for (const char* tip : {"文字大小", "文字背景颜色", "文字颜色", "加粗", "倾斜", "下划线", "删除线", "左对齐",
                          "居中对齐", "右对齐", "缩进", "取消缩进", "有序列表", "无序列表", "下标", "上标",
                          "添加链接", "取消链接", "添加水平线", "清除格式", "富文本粘贴", "全选", "查看源码",
                          "插入表情", "表格", "添加音乐", "添加视频", "附件上传", "添加图片"}) {
    EXPECT_NE(b.find("title: '" + std::string(tip) + "'"), std::string::npos) << tip;
  }
  for (const char* icon :
       {"aligncenter", "alignleft", "alignright", "bold", "code", "corner", "del", "dir", "drag", "empty", "face",
        "files", "font", "format", "help", "indent", "italic", "link", "list", "lookup", "max", "min", "music",
        "orderedlist", "outdent", "pic", "product", "quote", "remove", "save", "strike", "subscript",
        "superscript", "symbol", "tab", "table", "underline", "unlink", "unorderedlist", "video", "word"}) {
    EXPECT_NE(b.find("<symbol id=\"icon-" + std::string(icon) + "\""), std::string::npos) << icon;
  }
}

}  // namespace
}  // namespace arenix::script
