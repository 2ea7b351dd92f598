#include "arenix/show/box.h"

#include <string>

#include "arenix/script/menus.h"
#include "arenix/show/search_frame.h"
#include "automation/runtime.h"

namespace arenix::show {

namespace {
Text Number(int32_t n) { return automation::FromAscii(std::to_string(n)); }
}  // namespace

Text ShowMenuMoveContent(int16_t width, int16_t title_height, TextView title, uint8_t scroll1,
                         uint8_t scroll2, TextView content, TextView visible, bool can_move,
                         bool can_expand) {
  Text out;
  if (can_move) {
    if (scroll1 == 1) out += u"<div id=\"scroll1\"></div>";
    if (scroll2 == 1) out += u"<div id=\"scroll2\"></div>";
  }
  if (can_expand) out += script::ScriptListMenu();
  if (can_move) out += script::ScriptListMenuMove();
  out += script::LoginFormScript(can_move, can_expand);
  Text at = visible == u"hidden" ? Text(u"-1000") : Text(u"0");
  out += u"<div id=\"floater\" style=\"position:absolute; width:" + Number(width) +
         u"px; z-index:1; left:" + at + u"px; top: " + at + u"px; visibility: " + Text(visible) +
         u"\">";
  out += u"<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" align=\"center\">"
         u"<tr bgcolor=\"#000066\"><td height=18 align=center>";
  out += u"<table width=\"100%\" border=\"1\" height=\"" + Number(title_height) +
         u"\" cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: collapse;cursor:move\" "
         u"bordercolor=\"#111111\" align=center><tr><td bgcolor=\"#9CDB73\" align=center>"
         u"<img src=\"../comm/image/orvel_ts.asp\" align=absmiddle> ";
  out += title;
  out += u"<a href=\"javascript:closeLoginForm()\"><img src=../comm/image/orvel_close.asp height=12 "
         u"width=12 border=0 align=absmiddle title=\"关闭窗口\"></a></td></tr></table>";
  out += u"<table bgcolor=#B5E4FB border=\"1\" cellpadding=\"0\" cellspacing=\"0\" "
         u"style=\"border-collapse: collapse\" bordercolor=\"#111111\" width=\"" +
         Number(width) + u"\" align=\"center\">";
  out += content;
  out += u"</table>";
  out += SearchRight(u"");
  out += u"</div>";
  return out;
}

Text ShowTableDouble(TextView table_width, TextView bg_color, TextView border_color, bool is_double,
                     bool is_table_fix) {
  Text width = automation::Trim(table_width).empty() ? Text(u"100%") : Text(table_width);
  Text background = bg_color.empty() ? Text(u"#EFE9EF") : Text(bg_color);
  Text border = border_color.empty() ? Text(u"#C0C0C0") : Text(border_color);
  Text out;
  if (is_double)
    out += u"<table cellspacing='0' cellpadding='3' bordercolor='#3366cc' border='2' align=center  "
           u"style='background-color:white;border-color:#3366cc;border-width:1px;border-style:none;"
           u"width:" + width + u";border-collapse:collapse;'><tr><td bgcolor='" + background + u"'>";
  out += u"<table width='100%' border='1' cellpadding='0' cellspacing='0' height='40' "
         u"style='border-collapse: collapse' bordercolor='" + border +
         u"' bgcolor='#ffffff' style='";
  if (is_table_fix) out += u"table-layout: fixed;";
  out += u"word-break:break-all'>";
  return out;
}

Text ShowBox(TextView title, TextView content, const BoxStyle& style) {
  Text out = u"<table cellspacing=5 cellpadding=0 width='95%' bgColor=#ffffff border=0 "
             u"style='word-break: break-all;'><tr><td bgcolor='" + style.title_back +
             u"' height=22><div align=" + style.title_align +
             u"><span><span><strong><font color='" + style.title_fore + u"'>";
  out += title;
  out += u"</font></strong></span></span></div></td></tr><tr><td valign=top bgcolor='" +
         style.content_back + u"'><div align=left><font color='" + style.content_fore + u"'>";
  out += content;
  out += u"</font></div></td></tr></table>"
         u"<table cellspacing=0 cellpadding=0 width='99%' border=0><tr><td><img height=8 src='" +
         style.bottom_image + u"' width=105></td></tr></table>"
         u"<table cellspacing=0 cellpadding=0 width='100%' border=0><tr><td>&nbsp;</td></tr></table>";
  return out;
}

}  // namespace arenix::show
