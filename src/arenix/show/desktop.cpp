#include "arenix/show/desktop.h"

#include <string>

#include "arenix/file/file_ops.h"
#include "arenix/page/data_source.h"
#include "arenix/page/product.h"
#include "arenix/show/button.h"
#include "arenix/show/spacer.h"
#include "automation/coerce.h"
#include "automation/error.h"
#include "automation/runtime.h"
#include "host/host.h"

namespace arenix::show {

namespace {

// The footer's ownership notices.
constexpr char16_t kShortNotice[] = u"[运动会管理系统 版权所有]";
constexpr char16_t kLongNotice[] = u"[运动会管理系统 版权所有 未经许可 不得复制、修改或传播]";

constexpr char16_t kDefaultHeights[] = u"30|158|42";

}  // namespace

void ShowWindowLostFile(Variant& server, Variant& conn, Variant& rs, Variant& response,
                        TextView file_list, TextView unit_name) {
  auto& site = automation::ObjectCast<host::Server>(server);
  Text missing;
  for (const Text& name : automation::Split(file_list, u"|")) {
    if (!file::FileExist(site.site(), site.MapPath(u"\\data\\" + name))) missing += u"〖" + name + u"〗";
  }
  if (missing.empty()) return;
  auto& out = automation::ObjectCast<host::Response>(response);
  out.Write(u"<table><tr><td height=30></td></tr></table>");
  out.Write(u"<table align=center background='../comm/image/orvel_bg_filelost.asp' width=308 "
            u"height=397 cellpadding=0 cellspacing=0 border=0>");
  out.Write(u"<tr><td height=40 align=center style='padding-left:40pt'></td></tr>");
  out.Write(u"<tr><td height=30 align=center style='padding-left:40pt'><font class=dddfont3>" +
            Text(unit_name) + u"</font></td></tr>");
  out.Write(u"<tr><td height=30 align=center style='padding-left:40pt'><font class=dddfont2>" +
            Text(kProductName) + u"</font></td></tr>");
  out.Write(u"<tr height=3><td></td></tr>");
  out.Write(u"<tr width='100%'><td width='100%' align=center><font class=dddfont3>" + missing +
            u"</font></td></tr>");
  out.Write(u"<tr height=8><td></td></tr>");
  out.Write(u"</table>");
  page::CloseData(rs, conn);
  out.End();
}

Text ShowCopyRight(Variant& conn, Variant& rs, int16_t show_type, int16_t show_line) {
  page::CloseData(rs, conn);
  int32_t height = int32_t{show_type} * 50;
  if (height < INT16_MIN || height > INT16_MAX) throw automation::Error(automation::err::kOverflow);
  Text out = u"<table cellspacing=0 cellpadding=0 border=0 width='100%'><tr height=" +
             automation::FromAscii(std::to_string(height)) +
             u"><td align=center id='CopyRight'style='font-size:12px;font-family: 微软雅黑;'>";
  out += kProductName;
  if (show_line == 1) out += u"<br><br>";
  out += show_type == 1 ? kShortNotice : kLongNotice;
  out += u"</td></tr></table>";
  return out;
}

Text ShowLoginButtons(bool enable, TextView info_caption) {
  Text out = u"<tr>";
  if (enable) {
    out += u"<td class='login_button'>";
    out += ShowButton({u"submit", u"save", u"save", u"登 录", u"button_image", u""});
    out += u"&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
    out += ShowButton({u"button", u"cancel", u"cancel", u"退 出", u"button_image",
                       u"document.location.href=\"../index.asp\""});
  } else {
    out += u"<td class='login_noserver'>" + automation::Trim(info_caption) + u"，请联系系统管理员！";
  }
  out += u"</td></tr>";
  return out;
}

Text ShowLoginInput(const LoginInputSpec& spec) {
  Text out = u"<tr><td class='login_caption'>" + automation::Trim(spec.caption) + u"：<input type='" +
             spec.type + u"'  name='" + spec.name + u"'class='login_input' ";
  if (!spec.enable) out += u" disabled ";
  if (automation::LCase(spec.name) == u"username") out += u" autofocus";
  if (!automation::Trim(spec.value).empty()) out += u" value='" + spec.value + u"'";
  if (!automation::Trim(spec.placeholder).empty())
    out += u" title='" + spec.placeholder + u"' placeholder='" + spec.placeholder + u"'";
  if (!automation::Trim(spec.other).empty()) out += spec.other;
  out += u"></td></tr>";
  return out;
}

Text ShowLoginDesktop(Variant& conn, Variant& rs, TextView height_list, TextView title,
                      TextView action_url, TextView content, TextView manager_rows) {
  std::vector<Text> heights = automation::Split(kDefaultHeights, u"|");
  if (!automation::Trim(height_list).empty()) {
    std::vector<Text> given = automation::Split(height_list, u"|");
    for (size_t i = 0; i < heights.size() && i < given.size(); ++i)
      if (!automation::Trim(given[i]).empty()) heights[i] = given[i];
  }
  Text out = EmptyLine(automation::CInt(Variant(heights[0])));
  out += u"<table align=center class='login_background'><tr><td class='login_dwmc'>" + Text(title) +
         u"</font></td></tr>" + Text(manager_rows) + u"<tr><td height='" + heights[1] +
         u"'></td></tr>";
  if (!automation::Trim(action_url).empty())
    out += u"<form method='post' name='myform' action='" + Text(action_url) + u"'>";
  out += content;
  out += u"<tr><td height='" + heights[2] + u"'></td></tr></form></table>";
  out += ShowCopyRight(conn, rs, 2, 0);
  return out;
}

}  // namespace arenix::show
