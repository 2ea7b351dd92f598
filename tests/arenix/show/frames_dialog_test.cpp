// The modal dialog and the overlay dialog: their elements and ids, and the
// sizes written into them.
#include <gtest/gtest.h>

#include "arenix/show/dialog.h"
#include "arenix/show/style_dialog.h"
#include "list_call.h"

namespace arenix::show {
namespace {

using testing::ListCallText;

std::string U8(const Text& t) { return automation::ToUtf8(t); }

TEST(FramesDialog, ModalDialogFrameElements) {
  const std::string head = U8(StyleDialogCloseButton() + StyleDialog() + ShowDialogFrameScript());
  auto dialog = [&](const std::string& d, const std::string& w, const std::string& h, const std::string& reload) {
    return head + "<dialog class=\"dialog\" id=\"" + d + "\"><div id=\"Title_" + d +
           "\" style=\"float:left;width:" + w + "px;height:30px;text-align:center;line-height:30px;"
           "font-size:16px;font-weight:normal;z-index:1;\" class=\"dialog-header\">对话框标题</div>"
           "<div id=\"Close_" + d + "\" style=\"float:right;z-index:2;\" class=\"popup-close\" "
           "onClick=\"document.getElementById('" + d + "').close();" + reload + "\"></div>"
           "<div id=\"Body_" + d + "\" class=\"dialog-body\" style=\"padding: 4px 0px 0px 0px;  "
           "float:left;width:" + w + "px;height:" + h + "px;\"><div id=\"Frame_" + d +
           "_OverLay\" class=\"dialog-iframe-overlay\"></div><iframe id=\"Frame_" + d +
           "\" src=\"\", style=\"width:" + w + "px;height:" + h + "px;padding:0px;margin:0px;"
           "scrolling=no;overflow:hidden; frameborder=no;border:none;\" class=css0></iframe></div></dialog>";
  };
  EXPECT_EQ(ListCallText(u"CommShowDialogFrame", {Variant(int16_t{600}), Variant(int16_t{400})}),
            dialog("Dialog", "600", "375", "window.location.reload(true);"));
  EXPECT_EQ(ListCallText(u"CommShowDialogFrame",
                         {Variant(int16_t{800}), Variant(int16_t{20}), Variant(false), Variant(u" MainDialog ")}),
            dialog("MainDialog", "800", "-5", ""));
  EXPECT_EQ(ListCallText(u"CommShowDialogFrameScript", {}), U8(ShowDialogFrameScript()));
  for (const char* name : {"function ShowPopDialog(p_DialogID,", "function startDrag(e)", "function endDrag()",
                           "function updateTransform()", "function handleMove(clientX, clientY,"})
    EXPECT_NE(head.find(name), std::string::npos) << name;
}

TEST(FramesDialog, OverlayDialogUsesTheIdAsGiven) {
  std::string empty_id = ListCallText(u"CommShowDialogDivFrame", {Variant(int16_t{500}), Variant(int16_t{300})});
  EXPECT_NE(empty_id.find("<div class=\"div-dialog-overlay\" id='_Overly'></div><div class=\"div-dialog\" id=''>"
                          "<div class=\"div-dialog-title\" id='_Title'>标题栏</div><button "
                          "class=\"div-dialog-btn-close\" id='_CloseBtn' aria-label=\"关闭\"onClick=\""
                          "divCloseDialog();window.location.reload(true);\">×</button><div "
                          "class=\"div-dialog-body\" id='_Body'><iframe id=\"_Frame\" style=\"width:100%; "
                          "height: 100%;border: none;\" src=\"\"></iframe></div><div "
                          "class=\"div-dialog-footer\"></div></div>"),
            std::string::npos)
      << empty_id;
  EXPECT_NE(empty_id.find("width:500px;height:300px;"), std::string::npos);
  std::string named = ListCallText(u"CommShowDialogDivFrame",
                                   {Variant(int16_t{500}), Variant(int16_t{300}), Variant(false), Variant(u" pop ")});
  EXPECT_NE(named.find("id=' pop _CloseBtn' aria-label=\"关闭\"onClick=\"divCloseDialog();\">"), std::string::npos);
  for (const char* name : {"function divOpenDialog(p_DivDialogID,", "function divCloseDialog()"})
    EXPECT_NE(named.find(name), std::string::npos) << name;
}

}  // namespace
}  // namespace arenix::show
